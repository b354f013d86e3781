// The board on a real X server, typed at through the X input system as a keyboard would:
// the keys arrive as the windowing system delivers them, keypad and NumLock included.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "game/ClockFace.h"
#include "penalties/PenaltyRules.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <QTest>
#include <QWindow>
#include <memory>
#include <vector>

// After Qt: Xlib defines macros that Qt's headers use as names.
#include "support/Patience.h"
#include "support/XKeyboard.h"

class RealKeysTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    XKeyboard keyboard;

    PictureBox* box(EntryBox id) { return board->entryBox(id); }
    std::vector<int> digits(FieldId id) {
        std::vector<int> out;
        for (PolyLED* cell : board->ledField(id).cells())
            out.push_back(cell->Caption());
        return out;
    }
    void strokes(std::initializer_list<KeySym> syms) {
        for (KeySym sym : syms)
            keyboard.stroke(sym);
        // Let the server deliver every stroke.
        QTest::qWait(100);
    }

  private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !keyboard.ok())
            QSKIP("needs an X server");
    }
    void init() {
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
        board->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(),
                                  static_cast<QWidget*>(box(EntryBox::TimeBack)), kPatienceMs);
    }
    void cleanup() {
        keyboard.setNumLock(false);
        board.reset();
    }

    void theStartStopKeyRunsTheClock() {
        strokes({XK_s});
        QTRY_VERIFY_WITH_TIMEOUT(board->clockTimer().isEnabled(), kPatienceMs);
        strokes({XK_s});
        QTRY_VERIFY_WITH_TIMEOUT(!board->clockTimer().isEnabled(), kPatienceMs);
    }

    void tabMovesAndTypedScoresLand() {
        strokes({XK_Tab});
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(),
                                  static_cast<QWidget*>(box(EntryBox::HomeBack)), kPatienceMs);
        strokes({XK_1, XK_2, XK_Return});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::Home), (std::vector<int>{2, 1, -1}), kPatienceMs);
        strokes({XK_plus, XK_3});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::Home), (std::vector<int>{5, 1, -1}), kPatienceMs);
    }

    // With the penalty assistant on, a penalty typed in keys lands on the team's first clock;
    // a third one waits while the keys of the board (here the clock's) go on working.
    void penaltiesTypedForTheAssistantLandOnTheClocks() {
        board->setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        keyboard.chord(XK_Control_L, XK_p);
        strokes({XK_h, XK_7, XK_m, XK_Return});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::PenaltyPH1), (std::vector<int>{7, -1}),
                                  kPatienceMs);
        const std::array<int, 3> twoMinutes = penaltyFace(GameTime::seconds(120));
        QCOMPARE(digits(FieldId::PenaltyTH1),
                 std::vector<int>(twoMinutes.begin(), twoMinutes.end()));
        for (KeySym player : {XK_8, XK_9}) {
            keyboard.chord(XK_Control_L, XK_p);
            strokes({XK_h, player, XK_j, XK_Return});
        }
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::PenaltyPH2), (std::vector<int>{8, -1}),
                                  kPatienceMs);
        QTRY_VERIFY_WITH_TIMEOUT(board->windowTitle().contains(QStringLiteral("H waits 9")),
                                 kPatienceMs);
        strokes({XK_s});
        QTRY_VERIFY_WITH_TIMEOUT(board->clockTimer().isEnabled(), kPatienceMs);
    }

    void keypadDigitsCountOnlyWithNumLockOn() {
        strokes({XK_Tab});
        keyboard.setNumLock(true);
        QTRY_VERIFY_WITH_TIMEOUT(keyboard.numLockOn(), kPatienceMs);
        strokes({XK_KP_1, XK_KP_4, XK_KP_Enter});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::Home), (std::vector<int>{4, 1, -1}), kPatienceMs);
        keyboard.setNumLock(false);
        QTRY_VERIFY_WITH_TIMEOUT(!keyboard.numLockOn(), kPatienceMs);
        // With NumLock off the same keys are End, Left and so on: no digits.
        strokes({XK_KP_1, XK_KP_7, XK_KP_Enter});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::Home), (std::vector<int>{4, 1, -1}), kPatienceMs);
    }
};

QTEST_MAIN(RealKeysTest)
#include "RealKeysTest.moc"
