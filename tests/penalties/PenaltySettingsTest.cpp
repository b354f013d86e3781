#include "penalties/PenaltySettings.h"
#include "feed/LiveFeedTab.h"
#include "options/frmOptions.h"
#include "penalties/PenaltiesTab.h"
#include "settings/Settings.h"
#include "support/MemorySettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using penalties::RuleBook;

namespace {

using Edit = std::function<void(PenaltiesTab&)>;
using Stored = std::optional<RuleBook>;

PenaltySettings settingsOf(Stored rules, int minorSeconds) {
    PenaltySettings settings;
    settings.rules = rules;
    settings.minorSeconds = minorSeconds;
    return settings;
}

// The assistant's saves as "Rules=IIHF MinorSeconds=120", in order.
QString penaltySaves(const MemorySettingsStore& store) {
    return store.saves()
        .filter(QStringLiteral("/Penalties/"))
        .replaceInStrings(QStringLiteral("PuckTally/Penalties/"), QString())
        .join(QLatin1Char(' '));
}

QComboBox* combo(PenaltiesTab& tab, const char* name) {
    return tab.findChild<QComboBox*>(name);
}

void choose(QComboBox* box, const QString& text) {
    QVERIFY(box->findText(text) >= 0);
    box->setCurrentIndex(box->findText(text));
}

} // namespace

Q_DECLARE_METATYPE(PenaltySettings)

// The penalty assistant's settings: stored in a section of their own, read back with a sound
// default for anything the "Penalties" tab does not offer, and written by the tab only when
// the user changed it.
class PenaltySettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void readFromTheStore_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("minor");
        QTest::addColumn<PenaltySettings>("expected");
        // nullptr: nothing stored under the key.
        const auto row = [](const char* name, const char* rules, const char* minor,
                            const PenaltySettings& expected) {
            QTest::newRow(name) << QString(rules) << QString(minor) << expected;
        };
        row("nothing stored", nullptr, nullptr, PenaltySettings{});
        row("off", "Off", "120", settingsOf(std::nullopt, 120));
        row("off keeps 1:30", "Off", "90", settingsOf(std::nullopt, 90));
        row("IIHF", "IIHF", "120", settingsOf(RuleBook::Iihf, 120));
        row("USA Hockey 1:30", "USAH", "90", settingsOf(RuleBook::UsaHockey, 90));
        row("Hockey Canada", "HC", "120", settingsOf(RuleBook::HockeyCanada, 120));
        row("NHL 1:30", "NHL", "90", settingsOf(RuleBook::Nhl, 90));
        row("spaces around", " NHL ", " 90 ", settingsOf(RuleBook::Nhl, 90));
        row("lower case book", "iihf", "120", settingsOf(std::nullopt, 120));
        row("unknown book", "KHL", "90", settingsOf(std::nullopt, 90));
        row("empty book", "", "120", settingsOf(std::nullopt, 120));
        row("minute minor", "HC", "60", settingsOf(RuleBook::HockeyCanada, 120));
        row("signed minor", "USAH", "+90", settingsOf(RuleBook::UsaHockey, 120));
        row("negative minor", "USAH", "-90", settingsOf(RuleBook::UsaHockey, 120));
        row("minor in tenths", "IIHF", "90.0", settingsOf(RuleBook::Iihf, 120));
        row("no number", "IIHF", "two", settingsOf(RuleBook::Iihf, 120));
    }
    void readFromTheStore() {
        QFETCH(QString, rules);
        QFETCH(QString, minor);
        QFETCH(PenaltySettings, expected);
        MemorySettingsStore store;
        if (!rules.isNull())
            store.put(kPenaltySettingsSection, "Rules", rules);
        if (!minor.isNull())
            store.put(kPenaltySettingsSection, "MinorSeconds", minor);
        const PenaltySettings loaded = loadPenaltySettings(store);
        QCOMPARE(loaded.rules, expected.rules);
        QCOMPARE(loaded.minorSeconds, expected.minorSeconds);
    }

    void everyChoiceRoundTrips() {
        std::vector<Stored> choices{std::nullopt};
        choices.insert(choices.end(), allRuleBooks().begin(), allRuleBooks().end());
        const QStringList texts{"Off", "IIHF", "USAH", "HC", "NHL"};
        for (std::size_t i = 0; i < choices.size(); ++i) {
            const std::vector<int> lengths =
                minorSecondsOffered(choices[i].value_or(RuleBook::Iihf));
            QCOMPARE(lengths, (std::vector<int>{120, 90}));
            for (int seconds : lengths) {
                MemorySettingsStore store;
                const PenaltySettings chosen = settingsOf(choices[i], seconds);
                savePenaltySettings(chosen, store);
                QCOMPARE(store.saves(), QStringList({"PuckTally/Penalties/Rules=" + texts[int(i)],
                                                     "PuckTally/Penalties/MinorSeconds=" +
                                                         QString::number(seconds),
                                                     "PuckTally/Penalties/OvertimeSkaters=5"}));
                QCOMPARE(store.writes(), 1);
                QVERIFY(loadPenaltySettings(store) == chosen);
            }
        }
    }

    void rulesForTheEngine_data() {
        QTest::addColumn<PenaltySettings>("settings");
        QTest::addColumn<int>("book");
        QTest::addColumn<int>("minorTenths");
        QTest::newRow("off") << PenaltySettings{} << int(RuleBook::Iihf) << 1200;
        QTest::newRow("NHL") << settingsOf(RuleBook::Nhl, 120) << int(RuleBook::Nhl) << 1200;
        QTest::newRow("USA Hockey youth")
            << settingsOf(RuleBook::UsaHockey, 90) << int(RuleBook::UsaHockey) << 900;
        QTest::newRow("Hockey Canada 1:30")
            << settingsOf(RuleBook::HockeyCanada, 90) << int(RuleBook::HockeyCanada) << 900;
        QTest::newRow("length not offered")
            << settingsOf(RuleBook::Iihf, 45) << int(RuleBook::Iihf) << 1200;
    }
    void rulesForTheEngine() {
        QFETCH(PenaltySettings, settings);
        QFETCH(int, book);
        QFETCH(int, minorTenths);
        const penalties::PenaltyRules rules = rulesFromSettings(settings);
        QCOMPARE(int(rules.book), book);
        QCOMPARE(rules.minorTenths, minorTenths);
        QCOMPARE(rules.majorTenths, 3000);
    }

    // Overtime skaters read back as the tab offers them (5, 4, 3); anything else is five.
    void overtimeSkatersReadBack() {
        for (const auto& [stored, skaters] : std::vector<std::pair<QString, int>>{
                 {{}, 5}, {"3", 3}, {" 4 ", 4}, {"2", 5}, {"6", 5}, {"three", 5}, {"+3", 5}}) {
            MemorySettingsStore store;
            if (!stored.isNull())
                store.put(kPenaltySettingsSection, "OvertimeSkaters", stored);
            QCOMPARE(rulesFromSettings(loadPenaltySettings(store)).overtimeSkaters, skaters);
        }
    }

    void comesAfterTheLiveFeedTab() {
        Settings settings;
        MemorySettingsStore store;
        frmOptions dialog(settings, store, nullptr,
                          {liveFeedOptionsPage(), penaltiesOptionsPage()});
        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 6);
        QCOMPARE(tabs->tabText(4), QStringLiteral("Live feed"));
        QCOMPARE(tabs->tabText(5), QStringLiteral("Penalties"));
    }

    void choicesFollowTheSwitch() {
        PenaltiesTab tab(settingsOf(std::nullopt, 90));
        auto* on = tab.findChild<QCheckBox*>("chkPenaltiesOn");
        QVERIFY(!on->isChecked());
        QVERIFY(!combo(tab, "cmbPenaltyRules")->isEnabled());
        QVERIFY(!combo(tab, "cmbMinorLength")->isEnabled());
        QCOMPARE(combo(tab, "cmbMinorLength")->currentText(), QStringLiteral("1:30"));
        // The note says what the chosen book does, or that the clocks are left alone.
        auto* note = tab.findChild<QLabel*>("lblPenaltyNote");
        const auto says = [note](const char* start, const char* pair) {
            return note->text().startsWith(QLatin1String(start)) &&
                   note->text().contains(QLatin1String(pair));
        };
        QVERIFY2(says("Off, the board's penalty clocks work as they always do.", "1:30"),
                 qPrintable(note->text()));
        on->setChecked(true);
        QVERIFY(combo(tab, "cmbPenaltyRules")->isEnabled());
        QVERIFY(combo(tab, "cmbMinorLength")->isEnabled());
        QVERIFY(tab.penaltySettings() == settingsOf(RuleBook::Iihf, 90));
        QVERIFY2(says("IIHF: a team's third penalty waits", "five on five"),
                 qPrintable(note->text()));
        // Another book keeps the length the user chose.
        choose(combo(tab, "cmbPenaltyRules"), "NHL");
        QVERIFY(tab.penaltySettings() == settingsOf(RuleBook::Nhl, 90));
        QVERIFY2(says("NHL: ", "four on four"), qPrintable(note->text()));
        on->setChecked(false);
        QVERIFY2(says("Off, ", "as they always do"), qPrintable(note->text()));
    }

    void storedOnOkWhenChanged_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("saves");
        const Edit none = [](PenaltiesTab&) {};
        const Edit on = [](PenaltiesTab& t) {
            t.findChild<QCheckBox*>("chkPenaltiesOn")->setChecked(true);
        };
        const Edit youth = [](PenaltiesTab& t) {
            t.findChild<QCheckBox*>("chkPenaltiesOn")->setChecked(true);
            choose(combo(t, "cmbPenaltyRules"), "USA Hockey");
            choose(combo(t, "cmbMinorLength"), "1:30");
        };
        const Edit off = [](PenaltiesTab& t) {
            t.findChild<QCheckBox*>("chkPenaltiesOn")->setChecked(false);
        };
        const Edit andBack = [](PenaltiesTab& t) {
            choose(combo(t, "cmbPenaltyRules"), "Hockey Canada");
            choose(combo(t, "cmbPenaltyRules"), "NHL");
        };
        QTest::newRow("untouched") << QString() << none << true << "";
        QTest::newRow("untouched on damaged entries") << "Bad" << none << true << "";
        const Edit overtime = [](PenaltiesTab& t) {
            t.findChild<QCheckBox*>("chkPenaltiesOn")->setChecked(true);
            choose(combo(t, "cmbOvertime"), "3 on 3");
        };
        const QString five = QStringLiteral(" OvertimeSkaters=5");
        QTest::newRow("switched on")
            << QString() << on << true << "Rules=IIHF MinorSeconds=120" + five;
        QTest::newRow("youth minors")
            << QString() << youth << true << "Rules=USAH MinorSeconds=90" + five;
        QTest::newRow("overtime three a side")
            << QString() << overtime << true << "Rules=IIHF MinorSeconds=120 OvertimeSkaters=3";
        QTest::newRow("switched off")
            << "NHL" << off << true << "Rules=Off MinorSeconds=120" + five;
        QTest::newRow("changed and back") << "NHL" << andBack << true << "";
        QTest::newRow("cancelled") << QString() << youth << false << "";
    }
    void storedOnOkWhenChanged() {
        QFETCH(QString, stored);
        QFETCH(Edit, edit);
        QFETCH(bool, ok);
        QFETCH(QString, saves);
        Settings settings;
        MemorySettingsStore store;
        if (!stored.isNull())
            store.put(kPenaltySettingsSection, "Rules", stored);
        frmOptions dialog(settings, store, nullptr,
                          {liveFeedOptionsPage(), penaltiesOptionsPage()});
        auto* tab = dialog.findChild<PenaltiesTab*>();
        QVERIFY(tab);
        edit(*tab);
        dialog.findChild<QPushButton*>(ok ? "cmdOk" : "cmdCancel")->click();
        QCOMPARE(penaltySaves(store), saves);
        QCOMPARE(store.saves().filter("/LiveFeed/"), QStringList());
        QCOMPARE(store.saves().size() > 0, ok); // the board's own settings as before
    }
};

QTEST_MAIN(PenaltySettingsTest)
#include "PenaltySettingsTest.moc"
