// What the running clock's ticks leave behind: no memory that grows with the game, no undo
// steps, and a journal log on the disk that starts over instead of growing for good.
#include "JournalHarness.h"
#include "journal/WalSyncer.h"
#include "support/Patience.h"

#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

using namespace journaltest;

namespace {

constexpr std::int64_t kHourMs = 60 * 60 * 1000;

// The number of undo steps the history holds.
int undoSteps(JournalHarness& h) {
    int n = 0;
    while (h.journal->history().undo())
        ++n;
    return n;
}

struct TickCase {
    const char* name;
    bool writable; // whether the journal's folder can be written during the hour
};

const TickCase kTickCases[] = {{"StoreWrites", true}, {"StoreFails", false}};

class AnHourOfTicks : public ::testing::TestWithParam<TickCase> {};

TEST_P(AnHourOfTicks, KeepsNothingPerTickInMemory) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("data");
    if (!GetParam().writable) {
        QFile blocker(folder); // a file where the folder should be
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    JournalHarness h(folder);
    h.type(EntryBox::HomeBack, "3\n");
    h.press(EntryBox::TimeBack, 'S');
    h.run(1000);
    const std::size_t pendingAfterASecond = h.journal->pending();

    h.run(kHourMs);
    // The game clock ran out long ago; the penalties and the period end with it, and the
    // ticks before that were thousands.
    EXPECT_LE(h.journal->pending(), pendingAfterASecond + 1);
    EXPECT_EQ(undoSteps(h), 1) << "the typed score only";

    if (!GetParam().writable) {
        QFile::remove(folder);
        h.run(GameJournal::kRetryMs + 200);
    }
    h.type(EntryBox::VisitorBack, "1\n"); // the journal writes on the next event
    EXPECT_EQ(h.journal->pending(), 0u);
    EXPECT_EQ(replayRows(h.rows()), h.b().logic.state());
}

INSTANTIATE_TEST_SUITE_P(Journal, AnHourOfTicks, ::testing::ValuesIn(kTickCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Ticks that wait for a failing store become one row that still ends where the board is.
TEST(TicksWaiting, BecomeOneRowFromTheFirstValuesToTheLast) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("data");
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    JournalHarness h(folder);
    h.type(EntryBox::PenaltyTH1, "2\n");
    h.press(EntryBox::TimeBack, 'S');
    const BoardState atStart = h.b().logic.state();
    const std::size_t before = h.journal->pending();
    h.run(5000);
    EXPECT_EQ(h.journal->pending(), before + 1);

    QFile::remove(folder);
    h.run(GameJournal::kRetryMs + 200);
    const std::vector<JournalRow> rows = h.rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(replayRows(rows), h.b().logic.state());
    // The merged row tells the clock as it was before its first tick.
    const JournalRow* merged = nullptr;
    for (const JournalRow& row : rows)
        if (row.kind == JournalKind::Clock) {
            merged = &row;
            break;
        }
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->before.value("clockTenths").toInteger(), atStart.clockTenths);
    EXPECT_EQ(merged->before.value("p1.tenths").toInteger(), atStart.penalties[0].tenths);
}

// Waits until `done` holds or `ms` have passed.
template <typename Done> bool waitFor(Done done, int ms) {
    for (int waited = 0; waited < ms; waited += 5) {
        if (done())
            return true;
        QThread::msleep(5);
    }
    return done();
}

TEST(WalSyncer, SleepsWhileNothingIsWrittenAndFlushesAfterWrites) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("j.sqlite"), 0);
    ASSERT_TRUE(store.open());
    WalSyncer syncer(store.path(), 20);
    QThread::msleep(300);
    EXPECT_EQ(syncer.wakeUps(), 0) << "woke with nothing to write";
    EXPECT_EQ(syncer.flushes(), 0);

    for (int i = 0; i < 5; ++i)
        syncer.written();
    // However the writes fell against the intervals: each flush took every write before it,
    // after three wakes, and once all is flushed the thread sleeps until the next write. (A
    // write told just as a flush began may bring one more round, so the count is waited for
    // along with the flush.)
    ASSERT_TRUE(waitFor(
        [&] { return syncer.caughtUp() && syncer.wakeUps() == 3 * syncer.flushes(); }, kPatienceMs))
        << syncer.wakeUps() << " wake-ups for " << syncer.flushes() << " flushes";
    const std::int64_t flushes = syncer.flushes();
    const std::int64_t wakeUps = syncer.wakeUps();
    EXPECT_GE(flushes, 1);
    EXPECT_LE(flushes, 5);
    QThread::msleep(300);
    EXPECT_EQ(syncer.flushes(), flushes) << "flushed again with nothing new";
    EXPECT_EQ(syncer.wakeUps(), wakeUps) << "woke with nothing to write";
}

// Clock writes wait for the long gathering; any other write ends it and goes to the disk
// within the short interval.
TEST(WalSyncer, ClockWritesGatherLongerUntilAnotherWriteComes) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("j.sqlite"), 0);
    ASSERT_TRUE(store.open());
    WalSyncer syncer(store.path(), 20, 600000);
    syncer.written(false);
    syncer.written(false);
    QThread::msleep(500);
    EXPECT_EQ(syncer.flushes(), 0) << "clock writes flushed within the short interval";
    syncer.written(true);
    EXPECT_TRUE(waitFor([&] { return syncer.flushes() == 1; }, kPatienceMs));
}

// The size of the log after `rounds` rounds of `rowsPerRound` clock rows, each round written
// at once, waiting after each until the store has flushed all it was given.
qint64 logAfterRounds(SqliteJournalStore& store, int rounds, int rowsPerRound) {
    const int game = store.beginGame(0);
    EXPECT_GE(game, 0);
    for (int round = 0, i = 0; round < rounds; ++round) {
        for (int row = 0; row < rowsPerRound; ++row, ++i) {
            const JournalRow clock{
                i, i, JournalKind::Clock, {{"clockTenths", i}}, {{"clockTenths", i + 1}}};
            EXPECT_TRUE(store.append(game, clock));
        }
        EXPECT_TRUE(waitFor([&] { return store.flushedAll(); }, kPatienceMs));
    }
    return QFileInfo(store.path() + "-wal").size();
}

// A long game of clock rows: each flush copies the log into the journal and the next write
// starts it over, so the log never holds more than the rows written since the last flush,
// however the flushes fall in time. A log that never starts over (no syncer; SQLite's own
// checkpoint waits for a thousand pages) holds the whole game.
TEST(WalSyncer, LetsTheLogStartOverWhileTicksAreWritten) {
    constexpr int kRounds = 15, kRowsPerRound = 10;
    QTemporaryDir dir;
    SqliteJournalStore neverStartsOver(QDir(dir.path()).filePath("plain.sqlite"), 0);
    ASSERT_TRUE(neverStartsOver.open());
    const qint64 oneRound = logAfterRounds(neverStartsOver, 1, kRowsPerRound);
    const qint64 wholeGame = logAfterRounds(neverStartsOver, kRounds - 1, kRowsPerRound);

    SqliteJournalStore synced(QDir(dir.path()).filePath("synced.sqlite"), 10);
    ASSERT_TRUE(synced.open());
    const qint64 log = logAfterRounds(synced, kRounds, kRowsPerRound);
    EXPECT_GE(synced.flushes(), kRounds);
    // A round's rows may split a page or two more than the first round's did.
    EXPECT_LE(log, 2 * oneRound) << "the whole game's log would be " << wholeGame;
    EXPECT_GT(wholeGame, 5 * oneRound) << "the game is too short to tell";
}

} // namespace
