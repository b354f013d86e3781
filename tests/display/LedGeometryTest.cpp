#include "display/LedGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct DesignCell {
    double size;
    double width;
    double height;
};

class DesignExtent : public ::testing::TestWithParam<DesignCell> {};

TEST_P(DesignExtent, MatchesTheDesignedCellExactly) {
    const DesignCell cell = GetParam();
    const QSizeF extent = ledExtentTwips(cell.size);
    EXPECT_DOUBLE_EQ(extent.width(), cell.width);
    EXPECT_DOUBLE_EQ(extent.height(), cell.height);
    const QSize pixels = ledExtentPixels(cell.size);
    EXPECT_EQ(pixels.width(), std::lround(cell.width / 15.0));
    EXPECT_EQ(pixels.height(), std::lround(cell.height / 15.0));
}

INSTANTIATE_TEST_SUITE_P(Board, DesignExtent,
                         ::testing::Values(DesignCell{55, 465, 825}, DesignCell{65, 540, 975},
                                           DesignCell{75, 630, 1125}, DesignCell{80, 660, 1185}));

// Walks 1..400 in small steps: each step must grow both sides, by no more than the
// steepest slope the rule could plausibly have, so a jump or a dip anywhere shows up.
TEST(LedExtent, GrowsSmoothlyAndStrictlyOverTheWholeRange) {
    constexpr double step = 0.01;
    constexpr double maxSlope = 40.0; // twips per Size unit; the designed slope is about 15
    QSizeF previous = ledExtentTwips(1.0);
    for (int i = 1; i <= 39900; ++i) {
        const double size = 1.0 + i * step;
        const QSizeF extent = ledExtentTwips(size);
        ASSERT_GT(extent.width(), previous.width()) << "at Size " << size;
        ASSERT_GT(extent.height(), previous.height()) << "at Size " << size;
        ASSERT_LT(extent.width() - previous.width(), maxSlope * step) << "at Size " << size;
        ASSERT_LT(extent.height() - previous.height(), maxSlope * step) << "at Size " << size;
        previous = extent;
    }
}

// The slope from the left and from the right of each design size agree: no visible kink
// when a window is dragged through one of them.
TEST(LedExtent, HasNoKinkAtTheDesignSizes) {
    constexpr double h = 1e-4;
    for (double size : {55.0, 65.0, 75.0, 80.0}) {
        const QSizeF below = ledExtentTwips(size - h);
        const QSizeF at = ledExtentTwips(size);
        const QSizeF above = ledExtentTwips(size + h);
        const double leftW = (at.width() - below.width()) / h;
        const double rightW = (above.width() - at.width()) / h;
        const double leftH = (at.height() - below.height()) / h;
        const double rightH = (above.height() - at.height()) / h;
        EXPECT_NEAR(leftW, rightW, 0.01) << "width at Size " << size;
        EXPECT_NEAR(leftH, rightH, 0.01) << "height at Size " << size;
    }
}

TEST(LedExtent, KeepsTheDesignedShapeFarBeyondTheDesign) {
    // A full-screen 4K board gives cells of about Size 350: the shape stays that of the
    // largest design cell and the height stays about Size pixels.
    for (double size : {120.0, 350.0, 1000.0}) {
        const QSizeF extent = ledExtentTwips(size);
        EXPECT_NEAR(extent.width() / extent.height(), 660.0 / 1185.0, 1e-9);
        EXPECT_NEAR(extent.height() / 15.0, size, size * 0.02);
    }
}

TEST(LedExtent, IsPositiveAndSmallAtSizeOne) {
    const QSizeF extent = ledExtentTwips(1.0);
    EXPECT_GT(extent.width(), 0.0);
    EXPECT_GT(extent.height(), extent.width());
    EXPECT_LT(extent.height(), 3 * 15.0);
    const QSize pixels = ledExtentPixels(1.0);
    EXPECT_GE(pixels.width(), 1);
    EXPECT_GE(pixels.height(), 1);
}

class BadSize : public ::testing::TestWithParam<double> {};

TEST_P(BadSize, CountsAsOne) {
    EXPECT_EQ(normalizedLedSize(GetParam()), 1.0);
    EXPECT_EQ(ledExtentTwips(GetParam()), ledExtentTwips(1.0));
    EXPECT_EQ(ledExtentPixels(GetParam()), ledExtentPixels(1.0));
}

INSTANTIATE_TEST_SUITE_P(Input, BadSize,
                         ::testing::Values(0.0, 0.999, -5.0,
                                           -std::numeric_limits<double>::infinity(),
                                           std::numeric_limits<double>::infinity(),
                                           std::numeric_limits<double>::quiet_NaN()));

TEST(LedExtent, PixelsStayWithinWidgetLimitsForHugeSizes) {
    for (double size : {1e6, 1e12, 1e300, std::numeric_limits<double>::max()}) {
        const QSize pixels = ledExtentPixels(size);
        EXPECT_GE(pixels.width(), 1) << size;
        EXPECT_LE(pixels.width(), 16777215) << size;
        EXPECT_LE(pixels.height(), 16777215) << size;
        EXPECT_LE(pixels.width(), pixels.height()) << size;
    }
}

} // namespace
