#include "core/CoreProcedures.h"
#include "core/Procedures.h"
#include "core/ProgramStart.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/runtime/ProgramThreads.h"
#include "reports/ReportsProcedures.h"

#include <QApplication>

// main creates the application, fills the table of window procedures, starts the program's start procedure as
// program thread 1 and runs Qt's loop until thread 1 has ended.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jornix"));
    QApplication::setQuitOnLastWindowClosed(false); // the program ends when thread 1 ends, not before
    // Core's windows, then those of the journal, organizer and reports libraries.
    jornix::RegisterCoreProcedures();
    jornix::RegisterJournalProcedures();
    jornix::RegisterOrganizerProcedures();
    jornix::RegisterReportsProcedures();
    int exitCode = 0;
    jornix::StartProcedureThread([&exitCode] {
        exitCode = jornix::ProgramStart();
        QCoreApplication::exit(exitCode);
    });
    QApplication::exec();
    jornix::EndProgramThreads();
    return exitCode;
}
