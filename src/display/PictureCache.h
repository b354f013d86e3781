#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

// What became of a request for a picture file.
enum class PictureStatus {
    NoPath,     // the path was empty: the image is to be cleared
    Missing,    // no such file (or not a regular file): the image keeps what it showed
    Unreadable, // the file exists but holds no picture the board can show
    Loaded,     // the image holds the picture
};

// The limits a picture file must keep to before any pixel memory is set aside. A file that
// declares more (a decompression bomb: a few bytes that announce 60000 x 60000 pixels) is
// refused from its header alone.
struct PictureLimits {
    int maxSide = 16384;
    std::int64_t maxPixels = 64LL * 1024 * 1024;
    // Room for the largest allowed picture stored uncompressed at 32 bits a pixel, plus headers.
    std::int64_t maxFileBytes = 4 * maxPixels + 1024 * 1024;
    int allocationLimitMegabytes = 256;

    bool allows(QSize declared) const;
};

// Decodes one picture held in memory. Only BMP, GIF and JPEG are accepted, told apart by their
// first bytes whatever the file was called; PNG and every other format are refused, as the board
// has always shown only those three. A file cut short (a JPEG without its end marker, a BMP with
// fewer pixel bytes than its rows need, a GIF whose first image stops mid-stream), a corrupt one
// or one beyond the limits gives a null image. Never throws.
QImage DecodePicture(const QByteArray& bytes, const PictureLimits& limits = PictureLimits{});

// The board's picture files, decoded once and kept while they stay the same on disk. The board
// fits its three pictures again after every resize; looking them up here costs a file-status
// query instead of a decode. A file counts as changed when its size or modification time differs
// from the decoded one, and is then decoded afresh, so a picture replaced on disk shows after the
// next resize. Failed decodes are remembered as well, so a broken file is not re-read on every
// resize either. Only the most recently used entries are kept, within a count and a byte budget
// (the newest entry always stays). For use on one thread.
class PictureCache {
  public:
    struct Result {
        QImage image;
        PictureStatus status = PictureStatus::NoPath;
    };

    explicit PictureCache(int capacity = 4, std::int64_t byteBudget = 512LL * 1024 * 1024,
                          PictureLimits limits = PictureLimits{});

    // The picture in the file, or a null image for an empty path and for a missing, empty,
    // truncated, corrupt or oversized file.
    QImage load(const QString& path);
    // The same, with the reason why no picture came back.
    Result fetch(const QString& path);

    int decodeCount() const { return decodeCount_; }
    int entryCount() const { return static_cast<int>(entries_.size()); }
    void clear() { entries_.clear(); }

  private:
    struct Entry {
        QString path; // canonical
        std::int64_t fileSize = 0;
        std::int64_t modifiedMs = 0;
        QImage image;
        std::uint64_t lastUse = 0;
    };

    void insert(Entry entry);
    void trim();

    std::vector<Entry> entries_;
    int capacity_;
    std::int64_t byteBudget_;
    PictureLimits limits_;
    std::uint64_t useClock_ = 0;
    int decodeCount_ = 0;
};
