#include "console/BoardMirror.h"

#include <QBackingStore>
#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdint>

BoardMirror::BoardMirror(QWidget& board, QWidget* parent) : QWidget(parent), board_(board) {
    catchUpSoon_.setSingleShot(true);
    catchUpSoon_.setInterval(0);
    connect(&catchUpSoon_, &QTimer::timeout, this, &BoardMirror::catchUp);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(160, 115);
    watch(&board_);
    for (QWidget* child : board_.findChildren<QWidget*>())
        watch(child);
}

void BoardMirror::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

// The board's paint events tell what it draws anew; the copy follows once the frame is done.
bool BoardMirror::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
        // Hidden, the copy is drawn whole when it is shown again.
        if (!rendering_ && isVisible()) {
            auto* widget = static_cast<QWidget*>(watched);
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            dirty_ +=
                widget == &board_ ? region : region.translated(widget->mapTo(&board_, QPoint()));
            if (!catchUpSoon_.isActive())
                catchUpSoon_.start();
        }
        break;
    case QEvent::ChildAdded:
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            watch(child);
        break;
    case QEvent::Resize:
        if (watched == &board_)
            redrawAll();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

double BoardMirror::scale() const {
    if (board_.width() <= 0 || board_.height() <= 0)
        return 0;
    return std::min(double(width()) / board_.width(), double(height()) / board_.height());
}

QPoint BoardMirror::offset() const {
    const double s = scale();
    return QPoint(int((width() - board_.width() * s) / 2),
                  int((height() - board_.height() * s) / 2));
}

void BoardMirror::redrawAll() {
    dirty_ = QRegion(board_.rect());
    if (!catchUpSoon_.isActive())
        catchUpSoon_.start();
}

void BoardMirror::catchUp() {
    catchUpSoon_.stop();
    const double s = scale();
    if (dirty_.isEmpty() || s <= 0 || !isVisible())
        return;
    const QSize size(int(board_.width() * s), int(board_.height() * s));
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
        image_.fill(Qt::black);
        dirty_ = QRegion(board_.rect());
    }
    QRegion region = dirty_ & board_.rect();
    dirty_ = QRegion();
    // Neighbouring pieces (the digits of one field) are drawn in one go.
    const QRect bounds = region.boundingRect();
    std::int64_t area = 0;
    for (const QRect& piece : region)
        area += std::int64_t(piece.width()) * piece.height();
    if (area * 2 >= std::int64_t(bounds.width()) * bounds.height())
        region = bounds;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage* painted = paintedBoard();
    for (const QRect& piece : region) {
        const QRectF target(piece.x() * s, piece.y() * s, piece.width() * s, piece.height() * s);
        if (painted) {
            // The pixels the board put on the screen, scaled: not drawn a second time.
            const qreal dpr = painted->devicePixelRatio();
            painter.drawImage(target, *painted,
                              QRectF(piece.x() * dpr, piece.y() * dpr, piece.width() * dpr,
                                     piece.height() * dpr));
        } else {
            // Each piece is drawn by the board at its own size and then scaled down: the
            // board's drawing, not a second one at another scale.
            QImage drawn(piece.size(), QImage::Format_RGB32);
            rendering_ = true;
            board_.render(&drawn, QPoint(), QRegion(piece),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
            rendering_ = false;
            painter.drawImage(target, drawn);
        }
        update(QRectF(target.translated(offset())).toAlignedRect().adjusted(-1, -1, 1, 1));
    }
}

// The board's window as last painted, where its backing store keeps it as an image of the
// whole window (the raster stores do); null where it does not, and the board is drawn again.
const QImage* BoardMirror::paintedBoard() const {
    QBackingStore* store = board_.isWindow() ? board_.backingStore() : nullptr;
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    const auto* image = static_cast<const QImage*>(device);
    const QSize needed = board_.size() * image->devicePixelRatio();
    if (image->isNull() || image->width() < needed.width() || image->height() < needed.height())
        return nullptr;
    return image;
}

void BoardMirror::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect shown(offset(), image_.size());
    const QRect exposed = event->rect();
    // Only the exposed part of the copy, and the margin beside it only where exposed.
    const QRect part = exposed & shown;
    if (!part.isEmpty())
        painter.drawImage(part.topLeft(), image_, part.translated(-shown.topLeft()));
    for (const QRect& margin : QRegion(exposed) - QRegion(shown))
        painter.fillRect(margin, palette().color(QPalette::Window));
}

void BoardMirror::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    redrawAll();
}

void BoardMirror::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    redrawAll();
}
