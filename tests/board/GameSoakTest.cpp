// A whole game on the board window: three twenty-minute periods played from a script of some
// two thousand key events (clock starts and stops, goals, shots, penalties entered, run out and
// cleared, clock corrections, the options key), with time from a source the test steps. After
// every event the board must show exactly what the test's own tally of the game says.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"
#include "support/Patience.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdint>
#include <random>

namespace {

constexpr std::int64_t kPeriodTenths = 20 * 60 * 10;

// The game as the timekeeper's script has played it, kept apart from the board.
struct Tally {
    struct Slot {
        int player = -1;
        std::int64_t left = 0;  // tenths on its clock
        std::int64_t shown = 0; // tenths as last drawn
        bool used = false;      // a time is on the board
    };
    int period = 0;
    int home = 0;
    int visitor = 0;
    int shotsHome = 0;
    int shotsVisitor = 0;
    int whoGoal = 0;
    std::int64_t clock = 6000; // tenths left
    std::int64_t clockShown = 6000;
    std::int64_t reset = 6000;
    bool running = false; // the counters' running flags
    bool ranOut = false;  // a tick found the running clock at zero; it stands till start/stop
    std::array<Slot, 4> penalties{};
};

// A penalty time as the board draws it: m:ss, any part of a second going up.
QString penaltyText(std::int64_t tenths) {
    const std::int64_t s = (tenths + 9) / 10;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// A time as the timekeeper types it: minutes, a point, two digits of seconds and the tenth.
QString typedTime(std::int64_t tenths) {
    return QStringLiteral("%1.%2%3")
        .arg(tenths / 600)
        .arg((tenths / 10) % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

std::int64_t msTenth(std::int64_t ms) {
    return ms / 100;
}

} // namespace

class GameSoakTest : public QObject {
    Q_OBJECT

    Settings settings;
    MemorySettingsStore store;
    FakeTimeSource time{5'000'050}; // deliberately not on a tenth
    std::unique_ptr<frmScoreBoard> board;
    Tally tally;
    std::mt19937 rng;
    int keys = 0;
    int ticks = 0;
    int optionsOpened = 0;

    // Clock run bookkeeping: the start instant and the clocks' values at the start.
    std::int64_t runStartMs = 0;
    std::int64_t clockAtStart = 0;
    std::array<std::int64_t, 4> slotsAtStart{};

    int random(int lowest, int highest) {
        return std::uniform_int_distribution<int>(lowest, highest)(rng);
    }

    void check(const char* event) {
        const BoardState s = board->logic().state();
        const QString where = QStringLiteral("%1 after %2 keys, %3 ticks; clock shows %4")
                                  .arg(QLatin1String(event))
                                  .arg(keys)
                                  .arg(ticks)
                                  .arg(s.clock);
        QVERIFY2(s.period == tally.period, qPrintable(where));
        QVERIFY2(s.home == tally.home && s.visitor == tally.visitor, qPrintable(where));
        QVERIFY2(s.shotsHome == tally.shotsHome && s.shotsVisitor == tally.shotsVisitor,
                 qPrintable(where));
        QVERIFY2(s.whoGoal == tally.whoGoal, qPrintable(where));
        QVERIFY2(s.clockTenths == tally.clockShown, qPrintable(where));
        QVERIFY2(s.clockRunning == (tally.running && !tally.ranOut), qPrintable(where));
        QVERIFY2(s.resetTenths == tally.reset, qPrintable(where));
        QVERIFY2(tenthsOn(0) == tally.clock, qPrintable(where));
        for (std::size_t i = 0; i < 4; ++i) {
            const Tally::Slot& slot = tally.penalties[i];
            const PenaltyState& p = s.penalties[i];
            const QString penalty =
                where + QStringLiteral("; penalty %1 shows %2").arg(i + 1).arg(p.time);
            QVERIFY2(p.player == slot.player, qPrintable(penalty));
            QVERIFY2(p.time == (slot.used ? penaltyText(slot.shown) : QString()),
                     qPrintable(penalty));
            QVERIFY2(p.lit == (slot.left > 0), qPrintable(penalty));
            // Once the game clock has run out the penalty clocks are read no more until the
            // next start/stop; what they show and their lamps must still hold.
            if (!(tally.running && tally.clock == 0))
                QVERIFY2(tenthsOn(int(i) + 1) == slot.left, qPrintable(penalty));
        }
        // Everything within its field's range, whatever the tally says.
        QVERIFY2(s.period >= 0 && s.period <= 9, qPrintable(where));
        QVERIFY2(s.home >= 0 && s.home <= 199 && s.visitor >= 0 && s.visitor <= 199,
                 qPrintable(where));
        QVERIFY2(s.clockTenths >= 0 && s.clockTenths <= 59990, qPrintable(where));
    }

    std::int64_t tenthsOn(int counter) {
        return board->logic().counters().ReadCounter(counter).raw() / GameTime::kPerTenth;
    }

    void focus(EntryBox box) {
        board->entryBox(box)->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(),
                                  static_cast<QWidget*>(board->entryBox(box)), kPatienceMs);
    }

    void key(Qt::Key k) {
        QTest::keyClick(QApplication::focusWidget(), k);
        ++keys;
    }
    // Keys as typed: digits, ".", "+", "-", "\r" Enter, " " space, letters as their keys.
    void type(const QString& text) {
        for (const QChar c : text) {
            if (c == QLatin1Char('\r'))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            else
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            ++keys;
        }
    }

    // The clock counts from whole tenths of the time source, like the board's.
    void advanceClocks() {
        const std::int64_t run = msTenth(time.nowMs()) - msTenth(runStartMs);
        tally.clock = std::max<std::int64_t>(0, clockAtStart - run);
        for (std::size_t i = 0; i < 4; ++i)
            tally.penalties[i].left = std::max<std::int64_t>(0, slotsAtStart[i] - run);
    }

    void startStop() {
        focus(EntryBox::TimeBack);
        type(QStringLiteral("s"));
        tally.ranOut = false;
        if (tally.running) {
            tally.running = false; // the clocks keep what they read when they stopped
        } else {
            tally.running = true;
            runStartMs = time.nowMs();
            clockAtStart = tally.clock;
            for (std::size_t i = 0; i < 4; ++i)
                slotsAtStart[i] = tally.penalties[i].left;
        }
        check("start/stop");
    }

    // Play runs for up to `seconds`: the clock timer ticks every 100 to 1500 ms (a busy machine
    // is late), and the last tick falls where the game clock runs out.
    void play(int seconds) {
        std::int64_t left = std::int64_t{seconds} * 1000;
        while (left > 0 && tally.clock > 0) {
            const std::int64_t endMs = (msTenth(runStartMs) + clockAtStart) * 100;
            const std::int64_t step = std::max<std::int64_t>(
                1, std::min<std::int64_t>({left, random(100, 1500), endMs - time.nowMs()}));
            time.advance(step);
            left -= step;
            advanceClocks();
            if (board->clockTimer().isEnabled()) {
                board->logic().tmrClock1_Timer();
                ++ticks;
                tally.clockShown = tally.clock;
                tally.ranOut = tally.clock == 0;
                for (Tally::Slot& slot : tally.penalties)
                    if (slot.used)
                        slot.shown = slot.left;
            }
            check("tick");
            if (QTest::currentTestFailed())
                return;
        }
    }

    void goal() {
        const bool home = random(0, 1) == 0;
        focus(home ? EntryBox::HomeBack : EntryBox::VisitorBack);
        type(QStringLiteral("+1"));
        (home ? tally.home : tally.visitor) += 1;
        check("goal");
        focus(EntryBox::picGoalBack);
        key(home ? Qt::Key_Left : Qt::Key_Right);
        tally.whoGoal = home ? 1 : 2;
        check("goal lamp");
        type(QStringLiteral("g"));
        key(Qt::Key_Down);
        tally.whoGoal = 0;
        check("goal lamp off");
    }

    void shots() {
        const bool home = random(0, 1) == 0;
        int& shots = home ? tally.shotsHome : tally.shotsVisitor;
        const int more = random(1, 3);
        if (shots + more > 99)
            return;
        focus(home ? EntryBox::ShotsBackH : EntryBox::ShotsBackV);
        if (random(0, 3) == 0) {
            type(QString::number(shots + more) + QLatin1Char('\r')); // typed over
        } else {
            for (int i = 0; i < more; ++i)
                type(QStringLiteral("+1"));
        }
        shots += more;
        check("shots");
    }

    void penalty() {
        static constexpr std::array<EntryBox, 4> kPlayers{
            EntryBox::PenaltyPH1, EntryBox::PenaltyPH2, EntryBox::PenaltyPV1, EntryBox::PenaltyPV2};
        static constexpr std::array<EntryBox, 4> kTimes{EntryBox::PenaltyTH1, EntryBox::PenaltyTH2,
                                                        EntryBox::PenaltyTV1, EntryBox::PenaltyTV2};
        const std::size_t i = static_cast<std::size_t>(random(0, 3));
        Tally::Slot& slot = tally.penalties[i];
        if (slot.used)
            return;
        const int player = random(1, 99);
        focus(kPlayers[i]);
        type(QString::number(player) + QLatin1Char('\r'));
        slot.player = player;
        check("penalty player");
        static constexpr std::array<const char*, 4> kMinutes{"2\r", "2.00\r", "5\r", "1.30\r"};
        static constexpr std::array<std::int64_t, 4> kTenths{1200, 1200, 3000, 900};
        const std::size_t kind = static_cast<std::size_t>(random(0, 3));
        focus(kTimes[i]);
        type(QString::fromLatin1(kMinutes[kind]));
        slot.left = slot.shown = kTenths[kind];
        slot.used = true;
        check("penalty time");
    }

    // Expired penalties are cleared at the next stoppage, now and then one that still runs
    // (a goal on the power play).
    void clearPenalties() {
        static constexpr std::array<EntryBox, 4> kTimes{EntryBox::PenaltyTH1, EntryBox::PenaltyTH2,
                                                        EntryBox::PenaltyTV1, EntryBox::PenaltyTV2};
        for (std::size_t i = 0; i < 4; ++i) {
            Tally::Slot& slot = tally.penalties[i];
            if (!slot.used || (slot.left > 0 && random(0, 9) != 0))
                continue;
            focus(kTimes[i]);
            key(Qt::Key_Delete);
            slot = Tally::Slot{};
            check("penalty cleared");
        }
    }

    void correctClock() {
        const std::int64_t corrected =
            std::clamp<std::int64_t>(tally.clock + random(-30, 30), 1, kPeriodTenths);
        focus(EntryBox::TimeBack);
        type(typedTime(corrected) + QLatin1Char('\r'));
        tally.clock = tally.clockShown = tally.reset = corrected;
        check("clock corrected");
    }

    void mistypeAndDiscard() {
        focus(EntryBox::HomeBack);
        type(QStringLiteral("12 "));
        check("typing discarded");
    }

    // F2 opens the options dialog; Escape closes it, changing nothing.
    void optionsOpenedAndCancelled() {
        focus(EntryBox::TimeBack);
        QTimer::singleShot(0, this, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ++optionsOpened;
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
        });
        key(Qt::Key_F2);
        QCoreApplication::processEvents();
        // The board is the active window again once the dialog has gone.
        QApplication::setActiveWindow(board.get());
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
        check("options cancelled");
    }

    void stoppage() {
        time.advance(random(5'000, 60'000)); // the clock stands: nothing may move
        check("stoppage");
        const int what = random(0, 19);
        if (what < 1)
            goal();
        if (what < 14)
            shots();
        if (what >= 12 && what < 16)
            penalty();
        if (what == 16)
            correctClock();
        if (what == 17)
            mistypeAndDiscard();
        if (what == 18) {
            // Reset to the last typed time, then back to where the play stood.
            focus(EntryBox::TimeBack);
            const std::int64_t before = tally.clock;
            type(QStringLiteral("r"));
            tally.clock = tally.clockShown = tally.reset;
            check("reset");
            type(typedTime(before) + QLatin1Char('\r'));
            tally.clock = tally.clockShown = tally.reset = before;
            check("clock set back");
        }
        clearPenalties();
        QCoreApplication::processEvents(); // lets the board paint what changed
    }

    void playPeriod(int period) {
        focus(EntryBox::PeriodBack);
        type(QString::number(period));
        tally.period = period;
        check("period");
        focus(EntryBox::TimeBack);
        type(QStringLiteral("20\r"));
        tally.clock = tally.clockShown = tally.reset = kPeriodTenths;
        tally.running = false; // an accepted time stops the clocks
        check("period time");
        optionsOpenedAndCancelled();
        while (tally.clock > 0) {
            startStop();
            play(random(3, 18));
            if (tally.clock > 0) {
                startStop();
                stoppage();
            }
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(!board->clockTimer().isEnabled()); // the clock stands at zero
        time.advance(17 * 60 * 1000);              // the break
        clearPenalties();
        check("intermission");
    }

  private slots:
    void aWholeGameMatchesTheTally_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("first game") << 1u;
        QTest::newRow("second game") << 20261208u;
    }
    void aWholeGameMatchesTheTally() {
        QFETCH(unsigned, seed);
        rng.seed(seed);
        tally = Tally{};
        keys = ticks = optionsOpened = 0;
        board = std::make_unique<frmScoreBoard>(settings, store, time);
        board->show();
        QApplication::setActiveWindow(board.get());
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
        check("load");
        for (int period = 1; period <= 3; ++period) {
            playPeriod(period);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d keys, %d ticks, options dialog opened %d times; final score %d:%d", keys, ticks,
              optionsOpened, tally.home, tally.visitor);
        QVERIFY(keys > 1800);
        QCOMPARE(optionsOpened, 3); // once a period, and cancelled each time
        board.reset();
    }
};

QTEST_MAIN(GameSoakTest)
#include "GameSoakTest.moc"
