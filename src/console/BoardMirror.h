#pragma once

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>

// A small live copy of the board as the crowd sees it: the board's own drawing, scaled, not a
// second layout that could drift from it. Only what the board repainted is drawn again, just
// after the board's frame, so a running clock costs the copy a few digits a second.
class BoardMirror : public QWidget {
  public:
    explicit BoardMirror(QWidget& board, QWidget* parent = nullptr);

    // Draws what the board repainted since the last call (the whole board after a resize of
    // either). The mirror calls it itself after each of the board's frames; whoever knows the
    // frame is done (a tick of the clock) may call it at once and save the loop a turn.
    void catchUp();
    // The copy as shown, for tests and screenshots.
    const QImage& image() const { return image_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void watch(QWidget* widget);
    void redrawAll();
    double scale() const;
    QPoint offset() const;
    const QImage* paintedBoard() const;

    QWidget& board_;
    QImage image_;
    QRegion dirty_; // in the board's coordinates
    bool rendering_ = false;
    QTimer catchUpSoon_; // after the frame that made the copy out of date
};
