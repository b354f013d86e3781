// How soon the buzzer is heard: the time from the board's Buzzer to the first frame of the
// sound at the audio server's output, observed by recording that output's monitor in small
// fragments on a thread of its own (the figure thus includes the recording's own fragment,
// a millisecond or two). Needs an audio server; the project's own private one serves:
//
//   scripts/with-audio-server.sh build/program/bench_sound_start
//
// Reports the mean as the benchmark's time and the median, 90th percentile and worst case as
// counters, in milliseconds.
#include "BenchMain.h"
#include "board/frmScoreBoard.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <benchmark/benchmark.h>
#include <pulse/simple.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// Listens to the default output's monitor: when the first loud fragment arrived, and whether
// the output has been quiet for a while.
class OutputListener {
  public:
    OutputListener() {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.fragsize = kFragmentBytes;
        int error = 0;
        stream_ = pa_simple_new(nullptr, "pucktally bench", PA_STREAM_RECORD, "@DEFAULT_MONITOR@",
                                "listen", &spec, nullptr, &attr, &error);
        if (stream_)
            thread_ = std::thread([this] { listen(); });
    }
    ~OutputListener() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (stream_)
            pa_simple_free(stream_);
    }
    bool ok() const { return stream_ != nullptr; }
    // Milliseconds of the output heard so far. An idle output is rendered in large blocks at
    // first; once this grows the listener hears it millisecond by millisecond.
    long heardMs() const { return fragments_; }
    void arm() { firstLoudNs_ = 0; }
    std::int64_t firstLoudNs() const { return firstLoudNs_; }
    bool quietFor(std::int64_t ms) const { return nowNs() - lastLoudNs_ > ms * 1'000'000; }

  private:
    static constexpr std::uint32_t kRate = 44100;
    static constexpr std::uint32_t kFragmentBytes = 2 * kRate / 1000; // one millisecond

    void listen() {
        std::int16_t fragment[kFragmentBytes / 2];
        while (!stop_) {
            int error = 0;
            if (pa_simple_read(stream_, fragment, sizeof fragment, &error) < 0)
                return;
            ++fragments_; // one millisecond each
            const auto loud = std::any_of(std::begin(fragment), std::end(fragment),
                                          [](std::int16_t s) { return std::abs(s) > 1000; });
            if (loud) {
                const std::int64_t t = nowNs();
                lastLoudNs_ = t;
                std::int64_t none = 0;
                firstLoudNs_.compare_exchange_strong(none, t);
            }
        }
    }

    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<std::int64_t> firstLoudNs_{0};
    std::atomic<std::int64_t> lastLoudNs_{0};
    std::atomic<long> fragments_{0};
};

// A short beep as the buzzer sound, so that a measurement is not spent waiting for the end.
QString writeBeep(const QString& folder) {
    constexpr int rate = 22050, samples = rate / 10;
    QByteArray wav("RIFF");
    auto le = [&wav](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.append(char((v >> (8 * i)) & 0xFF));
    };
    le(36 + samples * 2, 4);
    wav.append("WAVEfmt ");
    for (auto [v, n] :
         {std::pair{16, 4}, {1, 2}, {1, 2}, {rate, 4}, {rate * 2, 4}, {2, 2}, {16, 2}})
        le(std::uint32_t(v), n);
    wav.append("data");
    le(samples * 2, 4);
    for (int i = 0; i < samples; ++i)
        le(std::uint32_t(std::int16_t(20000 * std::sin(i * 2 * 3.14159265358979 * 440.0 / rate))),
           2);
    QFile file(folder + QStringLiteral("/beep.wav"));
    file.open(QIODevice::WriteOnly);
    file.write(wav);
    return file.fileName();
}

bool spinUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

void BuzzerToFirstFrameAtTheServer(benchmark::State& state) {
    OutputListener listener;
    if (!listener.ok()) {
        state.SkipWithError("no audio server: run under scripts/with-audio-server.sh");
        return;
    }
    QTemporaryDir folder;
    Settings settings;
    settings.BuzzerFile = writeBeep(folder.path());
    FakeTimeSource time;
    frmScoreBoard board(settings, time);

    if (!spinUntil([&] { return listener.heardMs() >= 300; }, 10000)) {
        state.SkipWithError("the output's monitor gives nothing");
        return;
    }
    std::vector<double> latenciesMs;
    for (auto _ : state) {
        // Between measurements: the last beep over, heard out, and the board free again.
        if (!spinUntil([&] { return board.BuzzerPlaying() == 0 && listener.quietFor(100); },
                       5000)) {
            state.SkipWithError("the last beep did not end");
            return;
        }
        listener.arm();
        const std::int64_t start = nowNs();
        board.Buzzer();
        if (!spinUntil([&] { return listener.firstLoudNs() != 0; }, 2000)) {
            state.SkipWithError("the beep was not heard at the server");
            return;
        }
        const double seconds = double(listener.firstLoudNs() - start) / 1e9;
        state.SetIterationTime(seconds);
        latenciesMs.push_back(seconds * 1000);
    }
    std::sort(latenciesMs.begin(), latenciesMs.end());
    auto at = [&](double q) { return latenciesMs[size_t(q * double(latenciesMs.size() - 1))]; };
    state.counters["median_ms"] = at(0.5);
    state.counters["p90_ms"] = at(0.9);
    state.counters["max_ms"] = latenciesMs.back();
}
BENCHMARK(BuzzerToFirstFrameAtTheServer)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
