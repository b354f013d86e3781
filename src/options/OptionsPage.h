#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class SettingsStore;

// A tab of the options dialog that a feature beyond the board's own settings brings along.
// The dialog shows it after its own tabs and, on "&Ok", after saving the board's settings,
// asks it to save its own section: only what the user changed, so an untouched tab writes
// nothing.
class OptionsPage : public QWidget {
  public:
    using QWidget::QWidget;
    virtual void save(SettingsStore& store) = 0;
};

// How whoever opens the dialog hands it a page: the tab's caption and the page, made afresh
// for each opening from the stored settings.
struct OptionsPageMaker {
    QString caption;
    std::function<OptionsPage*(SettingsStore& store)> make;
};
using OptionsPageMakers = std::vector<OptionsPageMaker>;
