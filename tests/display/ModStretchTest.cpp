#include "display/modStretch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// A window held in memory: its controls, its outer size and whether it is minimized. It counts
// the writes so tests can tell "left alone" from "written back unchanged".
class FakeWindow : public LayoutTarget {
  public:
    struct Control {
        ControlType type;
        ControlMetrics m;
    };

    int controlCount() const override { return static_cast<int>(controls.size()); }
    ControlType controlType(int control) const override { return controls.at(control).type; }
    ControlMetrics metrics(int control) const override { return controls.at(control).m; }
    void applyMetrics(int control, const ControlMetrics& m) override {
        controls.at(control).m = m;
        ++writes;
    }
    double windowWidth() const override { return width; }
    double windowHeight() const override { return height; }
    bool isMinimized() const override { return minimized; }
    void beginStretch() override { ++begun; }
    void endStretch() override { ++ended; }

    int add(ControlType type, ControlMetrics m) {
        controls.push_back({type, m});
        return controlCount() - 1;
    }
    const ControlMetrics& at(int control) const { return controls.at(control).m; }

    std::vector<Control> controls;
    double width = 9480;
    double height = 6795;
    bool minimized = false;
    int writes = 0;
    int begun = 0;
    int ended = 0;
};

// A slice of the board as designed: frame, clock box with a cell, the hundreds cell of the home
// score at -360, a penalty label, a penalty lamp, a picture, and a sound player in between.
struct Board {
    FakeWindow w;
    int frame, clock, clockCell, homeBack, hundreds, penaltyLabel, lamp, sound, picture, marker;
    Board() {
        // Left, Top, Width, Height, FontSize, BorderWidth, Size
        frame = w.add(ControlType::Shape, {120, 120, 9255, 6495, 0, 7, 0});
        clock = w.add(ControlType::PictureBox, {2835, 240, 3810, 1455});
        clockCell = w.add(ControlType::PolyLED, {120, 135, 660, 1185, 0, 0, 80});
        homeBack = w.add(ControlType::PictureBox, {360, 960, 2175, 1335});
        hundreds = w.add(ControlType::PolyLED, {-360, 105, 630, 1125, 0, 0, 75});
        penaltyLabel = w.add(ControlType::Label, {1320, 2400, 1215, 375, 15.75});
        sound = w.add(ControlType::Other, {480, 6360, 3540, 495});
        lamp = w.add(ControlType::Shape, {960, 2460, 255, 255, 0, 2, 0});
        picture = w.add(ControlType::Image, {0, 0, 735, 1095});
        marker = w.add(ControlType::Shape, {4560, 3000, 255, 255});
    }
};

TEST(AtLeastOne, RaisesOnlyWhatIsBelowOne) {
    const struct {
        double in, out;
    } rows[] = {{0.0, 1.0}, {0.5, 1.0}, {-3.0, 1.0}, {1.0, 1.0}, {1.5, 1.5}, {7200.25, 7200.25}};
    for (const auto& row : rows) {
        EXPECT_EQ(AtLeastOne(row.in), row.out) << row.in;
    }
    EXPECT_EQ(AtLeastOne(std::nan("")), 1.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        std::int32_t out;
    } rows[] = {{14.25, 14},      {15.75, 16},        {2.5, 2},
                {3.5, 4},         {0.5, 0},           {-0.5, 0},
                {-1.5, -2},       {-2.5, -2},         {-360.0, -360},
                {7.0, 7},         {-360.4, -360},     {40000.5, 40000},
                {57600.5, 57600}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}};
    for (const auto& row : rows) {
        EXPECT_EQ(RoundHalfEven(row.in), row.out) << row.in;
    }
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(RecordLayout, NotesTheFieldsOfEachTypeRoundedAndSkipsOtherControls) {
    Board b;
    b.w.width = 9480.5;
    b.w.height = 6795.5;
    modStretch layout;
    EXPECT_FALSE(layout.hasLayout());
    layout.RecordLayout(b.w);

    EXPECT_EQ(layout.DesignWidth(), 9480);
    EXPECT_EQ(layout.DesignHeight(), 6796);
    const auto& r = layout.records();
    ASSERT_EQ(r.size(), b.w.controls.size() + 1);

    // The sound player takes no slot: the lamp follows the label directly.
    EXPECT_EQ(r[5].control, b.penaltyLabel);
    EXPECT_EQ(r[6].control, b.lamp);
    EXPECT_EQ(r[7].control, b.picture);
    EXPECT_EQ(r[8].control, b.marker);
    EXPECT_EQ(r[9].control, -1);
    EXPECT_EQ(r[10].control, -1);

    // An LED cell: position and Size only, never its width and height.
    EXPECT_EQ(r[2].Left, 120);
    EXPECT_EQ(r[2].Size, 80);
    EXPECT_EQ(r[2].Width, 0);
    EXPECT_EQ(r[2].Height, 0);
    // A label: sizes and font, 15.75 noted as 16; no border or LED size.
    EXPECT_EQ(r[5].FontSize, 16);
    EXPECT_EQ(r[5].Width, 1215);
    EXPECT_EQ(r[5].BorderWidth, 0);
    EXPECT_EQ(r[5].Size, 0);
    // A shape: border, no font.
    EXPECT_EQ(r[6].BorderWidth, 2);
    EXPECT_EQ(r[6].FontSize, 0);
    // A picture box: position and sizes only.
    EXPECT_EQ(r[1].Height, 1455);
    EXPECT_EQ(r[1].FontSize + r[1].BorderWidth + r[1].Size, 0);
    EXPECT_EQ(r[4].Left, -360);
}

// The design board with its layout recorded, ready to be stretched.
class StretchRecordedDesign : public testing::Test {
  protected:
    void SetUp() override { layout.RecordLayout(b.w); }
    Board b;
    modStretch layout;
};

TEST(StretchControls, HalfHeightHalvesTypeButNeverBelowOne) {
    Board b;
    b.w.controls[b.penaltyLabel].m.FontSize = 1.0;
    modStretch layout;
    layout.RecordLayout(b.w);
    b.w.height = 6795.0 / 2;
    layout.StretchControls(b.w);

    EXPECT_DOUBLE_EQ(b.w.at(b.frame).BorderWidth, 3.5);
    EXPECT_DOUBLE_EQ(b.w.at(b.lamp).BorderWidth, 1.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.clockCell).Size, 40.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.hundreds).Size, 37.5);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).FontSize, 1.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.clock).Height, 1455.0 / 2);
    EXPECT_DOUBLE_EQ(b.w.at(b.clock).Top, 120.0);
    // The width did not change, so neither do positions across and widths.
    EXPECT_DOUBLE_EQ(b.w.at(b.clock).Left, 2835.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.clock).Width, 3810.0);
}

TEST_F(StretchRecordedDesign, ZeroStaysZeroAndUnrecordedFieldsPassThrough) {
    b.w.width *= 3;
    b.w.height *= 3;
    layout.StretchControls(b.w);

    // The picture at 0, 0 and the marker without a border line keep their zeros.
    EXPECT_EQ(b.w.at(b.picture).Left, 0.0);
    EXPECT_EQ(b.w.at(b.picture).Top, 0.0);
    EXPECT_EQ(b.w.at(b.marker).BorderWidth, 0.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.marker).Width, 765.0);
    // An LED cell's width and height are the cell's own business.
    EXPECT_EQ(b.w.at(b.clockCell).Width, 660.0);
    EXPECT_EQ(b.w.at(b.clockCell).Height, 1185.0);
    // The sound player is never touched.
    EXPECT_EQ(b.w.at(b.sound).Left, 480.0);
    EXPECT_EQ(b.w.at(b.sound).Width, 3540.0);
    EXPECT_EQ(b.w.writes, 9);
}

TEST_F(StretchRecordedDesign, NegativePositionsScaleLikeAnyOther) {
    b.w.width = 9480.0 * 1.5;
    layout.StretchControls(b.w);
    EXPECT_DOUBLE_EQ(b.w.at(b.hundreds).Left, -540.0);
    b.w.width = 9480.0 / 3;
    layout.StretchControls(b.w);
    EXPECT_NEAR(b.w.at(b.hundreds).Left, -120.0, 1e-3);
}

TEST(StretchControls, MinimizedOrUnrecordedWindowIsLeftAlone) {
    Board b;
    modStretch layout;
    layout.StretchControls(b.w);
    EXPECT_EQ(b.w.writes, 0);

    layout.RecordLayout(b.w);
    b.w.minimized = true;
    b.w.width = 2400; // what a minimized window may report
    b.w.height = 300;
    layout.StretchControls(b.w);
    EXPECT_EQ(b.w.writes, 0);
    EXPECT_EQ(b.w.begun, 0);

    // Restoring scales everything from the record again.
    b.w.minimized = false;
    b.w.width = 9480 * 2;
    b.w.height = 6795 * 2;
    layout.StretchControls(b.w);
    EXPECT_EQ(b.w.begun, 1);
    EXPECT_EQ(b.w.ended, 1);
    EXPECT_DOUBLE_EQ(b.w.at(b.frame).Width, 18510.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).FontSize, 32.0);
}

TEST(StretchControls, ZeroSizedRecordDividesByNothing) {
    for (const auto& size : {std::pair{0.0, 6795.0}, std::pair{9480.0, 0.0}, std::pair{0.0, 0.0}}) {
        Board b;
        b.w.width = size.first;
        b.w.height = size.second;
        modStretch layout;
        layout.RecordLayout(b.w);
        b.w.width = 9480;
        b.w.height = 6795;
        layout.StretchControls(b.w);
        EXPECT_EQ(b.w.writes, 0);
    }
}

TEST(StretchControls, SameSizeGivesBackTheRecordedValues) {
    Board b;
    b.w.controls[b.penaltyLabel].m.FontSize = 14.25;
    b.w.controls[b.clock].m.Left = 2835.5; // noted as 2836
    const FakeWindow before = b.w;
    modStretch layout;
    layout.RecordLayout(b.w);
    layout.StretchControls(b.w);

    for (std::size_t i = 0; i < before.controls.size(); ++i) {
        const ControlMetrics& was = before.controls[i].m;
        const ControlMetrics& now = b.w.controls[i].m;
        EXPECT_EQ(now.Width, was.Width) << i;
        EXPECT_EQ(now.Height, was.Height) << i;
        EXPECT_EQ(now.Top, was.Top) << i;
        if (static_cast<int>(i) != b.clock) {
            EXPECT_EQ(now.Left, was.Left) << i;
        }
        EXPECT_EQ(now.BorderWidth, was.BorderWidth) << i;
        EXPECT_EQ(now.Size, was.Size) << i;
    }
    EXPECT_EQ(b.w.at(b.penaltyLabel).FontSize, 14.0);
    EXPECT_EQ(b.w.at(b.clock).Left, 2836.0);

    // Again and again: nothing drifts.
    for (int cycle = 0; cycle < 20; ++cycle) {
        layout.RecordLayout(b.w);
        layout.StretchControls(b.w);
    }
    EXPECT_EQ(b.w.at(b.penaltyLabel).FontSize, 14.0);
    EXPECT_EQ(b.w.at(b.frame).Width, 9255.0);
}

TEST_F(StretchRecordedDesign, SidewaysStretchKeepsTypeHeight) {
    b.w.width = 9480 * 2;
    layout.StretchControls(b.w);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).FontSize, 16.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.frame).BorderWidth, 7.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.clockCell).Size, 80.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).Left, 2640.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).Width, 2430.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.penaltyLabel).Height, 375.0);
}

TEST_F(StretchRecordedDesign, PositionsAreSinglePrecisionSizesDouble) {
    b.w.width = 9481;
    b.w.height = 6797;
    layout.StretchControls(b.w);
    const ControlMetrics& m = b.w.at(b.frame);
    EXPECT_EQ(m.Left, static_cast<double>(static_cast<float>(m.Left)));
    EXPECT_EQ(m.Top, static_cast<double>(static_cast<float>(m.Top)));
    EXPECT_NEAR(m.Left, 120.0 * 9481 / 9480, 1e-4);
    // 9255 * 9481 / 9480 is not a float; held in double it keeps its last digits.
    EXPECT_DOUBLE_EQ(m.Width, 9481.0 / 9480.0 * 9255.0);
    EXPECT_NE(m.Width, static_cast<double>(static_cast<float>(m.Width)));
}

TEST_F(StretchRecordedDesign, FourKWindowNeitherOverflowsNorClamps) {
    b.w.width = 57600; // 3840 x 2160 pixels
    b.w.height = 32400;
    layout.StretchControls(b.w);
    EXPECT_NEAR(b.w.at(b.frame).Width, 9255.0 * 57600 / 9480, 1e-6);
    EXPECT_NEAR(b.w.at(b.frame).Height, 6495.0 * 32400 / 6795, 1e-6);
    EXPECT_NEAR(b.w.at(b.hundreds).Left, -360.0 * 57600 / 9480, 1e-2);

    // Recorded there, the big layout survives (16-bit fields would have wrapped at 32767) and
    // scales back down to the design size.
    layout.RecordLayout(b.w);
    EXPECT_EQ(layout.DesignWidth(), 57600);
    EXPECT_EQ(layout.DesignHeight(), 32400);
    EXPECT_GT(layout.records()[0].Width, 32767);
    b.w.width = 9480;
    b.w.height = 6795;
    layout.StretchControls(b.w);
    EXPECT_NEAR(b.w.at(b.frame).Width, 9255.0, 0.5);
    EXPECT_NEAR(b.w.at(b.frame).Height, 6495.0, 0.5);
    EXPECT_NEAR(b.w.at(b.clockCell).Size, 80.0, 0.5);
}

TEST_F(StretchRecordedDesign, ChangedWindowMovesNoWrongControl) {
    b.w.controls[b.lamp].type = ControlType::Label;           // a different control now sits there
    b.w.controls.resize(static_cast<std::size_t>(b.picture)); // and the last ones are gone
    b.w.width *= 2;
    layout.StretchControls(b.w);
    EXPECT_EQ(b.w.at(b.lamp).Width, 255.0);
    EXPECT_DOUBLE_EQ(b.w.at(b.frame).Width, 18510.0);
}

} // namespace
