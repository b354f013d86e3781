#include "display/LedField.h"

#include "display/PolyLED.h"

#include <utility>

LedField::LedField(QString name) : name_(std::move(name)) {}

void LedField::append(PolyLED* cell) {
    if (cell == nullptr) {
        return;
    }
    cell->setNameIndex(name_, Count());
    cells_.push_back(cell);
}

PolyLED* LedField::cell(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return cells_[static_cast<std::size_t>(index)];
}

int LedField::digit(int index) const {
    const PolyLED* c = cell(index);
    return c != nullptr ? c->Caption() : -1;
}

void LedField::setDigit(int index, int value) {
    if (PolyLED* c = cell(index)) {
        c->setCaption(value);
    }
}
