// The penalty assistant on the board window: penalties typed on the keyboard appear on the
// designed penalty clocks, run down with the game clock and end on a power-play goal; with
// the assistant off the board is the board without it.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"
#include "support/RecordingSoundPlayer.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using penalties::RuleBook;

class PenaltyAssistantBoardTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    QStringList sounds; // what the board's buzzer and horn were told
    std::unique_ptr<frmScoreBoard> board;

    PictureBox* box(EntryBox id) { return board->entryBox(id); }

    // Ctrl+P, then the keys of `typed` (lower-case letters and digits), then Enter.
    static void enterPenalty(QWidget* target, const char* typed) {
        QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
        QTest::keyClicks(target, QString::fromLatin1(typed));
        QTest::keyClick(target, Qt::Key_Return);
    }

    // What the audience and the operator see: the tenths behind a shown second left out.
    static std::pair<BoardState, QString> shown(frmScoreBoard& b) {
        BoardState s = b.logic().state();
        s.clockTenths = s.assistantTenths = 0;
        for (PenaltyState& p : s.penalties)
            p.tenths = 0;
        return {s, b.windowTitle()};
    }

    void tickAfter(int ms) {
        time.advance(ms);
        emit board->clockTimer().tick();
    }

  private slots:
    void init() {
        settings = Settings();
        settings.HornFile = QCoreApplication::applicationFilePath(); // a file that is there
        sounds.clear();
        board = std::make_unique<frmScoreBoard>(
            settings, time, std::make_unique<RecordingSoundPlayer>("buzzer", sounds),
            std::make_unique<RecordingSoundPlayer>("horn", sounds));
        board->setPenaltyRules(penalties::rulesFor(RuleBook::Iihf));
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
        box(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
    }
    void cleanup() { board.reset(); }

    void typedPenaltiesShowOnTheClocks_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<int>>("players"); // slots 1 to 4, -1 blank
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("titleHas");
        QTest::newRow("home minor")
            << QStringList{"h7m"} << QList<int>{7, -1, -1, -1} << QStringList{"2:00", "", "", ""}
            << QStringLiteral("H 4 on 5 V");
        QTest::newRow("visitor double minor")
            << QStringList{"v12d"} << QList<int>{-1, -1, 12, -1} << QStringList{"", "", "4:00", ""}
            << QStringLiteral("H 5 on 4 V");
        QTest::newRow("third home penalty waits")
            << QStringList{"h7m", "h8j", "h9m"} << QList<int>{7, 8, -1, -1}
            << QStringList{"2:00", "5:00", "", ""} << QStringLiteral("H waits 9 (2:00)");
        QTest::newRow("misconduct stays off the clocks")
            << QStringList{"v4c"} << QList<int>{-1, -1, -1, -1} << QStringList{"", "", "", ""}
            << QStringLiteral("V misconduct 4 (10:00)");
    }
    void typedPenaltiesShowOnTheClocks() {
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, players);
        QFETCH(QStringList, times);
        QFETCH(QString, titleHas);
        for (const QString& entry : entries)
            enterPenalty(box(EntryBox::TimeBack), qPrintable(entry));
        const BoardState s = board->logic().state();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(s.penalties[i].player, players[i]);
            QCOMPARE(s.penalties[i].time, times[i]);
            QCOMPARE(s.penalties[i].lit, !times[i].isEmpty());
        }
        QVERIFY2(board->windowTitle().contains(titleHas), qPrintable(board->windowTitle()));
        // The typed keys went to the entry, not to the game clock.
        QCOMPARE(s.clock, QStringLiteral("10:00"));
    }

    void runningClockCountsDownAndAGoalEndsTheMinor() {
        enterPenalty(box(EntryBox::TimeBack), "h7m");
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_S);
        for (int i = 0; i < 300; ++i)
            tickAfter(100);
        QCOMPARE(board->logic().state().penalties[0].time, QStringLiteral("1:30"));
        QCOMPARE(board->logic().state().clock, QStringLiteral("9:30"));
        // The clock stands while the visitors' goal is put on the board.
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_S);
        QTest::keyClick(box(EntryBox::VisitorBack), Qt::Key_Plus);
        QTest::keyClick(box(EntryBox::VisitorBack), Qt::Key_1);
        const BoardState s = board->logic().state();
        QCOMPARE(s.visitor, 1);
        QCOMPARE(s.penalties[0].player, -1);
        QCOMPARE(s.penalties[0].time, QString());
        QVERIFY(!s.penalties[0].lit);
        QVERIFY(board->windowTitle().contains(QStringLiteral("H 5 on 5 V")));
    }

    // The same game on two boards: one ticked at every tenth, one only at the ticks its timer
    // asks for. Each step is "TENTH BOX KEYS": keys typed in the time (T) or visitor (V) box
    // at that tenth, "^" for Ctrl+P; "TENTH K N" is the timekeeper's correction moving the
    // first event told by N tenths of game time, made from outside the board's keys. After
    // every tenth and every key the two boards show the same, and the sleeping one ticks a
    // few times per second of running clock.
    void sleepingTimerShowsWhatEveryTenthShows_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("tenths");
        const QString phase = "0 T s, 35 T s, "; // penalties given off the clock's second
        QTest::newRow("double minor crossing its halves") << phase + "35 T ^v12d\r, 35 T s" << 1300;
        QTest::newRow("waiting penalty starts")
            << "0 T ^h7m\r, " + phase + "35 T ^h8m\r^h9m\r, 35 T s" << 1300;
        QTest::newRow("misconduct") << phase + "35 T ^v4c\r, 35 T s" << 300;
        QTest::newRow("coincident majors") << phase + "35 T ^h7j\r^v9j\r^h8m\r, 35 T s" << 300;
        QTest::newRow("entry's prompt while the clock runs")
            << "0 T s, 12 T ^, 17 T h, 23 T 7, 31 T m, 44 T \r" << 200;
        // The minor comes back between two ticks, due before the next.
        QTest::newRow("goal taken back while the clock runs")
            << phase + "35 T ^h7m\r, 35 T s, 61 V +1, 71 T ^z" << 200;
        // The penalty's seconds move to another phase of the clock's while the timer sleeps.
        QTest::newRow("penalty moved by a correction while the clock runs")
            << phase + "35 T ^h7m\r, 35 T s, 46 K -3, 78 K 7" << 200;
    }
    void sleepingTimerShowsWhatEveryTenthShows() {
        QFETCH(QString, steps);
        QFETCH(int, tenths);
        frmScoreBoard everyTenth(settings, time);
        everyTenth.setPenaltyRules(penalties::rulesFor(RuleBook::Iihf));
        TenthTimer& sleeping = board->clockTimer();
        const QSignalSpy ticks(&sleeping, &TenthTimer::tick);
        const std::int64_t start = time.nowMs() / 100 + 1;
        for (int t = 0; t <= tenths; ++t) {
            time.set((start + t) * 100 + 1);
            everyTenth.clockTimer().tickNow();
            if (start + t >= sleeping.nextTickTenth())
                sleeping.tickNow();
            QVERIFY2(shown(everyTenth) == shown(*board),
                     qPrintable(QStringLiteral("tenth %1").arg(t)));
            time.advance(50);
            for (const QString& step : steps.split(", ")) {
                const QStringList at = step.split(' ');
                if (at[0].toInt() != t)
                    continue;
                if (at[1] == "K") {
                    for (frmScoreBoard* b : {&everyTenth, board.get()}) {
                        penalties::AssistedBoard* assisted = b->penaltyAssistant();
                        penalties::ToldEvent moved = assisted->assistant().told().at(0);
                        moved.at += at[2].toInt();
                        QVERIFY(assisted->correct(0, moved));
                        emit b->boardChanged();
                    }
                    QVERIFY2(shown(everyTenth) == shown(*board), qPrintable(step));
                    continue;
                }
                const EntryBox box = at[1] == "V" ? EntryBox::VisitorBack : EntryBox::TimeBack;
                for (frmScoreBoard* b : {&everyTenth, board.get()})
                    for (const char c : at[2].toLatin1())
                        QTest::keyClick(b->entryBox(box), c == '^' ? 'p' : c,
                                        c == '^' ? Qt::ControlModifier : Qt::NoModifier);
                QVERIFY2(shown(everyTenth) == shown(*board), qPrintable(step));
            }
        }
        QVERIFY(sleeping.isEnabled()); // the clock ran all along
        QVERIFY2(ticks.count() * 10 <= 4 * tenths, qPrintable(QString::number(ticks.count())));
    }

    // G sounds the horn while a penalty is typed, but at the kind's step; an entry left alone
    // ends itself and says so.
    void hornSoundsAndAForgottenEntryEndsItself() {
        QSignalSpy notices(board.get(), &frmScoreBoard::operatorNotice);
        board->setPenaltyEntryIdleMs(50);
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_P, Qt::ControlModifier);
        QTest::keyClicks(box(EntryBox::TimeBack), QStringLiteral("hg7"));
        QCOMPARE(sounds.count(QStringLiteral("horn Play")), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!board->penaltyAssistant()->entry().isOpen(), kPatienceMs);
        QVERIFY(!notices.isEmpty());
        QVERIFY(notices.last().first().toString().startsWith("Penalty entry dropped"));
        QVERIFY(board->penaltyAssistant()->assistant().told().empty());
    }

    void turnedOffTheBoardIsTheBoardWithoutIt() {
        board->setPenaltyRules(std::nullopt);
        Settings plainSettings;
        FakeTimeSource plainTime;
        frmScoreBoard plain(plainSettings, plainTime);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain, kPatienceMs));
        for (frmScoreBoard* b : {board.get(), &plain})
            enterPenalty(b->entryBox(EntryBox::TimeBack), "h7m");
        QVERIFY(board->logic().state() == plain.logic().state());
        QCOMPARE(board->windowTitle(), plain.windowTitle());
    }
};

QTEST_MAIN(PenaltyAssistantBoardTest)
#include "PenaltyAssistantBoardTest.moc"
