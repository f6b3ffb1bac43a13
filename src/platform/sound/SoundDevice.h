#pragma once

#include "platform/sound/SoundError.h"
#include "platform/sound/WaveFormat.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

// The sound device: records from the desktop's default input and plays on its default output. Samples pass
// as interleaved 16-bit values; the file's own sample size is the wave file's business. A device that is
// missing or refuses the format says so at the start, with a text for the user.
namespace jornix {

class SoundDevice
{
public:
    // Takes the recorded samples as they come, on the GUI thread.
    using SampleSink = std::function<void(const qint16* samples, qint64 frames)>;

    virtual ~SoundDevice() = default;

    virtual bool StartRecording(const WaveFormat& format, SampleSink sink, SoundError& error) = 0;
    // Ends the recording; what the device still holds reaches the sink first.
    virtual void StopRecording() = 0;

    virtual bool StartPlaying(const WaveFormat& format, std::vector<qint16> samples, SoundError& error) = 0;
    // True while the sound plays; false once it has ended, was stopped or the device failed.
    virtual bool IsPlaying() = 0;
    virtual void StopPlaying() = 0;

    // How the device failed during the recording or playback that ran last; code 0 when it did not.
    virtual SoundError Failure() = 0;
};

// A device of its own for each caller: the desktop's, or what the factory that tests set makes.
std::unique_ptr<SoundDevice> MakeSoundDevice();

using SoundDeviceFactory = std::function<std::unique_ptr<SoundDevice>()>;
void SetSoundDeviceFactory(SoundDeviceFactory factory); // an empty factory restores the desktop's device

} // namespace jornix
