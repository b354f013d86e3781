#pragma once

#include <QString>

// A row of LED digits under one name, as number entry, time entry and the clock see it.
// Element 0 is the units digit, except in the game clock where it is the leftmost digit.
// Each element holds 0 to 9, or -1 when blank.
class DigitGroup {
  public:
    virtual ~DigitGroup() = default;
    virtual QString name() const = 0;
    virtual int ubound() const = 0; // highest element index
    virtual int digit(int index) const = 0;
    virtual void setDigit(int index, int value) = 0; // -1 blanks the element

    int count() const { return ubound() + 1; }
};
