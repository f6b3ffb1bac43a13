#include "journal/VoiceMessage.h"
#include "platform/runtime/FileFolders.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "platform/sound/WaveFile.h"
#include "platform/store/Table.h"

#include "core/WindowTest.h"
#include "journal/EventForm.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"
#include "platform/sound/FakeSoundDevice.h"
#include "platform/sound/WaveFixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::Contents;
using jornix::test::WriteWave;

namespace {

constexpr qint32 EventNumber = 7;

// A small form of one log event with its voice message, as the event editor has it.
class VoiceForm : public test::EventForm
{
public:
    VoiceMessage voice;

    VoiceForm()
        : EventForm(QStringLiteral("VoiceForm"), QStringLiteral("Voice Form")),
          voice(
              *this, QStringLiteral("l_"), [this] { return Field(QStringLiteral("LOG:LogNum")).toInt(); },
              CurrentUserAccess[AccessArea::LogEvents])
    {
        DescribeEventForm([&] { voice.Describe(); });
    }
};

VoiceForm* Form()
{
    return static_cast<VoiceForm*>(FindWindow(QStringLiteral("VoiceForm")));
}

// Opens the form on a thread of its own, as a list does: for a change of the event, or for a new event that
// the list has numbered and added.
VoiceForm* OpenForm(int request = Request::Change)
{
    test::StartEventForm<VoiceForm>(request, EventNumber);
    return Form();
}

// The file dialog's answer when the user picks the file.
CommonDialogAnswer Chosen(const QString& path)
{
    CommonDialogAnswer answer;
    answer.accepted = true;
    answer.path = path;
    return answer;
}

// The voice buttons that are enabled, by their names without "VoiceMessage".
QString EnabledButtons(VoiceForm& form)
{
    const VoiceButtons& b = form.voice.Buttons();
    QStringList enabled;
    const std::pair<int, const char*> buttons[] = {{b.play, "Play"},           {b.record, "Record"},
                                                   {b.stop, "Stop"},           {b.importButton, "Import"},
                                                   {b.exportButton, "Export"}, {b.remove, "Delete"}};
    for (const auto& [button, name] : buttons)
        if (form.window.IsEnabled(button))
            enabled << QString::fromLatin1(name);
    return enabled.join(QLatin1Char(' '));
}

} // namespace

class VoiceMessageTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::FormFolder> folder;
    QTemporaryDir elsewhere;
    std::unique_ptr<test::FakeSound> sound;
    std::unique_ptr<test::MessageRecorder> boxes;

    QString VoiceFile() const { return folder->FilePath(QStringLiteral("l_7.wav")); }

    // Every file of the data folder but the record files.
    QStringList OtherFiles() const
    {
        QStringList files;
        for (const QString& name : QDir(folder->Path()).entryList(QDir::Files | QDir::Hidden))
            if (!name.endsWith(QLatin1String(".tps")) && !name.endsWith(QLatin1String("-journal")))
                files << name;
        return files;
    }

    void Record(VoiceForm& form, qint64 frames = 1000)
    {
        sound->framesPerRecording = frames;
        Press(form, form.voice.Buttons().record);
        QVERIFY(form.voice.VoiceRecording());
        Press(form, form.voice.Buttons().stop);
        QVERIFY(!form.voice.VoiceRecording());
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::FormFolder>();
        DataPathText = folder->Path();
        // A data folder chosen in Program Setup since the start is not the one in use.
        GLO.DataPath = elsewhere.path() + QLatin1Char('/');
        QVERIFY(folder->Hold({RelationsLOG}));
        test::AddEvent(EventNumber);
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        QFile::remove(VoiceFile());
        CurrentUserAccess[AccessArea::LogEvents] = 2;
        GLO.VoiceMessageBitsPerSample = 8;
        GLO.VoiceMessageSamplesPerSec = 11025;
        sound = std::make_unique<test::FakeSound>();
        boxes = std::make_unique<test::MessageRecorder>();
    }
    void cleanup()
    {
        if (VoiceForm* form = Form()) {
            form->CANCELACTION = 0;
            Press(*form, form->cancelButton);
        }
        QVERIFY(!Form());
        boxes.reset();
        sound.reset();
    }

    void recordAndStopWriteTheVoiceFileInTheDataFolder_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("rate");
        QTest::newRow("8-bit 11025 Hz") << 8 << 11025;
        QTest::newRow("16-bit 44100 Hz") << 16 << 44100;
    }
    void recordAndStopWriteTheVoiceFileInTheDataFolder()
    {
        QFETCH(int, bits);
        QFETCH(int, rate);
        GLO.VoiceMessageBitsPerSample = quint8(bits);
        GLO.VoiceMessageSamplesPerSec = rate;
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->voice.VoiceFileName(), VoiceFile());
        Record(*form, 1234);
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(sound->recorded.size(), std::size_t(1));
        QCOMPARE(sound->recorded[0], (WaveFormat{1, rate, bits}));
        const auto info = ReadWaveInfo(VoiceFile());
        QVERIFY(info);
        QCOMPARE(info->format, (WaveFormat{1, rate, bits}));
        QCOMPARE(info->frames, qint64(1234));
        QCOMPARE(OtherFiles(), QStringList{"l_7.wav"});
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

    void recordOverAVoiceMessageAsksReplaceAppendOrCancel_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<WaveFormat>("format");
        // The old message is 8-bit at 11025 Hz; the settings ask for 16-bit at 22050 Hz now.
        QTest::newRow("Replace: a new recording of the settings")
            << 1 << qint64(300) << WaveFormat{1, 22050, 16};
        QTest::newRow("Append: the old frames and the new ones, in the file's own format")
            << 2 << qint64(1300) << WaveFormat{1, 11025, 8};
        QTest::newRow("Cancel: nothing changes") << 3 << qint64(1000) << WaveFormat{1, 11025, 8};
    }
    void recordOverAVoiceMessageAsksReplaceAppendOrCancel()
    {
        QFETCH(int, answer);
        QFETCH(qint64, frames);
        QFETCH(WaveFormat, format);
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        Record(*form, 1000);
        GLO.VoiceMessageBitsPerSample = 16;
        GLO.VoiceMessageSamplesPerSec = 22050;
        sound->framesPerRecording = 300;
        boxes->answers = {answer};
        Press(*form, form->voice.Buttons().record);
        QCOMPARE(boxes->boxes.size(), 1);
        const MessageBoxRequest& box = boxes->boxes[0];
        QCOMPARE(box.caption, QStringLiteral("Replace or Append Voice Message"));
        QCOMPARE(
            box.text,
            QStringLiteral("The voice message exists. Do you want to replace or append the voice message?"));
        QCOMPARE(box.customButtons, (QStringList{"&Replace", "&Append", "&Cancel"}));
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.defaultButton, 2);
        QCOMPARE(form->voice.VoiceRecording(), answer != 3);
        Press(*form, form->voice.Buttons().stop);
        const auto info = ReadWaveInfo(VoiceFile());
        QVERIFY(info);
        QCOMPARE(info->frames, frames);
        QCOMPARE(info->format, format);
        QCOMPARE(OtherFiles(), QStringList{"l_7.wav"});
    }

    void endingTheFormWhileRecordingKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("existing");
        for (const char* how : {"OK", "Cancel", "close box"}) {
            QTest::newRow(QByteArray(how) + ", new message") << QString::fromLatin1(how) << false;
            QTest::newRow(QByteArray(how) + ", appended") << QString::fromLatin1(how) << true;
        }
    }
    void endingTheFormWhileRecordingKeepsTheOldFile()
    {
        QFETCH(QString, how);
        QFETCH(bool, existing);
        if (existing)
            QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        const QByteArray before = Contents(VoiceFile());
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        Press(*form, form->voice.Buttons().record); // Append, the default, when there is a message
        QVERIFY(form->voice.VoiceRecording());
        if (how == "OK")
            Press(*form, form->okButton);
        else if (how == "Cancel")
            Press(*form, form->cancelButton);
        else
            form->window.Root()->close();
        WaitIdle();
        QVERIFY(!Form());
        QCOMPARE(Contents(VoiceFile()), before);
        QCOMPARE(OtherFiles(), existing ? QStringList{"l_7.wav"} : QStringList{});
        QVERIFY(!sound->playing);
    }

    void aNewEventThatIsCancelledLosesItsVoiceMessage()
    {
        VoiceForm* form = OpenForm(Request::Insert);
        QVERIFY(form);
        const QString voiceFile = form->voice.VoiceFileName();
        QVERIFY(voiceFile != VoiceFile());
        Record(*form);
        QVERIFY(QFileInfo::exists(voiceFile));
        Press(*form, form->cancelButton);
        QVERIFY(!Form());
        QVERIFY(!QFileInfo::exists(voiceFile));
    }

    void aPressPostedToADisabledButtonDoesNothing()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 1;
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        PostEvent(Event::Accepted, form->voice.Buttons().record, form->Thread());
        WaitIdle();
        QVERIFY(!form->voice.VoiceRecording());
        QVERIFY(sound->recorded.empty());
    }

    void theButtonsFollowAccessFileAndState_data()
    {
        QTest::addColumn<int>("access");
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("full, no file, idle") << 2 << false << "idle"
                                             << "Record Import";
        QTest::newRow("full, file, idle") << 2 << true << "idle"
                                          << "Play Record Import Export Delete";
        QTest::newRow("full, no file, recording") << 2 << false << "recording"
                                                  << "Stop";
        QTest::newRow("full, file, recording") << 2 << true << "recording"
                                               << "Stop";
        QTest::newRow("full, file, playing") << 2 << true << "playing"
                                             << "Stop";
        QTest::newRow("view, no file, idle") << 1 << false << "idle"
                                             << "";
        QTest::newRow("view, file, idle") << 1 << true << "idle"
                                          << "Play Export";
        QTest::newRow("view, file, playing") << 1 << true << "playing"
                                             << "Stop";
    }
    void theButtonsFollowAccessFileAndState()
    {
        QFETCH(int, access);
        QFETCH(bool, file);
        QFETCH(QString, state);
        QFETCH(QString, enabled);
        CurrentUserAccess[AccessArea::LogEvents] = quint8(access);
        if (file)
            QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        if (state == "recording")
            Press(*form, form->voice.Buttons().record);
        else if (state == "playing")
            Press(*form, form->voice.Buttons().play);
        QCOMPARE(EnabledButtons(*form), enabled);
        if (access == 2 && file && state == "idle")
            test::SavePicture(form->window.Root(), QStringLiteral("VoiceForm"));
    }

    void playbackEndsByItselfWhenTheSoundHasPlayed()
    {
        QVERIFY(WriteWave(VoiceFile(), {1, 22050, 16}, 800));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        Press(*form, form->voice.Buttons().play);
        QVERIFY(form->voice.VoicePlaying());
        QCOMPARE(sound->played, std::vector<WaveFormat>{WaveFormat({1, 22050, 16})});
        QCOMPARE(sound->playedFrames, std::vector<qint64>{800});
        QCOMPARE(form->TimerInterval(), 100);
        PostEvent(Event::Timer, 0, form->Thread());
        WaitIdle();
        QVERIFY(form->voice.VoicePlaying());
        sound->EndPlayback();
        PostEvent(Event::Timer, 0, form->Thread());
        WaitIdle();
        QVERIFY(!form->voice.VoicePlaying());
        QCOMPARE(form->TimerInterval(), 0);
        QCOMPARE(EnabledButtons(*form), QStringLiteral("Play Record Import Export Delete"));
    }

    void aDeviceThatFailsIsShownAndTheFormStaysIdle_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("recording") << true;
        QTest::newRow("playing") << false;
    }
    void aDeviceThatFailsIsShownAndTheFormStaysIdle()
    {
        QFETCH(bool, recording);
        sound->recordingFails = sound->playingFails = true;
        if (!recording)
            QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        const QByteArray before = Contents(VoiceFile());
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        const QString idle = EnabledButtons(*form);
        Press(*form, recording ? form->voice.Buttons().record : form->voice.Buttons().play);
        QCOMPARE(boxes->Captions(), QStringList{"Error"});
        QCOMPARE(boxes->boxes[0].text, QStringLiteral("The following error occurred \"") +
                                           test::FakeSound::FailureText + QStringLiteral("\" (3)"));
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(!form->voice.VoiceRecording() && !form->voice.VoicePlaying());
        QCOMPARE(EnabledButtons(*form), idle);
        QCOMPARE(form->TimerInterval(), 0);
        QCOMPARE(Contents(VoiceFile()), before);
        QCOMPARE(OtherFiles(), recording ? QStringList{} : QStringList{"l_7.wav"});
    }

    void aDeviceThatFailsWhileItRunsIsShown_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("recording: what was recorded is kept") << true;
        QTest::newRow("playing: the playback ends") << false;
    }
    void aDeviceThatFailsWhileItRunsIsShown()
    {
        QFETCH(bool, recording);
        if (!recording)
            QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        Press(*form, recording ? form->voice.Buttons().record : form->voice.Buttons().play);
        sound->failsWhileRunning = true;
        if (recording)
            Press(*form, form->voice.Buttons().stop);
        else
            PostEvent(Event::Timer, 0, form->Thread());
        WaitIdle();
        QCOMPARE(boxes->Captions(), QStringList{"Error"});
        QVERIFY(boxes->boxes[0].text.contains(test::FakeSound::FailureText));
        QVERIFY(!form->voice.VoiceRecording() && !form->voice.VoicePlaying());
        QCOMPARE(form->TimerInterval(), 0);
        const auto info = ReadWaveInfo(VoiceFile());
        QVERIFY(info);
        QCOMPARE(info->frames, recording ? sound->framesPerRecording : 500);
        QCOMPARE(EnabledButtons(*form), QStringLiteral("Play Record Import Export Delete"));
    }

    void importCopiesAWaveFileOverTheVoiceMessage()
    {
        QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        const QString chosen = elsewhere.filePath(QStringLiteral("hello.WAV"));
        QVERIFY(WriteWave(chosen, {2, 44100, 16}, 321));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        DialogScript dialogs({Chosen(chosen)});
        boxes->answers = {MessageButton::Yes};
        Press(*form, form->voice.Buttons().importButton);
        QCOMPARE(boxes->Captions(), QStringList{"Replace Voice Message"});
        QCOMPARE(boxes->boxes[0].text, QStringLiteral("Do you want to replace the existing Voice Message?"));
        QCOMPARE(boxes->boxes[0].defaultButton, int(MessageButton::No));
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::OpenFile);
        QCOMPARE(dialogs.asked[0].title, QStringLiteral("Select Wave File"));
        QCOMPARE(dialogs.asked[0].filters, QStringLiteral("Wave File (*.wav)|*.wav|All Files (*.*)|*.*"));
        QCOMPARE(Contents(VoiceFile()), Contents(chosen));
        QCOMPARE(OtherFiles(), QStringList{"l_7.wav"});
    }

    void anImportThatCannotBeUsedChangesNothing_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("error");
        QTest::newRow("the voice message itself") << "l_7.wav"
                                                  << "A file cannot be copied onto itself.";
        QTest::newRow("a text file") << "notes.wav"
                                     << "";
        QTest::newRow("a file that is gone") << "gone.wav"
                                             << "";
    }
    void anImportThatCannotBeUsedChangesNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, error);
        QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        QFile text(folder->FilePath(QStringLiteral("notes.wav")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Dear diary,\n");
        text.close();
        const QByteArray before = Contents(VoiceFile());
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        DialogScript dialogs({Chosen(folder->FilePath(chosen))});
        boxes->answers = {MessageButton::Yes};
        Press(*form, form->voice.Buttons().importButton);
        QCOMPARE(boxes->Captions(), (QStringList{"Replace Voice Message", "Error"}));
        QVERIFY2(boxes->boxes[1].text.startsWith(QStringLiteral("The following error occurred \"") + error),
                 qPrintable(boxes->boxes[1].text));
        QCOMPARE(Contents(VoiceFile()), before);
        QCOMPARE(OtherFiles(), (QStringList{"l_7.wav", "notes.wav"}));
        QFile::remove(folder->FilePath(QStringLiteral("notes.wav")));
    }

    void exportCopiesTheVoiceMessageButNeverOntoItself_data()
    {
        QTest::addColumn<bool>("ontoItself");
        QTest::newRow("to another file") << false;
        QTest::newRow("onto itself") << true;
    }
    void exportCopiesTheVoiceMessageButNeverOntoItself()
    {
        QFETCH(bool, ontoItself);
        QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        const QByteArray before = Contents(VoiceFile());
        const QString target = ontoItself ? VoiceFile() : elsewhere.filePath(QStringLiteral("copy.wav"));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        DialogScript dialogs({Chosen(target)});
        // It starts in the user's music folder, or where the user last chose a voice file.
        const QString start = FileFolders::StartFolder(FileKind::Music);
        Press(*form, form->voice.Buttons().exportButton);
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::SaveFile);
        QCOMPARE(dialogs.asked[0].title, QStringLiteral("Select Wave File"));
        QCOMPARE(dialogs.asked[0].path, start);
        QCOMPARE(boxes->Captions(), ontoItself ? QStringList{"Error"} : QStringList{});
        QCOMPARE(Contents(VoiceFile()), before);
        QCOMPARE(Contents(target), before);
        QFile::remove(elsewhere.filePath(QStringLiteral("copy.wav")));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("No keeps the message") << int(MessageButton::No) << true;
        QTest::newRow("Yes removes it") << int(MessageButton::Yes) << false;
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, kept);
        QVERIFY(WriteWave(VoiceFile(), {1, 11025, 8}, 500));
        VoiceForm* form = OpenForm();
        QVERIFY(form);
        boxes->answers = {answer};
        Press(*form, form->voice.Buttons().remove);
        QCOMPARE(boxes->Captions(), QStringList{"Delete Voice Message"});
        QCOMPARE(boxes->boxes[0].text, QStringLiteral("Are you sure you want to remove the voice message?"));
        QCOMPARE(boxes->boxes[0].defaultButton, int(MessageButton::No));
        QCOMPARE(QFileInfo::exists(VoiceFile()), kept);
        QCOMPARE(EnabledButtons(*form),
                 kept ? QStringLiteral("Play Record Import Export Delete") : QStringLiteral("Record Import"));
    }
};

QTEST_MAIN(VoiceMessageTest)
#include "tst_VoiceMessage.moc"
