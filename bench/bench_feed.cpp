// The live feed: the cost per tick of building its message, the latency from the board
// drawing a tenth to a /live client receiving it, and the clock tick's lag with the feed busy.

#include "BenchMain.h"
#include "feed/FeedState.h"
#include "feed/LiveFeed.h"
#include "game/BoardHarness.h"
#include "game/TenthTimer.h"

#include "BenchPercentiles.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace boardtest;
using Clock = std::chrono::steady_clock;

namespace {

void report(benchmark::State& state, const std::vector<double>& ms) {
    reportSpread(state, ms, "samples");
}

void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// A board with its clock running and a live feed on a free port of 127.0.0.1.
struct FedBoard {
    BoardHarness board;
    LiveFeed feed{board.settings, [this] { return board.logic.state(); }};
    FedBoard() {
        board.load();
        board.type(EntryBox::HomeBack, "3\n");
        board.type(EntryBox::PenaltyPH1, "17\n");
        board.type(EntryBox::PenaltyTH1, "2.00\n");
        board.press(EntryBox::TimeBack, keyFor('S'));
        feed.apply({true, QStringLiteral("127.0.0.1"), 0});
    }
};

// WebSocket clients in a thread of their own, noting when each message arrives by its
// sequence number.
class Audience {
  public:
    Audience(quint16 port, int clients) {
        anchor_.moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(
            &anchor_, [this, port, clients] { connectAll(port, clients); },
            Qt::BlockingQueuedConnection);
        while (connected_.load() < clients)
            QThread::msleep(5);
    }
    ~Audience() {
        QMetaObject::invokeMethod(
            &anchor_, [this] { sockets_.clear(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    // Waits until every client has message `seq`; false after a second without.
    bool waitFor(qint64 seq, int clients) {
        const auto end = Clock::now() + std::chrono::seconds(1);
        while (Clock::now() < end) {
            {
                std::lock_guard lock(mutex_);
                if (countFor(seq) >= clients)
                    return true;
            }
            QThread::usleep(50);
        }
        return false;
    }
    std::vector<Clock::time_point> arrivals(qint64 seq) {
        std::lock_guard lock(mutex_);
        std::vector<Clock::time_point> out;
        for (const auto& [s, t] : arrivals_)
            if (s == seq)
                out.push_back(t);
        return out;
    }
    void forget() {
        std::lock_guard lock(mutex_);
        arrivals_.clear();
    }

  private:
    static qint64 seqOf(const QString& message) {
        const qsizetype at = message.indexOf(QLatin1String("\"seq\":"));
        return at < 0 ? -1 : QStringView(message).mid(at + 6, 20).split(u',').first().toLongLong();
    }
    int countFor(qint64 seq) const {
        return static_cast<int>(std::count_if(arrivals_.begin(), arrivals_.end(),
                                              [seq](const auto& a) { return a.first == seq; }));
    }
    void connectAll(quint16 port, int clients) {
        for (int i = 0; i < clients; ++i) {
            auto socket = std::make_unique<QWebSocket>();
            QObject::connect(socket.get(), &QWebSocket::connected, [this] { ++connected_; });
            QObject::connect(socket.get(), &QWebSocket::textMessageReceived,
                             [this](const QString& m) {
                                 const auto now = Clock::now();
                                 std::lock_guard lock(mutex_);
                                 arrivals_.emplace_back(seqOf(m), now);
                             });
            socket->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
            sockets_.push_back(std::move(socket));
        }
    }

    QThread thread_;
    QObject anchor_;
    std::vector<std::unique_ptr<QWebSocket>> sockets_;
    std::atomic<int> connected_{0};
    std::mutex mutex_;
    std::vector<std::pair<qint64, Clock::time_point>> arrivals_;
};

// The work on the board's thread per tick: read the board, build the look, build the message.
void BM_FeedMessage(benchmark::State& state) {
    BoardHarness board;
    board.load();
    board.press(EntryBox::TimeBack, keyFor('S'));
    std::uint64_t seq = 0;
    for (auto _ : state) {
        board.run(100);
        benchmark::DoNotOptimize(feedJson(board.logic.state(), feedLookOf(board.settings), ++seq));
    }
}

// From the board drawing a tenth to every /live client holding it.
void BM_FeedLatency(benchmark::State& state) {
    const int clients = static_cast<int>(state.range(0));
    FedBoard fed;
    Audience audience(fed.feed.port(), clients);
    std::vector<double> latencies;
    qint64 seq = 1; // the feed sent its first state when it started
    audience.waitFor(seq, clients);
    for (auto _ : state) {
        fed.board.run(100); // the board draws the next tenth
        const auto drawn = Clock::now();
        fed.feed.boardChanged();
        ++seq;
        if (!audience.waitFor(seq, clients)) {
            state.SkipWithError("a client missed a tenth");
            return;
        }
        for (const auto t : audience.arrivals(seq))
            latencies.push_back(std::chrono::duration<double, std::milli>(t - drawn).count());
        audience.forget();
    }
    report(state, latencies);
}

// The clock timer's lag behind the tenth boundaries, with the feed publishing every tick to
// `clients` clients, and with a client flooding the feed with requests when `flood` is set.
void tickLag(benchmark::State& state, int clients, bool flood) {
    FedBoard fed;
    std::unique_ptr<Audience> audience;
    if (clients > 0)
        audience = std::make_unique<Audience>(fed.feed.port(), clients);
    std::atomic<bool> stop{false};
    std::thread flooder;
    if (flood)
        flooder = std::thread([&stop, port = fed.feed.port()] {
            while (!stop) {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, port);
                if (s.waitForConnected(500)) {
                    s.write("GET /state.json HTTP/1.1\r\n\r\nGET /../x HTTP/1.1\r\n\r\n\x01\x02");
                    s.waitForReadyRead(200);
                }
            }
        });

    SteadyTimeSource time;
    std::vector<double> lags;
    for (auto _ : state) {
        TenthTimer timer(time);
        QObject::connect(&timer, &TenthTimer::tick, [&] {
            lags.push_back(lagSinceBoundaryMs());
            fed.board.run(100);
            fed.feed.boardChanged();
            if (audience)
                audience->forget();
        });
        timer.setEnabled(true);
        runEventLoopFor(5000);
        timer.setEnabled(false);
    }
    stop = true;
    if (flooder.joinable())
        flooder.join();
    report(state, lags);
}

void BM_TickLagFeedOff(benchmark::State& state) {
    BoardHarness board;
    SteadyTimeSource time;
    std::vector<double> lags;
    for (auto _ : state) {
        TenthTimer timer(time);
        QObject::connect(&timer, &TenthTimer::tick, [&] { lags.push_back(lagSinceBoundaryMs()); });
        timer.setEnabled(true);
        runEventLoopFor(5000);
        timer.setEnabled(false);
    }
    report(state, lags);
}

void BM_TickLagWithClients(benchmark::State& state) {
    tickLag(state, static_cast<int>(state.range(0)), false);
}

void BM_TickLagUnderRequestFlood(benchmark::State& state) {
    tickLag(state, 50, true);
}

} // namespace

BENCHMARK(BM_FeedMessage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FeedLatency)->Arg(1)->Arg(10)->Arg(50)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickLagFeedOff)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickLagWithClients)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickLagUnderRequestFlood)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
