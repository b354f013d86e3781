#include "display/ShapeWidget.h"

#include "display/Colors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::setFillColor(std::int32_t bgr) {
    bgr = maskBgr(bgr);
    if (bgr != fillBgr_) {
        fillBgr_ = bgr;
        update();
    }
}

void ShapeWidget::setFilled(bool solid) {
    if (solid != filled_) {
        filled_ = solid;
        update();
    }
}

void ShapeWidget::setBorderColor(std::int32_t bgr) {
    bgr = maskBgr(bgr);
    if (bgr != borderBgr_) {
        borderBgr_ = bgr;
        update();
    }
}

void ShapeWidget::setBorderWidth(double pixels) {
    if (!std::isfinite(pixels)) {
        pixels = 1.0;
    }
    if (pixels != borderWidth_) {
        borderWidth_ = pixels;
        update();
    }
}

void ShapeWidget::setBorderVisible(bool visible) {
    if (visible != borderVisible_) {
        borderVisible_ = visible;
        update();
    }
}

int ShapeWidget::drawnBorderWidth() const {
    if (!borderVisible_) {
        return 0;
    }
    // A border wider than half the shape would only fill it: it is capped there.
    const int cap = std::max(1, std::min(width(), height()) / 2);
    const double rounded = std::round(std::min(borderWidth_, static_cast<double>(cap)));
    return std::max(1, static_cast<int>(rounded));
}

QPainterPath ShapeWidget::outline(const QRectF& box, double inset) const {
    QPainterPath path;
    QRectF r = box.adjusted(inset, inset, -inset, -inset);
    if (r.width() <= 0.0 || r.height() <= 0.0) {
        return path;
    }
    switch (kind_) {
    case Kind::Rectangle:
        path.addRect(r);
        break;
    case Kind::RoundedRectangle: {
        // The corner follows the outer one, so the border keeps its width round the bend.
        const double outer = std::min(std::min(box.width(), box.height()) / 6.0,
                                      std::max(box.width(), box.height()) / 16.0);
        const double radius = std::max(0.0, outer - inset);
        path.addRoundedRect(r, radius, radius);
        break;
    }
    case Kind::Oval:
    case Kind::Circle:
        path.addEllipse(r);
        break;
    }
    return path;
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    const int border = drawnBorderWidth();
    if (!filled_ && border == 0) {
        return;
    }
    QPainter painter(this);
    // Straight edges on whole pixels are sharpest without smoothing.
    painter.setRenderHint(QPainter::Antialiasing, kind_ != Kind::Rectangle);
    // A circle is the largest one centred in the rectangle: its box is the centred square.
    QRectF frame(rect());
    if (kind_ == Kind::Circle) {
        const double side = std::min(frame.width(), frame.height());
        frame =
            QRectF(frame.center().x() - side / 2.0, frame.center().y() - side / 2.0, side, side);
    }
    const QPainterPath outer = outline(frame, 0.0);
    if (filled_) {
        painter.fillPath(outer, colorFromBgr(fillBgr_));
    }
    if (border > 0) {
        QPainterPath ring = outer;
        ring.addPath(outline(frame, border));
        ring.setFillRule(Qt::OddEvenFill);
        painter.fillPath(ring, colorFromBgr(borderBgr_));
    }
}
