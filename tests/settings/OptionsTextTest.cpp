// Key names, shortened paths, file filters, the key-capture verdict and the name-preview
// size search: what the options dialogs show and decide, without a window.
#include "settings/ChooseKey.h"
#include "settings/FileFilter.h"
#include "settings/FileNameDisplay.h"
#include "settings/KeyNames.h"
#include "settings/PreviewSize.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct KeyNameRow {
    int code;
    const char* name;
};

class KeyNameTest : public ::testing::TestWithParam<KeyNameRow> {};

TEST_P(KeyNameTest, NamesTheKey) {
    EXPECT_EQ(KeyCodeToStr(GetParam().code), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyNameTest,
    ::testing::Values(
        KeyNameRow{8, "Backspace"}, KeyNameRow{13, "Enter"}, KeyNameRow{17, "Ctrl"},
        KeyNameRow{19, "Pause/Break"}, KeyNameRow{33, "Page Up"}, KeyNameRow{34, "Page Down"},
        KeyNameRow{35, "End"}, KeyNameRow{36, "Home"}, KeyNameRow{45, "Insert"},
        KeyNameRow{46, "Delete"}, KeyNameRow{65, "A"}, KeyNameRow{83, "S"}, KeyNameRow{90, "Z"},
        KeyNameRow{106, "Numpad *"}, KeyNameRow{111, "Numpad /"}, KeyNameRow{114, "F3"},
        KeyNameRow{123, "F12"}, KeyNameRow{186, ";"}, KeyNameRow{188, ","}, KeyNameRow{190, "."},
        KeyNameRow{191, "/"}, KeyNameRow{192, "`"}, KeyNameRow{219, "["}, KeyNameRow{220, "\\"},
        KeyNameRow{221, "]"}, KeyNameRow{222, "\""},
        // No name: cannot be chosen.
        KeyNameRow{0, ""}, KeyNameRow{9, ""}, KeyNameRow{16, ""}, KeyNameRow{18, ""},
        KeyNameRow{27, ""}, KeyNameRow{32, ""}, KeyNameRow{37, ""}, KeyNameRow{48, ""},
        KeyNameRow{57, ""}, KeyNameRow{64, ""}, KeyNameRow{91, ""}, KeyNameRow{96, ""},
        KeyNameRow{107, ""}, KeyNameRow{109, ""}, KeyNameRow{110, ""}, KeyNameRow{112, ""},
        KeyNameRow{113, ""}, KeyNameRow{124, ""}, KeyNameRow{144, ""}, KeyNameRow{187, ""},
        KeyNameRow{189, ""}, KeyNameRow{223, ""}, KeyNameRow{-1, ""}));

// ---- shortened paths ----

struct ChopRow {
    const char* what;
    QString path;
    int length;
    QString ownName; // what the file system reports
    QString shown;
};

const QString kMarker = QStringLiteral(" ...") + QDir::separator();

TEST(ChopFileNameTest, ShortensLongPathsToTheirLength) {
    const QString seventy = QString(60, QLatin1Char('a')) + QStringLiteral("buzzer.wav");
    const QString name60 = QString(46, QLatin1Char('n')) + QStringLiteral(".wav");
    const std::vector<ChopRow> rows = {
        {"empty", QString(), 50, QString(), QStringLiteral("[No File Selected]")},
        {"short", QStringLiteral("/opt/horn.wav"), 50, QStringLiteral("horn.wav"),
         QStringLiteral("/opt/horn.wav")},
        {"exactly the length", QString(50, QLatin1Char('x')), 50, QStringLiteral("x"),
         QString(50, QLatin1Char('x'))},
        {"existing file", seventy, 50, QStringLiteral("buzzer.wav"),
         seventy.left(35) + kMarker + QStringLiteral("buzzer.wav")},
        {"missing file", seventy, 50, QString(), seventy.left(45) + kMarker},
        {"name fills the room", QString(20, QLatin1Char('d')) + name60.left(45), 50,
         name60.left(45), kMarker + name60.left(45)},
        {"name longer than the room", QString(20, QLatin1Char('d')) + name60, 50, name60, name60},
    };
    for (const ChopRow& r : rows) {
        const QString own = r.ownName;
        const QString shown = ChopFileName(r.path, r.length, [own](const QString&) { return own; });
        EXPECT_EQ(shown, r.shown) << r.what;
        if (r.path.size() > r.length && r.ownName.size() <= r.length - 5) {
            EXPECT_EQ(shown.size(), r.length) << r.what;
        }
    }
}

TEST(ChopFileNameTest, AsksTheFileSystemForTheOwnName) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QString(60, QLatin1Char('f')));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString existing = QDir::toNativeSeparators(folder + QStringLiteral("/buzzer.wav"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString missing = QDir::toNativeSeparators(folder + QStringLiteral("/horn.wav"));
    EXPECT_EQ(ChopFileName(existing, 50), existing.left(35) + kMarker + "buzzer.wav");
    EXPECT_EQ(ChopFileName(missing, 50), missing.left(45) + kMarker);
}

// ---- file filters ----

TEST(FileFilterTest, BecomesTheToolkitsForm) {
    const std::vector<std::pair<QString, QString>> rows = {
        {QStringLiteral("Sounds *.wav|*.wav"), QStringLiteral("Sounds *.wav (*.wav)")},
        {QStringLiteral("Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg"),
         QStringLiteral("Pictures (*.bmp *.gif *.jpg)")},
        {QStringLiteral("A|*.a|B (*.b)|*.b; *.c"), QStringLiteral("A (*.a);;B (*.b *.c)")},
        {QStringLiteral("no patterns"), QString()},
    };
    for (const auto& [filter, qt] : rows)
        EXPECT_EQ(qtFileFilter(filter), qt) << filter.toStdString();
}

// ---- key capture ----

struct VerdictRow {
    int key;
    int current;
    KeyVerdict verdict;
};

class KeyVerdictTest : public ::testing::TestWithParam<VerdictRow> {};

TEST_P(KeyVerdictTest, TakesOnlyKeysThatCanBeAssigned) {
    EXPECT_EQ(judgeChosenKey(GetParam().key, GetParam().current), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyVerdictTest,
    ::testing::Values(
        VerdictRow{66, 66, KeyVerdict::Accepted}, // the present key again
        VerdictRow{67, 66, KeyVerdict::Accepted},
        VerdictRow{53, 66, KeyVerdict::Refused},  // 5 has no name
        VerdictRow{113, 66, KeyVerdict::Refused}, // F2 opens the options
        VerdictRow{112, 66, KeyVerdict::Refused}, // F1 opens help
        VerdictRow{114, 66, KeyVerdict::Accepted}, VerdictRow{17, 66, KeyVerdict::Accepted},
        VerdictRow{16, 66, KeyVerdict::Refused}, VerdictRow{18, 66, KeyVerdict::Refused},
        VerdictRow{0, 66, KeyVerdict::Refused},
        // A present key without a name is still taken back.
        VerdictRow{53, 53, KeyVerdict::Accepted}, VerdictRow{113, 113, KeyVerdict::Accepted}));

TEST(ChooseKeyTest, PromptAndChosenKeyText) {
    EXPECT_EQ(chooseKeyPrompt(QStringLiteral("sound the buzzer")),
              QStringLiteral("Press the key you would like to sound the buzzer."));
    const std::vector<std::pair<QString, int>> rows = {
        {QStringLiteral("66"), 66}, {QStringLiteral("0"), 0},     {QString(), 0},
        {QStringLiteral("x"), 0},   {QStringLiteral("70000"), 0}, {QStringLiteral("222"), 222}};
    for (const auto& [text, code] : rows)
        EXPECT_EQ(chosenKeyCode(text), code) << text.toStdString();
}

// ---- name previews ----

TEST(PreviewSizeTest, LargestSizeThatFitsOr9) {
    const std::vector<std::pair<int, int>> rows = {{60, 60}, {24, 24}, {10, 10}, {9, 9}, {0, 9}};
    for (const auto& [fitsFrom, expected] : rows) {
        std::vector<int> tried;
        const int size = findPreviewSize([&, fitsFrom = fitsFrom](int points) {
            tried.push_back(points);
            return points <= fitsFrom;
        });
        EXPECT_EQ(size, expected) << fitsFrom;
        EXPECT_EQ(tried.front(), 60);
        EXPECT_EQ(tried.back(), std::max(expected, 10));
    }
}

} // namespace
