#include "app/ProgramWindows.h"

#include "app/frmSplash.h"
#include "board/frmScoreBoard.h"
#include "help/frmHelp.h"

#include <QApplication>

ProgramWindows::ProgramWindows(Settings& settings, SettingsStore& store, const TimeSource& time,
                               QObject* parent)
    : QObject(parent), settings_(settings), store_(store), time_(time) {
    // The program decides its own end: the help window alone must not end it while the
    // splash window is only on its way to the board, nor keep it alive after the board.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

ProgramWindows::~ProgramWindows() {
    frmHelp::UnloadHelp();
}

void ProgramWindows::start(const QStringList& commandLine) {
    splash_ = new frmSplash(settings_, store_, *this, commandLine);
    if (splash_ && !splash_->isUnloaded())
        splash_->show();
}

frmScoreBoard& ProgramWindows::showBoard() {
    if (!board_) {
        board_ = std::make_unique<frmScoreBoard>(settings_, store_, time_);
        board_->setOptionsPages(optionsPages_);
        // Told once the board has accepted its close and closed its sounds. Not judged from
        // its visibility at some later moment: closing an audio output runs pending events
        // while the board is still on screen, and a check made then would miss the close.
        connect(board_.get(), &frmScoreBoard::unloaded, this, &ProgramWindows::boardClosed,
                Qt::QueuedConnection);
        emit boardCreated(*board_);
    }
    board_->show();
    return *board_;
}

void ProgramWindows::boardClosed() {
    // The board is the main window: the help goes with it, without asking.
    frmHelp::UnloadHelp();
    end();
}

void ProgramWindows::splashClosedAlone() {
    if (board_)
        return;
    if (frmHelp* help = frmHelp::instance()) {
        connect(help, &QObject::destroyed, this, &ProgramWindows::end);
        return;
    }
    end();
}

void ProgramWindows::bringToFront() {
    QWidget* front = nullptr;
    if (board_ && board_->isVisible())
        front = board_.get();
    else if (splash_ && splash_->isVisible())
        front = splash_;
    else
        front = frmHelp::instance();
    if (!front)
        return;
    for (QWidget* w : {front, QApplication::activeModalWidget()}) {
        if (!w)
            continue;
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
    }
}

void ProgramWindows::end() {
    if (ended_)
        return;
    ended_ = true;
    emit ended();
}
