#pragma once

#include "platform/sound/SoundDevice.h"

#include "platform/sound/WaveFixtures.h"

#include <vector>

// Stands in for the desktop's sound device in tests: every device made while a FakeSound lives shares its
// settings. A recording hands its frames over when it stops; a playback lasts until the test ends it.
namespace jornix::test {

struct FakeSound
{
    FakeSound()
    {
        SetSoundDeviceFactory([this] { return std::make_unique<Device>(*this); });
    }
    ~FakeSound() { SetSoundDeviceFactory({}); }
    FakeSound(const FakeSound&) = delete;
    FakeSound& operator=(const FakeSound&) = delete;

    // What the devices do.
    bool recordingFails = false;
    bool playingFails = false;
    bool failsWhileRunning = false; // the device fails after it has started
    qint64 framesPerRecording = 1000;
    // What they were asked.
    std::vector<WaveFormat> recorded;
    std::vector<WaveFormat> played;
    std::vector<qint64> playedFrames;
    int stops = 0;
    bool playing = false;

    void EndPlayback() { playing = false; }

    static constexpr int FailureCode = 3;
    static inline const QString FailureText = QStringLiteral("The fake sound device refuses.");

    class Device : public SoundDevice
    {
    public:
        explicit Device(FakeSound& sound) : sound_(sound) {}
        bool StartRecording(const WaveFormat& format, SampleSink sink, SoundError& error) override
        {
            if (sound_.recordingFails) {
                error = {FailureCode, FailureText};
                return false;
            }
            sound_.recorded.push_back(format);
            format_ = format;
            sink_ = std::move(sink);
            return true;
        }
        void StopRecording() override
        {
            if (!sink_)
                return;
            const std::vector<qint16> samples = Ramp(sound_.framesPerRecording, format_.channels, 64);
            sink_(samples.data(), sound_.framesPerRecording);
            sink_ = {};
            ++sound_.stops;
        }
        bool StartPlaying(const WaveFormat& format, std::vector<qint16> samples, SoundError& error) override
        {
            if (sound_.playingFails) {
                error = {FailureCode, FailureText};
                return false;
            }
            sound_.played.push_back(format);
            sound_.playedFrames.push_back(qint64(samples.size()) / format.channels);
            sound_.playing = true;
            return true;
        }
        bool IsPlaying() override { return sound_.playing && !sound_.failsWhileRunning; }
        void StopPlaying() override
        {
            if (sound_.playing)
                ++sound_.stops;
            sound_.playing = false;
        }

        SoundError Failure() override
        {
            return sound_.failsWhileRunning ? SoundError{FailureCode, FailureText} : SoundError{};
        }

    private:
        FakeSound& sound_;
        WaveFormat format_;
        SampleSink sink_;
    };
};

} // namespace jornix::test
