#include "display/PictureFit.h"

#include <cmath>

namespace {

bool isPositive(double x) {
    return std::isfinite(x) && x > 0.0;
}

double sizeOrZero(double x) {
    return std::isfinite(x) && x > 0.0 ? x : 0.0;
}

} // namespace

double RSize(int points, double windowWidthTwips, double windowHeightTwips, double designWidthTwips,
             double designHeightTwips) {
    const double W = windowWidthTwips;
    const double H = windowHeightTwips;
    const double DW = designWidthTwips;
    const double DH = designHeightTwips;
    if (!isPositive(W) || !isPositive(H) || !isPositive(DW) || !isPositive(DH)) {
        return points;
    }
    // Is the window at most as wide, for its height, as the design? Then the width decides.
    const float a = static_cast<float>(W / DW);
    const float b = static_cast<float>(H / DH);
    if (b >= a) {
        return points / DW * W;
    }
    return points / DH * H;
}

FittedRect FitPicture(double pictureWidth, double pictureHeight, double containerWidth,
                      double containerHeight) {
    const double w = pictureWidth;
    const double h = pictureHeight;
    const double cw = containerWidth;
    const double ch = containerHeight;
    if (!isPositive(w) || !isPositive(h) || !isPositive(cw) || !isPositive(ch)) {
        return FittedRect{0.0, 0.0, sizeOrZero(cw), sizeOrZero(ch)};
    }
    double width;
    double height;
    if (h / ch > w / cw) {
        // Relatively taller than the container: full height, centred across.
        height = ch;
        width = height * (w / h);
    } else {
        width = cw;
        height = width * (h / w);
    }
    const double left = (cw - width) / 2.0;
    const double top = (ch - height) / 2.0;
    return FittedRect{left, top, width, height};
}
