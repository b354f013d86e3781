// The real sound player on a real audio server (the private one the test script
// starts, with a null output): the shipped sounds reach the server whole,
// recorded from the output's monitor, and every play ends once and on time,
// even when the output stalls.
#include "board/QtSoundPlayer.h"
#include "board/WavSound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

constexpr int kWindow = 441;        // 10 ms of the recording: 44.1 kHz, mono, 16-bit
constexpr double kSilenceRms = 300; // about 1 % of full scale

QString shipped(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

bool pactl(const QString& args) {
    QProcess p;
    p.start(QStringLiteral("pactl"), args.split(QLatin1Char(' ')));
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Records the default output's monitor while a silent stream keeps that output
// running, so the recording flows from the start and its length is a clock.
class MonitorRecording {
  public:
    MonitorRecording() {
        keeper_.setStandardInputFile(QStringLiteral("/dev/zero"));
        keeper_.start(QStringLiteral("pacat"),
                      {QStringLiteral("--playback"), QStringLiteral("--raw")});
        recorder_.start(QStringLiteral("parec"),
                        QStringLiteral("-d @DEFAULT_MONITOR@ --raw --format=s16le --channels=1 "
                                       "--rate=44100 --latency-msec=20")
                            .split(QLatin1Char(' ')));
        QObject::connect(&recorder_, &QProcess::readyReadStandardOutput,
                         [this] { data_ += recorder_.readAllStandardOutput(); });
    }
    ~MonitorRecording() {
        recorder_.kill();
        keeper_.kill();
        recorder_.waitForFinished();
        keeper_.waitForFinished();
    }
    qint64 ms() const { return data_.size() / (2 * kWindow) * 10; }

    // Milliseconds above silence from `fromMs` on, and when the first of them
    // came.
    std::pair<int, int> loudFrom(qint64 fromMs) const {
        const auto* s = reinterpret_cast<const qint16*>(data_.constData());
        int loud = 0, first = -1;
        for (qint64 at = fromMs / 10 * kWindow; at + kWindow <= data_.size() / 2; at += kWindow) {
            double sum = 0;
            for (qint64 i = at; i < at + kWindow; ++i)
                sum += double(s[i]) * s[i];
            if (std::sqrt(sum / kWindow) > kSilenceRms) {
                first = first < 0 ? int(at / kWindow * 10 - fromMs) : first;
                loud += 10;
            }
        }
        return {loud, first};
    }

  private:
    QProcess keeper_, recorder_;
    QByteArray data_;
};

} // namespace

class SoundPlayerAudioTest : public QObject {
    Q_OBJECT

    QtSoundPlayer player;
    qint64 lengthMs = 0;
    QElapsedTimer clock;
    qint64 finishedAfter = -1; // milliseconds from "Play" to the first finished notice

    void open(const QString& path) {
        lengthMs = LoadWavFile(path).value().durationMs();
        player.setFileName(path);
        player.Open();
        finishedAfter = -1;
        clock.start();
    }
    bool endsInTime() const {
        return finishedAfter >= 0 && finishedAfter <= lengthMs + QtSoundPlayer::kEndGraceMs + 250;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(pactl(QStringLiteral("info")), "needs the audio server scripts/test.sh starts");
        connect(&player, &SoundPlayer::finished, this,
                [this] { finishedAfter = finishedAfter < 0 ? clock.elapsed() : finishedAfter; });
    }

    void shippedSoundReachesTheServer_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("buzzer") << shipped("buzzer.wav");
        QTest::newRow("horn") << shipped("horn.wav");
    }
    void shippedSoundReachesTheServer() {
        QFETCH(QString, path);
        MonitorRecording recording;
        QTRY_VERIFY_WITH_TIMEOUT(recording.ms() >= 300, 10000);
        const qint64 playedAt = recording.ms();
        open(path);
        player.Play();
        QTRY_VERIFY_WITH_TIMEOUT(finishedAfter >= 0, int(lengthMs) + 3000);
        QTRY_VERIFY_WITH_TIMEOUT(recording.ms() >= playedAt + lengthMs + 400, 10000);

        const auto [loudMs, startMs] = recording.loudFrom(playedAt);
        qInfo("heard %d ms of %lld ms from %d ms on; finished after %lld ms", loudMs, lengthMs,
              startMs, finishedAfter);
        QVERIFY(endsInTime()); // with room for a late timer on a busy machine
        QCOMPARE(recording.loudFrom(0).first, loudMs); // nothing before the play
        QVERIFY(loudMs >= lengthMs * 9 / 10 && loudMs <= lengthMs + 100);
        QVERIFY(startMs >= 0 && startMs < 300);
    }

    // A play cut short by Stop or Close, or on an output that takes nothing and
    // so never reports the end, still ends exactly once.
    void everyPlayEndsOnce_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Stop") << QStringLiteral("Stop");
        QTest::newRow("Close") << QStringLiteral("Close");
        QTest::newRow("output suspended") << QStringLiteral("suspend");
    }
    void everyPlayEndsOnce() {
        QFETCH(QString, how);
        const bool stall = how == QLatin1String("suspend");
        QVERIFY(!stall || pactl(QStringLiteral("suspend-sink @DEFAULT_SINK@ 1")));
        open(shipped("buzzer.wav"));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.Play();
        QTest::qWait(200);
        if (how == QLatin1String("Stop"))
            player.Stop();
        else if (how == QLatin1String("Close"))
            player.Close();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, int(lengthMs) + 3000);
        QVERIFY(!stall || pactl(QStringLiteral("suspend-sink @DEFAULT_SINK@ 0")));
        QVERIFY(endsInTime());
        QVERIFY(!stall || finishedAfter >= lengthMs);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(SoundPlayerAudioTest)
#include "SoundPlayerAudioTest.moc"
