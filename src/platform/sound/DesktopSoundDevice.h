#pragma once

#include "platform/sound/SoundDevice.h"

#include <QBuffer>
#include <QByteArray>

#include <memory>

class QAudioSink;
class QAudioSource;
class QIODevice;

// The desktop's default sound input and output through Qt Multimedia.
namespace jornix {

class DesktopSoundDevice : public SoundDevice
{
public:
    DesktopSoundDevice();
    ~DesktopSoundDevice() override;

    bool StartRecording(const WaveFormat& format, SampleSink sink, SoundError& error) override;
    void StopRecording() override;
    bool StartPlaying(const WaveFormat& format, std::vector<qint16> samples, SoundError& error) override;
    bool IsPlaying() override;
    void StopPlaying() override;
    SoundError Failure() override;

private:
    void TakeInput();
    void NoteFailures();

    std::unique_ptr<QAudioSource> source_;
    QIODevice* input_ = nullptr;
    SampleSink sink_;
    int channels_ = 1;
    QByteArray pending_; // bytes of a frame not complete yet
    std::unique_ptr<QAudioSink> output_;
    QBuffer playing_;
    SoundError failure_;
};

} // namespace jornix
