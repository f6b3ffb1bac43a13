#pragma once

#include "platform/framework/WindowController.h"
#include "platform/sound/SoundError.h"
#include "platform/sound/WaveWriter.h"

#include <QString>

#include <functional>
#include <memory>

// The voice message of one record, as the event editor, the reminder form and the task form offer it: a wave
// file in the data folder named after the record ("l_42.wav"), and six buttons to play, record, stop, import,
// export and delete it. Each form owns one, made with its file prefix, the record's number and the user's
// access level for its area, and describes the buttons where they go (Describe). The component then takes the
// form's events itself: the buttons, the first window event, the timer that watches a playback, and the end
// of the form, which stops the device without saving a recording.
//
// A recording goes into a temporary file beside the voice file, which Stop renames over it; until then the
// voice file stays as it was. A sound device that is missing or fails says so and the form stays idle.
namespace jornix {

class SoundDevice;

struct VoiceButtons
{
    int group = 0, play = 0, record = 0, stop = 0, importButton = 0, exportButton = 0, remove = 0;
};

class VoiceMessage : public WindowComponent
{
public:
    VoiceMessage(WindowController& form, const QString& prefix, std::function<qint32()> recordNumber,
                 const quint8& accessLevel);
    ~VoiceMessage() override;

    // The group "&Voice Message" with its buttons, at this place of the form's description.
    void Describe();
    const VoiceButtons& Buttons() const { return buttons_; }

    // The routines behind the buttons and the timer.
    void RecordVoiceMessage();
    void StopVoiceMessage();
    void PlayVoiceMessage();
    void PollVoicePlayback();
    void CloseVoiceDevice(); // stops the device; a recording that runs is not saved
    void ImportVoiceMessage();
    void ExportVoiceMessage();
    void DeleteVoiceMessage();
    void SetVoiceButtons(); // builds the file name afresh and sets the buttons by the state

    bool VoiceRecording() const { return recording_; }
    bool VoicePlaying() const { return playing_; }
    const QString& VoiceFileName() const { return fileName_; }

    int TakeEvent(const FrameworkEvent& event) override;
    void Kill() override;

private:
    bool OpenNewRecording(SoundError& error);
    bool StartRecording(SoundError& error);
    SoundDevice& Device();
    bool FullAccess() const { return accessLevel_ == 2; }

    WindowController& form_;
    const QString prefix_;
    const std::function<qint32()> recordNumber_;
    const quint8& accessLevel_;
    VoiceButtons buttons_;
    QString fileName_;
    bool recording_ = false;
    bool playing_ = false;
    std::unique_ptr<SoundDevice> device_;
    WaveWriter recordingFile_;
};

// The file operations' and the sound device's error message: caption "Error", the error's text and code.
void ShowVoiceError(const SoundError& error);

} // namespace jornix
