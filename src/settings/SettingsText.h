#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Conversions between the stored texts of the settings and their values in memory.
// Parsing is strict: a plain decimal with optional surrounding blanks and an optional
// leading sign, nothing else; a text that is not such a number, or whose value does not fit
// the requested type, gives no value so that the caller can fall back to its default.
// Formatting writes the plain decimal form ("-12", "24", "24.5") the store expects.
namespace SettingsText {

// One point of a fixed-point value: fixed-point values count ten-thousandths.
constexpr std::int64_t kFixedPointOne = 10000;
// The largest colour: 0x00FFFFFF, white.
constexpr std::int32_t kMaxColour = 0xFFFFFF;

std::optional<std::int32_t> parseInt32(const QString& text);
std::optional<std::int16_t> parseInt16(const QString& text);
// A colour 0x00BBGGRR, from 0 to kMaxColour.
std::optional<std::int32_t> parseColour(const QString& text);
// A decimal with at most four decimals ("24", "-3.25", "7."), in ten-thousandths.
std::optional<std::int64_t> parseFixedPoint(const QString& text);

QString formatInteger(std::int64_t value);
// Whole values without decimals ("24"), others without trailing zeros ("24.5").
QString formatFixedPoint(std::int64_t tenThousandths);

} // namespace SettingsText
