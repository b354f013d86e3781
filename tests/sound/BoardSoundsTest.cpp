// The horn and the buzzer as the board drives them, against players that record
// their commands: what plays, what is dropped, and what rewinds.
#include "sound/BoardSounds.h"
#include "settings/Settings.h"
#include "support/RecordingSoundPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What a sound setting points at.
enum class Path { File, Missing, Empty, Folder };

struct SoundCase {
    const char* name;
    Path buzzer;
    Path horn;
    // B buzzer, G horn, b / g the buzzer's / the horn's play finishes, O reopen
    // after the options dialog, U the window unloads, X the board object goes.
    const char* actions;
    const char* commands; // every command after the load's, in order
    int buzzerPlaying;
};

const char* const kLoadBoth = "buzzer File, buzzer Open, horn File, horn Open";

class BoardSoundsTest : public ::testing::TestWithParam<SoundCase> {
  protected:
    QString path(Path p) {
        QFile file(dir.filePath(QStringLiteral("sound.wav")));
        switch (p) {
        case Path::File:
            return file.open(QIODevice::WriteOnly) ? file.fileName() : QString();
        case Path::Missing:
            return dir.filePath(QStringLiteral("gone.wav"));
        case Path::Folder:
            return dir.path();
        case Path::Empty:
            break;
        }
        return QString();
    }

    QTemporaryDir dir;
    QStringList log;
    RecordingSoundPlayer buzzer{QStringLiteral("buzzer"), log};
    RecordingSoundPlayer horn{QStringLiteral("horn"), log};
    BoardSounds sounds{buzzer, horn};
};

TEST_P(BoardSoundsTest, PlayersGetTheCommandsInOrder) {
    const SoundCase& c = GetParam();
    Settings settings;
    settings.BuzzerFile = path(c.buzzer);
    settings.HornFile = path(c.horn);
    sounds.OpenAtLoad(settings);
    const QStringList loaded = log;
    log.clear();

    for (const char* a = c.actions; *a; ++a) {
        switch (*a) {
        case 'B':
            sounds.Buzzer();
            break;
        case 'G':
            sounds.Horn();
            break;
        case 'b':
            buzzer.finishPlay();
            break;
        case 'g':
            horn.finishPlay();
            break;
        case 'O':
            sounds.OpenSounds(settings);
            break;
        case 'U':
            sounds.CloseAtUnload();
            break;
        case 'X':
            sounds.CloseAll();
            break;
        }
    }
    const bool bothFiles = c.buzzer == Path::File && c.horn == Path::File;
    if (bothFiles) {
        EXPECT_EQ(loaded.join(QStringLiteral(", ")).toStdString(), kLoadBoth);
    }
    EXPECT_EQ(log.join(QStringLiteral(", ")).toStdString(), c.commands);
    EXPECT_EQ(sounds.BuzzerPlaying(), c.buzzerPlaying);
}

const SoundCase kCases[] = {
    {"NothingPlaysAtLoad", Path::File, Path::File, "", "", 0},
    {"BuzzerPlays", Path::File, Path::File, "B", "buzzer Play", -1},
    {"SecondBuzzerPressIsDropped", Path::File, Path::File, "BB", "buzzer Play", -1},
    {"ClockAtZeroWhileHornPlaysIsSilent", Path::File, Path::File, "GB", "horn Play", -1},
    {"HornWhileBuzzerPlaysIsSilent", Path::File, Path::File, "BG", "buzzer Play", -1},
    {"FinishedRewindsAndFreesTheBoard", Path::File, Path::File, "Bb",
     "buzzer Play, buzzer Stop, buzzer Prev", 0},
    {"NextRequestPlaysAgainFromTheStart", Path::File, Path::File, "BbB",
     "buzzer Play, buzzer Stop, buzzer Prev, buzzer Play", -1},
    {"EitherFinishClearsTheSharedFlag", Path::File, Path::File, "Gb",
     "horn Play, buzzer Stop, buzzer Prev", 0},
    {"MissingBuzzerIsSilentHornStillWorks", Path::Missing, Path::File, "BG", "horn Play", -1},
    {"EmptyPathsLeaveBothSilent", Path::Empty, Path::Empty, "BG", "", 0},
    {"FolderIsNoSoundFile", Path::Folder, Path::File, "B", "", 0},
    {"ReopenClosesAndOpensBothUntested", Path::Missing, Path::Empty, "OB",
     "buzzer Close, buzzer File, buzzer Open, horn Close, horn File, horn "
     "Open, buzzer Play",
     -1},
    {"UnloadClosesOnlyPlayersWithAFile", Path::File, Path::Missing, "U", "buzzer Close", 0},
    {"BoardObjectGoingClosesBoth", Path::Missing, Path::Missing, "X", "buzzer Close, horn Close",
     0},
};

INSTANTIATE_TEST_SUITE_P(Sounds, BoardSoundsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
