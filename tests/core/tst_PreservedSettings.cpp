#include "core/LoadPreservedSettings.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SavePreservedSettings.h"
#include "core/SetDataPaths.h"
#include "documents/DocumentSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace jornix;

// Each test starts the way the program does: a program folder of its own, the settings manager on its
// "Jornix.ini", the kept settings at their defaults.
class PreservedSettingsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temporary_;

    void StartIn(const QString& programFolder)
    {
        QVERIFY(QDir().mkpath(programFolder));
        ProgramFolder = programFolder.endsWith('/') ? programFolder : programFolder + '/';
        IniFileName = ProgramFolder + QStringLiteral("Jornix.ini");
        INIMgr.Init(IniFileName);
        GLO = PreservedSettings{};
    }
    void Given(const QByteArray& text)
    {
        QFile file(IniFileName);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    static QByteArrayList Lines()
    {
        QFile file(IniFileName);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QByteArrayList lines = file.readAll().split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
    // How many lines name the entry, in whatever case.
    static int CountEntry(const QByteArrayList& lines, const QByteArray& entry)
    {
        return int(std::count_if(lines.begin(), lines.end(), [&](const QByteArray& line) {
            return line.toLower().startsWith(entry.toLower() + '=');
        }));
    }
    static QByteArrayList LinesOf(const QByteArray& text)
    {
        QByteArrayList lines = text.split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }

private slots:
    void init()
    {
        temporary_ = std::make_unique<QTemporaryDir>();
        StartIn(temporary_->filePath(QStringLiteral("program")));
    }

    void aFileWithoutPreservedStartsWithEveryDefault()
    {
        Given("[OtherProgram]\nGLO:DefFont=Arial\n");
        LoadPreservedSettings();
        QCOMPARE(GLO, PreservedSettings{});
        QVERIFY(SetDataPaths());
        QCOMPARE(GLO.DataPath, ProgramFolder + "Data/");
        QVERIFY(QFileInfo(GLO.DataPath).isDir());
        QCOMPARE(DataPathText, GLO.DataPath);
        // The document component keeps its tables in the same folder and its placements in Jornix.ini.
        QCOMPARE(DocumentDataFolder(), GLO.DataPath);
        QCOMPARE(DocumentSettings(), &INIMgr);
        // The data folder is written, and nothing else of the kept settings.
        QCOMPARE(Lines(), LinesOf("[OtherProgram]\nGLO:DefFont=Arial\n[Preserved]\nGLO:DataPath=" +
                                  GLO.DataPath.toUtf8() + "\n"));

        // Written out, the defaults are these, in this order, without GLO:DebugSwitch.
        SavePreservedSettings();
        QCOMPARE(Lines(),
                 LinesOf("[OtherProgram]\nGLO:DefFont=Arial\n[Preserved]\n"
                         "GLO:DataPath=" +
                         GLO.DataPath.toUtf8() +
                         "\n"
                         "GLO:DefFont=Times New Roman\nGLO:DefFontSize=12\nGLO:DefFontColor=0\n"
                         "GLO:DefFontStyle=400\nGLO:StartupView=1\nGLO:SelectDayFillColor=8421504\n"
                         "GLO:ReminderDayColor=16711680\nGLO:CurrentDayColor=0\n"
                         "GLO:StickyNoteFGColor=0\nGLO:StickyNoteBGColor=65535\nGLO:DefaultLogType=0\n"
                         "GLO:ShowJornixMenuBar=1\nGLO:JornixMenuBarWidth=100\n"
                         "GLO:JornixMenuBarBGColor=8421504\nGLO:JornixMenuBarTextColor=16777215\n"
                         "GLO:ShowJornixToolBar=1\nGLO:ShowMiniStickyNotes=0\n"
                         "GLO:ShowOverdueReminders=1\nGLO:ShowScrapBook=0\nGLO:AllowLayoutEdit=0\n"
                         "GLO:LLDebug=0\nGLO:VoiceMessageBitsPerSample=8\n"
                         "GLO:VoiceMessageSamplesPerSec=11025\nGLO:TXRulerScaleMode=1\n"
                         "GLO:TXShowControlChars=0\nGLO:TXShowGridLines=1\nGLO:RemeberLastLoginID=1\n"
                         "GLO:LastLoginID=\nGLO:GlobalRefreshTime=0\n"));
    }

    void everyKeptSettingIsReadAndWrittenBack()
    {
        const QByteArray kept =
            "GLO:DefFont=Arial\nGLO:DefFontSize=14\nGLO:DefFontColor=255\n"
            "GLO:DefFontStyle=700\nGLO:StartupView=3\nGLO:SelectDayFillColor=1\n"
            "GLO:ReminderDayColor=2\nGLO:CurrentDayColor=3\nGLO:StickyNoteFGColor=4\n"
            "GLO:StickyNoteBGColor=5\nGLO:DefaultLogType=2\nGLO:ShowJornixMenuBar=0\n"
            "GLO:JornixMenuBarWidth=180\nGLO:JornixMenuBarBGColor=6\n"
            "GLO:JornixMenuBarTextColor=7\nGLO:ShowJornixToolBar=0\nGLO:ShowMiniStickyNotes=1\n"
            "GLO:ShowOverdueReminders=0\nGLO:ShowScrapBook=1\nGLO:DataPath=/srv/journal/\n"
            "GLO:AllowLayoutEdit=1\nGLO:LLDebug=1\nGLO:VoiceMessageBitsPerSample=16\n"
            "GLO:VoiceMessageSamplesPerSec=44100\nGLO:TXRulerScaleMode=2\n"
            "GLO:TXShowControlChars=1\nGLO:TXShowGridLines=0\nGLO:RemeberLastLoginID=1\n"
            "GLO:LastLoginID=alice\nGLO:GlobalRefreshTime=500\n";
        Given("[Preserved]\nGLO:DebugSwitch=1\n" + kept);
        LoadPreservedSettings();
        QCOMPARE(GLO.DebugSwitch, quint8(1));
        QCOMPARE(GLO.DefFont, QStringLiteral("Arial"));
        QCOMPARE(GLO.DataPath, QStringLiteral("/srv/journal/"));

        // Saved into a fresh file, the same values come out.
        QFile::remove(IniFileName);
        SavePreservedSettings();
        QCOMPARE(Lines(), LinesOf("[Preserved]\n" + kept));
    }

    void aNarrowMenuBarIsWidenedAndWrittenToItsOwnEntry_data()
    {
        QTest::addColumn<QByteArray>("width");
        QTest::addColumn<int>("expected");
        QTest::newRow("40 gives 100") << QByteArray("40") << 100;
        QTest::newRow("99 gives 100") << QByteArray("99") << 100;
        QTest::newRow("negative gives 100") << QByteArray("-20") << 100;
        QTest::newRow("100 stays") << QByteArray("100") << 100;
        QTest::newRow("250 stays") << QByteArray("250") << 250;
    }
    void aNarrowMenuBarIsWidenedAndWrittenToItsOwnEntry()
    {
        QFETCH(QByteArray, width);
        QFETCH(int, expected);
        Given("[preserved]\nglo:jornixmenubarwidth=" + width + "\n");
        LoadPreservedSettings();
        QCOMPARE(GLO.JornixMenuBarWidth, expected);

        SavePreservedSettings();
        const QByteArrayList lines = Lines();
        QCOMPARE(lines.first(), QByteArray("[preserved]"));
        QCOMPARE(lines.at(1), "glo:jornixmenubarwidth=" + QByteArray::number(expected));
        QCOMPARE(CountEntry(lines, "GLO:JornixMenuBarWidth"), 1);
    }

    void theLastLoginIdIsKeptOnlyWhileRemembered_data()
    {
        QTest::addColumn<int>("remember");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("remembering off writes a blank") << 0 << QByteArray("GLO:LastLoginID=");
        QTest::newRow("remembering on writes the id") << 1 << QByteArray("GLO:LastLoginID=alice");
    }
    void theLastLoginIdIsKeptOnlyWhileRemembered()
    {
        QFETCH(int, remember);
        QFETCH(QByteArray, written);
        Given("[Preserved]\nGLO:LastLoginID=alice\n");
        LoadPreservedSettings();
        GLO.RemeberLastLoginID = quint8(remember);
        SavePreservedSettings();
        QVERIFY(Lines().contains(written));
        QCOMPARE(GLO.LastLoginID, remember ? QStringLiteral("alice") : QString());
    }

    void aHandSetDebugSwitchStaysUntouched()
    {
        const QByteArray handSet = "glo:debugswitch=1";
        Given("[Preserved]\n" + handSet + "\n");
        LoadPreservedSettings();
        QCOMPARE(GLO.DebugSwitch, quint8(1));
        GLO.DebugSwitch = 0;
        SavePreservedSettings();
        QVERIFY(SetDataPaths());
        INIMgr.Kill();
        const QByteArrayList lines = Lines();
        QCOMPARE(lines.at(1), handSet);
        QCOMPARE(CountEntry(lines, "GLO:DebugSwitch"), 1);
    }

    void anotherProgramsSectionSurvives()
    {
        const QByteArray other = "; written by another program\n[Tessera]\nWindow=3,4\nLast=/home/me\n";
        Given(other + "[Preserved]\nGLO:StartupView=2\n");
        LoadPreservedSettings();
        SavePreservedSettings();
        QVERIFY(INIMgr.Kill());
        QCOMPARE(Lines().mid(0, 4), LinesOf(other));
        QCOMPARE(Lines().mid(Lines().size() - 2), LinesOf("[__Dont_Touch_Me__]\nSectors=0\n"));
    }

    void theDataFolderIsFixedAndCreated_data()
    {
        QTest::addColumn<QString>("stored"); // "%p" stands for the program folder
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("written");
        QTest::newRow("blank") << ""
                               << "%pData/" << true;
        QTest::newRow("without its final slash") << "%pjournal/2024"
                                                 << "%pjournal/2024/" << true;
        QTest::newRow("already right") << "%pjournal/"
                                       << "%pjournal/" << false;
        QTest::newRow("with trailing blanks") << "%pjournal/   "
                                              << "%pjournal/" << true;
    }
    void theDataFolderIsFixedAndCreated()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QFETCH(bool, written);
        stored.replace("%p", ProgramFolder);
        expected.replace("%p", ProgramFolder);
        GLO.DataPath = stored;
        QVERIFY(SetDataPaths());
        QCOMPARE(GLO.DataPath, expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(INIMgr.ReadValue(PreservedSection, "GLO:DataPath"),
                 written ? expected : IniSettings::Unknown);
    }

    void aDataFolderThatCannotBeMadeIsNeverWritten()
    {
        // A file stands where the folder would go.
        QFile blocker(ProgramFolder + "blocked");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        GLO.DataPath = ProgramFolder + "blocked/Data";
        QVERIFY(!SetDataPaths());
        QCOMPARE(GLO.DataPath, ProgramFolder + "blocked/Data/");
        QVERIFY(!QFile::exists(IniFileName));
    }

    void aLongProgramFolderHoldsItsSettingsAndData()
    {
        QString folder = temporary_->filePath(QStringLiteral("a program folder with a long name"));
        while (folder.size() <= 120)
            folder += QStringLiteral("/and a deeper folder");
        StartIn(folder);
        QVERIFY(ProgramFolder.size() > 100);
        LoadPreservedSettings();
        QVERIFY(SetDataPaths());
        INIMgr.Kill();
        QCOMPARE(GLO.DataPath, folder + "/Data/");
        QVERIFY(QFileInfo(folder + "/Data").isDir());
        QVERIFY(QFileInfo(folder + "/Jornix.ini").isFile());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"Data", "Jornix.ini"}));
    }
};

QTEST_MAIN(PreservedSettingsTest)
#include "tst_PreservedSettings.moc"
