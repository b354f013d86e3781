#include "app/FeedStartup.h"
#include "app/TestProbe.h"
#include "board/TimeSource.h"
#include "board/frmScoreBoard.h"
#include "display/frmHelp.h"
#include "journal/BoardJournal.h"
#include "journal/GameJournal.h"
#include "journal/JournalFiles.h"
#include "journal/SqliteJournalStore.h"
#include "settings/ProgramFolder.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTextStream>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// "--sheet FILE [--game N]" and "--games" write and exit without opening a window.
int runJournalCommandLine(int argc, char** argv, const JournalOptions& options) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pucktally"));
    static Settings settings;
    QtSettingsStore settingsStore;
    LoadSettings(settings, settingsStore, programFolder());
    SqliteJournalStore store(journalPath(), 0);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runJournalCommand(options, store, settings.HomeText, settings.VisitorText, out, err);
}

} // namespace

int main(int argc, char** argv) {
    // The journal's command-line uses need no window, so they are looked at first.
    QStringList journalArgs = argumentsOf(argc, argv);
    const JournalOptions journalOptions = takeJournalOptions(journalArgs);
    if (journalOptions.any())
        return runJournalCommandLine(argc, argv, journalOptions);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pucktally"));

    static Settings settings;
    QtSettingsStore store;
    LoadSettings(settings, store, programFolder());
    QStringList args = QApplication::arguments();
    const FeedSettings feedSettings = takeLiveFeedOptions(args, store);

    SteadyTimeSource time;
    frmScoreBoard board(settings, store, time);

    SqliteJournalStore journalStore(journalPath());
    GameJournal journal(journalStore, time);
    BoardJournal boardJournal(board, journal, journalStore, settings);
    TestProbe probe(board);
    probe.start();
    boardJournal.start();

    board.show();
    const auto liveFeed = startLiveFeed(feedSettings, settings, store, board);
    const int exitCode = QApplication::exec();
    // The window was closed as designed: the game ends cleanly and the next start is fresh.
    boardJournal.end();
    frmHelp::UnloadHelp();
    return exitCode;
}
