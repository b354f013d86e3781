#pragma once

#include "journal/GameJournal.h"

#include <QObject>
#include <QString>

class frmScoreBoard;
class JournalStore;
struct Settings;

// The journal's side of the board window: records the board after every event it handled,
// brings an unfinished game back at start, and takes the Ctrl keys: Ctrl+Z undo, Ctrl+Y and
// Ctrl+Shift+Z redo, Ctrl+S the game sheet. Ctrl with any letter stops here, so it never
// reaches field entry or the configured keys. Trouble with the journal and written sheets are
// told in the window title, which the operator sees and the audience can ignore.
class BoardJournal : public QObject {
    Q_OBJECT
  public:
    BoardJournal(frmScoreBoard& board, GameJournal& journal, JournalStore& store,
                 const Settings& settings, QObject* parent = nullptr);

    // Begins or continues the game; true when the board was restored.
    bool start();
    void undo();
    void redo();
    // Writes the current game's sheet as HTML and CSV into the sheets folder beside the
    // journal; answers the HTML file's path, empty on failure.
    QString writeSheet();
    // A clean end of the game (the board window closed).
    void end() { journal_.end(); }

    const QString& message() const { return message_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void changed();
    void putBack(const QJsonObject& values, const QString& kind);
    void show(const QString& message);
    void applyTitle();

    frmScoreBoard& board_;
    GameJournal& journal_;
    JournalStore& store_;
    const Settings& settings_;
    QString kind_; // set while the journal itself changes the board
    QString message_;
    QString shownSuffix_;
};
