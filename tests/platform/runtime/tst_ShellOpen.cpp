#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/ShellOpen.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;

class TestShellOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Nothing of the desktop may answer for xdg-open.
        for (const char* name : {"BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void theTextIsHandedOnAsOneArgument_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("argument");
        QTest::newRow("a web address gets its scheme") << "www.example.com"
                                                       << "http://www.example.com";
        QTest::newRow("an address with its scheme") << "https://example.com/a b"
                                                    << "https://example.com/a b";
        QTest::newRow("a mail link loses its trailing blanks") << "mailto:ann@example.com   "
                                                               << "mailto:ann@example.com";
        QTest::newRow("a path with blanks and shell characters") << "/data/my notes; rm -rf ~.tx"
                                                                 << "/data/my notes; rm -rf ~.tx";
        QTest::newRow("a blank document passes an empty name") << "   "
                                                               << "";
    }

    void theTextIsHandedOnAsOneArgument()
    {
        QFETCH(QString, document);
        QFETCH(QString, argument);
        QStringList arguments;
        SetShellOpenRunner([&arguments](const QString& given) {
            arguments << given;
            return 0;
        });
        const int result = ShellOpen(nullptr, document);
        SetShellOpenRunner({});
        QCOMPARE(arguments, QStringList{argument});
        QVERIFY(result > 32);
    }

    void exitCodesBecomeResults_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("result");
        QTest::newRow("opened") << 0 << 42;
        QTest::newRow("bad argument, a blank name") << 1 << 2;
        QTest::newRow("file missing") << 2 << 2;
        QTest::newRow("nothing handles it") << 3 << 31;
        QTest::newRow("the handler failed") << 4 << 31;
        QTest::newRow("xdg-open did not start") << -1 << 31;
    }

    void exitCodesBecomeResults()
    {
        QFETCH(int, exitCode);
        QFETCH(int, result);
        SetShellOpenRunner([exitCode](const QString&) { return exitCode; });
        const int got = ShellOpen(nullptr, QStringLiteral("/data/a.tx"));
        SetShellOpenRunner({});
        QCOMPARE(got, result);
    }

    void xdgOpenAnswersWhileOtherThreadsRun_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("create");
        QTest::addColumn<int>("result");
        QTest::newRow("a missing file") << "missing.txt" << false << 2;
        QTest::newRow("a type nothing handles") << "notes.jornixunknown" << true << 31;
    }

    void xdgOpenAnswersWhileOtherThreadsRun()
    {
        QFETCH(QString, name);
        QFETCH(bool, create);
        QFETCH(int, result);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (create) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x01\x02 not a known kind of file");
        }
        QStringList log;
        int got = 0;
        StartProcedureThread([&] {
            got = ShellOpen(nullptr, path);
            log << QStringLiteral("opened");
        });
        StartProcedureThread([&log] { log << QStringLiteral("other thread"); });
        QVERIFY(WaitForProgramThreads(60000));
        QCOMPARE(got, result);
        QCOMPARE(log, QStringList({"other thread", "opened"})); // the thread gave way while xdg-open ran
    }
};

QTEST_MAIN(TestShellOpen)
#include "tst_ShellOpen.moc"
