#pragma once

#include "game/BoardHarness.h"
#include "journal/GameJournal.h"
#include "journal/SqliteJournalStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <random>

namespace journaltest {

using boardtest::BoardHarness;

// A board with its journal in a private temporary folder: every key and every tick of the
// running clock is recorded as the board window records them.
struct JournalHarness {
    explicit JournalHarness(const QString& folder) : path(QDir(folder).filePath("journal.sqlite")) {
        b().load();
        open();
    }

    void open() {
        store = std::make_unique<SqliteJournalStore>(path, 0);
        journal = std::make_unique<GameJournal>(*store, b().time);
        journal->onMessage = [this](const QString& m) { messages << m; };
        restored = journal->begin(b().logic.state());
        if (restored) {
            b().logic.restore(*restored, true);
            journal->record(b().logic.state(), JournalKind::Restore);
        }
    }
    // The process dies: nothing is closed, nothing more is written.
    void kill() {
        journal.reset();
        store.reset();
    }
    // The program starts again on the same journal with a freshly loaded b().
    void restart() {
        kill();
        board = std::make_unique<BoardHarness>();
        b().load();
        open();
    }
    BoardHarness& b() { return *board; }

    void press(EntryBox box, int key) {
        b().press(box, key);
        journal->record(b().logic.state(), JournalKind::Key);
    }
    void type(EntryBox box, std::string_view keys) {
        for (char c : keys)
            press(box, boardtest::keyFor(c));
    }
    void run(std::int64_t ms) {
        for (; ms >= 100; ms -= 100) {
            b().time.advance(100);
            if (b().view.timerEnabled()) {
                b().logic.tmrClock1_Timer();
                journal->record(b().logic.state(), JournalKind::Clock);
            }
        }
        b().time.advance(ms);
    }
    void undo() {
        if (auto v = journal->history().undo()) {
            putBackValues(b().logic, *v);
            journal->record(b().logic.state(), JournalKind::Undo);
        }
    }
    void redo() {
        if (auto v = journal->history().redo()) {
            putBackValues(b().logic, *v);
            journal->record(b().logic.state(), JournalKind::Redo);
        }
    }
    std::vector<JournalRow> rows() { return store->rows(journal->game()); }

    QString path;
    std::unique_ptr<BoardHarness> board = std::make_unique<BoardHarness>();
    std::unique_ptr<SqliteJournalStore> store;
    std::unique_ptr<GameJournal> journal;
    std::optional<BoardState> restored;
    QStringList messages; // what the operator was told
};

// The board as a restart shows it: the clocks stand.
inline BoardState stopped(BoardState s) {
    s.clockRunning = false;
    for (PenaltyState& p : s.penalties)
        p.running = false;
    return s;
}

// One random action of a timekeeper at the board: a key in some entry box, or time passing.
inline void randomAction(std::mt19937& rng, JournalHarness& h) {
    static constexpr std::array<int, 14> kKeys{
        vk::Key0 + 1, vk::Key0 + 2,  vk::Key0 + 5, vk::Key0 + 9, vk::OemPlus,
        vk::OemMinus, vk::OemPeriod, vk::Return,   vk::Return,   'S',
        'R',          vk::Left,      vk::Right,    vk::Delete};
    const auto box = static_cast<EntryBox>(rng() % kEntryBoxCount);
    if (rng() % 5 == 0)
        h.run(static_cast<std::int64_t>(rng() % 3000));
    else
        h.press(box, kKeys[rng() % kKeys.size()]);
}

} // namespace journaltest
