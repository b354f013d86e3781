#include "app/TestHooks.h"

#include "app/SingleInstance.h"
#include "app/TestProbe.h"
#include "console/ConsoleWindow.h"

#include <QSaveFile>

std::unique_ptr<QObject> startTestHooks(frmScoreBoard& board) {
    auto probe = std::make_unique<TestProbe>(board);
    probe->start();
    return probe;
}

std::unique_ptr<QObject> startConsoleTestHooks(ConsoleWindow& console) {
    const QString file = qEnvironmentVariable("PUCKTALLY_TEST_CONSOLE");
    if (file.isEmpty())
        return nullptr;
    auto hooks = std::make_unique<QObject>();
    QObject::connect(&console, &ConsoleWindow::refreshed, hooks.get(), [&console, file] {
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(console.text().toUtf8());
            out.commit();
        }
    });
    return hooks;
}

int claimWaitMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("PUCKTALLY_TEST_CLAIM_WAIT_MS", &ok);
    return ok && ms > 0 ? ms : SingleInstance::kWaitMs;
}
