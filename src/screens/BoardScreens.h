#pragma once

#include "screens/ScreenSettings.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <optional>

class QScreen;
class SettingsStore;
class frmScoreBoard;

// Puts the board full screen on a screen of its own and gives it back its window: F11, the
// options' "Screens" tab, the stored choice at start, and a screen that goes away beneath it.
// Full screen, the board has neither frame nor title bar and scales itself to the screen as a
// maximised window does. Which screen is worked out in ScreenChoice; this moves the window.
//
// Promises: the game is never touched (the clock runs on through every move); the stored
// choice is kept when its screen is missing, so the projector plugged in again is used at the
// next start; a screen plugged in while the board runs moves nothing.
class BoardScreens : public QObject {
    Q_OBJECT
  public:
    // The key that switches full screen, unless the options gave it to one of the board's
    // functions: then the board keeps it and this is never asked.
    static constexpr int kFullScreenKey = 122; // F11

    BoardScreens(frmScoreBoard& board, SettingsStore& store, QObject* parent = nullptr);

    // Shows the board as the store says, before it is first shown: full screen on the stored
    // screen; in a window on the main screen, the timekeeper told, when that screen is missing.
    void start();
    // The board's window keys: F11 switches full screen on and off (and stores it). True when
    // it took the key.
    bool takeKey(int keyCode);
    // Full screen on the chosen screen (the default one when the chosen one is missing), or
    // back into the window the board had before.
    void setFullScreen(bool on);
    bool isFullScreen() const { return fullScreenOn_.has_value(); }
    // The screen the board fills; empty while it is in a window.
    QString fullScreenOn() const { return fullScreenOn_.value_or(QString()); }

  private:
    void place(bool tellMissing);
    void fillScreen(QScreen* screen);
    void leaveFullScreen();
    void screenGoing(QScreen* screen);
    void followOptions();

    frmScoreBoard& board_;
    SettingsStore& store_;
    ScreenSettings applied_;
    std::optional<QString> fullScreenOn_; // the name of the screen the board fills
    // The board's window before it went full screen, to go back to; invalid when the board
    // was never shown in one.
    QRect windowed_;
    bool windowedMaximized_ = false;
};
