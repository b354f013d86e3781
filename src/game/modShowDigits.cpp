#include "game/modShowDigits.h"

#include "game/KeyCodes.h"

#include <algorithm>
#include <cstdint>

namespace {

// Numbers are read saturating at this bound: far above any field's limit, so a long run of
// typed digits is simply too large, and far from overflow when two of them are added.
constexpr std::int64_t kHuge = 1'000'000'000'000LL;

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads the decimal digits at `pos` and moves past them.
std::int64_t readDigits(const QString& s, int& pos) {
    std::int64_t value = 0;
    for (; pos < s.size() && isAsciiDigit(s.at(pos)); ++pos) {
        if (value < kHuge)
            value = value * 10 + (s.at(pos).unicode() - '0');
    }
    return std::min(value, kHuge);
}

// The number at the start of `s`, with an optional sign, rounded down to a whole number;
// 0 when `s` does not start with a number.
std::int64_t leadingNumber(const QString& s) {
    int pos = 0;
    bool negative = false;
    if (pos < s.size() && (s.at(pos) == QLatin1Char('+') || s.at(pos) == QLatin1Char('-'))) {
        negative = s.at(pos) == QLatin1Char('-');
        ++pos;
    }
    const std::int64_t whole = readDigits(s, pos);
    bool fraction = false;
    if (pos < s.size() && s.at(pos) == QLatin1Char('.')) {
        for (++pos; pos < s.size() && isAsciiDigit(s.at(pos)); ++pos)
            fraction = fraction || s.at(pos) != QLatin1Char('0');
    }
    if (!negative)
        return whole;
    return fraction ? -whole - 1 : -whole;
}

// The digits a field shows, highest element first, blanks left out.
QString shownDigits(const DigitGroup& field) {
    QString text;
    for (int i = field.ubound(); i >= 0; --i) {
        const int d = field.digit(i);
        if (d >= 0 && d <= 9)
            text += QChar('0' + d);
    }
    return text;
}

bool startsWithSign(const QString& text) {
    return !text.isEmpty() && (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-'));
}

} // namespace

int modShowDigits::ReadNumber(const DigitGroup& field) {
    const QString cur = shownDigits(field);
    if (cur.isEmpty())
        return -1;
    return static_cast<int>(std::min<std::int64_t>(leadingNumber(cur), INT32_MAX));
}

void modShowDigits::ShowNumber(DigitGroup& field, const QString& text, int lower, int upper) {
    if (text.isEmpty())
        return; // Enter with nothing typed keeps the field as it is.
    const QChar first = text.at(0);
    std::int64_t value = 0;
    if (first.unicode() == kClearCharacter) {
        value = -1;
    } else if (isAsciiDigit(first)) {
        int pos = 0;
        value = readDigits(text, pos);
    } else if (first == QLatin1Char('+') || first == QLatin1Char('-')) {
        const std::int64_t cur = leadingNumber(shownDigits(field));
        const std::int64_t step = leadingNumber(text.mid(1));
        value = first == QLatin1Char('+') ? cur + step : cur - step;
    } else {
        return;
    }
    if (value < lower || value > upper)
        return;
    // Digits cannot show a minus sign, nor more places than the field has: such a value
    // would come out as a different number, so it is refused like one out of range.
    const QString digits = value == -1 ? QString() : QString::number(value);
    if (value < -1 || digits.size() > field.count())
        return;
    for (int i = 0; i <= field.ubound(); ++i) {
        if (i < digits.size())
            field.setDigit(i, digits.at(digits.size() - 1 - i).unicode() - '0');
        else
            field.setDigit(i, -1);
    }
}

void modShowDigits::EnterNumberKey(DigitGroup& field, int ch, int lower, int upper) {
    const QString name = field.name();
    if (name != NumberEntryField_) {
        NumberEntryText_.clear();
        NumberEntryField_ = name;
    }
    if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-')
        NumberEntryText_ += QChar(ch);
    if (ch == ' ')
        NumberEntryText_.clear();
    if (ch == kClearCharacter)
        ShowNumber(field, QString(QChar(kClearCharacter)), lower, upper);
    // A one-digit field takes each digit at once.
    if (field.ubound() == 0 && !startsWithSign(NumberEntryText_)) {
        ShowNumber(field, NumberEntryText_, lower, upper);
        NumberEntryText_.clear();
    }
    // "+" or "-" and one digit add or take at once.
    if (NumberEntryText_.size() >= 2 && startsWithSign(NumberEntryText_) &&
        isAsciiDigit(NumberEntryText_.at(1))) {
        ShowNumber(field, NumberEntryText_, lower, upper);
        NumberEntryText_.clear();
    }
    if (ch == '\r') {
        ShowNumber(field, NumberEntryText_, lower, upper);
        NumberEntryText_.clear();
    }
}
