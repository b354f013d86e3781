// The penalty assistant in the game's journal: Ctrl+Z and Ctrl+Y take a penalty or a goal
// back whole, assistant and board together, and a game that did not end cleanly comes back
// with its penalties.
#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/BoardJournal.h"
#include "journal/GameSheet.h"
#include "journal/SqliteJournalStore.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// One board with its journal on a store in `folder`, the assistant on before the journal
// starts, so a restored game finds it.
struct JournaledBoard {
    Settings settings;
    FakeTimeSource time;
    frmScoreBoard board{settings, time};
    SqliteJournalStore store;
    GameJournal journal{store, time};
    BoardJournal boardJournal{board, journal, store, settings};

    explicit JournaledBoard(const QString& folder)
        : store(QDir(folder).filePath(QStringLiteral("j.sqlite")), 0) {
        board.setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
        boardJournal.start();
        board.show();
    }
    PictureBox* box(EntryBox id) { return board.entryBox(id); }
    void keys(EntryBox id, const char* typed, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClicks(box(id), QString::fromLatin1(typed), mods);
    }
    void penalty(const char* typed) {
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_P, Qt::ControlModifier);
        keys(EntryBox::TimeBack, typed);
        QTest::keyClick(box(EntryBox::TimeBack), Qt::Key_Return);
    }
    void tickAfter(int ms) {
        time.advance(ms);
        emit board.clockTimer().tick();
    }
    BoardState state() { return board.logic().state(); }
};

} // namespace

class PenaltyAssistantJournalTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void init() { qputenv("PUCKTALLY_JOURNAL_DIR", dir.path().toUtf8()); }
    void cleanup() {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void undoAndRedoTakeAPenaltyBackWhole() {
        JournaledBoard b(dir.path());
        b.penalty("v12d");
        QCOMPARE(b.state().penalties[2].player, 12);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.state().penalties[2].player, -1);
        QVERIFY(!b.board.penaltyAssistant()->assistant().boardClocks()[2]);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(b.state().penalties[2].player, 12);
        QCOMPARE(b.state().penalties[2].time, QStringLiteral("4:00"));
        b.boardJournal.end();
    }

    void undoOfAGoalGivesTheMinorBackAndRedoDoesNotScoreTwice() {
        JournaledBoard b(dir.path());
        b.penalty("h7m");
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        for (int i = 0; i < 300; ++i)
            b.tickAfter(100);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        b.keys(EntryBox::VisitorBack, "+1");
        QCOMPARE(b.state().penalties[0].time, QString());
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.state().visitor, 0);
        QCOMPARE(b.state().penalties[0].time, QStringLiteral("1:30"));
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_Space);
        QCOMPARE(b.state().visitor, 1);
        QCOMPARE(b.state().penalties[0].time, QString());
        QCOMPARE(b.board.penaltyAssistant()->assistant().state().skaters(penalties::Team::Home), 5);
        b.boardJournal.end();
    }

    // The assistant draws its penalties afresh at every start and stop of the clock; the sheet
    // still lists the one minor once, with its length.
    void theSheetListsAPenaltyOnceThroughStartsAndStops() {
        JournaledBoard b(dir.path());
        b.penalty("h7m");
        for (int stop = 0; stop < 3; ++stop) {
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            for (int i = 0; i < 14; ++i)
                b.tickAfter(100);
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
        }
        const GameSheet sheet =
            buildSheet({b.journal.game(), 0, 0, 0}, b.store.rows(b.journal.game()));
        QCOMPARE(sheet.penalties.size(), std::size_t(1));
        QCOMPARE(sheet.penalties[0].player, 7);
        QCOMPARE(sheet.penalties[0].lengthTenths, std::int64_t(1200));
        b.boardJournal.end();
    }

    void aGameThatDidNotEndComesBackWithItsPenalties() {
        BoardState before;
        {
            JournaledBoard b(dir.path());
            b.penalty("h7m");
            b.penalty("h8m");
            b.penalty("h9j");
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            for (int i = 0; i < 100; ++i)
                b.tickAfter(100);
            QTest::keyClick(b.box(EntryBox::TimeBack), Qt::Key_S);
            before = b.state();
            // No end: as if the program had been killed.
        }
        JournaledBoard again(dir.path());
        const BoardState after = again.state();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(after.penalties[i].player, before.penalties[i].player);
            QCOMPARE(after.penalties[i].time, before.penalties[i].time);
        }
        QCOMPARE(after.assistant, before.assistant);
        QCOMPARE(after.assistantTenths, before.assistantTenths);
        QVERIFY2(again.board.windowTitle().contains(QStringLiteral("H waits 9 (5:00)")),
                 qPrintable(again.board.windowTitle()));
        again.boardJournal.end();
    }
};

QTEST_MAIN(PenaltyAssistantJournalTest)
#include "PenaltyAssistantJournalTest.moc"
