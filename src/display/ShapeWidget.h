#pragma once

#include <QPainterPath>
#include <QWidget>

#include <cstdint>

// A shape of the board: the frames, the separator dots, the lamps and the selection marker.
// It draws only its shape (everything outside stays the container's), its border lies
// inside its rectangle, and mouse events pass through it to whatever lies beneath.
class ShapeWidget : public QWidget {
    Q_OBJECT

  public:
    enum class Kind { Rectangle, RoundedRectangle, Oval, Circle };

    explicit ShapeWidget(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }

    void setFillColor(std::int32_t bgr);
    std::int32_t FillColor() const { return fillBgr_; }
    // false leaves the inside transparent (the frames).
    void setFilled(bool solid);
    bool filled() const { return filled_; }

    void setBorderColor(std::int32_t bgr);
    std::int32_t BorderColor() const { return borderBgr_; }
    // In pixels; drawn rounded to whole pixels and at least 1 while the border is visible.
    // A value that is not a finite number draws as 1.
    void setBorderWidth(double pixels);
    double BorderWidth() const { return borderWidth_; }
    void setBorderVisible(bool visible);
    bool borderVisible() const { return borderVisible_; }

    // The border width actually drawn in the current size, 0 without a border.
    int drawnBorderWidth() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPainterPath outline(const QRectF& box, double inset) const;

    Kind kind_;
    std::int32_t fillBgr_ = 0x000000;
    std::int32_t borderBgr_ = 0x000000;
    double borderWidth_ = 1.0;
    bool filled_ = true;
    bool borderVisible_ = true;
};
