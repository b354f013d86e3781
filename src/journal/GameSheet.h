#pragma once

#include "journal/JournalStore.h"
#include "penalties/PenaltyHistory.h"

#include <QString>
#include <cstdint>
#include <vector>

// A goal as the sheet lists it: when, for whom, and the score after it.
struct SheetGoal {
    int period = 0;
    QString clock; // the game clock as shown when the score went up
    int team = 0;  // 1 home, 2 visitor
    int home = 0;
    int visitor = 0;
};

struct SheetPenalty {
    int team = 0; // 1 home, 2 visitor
    int player = -1;
    std::int64_t lengthTenths = 0;
    int period = 0;
    QString start;     // the game clock when the penalty was put on the board
    int endPeriod = 0; // with `end` empty while it still ran when the journal ends
    QString end;
};

struct SheetPeriod {
    int period = 0;
    std::int64_t lengthTenths = 0; // the clock's set value when the period's clock first ran
    std::int64_t playedTenths = 0; // game-clock time that ran in the period
    int shotsHome = 0;             // shots in this period
    int shotsVisitor = 0;
};

// The game sheet of one game, worked out from its journal rows alone: goals, penalties,
// shots and the periods. A score that goes down takes back the team's latest goals; a
// penalty taken off the board before any of it ran was a mistyping and is left out.
struct GameSheet {
    GameSummary game;
    std::vector<SheetGoal> goals;
    std::vector<SheetPenalty> penalties;
    std::vector<SheetPeriod> periods;
    // Every penalty told to the penalty assistant, when the game ended with it on; empty
    // otherwise, and the sheet reads as it does without the assistant.
    std::vector<penalties::PenaltyRecord> assisted;
    int home = 0;
    int visitor = 0;
    int shotsHome = 0;
    int shotsVisitor = 0;
};

// The assistant's penalties are replayed under `rules`; the rows do not keep the rule book.
GameSheet buildSheet(const GameSummary& game, const std::vector<JournalRow>& rows,
                     const penalties::PenaltyRules& rules = {});

// "m:ss" for a time in tenths of a second, "m:ss.t" when the tenths are not whole seconds.
QString sheetTime(std::int64_t tenths);

// The sheet as CSV: one table per kind, each under its title, separated by a blank line.
QString sheetCsv(const GameSheet& sheet, const QString& homeName, const QString& visitorName);
// The sheet as a printable HTML page.
QString sheetHtml(const GameSheet& sheet, const QString& homeName, const QString& visitorName);
