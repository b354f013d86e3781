#pragma once

#include "display/modStretch.h"

#include <QString>
#include <QWidget>
#include <vector>

// One control of the board: its widget, its type and name as the board knows them, and its
// geometry as designed, in twips relative to its container.
struct BoardControl {
    QWidget* widget = nullptr;
    ControlType type = ControlType::Other;
    QString name;
    int index = -1; // position in its control array, -1 for a single control
    ControlMetrics metrics;
};

// The board's controls in the window's own order. The geometry of every control is kept
// here in twips; place() is the one spot where it becomes pixels.
class BoardControls {
  public:
    BoardControl& add(QWidget* widget, ControlType type, const QString& name, int index,
                      const ControlMetrics& metrics);

    int count() const { return static_cast<int>(controls_.size()); }
    BoardControl& at(int i) { return controls_.at(static_cast<size_t>(i)); }
    const BoardControl& at(int i) const { return controls_.at(static_cast<size_t>(i)); }
    const std::vector<BoardControl>& all() const { return controls_; }

    // The record of a widget, or nullptr when it is not one of the board's controls.
    BoardControl* find(const QWidget* widget);
    const BoardControl* find(const QWidget* widget) const;

    // Writes new metrics to a control and moves, sizes and styles its widget to match.
    void apply(BoardControl& control, const ControlMetrics& metrics);
    // Reads back what the widget decided for itself (a label that sizes itself to its text).
    void syncFromWidget(BoardControl& control);
    static void place(const BoardControl& control);

  private:
    std::vector<BoardControl> controls_;
};
