#include "display/modStretch.h"

#include <cmath>
#include <limits>

double AtLeastOne(double x) {
    return x >= 1.0 ? x : 1.0;
}

std::int32_t RoundHalfEven(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (x <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (x >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    const double below = std::floor(x);
    const double fraction = x - below;
    double whole = below;
    if (fraction > 0.5) {
        whole = below + 1.0;
    } else if (fraction == 0.5) {
        // A tie goes to the even neighbour, so repeated record/stretch cycles do not drift upwards.
        whole = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    }
    return static_cast<std::int32_t>(whole);
}

namespace {

bool isUsableSize(double twips) {
    return std::isfinite(twips) && twips >= 0.0;
}

} // namespace

void modStretch::clear() {
    DesignLayout.clear();
    DesignWidth_ = 0;
    DesignHeight_ = 0;
}

void modStretch::RecordLayout(const LayoutTarget& window) {
    const int count = window.controlCount() > 0 ? window.controlCount() : 0;
    DesignLayout.assign(static_cast<std::size_t>(count) + 1, ControlLayout{});
    DesignHeight_ = RoundHalfEven(window.windowHeight());
    DesignWidth_ = RoundHalfEven(window.windowWidth());

    std::size_t n = 0;
    for (int control = 0; control < count; ++control) {
        const ControlType type = window.controlType(control);
        if (type == ControlType::Other) {
            continue;
        }
        const ControlMetrics m = window.metrics(control);
        ControlLayout& slot = DesignLayout[n];
        switch (type) {
        case ControlType::PolyLED:
            // The cell sizes itself from Size, so its width and height are not noted.
            slot.Size = RoundHalfEven(m.Size);
            break;
        case ControlType::Label:
            slot.FontSize = RoundHalfEven(m.FontSize);
            slot.Height = RoundHalfEven(m.Height);
            slot.Width = RoundHalfEven(m.Width);
            break;
        case ControlType::Shape:
            slot.BorderWidth = RoundHalfEven(m.BorderWidth);
            slot.Height = RoundHalfEven(m.Height);
            slot.Width = RoundHalfEven(m.Width);
            break;
        case ControlType::PictureBox:
        case ControlType::Image:
            slot.Height = RoundHalfEven(m.Height);
            slot.Width = RoundHalfEven(m.Width);
            break;
        case ControlType::Other:
            break;
        }
        slot.control = control;
        slot.type = type;
        slot.Left = RoundHalfEven(m.Left);
        slot.Top = RoundHalfEven(m.Top);
        ++n;
    }
}

void modStretch::StretchControls(LayoutTarget& window) const {
    if (DesignLayout.empty() || window.isMinimized()) {
        return;
    }
    if (DesignWidth_ <= 0 || DesignHeight_ <= 0) {
        return;
    }
    const double W = window.windowWidth();
    const double H = window.windowHeight();
    if (!isUsableSize(W) || !isUsableSize(H)) {
        return;
    }

    const double widthRatio = W / DesignWidth_;
    const double heightRatio = H / DesignHeight_;
    // Positions are kept in single precision, as the board has always placed them.
    const float widthRatioF = static_cast<float>(W) / static_cast<float>(DesignWidth_);
    const float heightRatioF = static_cast<float>(H) / static_cast<float>(DesignHeight_);
    const int count = window.controlCount();

    window.beginStretch();
    // The last slot is never filled: there is one more slot than there are controls.
    for (std::size_t i = 0; i + 1 < DesignLayout.size(); ++i) {
        const ControlLayout& slot = DesignLayout[i];
        if (slot.control < 0) {
            continue;
        }
        // A window whose controls changed since the record keeps the controls that no longer
        // match as they are rather than moving the wrong one.
        if (slot.control >= count || window.controlType(slot.control) != slot.type) {
            continue;
        }
        ControlMetrics m = window.metrics(slot.control);
        if (slot.Left != 0) {
            m.Left = static_cast<double>(widthRatioF * static_cast<float>(slot.Left));
        }
        if (slot.Top != 0) {
            m.Top = static_cast<double>(heightRatioF * static_cast<float>(slot.Top));
        }
        if (slot.Width != 0) {
            m.Width = AtLeastOne(widthRatio * slot.Width);
        }
        if (slot.Height != 0) {
            m.Height = AtLeastOne(heightRatio * slot.Height);
        }
        if (slot.FontSize != 0) {
            m.FontSize = AtLeastOne(heightRatio * slot.FontSize);
        }
        if (slot.BorderWidth != 0) {
            m.BorderWidth = AtLeastOne(heightRatio * slot.BorderWidth);
        }
        if (slot.Size != 0) {
            m.Size = AtLeastOne(heightRatio * slot.Size);
        }
        window.applyMetrics(slot.control, m);
    }
    window.endStretch();
}
