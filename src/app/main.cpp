#include "core/ProgramStart.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>

// main creates the application, starts the program's start procedure as program thread 1 and runs Qt's loop
// until thread 1 has ended.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jornix"));
    QApplication::setQuitOnLastWindowClosed(false); // the program ends when thread 1 ends, not before
    int exitCode = 0;
    jornix::StartProcedureThread([&exitCode] {
        exitCode = jornix::ProgramStart();
        QCoreApplication::exit(exitCode);
    });
    QApplication::exec();
    jornix::EndProgramThreads();
    return exitCode;
}
