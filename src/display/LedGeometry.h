#pragma once

#include <QSize>
#include <QSizeF>

// The size rule of an LED digit cell: a cell takes its whole extent from its Size value.
// The rule passes exactly through the four designed cells (Size 55, 65, 75 and 80), is
// smooth and strictly increasing in between, shrinks towards nothing below the smallest
// design (height about Size pixels, as designed) and grows in proportion above the
// largest, so a cell keeps its shape at any window size.

// A Size that is not a finite number of at least 1 counts as 1.
double normalizedLedSize(double size);

// Width and height of a cell in twips.
QSizeF ledExtentTwips(double size);

// The same extent in whole pixels, never below 1 x 1 and never beyond what a widget can be.
QSize ledExtentPixels(double size);
