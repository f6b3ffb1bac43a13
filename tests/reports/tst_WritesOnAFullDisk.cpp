#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SavePreservedSettings.h"
#include "core/ShowSettingsNotSaved.h"
#include "documents/TXEdit.h"
#include "journal/VoiceMessage.h"
#include "platform/reportengine/ExportOutput.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/sound/WaveWriter.h"
#include "reports/ImportLayout.h"

#include "FileSizeLimit.h"
#include "platform/framework/MessageRecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <vector>

// Every writer of the program on a disk that fills up while it writes: the user is told which file could not
// be written and why, the old file keeps every byte, and no temporary file is left beside it.
using namespace jornix;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the user was shown, or what the writer answered where the caller shows it.
QByteArray Shown(const test::MessageRecorder& boxes)
{
    QStringList texts;
    for (const MessageBoxRequest& box : boxes.boxes)
        texts << box.caption + QStringLiteral(": ") + box.text;
    return texts.join(QLatin1Char('\n')).toUtf8();
}

using Writer = std::function<QByteArray(const QString& target, const QString& folder)>;

QByteArray SaveSettings(const QString& target, const QString&)
{
    INIMgr.Init(target);
    GLO.DataPath = QStringLiteral("/a/new/data/folder/");
    test::MessageRecorder boxes;
    if (!SavePreservedSettings())
        ShowSettingsNotSaved();
    INIMgr.Init(QString());
    return Shown(boxes);
}

QByteArray SaveDocument(const QString& target, const QString&)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    control.setPlainText(QStringLiteral("A new text that is longer than the limit. ").repeated(20));
    test::MessageRecorder boxes;
    edit.SaveToFile(target, 5);
    return Shown(boxes);
}

QByteArray SaveLayout(const QString& target, const QString&)
{
    ReportLayout layout;
    QString error;
    return WriteLayoutFile(target, layout, error) ? "saved" : error.toUtf8();
}

QByteArray ImportALayout(const QString& target, const QString& folder)
{
    const QString chosen = folder + QStringLiteral("/../jx_9.rpt");
    SetCommonDialogSink([chosen](const CommonDialogRequest&) {
        CommonDialogAnswer answer;
        answer.accepted = true;
        answer.path = chosen;
        return answer;
    });
    test::MessageRecorder boxes({MessageButton::Yes});
    ImportLayout(target);
    SetCommonDialogSink({});
    return Shown(boxes);
}

QByteArray Export(const QString& target, const QString&)
{
    QString error;
    const bool written = WriteSavedFile(
        target,
        [](QIODevice& out) {
            for (int row = 0; row < 100; ++row)
                out.write("a row of the exported report\n");
            return true;
        },
        error);
    return written ? "written" : error.toUtf8();
}

QByteArray RecordVoice(const QString& target, const QString&)
{
    WaveWriter writer;
    SoundError error;
    const std::vector<qint16> samples(4000, 1000);
    if (writer.Create(target, WaveFormat{}, error)) {
        writer.Write(samples.data(), qint64(samples.size()));
        writer.Commit(error);
    }
    test::MessageRecorder boxes;
    if (error)
        ShowVoiceError(error);
    return Shown(boxes);
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestWritesOnAFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void aWriteThatFailsKeepsTheOldFileAndSaysWhy_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QStringList>("told");
        const QByteArray settings = "[Preserved]\nGLO:DataPath=/my/data/\nGLO:DefFont=Arial\n"
                                    "[Main]\nXPos=10\nYPos=20\n";
        QTest::newRow("settings") << Writer(SaveSettings) << "Jornix.ini" << settings << qint64(200)
                                  << QStringList{"Settings Not Saved: The settings could not be saved in \"",
                                                 "Jornix.ini\": File too large."};
        QTest::newRow("document save") << Writer(SaveDocument) << "note.rtf" << QByteArray("{\\rtf1 old}")
                                       << qint64(100)
                                       << QStringList{"The file \"", "note.rtf\" could not be saved: ",
                                                      "File too large"};
        QTest::newRow("layout") << Writer(SaveLayout) << "jx_1.rpt" << QByteArray("old layout") << qint64(64)
                                << QStringList{"The report layout \"", "jx_1.rpt\" cannot be saved: ",
                                               "File too large."};
        QTest::newRow("import") << Writer(ImportALayout) << "jx_1.rpt" << QByteArray("old layout")
                                << qint64(64)
                                << QStringList{"Error: The following error occurred \"\"", "jx_1.rpt\" ",
                                               "cannot be written: File too large\""};
        QTest::newRow("export") << Writer(Export) << "report.txt" << QByteArray("old report") << qint64(64)
                                << QStringList{"\"", "report.txt\" cannot be written: File too large"};
        QTest::newRow("voice") << Writer(RecordVoice) << "v_1.wav" << QByteArray("old voice") << qint64(64)
                               << QStringList{"Error: The following error occurred \"\"", "v_1.wav\" ",
                                              "cannot be written: File too large\""};
    }

    void aWriteThatFailsKeepsTheOldFileAndSaysWhy()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(qint64, limit);
        QFETCH(QStringList, told);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("folder")));
        const QString folder = root.filePath(QStringLiteral("folder"));
        const QString target = folder + QLatin1Char('/') + name;
        QVERIFY(WriteAll(target, old));
        // The layout that an import picks, outside the folder written to.
        QByteArray layout;
        QString error;
        QVERIFY(SerializeLayout(ReportLayout{}, layout, error));
        QVERIFY(WriteAll(root.filePath(QStringLiteral("jx_9.rpt")), layout));
        const QStringList before = FilesIn(folder);

        const QByteArray answer = RunWithFileSizeLimit(limit, [&] { return writer(target, folder); });
        for (const QString& part : told)
            QVERIFY2(answer.contains(part.toUtf8()), answer.constData());
        QVERIFY2(!answer.contains("restart"), answer.constData());
        QCOMPARE(ReadAll(target), old);
        QCOMPARE(FilesIn(folder), before);

        // Without the limit the same writer replaces the file.
        writer(target, folder);
        QVERIFY(ReadAll(target) != old);
    }
};

QTEST_MAIN(TestWritesOnAFullDisk)

#include "tst_WritesOnAFullDisk.moc"
