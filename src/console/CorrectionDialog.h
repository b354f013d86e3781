#pragma once

#include "penalties/PenaltyAssistant.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// Changes one event the penalty assistant was told: a penalty's team, player, kind and who
// serves it, a goal's team and penalty shot, and when it happened, as the game clock read in
// its period. Modal over the console; the board's clock keeps running meanwhile.
class CorrectionDialog : public QDialog {
    Q_OBJECT
  public:
    // `clockTenths` is the clock's reading at the event; `toGameTime` turns a reading back
    // into game time, or nothing for one the period cannot have.
    CorrectionDialog(const penalties::ToldEvent& event, long long clockTenths,
                     std::function<std::optional<long long>(long long)> toGameTime,
                     QWidget* parent = nullptr);

    // The corrected event, once accepted.
    const penalties::ToldEvent& corrected() const { return corrected_; }

    void accept() override;

  private:
    penalties::ToldEvent corrected_;
    std::function<std::optional<long long>(long long)> toGameTime_;
    QComboBox* team_ = nullptr;
    QSpinBox* player_ = nullptr;
    QComboBox* kind_ = nullptr;
    QSpinBox* servedBy_ = nullptr;
    QCheckBox* penaltyShot_ = nullptr;
    QLineEdit* clock_ = nullptr;
    QLabel* problem_ = nullptr;
};
