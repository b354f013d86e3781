// The options' "Screens" tab: the screens it lists, and "&Ok" that stores what changed and puts
// the board full screen at once.
#include "screens/ScreensTab.h"
#include "board/frmScoreBoard.h"
#include "options/frmOptions.h"
#include "screens/BoardScreens.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"
#include "support/Patience.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class ScreensTabTest : public QObject {
    Q_OBJECT
  private slots:
    void listsConnectedScreensAndTheStoredOne() {
        ScreensTab tab({true, "DP-3", false}, {{"eDP-1", QRect(0, 0, 1920, 1080), true},
                                               {"HDMI-1", QRect(1920, 0, 1280, 720), false}});
        auto* list = tab.findChild<QListWidget*>("lstScreens");
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            rows << (i == list->currentRow() ? "> " : "") + list->item(i)->text();
        QCOMPARE(rows, QStringList({"Default: another screen than the main one, if there is one",
                                    "eDP-1 (1920 x 1080, main screen)", "HDMI-1 (1280 x 720)",
                                    "> DP-3 (not connected)"}));
        list->setCurrentRow(2);
        QVERIFY(tab.screenSettings() == (ScreenSettings{true, "HDMI-1", false}));
    }

    // Untouched, the tab stores nothing; ticked, the board fills its screen when the dialog
    // closes, and F11 gives it back its window where it was.
    void okStoresAndTheBoardFollowsAtOnce() {
        Settings settings;
        MemorySettingsStore store;
        FakeTimeSource time;
        frmScoreBoard board(settings, store, time);
        board.setOptionsPages({screensOptionsPage()});
        BoardScreens screens(board, store);
        board.setWindowKeys([&screens](int key) { return screens.takeKey(key); });
        screens.start();
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board, kPatienceMs));
        const QRect windowed(40, 60, 700, 500);
        board.setGeometry(windowed);
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), windowed, kPatienceMs);

        for (bool tick : {false, true}) {
            QTimer::singleShot(0, [tick] {
                auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->findChild<QCheckBox*>("chkBoardFullScreen")->setChecked(tick);
                dialog->findChild<QPushButton*>("cmdOk")->click();
            });
            board.showOptions();
            QCOMPARE(store.saves().filter("/Screens/").size(), tick ? 3 : 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(board.isFullScreen(), kPatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), QGuiApplication::primaryScreen()->geometry(),
                                  kPatienceMs);

        board.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&board, kPatienceMs));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), windowed, kPatienceMs);
        QVERIFY(!board.isFullScreen());
        QCOMPARE(store.value(kScreenSettingsSection, "FullScreen"), QStringLiteral("0"));
    }
};

QTEST_MAIN(ScreensTabTest)
#include "ScreensTabTest.moc"
