#include "feed/LiveFeedTab.h"
#include "feed/FeedSettings.h"
#include "options/frmOptions.h"
#include "settings/Settings.h"
#include "support/MemorySettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
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
};

QTEST_MAIN(LiveFeedTabTest)
#include "LiveFeedTabTest.moc"
