#pragma once

#include "feed/FeedSettings.h"
#include "options/OptionsPage.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// The options dialog's "Live feed" tab: on/off, the address to listen on (this computer only,
// or the local network) and the port. It edits a copy; feedSettings() is what "&Ok" stores,
// in the feed's own section and only when changed. Under them the pages' addresses, or, while
// the feed could not start (`failure`) and the settings are as opened, why it does not serve:
// a browser on those addresses would show whatever else holds the port.
class LiveFeedTab : public OptionsPage {
    Q_OBJECT
  public:
    explicit LiveFeedTab(const FeedSettings& feed, const QString& failure = {},
                         QWidget* parent = nullptr);

    // The settings as the tab shows them; an address typed that is no address keeps the one
    // the tab was opened with.
    FeedSettings feedSettings() const;
    // Whether the tab now differs from the settings it was opened with.
    bool changed() const { return !(feedSettings() == opened_); }
    void save(SettingsStore& store) override;

  private:
    void showAddresses();

    FeedSettings opened_;
    QString failure_;
    QCheckBox* chkFeedOn = nullptr;
    QComboBox* cmbFeedAddress = nullptr;
    QSpinBox* txtFeedPort = nullptr;
    QLabel* lblFeedPages = nullptr;
};

// The tab as the options dialog takes it, opened on the stored feed settings; `failure`, when
// given, tells why the running program's feed does not serve (empty while it does).
OptionsPageMaker liveFeedOptionsPage(std::function<QString()> failure = {});
