// How fast the help document reads and lays out, and how the rich-text reader keeps pace on large
// documents, well formed and not: the throughput must not fall as the input grows.
#include "BenchMain.h"
#include "help/RtfReader.h"
#include "platform/HeapTuning.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextDocument>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray shippedHelp() {
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/pucktallyhelpfile.rtf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document as word processors write them: a header with fonts, colours and a style sheet, then
// paragraphs of formatted text with accented letters, Unicode, a field, now and then a table and
// a small picture, until `size` bytes.
QByteArray generatedDocument(qsizetype size) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fcharset204 Times CYR;}}"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red160\\green0\\blue0;}"
                     "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs28 Heading;}}"
                     "{\\info{\\title Generated}}\n";
    rtf.reserve(size + 4096);
    const QByteArray paragraph =
        "\\pard\\plain\\sa120\\f0\\fs22 The timekeeper types {\\b twelve} and presses "
        "{\\i Enter}; the caf\\'e9 shows {\\f2 \\'c4\\'e0} and \\u8364? prices. "
        "{\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}{\\fldrslt the rules}} apply, "
        "{\\ul penalties} run with the clock\\emdash always.\\par\n";
    const QByteArray table = "\\trowd\\trgaph100\\cellx2000\\cellx6000\\pard\\intbl\\b S\\b0\\cell "
                             "start or stop the clock\\cell\\row\n"
                             "\\trowd\\trgaph100\\cellx2000\\cellx6000\\pard\\intbl\\b R\\b0\\cell "
                             "reset the clock\\cell\\row\\pard\n";
    const QByteArray picture = "{\\pict\\pngblip\\picw64\\pich64 " + QByteArray(512, 'a') + "}\n";
    for (int n = 0; rtf.size() < size; ++n) {
        rtf += paragraph;
        if (n % 20 == 19)
            rtf += table;
        if (n % 50 == 49)
            rtf += picture;
    }
    return rtf + "}";
}

// Input that is not what any writer makes: groups opened and never closed, rows of one cell each,
// or random bytes (without braces) behind an RTF header.
QByteArray hostileDocument(int kind, qsizetype size) {
    QByteArray rtf = "{\\rtf1 ";
    rtf.reserve(size + 64);
    QRandomGenerator random(42);
    while (rtf.size() < size) {
        switch (kind) {
        case 0:
            rtf += "{\\b x{\\i y";
            break;
        case 1:
            rtf += "\\trowd\\cellx100\\intbl a\\cell\\row";
            break;
        default:
            // Without braces, or the first stray one would end the document at once.
            for (int i = 0; i < 64; ++i) {
                const auto c = static_cast<char>(random.bounded(256));
                rtf += (c == '{' || c == '}') ? ' ' : c;
            }
            break;
        }
    }
    return rtf;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_ShippedHelpReadAndLaidOut(benchmark::State& state) {
    const QByteArray rtf = shippedHelp();
    if (rtf.isEmpty()) {
        state.SkipWithError("no help document beside the benchmark");
        return;
    }
    for (auto _ : state) {
        QTextDocument document;
        ReadRtf(rtf, document);
        document.setTextWidth(707); // the viewer's line length in the window's design size
        benchmark::DoNotOptimize(document.size());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ShippedHelpReadAndLaidOut)->Unit(benchmark::kMillisecond);

void BM_GeneratedDocumentRead(benchmark::State& state) {
    const QByteArray rtf = generatedDocument(state.range(0) << 20);
    for (auto _ : state) {
        auto document = std::make_unique<QTextDocument>();
        ReadRtf(rtf, *document);
        benchmark::DoNotOptimize(document->characterCount());
        state.PauseTiming(); // letting go of the document is no part of reading it
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["peak_rss_mb"] = peakRssMegabytes();
}
BENCHMARK(BM_GeneratedDocumentRead)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_HostileDocumentRead(benchmark::State& state) {
    const QByteArray rtf = hostileDocument(static_cast<int>(state.range(0)), state.range(1) << 20);
    for (auto _ : state) {
        QTextDocument document;
        ReadRtf(rtf, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["peak_rss_mb"] = peakRssMegabytes();
}
// kind 0 unclosed groups, 1 one-cell rows, 2 random bytes; 5 and 50 MB each.
BENCHMARK(BM_HostileDocumentRead)
    ->ArgsProduct({{0, 1, 2}, {5, 50}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    keepLargeBuffersInHeap(); // the help window reads in the program's heap, tuned so
    return runBenchmarks<QGuiApplication>(argc, argv);
}
