// Key names, shortened paths and file filters as the options dialog shows and uses them.
#include "options/FileFilter.h"
#include "options/FileNameDisplay.h"
#include "options/KeyNames.h"

#include <QDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(KeyNameTest, NamesTheKeysThatCanBeAssigned) {
    const std::vector<std::pair<int, const char*>> rows = {
        {8, "Backspace"},
        {13, "Enter"},
        {17, "Ctrl"},
        {19, "Pause/Break"},
        {33, "Page Up"},
        {34, "Page Down"},
        {35, "End"},
        {36, "Home"},
        {45, "Insert"},
        {46, "Delete"},
        {65, "A"},
        {90, "Z"},
        {106, "Numpad *"},
        {111, "Numpad /"},
        {114, "F3"},
        {123, "F12"},
        {186, ";"},
        {188, ","},
        {190, "."},
        {191, "/"},
        {192, "`"},
        {219, "["},
        {220, "\\"},
        {221, "]"},
        {222, "\""},
        // Without a name: digits, Tab, Shift, Alt, Escape, space, arrows, keypad digits and
        // signs, F1, F2, F13, NumLock, the main keyboard's plus and minus.
        {0, ""},
        {9, ""},
        {16, ""},
        {18, ""},
        {27, ""},
        {32, ""},
        {37, ""},
        {48, ""},
        {57, ""},
        {64, ""},
        {91, ""},
        {96, ""},
        {107, ""},
        {109, ""},
        {110, ""},
        {112, ""},
        {113, ""},
        {124, ""},
        {144, ""},
        {187, ""},
        {189, ""},
        {223, ""},
        {-1, ""}};
    for (const auto& [code, name] : rows)
        EXPECT_EQ(KeyCodeToStr(code), QString::fromUtf8(name)) << code;
}

TEST(ChopFileNameTest, ShortensLongPathsToTheirLength) {
    const QString marker = QStringLiteral(" ...") + QDir::separator();
    const QString seventy = QString(60, QLatin1Char('a')) + QStringLiteral("buzzer.wav");
    const QString name50 = QString(46, QLatin1Char('n')) + QStringLiteral(".wav");
    const QString dirs(20, QLatin1Char('d'));
    struct Row {
        const char* what;
        QString path, ownName, shown;
    };
    const std::vector<Row> rows = {
        {"empty", {}, {}, QStringLiteral("[No File Selected]")},
        {"fits", QString(50, QLatin1Char('x')), "x", QString(50, QLatin1Char('x'))},
        {"existing file", seventy, "buzzer.wav", seventy.left(35) + marker + "buzzer.wav"},
        {"missing file", seventy, {}, seventy.left(45) + marker},
        {"name fills the room", dirs + name50.left(45), name50.left(45), marker + name50.left(45)},
        {"name longer than the room", dirs + name50, name50, name50},
    };
    for (const Row& r : rows) {
        const QString own = r.ownName;
        EXPECT_EQ(ChopFileName(r.path, 50, [own](const QString&) { return own; }), r.shown)
            << r.what;
    }
}

TEST(FileFilterTest, BecomesTheToolkitsForm) {
    const std::vector<std::pair<QString, QString>> rows = {
        {"Sounds *.wav|*.wav", "Sounds *.wav (*.wav)"},
        {"Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg", "Pictures (*.bmp *.gif *.jpg)"},
        {"A|*.a|B (*.b)|*.b; *.c", "A (*.a);;B (*.b *.c)"},
        {"no patterns", ""}};
    for (const auto& [filter, qt] : rows)
        EXPECT_EQ(qtFileFilter(filter), qt) << filter.toStdString();
}

} // namespace
