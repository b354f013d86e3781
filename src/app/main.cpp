#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/FeedStartup.h"
#include "app/PenaltyStartup.h"
#include "app/ProgramWindows.h"
#include "app/SingleInstance.h"
#include "app/TestHooks.h"
#include "board/frmScoreBoard.h"
#include "console/ConsoleWindow.h"
#include "console/TimekeeperConsole.h"
#include "feed/FeedSettings.h"
#include "feed/LiveFeedTab.h"
#include "game/TimeSource.h"
#include "journal/BoardJournal.h"
#include "journal/GameJournal.h"
#include "journal/JournalFiles.h"
#include "journal/SqliteJournalStore.h"
#include "penalties/PenaltiesTab.h"
#include "penalties/PenaltySettings.h"
#include "platform/HeapTuning.h"
#include "screens/BoardScreens.h"
#include "screens/ScreensTab.h"
#include "settings/ProgramFolder.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// "--help", "--version" or an option nobody knows: answered without a window.
int answerCommandLine(const CommandLineRequest& request) {
    print(request.action == CommandLineRequest::Action::Refuse ? stderr : stdout, request.text);
    return request.exitCode();
}

// One board per user: a second start shows the running board and ends. Answers the exit
// code when this start is to end: 0 once the running board is in front (what a desktop
// launcher expects when the user's wish, the board, is met), 1 when it did not answer.
std::optional<int> secondStart(SingleInstance& instance) {
    const SingleInstance::Claim claim = instance.claim(claimWaitMs());
    switch (claim) {
    case SingleInstance::Claim::First:
        if (!instance.problem().isEmpty())
            print(stderr, instance.problem() + QLatin1Char('\n'));
        return std::nullopt;
    case SingleInstance::Claim::Shown:
        print(stderr, QStringLiteral("Pucktally already runs a board for this user; it was "
                                     "brought to the front and this start ends.\n"));
        return 0;
    case SingleInstance::Claim::NoAnswer:
        break;
    }
    print(stderr, QStringLiteral("Pucktally already runs a board for this user. %1 This start "
                                 "ends without opening a second board.\n")
                      .arg(instance.problem()));
    return 1;
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
    return runJournalCommand(options, store, settings.HomeText, settings.VisitorText, out, err,
                             rulesFromSettings(loadPenaltySettings(settingsStore)));
}

// The game journal of one board: it restores an unfinished game when the board appears and
// records every change from then on.
struct JournalOfBoard {
    JournalOfBoard(frmScoreBoard& board, Settings& settings, const TimeSource& time,
                   bool takeUpClosed)
        : store(journalPath()), journal(store, time), boardJournal(board, journal, store, settings),
          testHooks(startTestHooks(board)) {
        boardJournal.start(takeUpClosed);
    }
    SqliteJournalStore store;
    GameJournal journal;
    BoardJournal boardJournal;
    std::unique_ptr<QObject> testHooks;
};

} // namespace

int main(int argc, char** argv) {
    // What the command line asks is settled before any window: printing the usage, the
    // version or the journal needs no display. The live feed reads its option again below.
    QStringList words = argumentsOf(argc, argv);
    const JournalOptions journalOptions = takeJournalOptions(words);
    FeedSettings feedOfWords;
    const QString feedMistake = takeFeedOptions(words, feedOfWords);
    const CommandLineRequest request = readCommandLine(words, feedMistake);
    if (request.action != CommandLineRequest::Action::Run)
        return answerCommandLine(request);
    // Reading the journal goes on beside a running board.
    if (journalOptions.any())
        return runJournalCommandLine(argc, argv, journalOptions);
    const QString noDisplay =
        missingDisplay(words, [](const char* name) { return qEnvironmentVariable(name); });
    if (!noDisplay.isEmpty()) {
        print(stderr, noDisplay + QLatin1Char('\n'));
        return 1;
    }

    keepLargeBuffersInHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pucktally"));
    // Before the journal is opened: one board writes it.
    SingleInstance instance(journalFolder());
    if (const std::optional<int> exitCode = secondStart(instance))
        return *exitCode;

    Settings settings;
    QtSettingsStore store;
    // Features with options of their own take them off here; the rest may be "bypass".
    QStringList commandLine = commandLineWords();
    const FeedSettings feedSettings = takeLiveFeedOptions(commandLine, store);
    const bool takeUpClosed = takeJournalOptions(commandLine).resume;

    SteadyTimeSource time;
    ProgramWindows windows(settings, store, time);
    std::unique_ptr<JournalOfBoard> journal;
    std::unique_ptr<LiveFeed> liveFeed;
    windows.setOptionsPages(
        {liveFeedOptionsPage([&liveFeed] { return liveFeed ? liveFeed->failure() : QString(); }),
         penaltiesOptionsPage(), screensOptionsPage()});
    std::unique_ptr<BoardScreens> screens;
    std::unique_ptr<TimekeeperConsole> console;
    std::unique_ptr<QObject> consoleHooks;
    QObject::connect(&instance, &SingleInstance::showRequested, &windows,
                     &ProgramWindows::bringToFront);
    QObject::connect(&windows, &ProgramWindows::boardCreated, [&](frmScoreBoard& board) {
        // The assistant is on the board before the journal restores a game into it.
        followPenaltySettings(board, store, [&liveFeed](const auto& rules) {
            if (liveFeed)
                liveFeed->setPenaltyRules(rules);
        });
        journal = std::make_unique<JournalOfBoard>(board, settings, time, takeUpClosed);
        liveFeed = startLiveFeed(feedSettings, settings, store, board);
        liveFeed->setPenaltyRules(board.penaltyRules());
        // After the journal, which shows the timekeeper what the screens have to tell.
        screens = std::make_unique<BoardScreens>(board, store);
        screens->start();
        // After the board has its screen: the console goes on another one.
        console = std::make_unique<TimekeeperConsole>(board, journal->boardJournal, store);
        consoleHooks = startConsoleTestHooks(console->window());
        const auto showFeed = [&liveFeed, &console] {
            console->window().setFeedLine(liveFeed->status());
        };
        QObject::connect(liveFeed.get(), &LiveFeed::statusChanged, &console->window(), showFeed);
        showFeed();
        board.setWindowKeys([&screens, &console](int keyCode) {
            return screens->takeKey(keyCode) || console->takeKey(keyCode);
        });
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
