#include "console/TimekeeperConsole.h"

#include "board/frmScoreBoard.h"
#include "console/BoardMirror.h"
#include "console/ConsoleWindow.h"
#include "journal/BoardJournal.h"
#include "screens/ScreenSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

TimekeeperConsole::TimekeeperConsole(frmScoreBoard& board, BoardJournal& journal,
                                     SettingsStore& store, QObject* parent)
    : QObject(parent), board_(board), store_(store),
      window_(std::make_unique<ConsoleWindow>(board)) {
    for (const QString* told : {&journal.message(), &journal.notice()})
        if (!told->isEmpty())
            window_->addNotice(*told);
    connect(&journal, &BoardJournal::told, window_.get(), &ConsoleWindow::addNotice);
    connect(&board_, &frmScoreBoard::boardChanged, this, &TimekeeperConsole::boardChanged);
    connect(window_.get(), &ConsoleWindow::closedByUser, this, [this] { setOpen(false); });
    connect(&board_, &frmScoreBoard::optionsClosed, this, &TimekeeperConsole::followStore);
    followStore();
}

TimekeeperConsole::~TimekeeperConsole() {
    board_.setConsoleOpen(false);
}

bool TimekeeperConsole::takeKey(int keyCode) {
    if (keyCode != kConsoleKey)
        return false;
    setOpen(!isOpen());
    return true;
}

bool TimekeeperConsole::isOpen() const {
    return window_->isVisible();
}

void TimekeeperConsole::followStore() {
    setOpen(loadScreenSettings(store_).console);
}

void TimekeeperConsole::setOpen(bool open) {
    // The next start opens it as the timekeeper left it.
    ScreenSettings stored = loadScreenSettings(store_);
    if (stored.console != open) {
        stored.console = open;
        saveScreenSettings(stored, store_);
    }
    board_.setConsoleOpen(open);
    if (open == isOpen())
        return;
    if (open) {
        place();
        window_->refresh();
        window_->show();
        window_->raise();
        window_->activateWindow();
    } else {
        window_->hide();
        // The keys go back to the board.
        board_.activateWindow();
    }
}

// On another screen than the board's when there is one: the board is the crowd's.
void TimekeeperConsole::place() {
    QScreen* boardScreen = board_.screen();
    QScreen* primary = QGuiApplication::primaryScreen();
    QScreen* target = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != boardScreen && (!target || screen == primary))
            target = screen;
    if (!target)
        target = primary;
    if (!target)
        return;
    const QRect area = target->availableGeometry();
    const QSize size(std::min(area.width(), 960), std::min(area.height(), 720));
    window_->resize(size);
    window_->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// What the board shows changed. The console reads it after the board's frame, once for any
// number of changes; a tick of the clock changes only the bench's times.
void TimekeeperConsole::boardChanged() {
    const bool tick = board_.changedByClock();
    // A tick is told once its frame is on the screen: the copy follows at once.
    if (tick && isOpen())
        window_->mirror().catchUp();
    if (tick && (!isOpen() || !board_.penaltyAssistant()))
        return;
    wholeRefresh_ = wholeRefresh_ || !tick;
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        window_->refresh(!wholeRefresh_);
        wholeRefresh_ = false;
    });
}
