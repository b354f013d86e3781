// The keys the board hands on to the program's other windows (full screen, console): every key
// it has no use for, once per press, never one the options gave to one of its functions.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "penalties/PenaltyRules.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"
#include "support/RecordingSoundPlayer.h"

#include <QTest>

class WindowKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void keysGoToTheWindowsUnlessTheBoardHasThem_data() {
        QTest::addColumn<QString>("f11Is"); // the board's key the options set to F11, if any
        QTest::addColumn<bool>("penalties");
        // F: F11, f: F11 held (the keyboard's repeat), E: Enter, P: Ctrl+P.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QString>("board"); // the clock as shown, and whether it runs
        const QList<int> f11{122}, none;
        QTest::newRow("F11") << "" << false << "F" << f11 << "10:00";
        QTest::newRow("F11 held") << "" << false << "Fff" << f11 << "10:00";
        QTest::newRow("F11 twice") << "" << false << "FF" << QList<int>{122, 122} << "10:00";
        QTest::newRow("S is the board's") << "" << false << "s" << none << "10:00 running";
        QTest::newRow("keys declined go on")
            << "" << false << "5E" << QList<int>{'5', 13} << "5:00";
        QTest::newRow("penalty entry first") << "" << true << "PH1F" << f11 << "10:00";
        QTest::newRow("F11 as start/stop")
            << "StartStop" << false << "Fff" << none << "10:00 running";
        QTest::newRow("F11 as reset") << "Reset" << false << "sF" << none << "10:00";
        QTest::newRow("F11 as clear key") << "Clear" << false << "F" << none << "10:00";
    }
    void keysGoToTheWindowsUnlessTheBoardHasThem() {
        QFETCH(QString, f11Is);
        QFETCH(bool, penalties);
        QFETCH(QString, keys);
        QFETCH(QList<int>, asked);
        QFETCH(QString, board);
        Settings settings;
        for (auto [name, key] : {std::pair{"StartStop", &settings.StartStopClockKey},
                                 {"Reset", &settings.ResetClockKey},
                                 {"Clear", &settings.ClearKey}})
            if (f11Is == QLatin1String(name))
                *key = 122;
        FakeTimeSource time;
        QStringList sounds;
        frmScoreBoard shown(settings, time,
                            std::make_unique<RecordingSoundPlayer>("buzzer", sounds),
                            std::make_unique<RecordingSoundPlayer>("horn", sounds));
        if (penalties)
            shown.setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        QList<int> heard;
        shown.setWindowKeys([&heard](int keyCode) {
            heard.append(keyCode);
            return keyCode == 122;
        });
        shown.show();
        QApplication::setActiveWindow(&shown);
        QVERIFY(QTest::qWaitForWindowActive(&shown, kPatienceMs));
        shown.entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY_WITH_TIMEOUT(shown.entryBox(EntryBox::TimeBack)->hasFocus(), kPatienceMs);

        for (QChar c : keys) {
            const bool f = c.toUpper() == QLatin1Char('F'), held = c == QLatin1Char('f');
            const int key = f                       ? int(Qt::Key_F11)
                            : c == QLatin1Char('E') ? int(Qt::Key_Return)
                                                    : c.toUpper().unicode();
            const auto mods = c == QLatin1Char('P') ? Qt::ControlModifier : Qt::NoModifier;
            const QString text = f || c == QLatin1Char('E') ? QString() : QString(c.toLower());
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, key, mods, text, held);
                QApplication::sendEvent(QApplication::focusWidget(), &event);
            }
        }
        QCOMPARE(heard, asked);
        const BoardState state = shown.logic().state();
        QCOMPARE(state.clock + (state.clockRunning ? " running" : ""), board);
    }
};

QTEST_MAIN(WindowKeysTest)
#include "WindowKeysTest.moc"
