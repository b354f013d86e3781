#include "feed/FeedRequest.h"

#include <QList>

namespace {

FeedRequest refuse(int status) {
    FeedRequest r;
    r.status = status;
    return r;
}

// RFC 9110 token characters: what a method and a header name are made of.
bool isTokenChar(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView s) {
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (!isTokenChar(c))
            return false;
    return true;
}

// Visible ASCII only: a target with spaces, controls or bytes above 127 is not one.
bool isVisible(QByteArrayView s) {
    for (char c : s)
        if (c <= ' ' || c == 127)
            return false;
    return true;
}

FeedRoute routeOf(QByteArrayView path) {
    if (path == "/state.json")
        return FeedRoute::State;
    if (path == "/live")
        return FeedRoute::Live;
    if (path == "/overlay")
        return FeedRoute::Overlay;
    if (path == "/board")
        return FeedRoute::Board;
    if (path == "/feed.js")
        return FeedRoute::Script;
    return FeedRoute::None;
}

// Whether a comma-separated header value holds `word` (case-insensitive).
bool listHas(QByteArrayView value, QByteArrayView word) {
    for (const QByteArray& item : value.toByteArray().split(','))
        if (item.trimmed().compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A partial request line can already be told apart from garbage: the method is a token and
// it is followed by a space before the line gets long.
bool startLooksLikeRequest(QByteArrayView received) {
    const qsizetype space = received.indexOf(' ');
    const QByteArrayView method = space < 0 ? received : received.first(space);
    if (method.size() > 16)
        return false;
    for (char c : method)
        if (!isTokenChar(c) && c != '\r' && c != '\n')
            return false;
    const qsizetype lineEnd = received.indexOf('\n');
    if (lineEnd < 0 && received.size() > kMaxRequestTargetBytes + 32)
        return false;
    return true;
}

} // namespace

FeedRequest judgeFeedRequest(QByteArrayView received) {
    const qsizetype end = received.indexOf("\r\n\r\n");
    if (end < 0) {
        if (received.size() > kMaxRequestHeadBytes)
            return refuse(431);
        return startLooksLikeRequest(received) ? FeedRequest{} : refuse(400);
    }
    const qsizetype headLength = end + 4;
    if (headLength > kMaxRequestHeadBytes)
        return refuse(431);

    const QByteArray head = received.first(end).toByteArray();
    if (head.contains('\n') && head.count("\r\n") != head.count('\n'))
        return refuse(400); // bare line feeds are a smuggling trick, not HTTP
    const QList<QByteArray> lines = head.split('\n');
    if (lines.size() - 1 > kMaxRequestHeaderLines)
        return refuse(431);

    // The request line: METHOD SP target SP HTTP/1.x
    const QByteArray& requestLine = lines.first();
    const QList<QByteArray> parts =
        (requestLine.endsWith('\r') ? requestLine.chopped(1) : requestLine).split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) ||
        (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0"))
        return refuse(400);
    const QByteArray& target = parts[1];
    if (target.size() > kMaxRequestTargetBytes)
        return refuse(414);
    if (!target.startsWith('/') || !isVisible(target))
        return refuse(400);

    bool upgradeWebSocket = false;
    bool connectionUpgrade = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(QByteArrayView(line).first(colon)))
            return refuse(400);
        const QByteArray name = line.first(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length" && value != "0")
            return refuse(413); // the feed takes no request bodies
        if (name == "transfer-encoding")
            return refuse(400);
        if (name == "upgrade")
            upgradeWebSocket = listHas(value, "websocket");
        if (name == "connection")
            connectionUpgrade = listHas(value, "upgrade");
    }

    const QByteArray& method = parts[0];
    if (method != "GET" && method != "HEAD")
        return refuse(405);

    // The path alone names the resource; a query is ignored. Paths are compared as sent, so
    // dot segments and escapes never reach anything but the 404 below.
    const qsizetype query = target.indexOf('?');
    const FeedRoute route = routeOf(query < 0 ? target : target.first(query));
    if (route == FeedRoute::None)
        return refuse(404);

    const bool webSocket = upgradeWebSocket && connectionUpgrade;
    if (route == FeedRoute::Live && (!webSocket || method != "GET"))
        return refuse(426);
    if (route != FeedRoute::Live && webSocket)
        return refuse(400);

    FeedRequest r;
    r.status = 200;
    r.route = route;
    r.headOnly = method == "HEAD";
    r.webSocket = webSocket;
    r.headLength = headLength;
    return r;
}

QByteArray feedStatusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 426:
        return "Upgrade Required";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}
