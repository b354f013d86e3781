// Typed numbers: EnterNumberKey over any stream of keys into the board's number fields, and
// ShowNumber over any text. Every field must stay a number the board can show within its
// limits: digits 0 to 9 from the units up, blanks only above them, no leading zero.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "game/KeyCodes.h"
#include "game/modShowDigits.h"
#include "support/MemoryDigitGroup.h"

#include <QString>
#include <array>
#include <vector>

namespace {

// The board's number fields as entry sees them.
struct Field {
    const char* name;
    int count;
    int lower; // -1: the field may be blank
    int upper;
};
constexpr std::array<Field, 4> kFields{{
    {"pledPeriod", 1, 0, 9},
    {"pledHome", 3, -1, 199},
    {"pledSOGV", 2, -1, 99},
    {"pledPenaltyPH1", 2, -1, 99},
}};

void checkShowsNumber(const MemoryDigitGroup& group, const Field& field) {
    const std::vector<int> digits = group.digits();
    bool blankSeen = false;
    for (const int d : digits) {
        FUZZ_CHECK(d >= -1 && d <= 9);
        if (d == -1)
            blankSeen = true;
        else
            FUZZ_CHECK(!blankSeen); // a digit above a blank
    }
    const int value = modShowDigits::ReadNumber(group);
    FUZZ_CHECK(value >= field.lower && value <= field.upper);
    if (value > 0)
        FUZZ_CHECK(digits[static_cast<std::size_t>(QString::number(value).size() - 1)] != 0);
}

void show(MemoryDigitGroup& group, int value) {
    const QString text = value < 0 ? QString(QChar(kClearCharacter)) : QString::number(value);
    modShowDigits::ShowNumber(group, text, -1, 999);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const Field& field = kFields[in.byte() % kFields.size()];
    MemoryDigitGroup group(QString::fromLatin1(field.name), field.count, -1);
    show(group, field.lower + in.byte() % (field.upper - field.lower + 1));
    checkShowsNumber(group, field);

    // ShowNumber over a text taken from the input, up to a zero byte: the field either keeps
    // its value or takes one within its limits.
    QString text;
    while (!in.empty()) {
        const std::uint8_t b = in.byte();
        if (b == 0)
            break;
        text += QChar(b == 1 ? 0 : b); // byte 1 stands for the clear character
    }
    const int before = modShowDigits::ReadNumber(group);
    modShowDigits::ShowNumber(group, text, field.lower, field.upper);
    checkShowsNumber(group, field);
    bool plainNumber = !text.isEmpty() && text.size() <= 6;
    for (const QChar c : text)
        plainNumber = plainNumber && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (plainNumber) {
        const int typed = text.toInt();
        const bool fits = typed <= field.upper && QString::number(typed).size() <= field.count;
        FUZZ_CHECK(modShowDigits::ReadNumber(group) == (fits ? typed : before));
    }

    // The rest: key codes typed into this field or, now and then, into another one, which
    // drops what was typed.
    const int clearKey = in.byte();
    modShowDigits entry;
    MemoryDigitGroup other(QStringLiteral("pledVisitor"), 3, -1);
    while (!in.empty()) {
        const std::uint8_t key = in.byte();
        if (key == 0xFF) {
            entry.EnterNumberKey(other, '1', -1, 199);
            continue;
        }
        entry.EnterNumberKey(group, KeyCodeToAsci(key, clearKey), field.lower, field.upper);
        checkShowsNumber(group, field);
        for (const QChar c : entry.NumberEntryText())
            FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                       c == QLatin1Char('-'));
    }
    return 0;
}
