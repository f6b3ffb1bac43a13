#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/Procedures.h"
#include "core/SharedState.h"

#include "platform/framework/WindowDriver.h"

#include <QLabel>
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

    // A form or select list that is not built yet opens modally on its caller's thread, says so, and answers
    // Cancelled, whatever it was asked for.
    void aWindowStillToComeSaysItIsNotAvailableAndAnswersCancelled_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("request");
        QTest::newRow("event editor") << "UpdateLogTX" << "Update Event" << int(Request::Insert);
        QTest::newRow("reminder form") << "UpdateReminder" << "Update Reminder" << int(Request::Change);
        QTest::newRow("task form") << "UpdateTask" << "Update Task" << int(Request::Delete);
        QTest::newRow("contact form") << "UpdateContact" << "Update Contact" << int(Request::ViewOnly);
        QTest::newRow("log events to select") << "SelectLogEvent" << "Select Log Event" << int(Request::Select);
        QTest::newRow("contacts to select") << "SelectContact" << "Select Contact" << int(Request::Select);
        QTest::newRow("tasks to select") << "SelectTask" << "Select Task" << int(Request::Select);
        QTest::newRow("scraps to select") << "SelectScrap" << "Select Scrap" << int(Request::Select);
        QTest::newRow("print one record") << "PrintRec" << "Print Options" << int(Request::None);
        QTest::newRow("migration") << "MigrateData" << "Migrate from Jornix 1.0" << int(Request::None);
    }
    void aWindowStillToComeSaysItIsNotAvailableAndAnswersCancelled()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, caption);
        QFETCH(int, request);
        int response = 0;
        ThreadNumber caller = 0;
        Start([&] {
            caller = CurrentThread();
            CurrentContext().GlobalRequestCode = quint8(request);
            response = CallProcedure(procedure);
        });
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        QCOMPARE(window->Thread(), caller);
        QVERIFY(window->window.Root()->isWindow());
        QCOMPARE(window->window.Caption(), caption);
        auto* notice = window->window.Root()->findChild<QLabel*>(QStringLiteral("Notice"));
        QVERIFY(notice);
        QCOMPARE(notice->text(), caption + QStringLiteral(" is not yet available in this version of Jornix."));
        Press(*window, QStringLiteral("Close"));
        QVERIFY(!FindWindow(procedure));
        QCOMPARE(response, int(Response::Cancelled));
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
