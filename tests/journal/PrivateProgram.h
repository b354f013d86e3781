#pragma once

#include "support/Patience.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program on a private journal and settings store: its own home, XDG folders and
// journal folder in a temporary folder, so a test meets neither the user's files nor another
// test's board. The windows go to the offscreen platform.
class PrivateProgram {
  public:
    explicit PrivateProgram(QString program) : program_(std::move(program)) {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("HOME", dir_.filePath("home"));
        env_.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        env_.insert("XDG_DATA_HOME", dir_.filePath("data"));
        env_.insert("XDG_RUNTIME_DIR", dir_.path());
        env_.insert("PUCKTALLY_JOURNAL_DIR", dir_.filePath("journal"));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    const QProcessEnvironment& environment() const { return env_; }

    // One run to its end (or until `timeoutMs`, when it is killed and `finished` is false), in
    // the private folder, where relative file names land.
    struct Run {
        bool finished = false;
        int exitCode = -1;
        QString out;
        QString err;
        qint64 ms = 0;
    };
    Run run(const QStringList& args, const QProcessEnvironment& env, int timeoutMs = kPatienceMs) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir_.path());
        QElapsedTimer clock;
        clock.start();
        p.start(program_, args);
        Run r;
        r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
        r.ms = clock.elapsed();
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
        r.exitCode = r.finished ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    Run run(const QStringList& args, int timeoutMs = kPatienceMs) {
        return run(args, env_, timeoutMs);
    }

  protected:
    QString program_;
    QTemporaryDir dir_;
    QProcessEnvironment env_;
};
