#pragma once

#include "display/LeftClick.h"
#include "display/ResizeDrag.h"

#include <QLabel>
#include <QPixmap>

#include <cstdint>

// A text of the board: transparent over its container, never focused, in the board's
// sans-serif face, with its size given in points as designed and shown at that size on any
// screen (a point is 20 twips, a pixel 15 twips). Texts are plain, never markup, so a team
// name shows exactly as typed. With auto-size on, the label fits its text whenever the text
// or the font changes, on one line unless the text itself breaks it. With auto-size off, a
// text that would not fit the label at its size is drawn smaller instead of being cut off.
// The drawn text is kept and shown again until the label's text, look or size changes: large
// type costs more to draw than anything else on a 4K board. While the window is dragged to a
// new size the kept text is stretched to the label, and drawn anew once the size settles.
class BoardLabel : public QLabel {
    Q_OBJECT

  public:
    explicit BoardLabel(const QString& text, QWidget* parent = nullptr);

    void setForeColor(std::int32_t bgr);
    std::int32_t ForeColor() const { return foreBgr_; }

    // Points as designed; a value that is not a finite number of at least 1 counts as 1.
    void setFontSize(double points);
    double FontSize() const { return fontSize_; }
    // The pixel height the font is drawn at for a size in points.
    static int pixelSizeFor(double points);

    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }

    // Hides QLabel::setText so that auto-size follows the text.
    void setText(const QString& text);

  signals:
    void clicked();

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitText();
    void applyFontSize();
    bool textFits(QFont f, int pixels) const;
    int fittingPixelSize(const QFont& f) const;

    // Everything the drawn text depends on.
    struct Look {
        QString text;
        QFont font;
        QRgb colour = 0;
        int alignment = 0;
        bool wordWrap = false;
        bool enabled = true;
        int margin = 0;
        int indent = 0;
        qreal pixelRatio = 1;
        QSize size;
        bool operator==(const Look& o) const;
    };
    Look look() const;
    void drawText(QPainter& painter);

    std::int32_t foreBgr_ = 0x000000;
    double fontSize_ = 8.25;
    bool autoSize_ = false;
    LeftClick click_;
    QPixmap drawn_;
    Look drawnLook_;
    ResizeDrag drag_;
};
