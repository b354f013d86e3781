#include "sound/BoardSounds.h"

#include "settings/Settings.h"
#include "sound/SoundPlayer.h"

#include <QFileInfo>

namespace {

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

void openIfFileExists(SoundPlayer& player, const QString& path) {
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        player.setFileName(path);
        player.Open();
    }
}

void reopen(SoundPlayer& player, const QString& path) {
    player.Close();
    player.setFileName(path);
    player.Open();
}

} // namespace

BoardSounds::BoardSounds(SoundPlayer& buzzer, SoundPlayer& horn, QObject* parent)
    : QObject(parent), mmcBuzzer(buzzer), mmcHorn(horn) {
    connect(&mmcBuzzer, &SoundPlayer::finished, this, [this] { playFinished(mmcBuzzer); });
    connect(&mmcHorn, &SoundPlayer::finished, this, [this] { playFinished(mmcHorn); });
}

void BoardSounds::OpenAtLoad(const Settings& settings) {
    openIfFileExists(mmcBuzzer, settings.BuzzerFile);
    openIfFileExists(mmcHorn, settings.HornFile);
}

void BoardSounds::OpenSounds(const Settings& settings) {
    reopen(mmcBuzzer, settings.BuzzerFile);
    reopen(mmcHorn, settings.HornFile);
}

void BoardSounds::CloseAtUnload() {
    for (SoundPlayer* player : {&mmcBuzzer, &mmcHorn})
        if (!player->fileName().isEmpty())
            player->Close();
}

void BoardSounds::CloseAll() {
    mmcBuzzer.Close();
    mmcHorn.Close();
}

void BoardSounds::Buzzer() {
    start(mmcBuzzer);
}

void BoardSounds::Horn() {
    start(mmcHorn);
}

void BoardSounds::start(SoundPlayer& player) {
    if (player.fileName().isEmpty() || BuzzerPlaying_ != kFalse)
        return;
    BuzzerPlaying_ = kTrue;
    player.Play();
}

void BoardSounds::playFinished(SoundPlayer& player) {
    player.Stop();
    player.Prev();
    BuzzerPlaying_ = kFalse;
}
