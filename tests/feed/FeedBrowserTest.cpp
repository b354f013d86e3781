#include "feed/LiveFeed.h"
#include "game/BoardHarness.h"
#include "penalties/PenaltyAssistant.h"
#include "support/Patience.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace boardtest;

namespace {

using Play = std::function<void(BoardHarness&)>;

// How long one page may take to hold the feed's state, browser starts included.
constexpr int kPagePatienceMs = 3 * kPatienceMs;

// The page as a real browser builds it after a few seconds of running its scripts, once it
// holds the feed's state. The browser's seconds are its own, run ahead while it waits for
// nothing, so on a busy machine they may pass before the feed's first message arrives: the
// browser is then started again, until the page holds the state or patience runs out.
QString renderedPage(const QString& chromium, const QString& url) {
    QElapsedTimer waited;
    waited.start();
    QString dom;
    int runs = 0;
    while (!dom.contains(QLatin1String("data-seq=")) && !waited.hasExpired(kPagePatienceMs)) {
        ++runs;
        QTemporaryDir profile;
        QProcess browser;
        browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                 "--disable-background-networking", "--disable-component-update",
                                 "--disable-sync", "--user-data-dir=" + profile.path(),
                                 "--virtual-time-budget=4000", "--dump-dom", url});
        const qint64 left = std::max<qint64>(kPagePatienceMs - waited.elapsed(), 1000);
        if (!browser.waitForFinished(int(left))) {
            browser.kill();
            browser.waitForFinished();
        }
        dom = QString::fromUtf8(browser.readAllStandardOutput());
    }
    if (runs > 1)
        qInfo("%s held the feed's state after %d browser runs, %lld ms", qPrintable(url), runs,
              waited.elapsed());
    return dom;
}

// The text a group of the board page shows, by the group's id.
QString groupText(const QString& dom, const QString& id) {
    const QRegularExpression tag(QStringLiteral("<g [^>]*\\bid=\"%1\"[^>]*>").arg(id));
    const QString element = tag.match(dom).captured(0);
    return QRegularExpression(QStringLiteral("data-text=\"([^\"]*)\"")).match(element).captured(1);
}

// The text of an element of the overlay, by a selector-like path: "#clock", "#home .score".
QString overlayText(const QString& dom, const QString& id, const QString& cls = {}) {
    QString pattern = QStringLiteral("<div [^>]*id=\"%1\"[^>]*>").arg(id);
    if (!cls.isEmpty())
        pattern += QStringLiteral("(?:(?!</div></div>).)*?<div class=\"%1\">").arg(cls);
    pattern += QStringLiteral("([^<]*)<");
    return QRegularExpression(pattern).match(dom).captured(1);
}

QString number(int value) {
    return value < 0 ? QString() : QString::number(value);
}

} // namespace

// Headless Chromium opens the feed's pages while the feed serves a played board, and the
// digits the pages show are compared with the board's.
class FeedBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void pagesShowTheBoardsDigits_data() {
        QTest::addColumn<Play>("play");
        QTest::newRow("loaded") << Play([](BoardHarness&) {});
        QTest::newRow("mid game") << Play([](BoardHarness& b) {
            b.type(EntryBox::HomeBack, "3\n");
            b.type(EntryBox::VisitorBack, "12\n");
            b.type(EntryBox::ShotsBackH, "27\n");
            b.type(EntryBox::PeriodBack, "2\n");
            b.type(EntryBox::PenaltyPV1, "17\n");
            b.type(EntryBox::PenaltyTV1, "2.00\n");
            b.press(EntryBox::TimeBack, keyFor('S'));
            b.run(15300);
        });
        QTest::newRow("last minute") << Play([](BoardHarness& b) {
            b.type(EntryBox::TimeBack, "0.453\n");
            b.type(EntryBox::HomeBack, "7\n");
        });
    }
    void pagesShowTheBoardsDigits() {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("chromium is not installed (scripts/setup.sh installs it)");
        QFETCH(Play, play);
        BoardHarness board;
        board.load();
        play(board);
        LiveFeed feed(board.settings, [&board] { return board.logic.state(); });
        QVERIFY(feed.apply({true, QStringLiteral("127.0.0.1"), 0}));
        const BoardState s = board.logic.state();
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(feed.port());

        const QString page = renderedPage(chromium, base + QStringLiteral("/board"));
        QVERIFY2(page.contains(QLatin1String("data-seq=")), qPrintable(page.left(300)));
        QVERIFY2(page.contains(QLatin1String("id=\"clock\"")), qPrintable(page.left(300)));
        QCOMPARE(groupText(page, "clock"), s.clock);
        QCOMPARE(groupText(page, "home-score"), number(s.home));
        QCOMPARE(groupText(page, "visitor-score"), number(s.visitor));
        QCOMPARE(groupText(page, "period"), number(s.period));
        QCOMPARE(groupText(page, "home-shots"), number(s.shotsHome));
        QCOMPARE(groupText(page, "visitor-shots"), number(s.shotsVisitor));
        for (int slot = 1; slot <= 4; ++slot) {
            const PenaltyState& p = s.penalties[static_cast<size_t>(slot - 1)];
            QCOMPARE(groupText(page, QStringLiteral("penalty%1-player").arg(slot)),
                     number(p.player));
            QCOMPARE(groupText(page, QStringLiteral("penalty%1-time").arg(slot)), p.time);
        }

        const QString overlay = renderedPage(chromium, base + QStringLiteral("/overlay"));
        QVERIFY2(overlay.contains(QLatin1String("data-seq=")), qPrintable(overlay.left(300)));
        QCOMPARE(overlayText(overlay, "clock"), s.clock);
        QCOMPARE(overlayText(overlay, "home", "score"), number(s.home));
        QCOMPARE(overlayText(overlay, "visitor", "score"), number(s.visitor));
        QCOMPARE(overlayText(overlay, "strength"), QString());
    }

    // With the penalty assistant on, the overlay names the power play.
    void overlayShowsThePowerPlay() {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("chromium is not installed (scripts/setup.sh installs it)");
        BoardHarness board;
        board.load();
        penalties::PenaltyAssistant assistant(penalties::rulesFor(penalties::RuleBook::Iihf));
        assistant.assess({penalties::Team::Home, 7, penalties::PenaltyKind::Minor});
        assistant.advance(300);
        BoardState s = board.logic.state();
        s.assistant = QString::fromStdString(assistant.save());
        s.assistantTenths = assistant.elapsed();
        LiveFeed feed(board.settings, [&s] { return s; });
        feed.setPenaltyRules(assistant.rules());
        QVERIFY(feed.apply({true, QStringLiteral("127.0.0.1"), 0}));
        const QString overlay =
            renderedPage(chromium, QStringLiteral("http://127.0.0.1:%1/overlay").arg(feed.port()));
        QCOMPARE(overlayText(overlay, "strength"), QStringLiteral("Visitor PP 5v4 1:30"));
    }
};

QTEST_GUILESS_MAIN(FeedBrowserTest)
#include "FeedBrowserTest.moc"
