// The board's keys for the program's other windows (full screen, console): which keys the
// board hands on, which it keeps for its own functions, and that a held key is handed on once.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "penalties/PenaltyRules.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"
#include "support/RecordingSoundPlayer.h"

#include <QTest>
#include <memory>

namespace {

constexpr int kF11 = 122; // the key code F11 has in the settings and the window keys

// One key as the keyboard sends it; `repeat` for the keyboard's repeat of a held key.
struct Stroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    bool repeat = false;
};
using Strokes = QList<Stroke>;

const Stroke f11{Qt::Key_F11};
const Stroke f11Held{Qt::Key_F11, Qt::NoModifier, true};

} // namespace

Q_DECLARE_METATYPE(Strokes)

class WindowKeysTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    QStringList sounds;
    std::unique_ptr<frmScoreBoard> board;

  private slots:
    void init() {
        settings = Settings();
        // Any file that is there: the recording players only write down what they are told.
        settings.BuzzerFile = settings.HornFile = QCoreApplication::applicationFilePath();
        sounds.clear();
    }
    void cleanup() { board.reset(); }

    void keysGoToTheWindowsUnlessTheBoardHasThem_data() {
        QTest::addColumn<QString>("f11Is"); // the board function the options gave F11, if any
        QTest::addColumn<bool>("penalties");
        QTest::addColumn<Strokes>("strokes");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<bool>("clockRuns");
        QTest::addColumn<QString>("sounded");
        const QList<int> none;
        QTest::newRow("F11 free") << "" << false << Strokes{f11} << QList<int>{kF11} << false << "";
        QTest::newRow("F11 held: asked once")
            << "" << false << Strokes{f11, f11Held, f11Held} << QList<int>{kF11} << false << "";
        QTest::newRow("F11 twice")
            << "" << false << Strokes{f11, f11} << QList<int>{kF11, kF11} << false << "";
        QTest::newRow("start/stop key S stays the board's")
            << "" << false << Strokes{{Qt::Key_S}} << none << true << "";
        QTest::newRow("a digit declined goes on to the board")
            << "" << false << Strokes{{Qt::Key_5}, {Qt::Key_Return}, {Qt::Key_S}}
            << QList<int>{'5', 13} << true << "";
        QTest::newRow("F11 as start/stop")
            << "StartStopClockKey" << false << Strokes{f11} << none << true << "";
        QTest::newRow("F11 as start/stop, held")
            << "StartStopClockKey" << false << Strokes{f11, f11Held, f11Held} << none << true << "";
        QTest::newRow("F11 as reset")
            << "ResetClockKey" << false << Strokes{{Qt::Key_S}, f11} << none << false << "";
        QTest::newRow("F11 as clear key")
            << "ClearKey" << false << Strokes{f11} << none << false << "";
        QTest::newRow("F11 as buzzer")
            << "BuzzerKey" << false << Strokes{f11} << none << false << "buzzer Play";
        QTest::newRow("F11 as horn")
            << "HornKey" << false << Strokes{f11} << none << false << "horn Play";
        QTest::newRow("penalty entry first")
            << "" << true
            << Strokes{{Qt::Key_P, Qt::ControlModifier}, {Qt::Key_H}, {Qt::Key_1}, f11}
            << QList<int>{kF11} << false << "";
    }
    void keysGoToTheWindowsUnlessTheBoardHasThem() {
        QFETCH(QString, f11Is);
        QFETCH(bool, penalties);
        QFETCH(Strokes, strokes);
        QFETCH(QList<int>, asked);
        QFETCH(bool, clockRuns);
        QFETCH(QString, sounded);
        std::int16_t* keyOf[] = {&settings.StartStopClockKey, &settings.ResetClockKey,
                                 &settings.ClearKey, &settings.BuzzerKey, &settings.HornKey};
        const char* names[] = {"StartStopClockKey", "ResetClockKey", "ClearKey", "BuzzerKey",
                               "HornKey"};
        for (size_t i = 0; i < std::size(names); ++i)
            if (f11Is == QLatin1String(names[i]))
                *keyOf[i] = kF11;
        board = std::make_unique<frmScoreBoard>(
            settings, time, std::make_unique<RecordingSoundPlayer>("buzzer", sounds),
            std::make_unique<RecordingSoundPlayer>("horn", sounds));
        if (penalties)
            board->setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        QList<int> heard;
        board->setWindowKeys([&heard](int keyCode) {
            heard.append(keyCode);
            return keyCode == kF11;
        });
        board->show();
        QApplication::setActiveWindow(board.get());
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
        PictureBox* clockBox = board->entryBox(EntryBox::TimeBack);
        clockBox->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), static_cast<QWidget*>(clockBox),
                                  kPatienceMs);
        sounds.clear();

        for (const Stroke& s : strokes) {
            const QString text = s.key < 0x80 ? QString(QChar(s.key)).toLower() : QString();
            QKeyEvent press(QEvent::KeyPress, s.key, s.modifiers, text, s.repeat);
            QApplication::sendEvent(QApplication::focusWidget(), &press);
            QKeyEvent release(QEvent::KeyRelease, s.key, s.modifiers, text, s.repeat);
            QApplication::sendEvent(QApplication::focusWidget(), &release);
        }
        QCOMPARE(heard, asked);
        QCOMPARE(board->logic().state().clockRunning, clockRuns);
        QCOMPARE(sounds.filter(QStringLiteral("Play")).join(QLatin1Char(' ')), sounded);
    }

    // What the board is asked to tell the timekeeper goes out as it was said.
    void tellingTheOperatorIsAnnounced() {
        board = std::make_unique<frmScoreBoard>(settings, time);
        QList<QPair<QString, int>> told;
        connect(board.get(), &frmScoreBoard::operatorNotice, this,
                [&told](const QString& text, int ms) {
                    told.append({text, ms});
                });
        board->tellOperator(QStringLiteral("screen HDMI-2 not connected"));
        board->tellOperator(QStringLiteral("for a moment"), 1500);
        QCOMPARE(told, (QList<QPair<QString, int>>{{"screen HDMI-2 not connected", 0},
                                                   {"for a moment", 1500}}));
    }
};

QTEST_MAIN(WindowKeysTest)
#include "WindowKeysTest.moc"
