#include "screens/ScreensTab.h"

#include "screens/ConnectedScreens.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>

ScreensTab::ScreensTab(const ScreenSettings& settings, const ScreenList& connected, QWidget* parent)
    : OptionsPage(parent), opened_(settings) {
    setObjectName(QStringLiteral("tabScreens"));
    chkBoardFullScreen =
        new QCheckBox(QStringLiteral("Show the board full screen (F11 switches)"), this);
    chkBoardFullScreen->setObjectName(QStringLiteral("chkBoardFullScreen"));
    chkBoardFullScreen->setChecked(settings.fullScreen);

    // The first row is the default; each row carries the name stored for it.
    lstScreens = new QListWidget(this);
    lstScreens->setObjectName(QStringLiteral("lstScreens"));
    auto* byDefault = new QListWidgetItem(
        QStringLiteral("Default: another screen than the main one, if there is one"), lstScreens);
    byDefault->setData(Qt::UserRole, QString());
    for (const ScreenInfo& screen : connected) {
        auto* row = new QListWidgetItem(screenListText(screen), lstScreens);
        row->setData(Qt::UserRole, screen.name);
    }
    if (!settings.screen.isEmpty() && screenNamed(connected, settings.screen) < 0) {
        auto* missing = new QListWidgetItem(
            QStringLiteral("%1 (not connected)").arg(settings.screen), lstScreens);
        missing->setData(Qt::UserRole, settings.screen);
    }
    for (int i = 0; i < lstScreens->count(); ++i)
        if (lstScreens->item(i)->data(Qt::UserRole).toString() == settings.screen)
            lstScreens->setCurrentRow(i);

    chkConsole = new QCheckBox(QStringLiteral("Open the timekeeper's console window"), this);
    chkConsole->setObjectName(QStringLiteral("chkConsole"));
    chkConsole->setChecked(settings.console);

    auto* note = new QLabel(QStringLiteral("Full screen, the board fills the chosen screen "
                                           "without frame or title bar; a chosen screen that "
                                           "is not connected leaves the board in its window."),
                            this);
    note->setWordWrap(true);

    auto* form = new QFormLayout(this);
    form->addRow(chkBoardFullScreen);
    form->addRow(QStringLiteral("Screen:"), lstScreens);
    form->addRow(chkConsole);
    form->addRow(note);
}

ScreenSettings ScreensTab::screenSettings() const {
    ScreenSettings shown;
    shown.fullScreen = chkBoardFullScreen->isChecked();
    const QListWidgetItem* chosen = lstScreens->currentItem();
    shown.screen = chosen ? chosen->data(Qt::UserRole).toString() : opened_.screen;
    shown.console = chkConsole->isChecked();
    return shown;
}

void ScreensTab::save(SettingsStore& store) {
    if (changed())
        saveScreenSettings(screenSettings(), store);
}

QString screenListText(const ScreenInfo& screen) {
    const QString size =
        QStringLiteral("%1 x %2").arg(screen.geometry.width()).arg(screen.geometry.height());
    return screen.primary ? QStringLiteral("%1 (%2, main screen)").arg(screen.name, size)
                          : QStringLiteral("%1 (%2)").arg(screen.name, size);
}

OptionsPageMaker screensOptionsPage() {
    return {QStringLiteral("Screens"), [](SettingsStore& store) {
                return new ScreensTab(loadScreenSettings(store), connectedScreens());
            }};
}
