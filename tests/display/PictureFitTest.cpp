#include "display/PictureFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The board's design client area, against which it scales its team names.
constexpr double kDW = 9480, kDH = 6795;

TEST(RSize, ScalesByTheNarrowerRatio) {
    const struct {
        const char* name;
        int points;
        double width, height, expected;
    } rows[] = {
        {"design client area", 24, kDW, kDH, 24},
        {"twice the design", 24, 2 * kDW, 2 * kDH, 48},
        {"wide window: height ratio", 24, 2 * kDW, 1.5 * kDH, 36},
        {"twice as wide, same height", 24, 2 * kDW, kDH, 24},
        {"twice as tall, same width", 24, kDW, 2 * kDH, 24},
        {"narrow window: width ratio", 24, 0.5 * kDW, kDH, 12},
        {"half size", 24, kDW / 2, kDH / 2, 12},
        {"old 640 x 480 outer size", 24, 9600, 7200, 24 * 9600 / kDW},
        {"tiny name", 1, kDW / 10, kDH / 10, 0.1},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(RSize(row.points, row.width, row.height, kDW, kDH), row.expected)
            << row.name;
    }
}

TEST(RSize, RatioTestIsSinglePrecisionAndATieGoesToTheWidth) {
    // W / 9480 and H / 6795 differ in double but are the same float: a tie, so the width ratio
    // decides and the result carries the width's extra ten-thousandth.
    const double result = RSize(24, kDW + 0.0001, kDH, kDW, kDH);
    EXPECT_GT(result, 24.0);
    EXPECT_DOUBLE_EQ(result, 24 / kDW * (kDW + 0.0001));
    // Plainly wider than the design in single precision as well: the height ratio.
    EXPECT_EQ(RSize(24, kDW + 100, kDH, kDW, kDH), 24.0);
}

TEST(RSize, WindowOrDesignWithoutSizeKeepsThePointSize) {
    const double sizes[][4] = {{0, kDH, kDW, kDH},    {kDW, 0, kDW, kDH},    {-kDW, kDH, kDW, kDH},
                               {kNaN, kDH, kDW, kDH}, {kDW, kInf, kDW, kDH}, {kDW, kDH, 0, kDH},
                               {kDW, kDH, kDW, kNaN}};
    for (const auto& s : sizes) {
        EXPECT_EQ(RSize(24, s[0], s[1], s[2], s[3]), 24.0)
            << s[0] << " x " << s[1] << " against " << s[2] << " x " << s[3];
    }
}

TEST(FitPicture, WidePictureInTallContainer) {
    // 100 x 50 pixels is 1500 x 750 twips; 750 / 1395 is not more than 1500 / 1240.
    const FittedRect r = FitPicture(1500, 750, 1240, 1395);
    EXPECT_DOUBLE_EQ(r.width, 1240);
    EXPECT_DOUBLE_EQ(r.height, 620);
    EXPECT_DOUBLE_EQ(r.left, 0);
    EXPECT_DOUBLE_EQ(r.top, 387.5);
}

TEST(FitPicture, ContainerProportionsFillTheContainerWidthFirst) {
    // A tie of the two ratios takes the container's width as it is and derives the height, so
    // the width is exact even where the derived height carries a rounding error (as at 1.1).
    const double scales[] = {0.5, 1.0, 1.1, 2.0, 10.0};
    for (double scale : scales) {
        const FittedRect r = FitPicture(1240 * scale, 1395 * scale, 1240, 1395);
        EXPECT_EQ(r.width, 1240) << scale;
        EXPECT_EQ(r.left, 0) << scale;
        EXPECT_DOUBLE_EQ(r.height, 1395) << scale;
        EXPECT_NEAR(r.top, 0, 1e-9) << scale;
    }
}

TEST(FitPicture, WholePictureUndistortedCentredAndTouchingTwoSides) {
    const struct {
        double w, h, cw, ch;
    } rows[] = {
        {735, 1095, 1335, 1695}, // the board picture as designed: taller
        {15, 3000, 1240, 1395},  // a thin pole
        {3000, 15, 1240, 1395},  // a thin bar
        {45000, 30000, 1240, 1395}, {15, 15, 1335, 1695},
        {1500, 1500, 1395, 1240},   {2000, 1000, 57600, 900},
    };
    for (const auto& row : rows) {
        const FittedRect r = FitPicture(row.w, row.h, row.cw, row.ch);
        SCOPED_TRACE(testing::Message()
                     << row.w << "x" << row.h << " in " << row.cw << "x" << row.ch);
        EXPECT_NEAR(r.width / r.height, row.w / row.h, 1e-9 * row.w / row.h);
        const bool fullHeight = std::abs(r.height - row.ch) < 1e-9;
        const bool fullWidth = std::abs(r.width - row.cw) < 1e-9;
        EXPECT_TRUE(fullHeight || fullWidth);
        EXPECT_LE(r.width, row.cw + 1e-9);
        EXPECT_LE(r.height, row.ch + 1e-9);
        EXPECT_NEAR(2 * r.left + r.width, row.cw, 1e-9);
        EXPECT_NEAR(2 * r.top + r.height, row.ch, 1e-9);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
    }
}

TEST(FitPicture, SizelessInputGivesTheContainerWithoutNaN) {
    const struct {
        double w, h, cw, ch;
        FittedRect expected;
    } rows[] = {
        {0, 0, 1240, 1395, {0, 0, 1240, 1395}},      {0, 750, 1240, 1395, {0, 0, 1240, 1395}},
        {1500, 0, 1240, 1395, {0, 0, 1240, 1395}},   {-15, 750, 1240, 1395, {0, 0, 1240, 1395}},
        {kNaN, 750, 1240, 1395, {0, 0, 1240, 1395}}, {kInf, 750, 1240, 1395, {0, 0, 1240, 1395}},
        {1500, 750, 0, 1395, {0, 0, 0, 1395}},       {1500, 750, 1240, 0, {0, 0, 1240, 0}},
        {1500, 750, -5, kNaN, {0, 0, 0, 0}},         {0, 0, 0, 0, {0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        const FittedRect r = FitPicture(row.w, row.h, row.cw, row.ch);
        SCOPED_TRACE(testing::Message()
                     << row.w << "x" << row.h << " in " << row.cw << "x" << row.ch);
        EXPECT_EQ(r.left, row.expected.left);
        EXPECT_EQ(r.top, row.expected.top);
        EXPECT_EQ(r.width, row.expected.width);
        EXPECT_EQ(r.height, row.expected.height);
    }
}

} // namespace
