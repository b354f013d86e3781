#pragma once

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

// Three photographs of 3000 x 2000 pixels, as a board's team and board pictures, written as
// JPEG files into a folder of their own for the board benchmarks.
struct BenchPictures {
    QTemporaryDir dir;
    QStringList paths;
    BenchPictures() {
        for (int n = 0; n < 3; ++n) {
            QImage image(3000, 2000, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    line[x] = qRgb((x + 40 * n) & 255, (y * 3) & 255, ((x ^ y) + n) & 255);
            }
            paths << dir.filePath(QStringLiteral("picture%1.jpg").arg(n));
            image.save(paths.last(), "JPEG", 90);
        }
    }
};
