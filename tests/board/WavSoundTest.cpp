// Sound files as they come: the common PCM and float layouts decode to the same samples,
// anything that is not a playable WAV gives nothing rather than noise or a hang.
#include "board/WavSound.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += char((v >> (8 * i)) & 0xFF);
    return s;
}
std::string chunk(const std::string& id, const std::string& body, std::uint32_t declared = 0) {
    std::string s = id + le(declared ? declared : std::uint32_t(body.size()), 4) + body;
    return body.size() % 2 ? s + '\0' : s;
}
std::string fmt(int tag, int channels, int rate, int bits, int align = -1) {
    const int a = align >= 0 ? align : channels * bits / 8;
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * a, 4) + le(a, 2) +
                             le(bits, 2));
}
std::string extensible(int subTag, int channels, int rate, int bits) {
    const int a = channels * bits / 8;
    return chunk("fmt ", le(0xFFFE, 2) + le(channels, 2) + le(rate, 4) + le(rate * a, 4) +
                             le(a, 2) + le(bits, 2) + le(22, 2) + le(bits, 2) + le(0, 4) +
                             le(subTag, 2) + std::string(14, 'x'));
}
std::string riff(const std::string& chunks) {
    return "RIFF" + le(std::uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks;
}
std::string f32(float v) {
    std::string s(4, '\0');
    std::memcpy(s.data(), &v, 4);
    return s;
}
std::string f64(double v) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &v, 8);
    return s;
}

struct WavCase {
    const char* name;
    std::string bytes;
    int channels; // 0: no sound expected
    std::vector<std::int16_t> samples;
};

class DecodeWavTest : public ::testing::TestWithParam<WavCase> {};

TEST_P(DecodeWavTest, GivesTheSamplesOrNothing) {
    const WavCase& c = GetParam();
    const auto sound = DecodeWav(QByteArray::fromStdString(c.bytes));
    if (c.channels == 0) {
        EXPECT_FALSE(sound.has_value());
        return;
    }
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->channels, c.channels);
    EXPECT_EQ(sound->sampleRate, 22050);
    EXPECT_EQ(sound->samples, c.samples);
}

const std::string kPcm16 = le(0, 2) + le(1000, 2) + le(std::uint16_t(-1000), 2);
const std::string kNan = f32(std::nanf(""));

const WavCase kCases[] = {
    {"Pcm16", riff(fmt(1, 1, 22050, 16) + chunk("data", kPcm16)), 1, {0, 1000, -1000}},
    {"Pcm8IsUnsigned",
     riff(fmt(1, 1, 22050, 8) + chunk("data", std::string("\x80\xFF\x00", 3))),
     1,
     {0, 32512, -32768}},
    {"Pcm24KeepsTheHighBits",
     riff(fmt(1, 1, 22050, 24) + chunk("data", le(0x123456, 3))),
     1,
     {0x1234}},
    {"Pcm32KeepsTheHighBits",
     riff(fmt(1, 1, 22050, 32) + chunk("data", le(0x12345678, 4))),
     1,
     {0x1234}},
    {"Float32ClampedAndNanSilent",
     riff(fmt(3, 1, 22050, 32) + chunk("data", f32(0.5f) + f32(-1.0f) + f32(2.0f) + kNan)),
     1,
     {16384, -32767, 32767, 0}},
    {"Float64", riff(fmt(3, 1, 22050, 64) + chunk("data", f64(0.25))), 1, {8192}},
    {"ExtensiblePcm",
     riff(extensible(1, 2, 22050, 16) + chunk("data", kPcm16 + le(7, 2))),
     2,
     {0, 1000, -1000, 7}},
    {"StereoDropsAHalfFrame", riff(fmt(1, 2, 22050, 16) + chunk("data", kPcm16)), 2, {0, 1000}},
    {"OddChunkBeforeDataIsSkippedWithItsPad",
     riff(fmt(1, 1, 22050, 16) + chunk("LIST", "abc") + chunk("data", kPcm16)),
     1,
     {0, 1000, -1000}},
    {"DataBeforeFormat", riff(chunk("data", kPcm16) + fmt(1, 1, 22050, 16)), 1, {0, 1000, -1000}},
    {"DataCutShortKeepsWhatIsThere",
     riff(fmt(1, 1, 22050, 16) + chunk("data", kPcm16, 4000)),
     1,
     {0, 1000, -1000}},
    {"EmptyDataIsASilentSound", riff(fmt(1, 1, 22050, 16) + chunk("data", "")), 1, {}},
    {"Empty", "", 0, {}},
    {"NotRiff", "RIFX" + riff(fmt(1, 1, 22050, 16)).substr(4), 0, {}},
    {"NotWave", "RIFF" + le(4, 4) + "AVI " + fmt(1, 1, 22050, 16), 0, {}},
    {"NoData", riff(fmt(1, 1, 22050, 16)), 0, {}},
    {"NoFormat", riff(chunk("data", kPcm16)), 0, {}},
    {"Adpcm", riff(fmt(2, 1, 22050, 4, 256) + chunk("data", kPcm16)), 0, {}},
    {"ExtensibleAdpcm", riff(extensible(2, 1, 22050, 16) + chunk("data", kPcm16)), 0, {}},
    {"NoChannels", riff(fmt(1, 0, 22050, 16) + chunk("data", kPcm16)), 0, {}},
    {"NineChannels", riff(fmt(1, 9, 22050, 16) + chunk("data", kPcm16)), 0, {}},
    {"RateZero", riff(fmt(1, 1, 0, 16) + chunk("data", kPcm16)), 0, {}},
    {"TwelveBits", riff(fmt(1, 1, 22050, 12) + chunk("data", kPcm16)), 0, {}},
    {"BlockAlignWrong", riff(fmt(1, 1, 22050, 16, 3) + chunk("data", kPcm16)), 0, {}},
    {"FormatTooShort", riff(chunk("fmt ", le(1, 2) + le(1, 2)) + chunk("data", kPcm16)), 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Wav, DecodeWavTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Paths that are no sound file: nothing comes back, and nothing is read forever.
class LoadWavFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LoadWavFileTest, GivesNothing) {
    QTemporaryDir dir;
    const QString path = QString::fromLatin1(GetParam()).replace(QStringLiteral("TMP"), dir.path());
    EXPECT_FALSE(LoadWavFile(path).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Paths, LoadWavFileTest,
                         ::testing::Values("", "TMP/missing.wav", "TMP", "/dev/zero",
                                           "/dev/urandom"));

} // namespace
