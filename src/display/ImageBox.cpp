#include "display/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent)
    : QWidget(parent), drag_([this] {
          if (roughlyScaled_)
              update();
      }) {
    setFocusPolicy(Qt::NoFocus);
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
    if (drag_.dragging()) {
        // Mid-drag the picture goes straight into its box, roughly: no scaled copy is made,
        // which at 4K costs more than drawing. The smooth one follows when the size settles.
        scaled_ = QPixmap();
        roughlyScaled_ = true;
        painter.drawImage(rect(), image_);
        return;
    }
    if (scaled_.size() != size()) {
        // A photograph many times the size of its frame is first halved cheaply, which keeps
        // the smooth scaling quick; the last step is smooth to keep it clean.
        QImage source = image_;
        const QSize twice = size() * 2;
        if (source.width() > 2 * twice.width() && source.height() > 2 * twice.height())
            source = source.scaled(twice, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        roughlyScaled_ = false;
        scaled_ = QPixmap::fromImage(
            source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.drawPixmap(QPoint(0, 0), scaled_);
}

void ImageBox::resizeEvent(QResizeEvent*) {
    drag_.resized();
}

void ImageBox::mousePressEvent(QMouseEvent* event) {
    click_.press(event);
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.release(event, rect())) {
        emit clicked();
    }
}
