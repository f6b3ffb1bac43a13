#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// scripts/install lays out the program folder outside the build tree, in the desktop's data folder, and adds
// Jornix to the desktop's menu. An install over an earlier one never touches the user's settings or data.
namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool Write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class ProgramFolderInstallTest : public QObject
{
    Q_OBJECT

private slots:
    void theInstallKeepsTheSettingsAndTheData_data()
    {
        QTest::addColumn<bool>("earlier");
        QTest::newRow("a first install") << false;
        QTest::newRow("over an earlier install with settings and data") << true;
    }
    void theInstallKeepsTheSettingsAndTheData()
    {
        QFETCH(bool, earlier);
        QTemporaryDir home;
        const QString program = home.filePath("Jornix");
        const QByteArray settings = "[Preferences]\nDataPath=Data\n";
        const QByteArray journal = "the user's journal";
        if (earlier) {
            QVERIFY(Write(program + "/Jornix.ini", settings));
            QVERIFY(Write(program + "/Data/Jornix.tps", journal));
            QVERIFY(Write(program + "/jornix", "an older program"));
        }
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.path());
        install.setProcessEnvironment(environment);
        install.start(QStringLiteral(JORNIX_SOURCE_DIR "/scripts/install"),
                      {QFileInfo(QStringLiteral(JORNIX_PROGRAM_DIR)).absolutePath()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        QCOMPARE(QString::fromLocal8Bit(install.readAllStandardOutput()).trimmed(), program);

        const QFileInfo executable(program + "/jornix");
        QVERIFY(executable.isExecutable());
        // The built program, stripped: smaller, and without the debug information the build may carry.
        const QByteArray installed = Read(program + "/jornix");
        QVERIFY(installed.startsWith("\x7f" "ELF"));
        QVERIFY(installed.size() <= QFileInfo(QStringLiteral(JORNIX_PROGRAM_DIR "/jornix")).size());
        QVERIFY(!installed.contains(".debug_info"));
        QVERIFY(!installed.contains(".symtab"));
        // What the build wrote into DefaultData (the first-run samples, the factory layouts) is installed too.
        for (const QString& sample : {"sample1.tx", "sample2.tx", "sample1.wav", "Jornix10/LogFile.TPS", "jx_1.rpt", "jx_17.bmp"})
            QCOMPARE(Read(program + "/DefaultData/" + sample),
                     Read(QStringLiteral(JORNIX_PROGRAM_DIR "/DefaultData/") + sample));
        QVERIFY(!Read(program + "/DefaultData/sample1.tx").isEmpty());
        QVERIFY(QFileInfo(program + "/help").isDir());
        if (earlier) {
            QCOMPARE(Read(program + "/Jornix.ini"), settings);
            QCOMPARE(Read(program + "/Data/Jornix.tps"), journal);
            QCOMPARE(QDir(program + "/Data").entryList(QDir::Files), QStringList{"Jornix.tps"});
        } else {
            QVERIFY(!QFileInfo::exists(program + "/Jornix.ini"));
            QVERIFY(!QFileInfo::exists(program + "/Data"));
        }
        const QString entry = QString::fromUtf8(Read(home.filePath("applications/jornix.desktop")));
        QVERIFY2(entry.contains("Exec=\"" + program + "/jornix\""), qPrintable(entry));
        QVERIFY(entry.contains("Icon=jornix"));
        QVERIFY(QFileInfo::exists(home.filePath("icons/hicolor/scalable/apps/jornix.svg")));
    }
};

QTEST_GUILESS_MAIN(ProgramFolderInstallTest)
#include "tst_ProgramFolderInstall.moc"
