#include "penalties/PenaltyRules.h"

namespace penalties {

PenaltyRules rulesFor(RuleBook book) {
    PenaltyRules rules;
    rules.book = book;
    return rules;
}

int youthMinorTenths(RuleBook book) {
    // USA Hockey Rule 402 (Note): youth affiliates may shorten minors to no less than 1:30 where
    // periods are 15 minutes or less. No published text was found for the other books, so they
    // keep the full two minutes.
    return book == RuleBook::UsaHockey ? 900 : 1200;
}

bool playsSinglePairFourOnFour(RuleBook book) {
    // NHL Rule 19.1: one minor to one player of each team at the same stoppage, with no other
    // penalties on the clocks, is served without substitution, four on four. USA Hockey Rule
    // 402(f), Hockey Canada Rule 4.2(d) and the IIHF case book (coincident minors) substitute.
    return book == RuleBook::Nhl;
}

bool penaltyShotGoalEndsMinor(RuleBook book) {
    // USA Hockey Rule 402(c), Hockey Canada Rule 4.2(b) Note and IIHF Rule 16 say no. The only
    // NHL text found (an old Rule 27) said yes; the current NHL text was not found, so the
    // commonly documented behaviour is kept for all four.
    (void)book;
    return false;
}

bool recordsMinorBeforeMajor(RuleBook book) {
    // NHL Rule 26.3, USA Hockey Rule 408(c). No such text was found in the IIHF or Hockey
    // Canada books: there the penalties go on in the order given.
    return book == RuleBook::Nhl || book == RuleBook::UsaHockey;
}

bool signalledMinorRunsForGoals(RuleBook book) {
    // Hockey Canada Rule 4.2(b) and its Note 1. IIHF (case book Rule 111, signalled penalties),
    // USA Hockey Rule 409 and NHL Rule 15 wash a signalled minor out on any goal that ends none.
    return book == RuleBook::HockeyCanada;
}

int majorsForGameMisconduct(RuleBook book) {
    // IIHF Rule 20.4 and USA Hockey Rule 403(b): the second major; NHL Rule 20: the third;
    // Hockey Canada Rule 4.4: every major comes with a game misconduct.
    switch (book) {
    case RuleBook::Nhl:
        return 3;
    case RuleBook::HockeyCanada:
        return 1;
    default:
        return 2;
    }
}

int misconductsForGameMisconduct(RuleBook book) {
    // USA Hockey Rule 404(a), IIHF Rule 23 and NHL Rule 22: the second misconduct.
    (void)book;
    return 2;
}

} // namespace penalties
