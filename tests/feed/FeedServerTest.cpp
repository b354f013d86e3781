#include "feed/FeedServer.h"
#include "feed/FeedState.h"
#include "feed/LiveFeed.h"
#include "game/BoardHarness.h"
#include "support/Patience.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QWebSocket>
#include <QtTest>

#include <functional>
#include <memory>

using namespace boardtest;

namespace {

using Play = std::function<void(BoardHarness&)>;

// The inodes of the TCP sockets this process listens on, from the kernel's tables.
int listeningSocketsOfThisProcess() {
    QSet<QByteArray> listening;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file{QString::fromLatin1(table)};
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine(); // column titles
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().simplified().split(' ');
            if (f.size() > 9 && f[3] == "0A") // TCP_LISTEN
                listening.insert(f[9]);
        }
    }
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        if (target.contains(QLatin1String("socket:[")) &&
            listening.contains(target.section(QLatin1Char('['), 1).chopped(1).toLatin1()))
            ++count;
    }
    return count;
}

// The first line of the server's answer to `bytes` sent raw.
QByteArray statusLineFor(quint16 port, const QByteArray& bytes) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(kPatienceMs))
        return "no connection";
    socket.write(bytes);
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    while (!answer.contains("\r\n") && timer.elapsed() < kPatienceMs) {
        QCoreApplication::processEvents();
        socket.waitForReadyRead(50);
        answer += socket.readAll();
    }
    return answer.left(answer.indexOf("\r\n"));
}

} // namespace

// The feed over real sockets, with Qt's own HTTP and WebSocket clients against a board that
// scripted key streams have played.
class FeedServerTest : public QObject {
    Q_OBJECT
  private:
    BoardHarness board_;
    std::unique_ptr<LiveFeed> feed_;
    QNetworkAccessManager http_;

    QUrl url(const QString& path, const char* scheme = "http") const {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                        .arg(QLatin1String(scheme))
                        .arg(feed_->port())
                        .arg(path));
    }
    QJsonObject fetchState() {
        std::unique_ptr<QNetworkReply> reply(http_.get(QNetworkRequest(url("/state.json"))));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        finished.wait(kPatienceMs);
        return QJsonDocument::fromJson(reply->readAll()).object();
    }
    // The feed's answer once it has caught up with the board: what the board shows now,
    // under whatever sequence number the feed gave it.
    QJsonObject stateAfterPublish() {
        feed_->boardChanged();
        auto withoutSeq = [](QJsonObject state) {
            state.remove(QStringLiteral("seq"));
            return state;
        };
        const QJsonObject shown = withoutSeq(
            QJsonDocument::fromJson(feedJson(board_.logic.state(), feedLookOf(board_.settings), 0))
                .object());
        QJsonObject state;
        // Should it never catch up, the caller's comparisons show what it had.
        (void)QTest::qWaitFor([&] { return withoutSeq(state = fetchState()) == shown; },
                              kPatienceMs);
        return state;
    }

  private slots:
    void init() {
        board_.~BoardHarness();
        new (&board_) BoardHarness;
        board_.load();
        feed_ =
            std::make_unique<LiveFeed>(board_.settings, [this] { return board_.logic.state(); });
        QVERIFY(feed_->apply({true, QStringLiteral("127.0.0.1"), 0}));
    }
    void cleanup() { feed_.reset(); }

    void stateJsonFollowsTheBoard_data() {
        QTest::addColumn<Play>("play");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("expected");
        QTest::newRow("clock running")
            << Play([](BoardHarness& b) {
                   b.press(EntryBox::TimeBack, keyFor('S'));
                   b.run(2500);
               })
            << "clock"
            << QJsonValue(QJsonObject{{"text", "9:58"}, {"tenths", 5975}, {"running", true}});
        QTest::newRow("last minute")
            << Play([](BoardHarness& b) { b.type(EntryBox::TimeBack, "0.453\n"); }) << "clock"
            << QJsonValue(QJsonObject{{"text", "45.3"}, {"tenths", 453}, {"running", false}});
        QTest::newRow("home scores")
            << Play([](BoardHarness& b) { b.type(EntryBox::HomeBack, "2\n"); }) << "home"
            << QJsonValue(
                   QJsonObject{{"name", "Home"}, {"color", "#ffffff"}, {"score", 2}, {"shots", 0}});
        QTest::newRow("goal lamp")
            << Play([](BoardHarness& b) { b.press(EntryBox::picGoalBack, vk::Left); }) << "goalLamp"
            << QJsonValue("home");
    }
    void stateJsonFollowsTheBoard() {
        QFETCH(Play, play);
        QFETCH(QString, field);
        QFETCH(QJsonValue, expected);
        const QJsonObject before = stateAfterPublish();
        play(board_);
        const QJsonObject after = stateAfterPublish();
        QCOMPARE(after.value(field), expected);
        QCOMPARE(after.value("format"), QJsonValue(1));
        QVERIFY(after.value("seq").toInteger() > before.value("seq").toInteger());
    }

    void liveClientMidGameGetsTheWholeStateThenEveryTenth() {
        board_.type(EntryBox::VisitorBack, "4\n");
        board_.press(EntryBox::TimeBack, keyFor('S'));
        board_.run(1000);
        feed_->boardChanged();
        QWebSocket client;
        QList<QJsonObject> received;
        connect(&client, &QWebSocket::textMessageReceived, this, [&](const QString& m) {
            received.append(QJsonDocument::fromJson(m.toUtf8()).object());
        });
        client.open(url("/live", "ws"));
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, kPatienceMs);
        QCOMPARE(received[0]["visitor"].toObject()["score"], QJsonValue(4));
        QCOMPARE(received[0]["clock"].toObject()["text"], QJsonValue("9:59"));
        for (int tick = 0; tick < 10; ++tick) {
            board_.run(100);
            feed_->boardChanged();
        }
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 11, kPatienceMs);
        for (int i = 1; i < received.size(); ++i) {
            QCOMPARE(received[i]["seq"].toInteger(), received[i - 1]["seq"].toInteger() + 1);
            QCOMPARE(received[i]["clock"].toObject()["tenths"].toInteger(),
                     received[i - 1]["clock"].toObject()["tenths"].toInteger() - 1);
        }
    }

    void pagesAreServed_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("contains");
        QTest::newRow("overlay") << "/overlay"
                                 << "text/html"
                                 << "followFeed(";
        QTest::newRow("board") << "/board"
                               << "text/html"
                               << "viewBox";
        QTest::newRow("script") << "/feed.js"
                                << "text/javascript"
                                << "state.program === \"Pucktally\"";
        QTest::newRow("state") << "/state.json"
                               << "application/json"
                               << "\"program\":\"Pucktally\"";
    }
    void pagesAreServed() {
        QFETCH(QString, path);
        QFETCH(QString, type);
        QFETCH(QString, contains);
        std::unique_ptr<QNetworkReply> reply(http_.get(QNetworkRequest(url(path))));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        QVERIFY(finished.wait(kPatienceMs));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QVERIFY(reply->header(QNetworkRequest::ContentTypeHeader).toString().startsWith(type));
        // Whoever reads the feed can tell this board from another program on its port.
        QCOMPARE(reply->rawHeader("Server"), QByteArray("Pucktally"));
        const QByteArray body = reply->readAll();
        QVERIFY2(body.contains(contains.toUtf8()), body.left(200).constData());
        // Nothing is fetched from elsewhere.
        for (const char* outside : {"src=\"http", "href=\"http", "url(", "@import", "fetch(\"http"})
            QVERIFY2(!body.contains(outside), outside);
    }

    void badRequestsAreRefusedWithoutEffect_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("unknown path")
            << QByteArray("GET /config HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 404 Not Found");
        QTest::newRow("traversal") << QByteArray("GET /../../../etc/passwd HTTP/1.1\r\n\r\n")
                                   << QByteArray("HTTP/1.1 404 Not Found");
        QTest::newRow("escaped traversal") << QByteArray("GET /%2e%2e%2fsettings HTTP/1.1\r\n\r\n")
                                           << QByteArray("HTTP/1.1 404 Not Found");
        QTest::newRow("post") << QByteArray(
                                     "POST /state.json HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}")
                              << QByteArray("HTTP/1.1 413 Content Too Large");
        QTest::newRow("put") << QByteArray("PUT /state.json HTTP/1.1\r\n\r\n")
                             << QByteArray("HTTP/1.1 405 Method Not Allowed");
        QTest::newRow("huge header")
            << "GET /state.json HTTP/1.1\r\nCookie: " + QByteArray(100000, 'x') + "\r\n\r\n"
            << QByteArray("HTTP/1.1 431 Request Header Fields Too Large");
        QTest::newRow("garbage") << QByteArray("\x00\xff\x13\x37garbage\r\n\r\n", 15)
                                 << QByteArray("HTTP/1.1 400 Bad Request");
        QTest::newRow("tls hello") << QByteArray("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03", 11)
                                   << QByteArray("HTTP/1.1 400 Bad Request");
        QTest::newRow("live without handshake") << QByteArray("GET /live HTTP/1.1\r\n\r\n")
                                                << QByteArray("HTTP/1.1 426 Upgrade Required");
    }
    void badRequestsAreRefusedWithoutEffect() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        const QJsonObject before = fetchState();
        QCOMPARE(statusLineFor(feed_->port(), request), status);
        QCOMPARE(fetchState(), before); // same state, same sequence number: nothing changed
        QCOMPARE(board_.logic.state().clock, QStringLiteral("10:00"));
    }

    void halfOpenConnectionsAreClosed() {
        QTcpSocket silent, halfway;
        silent.connectToHost(QHostAddress::LocalHost, feed_->port());
        halfway.connectToHost(QHostAddress::LocalHost, feed_->port());
        QVERIFY(silent.waitForConnected(kPatienceMs) && halfway.waitForConnected(kPatienceMs));
        halfway.write("GET /state.js");
        QTRY_VERIFY_WITH_TIMEOUT(halfway.state() == QAbstractSocket::UnconnectedState &&
                                     silent.state() == QAbstractSocket::UnconnectedState,
                                 FeedServer::kRequestTimeoutMs + kPatienceMs);
        QVERIFY(silent.readAll().startsWith("HTTP/1.1 408"));
        QVERIFY(halfway.readAll().startsWith("HTTP/1.1 408"));
        QCOMPARE(fetchState().value("format"), QJsonValue(1)); // still serving
    }

    void slowLiveClientIsDropped() {
        FeedServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QTcpSocket sleeper; // does the handshake, then never reads
        sleeper.setReadBufferSize(1024);
        sleeper.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 2048);
        sleeper.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(sleeper.waitForConnected(kPatienceMs));
        sleeper.write(
            "GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(server.liveClients(), 1, kPatienceMs);
        QSignalSpy dropped(&server, &FeedServer::slowClientDropped);
        FeedLook look;
        for (int i = 0; i < 20000 && dropped.isEmpty(); ++i) {
            look.homeName = QString::number(i); // every message a new one
            server.publish(board_.logic.state(), look);
            if (i % 50 == 0)
                QCoreApplication::processEvents();
        }
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(server.liveClients(), 0);
    }

    void offByDefaultOpensNoPort() {
        feed_.reset();
        const int before = listeningSocketsOfThisProcess();
        LiveFeed feed(board_.settings, [this] { return board_.logic.state(); });
        QVERIFY(feed.apply(FeedSettings{}));
        QVERIFY(!feed.isRunning());
        QCOMPARE(listeningSocketsOfThisProcess(), before);
        QVERIFY(feed.apply({true, QStringLiteral("127.0.0.1"), 0}));
        QCOMPARE(listeningSocketsOfThisProcess(), before + 1);
        QVERIFY(feed.apply(FeedSettings{}));
        QCOMPARE(listeningSocketsOfThisProcess(), before);
    }
};

QTEST_MAIN(FeedServerTest)
#include "FeedServerTest.moc"
