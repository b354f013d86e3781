// The journal on the real board window: Ctrl keys for undo, redo and the sheet; Ctrl with
// any other key reaches the board as the key alone.
#include "journal/BoardJournal.h"
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/SqliteJournalStore.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class BoardJournalTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    std::unique_ptr<SqliteJournalStore> store;
    std::unique_ptr<GameJournal> journal;
    std::unique_ptr<BoardJournal> boardJournal;

    void key(EntryBox box, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        board->entryBox(box)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(board->entryBox(box), k, mods);
    }

  private slots:
    void init() {
        qputenv("PUCKTALLY_JOURNAL_DIR", dir.path().toUtf8());
        settings = Settings();
        settings.StartStopClockKey = 'Z'; // a configured key on a letter Ctrl also uses
        board = std::make_unique<frmScoreBoard>(settings, time);
        store = std::make_unique<SqliteJournalStore>(QDir(dir.path()).filePath("j.sqlite"), 0);
        journal = std::make_unique<GameJournal>(*store, time);
        boardJournal = std::make_unique<BoardJournal>(*board, *journal, *store, settings);
        boardJournal->start();
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
    }
    void cleanup() {
        boardJournal->end();
        boardJournal.reset();
        journal.reset();
        store.reset();
        board.reset();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void ctrlKeys_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("mods");
        QTest::addColumn<int>("home");     // the home score after the key
        QTest::addColumn<bool>("running"); // the clock after the key
        QTest::addColumn<bool>("sheet");   // a sheet was written
        const int ctrl = Qt::ControlModifier;
        // The score was typed 5, then 7.
        QTest::newRow("Ctrl+Z undoes") << int(Qt::Key_Z) << ctrl << 5 << false << false;
        QTest::newRow("Z alone is the configured start key")
            << int(Qt::Key_Z) << 0 << 7 << true << false;
        QTest::newRow("Ctrl+S writes the sheet, starts nothing")
            << int(Qt::Key_S) << ctrl << 7 << false << true;
        QTest::newRow("Ctrl+digit reaches the field as ever")
            << int(Qt::Key_2) << ctrl << 2 << false << false;
        QTest::newRow("Ctrl with an unused letter does what the letter does: nothing")
            << int(Qt::Key_Q) << ctrl << 7 << false << false;
    }
    void ctrlKeys() {
        QFETCH(int, qtKey);
        QFETCH(int, mods);
        QFETCH(int, home);
        QFETCH(bool, running);
        QFETCH(bool, sheet);
        key(EntryBox::HomeBack, Qt::Key_5);
        key(EntryBox::HomeBack, Qt::Key_Return);
        key(EntryBox::HomeBack, Qt::Key_7);
        key(EntryBox::HomeBack, Qt::Key_Return);
        key(EntryBox::HomeBack, Qt::Key(qtKey), Qt::KeyboardModifiers(mods));
        if (qtKey == Qt::Key_2)
            key(EntryBox::HomeBack, Qt::Key_Return);
        QCOMPARE(board->logic().state().home, home);
        QCOMPARE(board->logic().state().clockRunning, running);
        const QStringList sheets =
            QDir(QDir(dir.path()).filePath("sheets")).entryList({"*.html", "*.csv"}, QDir::Files);
        QCOMPARE(sheets.size(), sheet ? 2 : 0);
    }

    // Undo twice and redo with either key: the score steps back and forward.
    void undoRedo_data() {
        QTest::addColumn<int>("redoKey");
        QTest::addColumn<int>("redoMods");
        QTest::newRow("Ctrl+Y") << int(Qt::Key_Y) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Shift+Z")
            << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier);
    }
    void undoRedo() {
        QFETCH(int, redoKey);
        QFETCH(int, redoMods);
        for (Qt::Key k : {Qt::Key_3, Qt::Key_Return, Qt::Key_Plus, Qt::Key_1, Qt::Key_Return})
            key(EntryBox::VisitorBack, k);
        QCOMPARE(board->logic().state().visitor, 4);
        key(EntryBox::VisitorBack, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(board->logic().state().visitor, 3);
        key(EntryBox::VisitorBack, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(board->logic().state().visitor, 0);
        key(EntryBox::VisitorBack, Qt::Key_Z, Qt::ControlModifier); // the start of the game
        QCOMPARE(board->logic().state().visitor, 0);
        key(EntryBox::VisitorBack, Qt::Key(redoKey), Qt::KeyboardModifiers(redoMods));
        QCOMPARE(board->logic().state().visitor, 3);
        QCOMPARE(replayRows(store->rows(journal->game())), board->logic().state());
    }

    // A journal that cannot be written shows in the title, and stays there through the
    // board's own title changes.
    void troubleShowsInTheTitle() {
        boardJournal.reset();
        journal.reset();
        store = std::make_unique<SqliteJournalStore>("/proc/no-such-place/j.sqlite", 0);
        journal = std::make_unique<GameJournal>(*store, time);
        boardJournal = std::make_unique<BoardJournal>(*board, *journal, *store, settings);
        boardJournal->start();
        QVERIFY(board->windowTitle().contains("Game journal not written"));
        board->UpdateLabels(); // rewrites the title, as a resize does
        QVERIFY(board->windowTitle().startsWith("Pucktally - "));
        QVERIFY(board->windowTitle().contains("Game journal not written"));
        key(EntryBox::HomeBack, Qt::Key_4);
        key(EntryBox::HomeBack, Qt::Key_Return);
        QCOMPARE(board->logic().state().home, 4); // the board runs on
    }
};

QTEST_MAIN(BoardJournalTest)
#include "BoardJournalTest.moc"
