#pragma once

// The help window's geometry in twips for one outer window size: the window's smallest size,
// and the viewer's place, size and line length inside it.
struct HelpGeometry {
    double outerWidth = 0;
    double outerHeight = 0;
    double viewerLeft = 0;
    double viewerTop = 0;
    double viewerWidth = 0;
    double viewerHeight = 0;
    // The line length at which the viewer wraps its text.
    double rightMargin = 0;
};

inline constexpr double kHelpDesignWidth = 11055;
inline constexpr double kHelpDesignHeight = 9270;
inline constexpr double kHelpMinWidth = 2700;
inline constexpr double kHelpMinHeight = 1700;

// The geometry for a window whose outer size is `outerWidth` x `outerHeight` twips: a window
// below the smallest size is raised to it; the viewer keeps 120 twips on the left, 240 of the
// width and 420 of the height for the frame, and wraps its lines 450 twips short of its width.
HelpGeometry HelpLayout(double outerWidth, double outerHeight);
