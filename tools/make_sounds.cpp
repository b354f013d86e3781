// Makes the two sounds that ship beside the program, so they can be remade or tuned:
//
//   build/program/make_sounds assets
//
// writes OUTPUT_FOLDER/buzzer.wav and OUTPUT_FOLDER/horn.wav: 22,050 Hz, mono, 16-bit PCM.
// The output depends on nothing but this file, so the same build makes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// One tone: a fundamental and its harmonics up to a limit below half the sample rate, the
// k-th harmonic at 1 / k^rolloff of the fundamental's strength.
struct Tone {
    double hz;
    double rolloff;
    int harmonics;
    double level;
};

// A sound of `seconds`, its tones summed, faded in over `attack` and out over `release`
// seconds, then scaled so its loudest sample sits at `peak` of full scale.
std::vector<double> render(const std::vector<Tone>& tones, double seconds, double attack,
                           double release, double peak, double glide) {
    const int n = int(seconds * kRate);
    std::vector<double> out(size_t(n), 0.0);
    for (const Tone& tone : tones) {
        double phase = 0.0;
        for (int i = 0; i < n; ++i) {
            const double t = double(i) / kRate;
            // A horn settles onto its pitch from slightly below as the air pressure builds.
            const double hz = tone.hz * (1.0 - glide * std::exp(-t / 0.08));
            phase += 2.0 * kPi * hz / kRate;
            double v = 0.0;
            for (int k = 1; k <= tone.harmonics && k * hz < kRate / 2.2; ++k)
                v += std::sin(k * phase) / std::pow(k, tone.rolloff);
            out[size_t(i)] += tone.level * v;
        }
    }
    double loudest = 1e-9;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double fadeIn = std::min(1.0, t / attack);
        const double fadeOut = std::min(1.0, (seconds - t) / release);
        out[size_t(i)] *= std::sin(0.5 * kPi * fadeIn) * std::sin(0.5 * kPi * fadeOut);
        loudest = std::max(loudest, std::abs(out[size_t(i)]));
    }
    for (double& v : out)
        v *= peak / loudest;
    return out;
}

void put16(std::ofstream& f, std::uint16_t v) {
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    f.write(b, 2);
}
void put32(std::ofstream& f, std::uint32_t v) {
    put16(f, std::uint16_t(v & 0xFFFF));
    put16(f, std::uint16_t(v >> 16));
}

bool writeWav(const std::string& path, const std::vector<double>& samples) {
    std::ofstream f(path, std::ios::binary);
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    f.write("RIFF", 4);
    put32(f, 36 + dataBytes);
    f.write("WAVEfmt ", 8);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, kRate);
    put32(f, kRate * 2);
    put16(f, 2);
    put16(f, 16);
    f.write("data", 4);
    put32(f, dataBytes);
    for (double v : samples)
        put16(f, std::uint16_t(std::int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0))));
    return bool(f);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];

    // The buzzer: a harsh, steady electric buzz, two close low tones full of harmonics that
    // beat against each other, on at once and off at once.
    const std::vector<double> buzzer =
        render({{110.0, 0.7, 60, 1.0}, {116.5, 0.7, 60, 0.8}}, 1.6, 0.012, 0.03, 0.8, 0.0);

    // The horn: a goal horn's chord of two low notes a major third apart, darker than the
    // buzzer, swelling in and dying away.
    const std::vector<double> horn =
        render({{174.6, 1.3, 40, 1.0}, {220.0, 1.3, 40, 0.8}, {87.3, 1.6, 30, 0.5}}, 2.4, 0.06,
               0.25, 0.8, 0.04);

    const bool ok =
        writeWav(folder + "/buzzer.wav", buzzer) && writeWav(folder + "/horn.wav", horn);
    if (!ok)
        std::fprintf(stderr, "cannot write the sounds into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
