#pragma once

#include <QObject>
#include <QString>

#include <memory>

// One sound of the board, driven like a multimedia device: give it a file name, "Open" it,
// then "Play", "Stop", "Prev" (back to the start) and "Close". Every "Play" is answered by
// exactly one finished() once that play has ended, whether the sound ran to its end, was
// stopped or closed, or could not be played at all (no file, not a sound, no audio device);
// the board relies on it to know when the next sound may start. A "Play" while a play is
// still running does nothing. finished() always arrives later through the event loop, never
// from inside a command.
class SoundPlayer : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    virtual QString fileName() const = 0;
    virtual void setFileName(const QString& fileName) = 0;

    virtual void Open() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Prev() = 0;
    virtual void Close() = 0;

  signals:
    void finished();
};

// The platform's player, as chosen by the build.
std::unique_ptr<SoundPlayer> createSoundPlayer();
