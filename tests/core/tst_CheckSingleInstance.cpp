#include "core/CheckSingleInstance.h"
#include "core/InstanceMutex.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <memory>

using namespace jornix;

// Copies of a small program that runs the single-instance step, each in a process of its own. Every test uses
// a lock name of its own, so that no real copy of the program and no other test can interfere.
class CheckSingleInstanceTest : public QObject
{
    Q_OBJECT

    QString name_;
    std::vector<std::unique_ptr<QProcess>> copies_;

    QProcess* Start(const QStringList& options = {})
    {
        auto copy = std::make_unique<QProcess>();
        copy->start(QStringLiteral(JORNIX_INSTANCE_HELPER), QStringList{name_} + options);
        copies_.push_back(std::move(copy));
        return copies_.back().get();
    }
    static bool WaitForLine(QProcess* copy, const QByteArray& line)
    {
        QElapsedTimer timer;
        timer.start();
        QByteArray seen;
        while (timer.elapsed() < 10000) {
            while (copy->canReadLine()) {
                seen = copy->readLine().trimmed();
                if (seen == line)
                    return true;
            }
            if (copy->state() == QProcess::NotRunning)
                return false;
            QTest::qWait(20); // lets this process answer when it is the first copy
        }
        qWarning("waited for \"%s\"; last line \"%s\"", line.constData(), seen.constData());
        return false;
    }

private slots:
    void init()
    {
        static int serial = 0;
        name_ =
            QStringLiteral("JornixMUTEX-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    }
    void cleanup()
    {
        ReleaseInstanceMutex();
        SetActivateInstanceHandler({});
        for (auto& copy : copies_) {
            copy->kill();
            copy->waitForFinished();
        }
        copies_.clear();
    }

    void aSecondCopyAsksTheFirstToComeForwardAndEnds_data()
    {
        QTest::addColumn<bool>("frameOpen");
        QTest::newRow("the frame is open") << true;
        QTest::newRow("still signing in") << false;
    }
    void aSecondCopyAsksTheFirstToComeForwardAndEnds()
    {
        QFETCH(bool, frameOpen);
        QProcess* first = Start(frameOpen ? QStringList{QStringLiteral("--with-frame")} : QStringList{});
        QVERIFY(WaitForLine(first, "first"));

        QProcess* second = Start();
        QVERIFY(WaitForLine(second, "second"));
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        if (frameOpen)
            QVERIFY(WaitForLine(first, "activated Jornix"));

        // This process is a later copy too; it hears whether the frame came forward.
        QCOMPARE(CheckSingleInstance(QStringLiteral("Jornix"), name_), 1);
        QCOMPARE(ActivatePreviousInstance(QStringLiteral("Jornix")), frameOpen ? 1 : 0);
        QCOMPARE(first->state(), QProcess::Running);
    }

    void aNewStartWorksAfterTheFirstCopyWasKilled()
    {
        QProcess* first = Start({QStringLiteral("--with-frame")});
        QVERIFY(WaitForLine(first, "first"));
        first->kill(); // SIGKILL
        QTRY_COMPARE_WITH_TIMEOUT(first->state(), QProcess::NotRunning, 10000);
        InstanceMutex leftBehind;
        leftBehind.name = name_;
        QVERIFY(QFileInfo::exists(leftBehind.LockFileName()));
        QVERIFY(QFileInfo::exists(leftBehind.ServerName()));

        QProcess* next = Start({QStringLiteral("--with-frame")});
        QVERIFY(WaitForLine(next, "first"));
        QProcess* second = Start();
        QVERIFY(WaitForLine(second, "second"));
        QVERIFY(WaitForLine(next, "activated Jornix"));
    }

    void theOnlyCopyHoldsTheLockUntilItReleasesIt()
    {
        QCOMPARE(CheckSingleInstance(QStringLiteral("Jornix"), name_), 0);
        QProcess* second = Start();
        QVERIFY(WaitForLine(second, "second"));

        ReleaseInstanceMutex();
        QProcess* next = Start();
        QVERIFY(WaitForLine(next, "first"));
    }
};

QTEST_GUILESS_MAIN(CheckSingleInstanceTest)
#include "tst_CheckSingleInstance.moc"
