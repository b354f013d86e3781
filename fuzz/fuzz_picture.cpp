// Picture files holding anything: decoding them must neither crash nor set aside more memory
// than the limits allow, and what comes back is either refused or a picture within the limits.
#include "FuzzCheck.h"

#include "display/PictureCache.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

namespace {

// Small limits, so the fuzzer's memory ceiling catches any decode that ignores them.
PictureLimits smallLimits() {
    PictureLimits limits;
    limits.maxSide = 2048;
    limits.maxPixels = 1024 * 1024;
    limits.maxFileBytes = 8 * 1024 * 1024;
    limits.allocationLimitMegabytes = 16;
    return limits;
}

void checkPicture(const QImage& image, const PictureLimits& limits) {
    if (image.isNull())
        return;
    FUZZ_CHECK(limits.allows(image.size()));
}

// The image plug-ins are found through the application's library paths.
QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    application();
    const PictureLimits limits = smallLimits();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    checkPicture(DecodePicture(bytes, limits), limits);

    // The same bytes under a picture's name on disk, as the board loads them.
    static const QString path = QDir::temp().filePath(
        QStringLiteral("pucktally-fuzz-%1.jpg").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    PictureCache cache(2, 64LL * 1024 * 1024, limits);
    const PictureCache::Result result = cache.fetch(path);
    checkPicture(result.image, limits);
    FUZZ_CHECK(result.status == PictureStatus::Loaded ||
               result.status == PictureStatus::Unreadable);
    FUZZ_CHECK((result.status == PictureStatus::Loaded) == !result.image.isNull());
    return 0;
}
