#pragma once

#include "game/DigitGroup.h"

#include <QString>
#include <vector>

// A digit group held in memory; new digits show 0 like a new LED cell.
class MemoryDigitGroup final : public DigitGroup {
  public:
    MemoryDigitGroup(QString name, int count, int start = 0)
        : name_(std::move(name)), digits_(count, start) {}
    QString name() const override { return name_; }
    int ubound() const override { return static_cast<int>(digits_.size()) - 1; }
    int digit(int index) const override { return digits_.at(index); }
    void setDigit(int index, int value) override { digits_.at(index) = value; }

    std::vector<int> digits() const { return digits_; }

  private:
    QString name_;
    std::vector<int> digits_;
};
