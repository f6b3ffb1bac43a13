#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"
#include "reports/ReportAreas.h"
#include "reports/ReportData.h"
#include "reports/ReportsProcedures.h"
#include "reports/UpdateReportDesign.h"

#include "core/DataFolder.h"
#include "organizer/OrganizerTest.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"
#include "platform/reportengine/RecordingReportEngine.h"
#include "reports/PrintOptionsTest.h"

#include <QAbstractButton>
#include <QFile>
#include <QSpinBox>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::CheckPicture;
using jornix::test::Column;
using jornix::test::RemoveAll;

// The Report Designer and the layout form as the user meets them, over a data folder of the test's own.
namespace {

using Values = QMap<QString, QVariant>;

qint32 AddLayout(const Values& values)
{
    FileManager& access = *AccessLLL_;
    access.GetTable().ClearBuffer();
    if (access.PrepareRecord() != 0)
        return 0;
    Record& record = access.Buffer();
    for (auto value = values.begin(); value != values.end(); ++value)
        record.SetValue(value.key(), value.value());
    if (record.Value("LLL_:FileName").toString().isEmpty())
        record.SetValue("LLL_:FileName", "jx_" + record.Value("LLL_:Ref").toString());
    return access.Insert() == 0 ? record.Value("LLL_:Ref").toInt() : 0;
}

// Every layout row, in the order of their numbers.
std::vector<Record> Layouts()
{
    Table& table = AccessLLL_->GetTable();
    View all(table);
    all.SetOrder(table.KeyIndex("LLL_:RefKey"));
    std::vector<ViewRow> rows;
    all.Read({}, Direction::Forward, 1000, rows);
    std::vector<Record> records;
    for (const ViewRow& row : rows)
        if (table.FetchRow(row.position.rowId))
            records.push_back(table.Buffer());
    return records;
}

std::optional<Record> Layout(qint32 number)
{
    for (const Record& record : Layouts())
        if (record.Value("LLL_:Ref").toInt() == number)
            return record;
    return std::nullopt;
}

QByteArray ValidLayout()
{
    QByteArray data;
    QString error;
    ReportLayout layout;
    if (!SerializeLayout(layout, data, error))
        qWarning() << error;
    return data;
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReportDesignerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::TestFrame> frame;
    QString chosenFile; // what the file dialog answers
    QList<CommonDialogRequest> dialogs;

    WindowController* OpenDesigner(int tab = 1)
    {
        StartProcedure("ReportDesigner");
        WaitIdle();
        WindowController* window = FindWindow("ReportDesigner");
        if (window && tab != 1)
            PickTab(*window, ControlNumber(*window, "Sheet"), tab);
        return window;
    }

    // The form of the designer's row (or a new layout), opened with the button.
    WindowController* OpenForm(const QString& button, int tab = 1, int row = 0)
    {
        WindowController* window = OpenDesigner(tab);
        if (!window)
            return nullptr;
        PickRow(*window, ControlNumber(*window, "List"), row);
        Press(*window, button);
        return FindWindow("UpdateReportDesign");
    }

    QString DataFile(const QString& name) const { return GLO.DataPath + name; }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        folder = std::make_unique<test::DataFolder>();
        frame = std::make_unique<test::TestFrame>();
        QVERIFY(RelationsLLL_->Open() == Level::GoOn);
        RegisterStandInWindows();
        RegisterCoreProcedures();
        RegisterReportsProcedures();
        SetCommonDialogSink([this](const CommonDialogRequest& request) {
            dialogs << request;
            CommonDialogAnswer answer;
            answer.accepted = !chosenFile.isEmpty();
            answer.path = chosenFile;
            return answer;
        });
    }
    void cleanupTestCase()
    {
        SetCommonDialogSink({});
        EndProgramThreads();
        RelationsLLL_->Close();
        frame.reset();
        folder.reset();
    }
    void init()
    {
        CurrentUserAccess.fill(2);
        GLO = PreservedSettings();
        GLO.DataPath = folder->Path();
        chosenFile.clear();
        dialogs.clear();
        RemoveAll(*AccessLLL_);
        QDir data(GLO.DataPath);
        for (const QString& file : data.entryList({"*.rpt", "*.prn", "*.bmp", "*.txt", "*.lst"}, QDir::Files))
            QVERIFY(data.remove(file));
    }
    void cleanup()
    {
        for (const char* procedure : {"UpdateReportDesign", "ReportDesigner"})
            while (WindowController* window = FindWindow(QString::fromLatin1(procedure))) {
                window->CANCELACTION = 0;
                PostEvent(Event::CloseWindow, 0, window->Thread());
                WaitIdle();
            }
        QVERIFY(WindowController::OpenWindows().empty());
    }

    void eachTabListsItsAreasLayouts()
    {
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Description", "Events"}, {"LLL_:FactoryDefault", 1}});
        AddLayout({{"LLL_:AreaRef", 3},
                   {"LLL_:Description", "Phone list"},
                   {"LLL_:Type", 2},
                   {"LLL_:OutputFormat", 9},
                   {"LLL_:Style", 3}});
        AddLayout({{"LLL_:AreaRef", 3},
                   {"LLL_:Description", "Addresses"},
                   {"LLL_:Type", 3},
                   {"LLL_:OutputFormat", 13},
                   {"LLL_:Style", 1}});
        WindowController* window = OpenDesigner(3);
        QVERIFY(window);
        QCOMPARE(DesignerArea, 3);
        QCOMPARE(Column(*window, 1), (QStringList{"Addresses", "Phone list"}));
        QCOMPARE(Column(*window, 2), (QStringList{"Label", "Card"}));
        QCOMPARE(Column(*window, 3), (QStringList{"TXT", "PDF"}));
        QCOMPARE(Column(*window, 4), (QStringList{"Summary", "One Rec"}));
        QCOMPARE(window->window.Label(ControlNumber(*window, "Guidance")).left(120),
                 QString("From here you can create your own report layouts. Please refer to the Jornix User "
                         "Manual for instructions on how to use the L&L")
                     .left(120));
        CheckPicture(*window, "ReportDesigner");
        PickTab(*window, ControlNumber(*window, "Sheet"), 1);
        QCOMPARE(DesignerArea, 1);
        QCOMPARE(Column(*window, 1), QStringList{"Events"});
        PickTab(*window, ControlNumber(*window, "Sheet"), 5);
        QVERIFY(!window->window.IsEnabled(ControlNumber(*window, "Copy")));
    }

    // The descriptions of the layouts show whole: the column takes the width the others leave.
    void theDescriptionsShowWhole()
    {
        const QStringList descriptions{"Summary Report Grouped by Log Date",
                                       "Summary Report Grouped by Log Type"};
        for (const QString& description : descriptions)
            AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Description", description}});
        WindowController* window = OpenDesigner(1);
        QVERIFY(window);
        WaitIdle();
        const QString problem = test::DescriptionColumnProblem(*window, descriptions);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void theResetAsksFirstAndNoKeepsTheLayouts()
    {
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Description", "Mine"}});
        WindowController* window = OpenDesigner();
        QVERIFY(window);
        test::MessageRecorder boxes({MessageButton::No});
        Press(*window, "Reset");
        QCOMPARE(boxes.boxes.size(), 2);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Reset Report Layouts?"));
        QCOMPARE(boxes.boxes[1].text, QStringLiteral("Reset Report Layouts was aborted."));
        QCOMPARE(Column(*window, 1), QStringList{"Mine"});
    }

    void aUserWithoutAccessGetsAccessDenied()
    {
        CurrentUserAccess[AccessArea::ReportDesigns] = 0;
        test::MessageRecorder boxes;
        StartProcedure("ReportDesigner");
        WaitIdle();
        QCOMPARE(boxes.Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes.boxes[0].text,
                 QString("You are not allowed to view or edit Report Designs. Please contact "
                         "your system administrator to request access."));
        QVERIFY(WindowController::OpenWindows().empty());
    }

    void aNewLayoutTakesTheAreaAndPacksItsInitialOptions_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("memo");
        QTest::newRow("log events") << 1 << "5|1|0|1|0|0|";
        QTest::newRow("tasks") << 2 << "12|1|1|0|0|1|0|0|1|0|0|1|1|";
        QTest::newRow("contacts") << 3 << "1|1|";
        QTest::newRow("reminders") << 4 << "7|1|1|1|1|1|0|0|";
    }
    void aNewLayoutTakesTheAreaAndPacksItsInitialOptions()
    {
        QFETCH(int, area);
        QFETCH(QString, memo);
        WindowController* form = OpenForm("Insert", area);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QString("Record will be Added  (New)"));
        Type(*form, ControlNumber(*form, "Description"), "Mine");
        CheckPicture(*form, QString("UpdateReportDesign%1").arg(area));
        Press(*form, "OK");
        WaitIdle();
        QVERIFY(!FindWindow("UpdateReportDesign"));
        const std::vector<Record> rows = Layouts();
        QCOMPARE(rows.size(), std::size_t(1));
        const Record& row = rows[0];
        QCOMPARE(row.Value("LLL_:AreaRef").toInt(), area);
        QCOMPARE(row.Value("LLL_:PrinterOptions").toInt(), 0);
        QCOMPARE(row.Value("LLL_:FileName").toString(), "jx_" + row.Value("LLL_:Ref").toString());
        QCOMPARE(row.Value("LLL_:Filter").toString(), memo);
        QCOMPARE(row.Value("LLL_:FactoryDefault").toInt(), 0);
    }

    void aChangedLayoutPacksTheOptionsItRead_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("packed");
        QTest::newRow("task sort order") << 2 << "12|5|"
                                         << "12|5|1|0|0|1|0|0|1|0|0|1|1|";
        QTest::newRow("not numbers") << 1 << "x|y|"
                                     << "5|0|0|1|0|0|";
        QTest::newRow("last value without bar") << 4 << "7|2|3|1"
                                                << "7|2|3|1|1|1|0|0|";
        QTest::newRow("area 9") << 9 << "5|1|"
                                << "";
    }
    void aChangedLayoutPacksTheOptionsItRead()
    {
        QFETCH(int, area);
        QFETCH(QString, stored);
        QFETCH(QString, packed);
        const qint32 number =
            AddLayout({{"LLL_:AreaRef", area}, {"LLL_:Description", "Mine  "}, {"LLL_:Filter", stored}});
        DesignerArea = area;
        Start([number] {
            RelationsLLL_->Open();
            AccessLLL_->Buffer().SetValue("LLL_:Ref", number);
            AccessLLL_->Fetch(AccessLLL_->GetTable().KeyIndex("LLL_:RefKey"));
            CurrentContext().GlobalRequestCode = Request::Change;
            UpdateReportDesign();
            RelationsLLL_->Close();
        });
        WaitIdle();
        WindowController* form = FindWindow("UpdateReportDesign");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QString("Record will be Changed  (Mine)"));
        QCOMPARE(form->window.IsHidden(ControlNumber(*form, "OptionsSheet")), area > 6);
        Press(*form, "OK");
        WaitIdle();
        QCOMPARE(Layout(number)->Value("LLL_:Filter").toString(), packed);
    }

    void aViewShowsTheInitialOptions()
    {
        const qint32 number = AddLayout({{"LLL_:AreaRef", 2}, {"LLL_:Filter", "12|5|3|"}});
        Start([number] {
            RelationsLLL_->Open();
            AccessLLL_->Buffer().SetValue("LLL_:Ref", number);
            AccessLLL_->Fetch(AccessLLL_->GetTable().KeyIndex("LLL_:RefKey"));
            CurrentContext().GlobalRequestCode = Request::ViewOnly;
            UpdateReportDesign();
            RelationsLLL_->Close();
        });
        WaitIdle();
        WindowController* form = FindWindow("UpdateReportDesign");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QString("View Record"));
        auto* sortOrder = form->window.Widget(ControlNumber(*form, "Option2_0"));
        QVERIFY(sortOrder);
        QString checked;
        for (const QAbstractButton* radio : sortOrder->findChildren<QAbstractButton*>())
            if (radio->isChecked())
                checked = radio->text();
        QCOMPARE(checked, QString("Description"));
        QCOMPARE(form->window.IsHidden(ControlNumber(*form, "WMFSpecialLoop")), true);
        Press(*form, "OK");
        WaitIdle();
        QCOMPARE(Layout(number)->Value("LLL_:Filter").toString(), QString("12|5|3|"));
    }

    void rangeAllDisablesItsDatesAndKeepsThem()
    {
        const qint32 number = AddLayout(
            {{"LLL_:AreaRef", 1}, {"LLL_:Filter", "5|1|0|2|45000|45100|"}, {"LLL_:FileName", "jx_1"}});
        Q_UNUSED(number);
        WindowController* form = OpenForm("Change");
        QVERIFY(form);
        const int from = ControlNumber(*form, "Date1_3");
        const int pick = ControlNumber(*form, "Pick1_4");
        QVERIFY(form->window.IsEnabled(from));
        QVERIFY(form->window.IsEnabled(pick));
        auto* all = form->window.Widget(ControlNumber(*form, "Range1_2"))->findChild<QAbstractButton*>();
        QVERIFY(all);
        all->click();
        WaitIdle();
        QVERIFY(!form->window.IsEnabled(from));
        QVERIFY(!form->window.IsEnabled(pick));
        QVERIFY(!qobject_cast<QSpinBox*>(form->window.Widget(from))->text().isEmpty());
        Press(*form, "OK");
        WaitIdle();
        QCOMPARE(Layouts()[0].Value("LLL_:Filter").toString(), QString("5|1|0|1|45000|45100|"));
    }

    void selectDatePicksFromTodayOrTheDate_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("packed");
        QTest::newRow("empty from date") << "Pick1_3" << -1 << "Select Start Date"
                                         << "5|1|0|2|46000|45100|";
        QTest::newRow("to date") << "Pick1_4" << 45100 << "Select End Date"
                                 << "5|1|0|2|0|46000|";
    }
    void selectDatePicksFromTodayOrTheDate()
    {
        QFETCH(QString, button);
        QFETCH(int, shown);
        QFETCH(QString, title);
        QFETCH(QString, packed);
        QList<QPair<int, QString>> asked;
        SetLayoutDatePicker([&](int date, const QString& caption) {
            asked.append({date, caption});
            return 46000;
        });
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Filter", "5|1|0|2|0|45100|"}});
        WindowController* form = OpenForm("Change");
        QVERIFY(form);
        Press(*form, button);
        WaitIdle();
        SetLayoutDatePicker({});
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].first, shown < 0 ? Today() : shown);
        QCOMPARE(asked[0].second, title);
        Press(*form, "OK");
        WaitIdle();
        QCOMPARE(Layouts()[0].Value("LLL_:Filter").toString(), packed);
    }

    void copyOfALockedLayoutIsUnlockedWithItsFiles()
    {
        const qint32 source = AddLayout({{"LLL_:AreaRef", 1},
                                         {"LLL_:Description", "Daily log"},
                                         {"LLL_:Notes", "One page a day"},
                                         {"LLL_:FileName", "jx_5"},
                                         {"LLL_:FactoryDefault", 1},
                                         {"LLL_:Type", 2},
                                         {"LLL_:OutputFormat", 9},
                                         {"LLL_:OpenOutputFile", 1},
                                         {"LLL_:PrinterOptions", 0}});
        QVERIFY(WriteFile(DataFile("jx_5.rpt"), "layout"));
        QVERIFY(WriteFile(DataFile("jx_5.prn"), "printer"));
        WindowController* form = OpenForm("Copy");
        QVERIFY(form);
        Press(*form, "OK");
        WaitIdle();
        const std::vector<Record> rows = Layouts();
        QCOMPARE(rows.size(), std::size_t(2));
        const Record& copy = rows[1];
        const QString name = "jx_" + copy.Value("LLL_:Ref").toString();
        QVERIFY(copy.Value("LLL_:Ref").toInt() != source);
        QCOMPARE(copy.Value("LLL_:FileName").toString(), name);
        QCOMPARE(copy.Value("LLL_:FactoryDefault").toInt(), 0);
        QCOMPARE(copy.Value("LLL_:Type").toInt(), 2);
        QCOMPARE(copy.Value("LLL_:Description").toString(), QString("Daily log"));
        QCOMPARE(copy.Value("LLL_:Notes").toString(), QString("One page a day"));
        QCOMPARE(copy.Value("LLL_:OutputFormat").toInt(), 2);
        QCOMPARE(copy.Value("LLL_:OpenOutputFile").toInt(), 0);
        QCOMPARE(copy.Value("LLL_:PrinterOptions").toInt(), 0); // the form's own for a new layout
        QCOMPARE(ReadFile(DataFile(name + ".rpt")), QByteArray("layout"));
        QCOMPARE(ReadFile(DataFile(name + ".prn")), QByteArray("printer"));
        QVERIFY(!QFile::exists(DataFile(name + ".bmp")));
    }

    void aCancelledCopyLeavesNoRowAndNoFiles()
    {
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Description", "Daily log"}, {"LLL_:FileName", "jx_5"}});
        QVERIFY(WriteFile(DataFile("jx_5.rpt"), "layout"));
        WindowController* form = OpenForm("Copy");
        QVERIFY(form);
        form->CANCELACTION = 0;
        Press(*form, "Cancel");
        WaitIdle();
        QVERIFY(!FindWindow("UpdateReportDesign"));
        QCOMPARE(Layouts().size(), std::size_t(1));
        const QStringList left = QDir(GLO.DataPath).entryList({"jx_*"}, QDir::Files);
        QCOMPARE(left, QStringList{"jx_5.rpt"});
    }

    void aLockedLayoutKeepsItsDesignUnlessEditingIsAllowed_data()
    {
        QTest::addColumn<int>("allow");
        QTest::newRow("locked") << 0;
        QTest::newRow("editing allowed") << 1;
    }
    void aLockedLayoutKeepsItsDesignUnlessEditingIsAllowed()
    {
        QFETCH(int, allow);
        GLO.AllowLayoutEdit = quint8(allow);
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:Description", "Daily log"}, {"LLL_:FactoryDefault", 1}});
        WindowController* window = OpenDesigner();
        QVERIFY(window);
        QCOMPARE(window->window.IsEnabled(ControlNumber(*window, "Delete")), allow == 1);
        QVERIFY(window->window.IsEnabled(ControlNumber(*window, "Change")));
        Press(*window, "Change");
        WindowController* form = FindWindow("UpdateReportDesign");
        QVERIFY(form);
        for (const char* control : {"EditLayout", "ImportLayout", "Type"})
            QCOMPARE(form->window.IsEnabled(ControlNumber(*form, control)), allow == 1);
        for (const char* control : {"Description", "Style", "OutputFormat", "Option1_0"})
            QVERIFY(form->window.IsEnabled(ControlNumber(*form, control)));
    }

    void importTakesOnlyALayoutOfOurs_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("taken");
        QTest::newRow("text file") << "notes.txt" << QByteArray("just some text\n") << false;
        QTest::newRow("damaged XML") << "jx_9.rpt" << QByteArray("<layout version=\"1\"><page") << false;
        QTest::newRow("version 1.x") << "ltlog.lst" << QByteArray("\x01\x02LL list") << false;
        QTest::newRow("the target itself") << "jx_1.rpt" << QByteArray() << false;
        QTest::newRow("a valid layout") << "jx_9.rpt" << ValidLayout() << true;
    }
    void importTakesOnlyALayoutOfOurs()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, data);
        QFETCH(bool, taken);
        const QByteArray old = ValidLayout() + "<!-- old -->";
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:FileName", "jx_1"}});
        QVERIFY(WriteFile(DataFile("jx_1.rpt"), old));
        if (!data.isEmpty())
            QVERIFY(WriteFile(DataFile(source), data));
        chosenFile = DataFile(source);
        WindowController* form = OpenForm("Change");
        QVERIFY(form);
        test::MessageRecorder boxes({MessageButton::Yes});
        Press(*form, "ImportLayout");
        WaitIdle();
        QCOMPARE(boxes.Captions().value(0), QString("Replace Report Layout?"));
        QCOMPARE(boxes.boxes.value(0).defaultButton, int(MessageButton::No));
        QCOMPARE(dialogs.value(0).title, QString("Select Jornix Report Layout"));
        QCOMPARE(boxes.Captions().value(1), taken ? QString("Important Information") : QString("Error"));
        QCOMPARE(ReadFile(DataFile("jx_1.rpt")), taken ? data : old);
        QVERIFY(FindWindow("UpdateReportDesign"));
    }

    void editLayoutDeclaresTheAreasItemsBeforeTheDesignerOpens_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("type");
        QTest::newRow("log events list") << 1 << 1;
        QTest::newRow("tasks card") << 2 << 2;
        QTest::newRow("contacts label") << 3 << 3;
    }
    void editLayoutDeclaresTheAreasItemsBeforeTheDesignerOpens()
    {
        QFETCH(int, area);
        QFETCH(int, type);
        AddLayout({{"LLL_:AreaRef", area},
                   {"LLL_:Description", "Mine  "},
                   {"LLL_:FileName", "jx_1"},
                   {"LLL_:Type", type}});
        test::RecordingReportEngine engine;
        WindowController* form = OpenForm("Change", area);
        QVERIFY(form);
        QStringList declaredBeforeDesigner;
        engine.onCall = [&](const QString& call) {
            if (call.startsWith("LlDefineLayoutA"))
                declaredBeforeDesigner = engine.variables.Names();
        };
        Press(*form, "EditLayout");
        WaitIdle();
        const QStringList designer = engine.Calls("LlDefineLayoutA(");
        QCOMPARE(designer.size(), 1);
        QVERIFY2(designer[0].contains(GLO.DataPath + "jx_1") && designer[0].contains("Mine") &&
                     !designer[0].contains("Mine "),
                 qPrintable(designer[0]));
        ReportData expected(area, 1, ProjectTypeOfLayout(type));
        expected.definitions = ReportData::FetchDefinitions(area);
        for (const ReportItem& item : expected.AreaItems(ItemMode::Design))
            QVERIFY2(declaredBeforeDesigner.contains(item.name), qPrintable(item.name));
        for (const int action : {524, 519, 515, 990})
            QVERIFY(engine.Calls(QString("LlDesignerProhibitAction(1, %1)").arg(action)).size() == 1);
        QCOMPARE(engine.Calls("LlJobClose(").size(), 1);
        QVERIFY(FindWindow("UpdateReportDesign"));
    }

    void importOntoANewFileAsksNothing()
    {
        AddLayout({{"LLL_:AreaRef", 1}, {"LLL_:FileName", "jx_1"}});
        QVERIFY(WriteFile(DataFile("other.rpt"), ValidLayout()));
        chosenFile = DataFile("other.rpt");
        WindowController* form = OpenForm("Change");
        QVERIFY(form);
        test::MessageRecorder boxes;
        Press(*form, "ImportLayout");
        WaitIdle();
        QCOMPARE(boxes.Captions(), QStringList{"Important Information"});
        QCOMPARE(ReadFile(DataFile("jx_1.rpt")), ValidLayout());
    }
};

QTEST_MAIN(ReportDesignerTest)
#include "tst_ReportDesigner.moc"
