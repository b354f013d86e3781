#pragma once

#include <QColor>

#include <cstdint>

// Colours as the settings hold them: 0x00BBGGRR, red in the low byte. Only the low 24 bits
// carry colour; whatever sits above them is ignored.

inline constexpr std::int32_t kBgrMask = 0x00FFFFFF;

inline constexpr std::int32_t maskBgr(std::int32_t bgr) {
    return bgr & kBgrMask;
}

inline QColor colorFromBgr(std::int32_t bgr) {
    const std::int32_t v = maskBgr(bgr);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

inline std::int32_t bgrFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return (rgb.blue() << 16) | (rgb.green() << 8) | rgb.red();
}

// `from` moved towards `to` by `amount` (0 gives `from`, 1 gives `to`), channel by channel.
inline QColor blendColors(const QColor& from, const QColor& to, double amount) {
    const auto mix = [amount](int a, int b) {
        return static_cast<int>(a + (b - a) * amount + 0.5);
    };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}
