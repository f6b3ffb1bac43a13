#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "reports/ReportAreas.h"
#include "reports/ReportsProcedures.h"

#include "platform/framework/WindowDriver.h"
#include "reports/PrintOptionsTest.h"
#include "reports/ReportFixture.h"

#include <QFile>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::ReportFixture;

// The print options for one record running the print engine: only the record asked for is printed.
class tst_PrintRecReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        RegisterStandInWindows();
        RegisterCoreProcedures();
        RegisterReportsProcedures();
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void onlyTheHighlightedContactIsPrinted()
    {
        ReportFixture fixture;
        CurrentUserAccess.fill(2);
        CurrentUserUniqueID = 7;
        GLO.DataPath = fixture.data.Path();
        fixture.AddLayout({.ref = 1, .area = 3, .outputFormat = OutputFormat::Pdf},
                          test::ListLayout({"Contacts.LName", "Contacts.City"}));
        int num = 0;
        for (const char* name : {"Zhang", "de Vries", "Anand"})
            ReportFixture::Add(AccessCON, {{"CON:Num", ++num}, {"CON:LName", name}, {"CON:City", "Leeds"}});
        Start([] { PrintRec(ReportArea::Contacts, 2); });
        WindowController* window = FindWindow("PrintRec");
        QVERIFY(window);
        const QString pdf = fixture.data.FilePath("contact.pdf");
        DialogScript dialogs({test::Chosen(fixture.data.FilePath("contact"))});
        Press(*window, "PRINT");
        QVERIFY(WaitIdle(60000));
        QVERIFY(QFile::exists(pdf));
        const QString text = test::PdfPages(pdf).join("\n");
        QVERIFY2(text.contains("de Vries"), qPrintable(text));
        QVERIFY(!text.contains("Zhang"));
        QVERIFY(!text.contains("Anand"));
        QCOMPARE(FindWindow("PrintRec"), window);
        Press(*window, "CLOSE");
        QVERIFY(!FindWindow("PrintRec"));
    }
};

QTEST_MAIN(tst_PrintRecReport)
#include "tst_PrintRecReport.moc"
