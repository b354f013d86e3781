#include "sound/QtSoundPlayer.h"

#include "sound/WavSound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace {

// How much audio the output queues ahead of what is heard: enough to ride out a busy
// machine, and no delay at the start, since the first part is handed over at once.
constexpr int kOutputBufferMs = 250;
constexpr int kFeedIntervalMs = 10;
// Silence after the sound, so that stopping the output once everything has been handed
// over never cuts the sound's own end.
constexpr int kTailSilenceMs = 100;

} // namespace

std::unique_ptr<SoundPlayer> createSoundPlayer() {
    return std::make_unique<QtSoundPlayer>();
}

QtSoundPlayer::QtSoundPlayer(QObject* parent) : SoundPlayer(parent) {
    feeder_.setInterval(kFeedIntervalMs);
    feeder_.setTimerType(Qt::PreciseTimer);
    connect(&feeder_, &QTimer::timeout, this, &QtSoundPlayer::feed);
    guard_.setSingleShot(true);
    guard_.setTimerType(Qt::PreciseTimer);
    connect(&guard_, &QTimer::timeout, this, [this] {
        if (!playing_)
            return;
        position_ = soundBytes_;
        sink_->stop();
        endPlay();
    });
}

QtSoundPlayer::~QtSoundPlayer() {
    if (sink_)
        sink_->stop();
}

void QtSoundPlayer::Open() {
    Close();
    const std::optional<PcmSound> sound = LoadWavFile(fileName_);
    if (!sound)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;

    format_ = QAudioFormat();
    format_.setSampleRate(sound->sampleRate);
    format_.setChannelCount(sound->channels);
    format_.setSampleFormat(QAudioFormat::Int16);
    soundBytes_ = qint64(sound->samples.size() * sizeof(std::int16_t));
    const qint64 tailBytes = format_.bytesForDuration(kTailSilenceMs * 1000);
    pcm_ = QByteArray(soundBytes_ + tailBytes, '\0');
    std::copy_n(reinterpret_cast<const char*>(sound->samples.data()), soundBytes_, pcm_.data());

    sink_ = std::make_unique<QAudioSink>(device, format_);
    sink_->setBufferSize(format_.bytesForDuration(kOutputBufferMs * 1000));
    connect(sink_.get(), &QAudioSink::stateChanged, this, &QtSoundPlayer::onSinkState);
}

void QtSoundPlayer::Play() {
    if (playing_)
        return;
    playing_ = true;
    if (!sink_) {
        endPlay();
        return;
    }
    position_ = std::min(position_, soundBytes_);
    const qint64 remainingMs = bytesToMs(soundBytes_ - position_);
    output_ = sink_->start();
    if (!output_ || sink_->error() != QAudio::NoError) {
        sink_->stop();
        endPlay();
        return;
    }
    feed();
    feeder_.start();
    guard_.start(int(remainingMs + kEndGraceMs));
}

void QtSoundPlayer::feed() {
    if (!playing_ || !output_)
        return;
    while (position_ < pcm_.size()) {
        const qint64 room = std::min<qint64>(sink_->bytesFree(), pcm_.size() - position_);
        if (room <= 0)
            break;
        const qint64 written = output_->write(pcm_.constData() + position_, room);
        if (written <= 0)
            break;
        position_ += written;
    }
}

void QtSoundPlayer::onSinkState() {
    if (!playing_)
        return;
    const bool handedOver = position_ >= pcm_.size();
    // The output also idles when it runs dry in the middle of a sound on a busy machine; only
    // once everything has been handed over does idle mean the sound has been heard.
    if ((sink_->state() == QAudio::IdleState && handedOver) ||
        (sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError)) {
        position_ = std::min(position_, soundBytes_);
        sink_->stop();
        endPlay();
    }
}

void QtSoundPlayer::Stop() {
    if (!playing_)
        return;
    position_ = std::min(position_, soundBytes_);
    if (sink_)
        sink_->stop();
    endPlay();
}

void QtSoundPlayer::Prev() {
    position_ = 0;
}

void QtSoundPlayer::Close() {
    Stop();
    if (sink_) {
        sink_->disconnect(this);
        sink_.reset();
    }
    pcm_.clear();
    soundBytes_ = 0;
    position_ = 0;
}

qint64 QtSoundPlayer::processedUSecs() const {
    return sink_ && playing_ ? sink_->processedUSecs() : 0;
}

void QtSoundPlayer::endPlay() {
    playing_ = false;
    output_ = nullptr;
    feeder_.stop();
    guard_.stop();
    // Told through the event loop: the board answers with commands to this player.
    QMetaObject::invokeMethod(this, &SoundPlayer::finished, Qt::QueuedConnection);
}

qint64 QtSoundPlayer::bytesToMs(qint64 bytes) const {
    const qint64 frameBytes = qint64(format_.channelCount()) * qint64(sizeof(std::int16_t));
    return frameBytes > 0 ? bytes / frameBytes * 1000 / format_.sampleRate() : 0;
}
