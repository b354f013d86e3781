#pragma once

#include <QObject>

#include <cstdint>

class SoundPlayer;
struct Settings;

// The board's horn and buzzer. At most one of the two sounds at a time: `BuzzerPlaying` is
// True from the start of either sound until either player reports its play finished, and a
// request that comes meanwhile is dropped, not queued. A finished play rewinds its player, so
// the next request plays the sound from its start. The players are the board's; this only
// drives them.
class BoardSounds : public QObject {
    Q_OBJECT
  public:
    BoardSounds(SoundPlayer& buzzer, SoundPlayer& horn, QObject* parent = nullptr);

    // At the board's load: each sound whose path names an existing file is opened; any other
    // leaves its player without a file, and its signal silent.
    void OpenAtLoad(const Settings& settings);
    // After the options dialog: both players closed and opened again on the current paths,
    // untested; a player that cannot open its file reports each play finished at once.
    void OpenSounds(const Settings& settings);
    // When the board's window unloads: closes each player that has a file.
    void CloseAtUnload();
    // When the board object goes: closes both.
    void CloseAll();

    void Buzzer();
    void Horn();

    // True = -1, False = 0.
    std::int16_t BuzzerPlaying() const { return BuzzerPlaying_; }

  private:
    void start(SoundPlayer& player);
    void playFinished(SoundPlayer& player);

    SoundPlayer& mmcBuzzer;
    SoundPlayer& mmcHorn;
    std::int16_t BuzzerPlaying_ = 0;
};
