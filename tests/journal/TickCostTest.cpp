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

TEST(WalSyncer, SleepsWhileNothingIsWrittenAndFlushesOnceAfterWrites) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("j.sqlite"), 0);
    ASSERT_TRUE(store.open());
    WalSyncer syncer(store.path(), 20);
    QThread::msleep(300);
    EXPECT_EQ(syncer.wakeUps(), 0) << "woke with nothing to write";
    EXPECT_EQ(syncer.flushes(), 0);

    for (int i = 0; i < 5; ++i)
        syncer.written();
    ASSERT_TRUE(waitFor([&] { return syncer.flushes() == 1; }, 2000));
    QThread::msleep(200);
    EXPECT_EQ(syncer.flushes(), 1) << "five writes in one interval, one flush";
    EXPECT_EQ(syncer.wakeUps(), 3);
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

// A tick written ten times a second for a long game: the log is copied into the journal and
// starts over, so neither it nor its index in shared memory grows with the game.
TEST(WalSyncer, LetsTheLogStartOverWhileTicksAreWritten) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("j.sqlite"), 10);
    ASSERT_TRUE(store.open());
    const int game = store.beginGame(0);
    ASSERT_GE(game, 0);
    // A write every 20 ms, as the clock's ticks come but faster.
    for (int i = 0; i < 150; ++i) {
        JournalRow row{i, i, JournalKind::Clock, {{"clockTenths", i}}, {{"clockTenths", i + 1}}};
        ASSERT_TRUE(store.append(game, row));
        QThread::msleep(20);
    }
    // A log that never starts over holds every commit: 150 make two megabytes. Clock rows
    // gather for twenty intervals (200 ms, ten rows here) between flushes; a busy machine may
    // stretch that, never to the whole game.
    EXPECT_LT(QFileInfo(store.path() + "-wal").size(), 640 * 1024);
}

} // namespace
