#include "../core/DataFolder.h"
#include "core/CreateJornixDatabase.h"
#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "core/SetTableFileNames.h"
#include "platform/framework/WindowController.h"
#include "platform/reportengine/Formula.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"
#include "platform/reportengine/ReportRuns.h"
#include "reports/PrintProcess.h"
#include "reports/ReportAreas.h"
#include "reports/ReportsProcedures.h"
#include "reports/ResetReportLayouts.h"

#include "platform/runtime/DayNumbers.h"

#include <QDir>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

using namespace jornix;

namespace {

// Every row of a table in number order, each as all its values.
QList<QVariantList> Rows(FileManager* access)
{
    QList<QVariantList> rows;
    access->Open();
    View view(access->GetTable());
    view.SetOrder(0);
    std::vector<ViewRow> read;
    view.Read({}, Direction::Forward, 1000, read);
    for (const ViewRow& row : read) {
        QVariantList values;
        for (int field = 0; field < row.record.FieldCount(); ++field)
            values << row.record.Value(field);
        rows << values;
    }
    access->Close();
    return rows;
}

std::optional<Record> Layout(qint32 ref)
{
    AccessLLL_->Open();
    AccessLLL_->GetTable().ClearBuffer();
    AccessLLL_->Buffer().SetValue("LLL_:Ref", ref);
    std::optional<Record> row;
    if (AccessLLL_->FetchQuiet(0) == 0)
        row = AccessLLL_->Buffer();
    AccessLLL_->Close();
    return row;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// The layout files of the data folder with their contents (the record files are compared by their rows).
QMap<QString, QByteArray> Files(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList({"jx_*"}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        files.insert(info.fileName(), info.isDir() ? QByteArray("<folder>") : Contents(info.filePath()));
    return files;
}

// Every formula of a layout: texts, conditions, table cells, groups.
QStringList Formulas(const ReportLayout& layout)
{
    QStringList formulas;
    for (const std::vector<LayoutObject>& layer : layout.layers)
        for (const LayoutObject& object : layer) {
            formulas << object.lines << object.condition << object.table.groupFormula;
            for (const auto* lines : {&object.table.headerLines, &object.table.groupHeaderLines,
                                      &object.table.dataLines, &object.table.footerLines})
                for (const TableLine& line : *lines) {
                    formulas << line.condition;
                    for (const TableCell& cell : line.cells)
                        formulas << cell.formula;
                }
        }
    return formulas;
}

// Runs a print of the area's records (those the filter chooses) through a layout of the data folder.
void PrintThrough(int area, int layout, int output, const QString& file, const QString& filter)
{
    StartProcedureThread([&] {
        const std::vector<FileManager*> tables{AccessLOG, AccessTSK, AccessCON, AccessREM,
                                               AccessSTK, AccessSCR, AccessMSC, AccessLLL_};
        for (FileManager* access : tables)
            access->Open();
        PrintProcess(area, layout, 1, output, 0, 0, file, "All records", filter);
        for (FileManager* access : tables)
            access->Close();
    });
    QVERIFY(WaitForProgramThreads(60000));
}

void AddLogEvent(qint32 number, int dayNumber, const QString& description)
{
    AccessLOG->Open();
    Table& table = AccessLOG->GetTable();
    table.ClearBuffer();
    table.Buffer().SetValue("LOG:LogNum", number);
    table.Buffer().SetValue("LOG:LogDate", dayNumber);
    table.Buffer().SetValue("LOG:LogDescription", description);
    table.Buffer().SetValue("LOG:LogLocation", "Leeds");
    QVERIFY(table.Insert());
    AccessLOG->Close();
}

} // namespace

class TestResetReportLayouts : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> dir_;
    QList<MessageBoxRequest> asked_;
    int answer_ = MessageButton::Yes;
    int response_ = 0;

    QString DataFile(const QString& name) const { return GLO.DataPath + name; }

    void Run(const std::function<void()>& work)
    {
        StartProcedureThread([&] {
            work();
            response_ = CurrentContext().GlobalResponseCode;
        });
        QVERIFY(WaitForProgramThreads(60000));
    }

    // The data folder of a first run with the sample data, made once and copied into each test's data folder:
    // making it is most of this test's time, and every test starts from the same files.
    std::unique_ptr<QTemporaryDir> firstRun_;

    void FirstRun()
    {
        if (!firstRun_) {
            firstRun_ = std::make_unique<QTemporaryDir>();
            const QString data = GLO.DataPath;
            GLO.DataPath = firstRun_->path() + "/";
            SetTableFileNames(GLO.DataPath);
            Run([] {
                const DatabaseCreation made = CreateJornixDatabase({"PS", "Pat Sample", ""}, true);
                QVERIFY2(made.Ok(), qPrintable(made.failure));
                QCOMPARE(made.notes, QStringList());
            });
            GLO.DataPath = data;
            SetTableFileNames(GLO.DataPath);
        }
        const QDir made(firstRun_->path());
        for (const QString& name : made.entryList(QDir::Files))
            QVERIFY(QFile::copy(made.filePath(name), GLO.DataPath + name));
    }

    // Turns a factory row into a layout of the user's, of the given type, with its three files.
    void MakeUserLayout(qint32 ref, int type, const QString& description)
    {
        AccessLLL_->Open();
        AccessLLL_->GetTable().ClearBuffer();
        AccessLLL_->Buffer().SetValue("LLL_:Ref", ref);
        QCOMPARE(AccessLLL_->FetchQuiet(0), 0);
        Record& row = AccessLLL_->Buffer();
        row.SetValue("LLL_:FactoryDefault", 0);
        row.SetValue("LLL_:Type", type);
        row.SetValue("LLL_:Description", description);
        row.SetValue("LLL_:Misc1", "kept " + description);
        QCOMPARE(AccessLLL_->UpdateQuiet(), 0);
        AccessLLL_->Close();
        for (const char* extension : {"rpt", "bmp", "prn"})
            QVERIFY(WriteFile(DataFile(QStringLiteral("jx_%1.%2").arg(ref).arg(extension)),
                              (description + "/" + extension).toUtf8()));
    }

private slots:
    void initTestCase() { UseMinimumPasswordLimits(true); }
    void cleanupTestCase() { EndProgramThreads(); }

    void init()
    {
        dir_ = std::make_unique<test::DataFolder>();
        GLO.DataPath = dir_->FilePath("data/");
        QVERIFY(QDir().mkpath(GLO.DataPath));
        QVERIFY(QDir().mkpath(ProgramFolder + "DefaultData"));
        SetTableFileNames(GLO.DataPath);
        DataPathText = GLO.DataPath;
        const QDir shipped(JORNIX_PROGRAM_DIR "/DefaultData");
        for (const QString& name : shipped.entryList(QDir::Files))
            QVERIFY(QFile::copy(shipped.filePath(name), ProgramFolder + "DefaultData/" + name));
        RegisterReportsProcedures();
        asked_.clear();
        answer_ = MessageButton::Yes;
        SetMessageBoxSink([this](const MessageBoxRequest& request) {
            asked_ << request;
            return request.buttons & MessageButton::Yes ? answer_ : request.defaultButton;
        });
    }

    void cleanup()
    {
        SetMessageBoxSink({});
        ClearProcedures();
        dir_.reset();
    }

    void aFirstRunInstallsTheFactoryLayouts_data()
    {
        QTest::addColumn<int>("ref");
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QVariantList>("options"); // type, style, output, cover page, print filter
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QVariantList>("wmf"); // loop, width, height
        const QString log = "5|1|0|1|0|0|", task = "12|1|1|0|0|1|0|0|1|0|0|1|1|", reminder = "7|1|1|1|1|1|0|0|";
        const QVariantList noWmf{0, 0.0, 0.0};
        const auto row = [](int ref, int area, const char* description, QVariantList options, QString filter,
                            QString notes, QVariantList wmf) {
            QTest::addRow("%d", ref) << ref << area << QString(description) << options << filter << notes << wmf;
        };
        row(1, 1, "Summary Report Grouped by Log Date", {1, 1, 2, 1, 1}, log,
            "This report will print a simple summary list of Log Events grouped by Log Date.", noWmf);
        row(2, 1, "Summary Report Sorted by Log Description", {1, 1, 2, 1, 1}, "5|2|0|1|0|0|",
            "This report will print a simple summary list of Log Events sorted by Log Description.", noWmf);
        row(3, 1, "Summary Report Grouped by Log Type", {1, 1, 2, 1, 1}, "5|3|0|1|0|0|",
            "This report will print a simple summary list of Log Events grouped by Log Type.", noWmf);
        row(4, 1, "Formatted Log Notes (Detail)", {2, 3, 2, 1, 1}, log,
            "This report will use the special WMF loop to print the formatted Log Notes text. The Log Event "
            "details will also be printed, so the Log Notes will be limited in size when printing greater than "
            "one page.",
            {1, 7.5, 6.5});
        row(5, 3, "Summary Contact List", {1, 1, 2, 1, 1}, "1|1|", "Summary Report of Contacts", noWmf);
        row(6, 3, "Avery Laser Labels", {3, 2, 2, 1, 1}, "1|1|", "1\" x 2 5/8\" (30 labels/sheet)", noWmf);
        row(7, 3, "Detail Contact", {1, 2, 2, 1, 1}, "1|1|", "Detail Contact", noWmf);
        row(8, 2, "Summary Report Sorted by Task Description", {1, 1, 2, 1, 1}, task,
            "This report will print a simple summary list of Tasks sorted by Task Description.", noWmf);
        row(9, 2, "Detail Report", {1, 2, 2, 1, 1}, task,
            "This report will print the Task details sorted by Description", noWmf);
        row(10, 2, "Summary Grouped by Priority", {1, 1, 2, 1, 1}, "12|5|1|0|0|1|0|0|1|0|0|1|1|",
            "This report will print a simple summary list of Tasks grouped by Task Priority.", noWmf);
        row(11, 4, "Reminder Summary", {1, 1, 2, 1, 1}, reminder, "Reminder Summary", noWmf);
        row(12, 4, "Reminder (Detail)", {1, 2, 2, 1, 1}, reminder, "Reminder (Detail)", noWmf);
        row(13, 5, "Sticky Notes (Detail)", {1, 2, 2, 1, 1}, "1|1|", "Sticky Notes (Detail)", noWmf);
        row(14, 6, "Scrap Book (Detail)", {1, 2, 2, 1, 1}, "1|1|", "Scrap Book (Detail)", noWmf);
        row(15, 1, "Larger Formatted Log Notes", {2, 3, 2, 1, 1}, log,
            "This report will use the special WMF loop to print the formatted Log Notes text. No Log Event "
            "details will be printed. Use this report when you want to print more of the formatted Log Notes.",
            {1, 7.5, 8.5});
        row(16, 1, "Export to Microsoft Excel", {1, 2, 12, 0, 0}, log,
            "This report shows the new export to Microsoft Excel capabilities added with Jornix 2.0.", noWmf);
        row(17, 1, "Plain Text Log Notes (Detail)", {1, 2, 2, 1, 1}, log,
            "This report will print the Log Notes as plain text. All formatting will be removed prior to being "
            "printed.",
            noWmf);
    }

    void aFirstRunInstallsTheFactoryLayouts()
    {
        QFETCH(int, ref);
        QFETCH(int, area);
        QFETCH(QVariantList, options);
        QFETCH(QVariantList, wmf);
        FirstRun();
        QCOMPARE(asked_.size(), 0);
        const std::optional<Record> row = Layout(ref);
        QVERIFY(row);
        const auto values = [&](const QStringList& fields) {
            QVariantList list;
            for (const QString& field : fields)
                list << row->Value("LLL_:" + field);
            return list;
        };
        QCOMPARE(row->Value("LLL_:AreaRef").toInt(), area);
        QTEST(row->Value("LLL_:Description").toString(), "description");
        QCOMPARE(values({"Type", "Style", "OutputFormat", "PrintCoverPage", "PrintFilter"}),
                 options);
        QTEST(row->Value("LLL_:Filter").toString(), "filter");
        QTEST(row->Value("LLL_:Notes").toString(), "notes");
        QCOMPARE(values({"WMFSpecialLoop", "WMFWidth", "WMFHeight"}),
                 wmf);
        QCOMPARE(values({"FileName", "FactoryDefault", "PrinterOptions", "OpenOutputFile", "SortOrder", "Pages",
                         "Misc1", "Misc2", "Misc3"}),
                 QVariantList({QString("jx_%1").arg(ref), 1, 0, 0, 1, 1, "", "", ""}));

        ReportLayout layout;
        QString error;
        QVERIFY2(ReadLayoutFile(DataFile(QString("jx_%1.rpt").arg(ref)), layout, error), qPrintable(error));
        QVERIFY(QImageReader(DataFile(QString("jx_%1.bmp").arg(ref))).canRead());

        // The sentinels, once each: the setup's area row 99 stays as it was.
        const QList<QVariantList> layouts = Rows(AccessLLL_);
        QCOMPARE(layouts.size(), 18);
        QCOMPARE(layouts.last().mid(0, 2), QVariantList({99, 99}));
        QCOMPARE(Rows(AccessLLA_).last(), QVariantList({99, "Dummy Record", ""}));
    }

    void everyFormulaOfTheShippedLayoutsIsSound_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 1; number <= 17; ++number)
            QTest::addRow("jx_%d", number) << number;
    }

    void everyFormulaOfTheShippedLayoutsIsSound()
    {
        QFETCH(int, number);
        ReportLayout layout;
        QString error;
        QVERIFY2(ReadLayoutFile(ProgramFolder + QString("DefaultData/jx_%1.rpt").arg(number), layout, error),
                 qPrintable(error));
        const QStringList formulas = Formulas(layout);
        QVERIFY(formulas.size() > 5);
        for (const QString& text : formulas) {
            const Formula formula(text);
            QVERIFY2(formula.Problem(), qPrintable(text + ": " + formula.Problem().Message()));
        }
    }

    void eachFactoryLayoutPrintsTheSampleDataToPdf_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("area");
        QTest::addColumn<QStringList>("shows");
        const int areas[] = {1, 1, 1, 1, 3, 3, 3, 2, 2, 2, 4, 4, 5, 6, 1, 1, 1};
        const QMap<int, QStringList> shows{{1, {"Welcome to Jornix"}},
                                           {5, {"Sample, Pat", "Example Company, Inc."}},
                                           {8, {"Sample Task"}},
                                           {13, {"A quick note", "Here is an example sticky note."}},
                                           {14, {".Sig 1", ".Sig 2"}},
                                           {4, {"Welcome to Jornix"}},
                                           {17, {"Welcome to Jornix", "This is your journal."}}};
        for (int number = 1; number <= 17; ++number)
            QTest::addRow("jx_%d", number) << number << areas[number - 1] << shows.value(number);
    }

    void eachFactoryLayoutPrintsTheSampleDataToPdf()
    {
        QFETCH(int, number);
        QFETCH(int, area);
        QFETCH(QStringList, shows);
        FirstRun();
        const QString pdf = GLO.DataPath + QString("jx_%1.pdf").arg(number);
        Run([&] {
            const std::vector<FileManager*> tables{AccessLOG, AccessTSK, AccessCON, AccessREM,
                                                   AccessSTK, AccessSCR, AccessMSC, AccessLLL_};
            for (FileManager* access : tables)
                access->Open();
            PrintProcess(area, number, 1, OutputFormat::Pdf, 0, 0, pdf, "All records", "");
            for (FileManager* access : tables)
                access->Close();
        });
        QVERIFY2(asked_.isEmpty(), qPrintable(asked_.value(0).caption + ": " + asked_.value(0).text));
        if (area == 4) { // no sample reminder: no page
            QVERIFY(!QFileInfo::exists(pdf));
            return;
        }
        QVERIFY(QFileInfo::exists(pdf));
        const QString text = test::PdfPages(pdf).join("\n");
        for (const QString& shown : shows)
            QVERIFY2(text.contains(shown), qPrintable(shown + " not in:\n" + text));
    }

    // The spreadsheet of the shipped export layout, as a reset brings it: a date cell for a dated event,
    // an empty cell for an undated one, texts without the blanks that pad the fields.
    void theExportLayoutWritesDatesAsDateCells()
    {
        FirstRun();
        Run([] { ResetReportLayouts(0); });
        AddLogEvent(100, DayNumberFromDate(QDate(2010, 7, 15)), "Dated event");
        AddLogEvent(101, 0, "Undated event");
        const QString xls = GLO.DataPath + "events.xls";
        PrintThrough(1, 16, OutputFormat::Xls, xls, "LOG:LogNum >= 100");
        QVERIFY2(asked_.isEmpty(), qPrintable(asked_.value(0).caption + ": " + asked_.value(0).text));
        const QString script =
            "import sys, json, xlrd\n"
            "book = xlrd.open_workbook(sys.argv[1])\n"
            "sheet = book.sheet_by_index(0)\n"
            "print(json.dumps([[[c.ctype, c.value] for c in sheet.row(r)] for r in range(sheet.nrows)]))\n";
        QProcess python;
        python.start("/usr/bin/python3", {"-c", script, xls});
        QVERIFY(python.waitForFinished(30000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(rows.size(), 3);
        // The rows by the events' numbers: the undated event sorts first.
        const auto cell = [&rows](int number, int column) {
            for (const QJsonValue& row : rows)
                if (row.toArray().at(0).toArray().at(1).toDouble() == number)
                    return row.toArray().at(column).toArray();
            return QJsonArray();
        };
        const int Empty = 0, Text = 1, Date = 3;
        QCOMPARE(rows.at(0).toArray().at(1).toArray().at(1).toString(), QString("Date"));
        QCOMPARE(cell(100, 1).at(0).toInt(), Date);
        QCOMPARE(cell(100, 1).at(1).toDouble(), 40374.0);
        QCOMPARE(cell(100, 4).at(0).toInt(), Text);
        QCOMPARE(cell(100, 4).at(1).toString(), QString("Dated event"));
        QCOMPARE(cell(100, 5).at(1).toString(), QString("Leeds"));
        QCOMPARE(cell(101, 1).at(0).toInt(), Empty);
        QCOMPARE(cell(101, 4).at(1).toString(), QString("Undated event"));
        QCOMPARE(cell(101, 6).at(0).toInt(), Empty); // no duration
    }

    // The cover page of the shipped cards holds the cover and the page's header and footer; each event
    // (of one page) prints on a page of its own after it.
    void theCardsPrintTheirCoverPageBeforeTheRecords_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("jx_4") << 4;
        QTest::newRow("jx_15") << 15;
    }
    void theCardsPrintTheirCoverPageBeforeTheRecords()
    {
        QFETCH(int, number);
        FirstRun();
        const QStringList events{"First event", "Second event", "Third event", "Fourth event"};
        for (int event = 0; event < events.size(); ++event)
            AddLogEvent(100 + event, DayNumberFromDate(QDate(2010, 7, 15 + event)), events[event]);
        const QString pdf = GLO.DataPath + "cards.pdf";
        PrintThrough(1, number, OutputFormat::Pdf, pdf, "LOG:LogNum >= 100");
        QVERIFY2(asked_.isEmpty(), qPrintable(asked_.value(0).caption + ": " + asked_.value(0).text));
        const QStringList pages = test::PdfPages(pdf);
        QCOMPARE(pages.size(), events.size() + 1);
        const QString& cover = pages.first();
        QVERIFY2(cover.contains("Selection:") && cover.contains("Page 1 of 5"), qPrintable(cover));
        QVERIFY2(!cover.contains(" event") && !cover.contains("Location:") && !cover.contains("July"),
                 qPrintable(cover));
        for (int event = 0; event < events.size(); ++event) {
            const QString& page = pages[event + 1];
            QVERIFY2(!page.contains("Selection:"), qPrintable(page));
            QCOMPARE(page.contains(events[event]), number == 4);
            QVERIFY(page.contains(QString("Page %1 of 5").arg(event + 2)));
        }
    }

    void userLayoutsMoveAboveTheHighestNumberWithTheirFiles()
    {
        FirstRun();
        MakeUserLayout(3, 3, "My labels");
        MakeUserLayout(12, 2, "My cards");
        // A user layout above the sentinel, as the Report Designer numbers new ones.
        AccessLLL_->Open();
        QCOMPARE(AccessLLL_->PrepareRecord(), 0);
        const qint32 above = AccessLLL_->Buffer().Value("LLL_:Ref").toInt();
        AccessLLL_->Buffer().SetValue("LLL_:Description", "Above");
        AccessLLL_->Buffer().SetValue("LLL_:FileName", QString("jx_%1").arg(above));
        QCOMPARE(AccessLLL_->Insert(), 0);
        AccessLLL_->Close();
        QVERIFY(above > 99);
        QVERIFY(WriteFile(DataFile(QString("jx_%1.rpt").arg(above)), "above"));
        const std::optional<Record> before3 = Layout(3), before12 = Layout(12), beforeAbove = Layout(above);

        Run([] { ResetReportLayouts(0); });
        QCOMPARE(response_, int(Response::Completed));
        QCOMPARE(asked_.size(), 0);

        const QList<std::pair<qint32, std::optional<Record>>> moved{{above + 1, before3}, {above + 2, before12}};
        for (const auto& [number, before] : moved) {
            const std::optional<Record> after = Layout(number);
            QVERIFY(after);
            const qint32 old = before->Value("LLL_:Ref").toInt();
            for (int field = 0; field < after->FieldCount(); ++field) {
                const QString name = after->Owner()->Field(field).name;
                if (name.endsWith("Ref", Qt::CaseInsensitive) && !name.endsWith("AreaRef", Qt::CaseInsensitive))
                    QCOMPARE(after->Value(field).toInt(), number);
                else if (name.endsWith("FileName", Qt::CaseInsensitive))
                    QCOMPARE(after->Value(field).toString(), QString("jx_%1").arg(number));
                else
                    QCOMPARE(after->Value(field), before->Value(field));
            }
            for (const char* extension : {"rpt", "bmp", "prn"})
                QCOMPARE(Contents(DataFile(QString("jx_%1.%2").arg(number).arg(extension))),
                         (before->Value("LLL_:Description").toString() + "/" + extension).toUtf8());
            QCOMPARE(Layout(old)->Value("LLL_:FactoryDefault").toInt(), 1);
            QVERIFY(!QFileInfo::exists(DataFile(QString("jx_%1.prn").arg(old))));
            QCOMPARE(Contents(DataFile(QString("jx_%1.rpt").arg(old))),
                     Contents(ProgramFolder + QString("DefaultData/jx_%1.rpt").arg(old)));
        }
        QCOMPARE(Layout(3)->Value("LLL_:Description").toString(), QString("Summary Report Grouped by Log Type"));
        QCOMPARE(Layout(3)->Value("LLL_:Type").toInt(), 1);
        QVERIFY(*Layout(above) == *beforeAbove);
        QCOMPARE(Contents(DataFile(QString("jx_%1.rpt").arg(above))), QByteArray("above"));

        // A second reset adds no second sentinel and moves nothing more.
        Run([] { ResetReportLayouts(0); });
        const QList<QVariantList> layouts = Rows(AccessLLL_);
        QCOMPARE(std::count_if(layouts.cbegin(), layouts.cend(), [](const QVariantList& row) { return row[0] == 99; }),
                 1);
        QCOMPARE(layouts.size(), 17 + 1 + 3);
        QCOMPARE(Rows(AccessLLA_).size(), 7);
    }

    void aFailureChangesNothingAndSaysWhat_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("a shipped sketch missing") << "missing sketch" << "jx_5.bmp";
        QTest::newRow("a shipped layout that does not parse") << "damaged layout" << "jx_7";
        QTest::newRow("a copy that cannot be written") << "target is a folder" << "could not be written";
    }

    void aFailureChangesNothingAndSaysWhat()
    {
        QFETCH(QString, fault);
        QFETCH(QString, told);
        FirstRun();
        MakeUserLayout(3, 3, "My labels");
        MakeUserLayout(12, 2, "My cards");
        if (fault == "missing sketch")
            QVERIFY(QFile::remove(ProgramFolder + "DefaultData/jx_5.bmp"));
        else if (fault == "damaged layout")
            QVERIFY(WriteFile(ProgramFolder + "DefaultData/jx_7.rpt", "<not a layout"));
        else // the second copy's file name is taken by a folder
            for (int number = 100; number < 110; ++number)
                QVERIFY(QDir().mkpath(DataFile(QString("jx_%1.bmp").arg(number))));
        const QList<QVariantList> rows = Rows(AccessLLL_), areas = Rows(AccessLLA_);
        const QMap<QString, QByteArray> files = Files(GLO.DataPath);

        Run([] { ResetReportLayouts(1); });
        QCOMPARE(response_, int(Response::Cancelled));
        QCOMPARE(Rows(AccessLLL_), rows);
        QCOMPARE(Rows(AccessLLA_), areas);
        QCOMPARE(Files(GLO.DataPath), files);
        QCOMPARE(asked_.size(), 2); // the question, then what failed
        QCOMPARE(asked_[1].icon, MessageIcon::Exclamation);
        QVERIFY2(asked_[1].text.contains(told), qPrintable(asked_[1].text));
        QVERIFY(asked_[1].text.endsWith("No report layout was changed."));
    }

    void askingFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<int>("response");
        QTest::newRow("yes") << int(MessageButton::Yes) << QStringList{"Report Layouts were reset."}
                             << int(Response::Completed);
        QTest::newRow("no") << int(MessageButton::No) << QStringList{"Reset Report Layouts was aborted."}
                            << int(Response::Cancelled);
    }

    void askingFirst()
    {
        QFETCH(int, answer);
        FirstRun();
        MakeUserLayout(3, 3, "My labels");
        const QList<QVariantList> rows = Rows(AccessLLL_);
        answer_ = answer;
        Run([] { ResetReportLayouts(1); });
        QTEST(response_, "response");
        QCOMPARE(asked_.size(), 2);
        QCOMPARE(asked_[0].caption, QString("Reset Report Layouts?"));
        QCOMPARE(asked_[0].icon, MessageIcon::Question);
        QCOMPARE(asked_[0].buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(asked_[0].defaultButton, int(MessageButton::Yes));
        QVERIFY(asked_[0].text.endsWith("before proceeding.\n\nProceed with the Report Layout Update?"));
        QCOMPARE(asked_[1].caption, QString("Information"));
        QCOMPARE(asked_[1].icon, MessageIcon::Information);
        QTEST(QStringList(asked_[1].text), "told");
        QCOMPARE(Rows(AccessLLL_) == rows, answer == MessageButton::No);
    }
};

QTEST_MAIN(TestResetReportLayouts)
#include "tst_ResetReportLayouts.moc"
