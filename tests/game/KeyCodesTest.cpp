#include "game/KeyCodes.h"

#include <gtest/gtest.h>

#include <Qt>
#include <set>

namespace {

constexpr int kDelete = 46; // the clear key unless a row says otherwise

struct AsciiRow {
    int keyCode;
    int clearKey;
    int expected;
};

// Each group of rows pins one step of the translation and its place in the order.
const AsciiRow kAsciiRows[] = {
    // Space and Enter, also when the clear key is set to them.
    {32, kDelete, ' '},
    {13, kDelete, '\r'},
    {32, 32, ' '},
    {13, 13, '\r'},
    // The clear key, wherever it is.
    {46, kDelete, 0},
    {46, 8, -1},
    {8, 8, 0},
    {65, 65, 0},
    // A clear key on a digit, plus, minus or point key takes that key's character away...
    {53, 53, 0},
    {187, 187, 0},
    {109, 109, 0},
    {190, 190, 0},
    {101, 101, 0},
    // ...but not the other key of the same character.
    {101, 53, '5'},
    {53, 101, '5'},
    {107, 187, '+'},
    {110, 190, '.'},
    // Plus and minus from both keyboards.
    {187, kDelete, '+'},
    {107, kDelete, '+'},
    {189, kDelete, '-'},
    {109, kDelete, '-'},
    // Digits from the numeric pad and the main keyboard.
    {96, kDelete, '0'},
    {100, kDelete, '4'},
    {105, kDelete, '9'},
    {48, kDelete, '0'},
    {52, kDelete, '4'},
    {57, kDelete, '9'},
    // The point from both keyboards.
    {110, kDelete, '.'},
    {190, kDelete, '.'},
    // The numeric pad with NumLock off sends navigation codes: not digits.
    {45, kDelete, -1},
    {35, kDelete, -1},
    {40, kDelete, -1},
    {34, kDelete, -1},
    {37, kDelete, -1},
    {12, kDelete, -1},
    {39, kDelete, -1},
    {36, kDelete, -1},
    {38, kDelete, -1},
    {33, kDelete, -1},
    // Neighbours of the ranges and other keys.
    {47, kDelete, -1},
    {58, kDelete, -1},
    {95, kDelete, -1},
    {106, kDelete, -1},
    {108, kDelete, -1},
    {111, kDelete, -1},
    {188, kDelete, -1},
    {191, kDelete, -1},
    {83, kDelete, -1},
    {112, kDelete, -1},
    {144, kDelete, -1},
    {0, kDelete, -1},
    {-1, kDelete, -1},
    {32767, kDelete, -1},
};

TEST(KeyCodeToAsci, TranslatesEachRowInOrder) {
    for (const AsciiRow& row : kAsciiRows) {
        SCOPED_TRACE(testing::Message() << "key " << row.keyCode << ", clear key " << row.clearKey);
        EXPECT_EQ(KeyCodeToAsci(row.keyCode, row.clearKey), row.expected);
    }
}

TEST(KeyCodeToAsci, GivesOnlyCharactersThatFieldEntryKnows) {
    std::set<int> allowed{-1, 0, '\r', ' ', '+', '-', '.'};
    for (int c = '0'; c <= '9'; ++c)
        allowed.insert(c);
    for (const int clearKey : {-1, 0, 13, 32, 46, 53, 101, 187, 255}) {
        std::set<int> digitsSeen;
        for (int key = -2; key <= 300; ++key) {
            const int ch = KeyCodeToAsci(key, clearKey);
            SCOPED_TRACE(testing::Message() << "key " << key << ", clear key " << clearKey);
            EXPECT_EQ(allowed.count(ch), 1u) << ch;
            if (ch >= '0' && ch <= '9')
                digitsSeen.insert(ch);
        }
        // Whatever the clear key takes, every digit can still be typed somewhere.
        EXPECT_EQ(digitsSeen.size(), 10u) << "clear key " << clearKey;
    }
}

struct QtRow {
    int qtKey;
    bool keypad;
    int expected;
};

const QtRow kQtRows[] = {
    {Qt::Key_A, false, 65},
    {Qt::Key_S, false, 83},
    {Qt::Key_Z, false, 90},
    {Qt::Key_0, false, 48},
    {Qt::Key_7, false, 55},
    {Qt::Key_9, false, 57},
    // The pad's digits while NumLock is on, its navigation keys while it is off.
    {Qt::Key_0, true, 96},
    {Qt::Key_5, true, 101},
    {Qt::Key_9, true, 105},
    {Qt::Key_Insert, true, 45},
    {Qt::Key_End, true, 35},
    {Qt::Key_Down, true, 40},
    {Qt::Key_PageDown, true, 34},
    {Qt::Key_Left, true, 37},
    {Qt::Key_Clear, true, 12},
    {Qt::Key_Right, true, 39},
    {Qt::Key_Home, true, 36},
    {Qt::Key_Up, true, 38},
    {Qt::Key_PageUp, true, 33},
    {Qt::Key_Delete, true, 46},
    {Qt::Key_Enter, true, 13},
    {Qt::Key_Asterisk, true, 106},
    {Qt::Key_Plus, true, 107},
    {Qt::Key_Minus, true, 109},
    {Qt::Key_Period, true, 110},
    {Qt::Key_Comma, true, 110},
    {Qt::Key_Slash, true, 111},
    // The same navigation and editing keys from the main block.
    {Qt::Key_Home, false, 36},
    {Qt::Key_End, false, 35},
    {Qt::Key_PageUp, false, 33},
    {Qt::Key_PageDown, false, 34},
    {Qt::Key_Left, false, 37},
    {Qt::Key_Up, false, 38},
    {Qt::Key_Right, false, 39},
    {Qt::Key_Down, false, 40},
    {Qt::Key_Insert, false, 45},
    {Qt::Key_Delete, false, 46},
    {Qt::Key_F1, false, 112},
    {Qt::Key_F2, false, 113},
    {Qt::Key_F12, false, 123},
    {Qt::Key_F24, false, 135},
    {Qt::Key_Return, false, 13},
    {Qt::Key_Enter, false, 13},
    {Qt::Key_Space, false, 32},
    {Qt::Key_Backspace, false, 8},
    {Qt::Key_Tab, false, 9},
    {Qt::Key_Backtab, false, 9},
    {Qt::Key_Escape, false, 27},
    {Qt::Key_Shift, false, 16},
    {Qt::Key_Control, false, 17},
    {Qt::Key_Alt, false, 18},
    {Qt::Key_Pause, false, 19},
    {Qt::Key_NumLock, false, 144},
    {Qt::Key_CapsLock, false, 20},
    {Qt::Key_ScrollLock, false, 145},
    // Main-keyboard punctuation, shifted or not, by the US layout.
    {Qt::Key_Semicolon, false, 186},
    {Qt::Key_Colon, false, 186},
    {Qt::Key_Equal, false, 187},
    {Qt::Key_Plus, false, 187},
    {Qt::Key_Comma, false, 188},
    {Qt::Key_Less, false, 188},
    {Qt::Key_Minus, false, 189},
    {Qt::Key_Underscore, false, 189},
    {Qt::Key_Period, false, 190},
    {Qt::Key_Greater, false, 190},
    {Qt::Key_Slash, false, 191},
    {Qt::Key_Question, false, 191},
    {Qt::Key_QuoteLeft, false, 192},
    {Qt::Key_AsciiTilde, false, 192},
    {Qt::Key_BracketLeft, false, 219},
    {Qt::Key_BraceLeft, false, 219},
    {Qt::Key_Backslash, false, 220},
    {Qt::Key_Bar, false, 220},
    {Qt::Key_BracketRight, false, 221},
    {Qt::Key_BraceRight, false, 221},
    {Qt::Key_Apostrophe, false, 222},
    {Qt::Key_QuoteDbl, false, 222},
    // Shifted digits are their digit key.
    {Qt::Key_ParenRight, false, 48},
    {Qt::Key_Exclam, false, 49},
    {Qt::Key_At, false, 50},
    {Qt::Key_NumberSign, false, 51},
    {Qt::Key_Dollar, false, 52},
    {Qt::Key_Percent, false, 53},
    {Qt::Key_AsciiCircum, false, 54},
    {Qt::Key_Ampersand, false, 55},
    {Qt::Key_Asterisk, false, 56},
    {Qt::Key_ParenLeft, false, 57},
    // Keys without a code.
    {Qt::Key_F25, false, 0},
    {Qt::Key_VolumeUp, false, 0},
    {Qt::Key_Eacute, false, 0},
    {Qt::Key_unknown, false, 0},
    {Qt::Key_VolumeUp, true, 0},
    {0, false, 0},
    {-1, true, 0},
};

TEST(VirtualKeyFromQt, MapsEachKey) {
    for (const QtRow& row : kQtRows) {
        SCOPED_TRACE(testing::Message()
                     << "Qt key 0x" << std::hex << row.qtKey << (row.keypad ? " on the pad" : ""));
        EXPECT_EQ(virtualKeyFromQt(row.qtKey, row.keypad), row.expected);
    }
}

// What the field entry finally sees of a key pressed on a platform without native codes.
TEST(VirtualKeyFromQt, FeedsFieldEntryLikeTheNativeCodes) {
    const struct {
        int qtKey;
        bool keypad;
        int ch;
    } rows[] = {
        {Qt::Key_3, false, '3'},       {Qt::Key_3, true, '3'},        {Qt::Key_Plus, false, '+'},
        {Qt::Key_Equal, false, '+'},   {Qt::Key_Plus, true, '+'},     {Qt::Key_Minus, false, '-'},
        {Qt::Key_Minus, true, '-'},    {Qt::Key_Period, false, '.'},  {Qt::Key_Period, true, '.'},
        {Qt::Key_Comma, true, '.'},    {Qt::Key_Return, false, '\r'}, {Qt::Key_Enter, true, '\r'},
        {Qt::Key_Space, false, ' '},   {Qt::Key_Delete, false, 0},    {Qt::Key_Delete, true, 0},
        {Qt::Key_Home, true, -1},      {Qt::Key_Clear, true, -1},     {Qt::Key_Asterisk, true, -1},
        {Qt::Key_Percent, false, '5'}, {Qt::Key_S, false, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "Qt key 0x" << std::hex << row.qtKey << (row.keypad ? " on the pad" : ""));
        EXPECT_EQ(KeyCodeToAsci(virtualKeyFromQt(row.qtKey, row.keypad), kDelete), row.ch);
    }
}

} // namespace
