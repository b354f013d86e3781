#pragma once

#include <QString>

// The most characters of a team name the board lays out. A name stands on one line, centred
// on its frame, and the frame is 1925/9480 of the window's width: even on a window 32767
// pixels wide, the most any window system draws, that is about 6650 pixels, and no letter
// of the board's font is narrower than a pixel, so no board shows more of a name than this.
// Laying out a longer name only costs time, on every resize (a megabyte takes about a second).
inline constexpr int kMaxShownNameLength = 8192;

// The part of a team name the board lays out: the whole name when it is no longer than
// kMaxShownNameLength, otherwise the middle kMaxShownNameLength characters, the part a
// centred name shows. A character made of two UTF-16 units is never cut in half. The stored
// name is not changed.
QString shownName(const QString& name);
