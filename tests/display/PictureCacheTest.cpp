#include "display/PictureCache.h"
#include "support/Patience.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#ifdef __linux__
#include <sys/resource.h>
#endif

namespace {

QImage gradient(int width, int height, QRgb tint = qRgb(0, 0, 0)) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb((x * 255 / width) | qRed(tint), (y * 255 / height) | qGreen(tint),
                                qBlue(tint)));
        }
    }
    return image;
}

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

void putU16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

// A GIF written by hand (the image writers make no GIF): four grey levels, its pixels coded so
// that the code width never grows. The screen may be declared larger than the image.
QByteArray gif(int width, int height, int screenWidth = 0, int screenHeight = 0) {
    QByteArray bytes("GIF89a");
    putU16(bytes, screenWidth ? screenWidth : width);
    putU16(bytes, screenHeight ? screenHeight : height);
    bytes.append('\x81').append('\0').append('\0');
    for (int level : {0, 85, 170, 255}) {
        bytes.append(QByteArray(3, static_cast<char>(level)));
    }
    bytes.append('\x2C');
    putU16(bytes, 0);
    putU16(bytes, 0);
    putU16(bytes, width);
    putU16(bytes, height);
    bytes.append('\0').append('\x02');

    QByteArray data;
    unsigned accumulator = 0;
    int bits = 0;
    const auto putCode = [&](unsigned code) {
        accumulator |= code << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(static_cast<char>(accumulator & 0xFF));
            accumulator >>= 8;
            bits -= 8;
        }
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0) {
            putCode(4); // clear: the table never grows past 3-bit codes
        }
        putCode(static_cast<unsigned>((i % width) * 4 / width));
    }
    putCode(5);
    if (bits > 0) {
        data.append(static_cast<char>(accumulator & 0xFF));
    }
    for (int pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        bytes.append(static_cast<char>(block.size())).append(block);
    }
    bytes.append('\0').append('\x3B');
    return bytes;
}

// A bare BMP header that announces width x height pixels and brings none of them.
QByteArray bmpHeader(int width, int height) {
    QByteArray bytes("BM");
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    u32(54);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));
    putU16(bytes, 1);
    putU16(bytes, 24);
    for (int i = 0; i < 6; ++i) {
        u32(0);
    }
    return bytes;
}

// A real JPEG whose frame header now announces width x height.
QByteArray jpegDeclaring(int width, int height) {
    QByteArray bytes = encode(gradient(32, 32), "JPEG");
    const auto sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(sof, 0);
    bytes[sof + 5] = static_cast<char>(height >> 8);
    bytes[sof + 6] = static_cast<char>(height & 0xFF);
    bytes[sof + 7] = static_cast<char>(width >> 8);
    bytes[sof + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

long peakMemoryKb() {
#ifdef __linux__
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

class PictureCacheTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    static void setModified(const QString& path, const QDateTime& when) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    static QDateTime modified(const QString& path) {
        return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
    }

    QTemporaryDir dir;
    PictureCache cache;
};

TEST_F(PictureCacheTest, DecodesTheThreeFormatsByContentWhateverTheName) {
    const QImage source = gradient(60, 40);
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"a.jpg", encode(source, "JPEG")},
        {"b.bmp", encode(source, "BMP")},
        {"c.gif", gif(60, 40)},
        {"jpeg-named.bmp", encode(source, "JPEG")},
        {"bmp-named.gif", encode(source, "BMP")},
        {"gif-named.JPG", gif(60, 40)},
        {"no-extension", encode(source, "JPEG")},
    };
    for (const auto& row : rows) {
        const PictureCache::Result r = cache.fetch(write(row.name, row.bytes));
        EXPECT_EQ(r.status, PictureStatus::Loaded) << row.name;
        EXPECT_EQ(r.image.size(), QSize(60, 40)) << row.name;
    }
    // The BMP comes back pixel for pixel; the GIF's columns step through its four greys.
    const QImage bmp = cache.load(dir.filePath("b.bmp"));
    EXPECT_EQ(bmp.pixel(59, 39), source.pixel(59, 39));
    const QImage grey = cache.load(dir.filePath("c.gif"));
    EXPECT_EQ(qRed(grey.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(grey.pixel(59, 20)), 255);
}

TEST_F(PictureCacheTest, BadFilesGiveNoPicture) {
    const QByteArray jpeg = encode(gradient(64, 48), "JPEG");
    const QByteArray bmp = encode(gradient(64, 48), "BMP");
    const QByteArray gif = ::gif(64, 48);
    QByteArray corruptJpeg = jpeg;
    for (int i = 20; i < 200; ++i) {
        corruptJpeg[i] = static_cast<char>(corruptJpeg[i] ^ 0x5A);
    }
    QByteArray noisyJpeg("\xFF\xD8\xFF", 3);
    for (int i = 0; i < 5000; ++i) {
        noisyJpeg.append(static_cast<char>((i * 7919) >> 3));
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"empty.jpg", QByteArray()},
        {"half.jpg", jpeg.left(jpeg.size() / 2)},
        {"no-end-marker.jpg", jpeg.left(jpeg.size() - 2)},
        {"last-byte-gone.jpg", jpeg.left(jpeg.size() - 1)},
        {"headers-only.jpg", jpeg.left(20)},
        {"corrupt.jpg", corruptJpeg},
        {"noise.jpg", noisyJpeg},
        {"half.bmp", bmp.left(bmp.size() / 2)},
        {"one-row-short.bmp", bmp.left(bmp.size() - 64 * 3)},
        {"half.gif", gif.left(gif.size() / 2)},
        {"no-image.gif", gif.left(13 + 12)},
        {"text.jpg", QByteArray("This is not a picture.\n")},
        {"text.bmp", QByteArray("BMP files start with BM, this one does not.\n")},
        {"bm-text.bmp", QByteArray("BM but then only words and no header at all.\n")},
        {"png.jpg", encode(gradient(64, 48), "PNG")}, // the board shows BMP, GIF and JPEG only
    };
    for (const auto& row : rows) {
        const PictureCache::Result r = cache.fetch(write(row.name, row.bytes));
        EXPECT_TRUE(r.image.isNull()) << row.name;
        EXPECT_EQ(r.status, PictureStatus::Unreadable) << row.name;
    }
}

TEST_F(PictureCacheTest, DecompressionBombsFailFastWithoutTheirMemory) {
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"bomb.bmp", bmpHeader(60000, 60000)},  {"top-down-bomb.bmp", bmpHeader(60000, -60000)},
        {"long-side.bmp", bmpHeader(20000, 2)}, {"bomb.jpg", jpegDeclaring(60000, 60000)},
        {"wide.jpg", jpegDeclaring(65535, 8)},  {"bomb.gif", gif(1, 1, 65535, 65535)},
        {"tall.gif", gif(1, 1, 2, 40000)},
    };
    const long peakBefore = peakMemoryKb();
    QElapsedTimer timer;
    timer.start();
    for (const auto& row : rows) {
        EXPECT_TRUE(cache.load(write(row.name, row.bytes)).isNull()) << row.name;
    }
    EXPECT_LT(timer.elapsed(), kPatienceMs); // fails, never hangs; the memory shows none decoded
    // Any of them decoded would have set aside gigabytes; none may cost even 64 MB.
    EXPECT_LT(peakMemoryKb() - peakBefore, 64 * 1024);
}

TEST_F(PictureCacheTest, LimitsApplyToTheDeclaredSize) {
    PictureLimits small;
    small.maxPixels = 100 * 100;
    small.maxSide = 150;
    PictureCache limited(4, 1 << 30, small);
    const struct {
        int width, height;
        bool shown;
    } rows[] = {{100, 100, true}, {150, 60, true}, {101, 100, false}, {151, 10, false}};
    for (const auto& row : rows) {
        for (const char* format : {"JPEG", "BMP"}) {
            const QString path =
                write(QStringLiteral("%1x%2.%3").arg(row.width).arg(row.height).arg(format),
                      encode(gradient(row.width, row.height), format));
            EXPECT_EQ(limited.load(path).isNull(), !row.shown)
                << row.width << "x" << row.height << " " << format;
        }
    }
}

TEST_F(PictureCacheTest, NoPathAndMissingFilesAreToldApart) {
    EXPECT_EQ(cache.fetch(QString()).status, PictureStatus::NoPath);
    EXPECT_EQ(cache.fetch(dir.filePath("nowhere.jpg")).status, PictureStatus::Missing);
    EXPECT_EQ(cache.fetch(dir.path()).status, PictureStatus::Missing);
    EXPECT_EQ(cache.decodeCount(), 0);
}

TEST_F(PictureCacheTest, UnchangedFileIsDecodedOnce) {
    const QString path = write("home.jpg", encode(gradient(80, 60), "JPEG"));
    const QImage first = cache.load(path);
    ASSERT_FALSE(first.isNull());
    for (int resize = 0; resize < 5; ++resize) {
        EXPECT_EQ(cache.load(path), first);
    }
    // Another spelling of the same file is the same entry.
    EXPECT_EQ(cache.load(dir.path() + QStringLiteral("/./home.jpg")), first);
    EXPECT_EQ(cache.decodeCount(), 1);
}

TEST_F(PictureCacheTest, FileChangedOnDiskIsDecodedAgain) {
    const QString path = write("home.bmp", encode(gradient(40, 40), "BMP"));
    const QDateTime original = modified(path);
    ASSERT_EQ(qRed(cache.load(path).pixel(0, 0)), 0);

    // Touched: same bytes, new time.
    setModified(path, original.addSecs(3600));
    EXPECT_FALSE(cache.load(path).isNull());
    EXPECT_EQ(cache.decodeCount(), 2);

    // Replaced by a picture of another size with the old time put back: the size gives it away.
    write("home.bmp", encode(gradient(50, 40, qRgb(255, 0, 0)), "BMP"));
    setModified(path, original.addSecs(3600));
    const QImage replaced = cache.load(path);
    EXPECT_EQ(replaced.size(), QSize(50, 40));
    EXPECT_EQ(qRed(replaced.pixel(0, 0)), 255);
    EXPECT_EQ(cache.decodeCount(), 3);
    EXPECT_EQ(cache.entryCount(), 1);
}

TEST_F(PictureCacheTest, BrokenFileIsRememberedUntilItChanges) {
    const QByteArray jpeg = encode(gradient(40, 30), "JPEG");
    const QString path = write("visitor.jpg", jpeg.left(jpeg.size() / 2));
    EXPECT_TRUE(cache.load(path).isNull());
    EXPECT_TRUE(cache.load(path).isNull());
    EXPECT_EQ(cache.fetch(path).status, PictureStatus::Unreadable);
    EXPECT_EQ(cache.decodeCount(), 1);

    write("visitor.jpg", jpeg);
    setModified(path, QDateTime::currentDateTime().addSecs(60));
    EXPECT_EQ(cache.load(path).size(), QSize(40, 30));
    EXPECT_EQ(cache.decodeCount(), 2);
}

TEST_F(PictureCacheTest, KeepsTheMostRecentlyUsedEntries) {
    PictureCache small(2);
    const QString a = write("a.bmp", encode(gradient(10, 10), "BMP"));
    const QString b = write("b.bmp", encode(gradient(11, 10), "BMP"));
    const QString c = write("c.bmp", encode(gradient(12, 10), "BMP"));
    small.load(a);
    small.load(b);
    small.load(a); // a is now the more recent of the two
    small.load(c); // b goes
    EXPECT_EQ(small.entryCount(), 2);
    EXPECT_EQ(small.decodeCount(), 3);
    small.load(a);
    EXPECT_EQ(small.decodeCount(), 3);
    small.load(b);
    EXPECT_EQ(small.decodeCount(), 4);

    // A byte budget smaller than any picture still keeps the newest one.
    PictureCache tight(4, 1);
    tight.load(a);
    tight.load(b);
    EXPECT_EQ(tight.entryCount(), 1);
    tight.load(b);
    EXPECT_EQ(tight.decodeCount(), 2);
}

} // namespace
