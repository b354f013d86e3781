#pragma once

#include "feed/FeedRequest.h"

#include <QByteArray>
#include <QStringBuilder>

// Requests for the board's state that sit exactly at a size the feed limits.
namespace feedtest {

inline const QByteArray kStateRequestLine = "GET /state.json HTTP/1.1\r\n";

// A complete request head of exactly `bytes` bytes, padded in one header line.
inline QByteArray headOfSize(qsizetype bytes) {
    const QByteArray start = kStateRequestLine + "X-Pad: ";
    const QByteArray end = "\r\n\r\n";
    return start + QByteArray(bytes - start.size() - end.size(), 'p') + end;
}

// The start of a request head, `bytes` long, whose end has not come yet.
inline QByteArray unfinishedHeadOfSize(qsizetype bytes) {
    const QByteArray start = kStateRequestLine + "X-Pad: ";
    return start + QByteArray(bytes - start.size(), 'p');
}

// A request whose target, query included, is exactly `bytes` long.
inline QByteArray targetOfSize(qsizetype bytes) {
    const QByteArray path = "/state.json?";
    return "GET " + path + QByteArray(bytes - path.size(), 'q') + " HTTP/1.1\r\n\r\n";
}

// A request with exactly `lines` header lines.
inline QByteArray headerLines(int lines) {
    return kStateRequestLine + QByteArray("A: b\r\n").repeated(lines) + "\r\n";
}

} // namespace feedtest
