#pragma once

#include "board/SoundPlayer.h"

#include <QString>
#include <QStringList>

// A sound player that only writes down what it is told, as "name Command" lines in a log the
// test shares between players, so the order across both players shows. finishPlay() raises
// the finished notice as the real player would when a play ends.
class RecordingSoundPlayer final : public SoundPlayer {
  public:
    RecordingSoundPlayer(QString name, QStringList& log) : name_(std::move(name)), log_(log) {}

    QString fileName() const override { return fileName_; }
    void setFileName(const QString& fileName) override {
        fileName_ = fileName;
        log_.append(name_ + QStringLiteral(" File"));
    }
    void Open() override { log_.append(name_ + QStringLiteral(" Open")); }
    void Play() override { log_.append(name_ + QStringLiteral(" Play")); }
    void Stop() override { log_.append(name_ + QStringLiteral(" Stop")); }
    void Prev() override { log_.append(name_ + QStringLiteral(" Prev")); }
    void Close() override { log_.append(name_ + QStringLiteral(" Close")); }

    void finishPlay() { emit finished(); }

  private:
    QString name_;
    QStringList& log_;
    QString fileName_;
};
