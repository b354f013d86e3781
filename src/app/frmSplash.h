#pragma once

#include "display/LeftClick.h"

#include <QStringList>
#include <QWidget>

class BoardLabel;
class ProgramWindows;
class QFrame;
class QLabel;
class QPushButton;
class SettingsStore;
struct Settings;

// The window the program starts on: the logo, name, maker and version, and two buttons for
// the help window and the options dialog. Its load places it, loads the settings and, with
// the command line "bypass", goes straight on to the board. A click anywhere on it except
// the buttons goes on to the board too; the splash window is then unloaded for good.
class frmSplash : public QWidget {
    Q_OBJECT
  public:
    frmSplash(Settings& settings, SettingsStore& store, ProgramWindows& windows,
              const QStringList& commandLine, QWidget* parent = nullptr);
    ~frmSplash() override;

    // Unloads the splash window and shows the board.
    void GoScore();
    // True once GoScore has run: the window is on its way out and is not to be shown.
    bool isUnloaded() const { return unloaded_; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void Form_Load(const QStringList& commandLine);
    void cmdHelp_Click();
    void cmdOptions_Click();

    Settings& settings_;
    SettingsStore& store_;
    ProgramWindows& windows_;
    QFrame* frameSplash = nullptr;
    QLabel* picLogo = nullptr;
    BoardLabel* lblName = nullptr;
    BoardLabel* lblMadeBy = nullptr;
    BoardLabel* lblClick = nullptr;
    BoardLabel* lblVersion = nullptr;
    BoardLabel* Label1 = nullptr;
    BoardLabel* Label2 = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdOptions = nullptr;
    LeftClick click_;
    bool unloaded_ = false;
};
