#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The feed's own resources. Nothing else is served: a request names one of these paths
// exactly or gets a 404.
enum class FeedRoute { None, State, Live, Overlay, Board, Script };

// Limits on what a client may send before the feed answers.
constexpr qsizetype kMaxRequestHeadBytes = 8 * 1024;
constexpr qsizetype kMaxRequestTargetBytes = 1024;
constexpr int kMaxRequestHeaderLines = 64;

// The verdict on the bytes a client sent so far.
struct FeedRequest {
    // 0 while the request head is incomplete and still within limits; 200 for a request the
    // feed serves; otherwise the 4xx status to refuse it with.
    int status = 0;
    FeedRoute route = FeedRoute::None;
    bool headOnly = false;    // HEAD: the answer without its body
    bool webSocket = false;   // a WebSocket handshake for /live
    qsizetype headLength = 0; // bytes of the head, up to and including the blank line
};

// Judges a request head from the start of what a client sent. Only GET and HEAD of the
// feed's own paths pass; anything else, malformed or over a limit, gets its 4xx as soon as
// it shows, so a client cannot make the feed hold more than kMaxRequestHeadBytes of it.
FeedRequest judgeFeedRequest(QByteArrayView received);

// The reason phrase of a status the feed sends.
QByteArray feedStatusText(int status);
