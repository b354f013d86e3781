#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <map>

// Turns the 8-bit text of a rich-text document into Unicode in the document's code page
// (Windows-1252 unless the document or the selected font says otherwise). Windows-1252 is
// decoded from a built-in table, so the common case never leaves this class; any other code page
// goes through the platform's converter, and one the platform does not know falls back to
// Windows-1252. Double-byte code pages keep a lead byte that arrives without its trail byte until
// the next call, so characters split over two `\'hh` escapes still come out whole.
class RtfCodePage {
  public:
    static constexpr int kWindows1252 = 1252;
    // The code page of a font's character set number (\fcharset), or 0 when the set does not
    // imply one (the default set, or one we do not know).
    static int forCharset(int charset);

    RtfCodePage() = default;
    RtfCodePage(const RtfCodePage&) = delete;
    RtfCodePage& operator=(const RtfCodePage&) = delete;
    // Selects the code page by its Windows number (1252, 1251, 932, 10000, 437, 65001, ...).
    void select(int codePage);
    int selected() const { return codePage_; }
    // Appends the Unicode text of `bytes` to `out`.
    void decode(QByteArrayView bytes, QString& out);
    // Ends a run of text: a lead byte still waiting for its trail byte is dropped.
    void reset();

  private:
    static constexpr size_t kMaxDecoders = 16;
    int codePage_ = kWindows1252;
    bool builtIn_ = true;
    QStringDecoder* decoder_ = nullptr;
    std::map<int, QStringDecoder> decoders_;
};
