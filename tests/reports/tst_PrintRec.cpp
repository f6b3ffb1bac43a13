#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "platform/runtime/FileFolders.h"
#include "core/SharedState.h"
#include "platform/framework/TableRelations.h"
#include "reports/CallPrintProcess.h"
#include "reports/ReportLayoutList.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "platform/framework/WindowDriver.h"
#include "reports/PrintOptionsTest.h"

#include <QComboBox>
#include <QImage>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::AddLayouts;
using jornix::test::Layout;
using jornix::test::LayoutRows;

// The print options for one record as the user meets them from a list's Print button.
namespace {

int FormatPlace(int format)
{
    const std::vector<ListItem> items = OutputFormatItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].value.toInt() == format)
            return int(i);
    return -1;
}

} // namespace

class tst_PrintRec : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::PrintOptionsFixture> fixture;

    WindowController* Open(int area, qint32 number)
    {
        Start([area, number] { PrintRec(area, number); });
        return FindWindow("PrintRec");
    }
    bool Enabled(WindowController& window, const char* name)
    {
        return window.window.IsEnabled(ControlNumber(window, name));
    }
    bool Checked(WindowController& window, const char* name)
    {
        return window.window.Widget(ControlNumber(window, name))->property("checked").toBool();
    }
    QString Format(WindowController& window)
    {
        return qobject_cast<QComboBox*>(window.window.Widget(ControlNumber(window, "RPT:OUTPUTFORMAT")))
            ->currentText();
    }

private slots:
    void initTestCase()
    {
        fixture = std::make_unique<test::PrintOptionsFixture>();
        QVERIFY(fixture->open);
    }
    void cleanupTestCase() { fixture.reset(); }
    void init() { fixture->Reset(); }
    void cleanup()
    {
        fixture->Close("PrintRec");
        QVERIFY(WindowController::OpenWindows().empty());
    }

    void captionAndLayoutsFollowTheArea_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("log events") << 1 << "Print Options - Log Events"
                                    << QStringList{"lock|Event Detail|List|Preview|Detail",
                                                   "|Mine|Card|PDF|One Rec"};
        QTest::newRow("tasks") << 2 << "Print Options - Tasks" << QStringList{"|Odd codes|||"};
        QTest::newRow("contacts") << 3 << "Print Options - Contacts"
                                  << QStringList{"|Addresses|Label|TXT|Summary"};
        QTest::newRow("reminders") << 4 << "Print Options - Reminders" << QStringList{};
        QTest::newRow("sticky notes") << 5 << "Print Options - Sticky Notes" << QStringList{};
        QTest::newRow("scrap book") << 6 << "Print Options - Scrap Book" << QStringList{};
    }
    void captionAndLayoutsFollowTheArea()
    {
        QFETCH(int, area);
        AddLayouts({{.area = 1, .description = "Mine", .outputFormat = 9, .type = 2, .style = 3},
                    {.area = 1, .description = "Event Detail", .factoryDefault = 1},
                    {.area = 2, .description = "Odd codes", .outputFormat = 14, .type = 4, .style = 0},
                    {.area = 3, .description = "Addresses", .outputFormat = 13, .type = 3, .style = 1}});
        WindowController* window = Open(area, 1);
        QVERIFY(window);
        QTEST(window->window.Caption(), "caption");
        QTEST(LayoutRows(*window), "rows");
        QCOMPARE(Enabled(*window, "PRINT"), !LayoutRows(*window).isEmpty());
        test::CheckPicture(*window, QStringLiteral("PrintRec-%1").arg(area));
    }

    // The descriptions of the layouts show whole: the column takes the width the others leave.
    void theDescriptionsShowWhole()
    {
        const QStringList descriptions{"Summary Report Grouped by Log Date",
                                       "Summary Report Grouped by Log Type"};
        for (const QString& description : descriptions)
            AddLayouts({{.area = 1, .description = description}});
        WindowController* window = Open(1, 1);
        QVERIFY(window);
        WaitIdle();
        const QString problem = test::DescriptionColumnProblem(*window, descriptions);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void aUserWithoutAccessIsRefused_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("access");
        QTest::addColumn<QString>("words");
        QTest::newRow("log events") << 1 << int(AccessArea::LogEvents) << "Log Events";
        QTest::newRow("tasks") << 2 << int(AccessArea::Tasks) << "Tasks";
        QTest::newRow("contacts") << 3 << int(AccessArea::Contacts) << "Contacts";
        QTest::newRow("reminders") << 4 << int(AccessArea::Reminders) << "Reminders";
        QTest::newRow("sticky notes") << 5 << int(AccessArea::StickyNotes) << "Sticky Notes";
        QTest::newRow("scrap book") << 6 << int(AccessArea::ScrapBook) << "the Scrap Book";
    }
    void aUserWithoutAccessIsRefused()
    {
        QFETCH(int, area);
        QFETCH(int, access);
        QFETCH(QString, words);
        // Only the area's own level counts.
        CurrentUserAccess.fill(0);
        CurrentUserAccess[std::size_t(access)] = 1;
        QVERIFY(Open(area, 1));
        PostEvent(Event::CloseWindow, 0, FindWindow("PrintRec")->Thread());
        WaitIdle();
        CurrentUserAccess.fill(2);
        CurrentUserAccess[std::size_t(access)] = 0;
        test::MessageRecorder boxes;
        QVERIFY(!Open(area, 1));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Access Denied"));
        QCOMPARE(boxes.boxes[0].text, "You are not allowed to view or edit " + words +
                                          ". Please contact your system administrator to request access.");
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
    }

    // The choices are the highlighted layout's; Open Output File only for a format that writes a file.
    void theChoicesFollowTheHighlightedLayout()
    {
        AddLayouts({{.area = 3,
                     .description = "A printed",
                     .outputFormat = 3,
                     .printerOptions = 1,
                     .openOutputFile = 1},
                    {.area = 3, .description = "B web page", .outputFormat = 5, .openOutputFile = 1}});
        WindowController* window = Open(3, 1);
        QVERIFY(window);
        QCOMPARE(Format(*window), QStringLiteral("Printer"));
        QVERIFY(Checked(*window, "RPT:PRINTEROPTIONS"));
        QVERIFY(!Enabled(*window, "RPT:OPENOUTPUTFILE"));
        Choose(*window, ControlNumber(*window, "RPT:OUTPUTFORMAT"), FormatPlace(9));
        QVERIFY(Enabled(*window, "RPT:OPENOUTPUTFILE"));
        QVERIFY(Checked(*window, "RPT:OPENOUTPUTFILE")); // the layout's value, kept while disabled
        PickRow(*window, ControlNumber(*window, "List"), 1);
        QCOMPARE(Format(*window), QStringLiteral("HTML"));
        QVERIFY(!Checked(*window, "RPT:PRINTEROPTIONS"));
        QVERIFY(Enabled(*window, "RPT:OPENOUTPUTFILE"));
        QVERIFY(Checked(*window, "RPT:OPENOUTPUTFILE"));
        // Nothing goes back to the layout.
        PickRow(*window, ControlNumber(*window, "List"), 0);
        QCOMPARE(Format(*window), QStringLiteral("Printer"));
    }

    void printAsksForTheFileAndPrintsTheRecord_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("defaultName");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("filter");
        QTest::newRow("log event to XML") << 1 << 11 << "june "
                                          << "XML (*.xml)|*.XML|All Files (*.*)|*.*"
                                          << "report.xml"
                                          << "june.xml"
                                          << "LOG:LogNum = 42";
        QTest::newRow("task to PDF, final dot") << 2 << 9 << "june."
                                                << "Adobe PDF (*.pdf)|*.PDF|All Files (*.*)|*.*"
                                                << "report.pdf"
                                                << "june..pdf"
                                                << "TSK:Num = 42";
        QTest::newRow("contact to PDF in capitals") << 3 << 9 << "june.PDF"
                                                    << "Adobe PDF (*.pdf)|*.PDF|All Files (*.*)|*.*"
                                                    << "report.pdf"
                                                    << "june.PDF"
                                                    << "CON:Num = 42";
        QTest::newRow("reminder to text") << 4 << 13 << "notes.txt"
                                          << "Text (*.txt)|*.TXT|All Files (*.*)|*.*"
                                          << "report.txt"
                                          << "notes.txt"
                                          << "REM:Num = 42";
        QTest::newRow("sticky note previewed") << 5 << 2 << ""
                                               << ""
                                               << ""
                                               << ""
                                               << "STK:Num = 42";
        QTest::newRow("scrap printed") << 6 << 3 << ""
                                       << ""
                                       << ""
                                       << ""
                                       << "SCR:Num = 42";
    }
    void printAsksForTheFileAndPrintsTheRecord()
    {
        QFETCH(int, area);
        QFETCH(int, format);
        QFETCH(QString, typed);
        const QList<qint32> numbers = AddLayouts({{.area = area,
                                                   .description = "Only",
                                                   .outputFormat = format,
                                                   .printerOptions = 1,
                                                   .openOutputFile = 1}});
        WindowController* window = Open(area, 42);
        QVERIFY(window);
        const QString folderPath = fixture->folder.Path();
        // The name as the dialog gives it back, with the blanks the user typed around it.
        DialogScript dialogs({test::Chosen(typed.isEmpty() ? QString() : " " + folderPath + typed)});
        // The dialog starts in the user's documents folder, or where the user last chose a file.
        const QDir start(FileFolders::StartFolder(FileKind::Documents));
        Press(*window, "PRINT");
        QFETCH(QString, mask);
        if (mask.isEmpty()) {
            QVERIFY(dialogs.asked.empty());
        } else {
            QCOMPARE(dialogs.asked.size(), 1u);
            QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::SaveFile);
            QCOMPARE(dialogs.asked[0].title, QStringLiteral("Select Report OutPut File"));
            QCOMPARE(dialogs.asked[0].filters, mask);
            QFETCH(QString, defaultName);
            QCOMPARE(dialogs.asked[0].path, start.filePath(defaultName));
        }
        QCOMPARE(fixture->jobs.size(), 1u);
        const PrintJobRequest& job = fixture->jobs[0];
        QCOMPARE(job.area, area);
        QCOMPARE(job.layoutNumber, numbers.value(0));
        QCOMPARE(job.sortOrder, 1);
        QCOMPARE(job.outputFormat, format);
        QCOMPARE(job.openOutputFile, 1);
        QCOMPARE(job.showPrintOptions, 1);
        QFETCH(QString, file);
        QCOMPARE(job.outputFile, file.isEmpty() ? QString() : QDir(folderPath).filePath(file));
        QCOMPARE(job.criteria, QString());
        QTEST(job.filter, "filter");
        QCOMPARE(FindWindow("PrintRec"), window); // stays open
    }

    // Cancel in the file dialog prints nothing; the window stays, prints again another way, and Cancel
    // closes it.
    void cancelTheFileDialogThenPrintAgainThenClose()
    {
        AddLayouts({{.area = 3, .description = "Card", .outputFormat = 9}});
        WindowController* window = Open(3, 7);
        QVERIFY(window);
        {
            DialogScript cancelled;
            Press(*window, "PRINT");
            QCOMPARE(cancelled.asked.size(), 1u);
        }
        QVERIFY(fixture->jobs.empty());
        QCOMPARE(FindWindow("PrintRec"), window);
        QCOMPARE(Format(*window), QStringLiteral("PDF"));
        Choose(*window, ControlNumber(*window, "RPT:OUTPUTFORMAT"), FormatPlace(2));
        Press(*window, "PRINT");
        QCOMPARE(fixture->jobs.size(), 1u);
        QCOMPARE(fixture->jobs[0].outputFormat, 2);
        Press(*window, "CLOSE");
        QVERIFY(!FindWindow("PrintRec"));
    }

    void thePreviewIsTheLayoutsPicture_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("picture");
        QTest::newRow("picture in the data folder") << "jx_7" << true;
        QTest::newRow("no picture") << "jx_8" << false;
        QTest::newRow("no file name") << "" << false;
    }
    void thePreviewIsTheLayoutsPicture()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, picture);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(fixture->folder.FilePath("jx_7.bmp"), "BMP"));
        AddLayouts({{.area = 2, .description = "Tasks", .fileName = fileName}});
        WindowController* window = Open(2, 1);
        QVERIFY(window);
        const QString shown = window->window.Widget(ControlNumber(*window, "DESIGNSKETCHIMAGE"))
                                  ->property(PreviewFileProperty)
                                  .toString();
        QCOMPARE(shown, picture ? fixture->folder.FilePath(fileName + ".bmp")
                                : WindowDescription::ImagePath(QStringLiteral("~nopreview.gif")));
    }
};

QTEST_MAIN(tst_PrintRec)
#include "tst_PrintRec.moc"
