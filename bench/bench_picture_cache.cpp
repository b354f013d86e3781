// The board fits its three pictures again after every resize. This compares looking them up in
// the picture cache while they stay unchanged on disk with decoding them afresh each time, for
// three 3000 x 2000 JPEG photographs.
#include "display/PictureCache.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

namespace {

const QStringList& pictures() {
    static QTemporaryDir dir;
    static QStringList paths;
    if (paths.isEmpty()) {
        for (int n = 0; n < 3; ++n) {
            QImage image(3000, 2000, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    line[x] = qRgb((x + 40 * n) & 255, (y * 3) & 255, ((x ^ y) + n) & 255);
                }
            }
            const QString path = dir.filePath(QStringLiteral("picture%1.jpg").arg(n));
            image.save(path, "JPEG", 90);
            paths << path;
        }
    }
    return paths;
}

void BM_ThreePicturesCachedUnchanged(benchmark::State& state) {
    const QStringList& paths = pictures();
    PictureCache cache;
    for (const QString& path : paths) {
        cache.load(path);
    }
    for (auto _ : state) {
        for (const QString& path : paths) {
            benchmark::DoNotOptimize(cache.load(path));
        }
    }
    state.counters["decodes"] = cache.decodeCount();
}
BENCHMARK(BM_ThreePicturesCachedUnchanged)->Unit(benchmark::kMicrosecond);

void BM_ThreePicturesDecodedAfresh(benchmark::State& state) {
    const QStringList& paths = pictures();
    int decodes = 0;
    for (auto _ : state) {
        PictureCache cache;
        for (const QString& path : paths) {
            benchmark::DoNotOptimize(cache.load(path));
        }
        decodes += cache.decodeCount();
    }
    state.counters["decodes"] = decodes;
}
BENCHMARK(BM_ThreePicturesDecodedAfresh)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
