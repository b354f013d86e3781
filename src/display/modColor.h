#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class LedField;
class PolyLED;
class QWidget;
struct Settings;

// The type name the colour scheme and the layout know a control by: "Label", "PictureBox",
// "Shape", "PolyLED", "Image", or an empty text for anything else.
QString controlTypeName(const QWidget* control);

// The name a control shares with the other members of its array ("pledHome" for
// "pledHome(2)").
QString controlName(const QWidget* control);

// Gives every label, picture box and shape under `window` the colour of its type, except
// the controls named in `exceptions`: labels take BorderColor, picture boxes and shape
// borders LEDBack. A control added to the board later is coloured without new code.
void ColorAllControls(QWidget& window, const QStringList& exceptions, const Settings& settings);

// The background and lit colour of every cell of a field, or of a single cell.
void ColorLedField(const LedField& field, std::int32_t litColor, std::int32_t ledBack);
void ColorLedField(PolyLED& cell, std::int32_t litColor, std::int32_t ledBack);
