#pragma once

#include <QByteArrayView>
#include <cstdint>

// One piece of a rich-text document as written: a brace, a control word with its optional
// number, a control symbol, an escaped byte, or a run of plain text.
struct RtfToken {
    enum class Kind : std::uint8_t {
        End,
        GroupOpen,
        GroupClose,
        Word,   // \word or \wordN; `name`, `hasParam`, `param`
        Symbol, // \x for any x that is not a letter, other than \' ; `symbol`
        Byte,   // \'hh ; `byte`
        Text,   // plain bytes without braces, backslashes or line ends; `text`
    };
    Kind kind = Kind::End;
    bool hasParam = false;
    char symbol = 0;
    std::uint8_t byte = 0;
    int param = 0;
    QByteArrayView name;
    QByteArrayView text;
};

// Cuts a rich-text document into tokens, front to back, in one pass: each byte is looked at a
// bounded number of times, whatever the input. Line ends are not text and are dropped. A control
// word keeps at most 32 letters of its name and a number is clamped to the range of int, so an
// endless word or number cannot grow anything. Input that ends in the middle of a token ends it.
class RtfTokenizer {
  public:
    explicit RtfTokenizer(QByteArrayView input) : in_(input) {}

    RtfToken next();
    // Steps over `count` bytes of binary data (after \binN), or to the end of the input.
    void skipBytes(std::int64_t count);
    qsizetype position() const { return pos_; }

  private:
    RtfToken readControl();

    QByteArrayView in_;
    qsizetype pos_ = 0;
};
