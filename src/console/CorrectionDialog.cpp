#include "console/CorrectionDialog.h"

#include "console/ToldEventText.h"
#include "penalties/PenaltyEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using penalties::PenaltyKind;
using penalties::ToldEvent;

namespace {

constexpr PenaltyKind kKinds[] = {
    PenaltyKind::Minor,
    PenaltyKind::DoubleMinor,
    PenaltyKind::Major,
    PenaltyKind::MajorPlusMinor,
    PenaltyKind::MinorPlusMisconduct,
    PenaltyKind::Misconduct,
    PenaltyKind::GameMisconduct,
    PenaltyKind::Match,
};

} // namespace

CorrectionDialog::CorrectionDialog(const ToldEvent& event, long long clockTenths,
                                   std::function<std::optional<long long>(long long)> toGameTime,
                                   QWidget* parent)
    : QDialog(parent), corrected_(event), toGameTime_(std::move(toGameTime)) {
    setObjectName(QStringLiteral("frmCorrection"));
    setWindowTitle(QStringLiteral("Correct an event"));
    auto* form = new QFormLayout(this);
    const bool penalty =
        event.kind == ToldEvent::Kind::Penalty || event.kind == ToldEvent::Kind::Signalled;
    const bool goal = event.kind == ToldEvent::Kind::Goal;
    if (penalty || goal) {
        team_ = new QComboBox(this);
        team_->setObjectName(QStringLiteral("cmbTeam"));
        team_->addItems({QStringLiteral("Home"), QStringLiteral("Visitor")});
        team_->setCurrentIndex(event.team == penalties::Team::Home ? 0 : 1);
        form->addRow(goal ? QStringLiteral("Scored by") : QStringLiteral("Team"), team_);
    }
    if (penalty) {
        player_ = new QSpinBox(this);
        player_->setObjectName(QStringLiteral("spnPlayer"));
        player_->setRange(0, 99);
        player_->setValue(event.player);
        form->addRow(QStringLiteral("Player"), player_);
        kind_ = new QComboBox(this);
        kind_->setObjectName(QStringLiteral("cmbKind"));
        for (PenaltyKind kind : kKinds) {
            kind_->addItem(QString::fromLatin1(penalties::kindName(kind)));
            if (kind == event.penalty)
                kind_->setCurrentIndex(kind_->count() - 1);
        }
        form->addRow(QStringLiteral("Penalty"), kind_);
        servedBy_ = new QSpinBox(this);
        servedBy_->setObjectName(QStringLiteral("spnServedBy"));
        servedBy_->setRange(-1, 99);
        servedBy_->setSpecialValueText(QStringLiteral("the player himself"));
        servedBy_->setValue(event.servedBy);
        form->addRow(QStringLiteral("Served by"), servedBy_);
    }
    if (goal) {
        penaltyShot_ = new QCheckBox(QStringLiteral("On a penalty shot"), this);
        penaltyShot_->setObjectName(QStringLiteral("chkPenaltyShot"));
        penaltyShot_->setChecked(event.penaltyShot);
        form->addRow(QString(), penaltyShot_);
    }
    clock_ = new QLineEdit(clockReading(clockTenths), this);
    clock_->setObjectName(QStringLiteral("txtClock"));
    form->addRow(QStringLiteral("Game clock"), clock_);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblProblem"));
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CorrectionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CorrectionDialog::reject);
    form->addRow(buttons);
}

void CorrectionDialog::accept() {
    const std::optional<long long> reading = readClock(clock_->text());
    const std::optional<long long> at = reading ? toGameTime_(*reading) : std::nullopt;
    if (!at) {
        problem_->setText(QStringLiteral("Not a time of this period: type the clock as m:ss."));
        return;
    }
    corrected_.at = *at;
    if (team_)
        corrected_.team =
            team_->currentIndex() == 0 ? penalties::Team::Home : penalties::Team::Guest;
    if (player_)
        corrected_.player = player_->value();
    if (kind_)
        corrected_.penalty = kKinds[kind_->currentIndex()];
    if (servedBy_)
        corrected_.servedBy = servedBy_->value();
    if (penaltyShot_)
        corrected_.penaltyShot = penaltyShot_->isChecked();
    QDialog::accept();
}
