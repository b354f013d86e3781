#pragma once

#include <QObject>
#include <memory>

class ConsoleWindow;
class frmScoreBoard;

// What lets tests drive and read the real program from outside, started before the journal.
// The program a rink installs has none and reads no test variables; the build the tests run
// has them (see TestProbe).
std::unique_ptr<QObject> startTestHooks(frmScoreBoard& board);
// PUCKTALLY_TEST_CONSOLE=FILE: the console's text, written after every refresh.
std::unique_ptr<QObject> startConsoleTestHooks(ConsoleWindow& console);

// How long a later start waits for the running board to answer: SingleInstance::kWaitMs, or
// in the build the tests run PUCKTALLY_TEST_CLAIM_WAIT_MS when set, since a machine loaded
// with builds may answer later than any rink's.
int claimWaitMs();
