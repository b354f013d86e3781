#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

// One LED digit cell of the board: a digit 0 to 9, or blank, drawn as seven segments
// ("Lines") or as a dot matrix ("Dots") in the lit colour on the cell's background, with
// the unlit segments or dots faintly visible as on a real board. The cell takes its whole
// extent from Size. It never keeps the input focus: a click on it, or focus given to it,
// goes to the nearest container that accepts focus (the field's entry box). Every setter
// repaints only when what the cell shows actually changes.
class PolyLED : public QWidget {
    Q_OBJECT

  public:
    static constexpr std::int32_t kLines = 0;
    static constexpr std::int32_t kDots = 1;

    explicit PolyLED(QWidget* parent = nullptr);

    // The digit shown, -1 when blank. A new cell shows 0.
    int Caption() const { return caption_; }
    // 0..9 shows that digit, -1 blanks the cell; any other value is ignored.
    void setCaption(int digit);
    // "0".."9" shows that digit; any other text is ignored.
    void setCaption(const QString& text);

    std::int32_t LitColor() const { return litBgr_; }
    void setLitColor(std::int32_t bgr);
    std::int32_t BackColor() const { return backBgr_; }
    void setBackColor(std::int32_t bgr);

    // 0 "Lines", 1 "Dots"; the value is kept as given, and any other value draws as Lines.
    std::int32_t LedType() const { return ledType_; }
    void setLedType(std::int32_t type);

    // The scale of the cell; a value that is not a finite number of at least 1 counts as 1.
    double Size() const { return size_; }
    void setSize(double size);

    QString Name() const { return name_; }
    int Index() const { return index_; }
    void setNameIndex(const QString& name, int index);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    // Drawing geometry for one widget size and style, rebuilt only when either changes.
    struct Face {
        QSize size;
        bool dots = false;
        std::array<QPainterPath, 7> segments;
        std::vector<QRectF> lamps; // row by row, left to right
        // One lit and one unlit lamp, drawn once and stamped at every lamp's place: far
        // cheaper than drawing each round lamp anew on a large board.
        QImage litLamp;
        QImage dimLamp;
    };

    bool drawsDots() const { return ledType_ == kDots; }
    const Face& face() const;
    void buildLines(Face& face) const;
    void buildDots(Face& face) const;
    QImage lampImage(const QColor& colour) const;
    void updateColors();

    int caption_ = 0;
    std::int32_t litBgr_ = 0x0000FF; // red
    std::int32_t backBgr_ = 0x000000;
    std::int32_t ledType_ = kLines;
    double size_ = 55.0;
    QString name_;
    int index_ = 0;

    QColor lit_;
    QColor dim_;
    QColor back_;
    mutable Face face_;
};
