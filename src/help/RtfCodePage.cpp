#include "help/RtfCodePage.h"

#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes stay as
// their C1 control code points, as Windows' own converter leaves them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QByteArray converterName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "EUC-KR";
    case 950:
        return "Big5";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

} // namespace

int RtfCodePage::forCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

void RtfCodePage::select(int codePage) {
    if (codePage == codePage_)
        return;
    codePage_ = codePage;
    builtIn_ = codePage == kWindows1252;
    if (builtIn_)
        return;
    // Documents switch fonts, and with them code pages, all the time; opening a converter is
    // costly, so each is opened once.
    auto found = decoders_.find(codePage);
    if (found == decoders_.end()) {
        QStringDecoder decoder(converterName(codePage).constData());
        if (!decoder.isValid() || decoders_.size() >= kMaxDecoders) {
            codePage_ = kWindows1252;
            builtIn_ = true;
            return;
        }
        found = decoders_.emplace(codePage, std::move(decoder)).first;
    }
    decoder_ = &found->second;
}

void RtfCodePage::decode(QByteArrayView bytes, QString& out) {
    if (!builtIn_) {
        out += decoder_->decode(bytes);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar* dst = out.data() + start;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t{b});
    }
}

void RtfCodePage::reset() {
    if (!builtIn_)
        decoder_->resetState();
}
