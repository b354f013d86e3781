#include "app/TestHooks.h"

#include "app/SingleInstance.h"

std::unique_ptr<QObject> startTestHooks(frmScoreBoard&) {
    return nullptr;
}

std::unique_ptr<QObject> startConsoleTestHooks(ConsoleWindow&) {
    return nullptr;
}

int claimWaitMs() {
    return SingleInstance::kWaitMs;
}
