#pragma once

#include "game/DigitGroup.h"

#include <QString>

#include <vector>

class PolyLED;

// One digit field of the board as the game logic sees it: the field's LED cells under one
// name, element i being cell i. The cells belong to their parent widgets, not to the field,
// and must outlive it. Reading or writing an element the field does not have does nothing
// (a read gives -1, a blank).
class LedField : public DigitGroup {
  public:
    explicit LedField(QString name);

    // Adds the next element; the cell takes the field's name and its element index.
    // A null cell is ignored.
    void append(PolyLED* cell);

    int Count() const { return static_cast<int>(cells_.size()); }
    int UBound() const { return Count() - 1; }
    PolyLED* cell(int index) const;
    const std::vector<PolyLED*>& cells() const { return cells_; }

    QString name() const override { return name_; }
    int ubound() const override { return UBound(); }
    int digit(int index) const override;
    void setDigit(int index, int value) override;

  private:
    QString name_;
    std::vector<PolyLED*> cells_;
};
