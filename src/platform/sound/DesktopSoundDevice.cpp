#include "platform/sound/DesktopSoundDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

#include <cstring>

namespace jornix {
namespace {

enum DeviceError : int
{
    NoDevice = 1,
    FormatRefused = 2,
    OpenFailed = 3,
    Failed = 4
};

// Running out of samples to play, or of room for recorded ones for a moment, is no failure.
bool IsFailure(QAudio::Error error)
{
    return error != QAudio::NoError && error != QAudio::UnderrunError;
}

QAudioFormat AudioFormat(const WaveFormat& format)
{
    QAudioFormat audio;
    audio.setSampleRate(format.samplesPerSecond);
    audio.setChannelCount(format.channels);
    audio.setSampleFormat(QAudioFormat::Int16);
    return audio;
}

QString FormatText(const WaveFormat& format)
{
    return QStringLiteral("%1 Hz, %2")
        .arg(format.samplesPerSecond)
        .arg(format.channels == 1 ? QStringLiteral("mono")
                                  : QStringLiteral("%1 channels").arg(format.channels));
}

// The device of the direction, or the reason there is none that takes the format.
bool FindDevice(const QAudioDevice& device, const QAudioFormat& audio, const WaveFormat& format,
                const QString& what, SoundError& error)
{
    if (device.isNull()) {
        error = {NoDevice, QStringLiteral("No sound %1 device was found.").arg(what)};
        return false;
    }
    if (!device.isFormatSupported(audio)) {
        error = {FormatRefused, QStringLiteral("The sound %1 device \"%2\" does not take %3.")
                                    .arg(what, device.description(), FormatText(format))};
        return false;
    }
    return true;
}

} // namespace

DesktopSoundDevice::DesktopSoundDevice() = default;

DesktopSoundDevice::~DesktopSoundDevice()
{
    // Sources and sinks stop before they go, so that no signal reaches a device half destroyed.
    StopRecording();
    StopPlaying();
}

bool DesktopSoundDevice::StartRecording(const WaveFormat& format, SampleSink sink, SoundError& error)
{
    StopRecording();
    failure_ = {};
    const QAudioFormat audio = AudioFormat(format);
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (!FindDevice(device, audio, format, QStringLiteral("input"), error))
        return false;
    source_ = std::make_unique<QAudioSource>(device, audio);
    input_ = source_->start();
    // Without a sound server the source fails at once and never says so by a signal.
    if (!input_ || IsFailure(source_->error())) {
        error = {
            OpenFailed,
            QStringLiteral("The sound input device \"%1\" could not be opened.").arg(device.description())};
        source_->stop();
        source_.reset();
        input_ = nullptr;
        return false;
    }
    sink_ = std::move(sink);
    channels_ = format.channels;
    pending_.clear();
    QObject::connect(input_, &QIODevice::readyRead, input_, [this] { TakeInput(); });
    return true;
}

void DesktopSoundDevice::TakeInput()
{
    if (!input_)
        return;
    pending_ += input_->readAll();
    const qsizetype frameBytes = qsizetype(sizeof(qint16)) * channels_;
    const qsizetype frames = pending_.size() / frameBytes;
    if (frames == 0)
        return;
    std::vector<qint16> samples(std::size_t(frames) * std::size_t(channels_));
    std::memcpy(samples.data(), pending_.constData(), std::size_t(frames * frameBytes));
    pending_.remove(0, frames * frameBytes);
    if (sink_)
        sink_(samples.data(), frames);
}

void DesktopSoundDevice::StopRecording()
{
    if (!source_)
        return;
    TakeInput();
    NoteFailures();
    source_->stop();
    source_.reset();
    input_ = nullptr;
    sink_ = {};
    pending_.clear();
}

bool DesktopSoundDevice::StartPlaying(const WaveFormat& format, std::vector<qint16> samples,
                                      SoundError& error)
{
    StopPlaying();
    failure_ = {};
    const QAudioFormat audio = AudioFormat(format);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!FindDevice(device, audio, format, QStringLiteral("output"), error))
        return false;
    playing_.setData(reinterpret_cast<const char*>(samples.data()),
                     qsizetype(samples.size() * sizeof(qint16)));
    playing_.open(QIODevice::ReadOnly);
    output_ = std::make_unique<QAudioSink>(device, audio);
    output_->start(&playing_);
    if (IsFailure(output_->error())) {
        error = {
            OpenFailed,
            QStringLiteral("The sound output device \"%1\" could not be opened.").arg(device.description())};
        StopPlaying();
        return false;
    }
    return true;
}

bool DesktopSoundDevice::IsPlaying()
{
    NoteFailures();
    if (!output_ || failure_)
        return false;
    // The sink falls idle once it has taken the last sample.
    return output_->state() == QAudio::ActiveState ||
           (output_->state() == QAudio::IdleState && playing_.bytesAvailable() > 0);
}

void DesktopSoundDevice::StopPlaying()
{
    if (output_) {
        output_->stop();
        output_.reset();
    }
    playing_.close();
    playing_.setData(QByteArray());
}

void DesktopSoundDevice::NoteFailures()
{
    if (failure_)
        return;
    if (source_ && IsFailure(source_->error()))
        failure_ = {Failed, QStringLiteral("The sound input device failed while recording.")};
    else if (output_ && IsFailure(output_->error()))
        failure_ = {Failed, QStringLiteral("The sound output device failed while playing.")};
}

SoundError DesktopSoundDevice::Failure()
{
    NoteFailures();
    return failure_;
}

} // namespace jornix
