#pragma once

#include <QString>
#include <cstdint>

// What the options dialog and the key-capture dialog hand each other: the action words
// and the action's present key going in, the chosen key coming back as decimal text ("0"
// when the window was closed without a key). Program-wide; rewritten before each capture.
struct ChooseKeyExchange {
    QString ChooseKeyAction;
    std::int16_t ChooseKeyCurrent = 0;
    QString ChosenKey = QStringLiteral("0");
};
ChooseKeyExchange& chooseKeyExchange();

// The prompt of the key-capture window for the action words.
QString chooseKeyPrompt(const QString& action);

// Whether a pressed key is taken for the action. The action's present key is always taken
// again; otherwise a key without a name, F1 (help) and F2 (options) are refused.
enum class KeyVerdict { Accepted, Refused };
KeyVerdict judgeChosenKey(int keyCode, int currentKey);

// The key code in ChosenKey, 0 for "0" and for any text that is not a 16-bit number.
std::int16_t chosenKeyCode(const QString& chosenKey);
