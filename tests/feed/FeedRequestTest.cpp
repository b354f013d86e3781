#include "feed/FeedRequest.h"

#include <gtest/gtest.h>

#include <QStringBuilder>

#include <string>

namespace {

struct RequestCase {
    std::string name;
    QByteArray bytes;
    int status;
    FeedRoute route = FeedRoute::None;
    bool webSocket = false;
};

const QByteArray kWsHeaders = "Upgrade: websocket\r\nConnection: keep-alive, Upgrade\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                              "Sec-WebSocket-Version: 13\r\n";

const RequestCase kRequests[] = {
    {"State", "GET /state.json HTTP/1.1\r\nHost: x\r\n\r\n", 200, FeedRoute::State},
    {"StateWithQuery", "GET /state.json?t=5 HTTP/1.1\r\n\r\n", 200, FeedRoute::State},
    {"Overlay", "GET /overlay HTTP/1.0\r\n\r\n", 200, FeedRoute::Overlay},
    {"BoardByHead", "HEAD /board HTTP/1.1\r\n\r\n", 200, FeedRoute::Board},
    {"Script", "GET /feed.js HTTP/1.1\r\n\r\n", 200, FeedRoute::Script},
    {"LiveHandshake", QByteArray("GET /live HTTP/1.1\r\nHost: x\r\n") + kWsHeaders + "\r\n", 200,
     FeedRoute::Live, true},
    {"LiveWithoutHandshake", "GET /live HTTP/1.1\r\n\r\n", 426},
    {"HandshakeElsewhere", QByteArray("GET /board HTTP/1.1\r\n") + kWsHeaders + "\r\n", 400},
    {"Incomplete", "GET /state.json HTTP/1.1\r\nHost: x\r\n", 0},
    {"JustStarted", "GE", 0},
    {"UnknownPath", "GET /admin HTTP/1.1\r\n\r\n", 404},
    {"Root", "GET / HTTP/1.1\r\n\r\n", 404},
    {"DotDot", "GET /../../etc/passwd HTTP/1.1\r\n\r\n", 404},
    {"EscapedDotDot", "GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\n\r\n", 404},
    {"DotSegmentToKnownPath", "GET /x/../state.json HTTP/1.1\r\n\r\n", 404},
    {"Backslashes", "GET /..\\..\\windows\\win.ini HTTP/1.1\r\n\r\n", 404},
    {"AbsoluteUri", "GET http://evil/state.json HTTP/1.1\r\n\r\n", 400},
    {"Post", "POST /state.json HTTP/1.1\r\nContent-Length: 0\r\n\r\n", 405},
    {"Delete", "DELETE /board HTTP/1.1\r\n\r\n", 405},
    {"Body", "GET /state.json HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello", 413},
    {"Chunked", "GET /state.json HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
    {"NoVersion", "GET /state.json\r\n\r\n", 400},
    {"Http2Preface", "PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n", 400},
    {"BareLineFeeds", "GET /state.json HTTP/1.1\r\nHost: x\nX: y\r\n\r\n", 400},
    {"HeaderWithoutColon", "GET /state.json HTTP/1.1\r\nnonsense\r\n\r\n", 400},
    {"ControlInTarget", "GET /state\x01.json HTTP/1.1\r\n\r\n", 400},
    {"GarbageBytes", QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11), 400},
    {"LongTarget", QByteArray("GET /") + QByteArray(2000, 'a') + " HTTP/1.1\r\n\r\n", 414},
    {"EndlessTarget", QByteArray("GET /") + QByteArray(1100, 'a'), 400},
    {"HugeHeader",
     QByteArray("GET /state.json HTTP/1.1\r\nX: ") + QByteArray(9000, 'a') + "\r\n\r\n", 431},
    {"HugeHeaderUnfinished", QByteArray("GET /state.json HTTP/1.1\r\nX: ") + QByteArray(9000, 'a'),
     431},
    {"ManyHeaders",
     QByteArray("GET /state.json HTTP/1.1\r\n") + QByteArray("A: b\r\n").repeated(70) + "\r\n",
     431},
};

class FeedRequestVerdict : public testing::TestWithParam<RequestCase> {};

TEST_P(FeedRequestVerdict, StatusAndRoute) {
    const RequestCase& c = GetParam();
    const FeedRequest r = judgeFeedRequest(c.bytes);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.route, c.route);
    EXPECT_EQ(r.webSocket, c.webSocket);
    if (r.status == 200) {
        EXPECT_EQ(r.headLength, c.bytes.indexOf("\r\n\r\n") + 4);
        EXPECT_EQ(r.headOnly, c.bytes.startsWith("HEAD"));
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, FeedRequestVerdict, testing::ValuesIn(kRequests),
                         [](const auto& info) { return info.param.name; });

// A request sent in pieces is judged the same once its head is complete, and is never
// refused on the way there.
TEST(FeedRequestPieces, EveryPrefixOfAGoodRequestWaits) {
    const QByteArray request = "GET /state.json HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n";
    for (qsizetype n = 0; n < request.size(); ++n)
        EXPECT_EQ(judgeFeedRequest(QByteArrayView(request).first(n)).status, 0) << n;
    EXPECT_EQ(judgeFeedRequest(request).status, 200);
}

} // namespace
