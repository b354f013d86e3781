// The timekeeper's console beside a real board: keys typed into the console do exactly what
// they do on the board, the console tells what the board keeps from the audience, and its
// copy of the board is the board's own drawing.
#include "console/ConsoleWindow.h"
#include "board/frmScoreBoard.h"
#include "console/BoardMirror.h"
#include "console/CorrectionDialog.h"
#include "display/PictureBox.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// One typed key: a key with modifiers, or "tick" for a second of running clock.
struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

QList<Stroke> strokesOf(const QString& keys) {
    QList<Stroke> out;
    for (const QString& word : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("Tab"))
            out.append(Stroke{Qt::Key_Tab});
        else if (word == QLatin1String("Enter"))
            out.append(Stroke{Qt::Key_Return});
        else if (word == QLatin1String("Esc"))
            out.append(Stroke{Qt::Key_Escape});
        else if (word == QLatin1String("^P"))
            out.append(Stroke{Qt::Key_P, Qt::ControlModifier});
        else
            for (QChar c : word)
                out.append(Stroke{static_cast<Qt::Key>(c.toUpper().unicode())});
    }
    return out;
}

// The largest difference of one colour channel between two images of one size.
int largestDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace

class ConsoleWindowTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    std::unique_ptr<ConsoleWindow> console;

    std::unique_ptr<frmScoreBoard> newBoard(FakeTimeSource& clock) {
        auto b = std::make_unique<frmScoreBoard>(settings, clock);
        b->setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        b->show();
        return b;
    }

  private slots:
    void init() {
        settings = Settings();
        board = newBoard(time);
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
        console = std::make_unique<ConsoleWindow>(*board);
        board->setConsoleOpen(true);
        console->show();
        QVERIFY(QTest::qWaitForWindowExposed(console.get(), kPatienceMs));
    }
    void cleanup() {
        console.reset();
        board.reset();
    }

    // Each row: keys typed into the console, and the same keys typed on a board of its own
    // (into the box with the focus, as the keyboard does) give the same board; the console's
    // text then says `shows`.
    void keysTypedInTheConsoleActOnTheBoard_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shows");
        QTest::newRow("a score, after Tab") << "Tab 3 Enter"
                                            << "Selected: Home score";
        QTest::newRow("typing shows before Enter") << "Tab Tab 12"
                                                   << "typing: 12";
        QTest::newRow("a typed time") << "5.30 Enter"
                                      << "Selected: Game clock";
        QTest::newRow("the clock started") << "S"
                                           << "Selected: Game clock";
        QTest::newRow("a penalty, its bench and strength") << "^P V 12 M Enter"
                                                           << "Clock 1: 12 minor 2:00";
        QTest::newRow("the power play") << "^P V 12 M Enter ^P V 7 J Enter"
                                        << "5 on 3, PP H 2:00";
        QTest::newRow("a third penalty waits") << "^P H 4 M Enter ^P H 5 M Enter ^P H 6 D Enter"
                                               << "Waits: 6 double minor 4:00";
        QTest::newRow("a misconduct") << "^P H 9 C Enter"
                                      << "Misconduct: 9, 10:00 left";
        QTest::newRow("the penalty being typed") << "^P H 2"
                                                 << "penalty H 2";
        QTest::newRow("Escape drops it") << "^P H 2 Esc"
                                         << "Ctrl+P gives a penalty";
        QTest::newRow("a goal on the list") << "Tab Tab + 1"
                                            << "P1 10:00  goal V";
    }
    void keysTypedInTheConsoleActOnTheBoard() {
        QFETCH(QString, keys);
        QFETCH(QString, shows);
        FakeTimeSource plainTime;
        std::unique_ptr<frmScoreBoard> plain = newBoard(plainTime);
        QVERIFY(QTest::qWaitForWindowActive(plain.get(), kPatienceMs));
        plain->entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
        for (const Stroke& s : strokesOf(keys)) {
            QTest::keyClick(console.get(), s.key, s.modifiers);
            QTest::keyClick(plain->focusWidget(), s.key, s.modifiers);
        }
        QVERIFY(board->logic().state() == plain->logic().state());
        QCOMPARE(board->keyTarget()->objectName(), plain->focusWidget()->objectName());
        console->refresh();
        QVERIFY2(console->text().contains(shows), qPrintable(console->text()));
    }

    // The copy is drawn piece by piece as the board repaints; it must stay what a whole
    // drawing of the board at that scale is.
    void mirrorIsTheBoardsOwnDrawing() {
        console->resize(900, 700);
        for (const Stroke& s : strokesOf(QStringLiteral("^P V 12 M Enter Tab 3 Enter S")))
            QTest::keyClick(console.get(), s.key, s.modifiers);
        for (int i = 0; i < 25; ++i) {
            time.advance(100);
            emit board->clockTimer().tick();
            QCoreApplication::processEvents();
        }
        BoardMirror& mirror = console->mirror();
        QTRY_VERIFY_WITH_TIMEOUT(!mirror.image().isNull(), kPatienceMs);
        QCoreApplication::processEvents();
        const QImage pieces = mirror.image();
        mirror.resize(mirror.size() + QSize(1, 0)); // drawn whole again at nearly that scale
        mirror.resize(mirror.size() - QSize(1, 0));
        QTRY_VERIFY_WITH_TIMEOUT(mirror.image().size() == pieces.size(), kPatienceMs);
        mirror.catchUp();
        QCOMPARE(pieces.size(), mirror.image().size());
        // Edges drawn in pieces may blend a little differently; a digit or a field drawn in
        // the wrong place or not at all differs by far more.
        QVERIFY(largestDifference(pieces, mirror.image()) <= 48);
    }

    // A penalty told wrong (the visitors' 12 for a minor, at the wrong moment), then play with
    // two goals, then mended on the console's list: the goals stay, and the clocks are those
    // of the same game typed right the first time.
    void correctingAnEarlierPenaltyKeepsTheGoalsAfterIt() {
        FakeTimeSource rightTime;
        std::unique_ptr<frmScoreBoard> right = newBoard(rightTime);
        const auto play = [](frmScoreBoard& b, FakeTimeSource& clock, const char* penalty,
                             int runFirst) {
            QWidget* keys = b.entryBox(EntryBox::TimeBack);
            const auto run = [&](int seconds) {
                QTest::keyClick(keys, Qt::Key_S);
                for (int i = 0; i < seconds * 10; ++i) {
                    clock.advance(100);
                    emit b.clockTimer().tick();
                }
                QTest::keyClick(keys, Qt::Key_S);
            };
            run(runFirst);
            for (const Stroke& s : strokesOf(QString::fromLatin1(penalty)))
                QTest::keyClick(keys, s.key, s.modifiers);
            run(40 - runFirst);
            for (EntryBox scorer : {EntryBox::VisitorBack, EntryBox::VisitorBack}) {
                QTest::keyClick(b.entryBox(scorer), Qt::Key_Plus);
                QTest::keyClick(b.entryBox(scorer), Qt::Key_1);
                run(20);
            }
        };
        play(*right, rightTime, "^P H 12 J Enter", 20);
        play(*board, time, "^P V 12 M Enter", 10);

        console->refresh();
        auto* list = console->findChild<QListWidget*>(QStringLiteral("lstEvents"));
        QVERIFY(list && list->count() == 3);
        list->setCurrentRow(0);
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CorrectionDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QComboBox*>(QStringLiteral("cmbTeam"))->setCurrentIndex(0);
            dialog->findChild<QComboBox*>(QStringLiteral("cmbKind"))->setCurrentIndex(2);
            dialog->findChild<QLineEdit*>(QStringLiteral("txtClock"))
                ->setText(QStringLiteral("9:40"));
            dialog->accept();
        });
        console->correctSelected(false);
        const BoardState mended = board->logic().state();
        const BoardState typedRight = right->logic().state();
        QCOMPARE(mended.visitor, 2);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(mended.penalties[i].player, typedRight.penalties[i].player);
            QCOMPARE(mended.penalties[i].time, typedRight.penalties[i].time);
        }
        QCOMPARE(board->penaltyAssistant()->assistant().state(),
                 right->penaltyAssistant()->assistant().state());
        QVERIFY2(console->text().contains(QStringLiteral("P1 9:40  penalty H 12 major")),
                 qPrintable(console->text()));
        // Taken out, the penalty leaves the goals as they were told.
        list->setCurrentRow(0);
        console->correctSelected(true);
        QCOMPARE(board->penaltyAssistant()->assistant().told().size(), std::size_t(2));
        QVERIFY(board->logic().state().penalties[0].time.isEmpty());
    }

    void boardKeepsTheSelectionAndTheLineFromTheAudience() {
        auto* marker = board->findChild<QWidget*>(QStringLiteral("shpObjectSelected"));
        QVERIFY(marker);
        QTest::keyClick(console.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!marker->isVisible());
        QVERIFY2(!board->windowTitle().contains(QStringLiteral("Penalties")),
                 qPrintable(board->windowTitle()));
        board->setConsoleOpen(false);
        QVERIFY(marker->isVisible());
        QVERIFY(board->windowTitle().contains(QStringLiteral("penalty")));
    }
};

QTEST_MAIN(ConsoleWindowTest)
#include "ConsoleWindowTest.moc"
