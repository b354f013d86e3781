// Sound files as they come: the common PCM and float layouts decode to the same
// samples, anything that is not a playable WAV gives nothing rather than noise
// or a hang.
#include "sound/WavSound.h"

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
    const std::string s = id + le(declared ? declared : std::uint32_t(body.size()), 4) + body;
    return body.size() % 2 ? s + '\0' : s;
}
// A format chunk; `subTag` > 0 writes the extensible form with that real
// format.
std::string fmt(int tag, int channels, int bits, int align = -1, int subTag = 0) {
    const int a = align >= 0 ? align : channels * bits / 8;
    std::string body = le(subTag ? 0xFFFE : tag, 2) + le(channels, 2) + le(22050, 4) +
                       le(22050 * a, 4) + le(a, 2) + le(bits, 2);
    if (subTag)
        body += le(22, 2) + le(bits, 2) + le(0, 4) + le(subTag, 2) + std::string(14, 'x');
    return chunk("fmt ", body);
}
std::string riff(const std::string& chunks) {
    return "RIFF" + le(std::uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks;
}
template <typename T> std::string raw(T v) {
    std::string s(sizeof v, '\0');
    std::memcpy(s.data(), &v, sizeof v);
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
    ASSERT_EQ(sound.has_value(), c.channels > 0);
    if (sound) {
        EXPECT_EQ(sound->channels, c.channels);
        EXPECT_EQ(sound->sampleRate, 22050);
        EXPECT_EQ(sound->samples, c.samples);
    }
}

const std::string kPcm16 = le(0, 2) + le(1000, 2) + le(std::uint16_t(-1000), 2);

const WavCase kCases[] = {
    {"Pcm16", riff(fmt(1, 1, 16) + chunk("data", kPcm16)), 1, {0, 1000, -1000}},
    {"Pcm8IsUnsigned",
     riff(fmt(1, 1, 8) + chunk("data", std::string("\x80\xFF\x00", 3))),
     1,
     {0, 32512, -32768}},
    {"Pcm24KeepsTheHighBits", riff(fmt(1, 1, 24) + chunk("data", le(0x123456, 3))), 1, {0x1234}},
    {"Pcm32", riff(fmt(1, 1, 32) + chunk("data", le(0x12345678, 4))), 1, {0x1234}},
    {"FloatClampedNanSilent",
     riff(fmt(3, 1, 32) + chunk("data", raw(0.5f) + raw(-1.0f) + raw(2.0f) + raw(std::nanf("")))),
     1,
     {16384, -32767, 32767, 0}},
    {"Float64", riff(fmt(3, 1, 64) + chunk("data", raw(0.25))), 1, {8192}},
    {"ExtensibleStereo",
     riff(fmt(0, 2, 16, -1, 1) + chunk("data", kPcm16 + le(7, 2))),
     2,
     {0, 1000, -1000, 7}},
    {"HalfFrameDropped", riff(fmt(1, 2, 16) + chunk("data", kPcm16)), 2, {0, 1000}},
    {"OddChunkSkippedWithItsPad",
     riff(fmt(1, 1, 16) + chunk("LIST", "abc") + chunk("data", kPcm16)),
     1,
     {0, 1000, -1000}},
    {"DataCutShortKeepsWhatIsThere",
     riff(fmt(1, 1, 16) + chunk("data", kPcm16, 4000)),
     1,
     {0, 1000, -1000}},
    {"EmptyDataIsSilence", riff(fmt(1, 1, 16) + chunk("data", "")), 1, {}},
    {"Empty", "", 0, {}},
    {"NotRiff", "RIFX" + riff(fmt(1, 1, 16)).substr(4), 0, {}},
    {"NoData", riff(fmt(1, 1, 16)), 0, {}},
    {"NoFormat", riff(chunk("data", kPcm16)), 0, {}},
    {"Adpcm", riff(fmt(2, 1, 4, 256) + chunk("data", kPcm16)), 0, {}},
    {"ExtensibleAdpcm", riff(fmt(0, 1, 16, -1, 2) + chunk("data", kPcm16)), 0, {}},
    {"NineChannels", riff(fmt(1, 9, 16) + chunk("data", kPcm16)), 0, {}},
    {"TwelveBits", riff(fmt(1, 1, 12) + chunk("data", kPcm16)), 0, {}},
    {"BlockAlignWrong", riff(fmt(1, 1, 16, 3) + chunk("data", kPcm16)), 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Wav, DecodeWavTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Paths that are no sound file: nothing comes back, and nothing is read
// forever.
class LoadWavFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LoadWavFileTest, GivesNothing) {
    QTemporaryDir dir;
    const QString path = QString::fromLatin1(GetParam()).replace(QStringLiteral("TMP"), dir.path());
    EXPECT_FALSE(LoadWavFile(path).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Paths, LoadWavFileTest,
                         ::testing::Values("", "TMP/missing.wav", "TMP", "/dev/zero"));

} // namespace
