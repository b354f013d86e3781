#include "penalties/PenaltiesTab.h"

#include "penalties/PenaltyJson.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include <algorithm>

using penalties::RuleBook;

PenaltiesTab::PenaltiesTab(const PenaltySettings& settings, QWidget* parent)
    : OptionsPage(parent), opened_(settings) {
    setObjectName(QStringLiteral("tabPenalties"));
    chkPenaltiesOn = new QCheckBox(
        QStringLiteral("Penalty assistant: keep the penalty clocks by the rule book"), this);
    chkPenaltiesOn->setObjectName(QStringLiteral("chkPenaltiesOn"));
    chkPenaltiesOn->setChecked(settings.rules.has_value());

    cmbPenaltyRules = new QComboBox(this);
    cmbPenaltyRules->setObjectName(QStringLiteral("cmbPenaltyRules"));
    for (RuleBook book : allRuleBooks())
        cmbPenaltyRules->addItem(ruleBookName(book), static_cast<int>(book));
    cmbPenaltyRules->setCurrentIndex(cmbPenaltyRules->findData(
        static_cast<int>(settings.rules.value_or(allRuleBooks().front()))));

    cmbMinorLength = new QComboBox(this);
    cmbMinorLength->setObjectName(QStringLiteral("cmbMinorLength"));
    showMinors(settings.minorSeconds);

    cmbOvertime = new QComboBox(this);
    cmbOvertime->setObjectName(QStringLiteral("cmbOvertime"));
    for (int skaters : {5, 4, 3})
        cmbOvertime->addItem(QStringLiteral("%1 on %1").arg(skaters), skaters);
    cmbOvertime->setCurrentIndex(std::max(0, cmbOvertime->findData(settings.overtimeSkaters)));

    lblPenaltyNote = new QLabel(this);
    lblPenaltyNote->setObjectName(QStringLiteral("lblPenaltyNote"));
    lblPenaltyNote->setWordWrap(true);

    auto* form = new QFormLayout(this);
    form->addRow(chkPenaltiesOn);
    form->addRow(QStringLiteral("Rule book:"), cmbPenaltyRules);
    form->addRow(QStringLiteral("Minor penalty:"), cmbMinorLength);
    form->addRow(QStringLiteral("Overtime:"), cmbOvertime);
    form->addRow(lblPenaltyNote);

    const auto enable = [this] {
        cmbPenaltyRules->setEnabled(chkPenaltiesOn->isChecked());
        cmbMinorLength->setEnabled(chkPenaltiesOn->isChecked());
        cmbOvertime->setEnabled(chkPenaltiesOn->isChecked());
        showNote();
    };
    connect(chkPenaltiesOn, &QCheckBox::toggled, this, enable);
    connect(cmbPenaltyRules, &QComboBox::currentIndexChanged, this, [this] {
        showMinors(cmbMinorLength->currentData().toInt());
        showNote();
    });
    enable();
}

void PenaltiesTab::showNote() {
    const QString shortMinors =
        QStringLiteral(" Leagues with short periods often play 1:30 minors.");
    if (!chkPenaltiesOn->isChecked()) {
        lblPenaltyNote->setText(
            QStringLiteral("Off, the board's penalty clocks work as they always do.") +
            shortMinors);
        return;
    }
    const RuleBook book = shownBook();
    QString note =
        QStringLiteral("%1: a team's third penalty waits for a free clock; a power-play goal "
                       "ends the short-handed team's minor with the least time left%2; equal "
                       "penalties to both teams at one stoppage are served by substitutes, off "
                       "the clocks")
            .arg(ruleBookName(book), penalties::penaltyShotGoalEndsMinor(book)
                                         ? QStringLiteral(", one scored on a penalty shot too")
                                         : QStringLiteral(", not one scored on a penalty shot"));
    note += penalties::playsSinglePairFourOnFour(book)
                ? QStringLiteral(", but one minor to each team with nothing else on the clocks "
                                 "goes on them: four on four.")
                : QStringLiteral(", one minor to each team among them: five on five.");
    lblPenaltyNote->setText(note + shortMinors);
}

RuleBook PenaltiesTab::shownBook() const {
    return static_cast<RuleBook>(cmbPenaltyRules->currentData().toInt());
}

void PenaltiesTab::showMinors(int seconds) {
    const std::vector<int> offered = minorSecondsOffered(shownBook());
    cmbMinorLength->clear();
    for (int length : offered)
        cmbMinorLength->addItem(penaltyTimeText(length * 10), length);
    // A length this book does not offer falls back to its full minor, listed first.
    cmbMinorLength->setCurrentIndex(std::max(0, cmbMinorLength->findData(seconds)));
}

PenaltySettings PenaltiesTab::penaltySettings() const {
    PenaltySettings shown;
    if (chkPenaltiesOn->isChecked())
        shown.rules = shownBook();
    shown.minorSeconds = cmbMinorLength->currentData().toInt();
    shown.overtimeSkaters = cmbOvertime->currentData().toInt();
    return shown;
}

void PenaltiesTab::save(SettingsStore& store) {
    if (changed())
        savePenaltySettings(penaltySettings(), store);
}

OptionsPageMaker penaltiesOptionsPage() {
    return {QStringLiteral("Penalties"),
            [](SettingsStore& store) { return new PenaltiesTab(loadPenaltySettings(store)); }};
}
