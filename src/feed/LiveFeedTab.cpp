#include "feed/LiveFeedTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

LiveFeedTab::LiveFeedTab(const FeedSettings& feed, const QString& failure, QWidget* parent)
    : OptionsPage(parent), opened_(feed), failure_(failure) {
    setObjectName(QStringLiteral("tabLiveFeed"));
    chkFeedOn = new QCheckBox(QStringLiteral("Serve the board's live feed"), this);
    chkFeedOn->setObjectName(QStringLiteral("chkFeedOn"));
    chkFeedOn->setChecked(feed.enabled);

    cmbFeedAddress = new QComboBox(this);
    cmbFeedAddress->setObjectName(QStringLiteral("cmbFeedAddress"));
    cmbFeedAddress->setEditable(true);
    cmbFeedAddress->addItem(QStringLiteral("127.0.0.1"));
    cmbFeedAddress->addItem(QStringLiteral("0.0.0.0"));
    cmbFeedAddress->setItemData(0, QStringLiteral("This computer only"), Qt::ToolTipRole);
    cmbFeedAddress->setItemData(1, QStringLiteral("Every computer on the network"),
                                Qt::ToolTipRole);
    cmbFeedAddress->setCurrentText(feed.address);

    txtFeedPort = new QSpinBox(this);
    txtFeedPort->setObjectName(QStringLiteral("txtFeedPort"));
    txtFeedPort->setRange(1, 65535);
    txtFeedPort->setValue(feed.port);

    lblFeedPages = new QLabel(this);
    lblFeedPages->setObjectName(QStringLiteral("lblFeedPages"));
    lblFeedPages->setWordWrap(true);
    lblFeedPages->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout(this);
    form->addRow(chkFeedOn);
    form->addRow(QStringLiteral("Address:"), cmbFeedAddress);
    form->addRow(QStringLiteral("Port:"), txtFeedPort);
    form->addRow(lblFeedPages);

    connect(cmbFeedAddress, &QComboBox::currentTextChanged, this, [this] { showAddresses(); });
    connect(txtFeedPort, &QSpinBox::valueChanged, this, [this] { showAddresses(); });
    connect(chkFeedOn, &QCheckBox::toggled, this, [this] { showAddresses(); });
    showAddresses();
}

FeedSettings LiveFeedTab::feedSettings() const {
    FeedSettings feed;
    feed.enabled = chkFeedOn->isChecked();
    const QString address = cmbFeedAddress->currentText().trimmed();
    feed.address = isFeedAddress(address) ? address : opened_.address;
    feed.port = static_cast<quint16>(txtFeedPort->value());
    return feed;
}

void LiveFeedTab::showAddresses() {
    const FeedSettings feed = feedSettings();
    if (!failure_.isEmpty() && feed == opened_) {
        lblFeedPages->setText(QStringLiteral("The live feed is not running: %1.\nIts addresses "
                                             "would show another program, if any. Choose "
                                             "another port or address and press Ok to try again.")
                                  .arg(failure_));
        return;
    }
    const QString host =
        feed.address == QLatin1String("0.0.0.0") ? QStringLiteral("<this computer>") : feed.address;
    const QString base = QStringLiteral("http://%1:%2").arg(host).arg(feed.port);
    lblFeedPages->setText(QStringLiteral("Overlay for streaming: %1/overlay\nBoard for a second "
                                         "screen: %1/board\nState for apps: %1/state.json")
                              .arg(base));
}

void LiveFeedTab::save(SettingsStore& store) {
    if (changed())
        saveFeedSettings(feedSettings(), store);
}

OptionsPageMaker liveFeedOptionsPage(std::function<QString()> failure) {
    return {QStringLiteral("Live feed"), [failure = std::move(failure)](SettingsStore& store) {
                return new LiveFeedTab(loadFeedSettings(store), failure ? failure() : QString());
            }};
}
