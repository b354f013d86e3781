// The options' "Screens" tab: the screens it lists, what "&Ok" stores, and that the board
// follows at once.
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

#include <functional>

namespace {

using Edit = std::function<void(ScreensTab&)>;

const ScreenList kConnected{{"eDP-1", QRect(0, 0, 1920, 1080), true},
                            {"HDMI-1", QRect(1920, 0, 1280, 720), false}};

QStringList rows(ScreensTab& tab) {
    QStringList texts;
    auto* list = tab.findChild<QListWidget*>("lstScreens");
    for (int i = 0; i < list->count(); ++i)
        texts << (i == list->currentRow() ? "> " : "") + list->item(i)->text();
    return texts;
}

void choose(ScreensTab& tab, const QString& start) {
    auto* list = tab.findChild<QListWidget*>("lstScreens");
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(start))
            list->setCurrentRow(i);
}

// The screens' saves as "FullScreen=1 Screen=HDMI-1 Console=0".
QString screenSaves(const MemorySettingsStore& store) {
    return store.saves()
        .filter(QStringLiteral("/Screens/"))
        .replaceInStrings(QStringLiteral("PuckTally/Screens/"), QString())
        .join(QLatin1Char(' '));
}

} // namespace

class ScreensTabTest : public QObject {
    Q_OBJECT
  private slots:
    void listsTheScreens_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("listed");
        const QString byDefault = "Default: another screen than the main one, if there is one";
        QTest::newRow("default") << ""
                                 << QStringList{"> " + byDefault,
                                                "eDP-1 (1920 x 1080, main screen)",
                                                "HDMI-1 (1280 x 720)"};
        QTest::newRow("projector")
            << "HDMI-1"
            << QStringList{byDefault, "eDP-1 (1920 x 1080, main screen)", "> HDMI-1 (1280 x 720)"};
        QTest::newRow("not connected")
            << "DP-3"
            << QStringList{byDefault, "eDP-1 (1920 x 1080, main screen)", "HDMI-1 (1280 x 720)",
                           "> DP-3 (not connected)"};
    }
    void listsTheScreens() {
        QFETCH(QString, stored);
        QFETCH(QStringList, listed);
        ScreensTab tab({true, stored, false}, kConnected);
        QCOMPARE(rows(tab), listed);
        QCOMPARE(tab.screenSettings().screen, stored);
    }

    void storedOnOkWhenChanged_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("saves");
        const Edit none = [](ScreensTab&) {};
        const Edit full = [](ScreensTab& t) {
            t.findChild<QCheckBox*>("chkBoardFullScreen")->setChecked(true);
        };
        const Edit projector = [full](ScreensTab& t) {
            full(t);
            choose(t, "HDMI-1");
        };
        const Edit console = [](ScreensTab& t) {
            t.findChild<QCheckBox*>("chkConsole")->setChecked(true);
        };
        const Edit andBack = [](ScreensTab& t) {
            choose(t, "eDP-1");
            choose(t, "Default");
        };
        QTest::newRow("untouched") << none << true << "";
        QTest::newRow("full screen") << full << true << "FullScreen=1 Screen= Console=0";
        QTest::newRow("on the projector")
            << projector << true << "FullScreen=1 Screen=HDMI-1 Console=0";
        QTest::newRow("console") << console << true << "FullScreen=0 Screen= Console=1";
        QTest::newRow("changed and back") << andBack << true << "";
        QTest::newRow("cancelled") << projector << false << "";
    }
    void storedOnOkWhenChanged() {
        QFETCH(Edit, edit);
        QFETCH(bool, ok);
        QFETCH(QString, saves);
        Settings settings;
        MemorySettingsStore store;
        frmOptions dialog(settings, store, nullptr,
                          {{"Screens", [](SettingsStore& s) {
                                return new ScreensTab(loadScreenSettings(s), kConnected);
                            }}});
        auto* tab = dialog.findChild<ScreensTab*>();
        QVERIFY(tab);
        edit(*tab);
        dialog.findChild<QPushButton*>(ok ? "cmdOk" : "cmdCancel")->click();
        QCOMPARE(screenSaves(store), saves);
    }

    // "&Ok" with full screen ticked puts the board full screen at once; F11 then gives it
    // back its window where it was, and the store remembers.
    void theBoardFollowsAtOnce() {
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
        board.setGeometry(40, 60, 700, 500);
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), QRect(40, 60, 700, 500), kPatienceMs);

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QCheckBox*>("chkBoardFullScreen")->setChecked(true);
            dialog->findChild<QPushButton*>("cmdOk")->click();
        });
        board.showOptions();
        QTRY_VERIFY_WITH_TIMEOUT(board.isFullScreen(), kPatienceMs);
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screens.fullScreenOn(), screen->name());
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), screen->geometry(), kPatienceMs);

        board.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&board, kPatienceMs));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QTRY_VERIFY_WITH_TIMEOUT(!board.isFullScreen(), kPatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(board.geometry(), QRect(40, 60, 700, 500), kPatienceMs);
        QCOMPARE(store.value(kScreenSettingsSection, "FullScreen"), QStringLiteral("0"));
    }
};

QTEST_MAIN(ScreensTabTest)
#include "ScreensTabTest.moc"
