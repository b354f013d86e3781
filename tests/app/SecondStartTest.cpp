// One board per user, with the real program: a second start brings the running board to the
// front and ends without touching its game; a running board that hangs is given up on in
// time; one that was killed leaves nothing that keeps the next start from running.
#include "journal/PrivateProgram.h"
#include "support/Patience.h"
#include "support/SignalProcess.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace {

// The program's own wait for a running board that does not answer.
constexpr int kWaitMs = 5000;

struct FirstCase {
    const char* name;
    QStringList args; // of the first start: on the splash window or on the board
};
void PrintTo(const FirstCase& c, std::ostream* os) {
    *os << c.name;
}

// Whether the process shows as stopped ("T" in /proc/PID/stat) within `ms`.
bool stoppedWithin(qint64 pid, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray line = stat.readAll();
            const qsizetype close = line.lastIndexOf(')');
            if (close >= 0 && line.mid(close + 2, 1) == "T")
                return true;
        }
        QThread::msleep(10);
    }
    return false;
}

class SecondStart : public ::testing::TestWithParam<FirstCase> {
  protected:
    SecondStart() : program(PUCKTALLY_PROGRAM) {}

    // The first start, waited for until it holds the lock and, on the board, until the board
    // is up.
    bool startFirst() {
        QProcessEnvironment env = program.environment();
        env.insert("PUCKTALLY_TEST_STATE", program.path("state.json"));
        first.setProcessEnvironment(env);
        first.start(PUCKTALLY_PROGRAM, GetParam().args);
        if (!first.waitForStarted(kPatienceMs))
            return false;
        const bool onBoard = GetParam().args.contains("bypass");
        QElapsedTimer waited;
        waited.start();
        do {
            if (QFile::exists(program.path("journal/pucktally.lock")) &&
                (!onBoard || QFile::exists(program.path("state.json"))))
                return true;
            QThread::msleep(50);
        } while (waited.elapsed() < kPatienceMs);
        return false;
    }

    // A later start that would score for the home team if it ran a board of its own, waiting
    // `waitMs` for the running board's answer, or the program's own wait.
    PrivateProgram::Run startAgain(std::optional<int> waitMs = std::nullopt) {
        QFile script(program.path("goal.txt"));
        script.open(QIODevice::WriteOnly);
        script.write("HomeBack 7\nHomeBack Enter\n");
        script.close();
        QProcessEnvironment env = program.environment();
        env.insert("PUCKTALLY_TEST_SCRIPT", program.path("goal.txt"));
        if (waitMs)
            env.insert("PUCKTALLY_TEST_CLAIM_WAIT_MS", QString::number(*waitMs));
        return program.run({"bypass"}, env, waitMs.value_or(kWaitMs) + kPatienceMs);
    }

    // The latest game's sheet, read through the program beside the running board.
    QString latestSheet() {
        const PrivateProgram::Run r = program.run({"--sheet", "latest.csv"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QFile f(program.path("latest.csv"));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }

    ~SecondStart() override {
        signalProcess(first, SIGCONT);
        first.kill();
        first.waitForFinished(5000);
    }

    PrivateProgram program;
    QProcess first;
};

TEST_P(SecondStart, ShowsTheRunningBoardAndEnds) {
    ASSERT_TRUE(startFirst());
    // Answered in time however busy the machine: the exit code and the words say it was.
    const PrivateProgram::Run second = startAgain(kPatienceMs);
    ASSERT_TRUE(second.finished) << "the second start ran on";
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains("already runs a board")) << second.err.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // The journal is read beside the running board and holds nothing of the second start.
    if (GetParam().args.contains("bypass")) {
        const PrivateProgram::Run games = program.run({"--games"});
        EXPECT_EQ(games.exitCode, 0);
        EXPECT_EQ(games.out.count('\n'), 2) << games.out.toStdString(); // title and one game
        const QStringList lines = latestSheet().split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[1].endsWith(",0,0")) << lines[1].toStdString();
    } else {
        EXPECT_FALSE(QFile::exists(program.path("journal/journal.sqlite")));
    }
}

TEST_P(SecondStart, GivesUpOnARunningBoardThatHangs) {
    ASSERT_TRUE(startFirst());
    ASSERT_TRUE(signalProcess(first, SIGSTOP));
    // Stopped for certain before the second start asks it: a stop takes effect
    // asynchronously, and a busy machine may let the first answer in between.
    ASSERT_TRUE(stoppedWithin(first.processId(), kPatienceMs)) << "the first start did not stop";
    const PrivateProgram::Run second = startAgain();
    signalProcess(first, SIGCONT);
    ASSERT_TRUE(second.finished) << "the second start ran on";
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains("did not answer")) << second.err.toStdString();
    // Waited its time; that it then gave up, `finished` tells (the run was given the wait
    // and kPatienceMs).
    EXPECT_GE(second.ms, kWaitMs - 100);
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_P(SecondStart, StartsAfterTheRunningBoardWasKilled) {
    ASSERT_TRUE(startFirst());
    signalProcess(first, SIGKILL);
    first.waitForFinished(kPatienceMs);
    ASSERT_TRUE(QFile::exists(program.path("journal/pucktally.lock")));
    QProcessEnvironment env = program.environment();
    env.insert("PUCKTALLY_TEST_SNAPSHOT", program.path("shown"));
    const PrivateProgram::Run next = program.run({"bypass"}, env);
    ASSERT_TRUE(next.finished);
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_FALSE(next.err.contains("already runs")) << next.err.toStdString();
    EXPECT_TRUE(QFile::exists(program.path("shown.json")));
}

// A board killed and started again: the socket its killed run left keeps no later start
// from reaching it, the second start as the third, also once its lock has aged.
TEST_P(SecondStart, LaterStartsReachABoardRestartedAfterAKill) {
    ASSERT_TRUE(startFirst());
    signalProcess(first, SIGKILL);
    first.waitForFinished(kPatienceMs);
    QFile::remove(program.path("state.json"));
    ASSERT_TRUE(startFirst());
    QFile lock(program.path("journal/pucktally.lock"));
    const auto holder = [&] {
        const bool read = lock.open(QIODevice::ReadOnly);
        const qint64 pid = read ? lock.readLine().trimmed().toLongLong() : 0;
        lock.close();
        return pid;
    };
    QElapsedTimer waited;
    waited.start();
    while (holder() != first.processId() && waited.elapsed() < kPatienceMs)
        QThread::msleep(50);
    ASSERT_EQ(holder(), first.processId()) << "the restarted board did not take the lock";
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5 * 3600),
                                 QFileDevice::FileModificationTime));
    lock.close();
    for (const char* which : {"second", "third"}) {
        SCOPED_TRACE(which);
        const PrivateProgram::Run later = startAgain(kPatienceMs);
        ASSERT_TRUE(later.finished) << "the later start ran on";
        EXPECT_EQ(later.exitCode, 0);
        EXPECT_TRUE(later.err.contains("already runs a board")) << later.err.toStdString();
    }
    EXPECT_EQ(first.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(FirstOn, SecondStart,
                         ::testing::Values(FirstCase{"Splash", {}}, FirstCase{"Board", {"bypass"}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
