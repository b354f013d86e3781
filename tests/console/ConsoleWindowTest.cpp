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
#include <QMap>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// "Tab", "Enter", "Esc", "^P" (Ctrl+P), or characters typed one by one.
QList<Stroke> strokesOf(const QString& word) {
    static const QMap<QString, Stroke> kNamed{{"Tab", {Qt::Key_Tab}},
                                              {"Enter", {Qt::Key_Return}},
                                              {"Esc", {Qt::Key_Escape}},
                                              {"^P", {Qt::Key_P, Qt::ControlModifier}}};
    if (kNamed.contains(word))
        return {kNamed.value(word)};
    QList<Stroke> out;
    for (QChar c : word)
        out.append(Stroke{static_cast<Qt::Key>(c.toUpper().unicode())});
    return out;
}

// Types `keys` into `into`, or into the board's focused box; "~N" runs N seconds of ticks.
void type(frmScoreBoard& b, FakeTimeSource& clock, const QString& keys, QWidget* into = nullptr) {
    for (const QString& word : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.startsWith(QLatin1Char('~'))) {
            for (int i = 0; i < word.mid(1).toInt() * 10; ++i) {
                clock.advance(100);
                emit b.clockTimer().tick();
                QCoreApplication::processEvents();
            }
            continue;
        }
        for (const Stroke& s : strokesOf(word))
            QTest::keyClick(into ? into : b.keyTarget(), s.key, s.modifiers);
    }
}

// The share of pixels, in percent, whose colour differs by more than a blend of edges does.
double percentDiffering(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                if (std::abs(int((a.pixel(x, y) >> shift) & 0xff) -
                             int((b.pixel(x, y) >> shift) & 0xff)) > 48) {
                    ++differing;
                    break;
                }
    return 100.0 * differing / std::max(1, a.width() * a.height());
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
        const char* const kRows[][3] = {
            {"a score, after Tab", "Tab 3 Enter", "Selected: Home score"},
            {"typing shows before Enter", "Tab Tab 12", "typing: 12"},
            {"a typed time", "5.30 Enter", "Selected: Game clock"},
            {"the clock started", "S", "Selected: Game clock"},
            {"a penalty, its bench and strength", "^P V 12 M Enter", "Clock 1: 12 minor 2:00"},
            {"the power play", "^P V 12 M Enter ^P V 7 J Enter", "5 on 3, PP H 2:00"},
            {"a third penalty waits", "^P H 4 M Enter ^P H 5 M Enter ^P H 6 D Enter",
             "Waits: 6 double minor 4:00"},
            {"a misconduct", "^P H 9 C Enter", "Misconduct: 9, 10:00 left"},
            // 4 and 5 end together: one clock frees, 4 (given first) leaves, 5 is held.
            {"a player held by a delayed penalty",
             "^P H 4 M Enter ^P H 5 M Enter ^P H 6 M Enter S ~121",
             "Held: 5, time up: leaves at the next stoppage"},
            {"coincident time up waits for the stoppage", "^P H 4 M Enter ^P V 5 M Enter S ~121",
             "Coincident: 4, time up: leaves at the next stoppage"},
            {"the penalty being typed", "^P H 2", "penalty H 2"},
            {"Escape drops it", "^P H 2 Esc", "Ctrl+P gives a penalty"},
            {"a goal on the list", "Tab Tab + 1", "P1 10:00  goal V"},
        };
        for (const auto& row : kRows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2]);
    }
    void keysTypedInTheConsoleActOnTheBoard() {
        QFETCH(QString, keys);
        QFETCH(QString, shows);
        FakeTimeSource plainTime;
        std::unique_ptr<frmScoreBoard> plain = newBoard(plainTime);
        QVERIFY(QTest::qWaitForWindowActive(plain.get(), kPatienceMs));
        plain->entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
        type(*board, time, keys, console.get());
        type(*plain, plainTime, keys);
        QVERIFY(board->logic().state() == plain->logic().state());
        QCOMPARE(board->keyTarget()->objectName(), plain->focusWidget()->objectName());
        console->refresh();
        QVERIFY2(console->text().contains(shows), qPrintable(console->text()));
    }

    // The copy is drawn piece by piece as the board repaints; it must stay what a whole
    // drawing of the board at that scale is.
    void mirrorIsTheBoardsOwnDrawing() {
        console->resize(900, 700);
        type(*board, time, "^P V 12 M Enter Tab 3 Enter S ~3", console.get());
        BoardMirror& mirror = console->mirror();
        QTRY_VERIFY_WITH_TIMEOUT(!mirror.image().isNull(), kPatienceMs);
        QCoreApplication::processEvents();
        // The board drawn whole by the toolkit and scaled: what the copy must look like.
        const QImage whole =
            board->grab()
                .toImage()
                .convertToFormat(QImage::Format_RGB32)
                .scaled(mirror.image().size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Edges drawn in pieces blend a little differently; a digit or a field drawn in the
        // wrong place, late or not at all differs by far more.
        const double differing = percentDiffering(mirror.image(), whole);
        QVERIFY2(differing < 0.5, qPrintable(QString::number(differing)));
    }

    // A penalty told wrong (the visitors' 12 for a minor, at the wrong moment), then play with
    // two goals, then mended on the console's list: the goals stay, and the clocks are those
    // of the same game typed right the first time.
    void correctingAnEarlierPenaltyKeepsTheGoalsAfterIt() {
        FakeTimeSource rightTime;
        std::unique_ptr<frmScoreBoard> right = newBoard(rightTime);
        const QString goals = QStringLiteral(" Tab Tab + 1 S ~20 S + 1 S ~20 S");
        type(*right, rightTime, "S ~20 S ^P H 12 J Enter S ~20 S" + goals);
        type(*board, time, "S ~10 S ^P V 12 M Enter S ~30 S" + goals);

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
