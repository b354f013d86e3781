// The real sound player on a real audio server (the private one the test script starts, with
// a null output): the shipped sounds reach the server whole, recorded from the output's
// monitor, and every play ends on time, even when the output stalls.
#include "board/QtSoundPlayer.h"
#include "board/WavSound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

constexpr int kRate = 44100; // the recording: mono, 16-bit
constexpr int kWindow = kRate / 100;
constexpr double kSilenceRms = 300; // about 1 % of full scale

QString shipped(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

bool pactl(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Records the default output's monitor while a silent stream keeps that output running, so
// the recording flows from the start and its sample count is a clock.
class MonitorRecording {
  public:
    MonitorRecording() {
        keeper_.setStandardInputFile(QStringLiteral("/dev/zero"));
        keeper_.start(QStringLiteral("pacat"),
                      {QStringLiteral("--playback"), QStringLiteral("--raw")});
        recorder_.start(QStringLiteral("parec"),
                        {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"),
                         QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                         QStringLiteral("--channels=1"), QStringLiteral("--rate=44100"),
                         QStringLiteral("--latency-msec=20")});
        QObject::connect(&recorder_, &QProcess::readyReadStandardOutput,
                         [this] { data_ += recorder_.readAllStandardOutput(); });
    }
    ~MonitorRecording() {
        for (QProcess* p : {&recorder_, &keeper_}) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
    qint64 ms() const { return data_.size() / 2 * 1000 / kRate; }

    // Milliseconds of sound above silence after `fromMs`, and where the first of it begins.
    std::pair<int, int> loudAfter(qint64 fromMs) const {
        const auto* s = reinterpret_cast<const qint16*>(data_.constData());
        const qint64 n = data_.size() / 2;
        int loud = 0, first = -1;
        for (qint64 at = fromMs * kRate / 1000; at + kWindow <= n; at += kWindow) {
            double sum = 0;
            for (int i = 0; i < kWindow; ++i)
                sum += double(s[at + i]) * s[at + i];
            if (std::sqrt(sum / kWindow) > kSilenceRms) {
                loud += 10;
                if (first < 0)
                    first = int((at * 1000 / kRate) - fromMs);
            }
        }
        return {loud, first};
    }

  private:
    QProcess keeper_;
    QProcess recorder_;
    QByteArray data_;
};

} // namespace

class SoundPlayerAudioTest : public QObject {
    Q_OBJECT

    QElapsedTimer clock_;
    qint64 finishedAfter_ = -1;

    // Plays; the result becomes the milliseconds from "Play" to the finished notice.
    const qint64& timeToFinish(QtSoundPlayer& player) {
        finishedAfter_ = -1;
        connect(&player, &SoundPlayer::finished, this, [this] {
            if (finishedAfter_ < 0)
                finishedAfter_ = clock_.elapsed();
        });
        clock_.start();
        player.Play();
        return finishedAfter_;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("PULSE_SERVER"),
                 "needs the private audio server that scripts/test.sh starts");
        QVERIFY2(pactl({QStringLiteral("info")}), "the audio server does not answer");
    }

    void shippedSoundReachesTheServer_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("buzzer") << shipped("buzzer.wav");
        QTest::newRow("horn") << shipped("horn.wav");
    }
    void shippedSoundReachesTheServer() {
        QFETCH(QString, path);
        const qint64 lengthMs = LoadWavFile(path).value().durationMs();
        QtSoundPlayer player;
        player.setFileName(path);
        player.Open();
        QVERIFY(player.isPlayable());

        MonitorRecording recording;
        QTRY_VERIFY_WITH_TIMEOUT(recording.ms() >= 300, 10000);
        const qint64 playedAt = recording.ms();
        QSignalSpy finished(&player, &SoundPlayer::finished);
        const qint64& endedAfter = timeToFinish(player);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, int(lengthMs) + 3000);
        // The guard's bound, with room for a late timer on a busy machine.
        QVERIFY2(endedAfter <= lengthMs + QtSoundPlayer::kEndGraceMs + 250,
                 qPrintable(QString::number(endedAfter)));
        QTRY_VERIFY_WITH_TIMEOUT(recording.ms() >= playedAt + lengthMs + 400, 10000);

        const auto [loudMs, startMs] = recording.loudAfter(playedAt);
        qInfo("heard %d ms of %lld ms from %d ms on; finished after %lld ms", loudMs, lengthMs,
              startMs, endedAfter);
        QVERIFY2(recording.loudAfter(0).first == loudMs, "sound before the play");
        QVERIFY2(loudMs >= lengthMs * 9 / 10 && loudMs <= lengthMs + 100,
                 qPrintable(QStringLiteral("heard %1 ms of %2 ms").arg(loudMs).arg(lengthMs)));
        QVERIFY2(startMs >= 0 && startMs < 300, qPrintable(QString::number(startMs)));
    }

    // A play cut short still ends exactly once.
    void cutShortEndsOnce_data() {
        QTest::addColumn<bool>("close");
        QTest::newRow("Stop") << false;
        QTest::newRow("Close") << true;
    }
    void cutShortEndsOnce() {
        QFETCH(bool, close);
        QtSoundPlayer player;
        player.setFileName(shipped("horn.wav"));
        player.Open();
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.Play();
        QTest::qWait(200);
        QCOMPARE(finished.count(), 0);
        close ? player.Close() : player.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 200);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 1);
    }

    // An output that takes nothing never reports the end; the play ends by its length.
    void stalledOutputEndsByItsLength() {
        const QString path = shipped("buzzer.wav");
        const qint64 lengthMs = LoadWavFile(path).value().durationMs();
        QtSoundPlayer player;
        player.setFileName(path);
        player.Open();
        QVERIFY(pactl({QStringLiteral("suspend-sink"), QStringLiteral("@DEFAULT_SINK@"),
                       QStringLiteral("1")}));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        const qint64& elapsed = timeToFinish(player);
        const bool ended = finished.wait(int(lengthMs) + 3000);
        pactl({QStringLiteral("suspend-sink"), QStringLiteral("@DEFAULT_SINK@"),
               QStringLiteral("0")});
        QVERIFY(ended);
        QVERIFY2(elapsed >= lengthMs && elapsed <= lengthMs + QtSoundPlayer::kEndGraceMs + 250,
                 qPrintable(QString::number(elapsed)));
    }
};

QTEST_MAIN(SoundPlayerAudioTest)
#include "SoundPlayerAudioTest.moc"
