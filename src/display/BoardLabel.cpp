#include "display/BoardLabel.h"

#include "display/Colors.h"
#include "display/Fonts.h"
#include "display/Twips.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwipsPerPoint = 20.0;
// Far beyond any board; keeps the pixel size a sane integer.
constexpr double kMaxPoints = 10000.0;

} // namespace

BoardLabel::BoardLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    QFont f = font();
    f.setFamily(sansFamily());
    f.setPixelSize(pixelSizeFor(fontSize_));
    setFont(f);
    setForeColor(foreBgr_);
    QLabel::setText(text);
}

void BoardLabel::setForeColor(std::int32_t bgr) {
    foreBgr_ = maskBgr(bgr);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colorFromBgr(foreBgr_));
    p.setColor(QPalette::Text, colorFromBgr(foreBgr_));
    setPalette(p);
}

int BoardLabel::pixelSizeFor(double points) {
    const double p = (std::isfinite(points) && points >= 1.0) ? std::min(points, kMaxPoints) : 1.0;
    return std::max(1, static_cast<int>(std::lround(p * kTwipsPerPoint / kTwipsPerPixel)));
}

void BoardLabel::setFontSize(double points) {
    fontSize_ = (std::isfinite(points) && points >= 1.0) ? std::min(points, kMaxPoints) : 1.0;
    QFont f = font();
    const int pixels = pixelSizeFor(fontSize_);
    if (f.pixelSize() != pixels) {
        f.setPixelSize(pixels);
        setFont(f); // the font change fits the text when auto-size is on
    }
}

void BoardLabel::setAutoSize(bool on) {
    autoSize_ = on;
    fitText();
}

void BoardLabel::setText(const QString& text) {
    QLabel::setText(text);
    fitText();
}

void BoardLabel::fitText() {
    if (!autoSize_) {
        return;
    }
    // The label grows sideways with its text, breaking lines only where the text does, even
    // when word wrap is on: a long team name stays on one line and overhangs its container.
    const QSize text = fontMetrics().size(0, QLabel::text());
    const QMargins m = contentsMargins();
    resize(text.width() + m.left() + m.right() + 2 * margin(),
           text.height() + m.top() + m.bottom() + 2 * margin());
}

void BoardLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitText();
    }
}

void BoardLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void BoardLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}
