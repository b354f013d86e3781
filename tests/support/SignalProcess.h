#pragma once

#include <QProcess>
#include <csignal>
#include <sys/types.h>

// Sends `signal` to the process `p` runs, and to nothing else. Once the process is gone
// QProcess reports id 0, and kill() with id 0 would reach the caller's whole process group:
// the test runner and every test it runs beside this one.
inline bool signalProcess(const QProcess& p, int signal) {
    const qint64 pid = p.processId();
    return pid > 0 && ::kill(static_cast<pid_t>(pid), signal) == 0;
}
