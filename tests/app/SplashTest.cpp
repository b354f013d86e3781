// The start of the program as a user meets it: the splash window, the word "bypass", the
// clicks that lead on to the board, and the end of the program.
#include "app/ProgramWindows.h"
#include "board/frmScoreBoard.h"
#include "help/frmHelp.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

// One run of the program on an empty store.
struct Run {
    MemorySettingsStore store;
    Settings settings;
    FakeTimeSource time;
    ProgramWindows windows{settings, store, time};
    QSignalSpy ended{&windows, &ProgramWindows::ended};

    explicit Run(const QStringList& commandLine = {}) { windows.start(commandLine); }

    static QWidget* splash() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmSplash") && w->isVisible())
                return w;
        return nullptr;
    }
    bool boardShown() const { return windows.board() && windows.board()->isVisible(); }
};

class SplashTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        // A splash window left waiting by a test.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmSplash"))
                delete w;
    }

    void loadShowsVersionPlacesAndLoadsSettings() {
        Run run;
        QWidget* splash = Run::splash();
        QVERIFY(splash);
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.0.9"));
        QCOMPARE(splash->size(), QSize(416, 216));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(splash->pos(), QPoint((screen.width() - 416) / 2, (screen.height() - 392) / 2));
        QVERIFY(!splash->findChild<QLabel*>(QStringLiteral("picLogo"))->pixmap().isNull());
        // The first start writes the standard keys and the marker, and nothing else.
        QCOMPARE(run.store.value(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode")),
                 QStringLiteral("Yes"));
        QCOMPARE(run.store.size(), 6);
        QVERIFY(!run.windows.board());
    }

    void bypassOpensTheBoardAtOnce_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("bypass") << QStringList{QStringLiteral("bypass")} << true;
        QTest::newRow("Bypass") << QStringList{QStringLiteral("Bypass")} << false;
        QTest::newRow("BYPASS") << QStringList{QStringLiteral("BYPASS")} << false;
        QTest::newRow("bypass x") << QStringList{QStringLiteral("bypass"), QStringLiteral("x")}
                                  << false;
        QTest::newRow("x bypass") << QStringList{QStringLiteral("x"), QStringLiteral("bypass")}
                                  << false;
        QTest::newRow("trailing space") << QStringList{QStringLiteral("bypass ")} << false;
        QTest::newRow("nothing") << QStringList{} << false;
    }
    void bypassOpensTheBoardAtOnce() {
        QFETCH(QStringList, words);
        QFETCH(bool, atOnce);
        Run run(words);
        QCOMPARE(run.boardShown(), atOnce);
        QCOMPARE(Run::splash() != nullptr, !atOnce);
        // The settings are loaded either way, before any board exists.
        QVERIFY(run.store.contains(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode")));
    }

    void clicksLeadToTheBoardButtonsDoNot_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("toBoard");
        for (const char* item : {"frmSplash", "frameSplash", "picLogo", "lblName", "lblMadeBy",
                                 "lblClick", "lblVersion", "Label1", "Label2"})
            QTest::newRow(item) << QString::fromLatin1(item) << true;
        QTest::newRow("cmdHelp") << QStringLiteral("cmdHelp") << false;
        QTest::newRow("cmdOptions") << QStringLiteral("cmdOptions") << false;
    }
    void clicksLeadToTheBoardButtonsDoNot() {
        QFETCH(QString, item);
        QFETCH(bool, toBoard);
        Run run;
        QPointer<QWidget> splash = Run::splash();
        QWidget* target =
            item == splash->objectName() ? splash.data() : splash->findChild<QWidget*>(item);
        QVERIFY(target);
        // The window's own click lands beside the frame, below it.
        const QPoint at = target == splash ? QPoint(412, 213) : target->rect().center();
        QString modal;
        QTimer::singleShot(0, [&modal] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                modal = dialog->objectName();
                dialog->reject();
            }
        });
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
        QCOMPARE(modal, item == QLatin1String("cmdOptions") ? QStringLiteral("frmOptions") : "");
        QCOMPARE(run.boardShown(), toBoard);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(splash.isNull(), toBoard);
        frmHelp::UnloadHelp();
    }

    void helpOutlivesTheSplash() {
        Run run;
        QWidget* splash = Run::splash();
        QTest::mouseClick(splash->findChild<QPushButton*>(QStringLiteral("cmdHelp")),
                          Qt::LeftButton);
        QPointer<frmHelp> help = frmHelp::instance();
        QVERIFY(help && help->isVisible());
        QTest::mouseClick(splash->findChild<QWidget*>(QStringLiteral("lblName")), Qt::LeftButton);
        QVERIFY(run.boardShown());
        QVERIFY(help && help->isVisible());
        QCOMPARE(run.ended.count(), 0);
    }

    void optionsConfirmedOnTheSplashReachTheBoard() {
        Run run;
        QWidget* splash = Run::splash();
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            dialog->findChild<QLineEdit*>(QStringLiteral("txtHomeText"))
                ->setText(QStringLiteral("Otters"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(splash->findChild<QPushButton*>(QStringLiteral("cmdOptions")),
                          Qt::LeftButton);
        QCOMPARE(run.store.value(QStringLiteral("TextSettings"), QStringLiteral("HomeText")),
                 QStringLiteral("Otters"));
        QVERIFY(!run.windows.board());
        QTest::mouseClick(splash->findChild<QWidget*>(QStringLiteral("lblClick")), Qt::LeftButton);
        QCOMPARE(run.windows.board()->windowTitle(), QStringLiteral("Pucktally - Otters"));
    }

    void theProgramEnds_data() {
        QTest::addColumn<bool>("viaBoard");
        QTest::addColumn<bool>("withHelp");
        QTest::addColumn<int>("endedBeforeHelpCloses");
        QTest::newRow("board closed") << true << false << 1;
        QTest::newRow("board closed, help open") << true << true << 1;
        QTest::newRow("splash closed") << false << false << 1;
        QTest::newRow("splash closed, help open") << false << true << 0;
    }
    void theProgramEnds() {
        QFETCH(bool, viaBoard);
        QFETCH(bool, withHelp);
        QFETCH(int, endedBeforeHelpCloses);
        Run run(viaBoard ? QStringList{QStringLiteral("bypass")} : QStringList{});
        if (withHelp)
            frmHelp::ShowHelp();
        QWidget* closing = viaBoard ? static_cast<QWidget*>(run.windows.board()) : Run::splash();
        QVERIFY(closing->close());
        QCoreApplication::processEvents();
        QCOMPARE(run.ended.count(), endedBeforeHelpCloses);
        // Ending takes the help window with it; a help window still open keeps the run going
        // until it is closed.
        if (endedBeforeHelpCloses == 1) {
            QVERIFY(!frmHelp::instance());
            return;
        }
        QVERIFY(frmHelp::instance()->close());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(run.ended.count(), 1);
    }
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
