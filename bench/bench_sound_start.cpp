// How soon the buzzer is heard, and how soon the board is free again once it has been heard
// out: from the board's Buzzer to the first frame of the sound at the audio server's output,
// and from the sound's last frame there to the board's BuzzerPlaying falling to 0. The output
// is observed by recording its monitor in small fragments on a thread of its own (the figures
// thus include the recording's own fragment, a millisecond or two). Needs an audio server;
// the project's own private one serves:
//
//   scripts/with-audio-server.sh build/program/bench_sound_start
//
// Reports the mean as the benchmark's time and the median, 90th percentile and worst case as
// counters, in milliseconds. The tests only check that a sound is heard whole and ends once:
// these figures depend on how busy the machine is.
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
#include <memory>
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
    std::int64_t lastLoudNs() const { return lastLoudNs_; }
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

// A board with a short beep as its buzzer, listened to at the server's output.
class BuzzerRig {
  public:
    BuzzerRig() {
        settings_.BuzzerFile = writeBeep(folder_.path());
        board_ = std::make_unique<frmScoreBoard>(settings_, time_);
    }
    // Empty when the rig can measure; else why not.
    const char* fault() const {
        if (!listener.ok())
            return "no audio server: run under scripts/with-audio-server.sh";
        if (!spinUntil([&] { return listener.heardMs() >= 300; }, 10000))
            return "the output's monitor gives nothing";
        return nullptr;
    }
    // Between measurements: the last beep over, heard out, and the board free again.
    bool rested() {
        return spinUntil([&] { return board().BuzzerPlaying() == 0 && listener.quietFor(100); },
                         5000);
    }
    frmScoreBoard& board() { return *board_; }

    OutputListener listener;

  private:
    QTemporaryDir folder_;
    Settings settings_;
    FakeTimeSource time_;
    std::unique_ptr<frmScoreBoard> board_;
};

// Hands one measurement in milliseconds to the benchmark, and the spread of them all to its
// counters once the last is in.
class Latencies {
  public:
    explicit Latencies(benchmark::State& state) : state_(state) {}
    ~Latencies() {
        if (ms_.empty())
            return;
        std::sort(ms_.begin(), ms_.end());
        auto at = [&](double q) { return ms_[size_t(q * double(ms_.size() - 1))]; };
        state_.counters["median_ms"] = at(0.5);
        state_.counters["p90_ms"] = at(0.9);
        state_.counters["max_ms"] = ms_.back();
    }
    void add(double ms) {
        state_.SetIterationTime(std::max(ms, 0.0) / 1000);
        ms_.push_back(ms);
    }

  private:
    benchmark::State& state_;
    std::vector<double> ms_;
};

// Runs `one` once per iteration on a rested rig with its listener armed: it presses the
// buzzer and gives its measurement in milliseconds, or why there is none.
using Measurement = std::function<const char*(BuzzerRig&, double& ms)>;
void measureBuzzer(benchmark::State& state, const Measurement& one) {
    BuzzerRig rig;
    if (const char* fault = rig.fault()) {
        state.SkipWithError(fault);
        return;
    }
    Latencies latencies(state);
    for (auto _ : state) {
        if (!rig.rested()) {
            state.SkipWithError("the last beep did not end");
            return;
        }
        rig.listener.arm();
        double ms = 0;
        if (const char* fault = one(rig, ms)) {
            state.SkipWithError(fault);
            return;
        }
        latencies.add(ms);
    }
}

void BuzzerToFirstFrameAtTheServer(benchmark::State& state) {
    measureBuzzer(state, [](BuzzerRig& rig, double& ms) -> const char* {
        const std::int64_t start = nowNs();
        rig.board().Buzzer();
        if (!spinUntil([&] { return rig.listener.firstLoudNs() != 0; }, 2000))
            return "the beep was not heard at the server";
        ms = double(rig.listener.firstLoudNs() - start) / 1e6;
        return nullptr;
    });
}
BENCHMARK(BuzzerToFirstFrameAtTheServer)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

// The board's buzzer key works again only once the board has been told the sound ended; told
// late, the key is dead for that long. Negative when told before the last frame was heard.
void BuzzerLastFrameToBoardFree(benchmark::State& state) {
    measureBuzzer(state, [](BuzzerRig& rig, double& ms) -> const char* {
        rig.board().Buzzer();
        if (!spinUntil([&] { return rig.board().BuzzerPlaying() == 0; }, 5000))
            return "the board was not told the beep ended";
        const std::int64_t freeAt = nowNs();
        // The last frames may reach the listener after the board is free.
        if (rig.listener.firstLoudNs() == 0 || !rig.rested())
            return "the beep was not heard out at the server";
        ms = double(freeAt - rig.listener.lastLoudNs()) / 1e6;
        return nullptr;
    });
}
BENCHMARK(BuzzerLastFrameToBoardFree)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
