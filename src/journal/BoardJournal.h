#pragma once

#include "journal/GameJournal.h"

#include <QObject>
#include <QString>
#include <QTimer>

class frmScoreBoard;
class JournalStore;
class QKeyEvent;
struct Settings;

// The journal's side of the board window: records the board after every event it handled,
// brings an unfinished game back at start, and takes its own Ctrl keys: Ctrl+Z undo, Ctrl+Y
// and Ctrl+Shift+Z redo, Ctrl+S the game sheet, Ctrl+N a new game. Every other key, Ctrl
// with another letter included, goes on to the board, which does not look at Ctrl.
// The window title tells the operator, and not the audience, what the journal did: trouble
// with the journal for as long as it lasts; a restored game until the next key; a sheet
// written until the next key or a few seconds later. Notices the board is asked to give the
// timekeeper (frmScoreBoard::tellOperator) show there in the same way once start() ran.
class BoardJournal : public QObject {
    Q_OBJECT
  public:
    BoardJournal(frmScoreBoard& board, GameJournal& journal, JournalStore& store,
                 const Settings& settings, QObject* parent = nullptr);

    // Begins or continues the game; true when the board was restored. With `takeUpClosed`
    // the last game played comes back even when the board was closed on it.
    bool start(bool takeUpClosed = false);
    void undo();
    void redo();
    // Writes the current game's sheet as HTML and CSV into the sheets folder beside the
    // journal; answers the HTML file's path, empty on failure.
    QString writeSheet();
    // A clean end of the game (the board window closed).
    void end() { journal_.end(); }
    // Asks the operator whether to start a new game and starts it on Yes.
    void askNewGame();
    // Ends the game as closing the board does and puts the board back as it loaded: every
    // field, clock and lamp, with nothing typed. Undo does not reach back past it.
    void newGame();

    // The journal's trouble, empty while it writes.
    const QString& message() const { return message_; }
    // What the operator is told for a moment: a restored game, a sheet written.
    const QString& notice() const { return notice_; }

    static constexpr int kSheetNoticeMs = 5000;

  signals:
    // A notice or a message of trouble as it is shown, for the timekeeper's console.
    void told(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void changed();
    bool takeShortcut(const QKeyEvent& key);
    void putBack(const QJsonObject& values, const QString& kind);
    void dropTyping();
    void show(const QString& message);
    void showNotice(const QString& notice, int clearAfterMs = 0);
    void applyTitle();

    frmScoreBoard& board_;
    GameJournal& journal_;
    JournalStore& store_;
    const Settings& settings_;
    QString kind_;      // set while the journal itself changes the board
    BoardState loaded_; // the board as it loaded, before anything was restored
    QString message_;
    QString notice_;
    QTimer noticeTimer_;
    QString shownSuffix_;
};
