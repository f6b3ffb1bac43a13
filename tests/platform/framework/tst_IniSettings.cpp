#include "platform/framework/IniSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <QWidget>

#include <unistd.h>

using namespace jornix;

class IniSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString file_;
    IniSettings ini_;

    void Given(const QByteArray& text)
    {
        QFile file(file_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray OnDisk() const
    {
        QFile file(file_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The file's lines without the blank lines between sections.
    QByteArrayList LinesOnDisk() const
    {
        QByteArrayList lines = OnDisk().split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }

private slots:
    void init()
    {
        file_ = folder_.filePath(QStringLiteral("Settings.ini"));
        QFile::remove(file_);
        ini_.Init(file_);
    }

    void readsWithoutRegardToCase_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same spelling") << QByteArray("[Main]\nXPos=12\n") << "Main"
                                       << "XPos"
                                       << "12";
        QTest::newRow("other case") << QByteArray("[preserved]\nglo:jornixmenubarwidth=40\n") << "Preserved"
                                    << "GLO:JornixMenubarWidth"
                                    << "40";
        QTest::newRow("UTF-8 text") << QByteArray("[S]\nFont=Café Ünïcode\n") << "S"
                                    << "Font" << QString::fromUtf8("Café Ünïcode");
        QTest::newRow("blank value") << QByteArray("[S]\nGLO:LastLoginID=\n") << "S"
                                     << "GLO:LastLoginID"
                                     << "";
        QTest::newRow("missing entry") << QByteArray("[S]\nA=1\n") << "S"
                                       << "B" << IniSettings::Unknown;
        QTest::newRow("missing section") << QByteArray("[S]\nA=1\n") << "T"
                                         << "A" << IniSettings::Unknown;
        QTest::newRow("no file") << QByteArray() << "S"
                                 << "A" << IniSettings::Unknown;
    }
    void readsWithoutRegardToCase()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        if (!file.isEmpty())
            Given(file);
        QCOMPARE(ini_.ReadValue(section, entry), expected);
    }

    void readIntoLeavesTheVariableWhenNothingFits_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expectedInt");
        QTest::addColumn<int>("expectedByte");
        QTest::newRow("a number") << QByteArray("A=200") << 200 << 200;
        QTest::newRow("a negative number") << QByteArray("A=-5") << -5 << 7;
        QTest::newRow("too big for a byte") << QByteArray("A=300") << 300 << 7;
        QTest::newRow("not a number") << QByteArray("A=wide") << 7 << 7;
        QTest::newRow("missing") << QByteArray("B=1") << 7 << 7;
    }
    void readIntoLeavesTheVariableWhenNothingFits()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expectedInt);
        QFETCH(int, expectedByte);
        Given("[S]\n" + value + "\n");
        qint32 number = 7;
        quint8 byte = 7;
        ini_.ReadInto(QStringLiteral("S"), QStringLiteral("A"), number);
        ini_.ReadInto(QStringLiteral("S"), QStringLiteral("A"), byte);
        QCOMPARE(number, expectedInt);
        QCOMPARE(int(byte), expectedByte);
    }

    void writesKeepTheFileAndItsSpelling()
    {
        Given("; kept by hand\n[OtherProgram]\nColour=blue\n\n[preserved]\nglo:jornixmenubarwidth=40\n");
        QVERIFY(ini_.WriteValue(QStringLiteral("Preserved"), QStringLiteral("GLO:JornixMenuBarWidth"), 120));
        QVERIFY(ini_.WriteValue(QStringLiteral("Preserved"), QStringLiteral("GLO:DataPath"),
                                QStringLiteral("/home/me/Jornix/Data/")));
        QVERIFY(ini_.WriteValue(QStringLiteral("Main"), QStringLiteral("XPos"), QStringLiteral("3")));
        const QByteArrayList expected{"; kept by hand",
                                      "[OtherProgram]",
                                      "Colour=blue",
                                      "[preserved]",
                                      "glo:jornixmenubarwidth=120",
                                      "GLO:DataPath=/home/me/Jornix/Data/",
                                      "[Main]",
                                      "XPos=3"};
        QCOMPARE(LinesOnDisk(), expected);
        // Rewriting the same value leaves the file exactly as it was.
        const QByteArray before = OnDisk();
        QVERIFY(ini_.WriteValue(QStringLiteral("main"), QStringLiteral("xpos"), 3));
        QCOMPARE(OnDisk(), before);
    }

    void aWriteReplacesTheFileInOneStep()
    {
        // The old file stays whole until the new one takes its name: a second name of the old file still
        // shows the old content afterwards.
        Given("[S]\nA=1\n");
        const QString oldName = folder_.filePath(QStringLiteral("old.ini"));
        QFile::remove(oldName);
        QCOMPARE(::link(qPrintable(file_), qPrintable(oldName)), 0);
        QVERIFY(ini_.WriteValue(QStringLiteral("S"), QStringLiteral("A"), 2));
        QFile old(oldName);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("[S]\nA=1\n"));
        QCOMPARE(ini_.ReadValue(QStringLiteral("S"), QStringLiteral("A")), QStringLiteral("2"));
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void valuesComeBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("a path with blanks") << "/home/me/My Journal/Data/";
        QTest::newRow("UTF-8 text") << QString::fromUtf8("Zoë Straße");
        QTest::newRow("line breaks that look like a section") << "x\n[Evil]\nB=1";
        QTest::newRow("leading blanks") << "  indented";
        QTest::newRow("blank") << "";
    }
    void valuesComeBackAsWritten()
    {
        QFETCH(QString, value);
        QVERIFY(ini_.WriteValue(QStringLiteral("S"), QStringLiteral("A"), value));
        QCOMPARE(ini_.ReadValue(QStringLiteral("S"), QStringLiteral("A")), value);
        QCOMPARE(ini_.ReadValue(QStringLiteral("Evil"), QStringLiteral("B")), IniSettings::Unknown);
    }

    void aWriteThatCannotBeMadeIsReported()
    {
        ini_.Init(folder_.filePath(QStringLiteral("no such folder/Settings.ini")));
        QVERIFY(!ini_.WriteValue(QStringLiteral("S"), QStringLiteral("A"), 1));
        QCOMPARE(ini_.ReadValue(QStringLiteral("S"), QStringLiteral("A")), IniSettings::Unknown);
    }

    void windowPlacementsComeBack_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::newRow("normal") << false;
        QTest::newRow("maximized") << true;
    }
    void windowPlacementsComeBack()
    {
        QFETCH(bool, maximized);
        QWidget window;
        window.setGeometry(40, 50, 320, 240);
        if (maximized)
            window.setWindowState(Qt::WindowMaximized);
        QVERIFY(ini_.SaveWindow(QStringLiteral("UpdateTask"), &window));
        QCOMPARE(ini_.ReadValue(QStringLiteral("UpdateTask"), QStringLiteral("Maximize")),
                 maximized ? QStringLiteral("Yes") : QStringLiteral("No"));

        QWidget restored;
        QVERIFY(ini_.RestoreWindow(QStringLiteral("updatetask"), &restored));
        QCOMPARE(restored.isMaximized(), maximized);
        if (!maximized)
            QCOMPARE(restored.geometry(), QRect(40, 50, 320, 240));
    }

    void aKeptMaximizeMaximizesWithoutAPlacement_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("Yes, blank position and size")
            << QByteArray("[Main]\nMaximize=Yes\nXPos=\nYPos=\nHeight=\nWidth=\n") << true;
        QTest::newRow("yes in lower case") << QByteArray("[Main]\nMaximize=yes\n") << true;
        QTest::newRow("No") << QByteArray("[Main]\nMaximize=No\n") << false;
    }
    void aKeptMaximizeMaximizesWithoutAPlacement()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, maximized);
        Given(file);
        QWidget window;
        window.setGeometry(5, 6, 70, 80);
        QCOMPARE(ini_.RestoreWindow(QStringLiteral("Main"), &window), maximized);
        QCOMPARE(window.isMaximized(), maximized);
    }

    void aPlacementThatIsMissingOrUnusableChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no section") << QByteArray("[Other]\nXPos=1\n");
        QTest::newRow("no width") << QByteArray("[Tasks]\nXPos=1\nYPos=2\nHeight=30\n");
        QTest::newRow("zero height") << QByteArray("[Tasks]\nXPos=1\nYPos=2\nWidth=30\nHeight=0\n");
        QTest::newRow("not numbers") << QByteArray("[Tasks]\nXPos=a\nYPos=b\nWidth=c\nHeight=d\n");
    }
    void aPlacementThatIsMissingOrUnusableChangesNothing()
    {
        QFETCH(QByteArray, file);
        Given(file);
        QWidget window;
        window.setGeometry(5, 6, 70, 80);
        QVERIFY(!ini_.RestoreWindow(QStringLiteral("Tasks"), &window));
        QCOMPARE(window.geometry(), QRect(5, 6, 70, 80));
    }

    // Numbers that no window can have come back bounded, never as a rectangle that passes the largest int.
    void extremePlacementsAreBounded_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QRect>("placement");
        const int most = QWIDGETSIZE_MAX;
        QTest::newRow("the largest width")
            << QByteArray("[Tasks]\nXPos=10\nYPos=20\nWidth=2147483647\nHeight=300\n")
            << QRect(10, 20, most, 300);
        QTest::newRow("the largest height")
            << QByteArray("[Tasks]\nXPos=10\nYPos=20\nWidth=300\nHeight=2147483647\n")
            << QRect(10, 20, 300, most);
        QTest::newRow("the largest position")
            << QByteArray("[Tasks]\nXPos=2147483647\nYPos=2147483647\nWidth=300\nHeight=200\n")
            << QRect(most, most, 300, 200);
        QTest::newRow("the smallest position")
            << QByteArray("[Tasks]\nXPos=-2147483648\nYPos=-2147483648\nWidth=300\nHeight=200\n")
            << QRect(-most, -most, 300, 200);
        QTest::newRow("everything at the largest")
            << QByteArray("[Tasks]\nXPos=2147483647\nYPos=2147483647\nWidth=2147483647\nHeight=2147483647\n")
            << QRect(most, most, most, most);
    }
    void extremePlacementsAreBounded()
    {
        QFETCH(QByteArray, file);
        QFETCH(QRect, placement);
        Given(file);
        QWidget window;
        QVERIFY(ini_.RestoreWindow(QStringLiteral("Tasks"), &window));
        QCOMPARE(window.geometry(), placement);
    }

    void killWritesItsOwnListAndKeepsTheRest()
    {
        Given("[Preserved]\nGLO:DebugSwitch=1\n");
        QVERIFY(ini_.Kill());
        const QByteArrayList expected{"[Preserved]", "GLO:DebugSwitch=1", "[__Dont_Touch_Me__]", "Sectors=0"};
        QCOMPARE(LinesOnDisk(), expected);
        QVERIFY(!ini_.WriteValue(QStringLiteral("S"), QStringLiteral("A"), 1));
    }
};

QTEST_MAIN(IniSettingsTest)
#include "tst_IniSettings.moc"
