// The rich-text reader on any bytes: it must finish, keep its group stack within its bound, write
// no more running text than the input has bytes and no more structure than the input can pay for,
// read the same input the same way twice, and leave a document that lays out.
#include "FuzzCheck.h"

#include "help/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

namespace {

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    application();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    const RtfReadResult result = ReadRtf(bytes, document);
    FUZZ_CHECK(result.deepestGroup >= 0 && result.deepestGroup <= kMaxGroupDepth);
    FUZZ_CHECK(result.textChars >= 0 && result.textChars <= static_cast<std::int64_t>(size));
    // A table row costs a few bytes and brings at most 64 cells, each an empty block.
    FUZZ_CHECK(document.characterCount() <= 16 * (static_cast<std::int64_t>(size) + 8));

    QTextDocument again;
    const RtfReadResult second = ReadRtf(bytes, again);
    FUZZ_CHECK(second.textChars == result.textChars);
    FUZZ_CHECK(again.toRawText() == document.toRawText());

    document.setTextWidth(300);
    FUZZ_CHECK(document.size().width() >= 0);
    return 0;
}
