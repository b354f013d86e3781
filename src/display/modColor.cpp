#include "display/modColor.h"

#include "display/BoardLabel.h"
#include "display/ImageBox.h"
#include "display/LedField.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"
#include "settings/Settings.h"

QString controlTypeName(const QWidget* control) {
    if (qobject_cast<const BoardLabel*>(control))
        return QStringLiteral("Label");
    if (qobject_cast<const PictureBox*>(control))
        return QStringLiteral("PictureBox");
    if (qobject_cast<const ShapeWidget*>(control))
        return QStringLiteral("Shape");
    if (qobject_cast<const PolyLED*>(control))
        return QStringLiteral("PolyLED");
    if (qobject_cast<const ImageBox*>(control))
        return QStringLiteral("Image");
    return QString();
}

QString controlName(const QWidget* control) {
    const QString name = control->objectName();
    const qsizetype paren = name.indexOf(QLatin1Char('('));
    return paren < 0 ? name : name.left(paren);
}

void ColorAllControls(QWidget& window, const QStringList& exceptions, const Settings& settings) {
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* control : children) {
        if (exceptions.contains(controlName(control)))
            continue;
        if (auto* label = qobject_cast<BoardLabel*>(control))
            label->setForeColor(settings.BorderColor);
        else if (auto* box = qobject_cast<PictureBox*>(control))
            box->setBackColor(settings.LEDBack);
        else if (auto* shape = qobject_cast<ShapeWidget*>(control))
            shape->setBorderColor(settings.LEDBack);
    }
}

void ColorLedField(const LedField& field, std::int32_t litColor, std::int32_t ledBack) {
    for (PolyLED* cell : field.cells())
        ColorLedField(*cell, litColor, ledBack);
}

void ColorLedField(PolyLED& cell, std::int32_t litColor, std::int32_t ledBack) {
    cell.setBackColor(ledBack);
    cell.setLitColor(litColor);
}
