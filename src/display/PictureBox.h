#pragma once

#include "display/LeftClick.h"

#include <QWidget>

#include <cstdint>

class QKeyEvent;

// A box of the board with a background colour, holding other controls. The entry boxes
// are picture boxes that take the focus: they announce the focus, every key that reaches
// them and clicks. Tab and Backtab never reach a box; Qt's focus chain takes them.
// A new box takes no focus (the board gives the entry boxes a focus policy).
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setBackColor(std::int32_t bgr);
    std::int32_t BackColor() const { return backBgr_; }

  signals:
    void keyDown(QKeyEvent* event);
    void keyUp(QKeyEvent* event);
    void gotFocus();
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::int32_t backBgr_ = 0xFFFFFF;
    LeftClick click_;
};
