// What the board's watchers (journal, live feed) hear of the running clock: a tick only when
// it changed what the board shows, and only after its new digits were painted.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QApplication>
#include <QTest>
#include <memory>

class TickObserversTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    QStringList log; // "paint" for a painted clock digit, "changed" for boardChanged

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            log << QStringLiteral("paint");
        return QObject::eventFilter(watched, event);
    }

    // One tick of the clock timer after `ms` of game time.
    void tickAfter(int ms) {
        time.advance(ms);
        emit board->clockTimer().tick();
    }

  private slots:
    void init() {
        settings = Settings();
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
        for (PolyLED* cell : board->ledField(FieldId::Time).cells())
            cell->installEventFilter(this);
        connect(board.get(), &frmScoreBoard::boardChanged, this, [this] {
            log << (board->changedByClock() ? QStringLiteral("changed") : QStringLiteral("key"));
        });
        PictureBox* timeBox = board->entryBox(EntryBox::TimeBack);
        timeBox->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(timeBox, Qt::Key_S); // starts the clock at 10:00
        QVERIFY(board->clockTimer().isEnabled());
        QApplication::processEvents();
        log.clear();
    }
    void cleanup() { board.reset(); }

    // Ticks a tenth apart with minutes on the clock: the shown seconds change every tenth tick.
    void aTickIsToldOnlyWhenTheShownClockChanged_data() {
        QTest::addColumn<int>("tick");
        QTest::addColumn<bool>("told");
        // The clock shows whole seconds rounded up: 9:59.9 still shows 10:00.
        QTest::newRow("9:59.9 shows 10:00 still") << 1 << false;
        QTest::newRow("9:59.1 shows 10:00 still") << 9 << false;
        QTest::newRow("9:59.0 shows 9:59") << 10 << true;
        QTest::newRow("9:58.9 shows 9:59 still") << 11 << false;
        QTest::newRow("9:58.0 shows 9:58") << 20 << true;
        QTest::newRow("9:57.5 shows 9:58 still") << 25 << false;
    }
    void aTickIsToldOnlyWhenTheShownClockChanged() {
        QFETCH(int, tick);
        QFETCH(bool, told);
        for (int i = 1; i < tick; ++i)
            tickAfter(100);
        log.clear();
        tickAfter(100);
        const int changed = int(log.count(QStringLiteral("changed")));
        QCOMPARE(changed, told ? 1 : 0);
        if (told) {
            // The new digits were painted before the watchers heard of the tick.
            const qsizetype firstPaint = log.indexOf(QStringLiteral("paint"));
            QVERIFY2(firstPaint >= 0 && firstPaint < log.indexOf(QStringLiteral("changed")),
                     qPrintable(log.join(QLatin1Char(' '))));
            QCOMPARE(board->logic().state().clockTenths, 6000 - tick);
        }
    }

    // Stopping the clock is the operator's change and carries the exact tenths.
    void theStopKeyTellsTheTenthsTheTicksLeftOut() {
        for (int i = 0; i < 4; ++i)
            tickAfter(100);
        log.clear();
        QTest::keyClick(board->entryBox(EntryBox::TimeBack), Qt::Key_S);
        QCOMPARE(log.count(QStringLiteral("key")), 1);
        QCOMPARE(board->logic().state().clockTenths, 5996);
        QVERIFY(!board->logic().state().clockRunning);
    }
};

QTEST_MAIN(TickObserversTest)
#include "TickObserversTest.moc"
