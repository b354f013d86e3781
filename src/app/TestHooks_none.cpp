#include "app/TestHooks.h"

std::unique_ptr<QObject> startTestHooks(frmScoreBoard&) {
    return nullptr;
}

std::unique_ptr<QObject> startConsoleTestHooks(ConsoleWindow&) {
    return nullptr;
}
