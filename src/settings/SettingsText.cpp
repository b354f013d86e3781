#include "settings/SettingsText.h"

#include <limits>

namespace SettingsText {

namespace {

constexpr int kMaxDecimals = 4;

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Appends one decimal digit to `value`; false when the result would not fit in int64.
bool appendDigit(std::int64_t& value, QChar digit) {
    const int d = digit.unicode() - '0';
    if (value > (std::numeric_limits<std::int64_t>::max() - d) / 10)
        return false;
    value = value * 10 + d;
    return true;
}

// The parts of a number text after the blanks are gone: sign, whole digits and decimals.
// Only ASCII digits count, so that no other script's digits or exponent sneak in.
struct DecimalText {
    bool negative = false;
    std::int64_t whole = 0;
    std::int64_t fraction = 0; // the decimals as an integer
    int decimals = 0;          // how many decimals were written
};

std::optional<DecimalText> splitDecimal(const QString& text, bool allowDecimals) {
    const QString trimmed = text.trimmed();
    DecimalText out;
    int i = 0;
    const int n = trimmed.size();
    if (i < n && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-'))) {
        out.negative = trimmed[i] == QLatin1Char('-');
        ++i;
    }
    const int wholeStart = i;
    for (; i < n && isAsciiDigit(trimmed[i]); ++i) {
        if (!appendDigit(out.whole, trimmed[i]))
            return std::nullopt;
    }
    if (i == wholeStart)
        return std::nullopt;
    if (i < n && allowDecimals && trimmed[i] == QLatin1Char('.')) {
        ++i;
        for (; i < n && isAsciiDigit(trimmed[i]); ++i) {
            if (++out.decimals > kMaxDecimals)
                return std::nullopt;
            appendDigit(out.fraction, trimmed[i]); // at most four digits: cannot overflow
        }
    }
    if (i != n)
        return std::nullopt;
    return out;
}

template <typename T> std::optional<T> parseInRange(const QString& text, T low, T high) {
    const auto parts = splitDecimal(text, false);
    if (!parts)
        return std::nullopt;
    const std::int64_t value = parts->negative ? -parts->whole : parts->whole;
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<T>(value);
}

} // namespace

std::optional<std::int32_t> parseInt32(const QString& text) {
    return parseInRange<std::int32_t>(text, std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max());
}

std::optional<std::int16_t> parseInt16(const QString& text) {
    return parseInRange<std::int16_t>(text, std::numeric_limits<std::int16_t>::min(),
                                      std::numeric_limits<std::int16_t>::max());
}

std::optional<std::int32_t> parseColour(const QString& text) {
    return parseInRange<std::int32_t>(text, 0, kMaxColour);
}

std::optional<std::int64_t> parseFixedPoint(const QString& text) {
    const auto parts = splitDecimal(text, true);
    if (!parts)
        return std::nullopt;
    std::int64_t fraction = parts->fraction;
    for (int d = parts->decimals; d < kMaxDecimals; ++d)
        fraction *= 10;
    const std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    if (parts->whole > (limit - fraction) / kFixedPointOne)
        return std::nullopt;
    const std::int64_t magnitude = parts->whole * kFixedPointOne + fraction;
    return parts->negative ? -magnitude : magnitude;
}

QString formatInteger(std::int64_t value) {
    return QString::number(value);
}

QString formatFixedPoint(std::int64_t tenThousandths) {
    // Work on the unsigned magnitude so that the most negative value has one too.
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    const std::uint64_t one = static_cast<std::uint64_t>(kFixedPointOne);
    QString text = QString::number(magnitude / one);
    std::uint64_t fraction = magnitude % one;
    if (fraction != 0) {
        QString decimals = QString::number(fraction).rightJustified(kMaxDecimals, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace SettingsText
