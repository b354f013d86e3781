#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "display/Twips.h"
#include "help/HelpDocument.h"
#include "help/HelpLayout.h"
#include "help/frmHelp.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

namespace {

// The viewer's geometry and line length the resize rule asks for at the window's present size.
struct Expected {
    QRect viewer;
    int wrapWidth;
};
Expected expectedFor(const QWidget& window) {
    const QSize outer = window.frameGeometry().size();
    const HelpGeometry g = HelpLayout(pixelsToTwips(outer.width()), pixelsToTwips(outer.height()));
    return {QRect(twipsToPixels(g.viewerLeft), twipsToPixels(g.viewerTop),
                  twipsToPixels(g.viewerWidth), twipsToPixels(g.viewerHeight)),
            twipsToPixels(g.rightMargin)};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

  private slots:
    void cleanup() { frmHelp::UnloadHelp(); }

    void documentOrMessage_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        const QString missing = QString::fromLatin1(kHelpMissingMessage);
        QTest::newRow("missing file") << path("none.rtf") << missing;
        QTest::newRow("a folder of that name") << path("folder.rtf") << missing;
        QTest::newRow("empty file: empty viewer") << path("empty.rtf") << QString();
        QTest::newRow("a document") << path("small.rtf") << QStringLiteral("Hello board");
        QTest::newRow("plain text") << path("plain.rtf") << QStringLiteral("just text");
    }
    void documentOrMessage() {
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QDir().mkpath(path("folder.rtf"));
        writeFile(path("empty.rtf"), {});
        writeFile(path("small.rtf"), "{\\rtf1\\ansi {\\b Hello} board\\par}");
        writeFile(path("plain.rtf"), "just text");
        frmHelp help(file);
        QCOMPARE(help.windowTitle(), QStringLiteral("Pucktally Help"));
        QCOMPARE(help.viewer()->objectName(), QStringLiteral("rtbHelp"));
        QVERIFY(help.viewer()->isReadOnly());
        QCOMPARE(help.viewer()->toPlainText().trimmed(), shown);
    }

    void showHelpOpensOneWindowAndReadsOnce() {
        QVERIFY(!frmHelp::instance());
        frmHelp::ShowHelp();
        frmHelp* first = frmHelp::instance();
        QVERIFY(first && first->isVisible());
        QVERIFY(!first->isModal());
        QVERIFY(first->viewer()->toPlainText().contains(QStringLiteral("Pucktally")));
        const QTextDocument* document = first->viewer()->document();

        frmHelp::ShowHelp();
        QCOMPARE(frmHelp::instance(), first);
        QCOMPARE(first->viewer()->document(), document);
        int windows = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            windows += qobject_cast<frmHelp*>(w) != nullptr;
        QCOMPARE(windows, 1);

        // Closing unloads it; the next request makes and reads a new one.
        first->close();
        QTRY_VERIFY_WITH_TIMEOUT(!frmHelp::instance(), kPatienceMs);
        frmHelp::ShowHelp();
        QVERIFY(frmHelp::instance());
    }

    void viewerFollowsEveryResize_data() {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("smallest");
        const QSize none(0, 0);
        const QSize smallest(twipsToPixels(kHelpMinWidth), twipsToPixels(kHelpMinHeight));
        QTest::newRow("design size") << QSize(737, 618) << none;
        QTest::newRow("large") << QSize(1600, 1000) << none;
        QTest::newRow("just the smallest") << smallest << none;
        QTest::newRow("too narrow") << QSize(50, 400) << smallest;
        QTest::newRow("too low") << QSize(500, 20) << smallest;
        QTest::newRow("both too small") << QSize(1, 1) << smallest;
    }
    void viewerFollowsEveryResize() {
        QFETCH(QSize, requested);
        QFETCH(QSize, smallest);
        frmHelp help(path("none.rtf"));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help, kPatienceMs));
        help.resize(requested);
        QTRY_VERIFY_WITH_TIMEOUT(help.frameGeometry().width() >=
                                     std::max(requested.width(), smallest.width()),
                                 kPatienceMs);
        const QSize outer = help.frameGeometry().size();
        if (smallest.isEmpty())
            QCOMPARE(outer, requested + (help.frameGeometry().size() - help.size()));
        else
            QVERIFY(outer.width() >= smallest.width() && outer.height() >= smallest.height());
        const Expected expected = expectedFor(help);
        QCOMPARE(help.viewer()->geometry(), expected.viewer);
        QCOMPARE(help.viewer()->lineWrapMode(), QTextEdit::FixedPixelWidth);
        QCOMPARE(help.viewer()->lineWrapColumnOrWidth(), expected.wrapWidth);
    }

    void minimizedWindowIsLeftAlone() {
        frmHelp help(path("none.rtf"));
        help.resize(800, 600);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help, kPatienceMs));
        const QRect before = help.viewer()->geometry();
        help.setWindowState(Qt::WindowMinimized);
        help.resize(400, 300);
        QCOMPARE(help.viewer()->geometry(), before);
        // Restored, the viewer fits the window again.
        help.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE_WITH_TIMEOUT(help.viewer()->geometry(), expectedFor(help).viewer, kPatienceMs);
        QVERIFY(help.viewer()->geometry() != before);
    }

    void f1OnTheBoardShowsTheHelp() {
        Settings settings;
        FakeTimeSource time;
        frmScoreBoard board(settings, time);
        board.show();
        QApplication::setActiveWindow(&board);
        QVERIFY(QTest::qWaitForWindowActive(&board, kPatienceMs));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QVERIFY(frmHelp::instance() && frmHelp::instance()->isVisible());
        // The help stays beside the board: it does not keep the program alive by itself.
        QVERIFY(!frmHelp::instance()->testAttribute(Qt::WA_QuitOnClose));
        const frmHelp* shown = frmHelp::instance();
        QApplication::setActiveWindow(&board);
        board.entryBox(EntryBox::TimeBack)->setFocus();
        QTest::keyClick(board.entryBox(EntryBox::TimeBack), Qt::Key_F1);
        QCOMPARE(frmHelp::instance(), shown);
    }

    // One side made too small comes back to exactly its smallest length (2700 x 1700 twips
    // outside, 180 x 113 pixels); the other side keeps the length it was given. A window
    // system may size the window below the least size the window asks for; it comes back
    // then too.
    void oneSideTooSmallComesBackToTheSmallest_data() {
        QTest::addColumn<QSize>("requested"); // the outer size asked for
        QTest::addColumn<QSize>("outer");     // the outer size the window takes
        QTest::addColumn<bool>("bySystem");   // sized by the window system, not by the program
        QTest::newRow("only the width, far") << QSize(50, 400) << QSize(180, 400) << false;
        QTest::newRow("only the width, one pixel") << QSize(179, 400) << QSize(180, 400) << false;
        QTest::newRow("only the height, far") << QSize(500, 20) << QSize(500, 113) << false;
        QTest::newRow("only the height, one pixel") << QSize(500, 112) << QSize(500, 113) << false;
        QTest::newRow("both at the smallest") << QSize(180, 113) << QSize(180, 113) << false;
        QTest::newRow("only the width, by the system") << QSize(50, 400) << QSize(180, 400) << true;
        QTest::newRow("only the height, by the system")
            << QSize(500, 20) << QSize(500, 113) << true;
        QTest::newRow("both, by the system") << QSize(20, 20) << QSize(180, 113) << true;
    }
    void oneSideTooSmallComesBackToTheSmallest() {
        QFETCH(QSize, requested);
        QFETCH(QSize, outer);
        QFETCH(bool, bySystem);
        QCOMPARE(QSize(twipsToPixels(kHelpMinWidth), twipsToPixels(kHelpMinHeight)),
                 QSize(180, 113));
        frmHelp help(path("none.rtf"));
        help.resize(600, 500);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help, kPatienceMs));
        const QSize frame = help.frameGeometry().size() - help.size();
        if (bySystem) {
            help.windowHandle()->setMinimumSize(QSize(1, 1)); // a system that ignores it
            help.windowHandle()->resize(requested - frame);
        } else {
            help.resize(requested - frame);
        }
        QTRY_COMPARE_WITH_TIMEOUT(help.frameGeometry().size(), outer, kPatienceMs);
        QCOMPARE(help.viewer()->geometry(), expectedFor(help).viewer);
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
