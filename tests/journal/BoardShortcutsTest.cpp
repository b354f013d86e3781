// The board window's own Ctrl keys as the operator meets them: Ctrl with any other letter
// does what the letter alone does, the title tells of a restored game and a written sheet
// for a moment, and Ctrl+N starts a new game after asking.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/BoardJournal.h"
#include "journal/BoardRecord.h"
#include "journal/SqliteJournalStore.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"
#include "support/RecordingSoundPlayer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace {

// A board window with its journal on `file`, its own time and sound players that write down
// what they are told.
struct JournalBoard {
    JournalBoard(const Settings& settings, const QString& file)
        : board(settings, time, std::make_unique<RecordingSoundPlayer>("buzzer", sounds),
                std::make_unique<RecordingSoundPlayer>("horn", sounds)),
          store(file, 0), journal(store, time), boardJournal(board, journal, store, settings) {
        restored = boardJournal.start();
        board.show();
    }
    void key(EntryBox box, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        board.entryBox(box)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(board.entryBox(box), k, mods);
    }
    // Digits and Enter ('\r'), as typed.
    void type(EntryBox box, const char* keys) {
        for (; *keys; ++keys)
            key(box, *keys == '\r' ? Qt::Key_Return : Qt::Key(*keys));
    }
    // Time passes; the running clock ticks once, as the board's timer would.
    void run(int ms) {
        time.advance(ms);
        if (board.clockTimer().isEnabled())
            emit board.clockTimer().tick();
    }
    BoardState state() { return board.logic().state(); }
    QByteArray shown() {
        return QJsonDocument(boardrecord::toRecord(state())).toJson(QJsonDocument::Compact);
    }
    int plays(const char* sound) const {
        return static_cast<int>(
            sounds.filter(QLatin1String(sound) + QLatin1String(" Play")).size());
    }

    QStringList sounds;
    FakeTimeSource time;
    frmScoreBoard board;
    SqliteJournalStore store;
    GameJournal journal;
    BoardJournal boardJournal;
    bool restored = false;
};

Qt::Key letterKey(char letter) {
    return Qt::Key(Qt::Key_A + (letter - 'A'));
}

// Runs `step` on the next message box that opens; one left open after five seconds is closed
// so that a failing test ends.
void whenAsked(std::function<void(QMessageBox*)> step) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, step, waited] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box || ++*waited > 500) {
            timer->stop();
            timer->deleteLater();
            if (box)
                step(box);
        }
    });
    timer->start(10);
}

// The board's keys set onto letters: the start-up keys, keys on letters that are not the
// journal's, and keys on the journal's own letters.
enum KeySet { StartUpKeys, OtherLetters, JournalLetters };

// The sounds are files in `folder`, which the players take without reading.
Settings settingsWith(KeySet set, const QString& folder) {
    Settings s;
    s.BuzzerFile = QDir(folder).filePath(QStringLiteral("buzzer.wav"));
    s.HornFile = QDir(folder).filePath(QStringLiteral("horn.wav"));
    if (set == OtherLetters) {
        s.StartStopClockKey = 'K';
        s.ResetClockKey = 'X';
        s.ClearKey = 'D';
        s.BuzzerKey = 'C';
        s.HornKey = 'H';
    } else if (set == JournalLetters) {
        s.StartStopClockKey = 'Z';
        s.ResetClockKey = 'Y';
        s.BuzzerKey = 'S';
        s.HornKey = 'N';
    }
    return s;
}

} // namespace

class BoardShortcutsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int files = 0;

    QString newFile() {
        return QDir(dir.path()).filePath(QStringLiteral("j%1.sqlite").arg(++files));
    }
    QStringList sheets() const {
        return QDir(QDir(dir.path()).filePath("sheets"))
            .entryList({"*.html", "*.csv"}, QDir::Files);
    }

    // A few minutes of a game, with `letter` pressed in the middle: the clock runs, a penalty
    // and a goal were entered, the goal undone, a player number half typed.
    static void play(JournalBoard& b, const Settings& s, std::optional<QKeyCombination> letter) {
        b.key(EntryBox::TimeBack, Qt::Key(s.StartStopClockKey));
        b.run(3000);
        b.type(EntryBox::PenaltyPH1, "4\r");
        b.type(EntryBox::PenaltyTH1, "2\r");
        b.type(EntryBox::HomeBack, "5\r");
        b.key(EntryBox::HomeBack, Qt::Key_Z, Qt::ControlModifier);
        b.type(EntryBox::PenaltyPH1, "1");
        if (letter)
            b.key(EntryBox::PenaltyPH1, letter->key(), letter->keyboardModifiers());
        b.type(EntryBox::PenaltyPH1, "2\r");
        b.run(2000);
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        qputenv("PUCKTALLY_JOURNAL_DIR", dir.path().toUtf8());
        for (const char* sound : {"buzzer.wav", "horn.wav"}) {
            QFile file(QDir(dir.path()).filePath(sound));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    void cleanup() { QDir(QDir(dir.path()).filePath("sheets")).removeRecursively(); }

    // Ctrl with every letter, against the same game without the key and with the letter alone.
    void ctrlLetter_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<char>("letter");
        QTest::addColumn<bool>("shift");
        const char* names[] = {"start-up keys", "keys on other letters", "keys on Z Y S N"};
        for (int set : {StartUpKeys, OtherLetters, JournalLetters}) {
            for (char c = 'A'; c <= 'Z'; ++c)
                QTest::addRow("Ctrl+%c, %s", c, names[set]) << set << c << false;
            QTest::addRow("Ctrl+Shift+Z, %s", names[set]) << set << 'Z' << true;
        }
    }
    void ctrlLetter() {
        QFETCH(int, set);
        QFETCH(char, letter);
        QFETCH(bool, shift);
        const Settings s = settingsWith(KeySet(set), dir.path());
        const Qt::KeyboardModifiers ctrl =
            shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
        JournalBoard without(s, newFile());
        JournalBoard alone(s, newFile());
        JournalBoard withCtrl(s, newFile());
        play(without, s, std::nullopt);
        play(alone, s, QKeyCombination(letterKey(letter)));
        QString asked;
        if (letter == 'N') {
            whenAsked([&](QMessageBox* box) {
                asked = box->windowTitle() + '|' + box->text();
                QCOMPARE(box->icon(), QMessageBox::Question);
                QTest::keyClick(box, Qt::Key_Return); // No is the default
            });
        }
        play(withCtrl, s, QKeyCombination(ctrl, letterKey(letter)));

        const BoardState before = without.state();
        const BoardState after = withCtrl.state();
        switch (shift ? 'Y' : letter) {
        case 'Z': // undo: the penalty time entered goes, and nothing else changes
            QVERIFY(!before.penalties[0].time.isEmpty());
            QCOMPARE(after.penalties[0].time, QString());
            QCOMPARE(after.clockRunning, before.clockRunning);
            QCOMPARE(after.home, before.home);
            break;
        case 'Y': // redo: the goal comes back, the clock is not reset
            QCOMPARE(after.home, 5);
            QCOMPARE(before.home, 0);
            QCOMPARE(after.clockTenths, before.clockTenths);
            QCOMPARE(after.clockRunning, before.clockRunning);
            break;
        case 'S': // the game sheet, and nothing else
            QCOMPARE(sheets().size(), 2);
            QCOMPARE(withCtrl.shown(), without.shown());
            QCOMPARE(withCtrl.sounds, without.sounds);
            break;
        case 'N': // asked, answered No: nothing changes
            QCOMPARE(asked, QStringLiteral("New Game|Are you sure you want to start a new game?"));
            QCOMPARE(withCtrl.shown(), without.shown());
            QCOMPARE(withCtrl.sounds, without.sounds);
            QCOMPARE(withCtrl.journal.game(), 1);
            break;
        default: // exactly what the letter alone does
            QCOMPARE(withCtrl.shown(), alone.shown());
            QCOMPARE(withCtrl.sounds, alone.sounds);
            QCOMPARE(withCtrl.board.windowTitle(), alone.board.windowTitle());
            QCOMPARE(sheets().size(), 0);
            break;
        }
        if (QByteArray("ZYSN").contains(letter))
            return;

        // What the letter alone did, seen against the game without it.
        const BoardState a = alone.state();
        const int key = letter;
        if (key == s.StartStopClockKey) {
            QCOMPARE(a.clockRunning, !before.clockRunning);
        } else if (key == s.ResetClockKey) {
            QCOMPARE(a.clockTenths, 6000);
            QVERIFY(!a.clockRunning && before.clockRunning);
        } else if (key == s.ClearKey) {
            QCOMPARE(a.penalties[0].time, QString());
            QVERIFY(!before.penalties[0].time.isEmpty());
        } else if (key == s.BuzzerKey) {
            QCOMPARE(alone.plays("buzzer"), without.plays("buzzer") + 1);
        } else if (key == s.HornKey) {
            QCOMPARE(alone.plays("horn"), without.plays("horn") + 1);
        } else {
            QCOMPARE(alone.shown(), without.shown());
            QCOMPARE(alone.sounds, without.sounds);
        }
    }

    // A game left unfinished comes back with a word in the title until the first key; the
    // board's own title changes keep it.
    void restoreNotice_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("firstKey");
        QTest::newRow("clock stood, a digit") << false << QKeyCombination(Qt::Key_7).toCombined();
        QTest::newRow("clock ran, Tab") << true << QKeyCombination(Qt::Key_Tab).toCombined();
        QTest::newRow("clock ran, the start key")
            << true << QKeyCombination(Qt::Key_S).toCombined();
        QTest::newRow("clock stood, Ctrl+Q")
            << false << (Qt::ControlModifier | Qt::Key_Q).toCombined();
    }
    void restoreNotice() {
        QFETCH(bool, running);
        QFETCH(int, firstKey);
        const Settings s;
        const QString file = newFile();
        QStringList times;
        {
            JournalBoard first(s, file);
            QVERIFY(!first.restored);
            QCOMPARE(first.board.windowTitle(), QStringLiteral("Pucktally - Home"));
            times << QDateTime::currentDateTime().toString("hh:mm");
            first.type(EntryBox::VisitorBack, "3\r");
            if (running)
                first.key(EntryBox::TimeBack, Qt::Key_S);
            first.run(1500);
            times << QDateTime::currentDateTime().toString("hh:mm");
        } // the program dies

        JournalBoard again(s, file);
        QVERIFY(again.restored);
        QCOMPARE(again.state().visitor, 3);
        const QString title = again.board.windowTitle();
        QVERIFY2(
            title == "Pucktally - Home \u2014 restored game of " + times[0] + ", clock stopped" ||
                title == "Pucktally - Home \u2014 restored game of " + times[1] + ", clock stopped",
            qPrintable(title));
        again.board.UpdateLabels(); // the board rewrites its title, as on a resize
        QCOMPARE(again.board.windowTitle(), title);

        const QKeyCombination k = QKeyCombination::fromCombined(firstKey);
        again.key(EntryBox::HomeBack, k.key(), k.keyboardModifiers());
        QCOMPARE(again.board.windowTitle(), QStringLiteral("Pucktally - Home"));
        QCOMPARE(again.boardJournal.notice(), QString());
    }

    // Ctrl+N, answered No or Yes, on a game in full swing with a number half typed.
    void newGame_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Enter takes the default, No") << "enter";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("No") << "no";
        QTest::newRow("Yes") << "yes";
    }
    void newGame() {
        QFETCH(QString, answer);
        const bool yes = answer == "yes";
        Settings s;
        const QString file = newFile();
        auto b = std::make_unique<JournalBoard>(s, file);
        const QByteArray fresh = b->shown();
        b->type(EntryBox::PeriodBack, "2");
        b->type(EntryBox::HomeBack, "3\r");
        b->type(EntryBox::ShotsBackV, "12\r");
        b->type(EntryBox::PenaltyPV1, "44\r");
        b->type(EntryBox::PenaltyTV1, "2\r");
        b->type(EntryBox::TimeBack, "15\r");
        b->key(EntryBox::picGoalBack, Qt::Key_Right);
        b->key(EntryBox::TimeBack, Qt::Key_S);
        b->run(4000);
        b->type(EntryBox::VisitorBack, "5"); // not yet entered
        const QByteArray playing = b->shown();
        const int oldGame = b->journal.game();
        QVERIFY(b->state().clockRunning);
        QCOMPARE(b->state().whoGoal, 2);

        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        whenAsked([&](QMessageBox* box) {
            defaultButton = box->standardButton(box->defaultButton());
            if (answer == "enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (answer == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        b->key(EntryBox::VisitorBack, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(defaultButton, QMessageBox::No);

        if (!yes) {
            QCOMPARE(b->shown(), playing);
            QCOMPARE(b->journal.game(), oldGame);
            b->type(EntryBox::VisitorBack, "\r");
            QCOMPARE(b->state().visitor, 5);
            return;
        }
        // The board as it loaded, clock at 10:00 and stopped, lamps out.
        QCOMPARE(b->shown(), fresh);
        QCOMPARE(b->state().clock, QStringLiteral("10:00"));
        QVERIFY(!b->board.clockTimer().isEnabled());
        QVERIFY(b->board.isVisible());
        // The old game ended as a closed window ends it; a new one began.
        const std::vector<GameSummary> games = b->store.games();
        QCOMPARE(games.size(), size_t(2));
        QCOMPARE(games[0].id, oldGame);
        QVERIFY(games[0].endedWallMs != 0);
        QCOMPARE(games[1].id, b->journal.game());
        QCOMPARE(games[1].endedWallMs, 0);
        // Half-typed digits went with the old game.
        b->type(EntryBox::VisitorBack, "\r");
        QCOMPARE(b->state().visitor, 0);
        // Undo does not reach back into the old game.
        b->key(EntryBox::VisitorBack, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b->shown(), fresh);
        b->type(EntryBox::VisitorBack, "1\r");
        QCOMPARE(b->state().visitor, 1);
        QCOMPARE(replayRows(b->store.rows(b->journal.game())), b->state());

        // Killed now, the program starts on the new game: nothing of the old one comes back,
        // and a game that never changed is not announced.
        b->key(EntryBox::HomeBack, Qt::Key_Z, Qt::ControlModifier);
        b.reset();
        JournalBoard again(s, file);
        QCOMPARE(again.shown(), fresh);
        QCOMPARE(again.journal.game(), games[1].id);
        QCOMPARE(again.board.windowTitle(), QStringLiteral("Pucktally - Home"));
    }

    // The sheet's word in the title goes at the next key, or by itself after a few seconds.
    void sheetNotice_data() {
        QTest::addColumn<bool>("waits");
        QTest::newRow("next key") << false;
        QTest::newRow("waits") << true;
    }
    void sheetNotice() {
        QFETCH(bool, waits);
        const Settings settings; // the board keeps a reference: it must outlive the board
        JournalBoard b(settings, newFile());
        b.type(EntryBox::HomeBack, "2\r");
        // When the title last changed, counted from before the key: at least as long as the
        // notice has shown.
        QElapsedTimer shownFor;
        qint64 titleChangedAt = -1;
        QObject watching; // ends the watch before titleChangedAt goes
        connect(&b.board, &QWidget::windowTitleChanged, &watching,
                [&] { titleChangedAt = shownFor.elapsed(); });
        shownFor.start();
        b.key(EntryBox::HomeBack, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(sheets().size(), 2);
        QVERIFY(b.board.windowTitle().startsWith("Pucktally - Home \u2014 Game sheet written: "));
        QVERIFY(b.board.windowTitle().endsWith(".html"));
        if (waits) {
            QTRY_COMPARE_WITH_TIMEOUT(b.board.windowTitle(), QStringLiteral("Pucktally - Home"),
                                      kPatienceMs);
            // Not gone early (a coarse timer may be a little early); a busy machine may run
            // it late.
            QVERIFY2(titleChangedAt >= BoardJournal::kSheetNoticeMs * 9 / 10,
                     QByteArray::number(titleChangedAt));
        } else {
            b.type(EntryBox::HomeBack, "3");
            QCOMPARE(b.board.windowTitle(), QStringLiteral("Pucktally - Home"));
        }
        QCOMPARE(b.state().home, 2);
    }
};

QTEST_MAIN(BoardShortcutsTest)
#include "BoardShortcutsTest.moc"
