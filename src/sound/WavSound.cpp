#include "sound/WavSound.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 8;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
// A file far larger than the longest accepted sound in the widest samples is not read at all.
constexpr qint64 kMaxFileBytes = kMaxSoundSamples * 8 + (1 << 20);

std::uint32_t le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 |
           std::uint32_t(u[3]) << 24;
}
std::uint16_t le16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return std::uint16_t(u[0] | u[1] << 8);
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int rate = 0;
    int blockAlign = 0;
    int bits = 0;
};

std::optional<Format> readFormat(const char* p, std::uint32_t size) {
    if (size < 16)
        return std::nullopt;
    Format f;
    f.tag = le16(p);
    f.channels = le16(p + 2);
    f.rate = int(std::min<std::uint32_t>(le32(p + 4), 0x7FFFFFFF));
    f.blockAlign = le16(p + 12);
    f.bits = le16(p + 14);
    if (f.tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format identifier.
        if (size < 40)
            return std::nullopt;
        f.tag = le16(p + 24);
    }
    const bool pcm =
        f.tag == kFormatPcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    const bool flt = f.tag == kFormatFloat && (f.bits == 32 || f.bits == 64);
    if (!(pcm || flt) || f.channels < 1 || f.channels > kMaxChannels || f.rate < kMinRate ||
        f.rate > kMaxRate || f.blockAlign != f.channels * f.bits / 8)
        return std::nullopt;
    return f;
}

std::int16_t sampleAt(const Format& f, const unsigned char* s) {
    switch (f.bits) {
    case 8:
        return std::int16_t((int(s[0]) - 128) * 256);
    case 16:
        return std::int16_t(s[0] | s[1] << 8);
    case 24:
        return std::int16_t(s[1] | s[2] << 8);
    case 32:
        if (f.tag == kFormatPcm)
            return std::int16_t(s[2] | s[3] << 8);
        {
            float v;
            std::memcpy(&v, s, 4);
            const double c = std::isfinite(v) ? std::clamp(double(v), -1.0, 1.0) : 0.0;
            return std::int16_t(std::lround(c * 32767.0));
        }
    default: {
        double v;
        std::memcpy(&v, s, 8);
        const double c = std::isfinite(v) ? std::clamp(v, -1.0, 1.0) : 0.0;
        return std::int16_t(std::lround(c * 32767.0));
    }
    }
}

} // namespace

std::optional<PcmSound> DecodeWav(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qint64 total = bytes.size();
    if (total < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return std::nullopt;

    std::optional<Format> format;
    const char* body = nullptr;
    qint64 bodySize = 0;
    // Chunks follow one another, each padded to an even length; the RIFF size is not trusted.
    for (qint64 at = 12; at + 8 <= total;) {
        const char* id = data + at;
        const qint64 declared = le32(data + at + 4);
        const qint64 size = std::min(declared, total - at - 8);
        if (std::memcmp(id, "fmt ", 4) == 0 && !format)
            format = readFormat(data + at + 8, std::uint32_t(size));
        else if (std::memcmp(id, "data", 4) == 0 && !body) {
            body = data + at + 8;
            bodySize = size;
        }
        at += 8 + declared + (declared & 1);
    }
    if (!format || !body)
        return std::nullopt;

    const qint64 frames = bodySize / format->blockAlign;
    if (frames * format->channels > kMaxSoundSamples)
        return std::nullopt;

    PcmSound sound;
    sound.sampleRate = format->rate;
    sound.channels = format->channels;
    const int width = format->bits / 8;
    sound.samples.resize(size_t(frames) * size_t(format->channels));
    const auto* in = reinterpret_cast<const unsigned char*>(body);
    for (size_t i = 0; i < sound.samples.size(); ++i)
        sound.samples[i] = sampleAt(*format, in + i * size_t(width));
    return sound;
}

std::optional<PcmSound> LoadWavFile(const QString& path) {
    // Only a regular file: a device or a pipe could be read forever or block the board.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > kMaxFileBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DecodeWav(file.readAll());
}
