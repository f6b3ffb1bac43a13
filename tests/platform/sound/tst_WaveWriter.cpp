#include "platform/sound/DesktopSoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "platform/sound/WaveWriter.h"

#include "platform/sound/WaveFixtures.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>

using namespace jornix;
using namespace jornix::test;

namespace {

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class WaveWriterTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QString Path(const QString& name) const { return folder->filePath(name); }

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void aNewFileHasTheFormatAskedFor_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("coding");
        QTest::newRow("8-bit 11025 Hz") << 8 << 11025 << int(SF_FORMAT_PCM_U8);
        QTest::newRow("16-bit 22050 Hz") << 16 << 22050 << int(SF_FORMAT_PCM_16);
        QTest::newRow("16-bit 44100 Hz") << 16 << 44100 << int(SF_FORMAT_PCM_16);
    }
    void aNewFileHasTheFormatAskedFor()
    {
        QFETCH(int, bits);
        QFETCH(int, rate);
        QFETCH(int, coding);
        QVERIFY(WriteWave(Path("v.wav"), {1, rate, bits}, 777));
        const auto info = ReadWaveInfo(Path("v.wav"));
        QVERIFY(info);
        QCOMPARE(info->format, (WaveFormat{1, rate, bits}));
        QCOMPARE(info->frames, qint64(777));
        QCOMPARE(info->fileFormat, int(SF_FORMAT_WAV) | coding);
        QCOMPARE(Entries(folder->path()), QStringList{"v.wav"});
    }

    void appendingKeepsTheFramesAndTheFilesOwnFormat()
    {
        const WaveFormat stereo{2, 22050, 16};
        QVERIFY(WriteWave(Path("v.wav"), stereo, 300));
        WaveInfo before;
        std::vector<qint16> old;
        SoundError error;
        QVERIFY(ReadWaveSamples(Path("v.wav"), before, old, error));

        WaveWriter writer;
        QVERIFY(writer.Append(Path("v.wav"), error));
        QCOMPARE(writer.Format(), stereo);
        const std::vector<qint16> more = Ramp(120, 2, 7);
        QVERIFY(writer.Write(more.data(), 120));
        QVERIFY(writer.Commit(error));

        WaveInfo after;
        std::vector<qint16> all;
        QVERIFY(ReadWaveSamples(Path("v.wav"), after, all, error));
        QCOMPARE(after.format, stereo);
        QCOMPARE(after.frames, qint64(420));
        QVERIFY(std::equal(old.begin(), old.end(), all.begin()));
        QVERIFY(std::equal(more.begin(), more.end(), all.begin() + qsizetype(old.size())));
    }

    void anUncommittedFileLeavesTheOldOneAndNoTemporaryFile_data()
    {
        QTest::addColumn<bool>("append");
        QTest::addColumn<bool>("discard"); // or the writer is destroyed
        QTest::newRow("new, discarded") << false << true;
        QTest::newRow("new, destroyed") << false << false;
        QTest::newRow("appended, discarded") << true << true;
        QTest::newRow("appended, destroyed") << true << false;
    }
    void anUncommittedFileLeavesTheOldOneAndNoTemporaryFile()
    {
        QFETCH(bool, append);
        QFETCH(bool, discard);
        QVERIFY(WriteWave(Path("v.wav"), {1, 11025, 8}, 50));
        const QByteArray before = Contents(Path("v.wav"));
        {
            WaveWriter writer;
            SoundError error;
            QVERIFY(append ? writer.Append(Path("v.wav"), error)
                           : writer.Create(Path("v.wav"), {1, 44100, 16}, error));
            const std::vector<qint16> samples = Ramp(500, 1);
            QVERIFY(writer.Write(samples.data(), 500));
            if (discard)
                writer.Discard();
        }
        QCOMPARE(Contents(Path("v.wav")), before);
        QCOMPARE(Entries(folder->path()), QStringList{"v.wav"});
    }

    void aFileThatIsNoSoundIsRefusedWithATextAndKept_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("text") << QByteArray("Dear diary,\nthis is no sound.\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut header") << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
    }
    void aFileThatIsNoSoundIsRefusedWithATextAndKept()
    {
        QFETCH(QByteArray, contents);
        QFile file(Path("v.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();

        SoundError error;
        QVERIFY(!ReadWaveInfo(Path("v.wav"), &error));
        QVERIFY(error.code != 0);
        QVERIFY(!error.text.isEmpty());

        WaveWriter writer;
        error = {};
        QVERIFY(!writer.Append(Path("v.wav"), error));
        QVERIFY(error.code != 0);
        QVERIFY(!writer.IsOpen());
        QCOMPARE(Contents(Path("v.wav")), contents);
        QCOMPARE(Entries(folder->path()), QStringList{"v.wav"});
    }

    void aMissingFolderFailsWithATextForTheUser()
    {
        WaveWriter writer;
        SoundError error;
        QVERIFY(!writer.Create(Path("no such folder/v.wav"), {1, 11025, 8}, error));
        QVERIFY(error.code != 0);
        QVERIFY(!error.text.isEmpty());
    }

    void theDesktopDeviceSaysWhenThereIsNoSoundDevice()
    {
        if (!QMediaDevices::defaultAudioInput().isNull() || !QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("This machine has a sound device.");
        DesktopSoundDevice device;
        SoundError error;
        QVERIFY(!device.StartRecording(
            {1, 11025, 8}, [](const qint16*, qint64) {}, error));
        QCOMPARE(error.text, QStringLiteral("No sound input device was found."));
        error = {};
        QVERIFY(!device.StartPlaying({1, 11025, 8}, Ramp(100, 1), error));
        QCOMPARE(error.text, QStringLiteral("No sound output device was found."));
        QVERIFY(!device.IsPlaying());
    }

    void theDesktopDeviceRecordsAndPlaysWhereThereIsOne()
    {
        if (QMediaDevices::defaultAudioInput().isNull() || QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("This machine has no sound device.");
        DesktopSoundDevice device;
        SoundError error;
        qint64 frames = 0;
        QVERIFY2(device.StartRecording(
                     {1, 22050, 16}, [&](const qint16*, qint64 more) { frames += more; }, error),
                 qPrintable(error.text));
        QTest::qWait(600);
        device.StopRecording();
        QVERIFY(frames > 0);
        QVERIFY2(device.StartPlaying({1, 22050, 16}, Ramp(22050 / 4, 1), error), qPrintable(error.text));
        QVERIFY(device.IsPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!device.IsPlaying(), 5000);
        // Stopped while it plays.
        QVERIFY(device.StartPlaying({1, 22050, 16}, Ramp(22050 * 5, 1), error));
        QTest::qWait(200);
        QVERIFY(device.IsPlaying());
        device.StopPlaying();
        QVERIFY(!device.IsPlaying());
    }
};

QTEST_MAIN(WaveWriterTest)
#include "tst_WaveWriter.moc"
