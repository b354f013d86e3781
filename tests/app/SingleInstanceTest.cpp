// One board per user: the lock and the hand-over between a running program and a later
// start, and the window the running program brings to the front.
#include "app/SingleInstance.h"
#include "app/ProgramWindows.h"
#include "board/frmScoreBoard.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"
#include "support/Patience.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>
#include <memory>

using Claim = SingleInstance::Claim;

namespace {

// A later start of the program, in a thread of its own so that the holder's event loop
// can answer it meanwhile; `meanwhile` runs once it has started.
Claim claimFromAnotherThread(const QString& folder, int waitMs,
                             const std::function<void()>& meanwhile = {}) {
    Claim claim = Claim::NoAnswer;
    std::unique_ptr<QThread> later(
        QThread::create([&] { claim = SingleInstance(folder).claim(waitMs); }));
    later->start();
    if (meanwhile)
        meanwhile();
    QElapsedTimer clock;
    clock.start();
    while (!later->isFinished() && clock.elapsed() < waitMs + kPatienceMs)
        QTest::qWait(10);
    later->wait();
    return claim;
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    // The sockets of the tests go to a runtime folder of their own, never the user's.
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit()); }

    void cleanup() {
        // A splash window left waiting by a test.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmSplash"))
                delete w;
    }

    void laterStartIsAnsweredAndShowsTheBoard() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), Claim::First);
        QVERIFY(first.problem().isEmpty());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(claimFromAnotherThread(dir.path(), kPatienceMs), Claim::Shown);
        QCOMPARE(shown.count(), 1);
        // The holder goes on answering.
        QCOMPARE(claimFromAnotherThread(dir.path(), kPatienceMs), Claim::Shown);
        QCOMPARE(shown.count(), 2);
    }

    void holderThatDoesNotAnswerIsGivenUpInTime() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), Claim::First);
        // This thread's event loop does not run while the later start waits: a hung holder.
        SingleInstance later(dir.path());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(later.claim(400), Claim::NoAnswer);
        QVERIFY2(clock.elapsed() >= 350 && clock.elapsed() < 400 + kPatienceMs,
                 QByteArray::number(clock.elapsed()));
        QVERIFY(later.problem().contains(QLatin1String("did not answer")));
    }

    void lockIsFreeOnceTheHolderEnds() {
        QTemporaryDir dir;
        {
            SingleInstance first(dir.path());
            QCOMPARE(first.claim(), Claim::First);
        }
        SingleInstance next(dir.path());
        QCOMPARE(next.claim(), Claim::First);
        QVERIFY(next.problem().isEmpty());
    }

    void holderOnItsWayOutIsFollowedAtOnce() {
        QTemporaryDir dir;
        auto first = std::make_unique<SingleInstance>(dir.path());
        QCOMPARE(first->claim(), Claim::First);
        QElapsedTimer clock;
        clock.start();
        // The holder ends while the later start is asking it; the later start takes the lock
        // then, not once its wait has run out.
        QCOMPARE(claimFromAnotherThread(dir.path(), kPatienceMs, [&] { first.reset(); }),
                 Claim::First);
        QVERIFY2(clock.elapsed() < kPatienceMs, QByteArray::number(clock.elapsed()));
    }

    void lockOfADeadHolderIsTakenOver() {
        QTemporaryDir dir;
        // A lock as a program that has since died left it: its process id is gone.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted(kPatienceMs));
        const qint64 pid = gone.processId();
        QVERIFY(pid > 0);
        QVERIFY(gone.waitForFinished(kPatienceMs));
        QFile lock(QDir(dir.path()).filePath(QStringLiteral("pucktally.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\npucktally\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        // Taken over, where a live holder would have left it NoAnswer.
        SingleInstance next(dir.path());
        QCOMPARE(next.claim(), Claim::First);
        QVERIFY(next.problem().isEmpty());
        // And it is the holder now.
        QCOMPARE(claimFromAnotherThread(dir.path(), kPatienceMs), Claim::Shown);
    }

    // A lock without its content: made by a holder killed, or cut off by a power failure,
    // between making the file and writing its process id; or by a holder on its way in.
    void lockWithoutContent_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("madeSecondsAgo");
        QTest::addColumn<bool>("takenOver");
        QTest::newRow("empty, left long ago") << QByteArray() << 60 << true;
        QTest::newRow("cut short, left long ago") << QByteArray("12") << 60 << true;
        // Made "in the future" stays young however slowly this test runs.
        QTest::newRow("empty, its holder on its way in") << QByteArray() << -3600 << false;
    }
    void lockWithoutContent() {
        QFETCH(QByteArray, content);
        QFETCH(int, madeSecondsAgo);
        QFETCH(bool, takenOver);
        QTemporaryDir dir;
        QFile lock(QDir(dir.path()).filePath(QStringLiteral("pucktally.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-madeSecondsAgo),
                                 QFileDevice::FileModificationTime));
        lock.close();
        SingleInstance next(dir.path());
        QCOMPARE(next.claim(takenOver ? kPatienceMs : 500),
                 takenOver ? Claim::First : Claim::NoAnswer);
    }

    void journalsOfOtherFoldersDoNotMeet() {
        QTemporaryDir one;
        QTemporaryDir two;
        QCOMPARE(SingleInstance::serverName(one.path()),
                 SingleInstance::serverName(one.path() + QStringLiteral("/.")));
        QVERIFY(SingleInstance::serverName(one.path()) != SingleInstance::serverName(two.path()));
        SingleInstance a(one.path());
        SingleInstance b(two.path());
        QCOMPARE(a.claim(), Claim::First);
        QCOMPARE(b.claim(), Claim::First);
    }

    void socketLivesInTheUsersRuntimeFolder() {
        QTemporaryDir runtime;
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        const QString name = SingleInstance::serverName(runtime.path());
        // A folder too long for a socket's path leaves the name to the toolkit.
        const QString deep = runtime.path() + QLatin1Char('/') + QString(120, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        QFile(deep).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());
        const QString shortName = SingleInstance::serverName(runtime.path());
        qputenv("XDG_RUNTIME_DIR", saved);
#ifdef Q_OS_WIN
        QVERIFY(!name.contains(QLatin1Char('/')));
#else
        QVERIFY2(name.startsWith(runtime.path() + QStringLiteral("/pucktally-")), qPrintable(name));
#endif
        QVERIFY2(shortName.startsWith(QStringLiteral("pucktally-")), qPrintable(shortName));
        SingleInstance first(runtime.path());
        QCOMPARE(first.claim(), Claim::First);
        QVERIFY(first.problem().isEmpty());
    }

    void strangerOnTheSocketIsTurnedAway() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), Claim::First);
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        for (const QByteArray& words : {QByteArray("hello\n"), QByteArray(200, 'x')}) {
            QLocalSocket stranger;
            stranger.connectToServer(SingleInstance::serverName(dir.path()));
            QVERIFY(stranger.waitForConnected(kPatienceMs));
            stranger.write(words);
            QTRY_COMPARE_WITH_TIMEOUT(stranger.state(), QLocalSocket::UnconnectedState,
                                      kPatienceMs);
            QCOMPARE(stranger.readAll(), QByteArray());
        }
        QCOMPARE(shown.count(), 0);
    }

    void frontWindowIsTheSplashOrTheBoard_data() {
        QTest::addColumn<QStringList>("commandLine");
        QTest::addColumn<bool>("minimized");
        QTest::newRow("splash") << QStringList{} << false;
        QTest::newRow("board") << QStringList{"bypass"} << false;
        QTest::newRow("minimized board") << QStringList{"bypass"} << true;
    }
    void frontWindowIsTheSplashOrTheBoard() {
        QFETCH(QStringList, commandLine);
        QFETCH(bool, minimized);
        MemorySettingsStore store;
        Settings settings;
        FakeTimeSource time;
        ProgramWindows windows(settings, store, time);
        windows.start(commandLine);
        QWidget* front = windows.board();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!front && w->objectName() == QLatin1String("frmSplash") && w->isVisible())
                front = w;
        QVERIFY(front);
        QVERIFY(QTest::qWaitForWindowExposed(front, kPatienceMs));
        // Another program's window has the focus.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other, kPatienceMs));
        if (minimized)
            front->setWindowState(Qt::WindowMinimized);
        windows.bringToFront();
        QTRY_VERIFY_WITH_TIMEOUT(front->isActiveWindow(), kPatienceMs);
        QVERIFY(!(front->windowState() & Qt::WindowMinimized));
    }

  private:
    QTemporaryDir runtime_;
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
