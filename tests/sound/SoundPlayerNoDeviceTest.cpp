// The real sound player where nothing can be heard: a path that is gone, a file
// that is no sound, a machine without an audio output. Every play still ends,
// at once, so the board is never left waiting for a sound that will not come.
// Runs with the audio server unreachable.
#include "board/frmScoreBoard.h"
#include "settings/Settings.h"
#include "sound/QtSoundPlayer.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class SoundPlayerNoDeviceTest : public QObject {
    Q_OBJECT

    QString shipped(const char* name) {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
    }

  private slots:
    void playEndsAtOnce_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("path gone") << QStringLiteral("/nonexistent/buzzer.wav");
        QTest::newRow("not a sound") << QCoreApplication::applicationFilePath();
        QTest::newRow("a folder") << QCoreApplication::applicationDirPath();
        QTest::newRow("no audio output") << shipped("buzzer.wav");
    }
    void playEndsAtOnce() {
        QFETCH(QString, path);
        QtSoundPlayer player;
        player.setFileName(path);
        player.Open();
        QVERIFY(!player.isPlayable());
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.Play();
        QCOMPARE(finished.count(), 0); // told later, never from inside the command
        // At once: on the event loop's next turn, with no timer to wait for.
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 1);
        player.Stop();
        player.Prev();
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
    }

    // The board stays usable: each key sounds its signal and frees the board
    // again.
    void boardIsNotLeftMute() {
        Settings settings;
        settings.BuzzerFile = shipped("buzzer.wav");
        settings.HornFile = shipped("horn.wav");
        FakeTimeSource time;
        frmScoreBoard board(settings, time);
        for (int key : {settings.BuzzerKey, settings.HornKey, settings.BuzzerKey}) {
            board.AllKeyCode(key);
            QCOMPARE(board.BuzzerPlaying(), std::int16_t(-1));
            QTRY_COMPARE_WITH_TIMEOUT(board.BuzzerPlaying(), std::int16_t(0), kPatienceMs);
        }
    }
};

QTEST_MAIN(SoundPlayerNoDeviceTest)
#include "SoundPlayerNoDeviceTest.moc"
