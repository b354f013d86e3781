#include "display/LedGeometry.h"

#include "display/Twips.h"

#include <array>
#include <cmath>

namespace {

// Design extents in twips, with the origin added so that sizes below the smallest design
// shrink in proportion instead of being extrapolated from the curve's end.
constexpr std::size_t kKnots = 5;
constexpr std::array<double, kKnots> kSizes{0.0, 55.0, 65.0, 75.0, 80.0};
constexpr std::array<double, kKnots> kWidths{0.0, 465.0, 540.0, 630.0, 660.0};
constexpr std::array<double, kKnots> kHeights{0.0, 825.0, 975.0, 1125.0, 1185.0};

// Largest widget side Qt accepts.
constexpr double kMaxPixels = 16777215.0;

// A monotone piecewise cubic through the knots (Fritsch-Butland tangents). The last
// tangent equals value / size, so the proportional growth above the last knot joins
// with a continuous slope.
class MonotoneCurve {
  public:
    explicit MonotoneCurve(const std::array<double, kKnots>& values) : values_(values) {
        std::array<double, kKnots - 1> secant{};
        for (std::size_t k = 0; k + 1 < kKnots; ++k) {
            secant[k] = (values_[k + 1] - values_[k]) / (kSizes[k + 1] - kSizes[k]);
        }
        tangent_[0] = secant[0];
        for (std::size_t k = 1; k + 1 < kKnots; ++k) {
            const double h0 = kSizes[k] - kSizes[k - 1];
            const double h1 = kSizes[k + 1] - kSizes[k];
            const double w1 = 2.0 * h1 + h0;
            const double w2 = h1 + 2.0 * h0;
            tangent_[k] = (secant[k - 1] * secant[k] <= 0.0)
                              ? 0.0
                              : (w1 + w2) / (w1 / secant[k - 1] + w2 / secant[k]);
        }
        tangent_[kKnots - 1] = values_[kKnots - 1] / kSizes[kKnots - 1];
    }

    double operator()(double x) const {
        const double lastSize = kSizes[kKnots - 1];
        if (x >= lastSize) {
            return values_[kKnots - 1] * (x / lastSize);
        }
        std::size_t k = 0;
        while (k + 2 < kKnots && x >= kSizes[k + 1]) {
            ++k;
        }
        const double h = kSizes[k + 1] - kSizes[k];
        const double t = (x - kSizes[k]) / h;
        const double t2 = t * t;
        const double t3 = t2 * t;
        const double h00 = 2.0 * t3 - 3.0 * t2 + 1.0;
        const double h10 = t3 - 2.0 * t2 + t;
        const double h01 = -2.0 * t3 + 3.0 * t2;
        const double h11 = t3 - t2;
        return h00 * values_[k] + h10 * h * tangent_[k] + h01 * values_[k + 1] +
               h11 * h * tangent_[k + 1];
    }

  private:
    std::array<double, kKnots> values_;
    std::array<double, kKnots> tangent_{};
};

const MonotoneCurve& widthCurve() {
    static const MonotoneCurve curve(kWidths);
    return curve;
}

const MonotoneCurve& heightCurve() {
    static const MonotoneCurve curve(kHeights);
    return curve;
}

int clampedPixels(double twips) {
    const double pixels = twips / kTwipsPerPixel;
    if (!(pixels < kMaxPixels)) {
        return static_cast<int>(kMaxPixels);
    }
    return twipsToPixels(twips) < 1 ? 1 : twipsToPixels(twips);
}

} // namespace

double normalizedLedSize(double size) {
    return (std::isfinite(size) && size >= 1.0) ? size : 1.0;
}

QSizeF ledExtentTwips(double size) {
    const double s = normalizedLedSize(size);
    return {widthCurve()(s), heightCurve()(s)};
}

QSize ledExtentPixels(double size) {
    const QSizeF twips = ledExtentTwips(size);
    return {clampedPixels(twips.width()), clampedPixels(twips.height())};
}
