#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A sound decoded to 16-bit signed samples, channels interleaved, at the file's own rate.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    std::int64_t frames() const {
        return channels > 0 ? std::int64_t(samples.size()) / channels : 0;
    }
    std::int64_t durationMs() const { return sampleRate > 0 ? frames() * 1000 / sampleRate : 0; }
};

// The most samples (all channels counted) the board accepts: ten minutes of CD-quality stereo.
// Anything longer is not a horn or a buzzer, and a file declaring more is refused before its
// samples are converted, so memory stays bounded.
inline constexpr std::int64_t kMaxSoundSamples = std::int64_t(600) * 44100 * 2;

// Decodes a RIFF WAVE file: PCM of 8, 16, 24 or 32 bits, IEEE float of 32 or 64 bits, and the
// extensible form of both, 1 to 8 channels. A data chunk cut short by the end of the file
// keeps what is there. Anything else (not RIFF WAVE, no format or data chunk, a compressed or
// inconsistent format, more than kMaxSoundSamples) gives nothing.
std::optional<PcmSound> DecodeWav(const QByteArray& bytes);

// Reads and decodes the file; a missing, unreadable or oversized file gives nothing.
std::optional<PcmSound> LoadWavFile(const QString& path);
