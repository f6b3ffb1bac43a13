#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/ReportJobs.h"
#include "platform/runtime/ProgramThreads.h"

#include "platform/reportengine/RecordingReportEngine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;
using namespace ReportResult;

namespace {

void WriteLayout(const QString& path, ProjectType type)
{
    ReportLayout layout;
    layout.projectType = type;
    QString error;
    if (!WriteLayoutFile(path, layout, error))
        qFatal("%s", qPrintable(error));
}

} // namespace

class TestReportJobs : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString Layout(const QString& name) const { return folder_.filePath(name); }

private slots:
    void initTestCase()
    {
        WriteLayout(Layout("jx_1.rpt"), ProjectType::List);
        WriteLayout(Layout("jx_2.rpt"), ProjectType::Card);
        WriteLayout(Layout("jx_3.lbl"), ProjectType::Label);
        QFile damaged(Layout("jx_4.rpt"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("<jornix-layout version=\"1\" project=\"list\">");
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void handlesCountFromOneAndAreNeverGivenTwice()
    {
        ReportJobs engine;
        QCOMPARE(engine.LlJobOpen(1), 1);
        QCOMPARE(engine.LlJobOpen(1), 2);
        QCOMPARE(engine.LlJobClose(1), Ok);
        QCOMPARE(engine.LlJobClose(1), BadJob);
        QCOMPARE(engine.LlSetOption(1, 10, 1), BadJob);
        QCOMPARE(engine.LlJobOpen(1), 3);
        while (engine.OpenJobs() < ReportJobs::MaxJobs)
            engine.LlJobOpen(1);
        QVERIFY(engine.LlJobOpen(1) < 0);
    }

    void theSetUpOfAJobIsKept()
    {
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        const QList<std::pair<int, int>> options{{10, 1}, {46, 0}, {20, 1},  {9, 0},  {21, 1},
                                                 {8, 1},  {32, 1}, {33, 1},  {40, 1}, {47, 0},
                                                 {3, 0},  {31, 0}, {83, 16}, {100, 1}};
        for (const auto& [option, value] : options)
            QCOMPARE(engine.LlSetOption(job, option, value), Ok);
        QCOMPARE(engine.LlSetFileExtensionsA(job, 1, "lbl", "lbp", "lbb"), Ok);
        QCOMPARE(engine.LlSetFileExtensionsA(job, 4, "rpt", "prn", "bmp"), BadParameter);
        QCOMPARE(engine.LlSetFileExtensionsA(job, 2, "", "prn", "bmp"), BadParameter);
        QCOMPARE(engine.LlSetDlgboxMode(0x80A), Ok);
        QCOMPARE(engine.LlSetOptionStringA(job, ReportOptionString::ExportModule, "rpteng9ex.dll"), Ok);
        QCOMPARE(engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", "/home/me/Out"), Ok);
        QCOMPARE(engine.LlDesignerProhibitAction(job, 524), Ok);

        const ReportJob& kept = *engine.Job(job);
        QCOMPARE(kept.options.size(), options.size());
        for (const auto& [option, value] : options)
            QCOMPARE(kept.options.value(option), value);
        QCOMPARE(kept.extensions.value(1).layout, QStringLiteral("lbl"));
        QCOMPARE(kept.LayoutPath(ProjectType::Label, "/d/jx_3"), QStringLiteral("/d/jx_3.lbl"));
        QCOMPARE(kept.PrinterSettingsPath(ProjectType::Label, "/d/jx_3.LBL"), QStringLiteral("/d/jx_3.lbp"));
        QCOMPARE(kept.LayoutPath(ProjectType::List, "/d/jx_3"), QStringLiteral("/d/jx_3.rpt"));
        QCOMPARE(engine.DialogMode(), 0x80A);
        QString module;
        QCOMPARE(engine.LlGetOptionStringA(job, ReportOptionString::ExportModule, module, 10240), Ok);
        QCOMPARE(module, QStringLiteral("rpteng9ex.dll"));
        QCOMPARE(kept.exportParameters.value("PDF/Export.Path"), QStringLiteral("/home/me/Out"));
        QVERIFY(kept.prohibitedActions.contains(524));
    }

    void itemsAreDeclaredPerJobAndRefusedWhenTooLong()
    {
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        QCOMPARE(engine.LlDefineFieldExtA(job, "Task.Num", "12", ReportItemType::Numeric, 0), Ok);
        QCOMPARE(engine.LlDefineVariableExtA(job, "Task.Num", "99", ReportItemType::Numeric, 0), Ok);
        QCOMPARE(engine.LlDefineVariableExtA(job, "ReportOptions.Type", "List", ReportItemType::Text, 0), Ok);
        QCOMPARE(engine.LlDefineVariableExtA(job, QString(121, 'n'), "x", ReportItemType::Text, 0),
                 BadParameter);
        const ReportJob& kept = *engine.Job(job);
        QVERIFY(kept.lastError.contains("longer than 120 characters"));
        QCOMPARE(kept.variables.Count(), 2);
        // A field of the record in hand comes before a variable of the same name.
        QCOMPARE(kept.LookupItem("task.num")->value, QStringLiteral("12"));
        QCOMPARE(kept.LookupItem("REPORTOPTIONS.TYPE")->value, QStringLiteral("List"));
        QVERIFY(!kept.LookupItem("Task.Description"));
        QCOMPARE(engine.LlDefineFieldStart(job), Ok);
        QCOMPARE(kept.LookupItem("Task.Num")->value, QStringLiteral("99"));
        QCOMPARE(engine.LlDefineVariableStart(job), Ok);
        QCOMPARE(kept.variables.Count(), 0);
    }

    void printStartChecksTheLayout_data()
    {
        QTest::addColumn<int>("projectType");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("reason");
        QTest::newRow("list layout given without extension") << 2 << "jx_1" << 0x200 << Ok << "";
        QTest::newRow("card layout given with extension") << 3 << "jx_2.rpt" << 0x100 << Ok << "";
        QTest::newRow("label layout with its own extension") << 1 << "jx_3" << 0x800 << Ok << "";
        QTest::newRow("missing layout")
            << 2 << "jx_9" << 0x200 << LayoutMissing << "jx_9.rpt\" does not exist";
        QTest::newRow("damaged layout")
            << 2 << "jx_4" << 0x200 << LayoutUnreadable << "cannot be read: the file is damaged at line 1";
        QTest::newRow("card layout started as a list")
            << 2 << "jx_2" << 0x200 << WrongProjectType << "jx_2.rpt\" is a card layout, not a list layout";
        QTest::newRow("unknown project type")
            << 0 << "jx_1" << 0x200 << BadParameter << "no such project type";
        QTest::newRow("mode without output")
            << 2 << "jx_1" << 0x2 << BadParameter << "the mode names no output";
    }

    void printStartChecksTheLayout()
    {
        QFETCH(int, projectType);
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(int, result);
        QFETCH(QString, reason);
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        engine.LlSetFileExtensionsA(job, 1, "lbl", "lbp", "lbb");
        QCOMPARE(
            engine.LlPrintWithBoxStartA(job, projectType, Layout(file), mode, 3, nullptr, "Jornix - Tasks"),
            result);
        const ReportJob& kept = *engine.Job(job);
        QCOMPARE(kept.stage, result == Ok ? JobStage::Printing : JobStage::SetUp);
        QVERIFY2(kept.lastError.contains(reason), qPrintable(kept.lastError));
        if (result == Ok)
            QCOMPARE(int(kept.layout.projectType), projectType);
    }

    void aListRunAnswersAsItsCallersExpect()
    {
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        QCOMPARE(engine.LlPrint(job), NotPrinting);
        QCOMPARE(engine.LlSetPrinterToDefaultA(job, 2, Layout("jx_1")), Ok);
        QCOMPARE(engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", folder_.path()), Ok);
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 2, Layout("jx_1"), 0x800, 3, nullptr, "Jornix - Tasks"),
                 Ok);
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 2, Layout("jx_1"), 0x800, 3, nullptr, "again"),
                 AlreadyPrinting);
        QCOMPARE(engine.LlPrintSetOptionStringA(job, ReportOptionString::PrintTarget, "PDF"), Ok);
        QCOMPARE(engine.LlPrint(job), Ok);
        for (int record = 1; record <= 3; ++record) {
            QCOMPARE(engine.LlPrintFields(job), Ok);
            QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", record * 30), Ok);
        }
        QCOMPARE(engine.LlPrintFieldsEnd(job), Ok);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QCOMPARE(engine.LlPrintEnd(job, 0), NotPrinting);
        ReportJob& kept = *engine.Job(job);
        QCOMPARE(kept.recordsPrinted, 3);
        QCOMPARE(kept.boxPercent, 90);
        QCOMPARE(kept.printOptionStrings.value(ReportOptionString::PrintTarget), QStringLiteral("PDF"));

        kept.filesWritten = QStringList{"/out/report.jpg", "/out/2.jpg"};
        QString files;
        QCOMPARE(engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240), Ok);
        QCOMPARE(files, QStringLiteral("/out/report.jpg;/out/2.jpg"));
        QCOMPARE(engine.LlSetOptionStringA(job, ReportOptionString::FilesWritten, "x"), BadParameter);
        QCOMPARE(engine.LlPreviewDisplayA(job, Layout("jx_1"), "", nullptr), NotPrinting); // a file has no preview
        QCOMPARE(engine.LlPreviewDeleteFilesA(job, Layout("jx_1"), ""), Ok);
        QCOMPARE(engine.LlJobClose(job), Ok);
    }

    void cancelInTheBoxStopsTheRun()
    {
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 3, Layout("jx_2"), 0x200, 3, nullptr, "Jornix - Cards"),
                 Ok);
        QCOMPARE(engine.LlPrintFields(job), NotPrinting); // fields belong to list projects
        QCOMPARE(engine.LlPrint(job), Ok);
        engine.Cancel(job);
        QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", 50), Cancelled);
        QCOMPARE(engine.LlPrint(job), Cancelled);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        // A new run starts afresh.
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 3, Layout("jx_2"), 0x200, 3, nullptr, "Jornix - Cards"),
                 Ok);
        QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", 50), Ok);
    }

    void theDebugCallTracesEveryCall()
    {
        ReportJobs engine;
        QCOMPARE(engine.LlSetOption(1, 10, 1), BadJob); // not traced yet
        QTest::ignoreMessage(QtInfoMsg, "report engine: LlSetDebug(1) = 0");
        QTest::ignoreMessage(QtInfoMsg, "report engine: LlJobOpen(1) = 1");
        QTest::ignoreMessage(
            QtInfoMsg, "report engine: LlDefineVariableExtA(1, \"Task.Num\", \"5\", 0x08000000, 0) = 0");
        QTest::ignoreMessage(QtInfoMsg, "report engine: LlPrint(1) = -4 (the job is not printing)");
        engine.LlSetDebug(1);
        const int job = engine.LlJobOpen(1);
        engine.LlDefineVariableExtA(job, "Task.Num", "5", ReportItemType::Numeric, 0);
        engine.LlPrint(job);
    }

    void twoJobsOnTwoProgramThreadsKeepTheirOwnState()
    {
        ReportJobs engine;
        struct Run
        {
            int job = 0;
            QList<int> results;
            QString value;
            qint64 option = -1;
        };
        Run list, card;
        const auto run = [&](Run& mine, int projectType, const QString& file, const QString& number,
                             bool cancel) {
            return [&, projectType, file, number, cancel] {
                mine.job = engine.LlJobOpen(1);
                engine.LlSetOption(mine.job, 10, projectType);
                engine.LlDefineVariableExtA(mine.job, "Task.Num", number, ReportItemType::Numeric, 0);
                YieldNow(); // the other run goes on meanwhile
                mine.results << engine.LlPrintWithBoxStartA(mine.job, projectType, Layout(file), 0x200, 3,
                                                            nullptr, "Jornix - " + number);
                YieldNow();
                if (cancel)
                    engine.Cancel(mine.job);
                mine.results << engine.LlPrint(mine.job);
                YieldNow();
                mine.results << engine.LlPrintSetBoxTextA(mine.job, "Printing...", 100);
                mine.value = engine.Job(mine.job)->variables.Value("Task.Num");
                mine.option = engine.Job(mine.job)->options.value(10);
                mine.results << engine.LlPrintEnd(mine.job, 0) << engine.LlJobClose(mine.job);
            };
        };
        const ThreadNumber first = StartProcedureThread(run(list, 2, "jx_1", "1", false));
        const ThreadNumber second = StartProcedureThread(run(card, 3, "jx_2", "2", true));
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ThreadIsActive(first) && !ThreadIsActive(second));
        QCOMPARE(list.job, 1);
        QCOMPARE(card.job, 2);
        QCOMPARE(list.results, QList<int>({Ok, Ok, Ok, Ok, Ok}));
        QCOMPARE(card.results, QList<int>({Ok, Cancelled, Cancelled, Ok, Ok}));
        QCOMPARE(list.value, QStringLiteral("1"));
        QCOMPARE(card.value, QStringLiteral("2"));
        QCOMPARE(list.option, 2);
        QCOMPARE(card.option, 3);
        QCOMPARE(engine.OpenJobs(), 0);
    }

    void theRecordingDoubleTakesTheEnginesPlace()
    {
        ReportEngine* real = &TheReportEngine();
        {
            test::RecordingReportEngine recorder;
            recorder.answers["LlPrintFields"] = {RecordDidNotFit, Ok};
            recorder.filesWritten = {"/out/a.pdf"};
            ReportEngine& engine = TheReportEngine();
            QCOMPARE(&engine, &recorder);
            const int job = engine.LlJobOpen(1);
            engine.LlDefineFieldExtA(job, "Task.Num", "7", ReportItemType::Numeric, 0);
            QCOMPARE(engine.LlPrintFields(job), RecordDidNotFit);
            QCOMPARE(engine.LlPrint(job), Ok);
            QCOMPARE(engine.LlPrintFields(job), Ok);
            QString files;
            engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240);
            QCOMPARE(files, QStringLiteral("/out/a.pdf"));
            QCOMPARE(recorder.calls,
                     QStringList({"LlJobOpen(1)", "LlDefineFieldExtA(1, \"Task.Num\", \"7\", 0x08000000, 0)",
                                  "LlPrintFields(1)", "LlPrint(1)", "LlPrintFields(1)",
                                  "LlGetOptionStringA(1, 20, 10240)"}));
            QCOMPARE(recorder.fields.Value("task.num"), QStringLiteral("7"));
        }
        QCOMPARE(&TheReportEngine(), real);
    }
};

QTEST_MAIN(TestReportJobs)
#include "tst_ReportJobs.moc"
