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
