#pragma once

#include "penalties/PenaltyRules.h"

#include <QString>
#include <optional>
#include <vector>

class SettingsStore;

// Whether the penalty assistant runs and by which rule book. Off unless the user switches it
// on; the designed board is untouched while it is off.
struct PenaltySettings {
    std::optional<penalties::RuleBook> rules; // nothing: the assistant is off
    int minorSeconds = 120;
    int overtimeSkaters = 5; // skaters a side in overtime: 5, 4 or 3

    bool operator==(const PenaltySettings& o) const {
        return rules == o.rules && minorSeconds == o.minorSeconds &&
               overtimeSkaters == o.overtimeSkaters;
    }
    bool operator!=(const PenaltySettings& o) const { return !(*this == o); }
};

// The assistant's own section of the settings store; nothing of the board's sections is touched.
inline const QString kPenaltySettingsSection = QStringLiteral("Penalties");

// Every rule book in the order the options tab lists them.
const std::vector<penalties::RuleBook>& allRuleBooks();

// The stored text of a rule book ("IIHF", "USAH", "HC", "NHL") and back; a text that names
// no book gives nothing.
QString ruleBookText(penalties::RuleBook book);
// The book's name as the options tab shows it ("USA Hockey").
QString ruleBookName(penalties::RuleBook book);
std::optional<penalties::RuleBook> ruleBookFromText(const QString& text);

// The minor lengths, in seconds, the tab offers under `book`, longest first: the book's full
// minor, 1:30 and the book's youth minor.
std::vector<int> minorSecondsOffered(penalties::RuleBook book);

// Reads the assistant's settings; a stored value the options tab does not offer means off, the
// book's full minor (while off, the tab shows the first book), or five skaters in overtime.
PenaltySettings loadPenaltySettings(const SettingsStore& store);
void savePenaltySettings(const PenaltySettings& settings, SettingsStore& store);

// The rules the engine plays for the settings (the first book's while the assistant is off); a
// minor length the book does not offer plays the book's full minor.
penalties::PenaltyRules rulesFromSettings(const PenaltySettings& settings);
