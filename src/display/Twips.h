#pragma once

#include <cmath>

// Board geometry is kept in twips (1/1440 inch) as designed; 15 twips make one pixel.
// Every conversion to pixels goes through here.
inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double pixelsToTwips(double pixels) {
    return pixels * kTwipsPerPixel;
}

#include <QRect>

// A rectangle in twips as pixels. Edges are mapped, not sizes, so controls that touch in
// twips still touch on screen; a non-empty rectangle keeps at least one pixel.
inline QRect twipsRectToPixels(double left, double top, double width, double height) {
    const int x0 = twipsToPixels(left);
    const int y0 = twipsToPixels(top);
    int w = twipsToPixels(left + width) - x0;
    int h = twipsToPixels(top + height) - y0;
    if (width > 0 && w < 1)
        w = 1;
    if (height > 0 && h < 1)
        h = 1;
    return QRect(x0, y0, w, h);
}

// Type sizes are designed in points (20 twips each); on screen they are drawn in pixels.
inline double pointsToPixels(double points) {
    return points * 20.0 / kTwipsPerPixel;
}
