#pragma once

#include "sound/SoundPlayer.h"

#include <QStringList>

// A sound player that only writes down what it is told, as "name Command" lines
// in a log the test shares between players, so the order across both players
// shows. finishPlay() raises the finished notice as the real player does when a
// play ends.
class RecordingSoundPlayer final : public SoundPlayer {
  public:
    RecordingSoundPlayer(QString name, QStringList& log) : name_(std::move(name)), log_(log) {}

    QString fileName() const override { return fileName_; }
    void setFileName(const QString& fileName) override {
        fileName_ = fileName;
        record("File");
    }
    void Open() override { record("Open"); }
    void Play() override { record("Play"); }
    void Stop() override { record("Stop"); }
    void Prev() override { record("Prev"); }
    void Close() override { record("Close"); }
    void finishPlay() { emit finished(); }

  private:
    void record(const char* command) {
        log_.append(name_ + QLatin1Char(' ') + QLatin1String(command));
    }

    QString name_;
    QStringList& log_;
    QString fileName_;
};
