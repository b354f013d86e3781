#include "app/CommandLine.h"
#include "app/FeedStartup.h"
#include "app/HeapTuning.h"
#include "app/ProgramWindows.h"
#include "app/TestProbe.h"
#include "board/TimeSource.h"
#include "board/frmScoreBoard.h"
#include "journal/BoardJournal.h"
#include "journal/GameJournal.h"
#include "journal/JournalFiles.h"
#include "journal/SqliteJournalStore.h"
#include "settings/ProgramFolder.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTextStream>
#include <memory>

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

// The game journal of one board: it restores an unfinished game when the board appears and
// records every change from then on.
struct JournalOfBoard {
    JournalOfBoard(frmScoreBoard& board, Settings& settings, const TimeSource& time)
        : store(journalPath()), journal(store, time), boardJournal(board, journal, store, settings),
          probe(board) {
        probe.start();
        boardJournal.start();
    }
    SqliteJournalStore store;
    GameJournal journal;
    BoardJournal boardJournal;
    TestProbe probe;
};

} // namespace

int main(int argc, char** argv) {
    // The journal's command-line uses need no window, so they are looked at first.
    QStringList journalArgs = argumentsOf(argc, argv);
    const JournalOptions journalOptions = takeJournalOptions(journalArgs);
    if (journalOptions.any())
        return runJournalCommandLine(argc, argv, journalOptions);

    keepLargeBuffersInHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pucktally"));

    Settings settings;
    QtSettingsStore store;
    // Features with options of their own take them off here; the rest may be "bypass".
    QStringList commandLine = commandLineWords();
    const FeedSettings feedSettings = takeLiveFeedOptions(commandLine, store);

    SteadyTimeSource time;
    ProgramWindows windows(settings, store, time);
    std::unique_ptr<JournalOfBoard> journal;
    std::unique_ptr<LiveFeed> liveFeed;
    QObject::connect(&windows, &ProgramWindows::boardCreated, [&](frmScoreBoard& board) {
        journal = std::make_unique<JournalOfBoard>(board, settings, time);
        liveFeed = startLiveFeed(feedSettings, settings, store, board);
    });
    QObject::connect(
        &windows, &ProgramWindows::ended, &app,
        [&] {
            // The board was closed as designed: the game ends cleanly and the next start is fresh.
            if (journal)
                journal->boardJournal.end();
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
    windows.start(commandLine);
    return QApplication::exec();
}
