#include "help/HelpLayout.h"

#include <algorithm>
#include <cmath>

HelpGeometry HelpLayout(double outerWidth, double outerHeight) {
    // A size that is not a number counts as the smallest.
    const auto atLeast = [](double value, double minimum) {
        return std::isnan(value) ? minimum : std::max(value, minimum);
    };
    HelpGeometry g;
    g.outerWidth = atLeast(outerWidth, kHelpMinWidth);
    g.outerHeight = atLeast(outerHeight, kHelpMinHeight);
    g.viewerLeft = 120;
    g.viewerTop = 0;
    g.viewerWidth = g.outerWidth - 240;
    g.viewerHeight = g.outerHeight - 420;
    g.rightMargin = g.viewerWidth - 450;
    return g;
}
