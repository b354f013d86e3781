#pragma once

#include <QObject>
#include <memory>

class BoardJournal;
class ConsoleWindow;
class SettingsStore;
class frmScoreBoard;

// The timekeeper's console beside the board: opened and closed with F12 (unless F12 is one of
// the board's function keys) or from the options, remembered across starts, and placed on
// another screen than the board when there is one. It hears every notice from the start, so
// it shows them when opened later; while it is open the board keeps the selection marker and
// the notices from the audience. Closing it never ends the program.
class TimekeeperConsole : public QObject {
    Q_OBJECT
  public:
    static constexpr int kConsoleKey = 123; // F12

    TimekeeperConsole(frmScoreBoard& board, BoardJournal& journal, SettingsStore& store,
                      QObject* parent = nullptr);
    ~TimekeeperConsole() override;

    // F12: opens or closes the console; false for any other key.
    bool takeKey(int keyCode);
    void setOpen(bool open);
    bool isOpen() const;
    // The stored choice, read again (the options may have changed it).
    void followStore();
    ConsoleWindow& window() { return *window_; }

  private:
    void place();
    void boardChanged();

    frmScoreBoard& board_;
    SettingsStore& store_;
    std::unique_ptr<ConsoleWindow> window_;
    bool refreshQueued_ = false;
    bool wholeRefresh_ = false; // an operator's change is among those queued
};
