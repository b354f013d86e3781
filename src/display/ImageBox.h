#pragma once

#include "display/LeftClick.h"
#include "display/ResizeDrag.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

// An image control of the board. With stretching off it shows its picture at the picture's
// own size, and takes that size as its own when given a picture; with stretching on it
// scales the picture to its box. Without a picture it draws nothing and serves as a
// transparent click target (the goal lamps' covers). While the box is being resized again and
// again (a window drag), the picture is scaled roughly, which is many times cheaper; once the
// size has held still for a moment it is scaled smoothly again.
class ImageBox : public QWidget {
    Q_OBJECT

  public:
    explicit ImageBox(QWidget* parent = nullptr);

    // An empty image clears the box and leaves its size as it is.
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

    void setStretch(bool on);
    bool stretch() const { return stretch_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitToImage();

    QImage image_;
    bool stretch_ = false;
    LeftClick click_;
    // The picture scaled to the box, made again only when the box or the picture changes.
    QPixmap scaled_;
    bool roughlyScaled_ = false;
    ResizeDrag drag_;
};
