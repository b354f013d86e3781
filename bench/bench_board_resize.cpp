// One resize of the board at 1920 x 1080 with three 3000 x 2000 JPEG pictures set: the
// controls scaled, the marker hidden, names and pictures laid out again. Painting is left
// out. Beside it, the same resize when every picture file has changed on disk, so each one
// is decoded again as it would be on every resize without the picture cache, and a resize
// with a huge team name.
#include "BenchMain.h"
#include "BenchPictures.h"
#include "board/frmScoreBoard.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWindow>

namespace {

struct Pictures : BenchPictures {
    // Gives every file a new modification time, as if it had been replaced.
    void touch(int generation) {
        const QDateTime when = QDateTime::currentDateTime().addSecs(generation);
        for (const QString& path : paths) {
            QFile file(path);
            file.open(QIODevice::ReadWrite);
            file.setFileTime(when, QFileDevice::FileModificationTime);
        }
    }
};

Pictures& pictures() {
    static Pictures p;
    return p;
}

Settings withPictures(const Pictures& pics) {
    Settings settings;
    settings.HomePic = pics.paths.at(0);
    settings.VisitorPic = pics.paths.at(1);
    settings.BoardPic = pics.paths.at(2);
    return settings;
}

// The board shown at 1920 x 1080 with its three pictures, painted once.
struct ShownBoard {
    Settings settings;
    FakeTimeSource time;
    frmScoreBoard board{settings, time};
    explicit ShownBoard(const Pictures& pics) : settings(withPictures(pics)) {
        board.show();
        board.resize(1920, 1080);
        while (!board.windowHandle() || !board.windowHandle()->isExposed())
            QApplication::processEvents();
        QApplication::processEvents();
    }
};

void resizeBoard(benchmark::State& state, bool picturesChange) {
    Pictures& pics = pictures();
    ShownBoard shown(pics);
    frmScoreBoard& board = shown.board;

    // Alternate between two sizes near 1920 x 1080, as a drag does.
    int generation = 0;
    for (auto _ : state) {
        if (picturesChange) {
            state.PauseTiming();
            pics.touch(++generation);
            state.ResumeTiming();
        }
        board.resize(generation % 2 ? 1920 : 1904, generation % 2 ? 1080 : 1071);
        if (!picturesChange)
            ++generation;
        if (generation % 16 == 0) {
            state.PauseTiming();
            QApplication::processEvents(); // paint off the clock
            state.ResumeTiming();
        }
    }
}

void BM_ResizeWithCachedPictures(benchmark::State& state) {
    resizeBoard(state, false);
}
BENCHMARK(BM_ResizeWithCachedPictures)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ResizeDecodingEveryPicture(benchmark::State& state) {
    resizeBoard(state, true);
}
BENCHMARK(BM_ResizeDecodingEveryPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// A frame of a resize drag as the audience sees it: the resize and the paint that follows,
// pictures scaled to their new frames included.
void BM_ResizeAndPaint(benchmark::State& state) {
    ShownBoard shown(pictures());
    frmScoreBoard& board = shown.board;
    int step = 0;
    for (auto _ : state) {
        ++step;
        board.resize(1904 + step % 16, 1071 + step % 9);
        board.repaint();
    }
}
BENCHMARK(BM_ResizeAndPaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// A resize with a home name of ten million characters, as a damaged store may hold: the
// board lays out only what a board can show of it, so this costs what an ordinary resize does.
void BM_ResizeWithHugeName(benchmark::State& state) {
    Settings settings;
    settings.HomeText = QString(10'000'000, QLatin1Char('W'));
    FakeTimeSource time;
    frmScoreBoard board(settings, time);
    board.show();
    int step = 0;
    for (auto _ : state) {
        ++step;
        board.resize(1904 + step % 16, 1071 + step % 9);
    }
}
BENCHMARK(BM_ResizeWithHugeName)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
