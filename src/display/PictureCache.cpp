#include "display/PictureCache.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <new>

bool PictureLimits::allows(QSize declared) const {
    if (declared.width() <= 0 || declared.height() <= 0) {
        return false;
    }
    if (declared.width() > maxSide || declared.height() > maxSide) {
        return false;
    }
    const std::int64_t pixels = std::int64_t{declared.width()} * declared.height();
    return pixels <= maxPixels;
}

namespace {

// What the first bytes and the block structure of a file say about it, before any decoder
// sees it. The decoders themselves accept a file cut short and fill the missing part with grey
// or black; the board shows no picture instead of a damaged one.
struct Inspection {
    const char* format = nullptr; // decoder to use; null when the file is refused
    QSize declared;
};

class Bytes {
  public:
    explicit Bytes(const QByteArray& data)
        : data_(reinterpret_cast<const unsigned char*>(data.constData())), size_(data.size()) {}

    std::int64_t size() const { return size_; }
    bool has(std::int64_t pos, std::int64_t count) const {
        return pos >= 0 && count >= 0 && pos <= size_ && count <= size_ - pos;
    }
    unsigned at(std::int64_t pos) const { return data_[pos]; }
    unsigned u16le(std::int64_t pos) const { return at(pos) | (at(pos + 1) << 8); }
    unsigned u16be(std::int64_t pos) const { return (at(pos) << 8) | at(pos + 1); }
    std::uint32_t u32le(std::int64_t pos) const {
        return std::uint32_t{at(pos)} | (std::uint32_t{at(pos + 1)} << 8) |
               (std::uint32_t{at(pos + 2)} << 16) | (std::uint32_t{at(pos + 3)} << 24);
    }
    std::int32_t i32le(std::int64_t pos) const { return static_cast<std::int32_t>(u32le(pos)); }
    bool startsWith(const char* magic, std::int64_t length) const {
        return has(0, length) &&
               std::equal(magic, magic + length, data_, [](char a, unsigned char b) {
                   return static_cast<unsigned char>(a) == b;
               });
    }

  private:
    const unsigned char* data_;
    std::int64_t size_;
};

// A run-length coded BMP ends with an end-of-bitmap escape; a file cut short lacks it.
bool rleStreamComplete(const Bytes& b, std::int64_t pos, bool fourBit) {
    while (b.has(pos, 2)) {
        const unsigned count = b.at(pos);
        const unsigned value = b.at(pos + 1);
        pos += 2;
        if (count > 0 || value == 0) {
            continue; // a run, or the end of a line
        }
        if (value == 1) {
            return true;
        }
        if (value == 2) {
            pos += 2; // a jump
            continue;
        }
        const std::int64_t literal = fourBit ? (value + 1) / 2 : value;
        pos += literal + (literal & 1);
    }
    return false;
}

Inspection inspectBmp(const Bytes& b, const PictureLimits& limits) {
    if (!b.has(0, 26)) {
        return {};
    }
    const std::int64_t pixelOffset = b.u32le(10);
    const std::uint32_t headerSize = b.u32le(14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = b.u16le(18);
        height = static_cast<std::int16_t>(b.u16le(20));
        bitsPerPixel = b.u16le(24);
    } else if (headerSize >= 40 && b.has(0, 14 + 40)) {
        width = b.i32le(18);
        height = b.i32le(22);
        bitsPerPixel = b.u16le(28);
        compression = b.u32le(30);
    } else {
        return {};
    }
    height = height < 0 ? -height : height; // negative: rows stored top-down
    if (width <= 0 || height <= 0 || width > limits.maxSide || height > limits.maxSide) {
        return {};
    }
    const QSize declared(static_cast<int>(width), static_cast<int>(height));
    if (!limits.allows(declared) || pixelOffset < 14 || pixelOffset > b.size()) {
        return {};
    }

    bool complete = false;
    switch (compression) {
    case 0: // plain rows
    case 3: // rows with bit masks
    case 6: {
        const bool knownDepth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                                bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
        const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
        complete = knownDepth && b.has(pixelOffset, stride * height);
        break;
    }
    case 1:
        complete = bitsPerPixel == 8 && rleStreamComplete(b, pixelOffset, false);
        break;
    case 2:
        complete = bitsPerPixel == 4 && rleStreamComplete(b, pixelOffset, true);
        break;
    default:
        break;
    }
    return complete ? Inspection{"bmp", declared} : Inspection{};
}

// Skips a chain of GIF data sub-blocks; false when the chain runs off the end of the file.
bool skipSubBlocks(const Bytes& b, std::int64_t& pos) {
    while (b.has(pos, 1)) {
        const unsigned length = b.at(pos);
        ++pos;
        if (length == 0) {
            return true;
        }
        pos += length;
    }
    return false;
}

// The board shows a GIF's first image; the file must hold that image whole.
Inspection inspectGif(const Bytes& b, const PictureLimits& limits) {
    if (!b.has(0, 13)) {
        return {};
    }
    const int screenWidth = static_cast<int>(b.u16le(6));
    const int screenHeight = static_cast<int>(b.u16le(8));
    const unsigned screenFlags = b.at(10);
    std::int64_t pos = 13;
    if (screenFlags & 0x80) {
        pos += 3 * (std::int64_t{2} << (screenFlags & 7));
    }
    while (b.has(pos, 1)) {
        const unsigned block = b.at(pos);
        ++pos;
        if (block == 0x21) { // extension: a label, then sub-blocks
            ++pos;
            if (!skipSubBlocks(b, pos)) {
                return {};
            }
        } else if (block == 0x2C) { // the first image
            if (!b.has(pos, 9)) {
                return {};
            }
            const int right = static_cast<int>(b.u16le(pos) + b.u16le(pos + 4));
            const int bottom = static_cast<int>(b.u16le(pos + 2) + b.u16le(pos + 6));
            const unsigned imageFlags = b.at(pos + 8);
            pos += 9;
            if (imageFlags & 0x80) {
                pos += 3 * (std::int64_t{2} << (imageFlags & 7));
            }
            if (!b.has(pos, 1) || b.at(pos) < 2 || b.at(pos) > 11) {
                return {}; // missing or impossible code size
            }
            ++pos;
            if (!skipSubBlocks(b, pos)) {
                return {};
            }
            // The decoder paints frames onto a canvas as large as the screen and the frame
            // together, so both count.
            const QSize declared(std::max(screenWidth, right), std::max(screenHeight, bottom));
            return limits.allows(declared) ? Inspection{"gif", declared} : Inspection{};
        } else {
            return {}; // the trailer before any image, or garbage
        }
    }
    return {};
}

bool isStartOfFrame(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments up to the first scan and then looks for the end-of-image marker.
// Inside scan data every 0xFF byte is followed by 0x00 or a restart marker, so 0xFF 0xD9 there
// can only be the real end; a file cut short anywhere in its scans lacks it.
Inspection inspectJpeg(const Bytes& b, const PictureLimits& limits) {
    std::int64_t pos = 2;
    QSize declared;
    while (true) {
        if (!b.has(pos, 1) || b.at(pos) != 0xFF) {
            return {};
        }
        while (b.has(pos, 1) && b.at(pos) == 0xFF) {
            ++pos; // fill bytes
        }
        if (!b.has(pos, 1)) {
            return {};
        }
        const unsigned marker = b.at(pos);
        ++pos;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue; // markers without a segment
        }
        if (marker == 0xD8 || marker == 0xD9 || !b.has(pos, 2)) {
            return {};
        }
        const std::int64_t length = b.u16be(pos);
        if (length < 2 || !b.has(pos, length)) {
            return {};
        }
        if (isStartOfFrame(marker)) {
            if (length < 8) {
                return {};
            }
            const int height = static_cast<int>(b.u16be(pos + 3));
            const int width = static_cast<int>(b.u16be(pos + 5));
            declared = QSize(width, height);
            if (!limits.allows(declared)) {
                return {};
            }
        }
        pos += length;
        if (marker == 0xDA) {
            break;
        }
    }
    if (!declared.isValid()) {
        return {}; // a scan without a frame
    }
    for (std::int64_t i = pos; b.has(i, 2); ++i) {
        if (b.at(i) == 0xFF && b.at(i + 1) == 0xD9) {
            return Inspection{"jpeg", declared};
        }
    }
    return {};
}

Inspection inspect(const QByteArray& data, const PictureLimits& limits) {
    const Bytes b(data);
    if (b.startsWith("BM", 2)) {
        return inspectBmp(b, limits);
    }
    if (b.startsWith("GIF87a", 6) || b.startsWith("GIF89a", 6)) {
        return inspectGif(b, limits);
    }
    if (b.startsWith("\xFF\xD8\xFF", 3)) {
        return inspectJpeg(b, limits);
    }
    return {};
}

// The decoders' pixel-memory ceiling is one setting for the whole program; it is raised or
// lowered to the picture limits only for the duration of one decode.
class AllocationLimitScope {
  public:
    explicit AllocationLimitScope(int megabytes) : saved_(QImageReader::allocationLimit()) {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimitScope() { QImageReader::setAllocationLimit(saved_); }
    AllocationLimitScope(const AllocationLimitScope&) = delete;
    AllocationLimitScope& operator=(const AllocationLimitScope&) = delete;

  private:
    int saved_;
};

} // namespace

QImage DecodePicture(const QByteArray& bytes, const PictureLimits& limits) {
    try {
        const Inspection found = inspect(bytes, limits);
        if (found.format == nullptr) {
            return {};
        }
        QByteArray data = bytes;
        QBuffer buffer(&data);
        if (!buffer.open(QIODevice::ReadOnly)) {
            return {};
        }
        QImageReader reader(&buffer, found.format);
        const QSize readerSize = reader.size();
        if (readerSize.isValid() && !limits.allows(readerSize)) {
            return {};
        }
        const AllocationLimitScope allocationLimit(limits.allocationLimitMegabytes);
        QImage image;
        if (!reader.read(&image) || image.isNull() || !limits.allows(image.size())) {
            return {};
        }
        return image;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

PictureCache::PictureCache(int capacity, std::int64_t byteBudget, PictureLimits limits)
    : capacity_(std::max(1, capacity)), byteBudget_(byteBudget), limits_(limits) {}

QImage PictureCache::load(const QString& path) {
    return fetch(path).image;
}

PictureCache::Result PictureCache::fetch(const QString& path) {
    if (path.isEmpty()) {
        return {QImage(), PictureStatus::NoPath};
    }
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        return {QImage(), PictureStatus::Missing};
    }
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        return {QImage(), PictureStatus::Missing};
    }
    const std::int64_t fileSize = info.size();
    const std::int64_t modifiedMs =
        info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();

    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return e.path == canonical; });
    if (found != entries_.end()) {
        if (found->fileSize == fileSize && found->modifiedMs == modifiedMs) {
            found->lastUse = ++useClock_;
            return {found->image,
                    found->image.isNull() ? PictureStatus::Unreadable : PictureStatus::Loaded};
        }
        entries_.erase(found);
    }

    if (fileSize <= 0 || fileSize > limits_.maxFileBytes) {
        return {QImage(), PictureStatus::Unreadable};
    }
    QFile file(canonical);
    if (!file.open(QIODevice::ReadOnly)) {
        return {QImage(), PictureStatus::Unreadable};
    }
    QByteArray bytes;
    try {
        bytes = file.read(fileSize);
    } catch (const std::bad_alloc&) {
        return {QImage(), PictureStatus::Unreadable};
    }
    ++decodeCount_;
    QImage image = DecodePicture(bytes, limits_);
    const PictureStatus status = image.isNull() ? PictureStatus::Unreadable : PictureStatus::Loaded;
    // A file that changed while it was read is not remembered: the next look decodes it again.
    if (bytes.size() == fileSize && file.read(1).isEmpty()) {
        insert(Entry{canonical, fileSize, modifiedMs, image, ++useClock_});
    }
    return {image, status};
}

void PictureCache::insert(Entry entry) {
    entries_.push_back(std::move(entry));
    trim();
}

void PictureCache::trim() {
    const auto bytesHeld = [this] {
        std::int64_t total = 0;
        for (const Entry& e : entries_) {
            total += e.image.sizeInBytes();
        }
        return total;
    };
    while (entries_.size() > 1 &&
           (static_cast<int>(entries_.size()) > capacity_ || bytesHeld() > byteBudget_)) {
        const auto oldest =
            std::min_element(entries_.begin(), entries_.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        entries_.erase(oldest);
    }
}
