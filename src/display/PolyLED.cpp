#include "display/PolyLED.h"

#include "display/Colors.h"
#include "display/LedGeometry.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Segments a to g as bits 0 to 6: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
constexpr std::array<std::uint8_t, 10> kSegmentsOf{
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F,
};

// The dot-matrix face: 5 columns by 9 rows, a shape that fills the tall cell with round
// dots at an almost square pitch. Each row is five bits, the leftmost column the highest.
constexpr int kColumns = 5;
constexpr int kRows = 9;
constexpr std::array<std::array<std::uint8_t, kRows>, 10> kGlyphOf{{
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // 2
    {0x0E, 0x11, 0x01, 0x01, 0x06, 0x01, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x12, 0x1F, 0x02, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x10, 0x1E, 0x01, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x0E, 0x11, 0x10, 0x10, 0x1E, 0x11, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x01, 0x02, 0x02, 0x04, 0x04, 0x04, 0x04}, // 7
    {0x0E, 0x11, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01, 0x11, 0x0E}, // 9
}};

// How much of the lit colour an unlit segment or dot shows over the background.
constexpr double kUnlitGlow = 0.13;

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

} // namespace

PolyLED::PolyLED(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // The cell paints every pixel itself, so nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateColors();
    resize(ledExtentPixels(size_));
}

void PolyLED::setCaption(int digit) {
    if (digit < -1 || digit > 9 || digit == caption_) {
        return;
    }
    caption_ = digit;
    update();
}

void PolyLED::setCaption(const QString& text) {
    if (text.size() != 1) {
        return;
    }
    const QChar c = text.at(0);
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        setCaption(c.unicode() - '0');
    }
}

void PolyLED::setLitColor(std::int32_t bgr) {
    bgr = maskBgr(bgr);
    if (bgr == litBgr_) {
        return;
    }
    litBgr_ = bgr;
    updateColors();
    update();
}

void PolyLED::setBackColor(std::int32_t bgr) {
    bgr = maskBgr(bgr);
    if (bgr == backBgr_) {
        return;
    }
    backBgr_ = bgr;
    updateColors();
    update();
}

void PolyLED::setLedType(std::int32_t type) {
    if (type == ledType_) {
        return;
    }
    const bool wasDots = drawsDots();
    ledType_ = type;
    if (drawsDots() != wasDots) {
        update();
    }
}

void PolyLED::setSize(double size) {
    const double s = normalizedLedSize(size);
    if (s == size_) {
        return;
    }
    size_ = s;
    resize(ledExtentPixels(s));
    updateGeometry();
}

void PolyLED::setNameIndex(const QString& name, int index) {
    name_ = name;
    index_ = index;
}

QSize PolyLED::sizeHint() const {
    return ledExtentPixels(size_);
}

void PolyLED::updateColors() {
    lit_ = colorFromBgr(litBgr_);
    back_ = colorFromBgr(backBgr_);
    dim_ = blendColors(back_, lit_, kUnlitGlow);
    face_.litLamp = QImage();
    face_.dimLamp = QImage();
}

void PolyLED::focusInEvent(QFocusEvent* event) {
    // The cell is never a focus target of its own: whoever gives it the focus means the
    // field, that is the box around it.
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (w->focusPolicy() != Qt::NoFocus && w->isEnabled()) {
            w->setFocus(event->reason());
            return;
        }
        if (w->isWindow()) {
            break;
        }
    }
    QWidget::focusInEvent(event);
}

const PolyLED::Face& PolyLED::face() const {
    if (face_.size != size() || face_.dots != drawsDots()) {
        face_.size = size();
        face_.dots = drawsDots();
        face_.litLamp = QImage();
        face_.dimLamp = QImage();
        if (face_.dots) {
            buildDots(face_);
        } else {
            buildLines(face_);
        }
    }
    return face_;
}

void PolyLED::buildLines(Face& face) const {
    const double w = face.size.width();
    const double h = face.size.height();
    // The digit's box inside the cell; the margins keep neighbouring digits apart.
    const double left = w * 0.12;
    const double right = w - left;
    const double top = h * 0.07;
    const double bottom = h - top;
    const double thick = std::max(1.0, std::min((right - left) * 0.25, (bottom - top) * 0.13));
    const double half = thick / 2.0;
    // Segments are shortened at each end so that a thin dark gap parts them.
    const double gap = std::max(0.5, thick * 0.14);

    // Centre lines of the segments.
    const double xl = left + half;
    const double xr = right - half;
    const double yt = top + half;
    const double ym = (top + bottom) / 2.0;
    const double yb = bottom - half;

    // Outer corners are cut at 45 degrees so the outline of an 8 is a clean box; inner
    // joints end in points.
    face.segments[0] = polygon({{xl - half + gap, yt - half},
                                {xr + half - gap, yt - half},
                                {xr - half - gap, yt + half},
                                {xl + half + gap, yt + half}});
    face.segments[1] = polygon({{xr + half, yt - half + gap},
                                {xr + half, ym - gap - half},
                                {xr, ym - gap},
                                {xr - half, ym - gap - half},
                                {xr - half, yt + half + gap}});
    face.segments[2] = polygon({{xr + half, ym + gap + half},
                                {xr + half, yb + half - gap},
                                {xr - half, yb - half - gap},
                                {xr - half, ym + gap + half},
                                {xr, ym + gap}});
    face.segments[3] = polygon({{xl + half + gap, yb - half},
                                {xr - half - gap, yb - half},
                                {xr + half - gap, yb + half},
                                {xl - half + gap, yb + half}});
    face.segments[4] = polygon({{xl - half, ym + gap + half},
                                {xl, ym + gap},
                                {xl + half, ym + gap + half},
                                {xl + half, yb - half - gap},
                                {xl - half, yb + half - gap}});
    face.segments[5] = polygon({{xl - half, yt - half + gap},
                                {xl + half, yt + half + gap},
                                {xl + half, ym - gap - half},
                                {xl, ym - gap},
                                {xl - half, ym - gap - half}});
    face.segments[6] = polygon({{xl + gap, ym},
                                {xl + gap + half, ym - half},
                                {xr - gap - half, ym - half},
                                {xr - gap, ym},
                                {xr - gap - half, ym + half},
                                {xl + gap + half, ym + half}});
}

void PolyLED::buildDots(Face& face) const {
    const double w = face.size.width();
    const double h = face.size.height();
    const double pitchX = w * 0.84 / kColumns;
    const double pitchY = h * 0.88 / kRows;
    const double diameter = std::min(pitchX, pitchY) * 0.84;
    const double left = (w - pitchX * kColumns) / 2.0;
    const double top = (h - pitchY * kRows) / 2.0;
    face.lamps.clear();
    face.lamps.reserve(kColumns * kRows);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            const double cx = left + (col + 0.5) * pitchX;
            const double cy = top + (row + 0.5) * pitchY;
            face.lamps.emplace_back(cx - diameter / 2.0, cy - diameter / 2.0, diameter, diameter);
        }
    }
}

void PolyLED::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const Face& f = face();
    if (!f.dots) {
        const unsigned lit = caption_ >= 0 ? kSegmentsOf[caption_] : 0u;
        for (int i = 0; i < 7; ++i) {
            painter.fillPath(f.segments[i], ((lit >> i) & 1u) != 0 ? lit_ : dim_);
        }
        return;
    }
    if (f.litLamp.isNull() || f.litLamp.devicePixelRatio() != devicePixelRatioF()) {
        face_.litLamp = lampImage(lit_);
        face_.dimLamp = lampImage(dim_);
    }
    const qreal ratio = devicePixelRatioF();
    const double side = f.litLamp.width() / ratio;
    for (int row = 0; row < kRows; ++row) {
        const unsigned bits = caption_ >= 0 ? kGlyphOf[caption_][row] : 0u;
        for (int col = 0; col < kColumns; ++col) {
            const bool lit = ((bits >> (kColumns - 1 - col)) & 1u) != 0;
            // The stamp goes on whole device pixels, so it keeps its crisp edge.
            const QPointF centre = f.lamps[row * kColumns + col].center();
            const QPointF corner(std::round((centre.x() - side / 2.0) * ratio) / ratio,
                                 std::round((centre.y() - side / 2.0) * ratio) / ratio);
            painter.drawImage(corner, lit ? f.litLamp : f.dimLamp);
        }
    }
}

QImage PolyLED::lampImage(const QColor& colour) const {
    const qreal ratio = devicePixelRatioF();
    const double diameter = face_.lamps.empty() ? 1.0 : face_.lamps.front().width();
    const int pixels = std::max(1, static_cast<int>(std::ceil(diameter * ratio)) + 1);
    QImage lamp(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    lamp.fill(Qt::transparent);
    lamp.setDevicePixelRatio(ratio);
    QPainter painter(&lamp);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double side = pixels / ratio;
    painter.drawEllipse(
        QRectF((side - diameter) / 2.0, (side - diameter) / 2.0, diameter, diameter));
    return lamp;
}
