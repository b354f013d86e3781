#pragma once

#include <cstdint>
#include <vector>

// The kinds of control the board scales; every other kind (timers, sound players) is left alone.
enum class ControlType { Label, PictureBox, Image, Shape, PolyLED, Other };

// Current values of one control: Left/Top/Width/Height in twips (relative to its container),
// FontSize in points, BorderWidth in pixels, Size in LED units. A field a type does not have is 0.
struct ControlMetrics {
    double Left = 0, Top = 0, Width = 0, Height = 0, FontSize = 0, BorderWidth = 0, Size = 0;
};

// What the layout needs of a window: its controls in the window's own order and its outer size.
// The window stays the owner of its controls; the layout only reads and writes their metrics.
class LayoutTarget {
  public:
    virtual ~LayoutTarget() = default;
    virtual int controlCount() const = 0;
    virtual ControlType controlType(int control) const = 0;
    virtual ControlMetrics metrics(int control) const = 0;
    virtual void applyMetrics(int control, const ControlMetrics& m) = 0;
    virtual double windowWidth() const = 0;  // twips
    virtual double windowHeight() const = 0; // twips
    virtual bool isMinimized() const = 0;
    // Bracket a whole rescale, so the window can hold back painting while every control moves
    // and repaint once at the end. Both are called only when something is about to change.
    virtual void beginStretch() {}
    virtual void endStretch() {}
};

// x when x is at least 1, otherwise 1: a scaled size never vanishes. NaN gives 1 as well.
double AtLeastOne(double x);

// Rounds to the nearest whole number, halves to the even neighbour (14.5 -> 14, 15.5 -> 16),
// independent of the floating-point rounding mode. Values beyond the 32-bit range are clamped;
// NaN gives 0.
std::int32_t RoundHalfEven(double x);

// One recorded control. A field left at 0 was not recorded (or was 0) and is never changed.
// Values are held in 32 bits so that windows and controls beyond 32767 twips (2184 pixels)
// record and scale like any other.
struct ControlLayout {
    int control = -1; // index in the window's control order; -1 for an unused slot
    ControlType type = ControlType::Other;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    std::int32_t FontSize = 0;
    std::int32_t BorderWidth = 0;
    std::int32_t Size = 0;
};

// The design layout of a window and the two procedures around it. RecordLayout notes the
// window's size and every scalable control; StretchControls moves and resizes those controls in
// proportion to the window's current size: positions and widths by the width ratio, heights by
// the height ratio, and font sizes, border widths and LED sizes by the height ratio alone, so a
// window stretched sideways keeps its text and digits the same height. A minimized window, an
// empty record or a record of a zero-sized window leaves every control untouched.
class modStretch {
  public:
    void RecordLayout(const LayoutTarget& window);
    void StretchControls(LayoutTarget& window) const;
    bool hasLayout() const { return !DesignLayout.empty(); }
    void clear();

    std::int32_t DesignWidth() const { return DesignWidth_; }
    std::int32_t DesignHeight() const { return DesignHeight_; }
    // One slot for every control of the window plus one; recorded controls fill the slots from
    // the front, the rest stay unused.
    const std::vector<ControlLayout>& records() const { return DesignLayout; }

  private:
    std::vector<ControlLayout> DesignLayout;
    std::int32_t DesignWidth_ = 0;
    std::int32_t DesignHeight_ = 0;
};
