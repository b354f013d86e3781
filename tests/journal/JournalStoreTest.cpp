#include "JournalHarness.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace journaltest;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A journal with one game of a few events, closed and checkpointed into the main file.
void makeJournal(const QString& folder) {
    JournalHarness h(folder);
    h.type(EntryBox::HomeBack, "4\n");
    h.type(EntryBox::ShotsBackV, "12\n");
}

// What happens to the file before the program starts on it.
struct DamageCase {
    const char* name;
    void (*damage)(const QString& path);
    bool setAside;
};

const DamageCase kDamage[] = {
    {"TextInsteadOfDatabase",
     [](const QString& p) { writeAll(p, QByteArray("home 4, visitor 2\n").repeated(300)); }, true},
    {"TruncatedToHalf",
     [](const QString& p) {
         makeJournal(QFileInfo(p).path());
         const QByteArray b = readAll(p);
         QFile::remove(p + "-wal");
         writeAll(p, b.left(b.size() / 2));
     },
     true},
    {"PagesOverwritten",
     [](const QString& p) {
         makeJournal(QFileInfo(p).path());
         QByteArray b = readAll(p);
         QFile::remove(p + "-wal");
         for (int i = 4096; i < b.size(); i += 7)
             b[i] = static_cast<char>(0xA5);
         writeAll(p, b);
     },
     true},
    {"AnotherProgramsDatabase",
     [](const QString& p) {
         QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
         db.setDatabaseName(p);
         db.open();
         QSqlQuery(db).exec("CREATE TABLE events(x)");
         db.close();
         db = QSqlDatabase();
         QSqlDatabase::removeDatabase("other");
     },
     true},
    {"EmptyFile", [](const QString& p) { writeAll(p, QByteArray()); }, false},
};

class DamagedJournal : public ::testing::TestWithParam<DamageCase> {};

// A damaged journal is kept under another name with every byte, the operator is told once,
// and a fresh journal takes the new game.
TEST_P(DamagedJournal, IsSetAsideAndAFreshOneStarted) {
    const DamageCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("journal.sqlite");
    c.damage(path);
    const QByteArray damaged = readAll(path);

    JournalHarness h(dir.path());
    const QStringList aside = QDir(dir.path()).entryList({"journal.sqlite.damaged-*"}, QDir::Files);
    if (c.setAside) {
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readAll(QDir(dir.path()).filePath(aside[0])), damaged);
        ASSERT_EQ(h.messages.size(), 1);
        EXPECT_TRUE(h.messages[0].contains("damaged")) << h.messages[0].toStdString();
        EXPECT_TRUE(h.messages[0].contains(aside[0])) << h.messages[0].toStdString();
    } else {
        EXPECT_TRUE(aside.isEmpty());
        EXPECT_TRUE(h.messages.isEmpty());
    }
    EXPECT_FALSE(h.restored.has_value());
    h.type(EntryBox::HomeBack, "2\n");
    EXPECT_EQ(replayRows(h.rows()).home, 2);
    EXPECT_EQ(h.journal->pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedJournal, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

// A journal that cannot be written holds the board up in nothing: events wait in memory,
// the operator is told once, and once the folder can be written everything lands in order.
TEST(UnwritableJournal, BoardRunsOnAndTheEventsLandLater) {
    QTemporaryDir dir;
    // A file where the journal's folder should be: nothing can be created under it.
    const QString folder = QDir(dir.path()).filePath("data");
    writeAll(folder, "not a folder");
    JournalHarness h(folder);

    h.type(EntryBox::HomeBack, "1\n");
    h.type(EntryBox::VisitorBack, "2\n");
    h.press(EntryBox::TimeBack, 'S');
    h.run(2000);
    EXPECT_EQ(h.b().number(FieldId::Home), 1);
    EXPECT_GT(h.journal->pending(), 3u);
    EXPECT_FALSE(h.journal->problem().isEmpty());

    QFile::remove(folder);
    h.run(GameJournal::kRetryMs + 200);
    EXPECT_EQ(h.journal->pending(), 0u);
    EXPECT_TRUE(h.journal->problem().isEmpty());
    // Told once when it failed and once (an empty message) when it recovered.
    ASSERT_EQ(h.messages.size(), 2) << h.messages.join("|").toStdString();
    EXPECT_TRUE(h.messages[0].contains("not written"));
    EXPECT_TRUE(h.messages[1].isEmpty());
    EXPECT_EQ(replayRows(h.rows()), h.b().logic.state());
}

} // namespace
