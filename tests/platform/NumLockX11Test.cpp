// The NumLock modes on a real X server: the board holds the keyboard's NumLock through XKB,
// and the test watches the server's NumLock light and types through the X input system.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <QTest>
#include <memory>
#include <vector>

// After Qt: Xlib defines macros that Qt's headers use as names.
#include "support/Patience.h"
#include "support/XKeyboard.h"

class NumLockX11Test : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    XKeyboard keyboard;

    void openBoard(int force, bool numLockBefore) {
        keyboard.setNumLock(numLockBefore);
        QVERIFY(keyboard.numLockOn() == numLockBefore);
        settings.NumLockForce = force;
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
        board->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
    }
    void typeInto(EntryBox id, std::initializer_list<KeySym> syms) {
        board->entryBox(id)->setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(),
                                  static_cast<QWidget*>(board->entryBox(id)), kPatienceMs);
        for (KeySym sym : syms)
            keyboard.stroke(sym);
        QTest::qWait(100);
    }
    std::vector<int> digits(FieldId id) {
        std::vector<int> out;
        for (PolyLED* cell : board->ledField(id).cells())
            out.push_back(cell->Caption());
        return out;
    }
    // Long enough for the board to have acted on anything it was going to act on, on an idle
    // machine; where the board has to act, the tests wait for that first.
    static void settle() { QTest::qWait(200); }

  private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !keyboard.ok())
            QSKIP("needs an X server");
    }
    void cleanup() {
        board.reset();
        keyboard.setNumLock(false);
    }

    void loadAppliesTheMode_data() {
        QTest::addColumn<int>("force");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("after");
        QTest::newRow("keep on turns it on") << 1 << false << true;
        QTest::newRow("keep on finds it on") << 1 << true << true;
        QTest::newRow("keep off turns it off") << 2 << true << false;
        QTest::newRow("normal leaves it on") << 0 << true << true;
        QTest::newRow("normal leaves it off") << 0 << false << false;
        QTest::newRow("unknown mode leaves it on") << 9 << true << true;
    }
    void loadAppliesTheMode() {
        QFETCH(int, force);
        QFETCH(bool, before);
        QFETCH(bool, after);
        openBoard(force, before);
        QTRY_COMPARE_WITH_TIMEOUT(keyboard.numLockOn(), after, kPatienceMs);
        settle();
        QCOMPARE(keyboard.numLockOn(), after); // and it stays so
    }

    void aNumLockPressIsUndone_data() {
        QTest::addColumn<int>("force");
        QTest::addColumn<bool>("after");
        QTest::newRow("keep on") << 1 << true;
        QTest::newRow("keep off") << 2 << false;
        QTest::newRow("normal toggles") << 0 << true;
    }
    void aNumLockPressIsUndone() {
        QFETCH(int, force);
        QFETCH(bool, after);
        openBoard(force, false);
        const bool atLoad = force == 1; // only "keep on" turns the light on at load
        QTRY_COMPARE_WITH_TIMEOUT(keyboard.numLockOn(), atLoad, kPatienceMs);
        settle();
        // The stroke has turned the light when it returns; only the board can turn it back.
        typeInto(EntryBox::TimeBack, {XK_Num_Lock});
        QTRY_COMPARE_WITH_TIMEOUT(keyboard.numLockOn(), after, kPatienceMs);
        settle();
        QCOMPARE(keyboard.numLockOn(), after);
        // A second press comes back the same way.
        typeInto(EntryBox::HomeBack, {XK_Num_Lock});
        QTRY_COMPARE_WITH_TIMEOUT(keyboard.numLockOn(), force == 0 ? atLoad : after, kPatienceMs);
    }

    void keepOffMakesKeypadDigitsTypeNothing() {
        openBoard(2, true);
        QTRY_VERIFY_WITH_TIMEOUT(!keyboard.numLockOn(), kPatienceMs);
        typeInto(EntryBox::HomeBack, {XK_KP_1, XK_KP_4, XK_KP_Enter});
        QCOMPARE(digits(FieldId::Home), (std::vector<int>{0, -1, -1}));
        // The main keyboard's digits still type.
        typeInto(EntryBox::HomeBack, {XK_4, XK_Return});
        QTRY_COMPARE_WITH_TIMEOUT(digits(FieldId::Home), (std::vector<int>{4, -1, -1}),
                                  kPatienceMs);
    }
};

QTEST_MAIN(NumLockX11Test)
#include "NumLockX11Test.moc"
