#include "display/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    settle_.setSingleShot(true);
    settle_.setInterval(kDragGapMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        dragging_ = false;
        if (roughlyScaled_) {
            scaled_ = QPixmap();
            update();
        }
    });
}

void ImageBox::setImage(const QImage& image) {
    // The board hands the same picture back after every resize; keep what was scaled.
    if (image.cacheKey() == image_.cacheKey() && !image.isNull()) {
        fitToImage();
        return;
    }
    image_ = image;
    scaled_ = QPixmap();
    fitToImage();
    update();
}

void ImageBox::setStretch(bool on) {
    if (on == stretch_) {
        return;
    }
    stretch_ = on;
    fitToImage();
    update();
}

void ImageBox::fitToImage() {
    if (!stretch_ && !image_.isNull()) {
        resize(image_.size());
    }
}

void ImageBox::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    if (!stretch_) {
        painter.drawImage(QPoint(0, 0), image_);
        return;
    }
    if (scaled_.size() != size()) {
        // A photograph many times the size of its frame is first halved cheaply, so a
        // resize drag stays smooth; the last step is smooth to keep it clean.
        QImage source = image_;
        const QSize twice = size() * 2;
        if (source.width() > 2 * twice.width() && source.height() > 2 * twice.height())
            source = source.scaled(twice, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        roughlyScaled_ = dragging_;
        scaled_ = QPixmap::fromImage(
            source.scaled(size(), Qt::IgnoreAspectRatio,
                          dragging_ ? Qt::FastTransformation : Qt::SmoothTransformation));
    }
    painter.drawPixmap(QPoint(0, 0), scaled_);
}

void ImageBox::resizeEvent(QResizeEvent*) {
    dragging_ = sinceResize_.isValid() && sinceResize_.elapsed() < kDragGapMs;
    sinceResize_.start();
    if (dragging_)
        settle_.start();
}

void ImageBox::mousePressEvent(QMouseEvent* event) {
    click_.press(event);
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.release(event, rect())) {
        emit clicked();
    }
}
