#pragma once

#include "game/BoardState.h"

#include <QWidget>
#include <functional>

class BoardMirror;
class QLabel;
class QListWidget;
class QPushButton;
class frmScoreBoard;
namespace penalties {
class AssistedBoard;
}

// The timekeeper's console: a second window, on the timekeeper's own screen, that shows what
// the board keeps from the audience. A small live copy of the board, the selected field and
// what is typed into it, the penalty being typed, the penalty assistant's bench of each team,
// the game's events and every notice. Every key typed here goes to the board's one key
// handler, exactly as if typed on the board; the console takes none for itself.
class ConsoleWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ConsoleWindow(frmScoreBoard& board, QWidget* parent = nullptr);

    // The picked line of the game's events corrected in the dialog, or taken out.
    void correctSelected(bool remove);

    // Reads the board again: selection, typing, penalty entry, bench, events; after a tick of
    // the clock only the bench, whose times run. Cheap when nothing shown has changed.
    void refresh(bool tickOnly = false);
    // A notice or a message of trouble, newest first.
    void addNotice(const QString& text);
    // Where the live feed is and who watches it (or why it is not running), above the
    // notices; empty hides it.
    void setFeedLine(const QString& text);

    BoardMirror& mirror() { return *mirror_; }
    // The console's text as shown, for tests.
    QString text() const;

  signals:
    // The timekeeper closed the console (the program goes on).
    void closedByUser();
    // The console has read the board again, or its feed line changed.
    void refreshed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void forwardKey(QKeyEvent* event);
    void showEvents(std::int64_t resetTenths);
    void updateButtons();
    void showBench(const penalties::AssistedBoard& assisted);
    static void setText(QLabel* label, const QString& text);

    frmScoreBoard& board_;
    BoardMirror* mirror_ = nullptr;
    QLabel* selection_ = nullptr;
    QLabel* penaltyEntry_ = nullptr;
    QLabel* strength_ = nullptr;
    QLabel* homeBench_ = nullptr;
    QLabel* visitorBench_ = nullptr;
    QListWidget* events_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;
    QListWidget* notices_ = nullptr;
    QLabel* feed_ = nullptr;
    BoardState last_;
    QStringList boardEvents_; // seen on the board while the assistant is off
    QString shownEvents_;
    bool correctable_ = false;
};
