#pragma once

#include "options/OptionsPage.h"

#include <QObject>
#include <QPointer>
#include <memory>

class frmScoreBoard;
class frmSplash;
class QWidget;
class SettingsStore;
class TimeSource;
struct Settings;

// Which of the program's windows keep it running, and the board's single life: created on
// first use, shown as an ordinary window, and from then on the main window. Closing the board
// ends the program at once, the help window included; closing the splash window without
// going on to the board ends it as soon as the help window, if one is open, is closed too.
// The end is announced by `ended`, which the program entry turns into the end of the run.
class ProgramWindows : public QObject {
    Q_OBJECT
  public:
    ProgramWindows(Settings& settings, SettingsStore& store, const TimeSource& time,
                   QObject* parent = nullptr);
    ~ProgramWindows() override;

    // Loads the splash window (which loads the settings) and shows it, unless the command
    // line's remaining words ask for the board at once.
    void start(const QStringList& commandLine);

    // Tabs of features beyond the board's own settings, for every options dialog opened.
    void setOptionsPages(const OptionsPageMakers& pages) { optionsPages_ = pages; }
    const OptionsPageMakers& optionsPages() const { return optionsPages_; }

    // Creates the board if there is none yet and shows it.
    frmScoreBoard& showBoard();
    frmScoreBoard* board() const { return board_.get(); }

    // The splash window went away without opening the board.
    void splashClosedAlone();

    // The window the program shows now, brought to the front and activated, for a second
    // start of the program: the board, or the splash window before it, or the help window
    // left alone; a dialog open on top of it comes up with it.
    void bringToFront();

  signals:
    // The board exists, before it is shown: for anything that follows the board.
    void boardCreated(frmScoreBoard& board);
    void ended();

  private:
    void boardClosed();
    void end();

    Settings& settings_;
    SettingsStore& store_;
    const TimeSource& time_;
    std::unique_ptr<frmScoreBoard> board_;
    QPointer<frmSplash> splash_;
    bool ended_ = false;
    OptionsPageMakers optionsPages_;
};
