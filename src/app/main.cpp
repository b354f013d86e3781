#include "app/FeedStartup.h"
#include "board/TimeSource.h"
#include "board/frmScoreBoard.h"
#include "display/frmHelp.h"
#include "settings/ProgramFolder.h"
#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pucktally"));

    static Settings settings;
    QtSettingsStore store;
    LoadSettings(settings, store, programFolder());
    QStringList args = QApplication::arguments();
    const FeedSettings feedSettings = takeLiveFeedOptions(args, store);

    SteadyTimeSource time;
    frmScoreBoard board(settings, store, time);
    board.show();
    const auto liveFeed = startLiveFeed(feedSettings, settings, store, board);
    const int exitCode = QApplication::exec();
    frmHelp::UnloadHelp();
    return exitCode;
}
