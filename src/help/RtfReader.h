#pragma once

#include <QByteArrayView>
#include <cstdint>

class QTextDocument;

// What one reading found, for the viewer's owner and for tests.
struct RtfReadResult {
    bool wasRtf = false;        // the input began with {\rtf; otherwise it was shown as plain text
    std::int64_t textChars = 0; // characters of running text written (footnotes included)
    int deepestGroup = 0;       // the deepest group nesting kept (never above kMaxGroupDepth)
    bool groupsDropped = false; // groups nested deeper than that were left out
};

// Reads a document in Rich Text Format into `document`, replacing what it held, as a word
// processor shows it: character and paragraph formatting, the font and colour tables, text in
// the document's code page and in Unicode, field results, tables, list markers, and footnotes
// gathered at the end instead of in the running text. Pictures, embedded objects, style sheet,
// document information, headers and footers and every other part that is not running text are
// left out, as are control words it does not know.
//
// Any input is read without fault in time proportional to its length and memory proportional
// to what it shows: the group nesting is followed with a bounded stack (groups deeper than
// kMaxGroupDepth are left out), no recursion follows the input, unbalanced braces and a file cut
// short end the document where they stand, and input that is not RTF at all shows as plain text.
RtfReadResult ReadRtf(QByteArrayView rtf, QTextDocument& document);

inline constexpr int kMaxGroupDepth = 512;
