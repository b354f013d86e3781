#include "display/BoardLabel.h"

#include "display/Colors.h"
#include "display/Fonts.h"
#include "display/Twips.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwipsPerPoint = 20.0;
// Far beyond any board; keeps the pixel size a sane integer.
constexpr double kMaxPoints = 10000.0;

} // namespace

BoardLabel::BoardLabel(const QString& text, QWidget* parent)
    : QLabel(parent), drag_([this] { update(); }) {
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

bool BoardLabel::Look::operator==(const Look& o) const {
    return text == o.text && font == o.font && colour == o.colour && alignment == o.alignment &&
           wordWrap == o.wordWrap && enabled == o.enabled && margin == o.margin &&
           indent == o.indent && pixelRatio == o.pixelRatio && size == o.size;
}

BoardLabel::Look BoardLabel::look() const {
    return Look{text(),
                font(),
                palette().color(foregroundRole()).rgba(),
                static_cast<int>(alignment()),
                wordWrap(),
                isEnabled(),
                margin(),
                indent(),
                devicePixelRatioF(),
                size()};
}

// Draws as the label draws plain text itself: the same box, alignment, direction and style.
void BoardLabel::drawText(QPainter& painter) {
    drawFrame(&painter);
    const int m = margin();
    QRect box = contentsRect().adjusted(m, m, -m, -m);
    const Qt::LayoutDirection direction =
        text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const int align = static_cast<int>(QStyle::visualAlignment(direction, alignment()));
    int inset = indent();
    if (inset < 0 && frameWidth() > 0)
        inset = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - m;
    if (inset > 0) {
        if (align & Qt::AlignLeft)
            box.setLeft(box.left() + inset);
        if (align & Qt::AlignRight)
            box.setRight(box.right() - inset);
        if (align & Qt::AlignTop)
            box.setTop(box.top() + inset);
        if (align & Qt::AlignBottom)
            box.setBottom(box.bottom() - inset);
    }
    const int flags =
        align | (wordWrap() ? Qt::TextWordWrap : 0) |
        (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
    QStyleOption option;
    option.initFrom(this);
    painter.setFont(font());
    style()->drawItemText(&painter, box, flags, option.palette, isEnabled(), text(),
                          foregroundRole());
}

void BoardLabel::paintEvent(QPaintEvent*) {
    const Look now = look();
    if (!(now == drawnLook_) || drawn_.isNull()) {
        // The type grows and shrinks with the window, so mid-drag the same words in the same
        // colour are stretched whatever size they were drawn at.
        if (drag_.dragging() && !drawn_.isNull() && now.text == drawnLook_.text &&
            now.colour == drawnLook_.colour) {
            QPainter(this).drawPixmap(rect(), drawn_);
            return;
        }
        drawn_ = QPixmap(size() * now.pixelRatio);
        drawn_.setDevicePixelRatio(now.pixelRatio);
        drawn_.fill(Qt::transparent);
        QPainter painter(&drawn_);
        drawText(painter);
        drawnLook_ = now;
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

void BoardLabel::resizeEvent(QResizeEvent* event) {
    drag_.resized();
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
