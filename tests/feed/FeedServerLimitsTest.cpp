// The feed's server at the edges of its limits and in every header it answers with, over
// real sockets.
#include "FeedRequests.h"
#include "feed/FeedServer.h"
#include "support/Patience.h"

#include <QElapsedTimer>
#include <QMap>
#include <QTcpSocket>
#include <QtTest>

#include <memory>
#include <vector>

using namespace feedtest;

namespace {

// An answer taken apart: its status line, its headers by lower-case name, its body.
struct Answer {
    QByteArray status;
    QMap<QByteArray, QByteArray> headers;
    QByteArray body;
};

// Reads until the server closes the connection (it answers once, then closes).
Answer readAnswer(QTcpSocket& socket) {
    QByteArray raw;
    QElapsedTimer timer;
    timer.start();
    while (socket.state() != QAbstractSocket::UnconnectedState && timer.elapsed() < kPatienceMs) {
        QCoreApplication::processEvents();
        socket.waitForReadyRead(20);
        raw += socket.readAll();
    }
    raw += socket.readAll();
    Answer a;
    const qsizetype end = raw.indexOf("\r\n\r\n");
    if (end < 0)
        return a;
    const QList<QByteArray> lines = raw.first(end).split('\n');
    a.status = lines.first().trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        a.headers.insert(lines[i].first(colon).toLower(), lines[i].mid(colon + 1).trimmed());
    }
    a.body = raw.mid(end + 4);
    return a;
}

std::unique_ptr<QTcpSocket> connectTo(quint16 port) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    // The server shares this thread: it accepts only while events are handled. A connection
    // it refuses may be closed again before this sees it connected.
    QElapsedTimer timer;
    timer.start();
    while ((socket->state() == QAbstractSocket::HostLookupState ||
            socket->state() == QAbstractSocket::ConnectingState) &&
           timer.elapsed() < kPatienceMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return socket;
}

Answer ask(quint16 port, const QByteArray& request) {
    const std::unique_ptr<QTcpSocket> socket = connectTo(port);
    socket->write(request);
    return readAnswer(*socket);
}

} // namespace

class FeedServerLimitsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FeedServer> server_;

  private slots:
    void init() {
        server_ = std::make_unique<FeedServer>();
        QVERIFY(server_->listen(QHostAddress::LocalHost, 0));
        BoardState state;
        state.home = 3;
        server_->publish(state, FeedLook{});
    }
    void cleanup() { server_.reset(); }

    void requestLimitsAtTheirEdges_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        const QByteArray ok = "HTTP/1.1 200 OK";
        QTest::newRow("head at the limit") << headOfSize(kMaxRequestHeadBytes) << ok;
        QTest::newRow("head one over")
            << headOfSize(kMaxRequestHeadBytes + 1)
            << QByteArray("HTTP/1.1 431 Request Header Fields Too Large");
        QTest::newRow("target at the limit") << targetOfSize(kMaxRequestTargetBytes) << ok;
        QTest::newRow("target one over")
            << targetOfSize(kMaxRequestTargetBytes + 1) << QByteArray("HTTP/1.1 414 URI Too Long");
        QTest::newRow("header lines at the limit") << headerLines(kMaxRequestHeaderLines) << ok;
        QTest::newRow("header lines one over")
            << headerLines(kMaxRequestHeaderLines + 1)
            << QByteArray("HTTP/1.1 431 Request Header Fields Too Large");
    }
    void requestLimitsAtTheirEdges() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        const Answer a = ask(server_->port(), request);
        QCOMPARE(a.status, status);
        if (status.contains("200"))
            QCOMPARE(a.body, server_->currentMessage());
    }

    // Every one of the allowed connections is served; the one after them is refused; and
    // answered or left without a word, each gives its place back.
    void connectionsUpToTheCapAreServed() {
        // The first ones wait for their request while the others connect, however long a busy
        // machine takes for that.
        server_->setRequestTimeoutMs(kPatienceMs);
        const QByteArray get = "GET /state.json HTTP/1.1\r\n\r\n";
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < FeedServer::kMaxConnections; ++i) {
            held.push_back(connectTo(server_->port()));
            QCOMPARE(held.back()->state(), QAbstractSocket::ConnectedState);
        }
        QTRY_COMPARE_WITH_TIMEOUT(server_->openConnections(), FeedServer::kMaxConnections,
                                  kPatienceMs);
        QCOMPARE(ask(server_->port(), get).status, QByteArray("HTTP/1.1 503 Service Unavailable"));
        for (auto& socket : held)
            socket->write(get);
        for (size_t i = 0; i < held.size(); ++i)
            QVERIFY2(readAnswer(*held[i]).status == "HTTP/1.1 200 OK",
                     qPrintable(QStringLiteral("connection %1").arg(i + 1)));
        held.clear();
        QTRY_COMPARE_WITH_TIMEOUT(server_->openConnections(), 0, kPatienceMs);

        for (int i = 0; i < FeedServer::kMaxConnections; ++i)
            held.push_back(connectTo(server_->port()));
        QTRY_COMPARE_WITH_TIMEOUT(server_->openConnections(), FeedServer::kMaxConnections,
                                  kPatienceMs);
        held.clear();
        QTRY_COMPARE_WITH_TIMEOUT(server_->openConnections(), 0, kPatienceMs);
        QCOMPARE(ask(server_->port(), get).status, QByteArray("HTTP/1.1 200 OK"));
    }

    // What each answer says about itself: its type, its length, that it must not be cached
    // or sniffed, that the connection closes, and for the state only that any page may read it.
    void answerHeaders_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("anyOrigin");
        const QByteArray json = "application/json";
        const QByteArray html = "text/html; charset=utf-8";
        const QByteArray js = "text/javascript; charset=utf-8";
        const QByteArray text = "text/plain; charset=utf-8";
        const QByteArray ok = "HTTP/1.1 200 OK";
        QTest::newRow("state") << QByteArray("GET /state.json HTTP/1.1\r\n\r\n") << ok << json
                               << true;
        QTest::newRow("state from another page")
            << QByteArray("GET /state.json HTTP/1.1\r\nOrigin: http://elsewhere\r\n\r\n") << ok
            << json << true;
        QTest::newRow("state, head only")
            << QByteArray("HEAD /state.json HTTP/1.1\r\n\r\n") << ok << json << true;
        QTest::newRow("overlay") << QByteArray("GET /overlay HTTP/1.1\r\n\r\n") << ok << html
                                 << false;
        QTest::newRow("board") << QByteArray("GET /board HTTP/1.1\r\n\r\n") << ok << html << false;
        QTest::newRow("board, head only")
            << QByteArray("HEAD /board HTTP/1.1\r\n\r\n") << ok << html << false;
        QTest::newRow("script") << QByteArray("GET /feed.js HTTP/1.1\r\n\r\n") << ok << js << false;
        QTest::newRow("not found") << QByteArray("GET /nothing HTTP/1.1\r\n\r\n")
                                   << QByteArray("HTTP/1.1 404 Not Found") << text << false;
        QTest::newRow("too large")
            << headOfSize(kMaxRequestHeadBytes + 1)
            << QByteArray("HTTP/1.1 431 Request Header Fields Too Large") << text << false;
    }
    void answerHeaders() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, type);
        QFETCH(bool, anyOrigin);
        const Answer a = ask(server_->port(), request);
        QCOMPARE(a.status, status);
        QCOMPARE(a.headers.value("content-type"), type);
        QCOMPARE(a.headers.value("cache-control"), QByteArray("no-store"));
        QCOMPARE(a.headers.value("x-content-type-options"), QByteArray("nosniff"));
        QCOMPARE(a.headers.value("connection"), QByteArray("close"));
        QCOMPARE(a.headers.value("access-control-allow-origin"),
                 anyOrigin ? QByteArray("*") : QByteArray());
        // HEAD answers the length of what GET would send, and sends none of it.
        QByteArray full = a.body;
        if (request.startsWith("HEAD")) {
            QVERIFY(a.body.isEmpty());
            full = ask(server_->port(), "GET" + request.mid(4)).body;
            QVERIFY(!full.isEmpty());
        }
        QCOMPARE(a.headers.value("content-length"), QByteArray::number(full.size()));
    }

    void connectionCapIsTheStatedOne() { QCOMPARE(FeedServer::kMaxConnections, 64); }
};

QTEST_MAIN(FeedServerLimitsTest)
#include "FeedServerLimitsTest.moc"
