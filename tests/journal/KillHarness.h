#pragma once

#include "PrivateProgram.h"
#include "support/Patience.h"
#include "support/SignalProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

// Runs the real program on a private journal and settings store, plays a random game on it
// through its test hooks, kills it with SIGKILL at a moment of the caller's choosing, starts
// it again and reads the board it shows. Shared by the crash test and the kill soak.
class KillHarness : public PrivateProgram {
  public:
    enum class Outcome { Exact, OneEventBehind, Wrong, NoAnswer };

    KillHarness(QString program, std::uint32_t seed)
        : PrivateProgram(std::move(program)), rng_(seed) {}

    // Plays for `ms` milliseconds, then kills the program; the game goes on from where the
    // last run left it. Then starts the program again and compares what it shows with what
    // the killed one had drawn last. `shots` keeps PNGs of both.
    Outcome killAndRestore(int ms, const QString& shots = QString()) {
        writeScript();
        QProcess play;
        QProcessEnvironment env = env_;
        env.insert("PUCKTALLY_TEST_SCRIPT", dir_.filePath("script.txt"));
        env.insert("PUCKTALLY_TEST_STATE", dir_.filePath("state.json"));
        if (!shots.isEmpty())
            env.insert("PUCKTALLY_TEST_SHOT", shots + "-before.png");
        QFile::remove(dir_.filePath("state.json"));
        play.setProcessEnvironment(env);
        play.start(program_, {"bypass"});
        if (!play.waitForStarted(kPatienceMs))
            return Outcome::NoAnswer;
        // The moment is counted from when the board is up (its first state written).
        QElapsedTimer starting;
        starting.start();
        while (!QFile::exists(dir_.filePath("state.json")) && !starting.hasExpired(kPatienceMs))
            QThread::msleep(50);
        QThread::msleep(static_cast<unsigned long>(ms));
        signalProcess(play, SIGKILL);
        play.waitForFinished(kPatienceMs);

        const QJsonObject drawn = readJson(dir_.filePath("state.json"));
        QProcess look;
        env = env_;
        env.insert("PUCKTALLY_TEST_SNAPSHOT", dir_.filePath("shown"));
        look.setProcessEnvironment(env);
        QFile::remove(dir_.filePath("shown.json"));
        look.start(program_, {"bypass"});
        look.waitForFinished(kPatienceMs);
        if (!shots.isEmpty()) {
            QFile::remove(shots + "-after.png");
            QFile::copy(dir_.filePath("shown.png"), shots + "-after.png");
        }
        const QJsonObject shown = readJson(dir_.filePath("shown.json"));
        if (drawn.isEmpty() || shown.isEmpty())
            return Outcome::NoAnswer;
        if (stopped(drawn.value("state").toObject()) == shown)
            return Outcome::Exact;
        // Killed between the last journal row and the hook's file: the board shows the
        // event before.
        if (stopped(drawn.value("previous").toObject()) == shown)
            return Outcome::OneEventBehind;
        lastDrawn_ = drawn;
        lastShown_ = shown;
        return Outcome::Wrong;
    }

    QJsonObject lastDrawn_;
    QJsonObject lastShown_;

  private:
    static QJsonObject readJson(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // A restarted board stands: its clocks are not running.
    static QJsonObject stopped(QJsonObject s) {
        s.insert("clockRunning", false);
        for (int slot = 1; slot <= 4; ++slot)
            s.insert(QStringLiteral("p%1.running").arg(slot), false);
        return s;
    }

    // A stretch of random play: scores, shots, penalties, goal lamps, clock starts and stops.
    void writeScript() {
        static const QStringList kBoxes{"HomeBack",   "VisitorBack", "ShotsBackH", "ShotsBackV",
                                        "PeriodBack", "PenaltyPH1",  "PenaltyTH1", "PenaltyPV2",
                                        "PenaltyTV2", "picGoalBack", "TimeBack"};
        QStringList lines;
        for (int i = 0; i < 400; ++i) {
            const QString box = kBoxes[static_cast<int>(rng_.bounded(kBoxes.size()))];
            const unsigned what = rng_.bounded(10);
            if (box == "TimeBack") {
                lines << (what < 7 ? "TimeBack S" : what < 9 ? "TimeBack R" : "TimeBack 5");
                if (what == 9)
                    lines << "TimeBack Enter";
            } else if (box == "picGoalBack") {
                lines << (what < 4   ? "picGoalBack Left"
                          : what < 8 ? "picGoalBack Right"
                                     : "picGoalBack Down");
            } else {
                if (what < 3)
                    lines << box + " +";
                lines << box + " " + QString::number(rng_.bounded(10));
                lines << box + " Enter";
            }
            lines << QStringLiteral("wait %1").arg(rng_.bounded(150) + 10);
        }
        QFile f(dir_.filePath("script.txt"));
        f.open(QIODevice::WriteOnly);
        f.write(lines.join('\n').toUtf8());
    }

    QRandomGenerator rng_;
};
