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
    applyFontSize();
}

void BoardLabel::applyFontSize() {
    QFont f = font();
    const int pixels = autoSize_ ? pixelSizeFor(fontSize_) : fittingPixelSize(f);
    if (f.pixelSize() != pixels) {
        f.setPixelSize(pixels);
        setFont(f); // the font change fits the text when auto-size is on
    }
}

bool BoardLabel::textFits(QFont f, int pixels) const {
    f.setPixelSize(pixels);
    const QFontMetrics metrics(f);
    const QRect box = contentsRect();
    if (!wordWrap())
        return metrics.size(0, text()).width() <= box.width();
    // Wrapped text must fit its height, and no single word may be wider than the label.
    const QRect needed = metrics.boundingRect(box, Qt::TextWordWrap | alignment(), text());
    if (needed.height() > box.height())
        return false;
    const auto words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(), [&](const QString& word) {
        return metrics.horizontalAdvance(word) <= box.width();
    });
}

int BoardLabel::fittingPixelSize(const QFont& f) const {
    // A fixed label whose text is wider than the label (a window stretched more in height
    // than in width scales type faster than widths) draws its text a little smaller rather
    // than cutting it off.
    const int designed = pixelSizeFor(fontSize_);
    if (text().isEmpty() || width() <= 0 || height() <= 0 || textFits(f, designed))
        return designed;
    int low = 1;
    int high = designed;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (textFits(f, mid))
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

void BoardLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (!autoSize_)
        applyFontSize();
}

void BoardLabel::setAutoSize(bool on) {
    autoSize_ = on;
    fitText();
}

void BoardLabel::setText(const QString& text) {
    QLabel::setText(text);
    fitText();
    if (!autoSize_)
        applyFontSize();
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
    click_.press(event);
}

void BoardLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.release(event, rect())) {
        emit clicked();
    }
}
