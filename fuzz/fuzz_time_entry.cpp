// Typed times: ParseTime over any text, and EnterTimeKey over any stream of keys typed into
// the game clock and the penalty times.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "game/KeyCodes.h"
#include "game/TimeEntry.h"
#include "support/MemoryDigitGroup.h"

#include <QString>
#include <array>

namespace {

// The largest time that parses: 99 minutes, 99 seconds and 9 tenths.
constexpr GameTime kLargestParsed = GameTime::seconds(99 * 60 + 99) + GameTime::tenths(9);

void checkParsed(GameTime t) {
    if (t.isNone())
        return;
    FUZZ_CHECK(t >= GameTime());
    FUZZ_CHECK(t <= kLargestParsed);
    FUZZ_CHECK(t.raw() % GameTime::kPerTenth == 0); // typed times are whole tenths
}

bool onlyTimeCharacters(const QString& text) {
    for (const QChar c : text)
        if (!(c == QLatin1Char('.') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return false;
    return true;
}

// The first part of the input, up to a zero byte, is a text for ParseTime.
void fuzzParse(FuzzInput& in) {
    QString text;
    while (!in.empty()) {
        const std::uint8_t b = in.byte();
        if (b == 0)
            break;
        text += QChar(b);
    }
    const GameTime t = TimeEntry::ParseTime(text);
    checkParsed(t);
    // A text with anything but digits and points never parses.
    if (!onlyTimeCharacters(text))
        FUZZ_CHECK(t.isNone());
    // What parses, written back as m.sst, parses to the same time (a time past 99:59.9,
    // such as "99.99", has no such form).
    const std::int64_t tenths = t.raw() / GameTime::kPerTenth;
    if (!t.isNone() && tenths / 600 <= 99) {
        const QString again =
            QString::number(tenths / 600) + QLatin1Char('.') +
            QStringLiteral("%1").arg((tenths / 10) % 60, 2, 10, QLatin1Char('0')) +
            QString::number(tenths % 10);
        FUZZ_CHECK(TimeEntry::ParseTime(again) == t);
    }
}

// The rest: pairs of bytes, a field (game clock or a penalty time) and a key code.
void fuzzKeys(FuzzInput& in) {
    std::array<MemoryDigitGroup, 3> fields{MemoryDigitGroup(QStringLiteral("pledTime"), 4),
                                           MemoryDigitGroup(QStringLiteral("pledPenaltyTH1"), 3),
                                           MemoryDigitGroup(QStringLiteral("pledPenaltyTV2"), 3)};
    const std::array<std::int32_t, 3> limits{5999, 599, 599};
    const int clearKey = in.byte();
    TimeEntry entry;
    QString typed; // what the test expects the buffer to hold
    QString typedField;
    while (!in.empty()) {
        const std::size_t f = in.byte() % fields.size();
        const int ch = KeyCodeToAsci(in.byte(), clearKey);
        if (fields[f].name() != typedField) {
            typed.clear();
            typedField = fields[f].name();
        }
        const GameTime t = entry.EnterTimeKey(fields[f], ch, limits[f]);
        checkParsed(t);
        if (!t.isNone())
            FUZZ_CHECK(t <= GameTime::seconds(limits[f]));
        if ((ch >= '0' && ch <= '9') || ch == '.')
            typed += QChar(ch);
        if (ch == '\r') {
            const GameTime expected = TimeEntry::ParseTime(typed);
            const bool inLimit = !expected.isNone() && expected <= GameTime::seconds(limits[f]);
            FUZZ_CHECK(t == (inLimit ? expected : GameTime::none()));
        } else {
            FUZZ_CHECK(t.isNone()); // only Enter completes a time
        }
        if (ch == '\r' || ch == ' ')
            typed.clear();
        FUZZ_CHECK(entry.TimeEntryText() == typed);
        FUZZ_CHECK(entry.TimeEntryField() == typedField);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    fuzzParse(in);
    fuzzKeys(in);
    return 0;
}
