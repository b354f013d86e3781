// Start-up of the program as a whole process: from the spawn of the probe (which starts as
// the program does) to its exit at the board's first paint. Also the peak memory of a board
// that runs for a few seconds with the clock and four penalties counting.
#include "BenchMain.h"
#include <benchmark/benchmark.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

std::string probePath() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("startup_probe"))
        .toStdString();
}

// Runs the probe to its end; returns its peak resident memory in kilobytes, or -1.
long runProbe(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string path = probePath();
    argv.push_back(path.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (runProbe({}) < 0) {
            state.SkipWithError("the probe failed");
            return;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
}
BENCHMARK(BM_StartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(5)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
    });

void BM_PeakMemoryOfARunningBoard(benchmark::State& state) {
    long peakKb = 0;
    for (auto _ : state) {
        peakKb = runProbe({"--run-ms", "3000"});
        if (peakKb < 0) {
            state.SkipWithError("the probe failed");
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(BM_PeakMemoryOfARunningBoard)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    // The probe runs headless unless a platform was chosen, and never touches the user's
    // settings.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QTemporaryDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 0);
    return runBenchmarks<QCoreApplication>(argc, argv);
}
