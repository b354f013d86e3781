#include "board/BoardControls.h"

#include "display/BoardLabel.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"
#include "display/Twips.h"

BoardControl& BoardControls::add(QWidget* widget, ControlType type, const QString& name, int index,
                                 const ControlMetrics& metrics) {
    controls_.push_back(BoardControl{widget, type, name, index, metrics});
    BoardControl& control = controls_.back();
    place(control);
    return control;
}

BoardControl* BoardControls::find(const QWidget* widget) {
    for (BoardControl& c : controls_)
        if (c.widget == widget)
            return &c;
    return nullptr;
}

const BoardControl* BoardControls::find(const QWidget* widget) const {
    return const_cast<BoardControls*>(this)->find(widget);
}

void BoardControls::apply(BoardControl& control, const ControlMetrics& metrics) {
    control.metrics = metrics;
    place(control);
    syncFromWidget(control);
}

void BoardControls::syncFromWidget(BoardControl& control) {
    auto* label = qobject_cast<BoardLabel*>(control.widget);
    if (label && label->autoSize()) {
        control.metrics.Width = pixelsToTwips(label->width());
        control.metrics.Height = pixelsToTwips(label->height());
    }
}

void BoardControls::place(const BoardControl& control) {
    const ControlMetrics& m = control.metrics;
    switch (control.type) {
    case ControlType::PolyLED: {
        auto* cell = static_cast<PolyLED*>(control.widget);
        cell->setSize(m.Size);
        cell->move(twipsToPixels(m.Left), twipsToPixels(m.Top));
        return;
    }
    case ControlType::Label: {
        auto* label = static_cast<BoardLabel*>(control.widget);
        label->setFontSize(m.FontSize);
        if (label->autoSize()) {
            label->move(twipsToPixels(m.Left), twipsToPixels(m.Top));
            return;
        }
        break;
    }
    case ControlType::Shape:
        static_cast<ShapeWidget*>(control.widget)->setBorderWidth(m.BorderWidth);
        break;
    case ControlType::PictureBox:
    case ControlType::Image:
    case ControlType::Other:
        break;
    }
    control.widget->setGeometry(twipsRectToPixels(m.Left, m.Top, m.Width, m.Height));
}
