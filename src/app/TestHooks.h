#pragma once

#include <QObject>
#include <memory>

class frmScoreBoard;

// What lets tests drive and read the real program from outside, started before the journal.
// The program a rink installs has none and reads no test variables; the build the tests run
// has them (see TestProbe).
std::unique_ptr<QObject> startTestHooks(frmScoreBoard& board);
