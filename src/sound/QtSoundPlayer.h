#pragma once

#include "sound/SoundPlayer.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>

#include <memory>

class QAudioSink;
class QIODevice;

// The sound player on Qt Multimedia. "Open" reads the whole WAV file, decodes it and prepares
// an audio output for its format, so "Play" only starts that output and hands it the first
// part of the sound at once. A file that cannot be decoded, or a machine without an audio
// output, still opens, and each play on it ends at once. A play whose output never reports its
// end (a stalled or suspended device) is ended by a guard timer at the sound's remaining length
// plus half a second.
//
// The sound is pushed to the output by the player itself, as much as the output takes, every
// few milliseconds: the output's own pulling falls behind on a busy machine and leaves gaps.
class QtSoundPlayer final : public SoundPlayer {
    Q_OBJECT
  public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    QString fileName() const override { return fileName_; }
    void setFileName(const QString& fileName) override { fileName_ = fileName; }

    void Open() override;
    void Play() override;
    void Stop() override;
    void Prev() override;
    void Close() override;

    // Whether the last "Open" gave a sound that can reach an audio output.
    bool isPlayable() const { return sink_ != nullptr; }
    // Audio handed to the audio server during the current play, in microseconds.
    qint64 processedUSecs() const;

    // How long past the sound's remaining length a play may run before it counts as ended.
    static constexpr int kEndGraceMs = 500;

  private:
    void onSinkState();
    void feed();
    void endPlay();
    qint64 bytesToMs(qint64 bytes) const;

    QString fileName_;
    QAudioFormat format_;
    QByteArray pcm_;        // the decoded sound followed by a short silence
    qint64 soundBytes_ = 0; // the decoded sound's own length in pcm_
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* output_ = nullptr; // where a play writes, while it plays
    qint64 position_ = 0;         // the next byte of pcm_ to hand over
    bool playing_ = false;
    QTimer feeder_;
    QTimer guard_;
};
