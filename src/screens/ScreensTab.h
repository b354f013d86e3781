#pragma once

#include "options/OptionsPage.h"
#include "screens/ScreenChoice.h"
#include "screens/ScreenSettings.h"

class QCheckBox;
class QListWidget;

// The options dialog's "Screens" tab: the board full screen or not, the screen it fills (the
// screens connected, by name and size, and the stored one even while it is not connected),
// and the timekeeper's console. It edits a copy; screenSettings() is what "&Ok" stores, in the
// screens' own section and only when changed.
class ScreensTab : public OptionsPage {
    Q_OBJECT
  public:
    ScreensTab(const ScreenSettings& settings, const ScreenList& connected,
               QWidget* parent = nullptr);

    // The settings as the tab shows them.
    ScreenSettings screenSettings() const;
    bool changed() const { return screenSettings() != opened_; }
    void save(SettingsStore& store) override;

  private:
    ScreenSettings opened_;
    QCheckBox* chkBoardFullScreen = nullptr;
    QListWidget* lstScreens = nullptr;
    QCheckBox* chkConsole = nullptr;
};

// The text the tab lists a screen by: "HDMI-1 (1920 x 1080)", the main one marked.
QString screenListText(const ScreenInfo& screen);

// The tab as the options dialog takes it, opened on the stored settings and the screens
// connected at that moment.
OptionsPageMaker screensOptionsPage();
