#pragma once

#include "options/OptionsPage.h"
#include "penalties/PenaltySettings.h"

class QCheckBox;
class QComboBox;
class QLabel;

// The options dialog's "Penalties" tab: the penalty assistant on or off, the rule book it
// follows, the length of a minor and the skaters a side in overtime. It edits a copy;
// penaltySettings() is what "&Ok" stores, in the assistant's own section and only when changed.
class PenaltiesTab : public OptionsPage {
    Q_OBJECT
  public:
    explicit PenaltiesTab(const PenaltySettings& settings, QWidget* parent = nullptr);

    // The settings as the tab shows them.
    PenaltySettings penaltySettings() const;
    bool changed() const { return penaltySettings() != opened_; }
    void save(SettingsStore& store) override;

  private:
    // Lists the minor lengths the chosen book offers, keeping `seconds` when it is one of them.
    void showMinors(int seconds);
    penalties::RuleBook shownBook() const;
    // Says what the assistant does under the book chosen, or that the clocks are left alone.
    void showNote();

    PenaltySettings opened_;
    QCheckBox* chkPenaltiesOn = nullptr;
    QComboBox* cmbPenaltyRules = nullptr;
    QComboBox* cmbMinorLength = nullptr;
    QLabel* lblPenaltyNote = nullptr;
    QComboBox* cmbOvertime = nullptr;
};

// The tab as the options dialog takes it, opened on the stored settings.
OptionsPageMaker penaltiesOptionsPage();
