// The penalty assistant in the game's journal: Ctrl+Z and Ctrl+Y take a penalty or a goal
// back whole, assistant and board together, and a game that did not end cleanly comes back
// with its penalties.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/BoardJournal.h"
#include "journal/GameSheet.h"
#include "journal/SqliteJournalStore.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// One board with its journal on a store in `folder`, the assistant on before the journal
// starts, so a restored game finds it.
struct JournaledBoard {
    Settings settings;
    FakeTimeSource time;
    frmScoreBoard board{settings, time};
    SqliteJournalStore store;
    GameJournal journal{store, time};
    BoardJournal boardJournal{board, journal, store, settings};

    explicit JournaledBoard(const QString& folder, bool assistant = true, int syncMs = 0)
        : store(QDir(folder).filePath(QStringLiteral("j.sqlite")), syncMs) {
        if (assistant)
            board.setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        boardJournal.start();
        board.show();
    }
    PictureBox* box(EntryBox id) { return board.entryBox(id); }
    void keys(EntryBox id, const char* typed, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClicks(box(id), QString::fromLatin1(typed), mods);
    }
    void penalty(const char* typed) {
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_P, Qt::ControlModifier);
        keys(EntryBox::TimeBack, typed);
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_Return);
    }
    void tickAfter(int ms) {
        time.advance(ms);
        emit board.clockTimer().tick();
    }
    BoardState state() { return board.logic().state(); }
    // Lets `ms` of the running clock pass with a tick wherever the board's timer asks for
    // one; answers the number of ticks.
    int runAsTheTimerAsks(int ms) {
        TenthTimer& timer = board.clockTimer();
        const std::int64_t end = time.nowMs() + ms;
        int ticks = 0;
        for (; timer.isEnabled() && timer.nextTickTenth() * 100 <= end; ++ticks) {
            time.set(timer.nextTickTenth() * 100 + 1);
            timer.tickNow();
        }
        time.set(end);
        return ticks;
    }
    int clockRows() {
        int n = 0;
        for (const JournalRow& row : store.rows(journal.game()))
            n += row.kind == JournalKind::Clock;
        return n;
    }
};

} // namespace

class PenaltyAssistantJournalTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void init() { qputenv("PUCKTALLY_JOURNAL_DIR", dir.path().toUtf8()); }
    void cleanup() {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void undoAndRedoTakeAPenaltyBackWhole() {
        JournaledBoard b(dir.path());
        b.penalty("v12d");
        QCOMPARE(b.state().penalties[2].player, 12);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.state().penalties[2].player, -1);
        QVERIFY(!b.board.penaltyAssistant()->assistant().boardClocks()[2]);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(b.state().penalties[2].player, 12);
        QCOMPARE(b.state().penalties[2].time, QStringLiteral("4:00"));
        b.boardJournal.end();
    }

    void undoOfAGoalGivesTheMinorBackAndRedoDoesNotScoreTwice() {
        JournaledBoard b(dir.path());
        b.penalty("h7m");
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        for (int i = 0; i < 300; ++i)
            b.tickAfter(100);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        b.keys(EntryBox::VisitorBack, "+1");
        QCOMPARE(b.state().penalties[0].time, QString());
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.state().visitor, 0);
        QCOMPARE(b.state().penalties[0].time, QStringLiteral("1:30"));
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Space);
        QCOMPARE(b.state().visitor, 1);
        QCOMPARE(b.state().penalties[0].time, QString());
        QCOMPARE(b.board.penaltyAssistant()->assistant().state().skaters(penalties::Team::Home), 5);
        b.boardJournal.end();
    }

    // The assistant draws its penalties afresh at every start and stop of the clock; the sheet
    // still lists the one minor once, with its length.
    void theSheetListsAPenaltyOnceThroughStartsAndStops() {
        JournaledBoard b(dir.path());
        b.penalty("h7m");
        for (int stop = 0; stop < 3; ++stop) {
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            for (int i = 0; i < 14; ++i)
                b.tickAfter(100);
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        }
        const GameSheet sheet =
            buildSheet({b.journal.game(), 0, 0, 0}, b.store.rows(b.journal.game()));
        QCOMPARE(sheet.penalties.size(), std::size_t(1));
        QCOMPARE(sheet.penalties[0].player, 7);
        QCOMPARE(sheet.penalties[0].lengthTenths, std::int64_t(1200));
        b.boardJournal.end();
    }

    void aGameThatDidNotEndComesBackWithItsPenalties() {
        BoardState before;
        {
            JournaledBoard b(dir.path());
            b.penalty("h7m");
            b.penalty("h8m");
            b.penalty("h9j");
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            for (int i = 0; i < 100; ++i)
                b.tickAfter(100);
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            before = b.state();
            // No end: as if the program had been killed.
        }
        JournaledBoard again(dir.path());
        const BoardState after = again.state();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(after.penalties[i].player, before.penalties[i].player);
            QCOMPARE(after.penalties[i].time, before.penalties[i].time);
        }
        QCOMPARE(after.assistant, before.assistant);
        QCOMPARE(after.assistantTenths, before.assistantTenths);
        QVERIFY2(again.board.windowTitle().contains(QStringLiteral("H waits 9 (5:00)")),
                 qPrintable(again.board.windowTitle()));
        again.boardJournal.end();
    }

    // What a second of running clock costs, counted over a minute above the last one: the
    // board wakes once for each change it shows, the journal writes one row for each, and
    // the clock's rows wait for the next other write to be flushed with it, also after the
    // first writes were flushed at once. Penalties given in two phases of the second add
    // their own changes and no more.
    void aSecondOfRunningClockCosts_data() {
        QTest::addColumn<bool>("assistant");
        QTest::addColumn<int>("perSecond"); // wake-ups, changes and clock rows
        QTest::newRow("assistant off") << false << 1;
        QTest::newRow("assistant on") << true << 2;
    }
    void aSecondOfRunningClockCosts() {
        QFETCH(bool, assistant);
        QFETCH(int, perSecond);
        constexpr int kSyncMs = 500; // the clock's rows gather for twenty times as long
        JournaledBoard b(dir.path(), assistant, kSyncMs);
        if (assistant)
            b.penalty("h7m");
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        b.runAsTheTimerAsks(1500);
        if (assistant)
            b.penalty("v9m"); // half a second after the first penalty's phase
        b.runAsTheTimerAsks(1000);
        QTRY_VERIFY_WITH_TIMEOUT(b.store.flushedAll(), kPatienceMs);
        const std::int64_t flushes = b.store.flushes();
        int changes = 0;
        const QMetaObject::Connection counting =
            connect(&b.board, &frmScoreBoard::boardChanged, this, [&] { changes += 1; });
        const int rowsBefore = b.clockRows();

        QCOMPARE(b.runAsTheTimerAsks(60'000), 60 * perSecond);
        QCOMPARE(changes, 60 * perSecond);
        disconnect(counting);
        QCOMPARE(b.clockRows() - rowsBefore, changes);
        QCOMPARE(b.state().clock, QStringLiteral("8:58"));
        QTest::qWait(3 * kSyncMs); // past a flush of urgent writes
        QCOMPARE(b.store.flushes(), flushes);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        QTRY_VERIFY_WITH_TIMEOUT(b.store.flushedAll(), kPatienceMs);
        QCOMPARE(b.store.flushes(), flushes + 1);

        // The board's own connection keeps a small page cache, whatever the game's length.
        int checked = 0;
        for (const QString& name : QSqlDatabase::connectionNames()) {
            if (name.startsWith(QStringLiteral("pucktally-journal-sync")))
                continue; // the syncer's, on its own thread
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.databaseName() != b.store.path() || !db.isOpen())
                continue;
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA cache_size")) && q.next());
            QCOMPARE(q.value(0).toInt(), -256);
            ++checked;
        }
        QCOMPARE(checked, 1);
        b.boardJournal.end();
    }

    // Ctrl+N ends the old game with its journal, and so its sheet, as the board stood; the
    // new game's assistant starts at game time 0, also when the old game told it nothing
    // (the same empty penalty game put back with another game time).
    void newGameLeavesTheOldGameWholeAndTheAssistantAtZero_data() {
        QTest::addColumn<QString>("penalty"); // typed in the old game, if any
        QTest::newRow("no penalty") << QString();
        QTest::newRow("a minor") << QStringLiteral("h7m");
    }
    void newGameLeavesTheOldGameWholeAndTheAssistantAtZero() {
        QFETCH(QString, penalty);
        JournaledBoard b(dir.path());
        if (!penalty.isEmpty())
            b.penalty(qPrintable(penalty));
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        for (int i = 0; i < 300; ++i)
            b.tickAfter(100);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        const int goals = penalty.isEmpty() ? 0 : 1; // a goal too is an event of the assistant
        if (goals)
            b.keys(EntryBox::VisitorBack, "+1");
        const BoardState old = b.state();
        const int oldGame = b.journal.game();
        b.boardJournal.newGame();

        const std::vector<GameSummary> games = b.store.games();
        QCOMPARE(games.size(), size_t(2));
        QCOMPARE(games[0].id, oldGame);
        QVERIFY(games[0].endedWallMs != 0);
        const std::vector<JournalRow> rows = b.store.rows(oldGame);
        QVERIFY(replayRows(rows) == old);
        const GameSheet sheet =
            buildSheet(games[0], rows, penalties::rulesFor(penalties::RuleBook::Iihf));
        QCOMPARE(sheet.visitor, goals);
        QCOMPARE(sheet.goals.size(), size_t(goals));
        QCOMPARE(sheet.assisted.size(), size_t(penalty.isEmpty() ? 0 : 1));
        if (!penalty.isEmpty()) {
            QCOMPARE(sheet.assisted[0].ended.value_or(-1), 300);
            QCOMPARE(sheet.assisted[0].end, penalties::PenaltyRecord::End::Goal);
        }

        QCOMPARE(b.state().assistantTenths, 0);
        b.penalty("v9m");
        QCOMPARE(b.board.penaltyAssistant()->assistant().told().at(0).at, 0);
        b.boardJournal.end();
    }
};

QTEST_MAIN(PenaltyAssistantJournalTest)
#include "PenaltyAssistantJournalTest.moc"
