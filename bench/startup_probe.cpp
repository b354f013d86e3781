// Starts as the program does (settings from the per-user store, the board shown) and exits
// at the board's first paint. With "--run-ms N" it keeps the board running, clock and all
// four penalties counting, for N milliseconds first, so its peak memory can be read.
#include "board/frmScoreBoard.h"
#include "game/KeyCodes.h"
#include "game/TimeSource.h"
#include "settings/ProgramFolder.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTimer>

namespace {

// Quits the application at the first paint of the watched window.
class FirstPaint : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

void runAGame(frmScoreBoard& board) {
    ScoreBoardLogic& logic = board.logic();
    auto type = [&](EntryBox box, const char* keys) {
        for (const char* k = keys; *k; ++k)
            logic.KeyDown(box, *k == '\n' ? vk::Return : *k);
    };
    for (EntryBox box :
         {EntryBox::PenaltyTH1, EntryBox::PenaltyTH2, EntryBox::PenaltyTV1, EntryBox::PenaltyTV2})
        type(box, "2\n");
    logic.AllKeyCode(83);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runMs = 0;
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--run-ms"));
    if (at >= 0 && at + 1 < args.size())
        runMs = args.at(at + 1).toInt();

    static Settings settings;
    QtSettingsStore store;
    LoadSettings(settings, store, programFolder());
    SteadyTimeSource time;
    frmScoreBoard board(settings, time);
    if (runMs > 0) {
        runAGame(board);
        QTimer::singleShot(runMs, &app, &QCoreApplication::quit);
    } else {
        board.installEventFilter(new FirstPaint(&board));
    }
    board.show();
    return QApplication::exec();
}
