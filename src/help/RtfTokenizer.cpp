#include "help/RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace {

constexpr qsizetype kMaxWordLength = 32;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfTokenizer::next() {
    const qsizetype size = in_.size();
    while (pos_ < size) {
        const char c = in_[pos_];
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        RtfToken t;
        if (c == '{') {
            ++pos_;
            t.kind = RtfToken::Kind::GroupOpen;
            return t;
        }
        if (c == '}') {
            ++pos_;
            t.kind = RtfToken::Kind::GroupClose;
            return t;
        }
        if (c == '\\')
            return readControl();
        const qsizetype start = pos_;
        while (pos_ < size) {
            const char d = in_[pos_];
            if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                break;
            ++pos_;
        }
        t.kind = RtfToken::Kind::Text;
        t.text = in_.sliced(start, pos_ - start);
        return t;
    }
    return RtfToken{};
}

RtfToken RtfTokenizer::readControl() {
    const qsizetype size = in_.size();
    RtfToken t;
    ++pos_; // the backslash
    if (pos_ >= size)
        return t;
    const char c = in_[pos_];
    if (!isLetter(c)) {
        ++pos_;
        if (c == '\'') {
            // \'hh: a byte in the document's code page. A broken escape comes back as the
            // symbol \' itself, which means nothing.
            const int high = pos_ < size ? hexValue(in_[pos_]) : -1;
            const int low = pos_ + 1 < size ? hexValue(in_[pos_ + 1]) : -1;
            if (high < 0 || low < 0) {
                t.kind = RtfToken::Kind::Symbol;
                t.symbol = c;
                return t;
            }
            pos_ += 2;
            t.kind = RtfToken::Kind::Byte;
            t.byte = static_cast<std::uint8_t>(high * 16 + low);
            return t;
        }
        t.kind = RtfToken::Kind::Symbol;
        // A backslash before a line end is a paragraph mark.
        t.symbol = (c == '\r' || c == '\n') ? '\n' : c;
        return t;
    }

    const qsizetype start = pos_;
    while (pos_ < size && isLetter(in_[pos_]))
        ++pos_;
    t.kind = RtfToken::Kind::Word;
    t.name = in_.sliced(start, std::min(pos_ - start, kMaxWordLength));

    bool negative = false;
    if (pos_ < size && in_[pos_] == '-' && pos_ + 1 < size && isDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < size && isDigit(in_[pos_])) {
        long long value = 0;
        while (pos_ < size && isDigit(in_[pos_])) {
            if (value <= INT_MAX)
                value = value * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            value = -value;
        t.hasParam = true;
        t.param = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    // One space after a control word belongs to it.
    if (pos_ < size && in_[pos_] == ' ')
        ++pos_;
    return t;
}

void RtfTokenizer::skipBytes(std::int64_t count) {
    if (count <= 0)
        return;
    const qsizetype left = in_.size() - pos_;
    pos_ += count < left ? static_cast<qsizetype>(count) : left;
}
