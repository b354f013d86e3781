#include "feed/LiveFeedTab.h"
#include "feed/FeedSettings.h"
#include "options/frmOptions.h"
#include "settings/Settings.h"
#include "support/MemorySettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <functional>

namespace {

using Edit = std::function<void(LiveFeedTab&)>;

QStringList feedSaves(const MemorySettingsStore& store) {
    return store.saves().filter(QStringLiteral("/LiveFeed/"));
}

} // namespace

// The options dialog's "Live feed" tab: after the four tabs of the board's own settings,
// stored in a section of its own and only when the user changed it.
class LiveFeedTabTest : public QObject {
    Q_OBJECT
  private slots:
    void comesAfterTheFourBoardTabs() {
        Settings settings;
        MemorySettingsStore store;
        frmOptions dialog(settings, store, nullptr, {liveFeedOptionsPage()});
        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 5);
        const QStringList designed{"Keyboard Controls", "Color Controls", "Text Controls",
                                   "Pictures"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(tabs->tabText(i), designed[i]);
        QCOMPARE(tabs->tabText(4), QStringLiteral("Live feed"));
    }

    void storedOnOkWhenChanged_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("saves");
        const Edit none = [](LiveFeedTab&) {};
        const Edit on = [](LiveFeedTab& t) {
            t.findChild<QCheckBox*>("chkFeedOn")->setChecked(true);
        };
        const Edit network = [](LiveFeedTab& t) {
            t.findChild<QCheckBox*>("chkFeedOn")->setChecked(true);
            t.findChild<QComboBox*>("cmbFeedAddress")->setCurrentText("0.0.0.0");
            t.findChild<QSpinBox*>("txtFeedPort")->setValue(9000);
        };
        const Edit badAddress = [](LiveFeedTab& t) {
            t.findChild<QComboBox*>("cmbFeedAddress")->setCurrentText("rink.local");
            t.findChild<QSpinBox*>("txtFeedPort")->setValue(8081);
        };
        QTest::newRow("untouched") << none << true << QStringList();
        QTest::newRow("switched on")
            << on << true
            << QStringList{"PuckTally/LiveFeed/Enabled=1", "PuckTally/LiveFeed/Address=127.0.0.1",
                           "PuckTally/LiveFeed/Port=8080"};
        QTest::newRow("local network")
            << network << true
            << QStringList{"PuckTally/LiveFeed/Enabled=1", "PuckTally/LiveFeed/Address=0.0.0.0",
                           "PuckTally/LiveFeed/Port=9000"};
        QTest::newRow("no address")
            << badAddress << true
            << QStringList{"PuckTally/LiveFeed/Enabled=0", "PuckTally/LiveFeed/Address=127.0.0.1",
                           "PuckTally/LiveFeed/Port=8081"};
        QTest::newRow("cancelled") << network << false << QStringList();
    }
    void storedOnOkWhenChanged() {
        QFETCH(Edit, edit);
        QFETCH(bool, ok);
        QFETCH(QStringList, saves);
        Settings settings;
        MemorySettingsStore store;
        frmOptions dialog(settings, store, nullptr, {liveFeedOptionsPage()});
        auto* tab = dialog.findChild<LiveFeedTab*>();
        QVERIFY(tab);
        edit(*tab);
        dialog.findChild<QPushButton*>(ok ? "cmdOk" : "cmdCancel")->click();
        QCOMPARE(feedSaves(store), saves);
        QCOMPARE(store.saves().size() > 0, ok); // the board's own settings as before
    }

    // The addresses, or while the running feed could not start, why: until the user changes
    // the endpoint, which "Ok" will try.
    void showsTheAddressesOrWhyTheFeedIsDown_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("shown");
        const QString taken =
            QStringLiteral("The bound address is already in use (127.0.0.1:8080)");
        QTest::newRow("serving") << QString() << 8080
                                 << "State for apps: http://127.0.0.1:8080/state.json";
        QTest::newRow("port taken") << taken << 8080 << "not running: " + taken;
        QTest::newRow("another port chosen") << taken << 8081 << "http://127.0.0.1:8081/overlay";
    }
    void showsTheAddressesOrWhyTheFeedIsDown() {
        QFETCH(QString, failure);
        QFETCH(int, port);
        QFETCH(QString, shown);
        Settings settings;
        MemorySettingsStore store;
        saveFeedSettings({true, QStringLiteral("127.0.0.1"), 8080}, store);
        frmOptions dialog(settings, store, nullptr,
                          {liveFeedOptionsPage([failure] { return failure; })});
        auto* tab = dialog.findChild<LiveFeedTab*>();
        QVERIFY(tab);
        tab->findChild<QSpinBox*>("txtFeedPort")->setValue(port);
        const QString text = tab->findChild<QLabel*>("lblFeedPages")->text();
        QVERIFY2(text.contains(shown), qPrintable(text));
        QCOMPARE(text.contains(QLatin1String("/overlay")), failure.isEmpty() || port != 8080);
    }
};

QTEST_MAIN(LiveFeedTabTest)
#include "LiveFeedTabTest.moc"
