#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/Procedures.h"
#include "core/SharedState.h"

#include "platform/framework/WindowDriver.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

// The table of window procedures, with the stand-ins that tests put in it for windows they do not link.
class ProceduresTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        RegisterStandInWindows();
        RegisterCoreProcedures();
    }
    void cleanupTestCase()
    {
        ClearProcedures();
        EndProgramThreads();
    }

    // A later library registers its window under the stand-in's name; the table then reaches it, on a thread
    // of its own when started, on the caller's thread when called.
    void aRegisteredProcedureReplacesItsStandIn()
    {
        ThreadNumber ranOn = 0;
        RegisterProcedure(QStringLiteral("SelectContact"), [&ranOn] {
            ranOn = CurrentThread();
            CurrentContext().GlobalResponseCode = Response::Completed;
        });
        int response = 0;
        ThreadNumber caller = 0;
        Start([&] {
            caller = CurrentThread();
            response = CallProcedure(QStringLiteral("selectcontact"));
        });
        QCOMPARE(ranOn, caller);
        QCOMPARE(response, int(Response::Completed));
        QVERIFY(!FindWindow(QStringLiteral("SelectContact")));

        const ThreadNumber started = StartProcedure(QStringLiteral("SelectContact"));
        QVERIFY(WaitIdle());
        QVERIFY(started > 0);
        QCOMPARE(ranOn, started);
    }

    void aNameNobodyRegisteredStartsNothingAndAnswersCancelled()
    {
        QTest::ignoreMessage(QtWarningMsg, "No window procedure is named NoSuchWindow");
        QCOMPARE(StartProcedure(QStringLiteral("NoSuchWindow")), 0);
        int response = 0;
        QTest::ignoreMessage(QtWarningMsg, "No window procedure is named NoSuchWindow");
        Start([&] {
            CurrentContext().GlobalRequestCode = Request::Change;
            response = CallProcedure(QStringLiteral("NoSuchWindow"));
        });
        QCOMPARE(response, int(Response::Cancelled));
    }
};

QTEST_MAIN(ProceduresTest)
#include "tst_Procedures.moc"
