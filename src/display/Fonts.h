#pragma once

#include <QString>

// The board's type faces. The board is designed in Arial (and the help in Times New Roman);
// where those are not installed, the metric-compatible Liberation faces take their place so
// that texts keep the designed widths.
QString sansFamily();
QString serifFamily();
