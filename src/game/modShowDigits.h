#pragma once

#include "game/DigitGroup.h"

#include <QString>

// Typed entry of the board's whole-number fields (period, scores, shots, penalty players).
// Keys are collected in one buffer shared by all number fields; the buffer belongs to the
// last field a key arrived for and is dropped when a key arrives for another one. A value
// lives only in the field's digits, so adding to a score reads the digits back. A result
// outside the limits, or one the field's digits cannot show, leaves the field as it was.
class modShowDigits {
  public:
    // Feeds one character code (from KeyCodeToAsci) typed into `field`.
    void EnterNumberKey(DigitGroup& field, int ch, int lower, int upper);

    // Applies `text` to the field: a number ("007" is 7, "12+3" is 12), "+n" or "-n" added
    // to or taken from the current value, or the clear character (code 0), which blanks.
    // An empty text changes nothing.
    static void ShowNumber(DigitGroup& field, const QString& text, int lower, int upper);

    // The field's value as its digits show it: -1 when every digit is blank.
    static int ReadNumber(const DigitGroup& field);

    const QString& NumberEntryText() const { return NumberEntryText_; }
    const QString& NumberEntryField() const { return NumberEntryField_; }

  private:
    QString NumberEntryText_;
    QString NumberEntryField_;
};
