#include "BenchMain.h"
#include "display/PolyLED.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

// What one clock tick costs per changed digit: painting a cell of the given Size and style
// whose geometry is already built.
static void BM_PaintCell(benchmark::State& state) {
    PolyLED cell;
    cell.setSize(static_cast<double>(state.range(0)));
    cell.setLedType(static_cast<std::int32_t>(state.range(1)));
    cell.setCaption(8);
    QImage target(cell.size(), QImage::Format_ARGB32_Premultiplied);
    cell.render(&target); // builds the face once
    int digit = 0;
    for (auto _ : state) {
        cell.setCaption(digit);
        digit = (digit + 1) % 10;
        cell.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintCell)
    ->ArgNames({"size", "dots"})
    ->Args({55, 0})
    ->Args({80, 0})
    ->Args({350, 0})
    ->Args({55, 1})
    ->Args({80, 1})
    ->Args({350, 1});

// What a resize costs per cell: a new Size, then the first paint, which rebuilds the face.
static void BM_ResizeAndPaintCell(benchmark::State& state) {
    PolyLED cell;
    cell.setLedType(static_cast<std::int32_t>(state.range(0)));
    QImage target(600, 600, QImage::Format_ARGB32_Premultiplied);
    double size = 80;
    for (auto _ : state) {
        size = size >= 300 ? 80 : size + 1;
        cell.setSize(size);
        cell.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ResizeAndPaintCell)->ArgName("dots")->Arg(0)->Arg(1);

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
