#include "app/TestHooks.h"

#include "app/TestProbe.h"

std::unique_ptr<QObject> startTestHooks(frmScoreBoard& board) {
    auto probe = std::make_unique<TestProbe>(board);
    probe->start();
    return probe;
}
