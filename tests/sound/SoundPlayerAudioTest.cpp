// The real sound player on a real audio server (the private one the test script
// starts, with a null output): the shipped sounds reach the server whole and
// once, after silence, recorded from the output's monitor, and every play ends
// once, even when the output stalls. How soon a sound starts and how soon its end
// is told depend on how busy the machine is (bench_sound_start measures those), as
// does whether a starved output falls silent for a while inside it.
#include "sound/QtSoundPlayer.h"
#include "sound/WavSound.h"
#include "support/Patience.h"

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
    return p.waitForFinished(kPatienceMs) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
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
    // Milliseconds recorded so far: the recording's own clock, which a busy
    // machine does not bend (the server keeps what the recorder is late to read).
    qint64 ms() const { return data_.size() / (2 * kWindow) * 10; }

    // The windows above silence: how many milliseconds in all, and where the
    // first and the last of them start (-1 if none).
    struct Loudness {
        int ms = 0;
        qint64 firstMs = -1, lastMs = -1;
    };
    Loudness loudness() const {
        const auto* s = reinterpret_cast<const qint16*>(data_.constData());
        Loudness loud;
        for (qint64 at = 0; at + kWindow <= data_.size() / 2; at += kWindow) {
            double sum = 0;
            for (qint64 i = at; i < at + kWindow; ++i)
                sum += double(s[i]) * s[i];
            if (std::sqrt(sum / kWindow) > kSilenceRms) {
                loud.lastMs = at / kWindow * 10;
                loud.firstMs = loud.firstMs < 0 ? loud.lastMs : loud.firstMs;
                loud.ms += 10;
            }
        }
        return loud;
    }
    // Something was heard, and the output has been quiet for `quietMs` since.
    bool quietAfterSound(qint64 quietMs) const {
        const Loudness loud = loudness();
        return loud.lastMs >= 0 && ms() >= loud.lastMs + 10 + quietMs;
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
        QTRY_VERIFY_WITH_TIMEOUT(recording.ms() >= 300, kPatienceMs);
        // Silent before the play, as far as the recorder has delivered (a busy recorder
        // delivers late, so where the play falls in the recording is not known).
        QCOMPARE(recording.loudness().firstMs, -1);
        open(path);
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.Play();
        // Heard out: the play has ended and the output has been quiet for a while.
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty() && recording.quietAfterSound(400),
                                 kPatienceMs);

        const MonitorRecording::Loudness heard = recording.loudness();
        qInfo("heard %d ms of %lld ms, from %lld ms to %lld ms of the recording; finished after "
              "%lld ms",
              heard.ms, lengthMs, heard.firstMs, heard.lastMs + 10, finishedAfter);
        // Whole: all of it, and nothing more than its own length, so it was played once. (A
        // starved output may fall silent inside it: silence is not counted.)
        QVERIFY(heard.ms >= lengthMs * 9 / 10 && heard.ms <= lengthMs + 100);
        QCOMPARE(finished.count(), 1);
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
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, int(lengthMs) + kPatienceMs);
        QVERIFY(!stall || pactl(QStringLiteral("suspend-sink @DEFAULT_SINK@ 0")));
        // A stalled output is given the sound's whole length before the play is
        // ended for it.
        QVERIFY(!stall || finishedAfter >= lengthMs);
        QTest::qWait(QtSoundPlayer::kEndGraceMs + 300);
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(SoundPlayerAudioTest)
#include "SoundPlayerAudioTest.moc"
