// The options and key-capture dialogs driven as a user drives them, against an in-memory
// store; modal windows are answered by steps queued before they open.
#include "board/frmScoreBoard.h"
#include "display/BoardLabel.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "display/Twips.h"
#include "feed/LiveFeedTab.h"
#include "options/ChooseKey.h"
#include "options/FileNameDisplay.h"
#include "options/frmChooseKey.h"
#include "options/frmOptions.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"
#include "support/Patience.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

namespace {

// Runs `step` once on the first window that `wanted` picks as the modal window on top; a
// window that is still open after the test's patience has run out is closed so that a
// failing test ends.
void whenModalWindow(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> step) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, wanted, step, waited] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && wanted(w)) {
            timer->stop();
            timer->deleteLater();
            step(w);
        } else if (waited->hasExpired(kPatienceMs)) {
            timer->stop();
            timer->deleteLater();
            if (w)
                w->close();
        }
    });
    timer->start(10);
}

// The same for the first window of type W.
template <class W> void whenModal(std::function<void(W*)> step) {
    whenModalWindow([](QWidget* w) { return qobject_cast<W*>(w) != nullptr; },
                    [step](QWidget* w) { step(qobject_cast<W*>(w)); });
}

// Every button of the options dialog, the tab it is on, and the window it opens; "" for the
// picture's Clear buttons, which open none.
struct ButtonCase {
    const char* name;
    int tab;
    const char* opens;
};
const ButtonCase kButtons[] = {
    {"cmdStartStopClock", 0, "frmChooseKey"},
    {"cmdResetClock", 0, "frmChooseKey"},
    {"cmdClearKey", 0, "frmChooseKey"},
    {"cmdBuzzer", 0, "frmChooseKey"},
    {"cmdHorn", 0, "frmChooseKey"},
    {"cmdResetKeys", 0, "QMessageBox"},
    {"cmdBuzzerSound", 0, "QFileDialog"},
    {"cmdHornSound", 0, "QFileDialog"},
    {"cmdTimeC", 1, "QColorDialog"},
    {"cmdLEDB", 1, "QColorDialog"},
    {"cmdLedSelected", 1, "QColorDialog"},
    {"cmdScoreC", 1, "QColorDialog"},
    {"cmdPeriodC", 1, "QColorDialog"},
    {"cmdBackC", 1, "QColorDialog"},
    {"cmdBorderC", 1, "QColorDialog"},
    {"cmdHomeC", 1, "QColorDialog"},
    {"cmdVisitorC", 1, "QColorDialog"},
    {"cmdResetColors", 1, "QMessageBox"},
    {"cmdChangeHomePic", 3, "QFileDialog"},
    {"cmdClearHomePic", 3, ""},
    {"cmdChangeVisitorPic", 3, "QFileDialog"},
    {"cmdClearVisitorPic", 3, ""},
    {"cmdChangeBoardPic", 3, "QFileDialog"},
    {"cmdClearBoardPic", 3, ""},
    {"cmdOk", 0, ""},
    {"cmdCancel", 0, ""},
};

// Colour and file pickers that answer as the test says and remember what they were asked.
struct FakePickers final : OptionsPickers {
    std::optional<std::int32_t> color;
    QString file;
    QList<std::int32_t> offered;
    QStringList filters;
    std::optional<std::int32_t> pickColor(QWidget*, std::int32_t current, const QString&) override {
        offered.append(current);
        return color;
    }
    QString pickFile(QWidget*, const QString& filter, const QString&) override {
        filters.append(filter);
        return file;
    }
};

// What SaveSettings writes for a record: compares whole records.
QStringList saved(const Settings& s) {
    MemorySettingsStore store;
    SaveSettings(s, store);
    return store.saves();
}

QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = QDir::toNativeSeparators(dir.filePath(name));
    image.save(path, "BMP");
    return path;
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Settings settings;
    MemorySettingsStore store;
    FakePickers pickers;
    std::unique_ptr<frmOptions> dialog;

    template <class W> W* find(const char* name) {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString text(const char* label) { return find<QLabel>(label)->text(); }
    std::int32_t color(const char* preview) { return find<PictureBox>(preview)->BackColor(); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    void open() {
        dialog = std::make_unique<frmOptions>(settings, store, nullptr,
                                              OptionsPageMakers{liveFeedOptionsPage()});
        dialog->setPickers(pickers);
        dialog->show();
    }
    // Activates the dialog on tab `tab` and presses Tab from "&Ok" until `target` has the focus.
    bool tabTo(int tab, QWidget* target) {
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowActive(dialog.get(), kPatienceMs) ||
            !QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, kPatienceMs))
            return false;
        find<QTabWidget>("SSTab1")->setCurrentIndex(tab);
        for (int i = 0; i < 80 && QApplication::focusWidget() != target; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    }
    // Presses the key buttton `button`, then `key` in the capture window (0: closes it).
    void chooseKey(const char* button, Qt::Key key) {
        whenModal<frmChooseKey>([key](frmChooseKey* w) {
            if (key)
                QTest::keyClick(w, key);
            else
                w->close();
        });
        click(button);
    }

  private slots:
    void init() {
        settings = Settings();
        settings.TimeColor = 0x112233;
        settings.LEDSelected = 0x00FFFF;
        settings.LEDSelectedWidth = 3;
        settings.StartStopClockKey = 65;
        settings.BuzzerKey = 66;
        settings.NumLockForce = 2;
        settings.BuzzerFile = writePicture(dir, QStringLiteral("buzzer.wav"), QSize(1, 1));
        settings.HornFile = QStringLiteral("/nowhere/horn.wav");
        settings.HomeText = QStringLiteral("Otters");
        settings.TeamSize = 30 * 10000;
        settings.HomePic = writePicture(dir, QStringLiteral("home.bmp"), QSize(40, 20));
        settings.BoardPic = QStringLiteral("/nowhere/board.jpg");
        settings.LEDType = 1;
        store = MemorySettingsStore();
        pickers = FakePickers();
        open();
    }
    void cleanup() { dialog.reset(); }

    void loadShowsTheRecord() {
        QCOMPARE(find<QTabWidget>("SSTab1")->currentIndex(), 0);
        QCOMPARE(color("picTimeC"), 0x112233);
        QCOMPARE(text("lblLEDSelectedWidthValue"), QStringLiteral("3"));
        QCOMPARE(text("lblStartStopClock"), QStringLiteral("A"));
        QVERIFY(find<QRadioButton>("optKeepOff")->isChecked());
        QCOMPARE(text("lblHFile"), QStringLiteral("/nowhere/horn.wav"));
        QCOMPARE(find<BoardLabel>("lblHomePreview")->text(), QStringLiteral("Otters"));
        QCOMPARE(find<PolyLED>("pledPreview")->LedType(), 1);
        QVERIFY(!find<ImageBox>("imgHomePicPreview")->image().isNull());
        QVERIFY(find<ImageBox>("imgBoardPicPreview")->image().isNull()); // file has gone
    }

    // Activation puts the focus on Ok; from there Tab reaches every control of the tab shown, and
    // each says what it is.
    void keyboardReachesEveryControl_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 4; ++tab)
            QTest::newRow(QByteArray::number(tab).constData()) << tab;
    }
    void keyboardReachesEveryControl() {
        QFETCH(int, tab);
        QApplication::setActiveWindow(dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(dialog.get(), kPatienceMs));
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), find<QPushButton>("cmdOk"),
                                  kPatienceMs);
        find<QTabWidget>("SSTab1")->setCurrentIndex(tab);
        QSet<QWidget*> reached;
        for (int i = 0; i < 60 && !reached.contains(QApplication::focusWidget()); ++i) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList names;
        const QWidget* page = find<QTabWidget>("SSTab1")->currentWidget();
        for (QWidget* w : page->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w) || qobject_cast<QScrollBar*>(w);
            if (!control || !w->isVisible())
                continue;
            // Tab enters the option group at one option; the arrows move within it.
            const bool inGroup =
                qobject_cast<QRadioButton*>(w) && reached.contains(find<QRadioButton>("optNormal"));
            QVERIFY2(reached.contains(w) || inGroup, qPrintable(w->objectName()));
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.append(name);
        }
        QVERIFY(reached.contains(find<QPushButton>("cmdCancel")));
    }

    void okWithoutChangesWritesEveryEntry() {
        const QStringList expected = saved(settings);
        click("cmdOk");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(store.saves(), expected);
        QCOMPARE(store.saves().size(), 25);
        QCOMPARE(saved(settings), expected);
    }

    void closingAfterChangingEverything_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("stored");
        QTest::newRow("ok") << "ok" << true;
        QTest::newRow("cancel") << "cancel" << false;
        QTest::newRow("close") << "close" << false;
        QTest::newRow("escape") << "escape" << false;
        QTest::newRow("alt+o") << "alt+o" << true;
        QTest::newRow("alt+c") << "alt+c" << false;
    }
    void closingAfterChangingEverything() {
        QFETCH(QString, how);
        QFETCH(bool, stored);
        const Settings before = settings;
        pickers.color = 0x0000FF;
        for (const char* b : {"cmdTimeC", "cmdLEDB", "cmdLedSelected", "cmdScoreC", "cmdPeriodC",
                              "cmdBackC", "cmdBorderC", "cmdHomeC", "cmdVisitorC"})
            click(b);
        find<QScrollBar>("scrLEDSelectedWidth")->setValue(5);
        chooseKey("cmdStartStopClock", Qt::Key_Q);
        chooseKey("cmdHorn", Qt::Key_F5);
        find<QRadioButton>("optKeepOn")->setChecked(true);
        pickers.file = writePicture(dir, QStringLiteral("horn2.wav"), QSize(1, 1));
        click("cmdHornSound");
        find<QLineEdit>("txtHomeText")->setText(QStringLiteral("Wolves"));
        pickers.file = writePicture(dir, QStringLiteral("visitor.bmp"), QSize(10, 30));
        click("cmdChangeVisitorPic");
        click("cmdClearHomePic");
        find<QComboBox>("cmbLedType")->setCurrentIndex(0);

        if (how.startsWith("alt+")) {
            QApplication::setActiveWindow(dialog.get());
            QVERIFY(QTest::qWaitForWindowActive(dialog.get(), kPatienceMs));
            QTest::keyClick(QApplication::focusWidget(), how == "alt+o" ? Qt::Key_O : Qt::Key_C,
                            Qt::AltModifier);
        } else if (how == "ok") {
            click("cmdOk");
        } else if (how == "cancel") {
            click("cmdCancel");
        } else if (how == "close") {
            dialog->close();
        } else {
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        }
        // A mnemonic presses its button visibly, a moment later.
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);

        if (!stored) {
            QCOMPARE(store.saves(), QStringList());
            QCOMPARE(saved(settings), saved(before));
            return;
        }
        QCOMPARE(store.saves(), saved(settings));
        QCOMPARE(settings.VisitorColor, 0x0000FF);
        QCOMPARE(settings.LEDSelectedWidth, 5);
        QCOMPARE(settings.StartStopClockKey, 81);
        QCOMPARE(settings.HornKey, 116);
        QCOMPARE(settings.NumLockForce, 1);
        QCOMPARE(settings.HornFile, pickers.file.replace("visitor.bmp", "horn2.wav"));
        QCOMPARE(settings.HomeText, QStringLiteral("Wolves"));
        QCOMPARE(settings.VisitorPic, QDir::toNativeSeparators(dir.filePath("visitor.bmp")));
        QCOMPARE(settings.HomePic, QString());
        QCOMPARE(settings.LEDType, 0);
        QCOMPARE(settings.TeamSize, dialog->TempSize * 10000);
    }

    void keyRow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("stored");
        QTest::newRow("C taken") << int(Qt::Key_C) << "C" << 67;
        QTest::newRow("present key again") << int(Qt::Key_B) << "B" << 66;
        QTest::newRow("closed without a key") << 0 << "B" << 66;
    }
    void keyRow() {
        QFETCH(int, key);
        QFETCH(QString, label);
        QFETCH(int, stored);
        chooseKey("cmdBuzzer", Qt::Key(key));
        QCOMPARE(chooseKeyExchange().ChooseKeyAction, QStringLiteral("sound the buzzer"));
        QCOMPARE(chooseKeyExchange().ChooseKeyCurrent, 66);
        QCOMPARE(text("lblBuzzer"), label);
        QCOMPARE(dialog->BuzzerKeyTemp, stored);
        QCOMPARE(settings.BuzzerKey, 66); // only "&Ok" stores it
    }

    void resetQuestions_data() {
        QTest::addColumn<QString>("reset");
        QTest::addColumn<bool>("yes");
        QTest::newRow("colors yes") << "cmdResetColors" << true;
        QTest::newRow("colors no") << "cmdResetColors" << false;
        QTest::newRow("keys yes") << "cmdResetKeys" << true;
        QTest::newRow("keys no") << "cmdResetKeys" << false;
    }
    void resetQuestions() {
        QFETCH(QString, reset);
        QFETCH(bool, yes);
        QString title;
        QString question;
        whenModal<QMessageBox>([&, yes](QMessageBox* box) {
            title = box->windowTitle();
            question = box->text();
            QCOMPARE(box->icon(), QMessageBox::Question);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        find<QPushButton>(reset.toLatin1().constData())->click();
        const bool colors = reset == "cmdResetColors";
        QCOMPARE(title, colors ? QStringLiteral("Reset Colors") : QStringLiteral("Reset Keys"));
        QCOMPARE(question, colors ? QStringLiteral("Are you sure you want to reset the colors?")
                                  : QStringLiteral("Are you sure you want to reset the keys?"));
        click("cmdOk");

        const bool colorsReset = colors && yes;
        QCOMPARE(settings.TimeColor, colorsReset ? 255 : 0x112233);
        QCOMPARE(settings.LEDSelected, colorsReset ? 4210752 : 0x00FFFF);
        QCOMPARE(settings.LEDSelectedWidth, colorsReset ? 0 : 3);
        // The bar and its label show the same width.
        QCOMPARE(find<QScrollBar>("scrLEDSelectedWidth")->value(), colorsReset ? 0 : 3);
        QCOMPARE(text("lblLEDSelectedWidthValue"), colorsReset ? "0" : "3");

        const bool keysReset = !colors && yes;
        QCOMPARE(settings.StartStopClockKey, keysReset ? 83 : 65);
        QCOMPARE(text("lblStartStopClock"), keysReset ? "S" : "A");
        QCOMPARE(settings.NumLockForce, keysReset ? 0 : 2);
        QCOMPARE(settings.HornFile, QStringLiteral("/nowhere/horn.wav"));
    }

    void colorPicker_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void colorPicker() {
        QFETCH(bool, confirmed);
        pickers.color = 0x445566; // what a confirmed picker reports
        click("cmdHomeC");        // the picker now last held this colour
        if (!confirmed)
            pickers.color.reset();
        click("cmdTimeC");
        QCOMPARE(pickers.offered, (QList<std::int32_t>{0xFFFFFF, 0x112233}));
        QCOMPARE(color("picTimeC"), confirmed ? 0x445566 : 0x112233);
    }

    void filePickers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("taken");
        const QString sound("cmdBuzzerSound"), picture("cmdChangeBoardPic");
        QTest::newRow("sound") << sound << "new.wav" << true;
        QTest::newRow("sound missing") << sound << "gone.wav" << false;
        QTest::newRow("picture") << picture << "new.bmp" << true;
        QTest::newRow("picture cancelled") << picture << "" << false;
    }
    void filePickers() {
        QFETCH(QString, button);
        QFETCH(QString, chosen);
        QFETCH(bool, taken);
        QDir(dir.path()).mkpath(QString(40, 'f')); // a path too long for the sound label
        if (!chosen.isEmpty())
            pickers.file = QDir::toNativeSeparators(dir.filePath(QString(40, 'f') + "/" + chosen));
        if (taken)
            writePicture(dir, QString(40, 'f') + "/" + chosen, QSize(30, 10));
        const bool sound = button == "cmdBuzzerSound";
        const QString before = sound ? settings.BuzzerFile : settings.BoardPic;
        find<QPushButton>(button.toLatin1().constData())->click();
        QCOMPARE(pickers.filters,
                 QStringList(sound ? "Sounds *.wav|*.wav"
                                   : "Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg"));
        const QString kept = taken ? pickers.file : before;
        if (sound) {
            QCOMPARE(dialog->BuzzTemp, kept);
            QCOMPARE(text("lblBFile"), ChopFileName(kept, 50));
            QVERIFY(text("lblBFile").size() <= 50);
        } else {
            QCOMPARE(dialog->BoardPicTemp, kept);
            QCOMPARE(find<ImageBox>("imgBoardPicPreview")->image().isNull(), !taken);
        }
    }

    // The keyboard alone: Tab to a button and press Enter, keypad Enter or the space bar, and
    // that button acts, with the toolkit's own pickers as the user meets them.
    void keysPressTheFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<int>("key");
        const std::pair<Qt::Key, const char*> keys[] = {
            {Qt::Key_Return, "Enter"}, {Qt::Key_Enter, "keypad Enter"}, {Qt::Key_Space, "space"}};
        for (const ButtonCase& b : kButtons)
            for (const auto& [key, keyName] : keys)
                QTest::addRow("%s, %s", b.name, keyName)
                    << QString::fromLatin1(b.name) << b.tab << QString::fromLatin1(b.opens)
                    << int(key);
    }
    void keysPressTheFocusedButton() {
        QFETCH(QString, button);
        QFETCH(int, tab);
        QFETCH(QString, opens);
        QFETCH(int, key);
        settings.VisitorPic = writePicture(dir, QStringLiteral("visitor.bmp"), QSize(20, 20));
        dialog = std::make_unique<frmOptions>(settings, store, nullptr,
                                              OptionsPageMakers{liveFeedOptionsPage()});
        dialog->show();
        QWidget* target = find<QPushButton>(button.toLatin1().constData());
        QVERIFY(tabTo(tab, target));
        const std::int16_t keyBefore = dialog->HornKeyTemp;

        QString opened;
        if (!opens.isEmpty()) {
            whenModalWindow([this](QWidget* w) { return w != dialog.get(); },
                            [&](QWidget* w) {
                                opened = QString::fromLatin1(w->metaObject()->className());
                                // The key capture takes Escape as a key it refuses.
                                if (qobject_cast<frmChooseKey*>(w))
                                    w->close();
                                else
                                    QTest::keyClick(w, Qt::Key_Escape);
                            });
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

        if (button == "cmdOk" || button == "cmdCancel") {
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);
            const bool ok = button == "cmdOk";
            QCOMPARE(dialog->result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
            QCOMPARE(store.saves(), ok ? saved(settings) : QStringList());
            return;
        }
        QCOMPARE(opened, opens);
        QVERIFY(dialog->isVisible());
        QCOMPARE(store.saves(), QStringList());
        // Closed without an answer, the window changed nothing.
        QCOMPARE(dialog->HornKeyTemp, keyBefore);
        QCOMPARE(text("lblStartStopClock"), QStringLiteral("A"));
        QCOMPARE(color("picTimeC"), 0x112233);
        const std::pair<const char*, const QString*> pictures[] = {
            {"cmdClearHomePic", &dialog->HomePicTemp},
            {"cmdClearVisitorPic", &dialog->VisitorPicTemp},
            {"cmdClearBoardPic", &dialog->BoardPicTemp}};
        for (const auto& [clear, temp] : pictures)
            QCOMPARE(temp->isEmpty(), button == clear);
    }

    // Enter on a button as the keyboard really sends it: held, it repeats (X11 sends each
    // repeat as a release and a press), and its release may come without its press, from a
    // window that had the press. The button acts once, on the release of a press it saw.
    void enterActsOnceOnTheReleaseOfItsPress_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("events"); // p press, r release, P and R their repeats
        QTest::addColumn<int>("clicks");
        for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
            const char* name = key == Qt::Key_Return ? "Enter" : "keypad Enter";
            QTest::addRow("%s pressed and released", name) << key << "pr" << 1;
            QTest::addRow("%s held", name) << key << "pRPRPRPr" << 1;
            QTest::addRow("%s released without its press", name) << key << "r" << 0;
            QTest::addRow("%s repeats of another press", name) << key << "RPRPr" << 0;
            QTest::addRow("%s release alone, then pressed", name) << key << "rpr" << 1;
        }
    }
    void enterActsOnceOnTheReleaseOfItsPress() {
        QFETCH(int, key);
        QFETCH(QString, events);
        QFETCH(int, clicks);
        auto* button = find<QPushButton>("cmdClearHomePic");
        const QSignalSpy clicked(button, &QAbstractButton::clicked);
        for (const QChar e : events) {
            const bool press = e.toLower() == QLatin1Char('p');
            QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier,
                            QStringLiteral("\r"), e.isUpper());
            QApplication::sendEvent(button, &event);
        }
        QCOMPARE(clicked.count(), clicks);
        QVERIFY(!button->isDown());
        QCOMPARE(dialog->HomePicTemp.isEmpty(), clicks > 0);
    }

    // The table above holds every button the dialog has.
    void everyButtonIsInTheTable() {
        QStringList inDialog;
        for (const QPushButton* b : dialog->findChildren<QPushButton*>())
            inDialog << b->objectName();
        QStringList inTable;
        for (const ButtonCase& b : kButtons)
            inTable << QString::fromLatin1(b.name);
        inDialog.sort();
        inTable.sort();
        QCOMPARE(inDialog, inTable);
    }

    // Enter anywhere but on a button is "&Ok", also after Tab has passed over buttons.
    void enterElsewhereIsOk_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("key");
        const std::pair<const char*, int> controls[] = {
            {"optNormal", 0},      {"scrLEDSelectedWidth", 1}, {"txtHomeText", 2},
            {"txtVisitorText", 2}, {"cmbLedType", 3},          {"chkFeedOn", 4}};
        for (const auto& [name, tab] : controls) {
            QTest::addRow("%s, Enter", name)
                << QString::fromLatin1(name) << tab << int(Qt::Key_Return);
            QTest::addRow("%s, keypad Enter", name)
                << QString::fromLatin1(name) << tab << int(Qt::Key_Enter);
        }
    }
    void enterElsewhereIsOk() {
        QFETCH(QString, control);
        QFETCH(int, tab);
        QFETCH(int, key);
        QVERIFY(tabTo(tab, find<QWidget>(control.toLatin1().constData())));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(store.saves(), saved(settings));
    }

    void namePreview_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fits");
        QTest::newRow("short") << "Hawks" << true;
        QTest::newRow("too long to fit") << "Northside Amateur Ice Hockey Association" << false;
    }
    void namePreview() {
        QFETCH(QString, name);
        QFETCH(bool, fits);
        find<QLineEdit>("txtVisitorText")->setText(name);
        auto* preview = find<BoardLabel>("lblVisitorPreview");
        QCOMPARE(preview->text(), name);
        const auto under = [](const QWidget* w) {
            return pixelsToTwips(w->width()) < 1900 && pixelsToTwips(w->height()) < 600;
        };
        if (fits) {
            QVERIFY(dialog->TempSize >= 10 && dialog->TempSize <= 60);
            QCOMPARE(preview->FontSize(), double(dialog->TempSize));
            QVERIFY(under(preview) && under(find<BoardLabel>("lblHomePreview")));
        } else {
            QCOMPARE(dialog->TempSize, 9);
            QCOMPARE(preview->FontSize(), 10.0);
            QVERIFY(!under(preview));
        }
        click("cmdOk");
        QCOMPARE(store.value("TextSettings", "TeamSize"), QString::number(dialog->TempSize));
    }

    // After a reset and "&Ok" each entry holds exactly its first-start value, whatever it held.
    void resetStoresTheFirstStartValues_data() {
        QTest::addColumn<QString>("reset");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("firstStart");
        const Settings d;
        const std::pair<const char*, int> colors[] = {
            {"TimeColor", d.TimeColor},      {"LEDBack", d.LEDBack},
            {"LEDSelected", d.LEDSelected},  {"ScoreColor", d.ScoreColor},
            {"PeriodColor", d.PeriodColor},  {"FormBack", d.FormBack},
            {"BorderColor", d.BorderColor},  {"HomeColor", d.HomeColor},
            {"VisitorColor", d.VisitorColor}};
        for (const auto& [entry, value] : colors)
            QTest::newRow(entry) << "cmdResetColors"
                                 << "ColorSettings" << entry << value;
        const std::pair<const char*, int> keys[] = {{"StartStopClockKey", d.StartStopClockKey},
                                                    {"ResetClockKey", d.ResetClockKey},
                                                    {"ClearKey", d.ClearKey},
                                                    {"BuzzerKey", d.BuzzerKey},
                                                    {"HornKey", d.HornKey}};
        for (const auto& [entry, value] : keys)
            QTest::newRow(entry) << "cmdResetKeys"
                                 << "KeySettings" << entry << value;
    }
    void resetStoresTheFirstStartValues() {
        QFETCH(QString, reset);
        QFETCH(QString, section);
        QFETCH(QString, entry);
        QFETCH(int, firstStart);
        // Every colour and key differs from its first-start value.
        int n = 0;
        for (std::int32_t* c : {&settings.TimeColor, &settings.LEDBack, &settings.LEDSelected,
                                &settings.ScoreColor, &settings.PeriodColor, &settings.FormBack,
                                &settings.BorderColor, &settings.HomeColor, &settings.VisitorColor})
            *c = 0x102030 + ++n;
        for (std::int16_t* k : {&settings.StartStopClockKey, &settings.ResetClockKey,
                                &settings.ClearKey, &settings.BuzzerKey, &settings.HornKey})
            *k = static_cast<std::int16_t>(112 + ++n); // F-keys
        open();
        whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        click(reset.toLatin1().constData());
        click("cmdOk");
        QCOMPARE(store.value(section, entry), QString::number(firstStart));
    }
};

// The key-capture window on its own.
class ChooseKeyDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void capture_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("keys"); // Qt keys pressed in turn
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("beeps");
        using L = QList<int>;
        QTest::newRow("B for the buzzer") << 66 << L{Qt::Key_B} << "66" << 0;
        QTest::newRow("5 refused, then C") << 66 << L{Qt::Key_5, Qt::Key_C} << "67" << 1;
        QTest::newRow("F2 refused, then F3") << 66 << L{Qt::Key_F2, Qt::Key_F3} << "114" << 1;
        QTest::newRow("Ctrl alone") << 66 << L{Qt::Key_Control} << "17" << 0;
        QTest::newRow("Shift alone refused") << 66 << L{Qt::Key_Shift} << "0" << 1;
        QTest::newRow("Tab and Escape refused") << 66 << L{Qt::Key_Tab, Qt::Key_Escape} << "0" << 2;
        QTest::newRow("nameless present key") << 53 << L{Qt::Key_5} << "53" << 0;
        QTest::newRow("closed without a key") << 66 << L{} << "0" << 0;
    }
    void capture() {
        QFETCH(int, current);
        QFETCH(QList<int>, keys);
        QFETCH(QString, chosen);
        QFETCH(int, beeps);
        ChooseKeyExchange exchange;
        exchange.ChooseKeyAction = QStringLiteral("sound the buzzer");
        exchange.ChooseKeyCurrent = static_cast<std::int16_t>(current);
        exchange.ChosenKey = QStringLiteral("stale");
        frmChooseKey window(exchange);
        QCOMPARE(window.windowTitle(), QStringLiteral("Choose Key"));
        QCOMPARE(window.findChild<QLabel*>("lblChoose")->text(),
                 QStringLiteral("Press the key you would like to sound the buzzer."));
        QCOMPARE(exchange.ChosenKey, QStringLiteral("0"));
        int beeped = 0;
        window.setBeep([&] { ++beeped; });
        bool noteShown = false;
        whenModal<frmChooseKey>([&, keys](frmChooseKey* w) {
            for (int key : keys) {
                if (!w->isVisible())
                    break;
                QTest::keyClick(w, Qt::Key(key));
            }
            noteShown = w->findChild<QLabel*>("lblUsed")->isVisible();
            if (w->isVisible())
                w->close();
        });
        window.exec();
        QCOMPARE(exchange.ChosenKey, chosen);
        QCOMPARE(beeped, beeps);
        QCOMPARE(noteShown, beeps > 0 && chosen == "0");
    }
};

// F2 on the board.
class BoardOptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void optionsOverTheBoard_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void optionsOverTheBoard() {
        QFETCH(bool, ok);
        Settings settings;
        MemorySettingsStore store;
        FakeTimeSource time;
        frmScoreBoard board(settings, store, time);
        board.show();
        QApplication::setActiveWindow(&board);
        QVERIFY(QTest::qWaitForWindowActive(&board, kPatienceMs));
        auto clockShows = [&] {
            QString s;
            for (PolyLED* cell : board.ledField(FieldId::Time).cells())
                s += cell->Caption() < 0 ? QStringLiteral(" ") : QString::number(cell->Caption());
            return s;
        };
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S); // clock runs
        QVERIFY(board.logic().counters().CounterRunning(0));

        bool keptRunning = false;
        bool keysRested = false;
        whenModal<frmOptions>([&, ok](frmOptions* options) {
            const QString before = clockShows();
            time.advance(2000);
            keptRunning = QTest::qWaitFor([&] { return clockShows() != before; }, kPatienceMs);
            // The start/stop key goes to the dialog, not to the board.
            QTest::keyClick(options, Qt::Key_S);
            keysRested = board.logic().counters().CounterRunning(0);
            options->findChild<QLineEdit*>("txtHomeText")->setText(QStringLiteral("Otters"));
            // Whatever the record holds when the dialog closes is what the board shows.
            settings.VisitorText = QStringLiteral("Falcons");
            options->findChild<QPushButton*>(ok ? "cmdOk" : "cmdCancel")->click();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QVERIFY(keptRunning);
        QVERIFY(keysRested);
        QCOMPARE(board.windowTitle(),
                 ok ? QStringLiteral("Pucktally - Otters") : QStringLiteral("Pucktally - Home"));
        // OK stored the dialog's own name over it; Cancel left the record's.
        QCOMPARE(board.findChild<BoardLabel*>("lblVisitor")->text(),
                 ok ? QStringLiteral("Visitor") : QStringLiteral("Falcons"));
        QCOMPARE(store.saves().isEmpty(), !ok);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        OptionsDialogTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ChooseKeyDialogTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        BoardOptionsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "OptionsDialogTest.moc"
