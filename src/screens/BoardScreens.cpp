#include "screens/BoardScreens.h"

#include "board/BoardDesign.h"
#include "board/frmScoreBoard.h"
#include "display/Twips.h"
#include "screens/ConnectedScreens.h"
#include "settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

QSize designSize() {
    return {twipsToPixels(kBoardDesignWidth), twipsToPixels(kBoardDesignHeight)};
}

} // namespace

BoardScreens::BoardScreens(frmScoreBoard& board, SettingsStore& store, QObject* parent)
    : QObject(parent), board_(board), store_(store), applied_(loadScreenSettings(store)) {
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &BoardScreens::screenGoing);
    connect(&board_, &frmScoreBoard::optionsClosed, this, &BoardScreens::followOptions);
}

void BoardScreens::start() {
    // Nothing stored: the board opens as it always has.
    if (applied_.fullScreen)
        place(true);
}

bool BoardScreens::takeKey(int keyCode) {
    if (keyCode != kFullScreenKey)
        return false;
    setFullScreen(!isFullScreen());
    return true;
}

void BoardScreens::setFullScreen(bool on) {
    if (on) {
        const ScreenList screens = connectedScreens();
        const ScreenPick pick = pickScreen(screens, applied_.screen);
        if (pick.screen < 0)
            return;
        fillScreen(connectedScreen(screens[static_cast<size_t>(pick.screen)].name));
    } else {
        leaveFullScreen();
    }
    // The next start shows the board as the timekeeper left it.
    const ScreenSettings before = loadScreenSettings(store_);
    ScreenSettings stored = before;
    stored.fullScreen = on;
    if (stored != before)
        saveScreenSettings(stored, store_);
    applied_ = stored;
}

// The stored settings, applied: at start, and when the options dialog stored other ones.
void BoardScreens::place(bool tellMissing) {
    const ScreenList screens = connectedScreens();
    const BoardPlacement placement = placeBoard(applied_, screens);
    if (placement.fullScreen) {
        fillScreen(connectedScreen(screens[static_cast<size_t>(placement.screen)].name));
        return;
    }
    if (isFullScreen()) {
        leaveFullScreen();
    } else if (placement.chosenMissing && !board_.isVisible() && placement.screen >= 0) {
        // Not where the window system happens to put a new window: on the main screen, in
        // front of the timekeeper.
        const ScreenInfo& main = screens[static_cast<size_t>(placement.screen)];
        board_.setScreen(connectedScreen(main.name));
        board_.setGeometry(centredOn(designSize(), main));
    }
    if (placement.chosenMissing && tellMissing)
        board_.tellOperator(
            QStringLiteral("screen %1 not connected: board in a window on the main screen")
                .arg(applied_.screen));
}

void BoardScreens::fillScreen(QScreen* screen) {
    if (!screen || fullScreenOn_ == screen->name())
        return;
    if (!isFullScreen()) {
        windowed_ = board_.isVisible() ? board_.normalGeometry() : QRect();
        windowedMaximized_ = board_.isVisible() && board_.isMaximized();
    }
    fullScreenOn_ = screen->name();
    // From one screen to another the window goes through a plain window, which the window
    // manager lets move; a full-screen one it keeps where it is.
    if (board_.isFullScreen())
        board_.showNormal();
    board_.setScreen(screen);
    board_.setGeometry(screen->geometry());
    if (board_.isVisible())
        board_.showFullScreen();
    else
        board_.setWindowState(Qt::WindowFullScreen); // shown so by whoever shows the board
}

void BoardScreens::leaveFullScreen() {
    if (!isFullScreen())
        return;
    fullScreenOn_.reset();
    const ScreenList screens = connectedScreens();
    const QRect placed = windowedPlacement(windowed_, designSize(), screens);
    const int at = screenAt(screens, placed.center());
    QScreen* on = at >= 0 ? connectedScreen(screens[static_cast<size_t>(at)].name)
                          : QGuiApplication::primaryScreen();
    if (board_.isVisible())
        board_.showNormal();
    else
        board_.setWindowState(Qt::WindowNoState);
    board_.setScreen(on);
    board_.setGeometry(placed);
    if (windowedMaximized_ && board_.isVisible())
        board_.showMaximized();
}

// Told while the screen is still being taken away: the board moves once that is done, so
// the window system already knows which screens remain.
void BoardScreens::screenGoing(QScreen* screen) {
    if (!isFullScreen())
        return;
    const QString gone = screen->name();
    const ScreenList remaining = connectedScreens(screen);
    const int to = screenAfterRemoval(remaining, gone, *fullScreenOn_, applied_.screen);
    if (to < 0)
        return;
    const QString target = remaining[static_cast<size_t>(to)].name;
    QTimer::singleShot(0, this, [this, gone, target] {
        if (fullScreenOn_ != gone)
            return;
        fillScreen(connectedScreen(target));
        board_.tellOperator(
            QStringLiteral("screen %1 went away: board full screen on %2").arg(gone, target));
    });
}

void BoardScreens::followOptions() {
    const ScreenSettings now = loadScreenSettings(store_);
    const bool moved = now.fullScreen != applied_.fullScreen || now.screen != applied_.screen;
    applied_ = now;
    if (moved)
        place(true);
}
