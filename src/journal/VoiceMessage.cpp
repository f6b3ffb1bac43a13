#include "journal/VoiceMessage.h"

#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/SafeFileWriter.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace jornix {
namespace {

const QString WaveFileTitle = QStringLiteral("Select Wave File");
const QString WaveFileFilter = QStringLiteral("Wave File (*.wav)|*.wav|All Files (*.*)|*.*");

SoundError FileError(const QFileDevice& file)
{
    return {int(file.error()) ? int(file.error()) : int(QFileDevice::UnspecifiedError), file.errorString()};
}

// Copies a file through a temporary file beside the target that replaces it in one step, so that a copy that
// fails leaves the target as it was. A file is never copied onto itself.
bool CopyReplacing(const QString& from, const QString& to, SoundError& error)
{
    std::error_code ignored;
    if (std::filesystem::equivalent(QFile::encodeName(from).toStdString(),
                                    QFile::encodeName(to).toStdString(), ignored)) {
        error = {int(QFileDevice::CopyError), QStringLiteral("A file cannot be copied onto itself.")};
        return false;
    }
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        error = FileError(source);
        return false;
    }
    SafeFileWriter target(to);
    const auto failed = [&] {
        error = {int(QFileDevice::WriteError),
                 QStringLiteral("\"%1\" cannot be written: %2").arg(to, target.Error())};
        return false;
    };
    if (!target.Open())
        return failed();
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 16);
        if (block.isEmpty() && source.error() != QFileDevice::NoError) {
            error = FileError(source);
            return false;
        }
        if (!target.Write(block))
            return failed();
    }
    if (!target.Commit())
        return failed();
    return true;
}

} // namespace

void ShowVoiceError(const SoundError& error)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Error"),
                   QStringLiteral("The following error occurred \"") + error.text + QStringLiteral("\" (") +
                       QString::number(error.code) + QStringLiteral(")"));
}

VoiceMessage::VoiceMessage(WindowController& form, const QString& prefix,
                           std::function<qint32()> recordNumber, const quint8& accessLevel)
    : form_(form), prefix_(prefix), recordNumber_(std::move(recordNumber)), accessLevel_(accessLevel)
{
    form_.AddComponent(*this);
}

VoiceMessage::~VoiceMessage()
{
    CloseVoiceDevice();
}

void VoiceMessage::Describe()
{
    WindowDescription& window = form_.window;
    buttons_.group = window.Group(QStringLiteral("&Voice Message"), [&] {
        window.Row([&] {
            buttons_.play = window.Button({}, QStringLiteral("play.gif"))
                                .Tip(QStringLiteral("Play"))
                                .Name(QStringLiteral("PlayVoiceMessage"));
            buttons_.record = window.Button({}, QStringLiteral("record.gif"))
                                  .Tip(QStringLiteral("Record"))
                                  .Name(QStringLiteral("RecordVoiceMessage"));
            buttons_.stop = window.Button({}, QStringLiteral("stop.gif"))
                                .Tip(QStringLiteral("Stop"))
                                .Name(QStringLiteral("StopVoiceMessage"));
            buttons_.importButton =
                window.Button(QStringLiteral("Import...")).Name(QStringLiteral("ImportVoiceMessage"));
            buttons_.exportButton =
                window.Button(QStringLiteral("Export...")).Name(QStringLiteral("ExportVoiceMessage"));
            buttons_.remove =
                window.Button(QStringLiteral("Delete")).Name(QStringLiteral("DeleteVoiceMessage"));
        });
    });
}

SoundDevice& VoiceMessage::Device()
{
    if (!device_)
        device_ = MakeSoundDevice();
    return *device_;
}

int VoiceMessage::TakeEvent(const FrameworkEvent& event)
{
    if (event.control == 0) {
        switch (event.event) {
        case Event::OpenWindow:
            SetVoiceButtons();
            break;
        case Event::Timer:
            if (playing_)
                PollVoicePlayback();
            break;
        case Event::CloseWindow:
            // The form closes, or asks whether to: a recording that runs is not saved.
            if (recording_ || playing_) {
                form_.SetTimer(0);
                CloseVoiceDevice();
                SetVoiceButtons();
            }
            break;
        case Event::Completed:
            if (recording_ || playing_) {
                CloseVoiceDevice();
                SetVoiceButtons();
            }
            break;
        default:
            break;
        }
        return Level::GoOn;
    }
    if (event.event != Event::Accepted || buttons_.group == 0)
        return Level::GoOn;
    const std::pair<int, void (VoiceMessage::*)()> routines[] = {
        {buttons_.play, &VoiceMessage::PlayVoiceMessage},
        {buttons_.record, &VoiceMessage::RecordVoiceMessage},
        {buttons_.stop, &VoiceMessage::StopVoiceMessage},
        {buttons_.importButton, &VoiceMessage::ImportVoiceMessage},
        {buttons_.exportButton, &VoiceMessage::ExportVoiceMessage},
        {buttons_.remove, &VoiceMessage::DeleteVoiceMessage}};
    for (const auto& [button, routine] : routines) {
        if (button == event.control) {
            // A button that is disabled does nothing, also when a press is posted to it.
            if (!form_.window.IsEnabled(button))
                return Level::Handled;
            form_.Update();
            (this->*routine)();
            return Level::Handled;
        }
    }
    return Level::GoOn;
}

void VoiceMessage::Kill()
{
    CloseVoiceDevice();
}

bool VoiceMessage::OpenNewRecording(SoundError& error)
{
    const WaveFormat format{1, GLO.VoiceMessageSamplesPerSec, GLO.VoiceMessageBitsPerSample};
    return recordingFile_.Create(fileName_, format, error);
}

bool VoiceMessage::StartRecording(SoundError& error)
{
    return Device().StartRecording(
        recordingFile_.Format(),
        [this](const qint16* samples, qint64 frames) { recordingFile_.Write(samples, frames); }, error);
}

void VoiceMessage::RecordVoiceMessage()
{
    if (recording_ || playing_)
        return;
    SoundError error;
    bool opened = false;
    if (QFileInfo::exists(fileName_)) {
        enum
        {
            Replace = 1,
            Append = 2,
            Cancel = 3
        };
        const int answer = ShowMessageBox(
            QStringLiteral("&Replace|&Append|&Cancel"), MessageIcon::Question,
            QStringLiteral("Replace or Append Voice Message"),
            QStringLiteral("The voice message exists. Do you want to replace or append the voice message?"),
            Append);
        if (answer == Replace)
            opened = OpenNewRecording(error);
        else if (answer == Append)
            opened = recordingFile_.Append(fileName_, error);
        else
            return;
    } else {
        opened = OpenNewRecording(error);
    }
    if (!opened || !StartRecording(error)) {
        recordingFile_.Discard();
        ShowVoiceError(error);
        return;
    }
    recording_ = true;
    SetVoiceButtons();
}

void VoiceMessage::StopVoiceMessage()
{
    if (recording_) {
        Device().StopRecording();
        recording_ = false;
        // What was recorded before a failure of the device is kept, and the failure is told.
        SoundError error = Device().Failure();
        if (!recordingFile_.Commit(error) || error)
            ShowVoiceError(error);
        SetVoiceButtons();
    }
    if (playing_) {
        Device().StopPlaying();
        playing_ = false;
        form_.SetTimer(0);
        SetVoiceButtons();
    }
}

void VoiceMessage::PlayVoiceMessage()
{
    if (recording_ || playing_)
        return;
    WaveInfo info;
    std::vector<qint16> samples;
    SoundError error;
    if (!ReadWaveSamples(fileName_, info, samples, error) ||
        !Device().StartPlaying(info.format, std::move(samples), error)) {
        ShowVoiceError(error);
        return;
    }
    playing_ = true;
    SetVoiceButtons();
    form_.SetTimer(100);
}

void VoiceMessage::PollVoicePlayback()
{
    if (!playing_ || !Device().IsPlaying()) {
        const SoundError failure = Device().Failure();
        form_.SetTimer(0);
        StopVoiceMessage();
        if (failure)
            ShowVoiceError(failure);
    }
}

void VoiceMessage::CloseVoiceDevice()
{
    if (device_) {
        if (recording_)
            device_->StopRecording();
        if (playing_)
            device_->StopPlaying();
    }
    recordingFile_.Discard();
    recording_ = false;
    playing_ = false;
}

void VoiceMessage::ImportVoiceMessage()
{
    if (QFileInfo::exists(fileName_) &&
        ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                       QStringLiteral("Replace Voice Message"),
                       QStringLiteral("Do you want to replace the existing Voice Message?"),
                       MessageButton::No) == MessageButton::No)
        return;
    const QString chosen = AskOpenFileName(WaveFileTitle, WaveFileFilter, {}, FileKind::Music);
    if (chosen.isEmpty())
        return;
    // Only a file that plays becomes the voice message.
    SoundError error;
    if (!ReadWaveInfo(chosen, &error) || !CopyReplacing(chosen, fileName_, error))
        ShowVoiceError(error);
    SetVoiceButtons();
}

void VoiceMessage::ExportVoiceMessage()
{
    const QString chosen = AskSaveFileName(WaveFileTitle, WaveFileFilter, {}, FileKind::Music);
    if (chosen.isEmpty())
        return;
    SoundError error;
    if (!CopyReplacing(fileName_, chosen, error))
        ShowVoiceError(error);
}

void VoiceMessage::DeleteVoiceMessage()
{
    if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                       QStringLiteral("Delete Voice Message"),
                       QStringLiteral("Are you sure you want to remove the voice message?"),
                       MessageButton::No) == MessageButton::No)
        return;
    QFile file(fileName_);
    if (!file.remove())
        ShowVoiceError(FileError(file));
    SetVoiceButtons();
}

void VoiceMessage::SetVoiceButtons()
{
    // The data folder in use since the start; a folder chosen in Program Setup counts from the next start.
    fileName_ = DataPathText + prefix_ + QString::number(recordNumber_()) + QStringLiteral(".wav");
    if (buttons_.group == 0)
        return;
    WindowDescription& window = form_.window;
    const bool exists = QFileInfo(fileName_).isFile();
    const bool busy = recording_ || playing_;
    window.Enable(buttons_.play, exists && !busy);
    window.Enable(buttons_.exportButton, exists && !busy);
    window.Enable(buttons_.remove, exists && FullAccess() && !busy);
    window.Enable(buttons_.stop, busy);
    window.Enable(buttons_.record, FullAccess() && !busy);
    window.Enable(buttons_.importButton, FullAccess() && !busy);
}

} // namespace jornix
