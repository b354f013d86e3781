// What the audience's screen costs: one clock tick of the board *with* the painting of the
// cells it changed, at the design size, full HD and 4K, in both digit styles; and one frame of
// a resize drag at 4K with three large pictures, layout and full paint included.
// The ticks come in the last minute (every clock digit changes on every tick) with four
// penalties running, the worst a tick gets.
#include "BenchMain.h"
#include "BenchPictures.h"
#include "board/frmScoreBoard.h"
#include "platform/HeapTuning.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdlib>

namespace {

// Counts the paint events the board's widgets receive, so a benchmark can tell that the tick's
// painting really happened inside the measured time.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void showAt(QWidget& board, int width, int height) {
    board.show();
    board.resize(width, height);
    while (!board.windowHandle() || !board.windowHandle()->isExposed())
        QApplication::processEvents();
    QApplication::processEvents();
}

// Paints whatever the last events marked for repainting, now: the update requests the widgets
// posted are delivered, which paints the dirty cells into the window's backing store and
// hands it to the screen.
void paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents();
}

// Types `keys` into an entry box: digits, "." and "\n" for Enter.
void typeInto(ScoreBoardLogic& logic, EntryBox box, const char* keys) {
    for (const char* k = keys; *k; ++k)
        logic.KeyDown(box, *k == '\n' ? 13 : *k == '.' ? 190 : *k);
}

// A time typed into each of the four penalty slots.
void typeAllPenalties(ScoreBoardLogic& logic, const char* keys) {
    for (EntryBox box :
         {EntryBox::PenaltyTH1, EntryBox::PenaltyTH2, EntryBox::PenaltyTV1, EntryBox::PenaltyTV2})
        typeInto(logic, box, keys);
}

// Starts the clock with the timer off: the benchmark drives the ticks itself.
void startClock(frmScoreBoard& board, const Settings& settings) {
    board.logic().AllKeyCode(settings.StartStopClockKey);
    board.clockTimer().setEnabled(false);
    paintPending();
}

// The measured loop: a tenth of game time and `tick` with the painting it caused, per
// iteration; `setUp` again, untimed, before the clock runs out.
template <typename Tick, typename SetUp>
void measureTicks(benchmark::State& state, FakeTimeSource& time, PaintCounter& counter, Tick tick,
                  SetUp setUp) {
    setUp();
    int n = 0;
    counter.paints = 0;
    for (auto _ : state) {
        time.advance(100);
        tick();
        paintPending();
        if (++n % 500 == 0) {
            state.PauseTiming();
            setUp();
            state.ResumeTiming();
        }
    }
    state.counters["paints_per_tick"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}

void BM_TickAndPaint(benchmark::State& state) {
    Settings settings;
    settings.LEDType = static_cast<std::int16_t>(state.range(2));
    FakeTimeSource time;
    frmScoreBoard board(settings, time);
    PaintCounter counter;
    for (QWidget* w : board.findChildren<QWidget*>())
        w->installEventFilter(&counter);
    showAt(board, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));

    ScoreBoardLogic& logic = board.logic();
    auto setUp = [&] {
        typeInto(logic, EntryBox::TimeBack, "0.59\n");
        typeAllPenalties(logic, "9.59\n");
        startClock(board, settings);
    };
    measureTicks(
        state, time, counter, [&] { logic.tmrClock1_Timer(); }, setUp);
}

// The same tick as the window's timer delivers it, with the penalty assistant off (range 2
// is 0) or on with four penalties on the clocks and one waiting (1): the assistant redraws the
// four slots and the title on every tick.
void BM_TimerTickWithPenaltyAssistant(benchmark::State& state) {
    Settings settings;
    FakeTimeSource time;
    frmScoreBoard board(settings, time);
    PaintCounter counter;
    for (QWidget* w : board.findChildren<QWidget*>())
        w->installEventFilter(&counter);
    showAt(board, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const bool assisted = state.range(2) != 0;

    ScoreBoardLogic& logic = board.logic();
    auto setUp = [&] {
        typeInto(logic, EntryBox::TimeBack, "0.59\n");
        if (assisted) {
            board.setPenaltyRules(std::nullopt);
            board.setPenaltyRules(penalties::rulesFor(penalties::RuleBook::Iihf));
            auto& assistant = board.penaltyAssistant()->assistant();
            // One stoppage each, so no two of them are coincident.
            for (int player : {4, 5, 6, 7, 8}) {
                const auto team = player < 7 ? penalties::Team::Home : penalties::Team::Guest;
                assistant.assess({team, player, penalties::PenaltyKind::Major});
                assistant.advance(1);
            }
        } else {
            typeAllPenalties(logic, "5.00\n");
        }
        startClock(board, settings);
    };
    measureTicks(
        state, time, counter, [&] { emit board.clockTimer().tick(); }, setUp);
}
BENCHMARK(BM_TimerTickWithPenaltyAssistant)
    ->ArgNames({"width", "height", "assistant"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1});

BENCHMARK(BM_TickAndPaint)
    ->ArgNames({"width", "height", "dots"})
    ->Args({632, 453, 0})
    ->Args({632, 453, 1})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

using Pictures = BenchPictures;

// One frame of a resize drag at 4K: the new size laid out, pictures fitted, everything painted.
void BM_DragFrame(benchmark::State& state) {
    static Pictures pictures;
    Settings settings;
    settings.LEDType = static_cast<std::int16_t>(state.range(0));
    settings.HomePic = pictures.paths.at(0);
    settings.VisitorPic = pictures.paths.at(1);
    settings.BoardPic = pictures.paths.at(2);
    FakeTimeSource time;
    frmScoreBoard board(settings, time);
    showAt(board, 3840, 2160);
    // Steps of a pixel or two, or a fast drag sweeping 3200 to 3840 pixels wide in steps of 32.
    const bool sweep = state.range(1) != 0;
    int step = 0;
    for (auto _ : state) {
        ++step;
        if (sweep) {
            const int swing = std::abs(step % 40 - 20); // 0..20 and back
            board.resize(3200 + 32 * swing, 1800 + 18 * swing);
        } else {
            board.resize(3824 + step % 16, 2151 + step % 9);
        }
        board.repaint();
    }
}
BENCHMARK(BM_DragFrame)
    ->ArgNames({"dots", "sweep"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The floor under any drag frame: an empty window of the same size resized and painted, which
// is what the toolkit's own window buffer costs.
void BM_DragFrameEmptyWindow(benchmark::State& state) {
    QWidget window;
    window.setAutoFillBackground(true);
    showAt(window, 3840, 2160);
    int step = 0;
    for (auto _ : state) {
        ++step;
        window.resize(3824 + step % 16, 2151 + step % 9);
        window.repaint();
    }
}
BENCHMARK(BM_DragFrameEmptyWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    keepLargeBuffersInHeap(); // as the program does
    return runBenchmarks<QApplication>(argc, argv);
}
