#include "settings/QtSettingsStore.h"
#include "settings/AbandonedLock.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QMap>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Points the per-user INI store at a fresh temporary folder, so that no test ever reads or
// writes the real user's settings.
class QtSettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        useFolder(dir_.path());
    }

    static void useFolder(const QString& folder) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    }

    QString iniPath(const QString& application = kSettingsApplication) const {
        return dir_.filePath(application + QStringLiteral(".ini"));
    }

    // The INI file as section -> key -> raw text, exactly as it lies on disk.
    QMap<QString, QMap<QString, QString>> readIni() const {
        QFile file(iniPath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QMap<QString, QMap<QString, QString>> sections;
        QString section;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                section = line.mid(1, line.size() - 2);
                sections[section];
            } else if (const int eq = line.indexOf(QLatin1Char('=')); eq > 0) {
                sections[section].insert(line.left(eq), line.mid(eq + 1));
            }
        }
        return sections;
    }

    QTemporaryDir dir_;
};

TEST_F(QtSettingsStoreTest, MissingEntriesGiveTheDefaultAndEmptyTextsStayEmpty) {
    QtSettingsStore store;
    EXPECT_EQ(store.get(kSettingsApplication, QStringLiteral("PicSettings"),
                        QStringLiteral("HomePic"), QStringLiteral("none")),
              QStringLiteral("none"));
    store.save(kSettingsApplication, QStringLiteral("PicSettings"), QStringLiteral("HomePic"),
               QString());
    EXPECT_EQ(store.get(kSettingsApplication, QStringLiteral("PicSettings"),
                        QStringLiteral("HomePic"), QStringLiteral("none")),
              QString());
    EXPECT_EQ(store.get(kSettingsApplication, QStringLiteral("TextSettings"),
                        QStringLiteral("HomePic"), QStringLiteral("none")),
              QStringLiteral("none"));
}

TEST_F(QtSettingsStoreTest, TextsRoundTripExactlyThroughTheFileAlone) {
    const std::vector<QString> texts = {
        QStringLiteral("0"),
        QStringLiteral("-1"),
        QStringLiteral("24"),
        QStringLiteral("true"),
        QStringLiteral("C:\\Program Files\\Puck, Tally\\buzzer.wav"),
        QStringLiteral("\\\\server\\share\\horn.wav"),
        QStringLiteral("/home/ref/Sounds, old/horn.wav"),
        QStringLiteral("  padded  "),
        QStringLiteral("\"quoted\""),
        QStringLiteral("semi;colon #hash =equals"),
        QStringLiteral("@Invalid()"),
        QStringLiteral("@Variant(abc)"),
        QStringLiteral("Eisbären Zürich"),
        QStringLiteral("[not a section]"),
    };
    {
        QtSettingsStore store;
        for (std::size_t i = 0; i < texts.size(); ++i)
            store.save(kSettingsApplication, QStringLiteral("TextSettings"),
                       QStringLiteral("Key%1").arg(i), texts[i]);
    }
    // A copy of the file in another folder: only what reached the disk can come back.
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    ASSERT_TRUE(QFile::copy(iniPath(), other.filePath(QStringLiteral("PuckTally.ini"))));
    useFolder(other.path());
    QtSettingsStore reopened;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        EXPECT_EQ(reopened.get(kSettingsApplication, QStringLiteral("TextSettings"),
                               QStringLiteral("Key%1").arg(i), QStringLiteral("missing")),
                  texts[i]);
    }
}

TEST_F(QtSettingsStoreTest, SavedSettingsLieInTheIniFileAsPlainText) {
    {
        QtSettingsStore store;
        Settings settings;
        settings.BuzzerFile = QStringLiteral("/opt/pucktally/buzzer.wav");
        SaveSettings(settings, store);
    }
    const auto ini = readIni();
    EXPECT_EQ(ini.keys(),
              (QStringList{QStringLiteral("ColorSettings"), QStringLiteral("KeySettings"),
                           QStringLiteral("PicSettings"), QStringLiteral("TextSettings")}));
    EXPECT_EQ(ini[QStringLiteral("ColorSettings")].size(), 10);
    EXPECT_EQ(ini[QStringLiteral("KeySettings")].size(), 8);
    EXPECT_EQ(ini[QStringLiteral("TextSettings")].size(), 3);
    EXPECT_EQ(ini[QStringLiteral("PicSettings")].size(), 4);
    EXPECT_EQ(ini[QStringLiteral("ColorSettings")][QStringLiteral("TimeColor")],
              QStringLiteral("255"));
    EXPECT_EQ(ini[QStringLiteral("ColorSettings")][QStringLiteral("ScoreColor")],
              QStringLiteral("33023"));
    EXPECT_EQ(ini[QStringLiteral("ColorSettings")][QStringLiteral("LEDSelectedWidth")],
              QStringLiteral("0"));
    EXPECT_EQ(ini[QStringLiteral("KeySettings")][QStringLiteral("StartStopClockKey")],
              QStringLiteral("83"));
    EXPECT_EQ(ini[QStringLiteral("KeySettings")][QStringLiteral("BuzzerFile")],
              QStringLiteral("/opt/pucktally/buzzer.wav"));
    EXPECT_EQ(ini[QStringLiteral("TextSettings")][QStringLiteral("HomeText")],
              QStringLiteral("Home"));
    EXPECT_EQ(ini[QStringLiteral("TextSettings")][QStringLiteral("TeamSize")],
              QStringLiteral("24"));
    EXPECT_EQ(ini[QStringLiteral("PicSettings")][QStringLiteral("LEDType")], QStringLiteral("0"));
    EXPECT_EQ(ini[QStringLiteral("PicSettings")][QStringLiteral("BoardPic")], QString());
}

TEST_F(QtSettingsStoreTest, FirstStartWritesOnlyTheKeysAndTheMarker) {
    {
        QtSettingsStore store;
        Settings settings;
        LoadSettings(settings, store, QStringLiteral("/opt/pucktally"));
    }
    const auto ini = readIni();
    ASSERT_EQ(ini.keys(), QStringList{QStringLiteral("KeySettings")});
    const QMap<QString, QString> expected = {
        {QStringLiteral("StartStopClockKey"), QStringLiteral("83")},
        {QStringLiteral("ResetClockKey"), QStringLiteral("82")},
        {QStringLiteral("ClearKey"), QStringLiteral("46")},
        {QStringLiteral("BuzzerKey"), QStringLiteral("66")},
        {QStringLiteral("HornKey"), QStringLiteral("71")},
        {QStringLiteral("IsKeyCode"), QStringLiteral("Yes")},
    };
    EXPECT_EQ(ini[QStringLiteral("KeySettings")], expected);
}

// A start after a crash comes up at once: a lock file that nobody holds beside the store is
// cleared, not waited out.
TEST_F(QtSettingsStoreTest, AnAbandonedLockFileDoesNotHoldTheFirstStartUp) {
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty, from a kill while it was taken", QByteArray()},
        {"half written", QByteArray("12")},
        {"not a lock at all", QByteArray("\xff\xfe garbage\n\n")},
        {"naming this process's id", self + "\nPuckTally\n" + host + "\n"},
        {"naming a process that has ended", "999999999\nPuckTally\n" + host + "\n"},
    };
    for (const auto& [name, content] : rows) {
        SCOPED_TRACE(name);
        QFile::remove(iniPath());
        QFile lock(iniPath() + QStringLiteral(".lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();
        QElapsedTimer clock;
        clock.start();
        {
            QtSettingsStore store;
            Settings settings;
            LoadSettings(settings, store, QStringLiteral("/opt/pucktally"));
        }
        // Not held up by the lock, whose own wait is 30 s: anything shorter rules that out.
        EXPECT_LT(clock.elapsed(), 25'000);
        EXPECT_EQ(readIni()[QStringLiteral("KeySettings")][QStringLiteral("IsKeyCode")],
                  QStringLiteral("Yes"));
        EXPECT_FALSE(QFile::exists(lock.fileName()));
    }
}

TEST_F(QtSettingsStoreTest, ALockThatALivingProcessHoldsIsLeftAlone) {
    const QString path = dir_.filePath(QStringLiteral("held.lock"));
    QLockFile held(path);
    ASSERT_TRUE(held.tryLock(0));
    EXPECT_FALSE(removeAbandonedLock(path));
    EXPECT_TRUE(QFile::exists(path));
    held.unlock();
    EXPECT_FALSE(removeAbandonedLock(path)); // nothing left to remove
}

TEST_F(QtSettingsStoreTest, RecordSurvivesAStoreOnDisk) {
    Settings saved;
    saved.TimeColor = 65280;
    saved.HornKey = 72;
    saved.BuzzerFile = QStringLiteral("C:\\Sounds, old\\buzz.wav");
    saved.HomeText = QStringLiteral("Red, Blue");
    saved.TeamSize = 365000;
    saved.LEDType = 1;
    {
        QtSettingsStore store;
        Settings first;
        LoadSettings(first, store, QStringLiteral("/opt/pucktally"));
        SaveSettings(saved, store);
    }
    QtSettingsStore store;
    Settings loaded;
    LoadSettings(loaded, store, QStringLiteral("/elsewhere"));
    EXPECT_EQ(loaded.TimeColor, 65280);
    EXPECT_EQ(loaded.HornKey, 72);
    EXPECT_EQ(loaded.BuzzerFile, saved.BuzzerFile);
    EXPECT_EQ(loaded.HornFile, saved.HornFile);
    EXPECT_EQ(loaded.HomeText, saved.HomeText);
    EXPECT_EQ(loaded.TeamSize, 365000);
    EXPECT_EQ(loaded.LEDType, 1);
}

TEST_F(QtSettingsStoreTest, HandEditedFileIsReadSoundly) {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write("[ColorSettings]\nTimeColor=abc\nFormBack=255\n"
               "[TextSettings]\nHomeText=Red, Blue\nTeamSize=24.5\n"
               "[KeySettings]\nIsKeyCode=Yes\nHornKey=99999\nBuzzerKey= 72 \n");
    file.close();

    QtSettingsStore store;
    Settings s;
    LoadSettings(s, store, QStringLiteral("/opt/pucktally"));
    EXPECT_EQ(s.TimeColor, Settings{}.TimeColor);
    EXPECT_EQ(s.FormBack, 255);
    EXPECT_EQ(s.LEDSelected, 255);
    EXPECT_EQ(s.HomeText, QStringLiteral("Red, Blue"));
    EXPECT_EQ(s.TeamSize, 245000);
    EXPECT_EQ(s.HornKey, Settings{}.HornKey);
    EXPECT_EQ(s.BuzzerKey, 72);
}

TEST_F(QtSettingsStoreTest, TheApplicationNameChoosesTheFile) {
    QtSettingsStore store;
    store.save(QStringLiteral("OtherBoard"), QStringLiteral("TextSettings"),
               QStringLiteral("HomeText"), QStringLiteral("Elsewhere"));
    EXPECT_TRUE(QFile::exists(iniPath(QStringLiteral("OtherBoard"))));
    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_EQ(store.get(kSettingsApplication, QStringLiteral("TextSettings"),
                        QStringLiteral("HomeText"), QStringLiteral("Home")),
              QStringLiteral("Home"));
    EXPECT_EQ(store.get(QStringLiteral("OtherBoard"), QStringLiteral("TextSettings"),
                        QStringLiteral("HomeText"), QStringLiteral("Home")),
              QStringLiteral("Elsewhere"));
}

// A lock that names this very process in every detail, as QLockFile writes it, is left by an
// earlier run that had the same process id and was killed mid-write: this program holds no
// lock between writes. The next write removes it and goes on at once instead of waiting for
// the lock to age.
TEST_F(QtSettingsStoreTest, ALockNamingThisVeryProcessDoesNotHoldTheNextWrite) {
    const QString lockPath = iniPath() + QStringLiteral(".lock");
    QByteArray content;
    {
        QLockFile own(lockPath);
        ASSERT_TRUE(own.tryLock(0));
        QFile file(lockPath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    } // unlocked: the file is gone
    QFile left(lockPath);
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(content);
    left.close();
    // Qt itself takes it for a living lock of this process.
    QLockFile probe(lockPath);
    ASSERT_FALSE(probe.tryLock(0));

    QElapsedTimer clock;
    clock.start();
    QtSettingsStore store;
    store.save(kSettingsApplication, QStringLiteral("TextSettings"), QStringLiteral("HomeText"),
               QStringLiteral("Otters"));
    // Not held up by the lock, whose own wait is 30 s: anything shorter rules that out.
    EXPECT_LT(clock.elapsed(), 25'000);
    EXPECT_EQ(readIni()[QStringLiteral("TextSettings")][QStringLiteral("HomeText")],
              QStringLiteral("Otters"));
    EXPECT_FALSE(QFile::exists(lockPath));
}

} // namespace
