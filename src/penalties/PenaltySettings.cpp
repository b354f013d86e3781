#include "penalties/PenaltySettings.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <functional>

using penalties::RuleBook;

namespace {

const QString kRules = QStringLiteral("Rules");
const QString kMinorSeconds = QStringLiteral("MinorSeconds");
const QString kOff = QStringLiteral("Off");
const QString kOvertimeSkaters = QStringLiteral("OvertimeSkaters");

bool offers(const std::vector<int>& lengths, int seconds) {
    return std::find(lengths.begin(), lengths.end(), seconds) != lengths.end();
}

struct BookNames {
    RuleBook book;
    const char* stored; // the text in the settings store and the live feed
    const char* shown;  // the name on the options tab
};

// Every book in the order the options tab lists them.
const BookNames kBooks[] = {{RuleBook::Iihf, "IIHF", "IIHF"},
                            {RuleBook::UsaHockey, "USAH", "USA Hockey"},
                            {RuleBook::HockeyCanada, "HC", "Hockey Canada"},
                            {RuleBook::Nhl, "NHL", "NHL"}};

const BookNames& namesOf(RuleBook book) {
    for (const BookNames& names : kBooks)
        if (names.book == book)
            return names;
    return kBooks[0];
}

} // namespace

const std::vector<RuleBook>& allRuleBooks() {
    static const std::vector<RuleBook> books = [] {
        std::vector<RuleBook> listed;
        for (const BookNames& names : kBooks)
            listed.push_back(names.book);
        return listed;
    }();
    return books;
}

QString ruleBookText(RuleBook book) {
    return QLatin1String(namesOf(book).stored);
}

QString ruleBookName(RuleBook book) {
    return QLatin1String(namesOf(book).shown);
}

std::optional<RuleBook> ruleBookFromText(const QString& text) {
    for (const BookNames& names : kBooks)
        if (text == QLatin1String(names.stored))
            return names.book;
    return std::nullopt;
}

std::vector<int> minorSecondsOffered(RuleBook book) {
    // Leagues that play short periods often play 1:30 minors whatever their book says; a
    // book's own youth minor is offered too.
    std::vector<int> lengths{penalties::rulesFor(book).minorTenths / 10, 90};
    const int youth = penalties::youthMinorTenths(book) / 10;
    if (!offers(lengths, youth))
        lengths.push_back(youth);
    std::sort(lengths.begin(), lengths.end(), std::greater<int>());
    return lengths;
}

PenaltySettings loadPenaltySettings(const SettingsStore& store) {
    const auto get = [&](const QString& key, const QString& fallback) {
        return store.get(kSettingsApplication, kPenaltySettingsSection, key, fallback).trimmed();
    };
    PenaltySettings loaded;
    loaded.rules = ruleBookFromText(get(kRules, kOff));
    bool ok = false;
    const QString secondsText = get(kMinorSeconds, QString::number(loaded.minorSeconds));
    const int seconds = secondsText.toInt(&ok);
    // Only plain digits: "+90" is not what the tab writes.
    const bool digits = ok && !secondsText.isEmpty() && secondsText.front().isDigit();
    // While off, the tab shows the first book, so only its lengths are kept.
    if (digits &&
        offers(minorSecondsOffered(loaded.rules.value_or(allRuleBooks().front())), seconds))
        loaded.minorSeconds = seconds;
    const QString overtime = get(kOvertimeSkaters, QStringLiteral("5"));
    if (overtime == QLatin1String("3") || overtime == QLatin1String("4"))
        loaded.overtimeSkaters = overtime.toInt();
    return loaded;
}

void savePenaltySettings(const PenaltySettings& settings, SettingsStore& store) {
    store.saveAll(
        kSettingsApplication,
        {{kPenaltySettingsSection, kRules, settings.rules ? ruleBookText(*settings.rules) : kOff},
         {kPenaltySettingsSection, kMinorSeconds, QString::number(settings.minorSeconds)},
         {kPenaltySettingsSection, kOvertimeSkaters, QString::number(settings.overtimeSkaters)}});
}

penalties::PenaltyRules rulesFromSettings(const PenaltySettings& settings) {
    penalties::PenaltyRules rules =
        penalties::rulesFor(settings.rules.value_or(allRuleBooks().front()));
    if (offers(minorSecondsOffered(rules.book), settings.minorSeconds))
        rules.minorTenths = settings.minorSeconds * 10;
    rules.overtimeSkaters = std::clamp(settings.overtimeSkaters, 3, 5);
    return rules;
}
