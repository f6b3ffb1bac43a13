#include "core/CheckSingleInstance.h"
#include "core/PreservedSettings.h"
#include "core/ProgramStart.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;

// Every start runs as program thread 1 would, over a program folder of its own. The windows whose turn has
// not come yet ask whether to go on without them; the scripted answers decide where the start ends.
class ProgramStartTest : public QObject
{
    Q_OBJECT

    QStringList asked;

    int start(const QString& folder, const QStringList& answersNo,
              const QString& instance = "JornixTestStart")
    {
        asked.clear();
        SetMessageBoxSink([this, answersNo](const MessageBoxRequest& request) {
            asked << request.text;
            for (const QString& no : answersNo)
                if (request.text.startsWith(no))
                    return int(MessageButton::No);
            return request.defaultButton;
        });
        GLO = PreservedSettings();
        int code = -1;
        StartProcedureThread([&] { code = ProgramStart({folder, instance}); });
        if (!WaitForProgramThreads(10000))
            qFatal("the start did not end");
        ReleaseInstanceMutex();
        SetMessageBoxSink({});
        return code;
    }

    static QString read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The entries of a settings file, as "section/key=value", blank lines left out.
    static QStringList entries(const QString& path)
    {
        QStringList result;
        QString section;
        for (QString line : read(path).split('\n')) {
            line = line.trimmed();
            if (line.startsWith('['))
                section = line.mid(1, line.size() - 2);
            else if (!line.isEmpty())
                result << section + "/" + line.remove(' ');
        }
        return result;
    }

private slots:
    void endingAtTheFirstRunSetupWritesOnlyTheDataFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QCOMPARE(start(folder, {"The first-run setup"}), 0);
        QCOMPARE(entries(folder + "Jornix.ini"),
                 QStringList({"Preserved/GLO:DataPath=" + folder + "Data/", "__Dont_Touch_Me__/Sectors=0"}));
        QVERIFY(QFileInfo(folder + "Data").isDir());
        QVERIFY(!asked.filter("sign-in").size());
    }

    void endingAtSignInKeepsTheSettingsFileAsItWas()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QDir().mkpath(folder + "Data");
        QFile(folder + "Data/Jornix.tps").open(QIODevice::WriteOnly);
        QFile ini(folder + "Jornix.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Preserved]\nGLO:DataPath=" + (folder + "Data/").toUtf8() +
                  "\nGLO:StartupView=3\n\n[Other]\nKeep=me\n");
        ini.close();
        const QStringList before = entries(folder + "Jornix.ini");

        QCOMPARE(start(folder, {"The sign-in"}), 0);
        QVERIFY(!asked.filter("first-run").size()); // the record file is there: no first-run setup
        QCOMPARE(entries(folder + "Jornix.ini"), before + QStringList("__Dont_Touch_Me__/Sectors=0"));
    }

    void aLongProgramFolderKeepsItsFilesInThatFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/" + QString(110, 'p') + "/";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(folder.size() > 100);
        QCOMPARE(start(folder, {"The first-run setup"}), 0);
        QVERIFY(QFileInfo::exists(folder + "Jornix.ini"));
        QVERIFY(QFileInfo(folder + "Data").isDir());
        QVERIFY(read(folder + "Jornix.ini").contains("GLO:DataPath=" + folder + "Data/"));
    }

    void aFolderThatCannotBeWrittenIsRefusedWithAMessage()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/missing/";
        QCOMPARE(start(folder, {}), 0);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().startsWith("Jornix cannot write to its program folder " + folder));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void aSecondCopyIsToldThatJornixIsAlreadyRunning()
    {
        QProcess first;
        first.start(JORNIX_INSTANCE_HELPER, {"JornixTestSecondCopy"});
        QVERIFY(first.waitForReadyRead(5000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("first"));

        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QCOMPARE(start(folder, {}, "JornixTestSecondCopy"), 0);
        QCOMPARE(asked, QStringList("Jornix is already running."));
        QCOMPARE(entries(folder + "Jornix.ini"), QStringList("__Dont_Touch_Me__/Sectors=0"));

        // Once the first copy is killed outright, a new start works.
        first.kill();
        first.waitForFinished();
        QCOMPARE(start(folder, {"The first-run setup"}, "JornixTestSecondCopy"), 0);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().startsWith("The first-run setup"));
    }

    void cleanupTestCase() { EndProgramThreads(); }
};

QTEST_MAIN(ProgramStartTest)
#include "tst_ProgramStart.moc"
