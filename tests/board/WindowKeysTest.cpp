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

namespace {

// Keys: F F11, f F11 held (the keyboard's repeat), E Enter, P Ctrl+P (with penalty rules).
const struct {
    const char* name;
    std::int16_t Settings::*f11Is; // the board's function the options gave F11, if any
    const char *keys, *outcome;    // outcome: the keys handed on | the clock, and if it runs
} kRows[] = {
    {"F11 held, pressed again", nullptr, "FffF", "122 122 | 10:00"},
    {"S is the board's", nullptr, "s", " | 10:00 running"},
    {"keys declined go on", nullptr, "5E", "53 13 | 5:00"},
    {"penalty entry first", nullptr, "PH1F", "122 | 10:00"},
    {"F11 as start/stop, held", &Settings::StartStopClockKey, "Fff", " | 10:00 running"},
    {"F11 as reset", &Settings::ResetClockKey, "sF", " | 10:00"},
    {"F11 as clear key", &Settings::ClearKey, "F", " | 10:00"},
};

} // namespace

class WindowKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void keysGoToTheWindowsUnlessTheBoardHasThem_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRows)); ++i)
            QTest::newRow(kRows[i].name) << i;
    }
    void keysGoToTheWindowsUnlessTheBoardHasThem() {
        QFETCH(int, row);
        const QString keys = QString::fromLatin1(kRows[row].keys);
        Settings settings;
        if (kRows[row].f11Is)
            settings.*kRows[row].f11Is = 122;
        FakeTimeSource time;
        QStringList sounds;
        frmScoreBoard shown(settings, time,
                            std::make_unique<RecordingSoundPlayer>("buzzer", sounds),
                            std::make_unique<RecordingSoundPlayer>("horn", sounds));
        if (keys.contains(QLatin1Char('P')))
            shown.setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        QStringList heard;
        shown.setWindowKeys([&heard](int keyCode) {
            heard << QString::number(keyCode);
            return keyCode == 122;
        });
        shown.show();
        QApplication::setActiveWindow(&shown);
        QVERIFY(QTest::qWaitForWindowActive(&shown, kPatienceMs));
        shown.entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY_WITH_TIMEOUT(shown.entryBox(EntryBox::TimeBack)->hasFocus(), kPatienceMs);

        for (QChar c : keys) {
            const bool f = c.toUpper() == QLatin1Char('F'), enter = c == QLatin1Char('E');
            const int key = f       ? int(Qt::Key_F11)
                            : enter ? int(Qt::Key_Return)
                                    : c.toUpper().unicode();
            const auto mods = c == QLatin1Char('P') ? Qt::ControlModifier : Qt::NoModifier;
            for (bool press : {true, false})
                QTest::simulateEvent(QApplication::focusWidget(), press, key, mods,
                                     f || enter ? QString() : QString(c.toLower()),
                                     c == QLatin1Char('f'));
        }
        const BoardState state = shown.logic().state();
        QCOMPARE(heard.join(' ') + " | " + state.clock + (state.clockRunning ? " running" : ""),
                 QString::fromLatin1(kRows[row].outcome));
    }
};

QTEST_MAIN(WindowKeysTest)
#include "WindowKeysTest.moc"
