#include "app/TestHooks.h"

#include "app/SingleInstance.h"
#include "app/TestProbe.h"

std::unique_ptr<QObject> startTestHooks(frmScoreBoard& board) {
    auto probe = std::make_unique<TestProbe>(board);
    probe->start();
    return probe;
}

int claimWaitMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("PUCKTALLY_TEST_CLAIM_WAIT_MS", &ok);
    return ok && ms > 0 ? ms : SingleInstance::kWaitMs;
}
