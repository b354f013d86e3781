#include "display/PictureFit.h"

#include <cmath>

namespace {

constexpr double kDesignWidthTwips = 9600.0;
constexpr double kDesignHeightTwips = 7200.0;

bool isPositive(double x) {
    return std::isfinite(x) && x > 0.0;
}

double sizeOrZero(double x) {
    return std::isfinite(x) && x > 0.0 ? x : 0.0;
}

} // namespace

double RSize(int points, double windowWidthTwips, double windowHeightTwips) {
    const double W = windowWidthTwips;
    const double H = windowHeightTwips;
    if (!isPositive(W) || !isPositive(H)) {
        return points;
    }
    const float a = static_cast<float>(W / 4.0);
    const float b = static_cast<float>(H / 3.0);
    if (b >= a) {
        return points / kDesignWidthTwips * W;
    }
    return points / kDesignHeightTwips * H;
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
