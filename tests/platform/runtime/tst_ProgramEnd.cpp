#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QTest>

using namespace jornix;

namespace {
// Notes that its thread's stack was unwound.
struct Unwound
{
    QStringList* log;
    QString name;
    ~Unwound() { *log << name; }
};
} // namespace

class TestProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void theEndOfTheProgramUnwindsEveryThread()
    {
        QStringList log;
        const ThreadNumber inWindow = StartProcedureThread([&log] {
            Unwound guard{&log, QStringLiteral("window thread")};
            QWidget widget;
            ProgramWindow window(&widget);
            for (;;)
                window.WaitEvent();
        });
        const ThreadNumber inBox = StartProcedureThread([&log] {
            Unwound guard{&log, QStringLiteral("box thread")};
            ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Open"), QString());
            log << QStringLiteral("box answered");
        });
        const ThreadNumber inWait = StartProcedureThread([&log] {
            Unwound guard{&log, QStringLiteral("waiting thread")};
            WaitMilliseconds(60000);
        });
        QVERIFY(WaitForProgramThreads(200) == false); // one thread sits in a long wait
        const ThreadNumber neverRan = StartProcedureThread([&log] { log << QStringLiteral("never ran"); });
        EndProgramThreads();
        QCOMPARE(log, QStringList({"window thread", "box thread", "waiting thread"}));
        for (ThreadNumber thread : {inWindow, inBox, inWait, neverRan})
            QVERIFY(!ThreadIsActive(thread));
        QVERIFY(!PostEvent(Event::CloseWindow, 0, inWindow));
        QCOMPARE(StartProcedureThread([] {}), 0);
        QVERIFY(WaitForProgramThreads());
    }
};

QTEST_MAIN(TestProgramEnd)
#include "tst_ProgramEnd.moc"
