#pragma once

#include "screens/ScreenSettings.h"

#include <QRect>
#include <QString>
#include <vector>

// One connected screen as the display system reports it.
struct ScreenInfo {
    QString name;
    QRect geometry;
    bool primary = false;
};
using ScreenList = std::vector<ScreenInfo>;

// Which screen the board goes to, and where its window goes back to, worked out from the
// screens connected: no widgets, so every case can be walked in a table. Indexes are into the
// list given; -1 means none.

// The main screen: the primary one, else the first.
int mainScreen(const ScreenList& screens);
// Where a full-screen board goes when the user chose no screen: a screen other than the main
// one if there is one (the projector beside the timekeeper's laptop), else the main screen.
int defaultScreen(const ScreenList& screens);
int screenNamed(const ScreenList& screens, const QString& name);

// The screen for the user's choice: the chosen one while it is connected; otherwise, and when
// none is chosen, the default. `chosenMissing` tells that a chosen screen is not connected.
struct ScreenPick {
    int screen = -1;
    bool chosenMissing = false;
};
ScreenPick pickScreen(const ScreenList& screens, const QString& chosen);

// How the board is shown for the stored settings, at start and when the options change them:
// full screen on the picked screen; in a window when full screen is off, or when the chosen
// screen is not connected (the board then stays on the main screen, where the timekeeper sees
// it, and the timekeeper is told).
struct BoardPlacement {
    bool fullScreen = false;
    int screen = -1;
    bool chosenMissing = false;
};
BoardPlacement placeBoard(const ScreenSettings& settings, const ScreenList& screens);

// After a screen went away (`remaining`: the screens still connected) while the board was full
// screen on `boardOn` (empty: in a window): the screen the board moves to, full screen, or -1
// when it stays where it is. Only the board on the screen that went away moves.
int screenAfterRemoval(const ScreenList& remaining, const QString& removed, const QString& boardOn,
                       const QString& chosen);

// A window of `size` in the middle of `screen`, no larger than the screen.
QRect centredOn(QSize size, const ScreenInfo& screen);
// The screen that holds `point`; -1 when none does.
int screenAt(const ScreenList& screens, QPoint point);
// Where the board's window goes when it leaves full screen: where it was, while a connected
// screen still holds the window's middle; otherwise its size, centred on the main screen. An
// invalid `was` (the board started full screen and never had a window) gives `fallbackSize`
// centred on the main screen.
QRect windowedPlacement(const QRect& was, QSize fallbackSize, const ScreenList& screens);
