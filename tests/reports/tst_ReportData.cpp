#include "ReportFixture.h"

#include "platform/reportengine/RecordingReportEngine.h"
#include "platform/runtime/Clock.h"
#include "reports/ReportAreas.h"
#include "reports/ReportData.h"

#include <QTest>

using namespace jornix;
using namespace jornix::test;

namespace {

QStringList Names(const std::vector<ReportItem>& items, const QStringList& prefixes = {""})
{
    QStringList names;
    for (const ReportItem& item : items)
        for (const QString& prefix : prefixes)
            if (item.name.startsWith(prefix)) {
                names << item.name;
                break;
            }
    return names;
}

const QStringList UserFields{"Contacts.Misc", "MISC."};

std::optional<ReportItem> Find(const std::vector<ReportItem>& items, const QString& name)
{
    for (const ReportItem& item : items)
        if (item.name == name)
            return item;
    return std::nullopt;
}

constexpr quint32 Text = 0x10000000;
constexpr quint32 Numeric = 0x08000000;
constexpr quint32 Date = 0x04000000;

} // namespace

class TestReportData : public QObject
{
    Q_OBJECT

private slots:
    void userDefinedFieldsFollowTheDefinitionRow_data()
    {
        QTest::addColumn<bool>("withRow");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no definition row") << false << QStringList{};
        QTest::newRow("fields 2 and 6 shown")
            << true << QStringList{"Contacts.Misc2",   "Contacts.Misc6", "MISC.Misc2Prompt",
                                   "MISC.Misc6Prompt", "MISC.Misc2Len",  "MISC.Misc6Len"};
    }
    void userDefinedFieldsFollowTheDefinitionRow()
    {
        QFETCH(bool, withRow);
        QFETCH(QStringList, expected);
        ReportFixture fixture;
        fixture.AddDefinitions(3, {{1, Text}}); // tasks' row: never read for contacts
        if (withRow)
            fixture.AddDefinitions(4, {{2, Text}, {6, Numeric}});
        ReportData data(ReportArea::Contacts, 1, 2);
        data.definitions = ReportData::FetchDefinitions(ReportArea::Contacts);
        QCOMPARE(data.definitions.has_value(), withRow);
        for (ItemMode mode : {ItemMode::Design, ItemMode::Print})
            QCOMPARE(Names(data.AreaItems(mode), UserFields) + Names(data.Variables(mode), UserFields),
                     expected);
        if (withRow) {
            QCOMPARE(Find(data.AreaItems(ItemMode::Print), "Contacts.Misc6")->type, Numeric);
            QCOMPARE(Find(data.Variables(ItemMode::Print), "MISC.Misc6Prompt")->value, "Field 6:");
            QCOMPARE(Find(data.Variables(ItemMode::Print), "MISC.Misc2Len")->value, "22");
        }
    }

    void listLayoutsSeeItemsAsFieldsToo_data()
    {
        QTest::addColumn<int>("projectType");
        QTest::addColumn<bool>("asFields");
        QTest::newRow("list") << 2 << true;
        QTest::newRow("card") << 3 << false;
        QTest::newRow("label") << 1 << false;
    }
    void listLayoutsSeeItemsAsFieldsToo()
    {
        QFETCH(int, projectType);
        QFETCH(bool, asFields);
        ReportFixture fixture;
        RecordingReportEngine engine;
        ReportData data(ReportArea::Tasks, 1, projectType);
        data.DefineAreaItems(ItemMode::Print);
        data.DefineReportVariables(ItemMode::Print);
        const QStringList items = Names(data.AreaItems(ItemMode::Print));
        QCOMPARE(items.first(), "Task.Num");
        QCOMPARE(items.last(), "Task.Private");
        QCOMPARE(engine.fields.Names(), asFields ? items : QStringList{});
        QCOMPARE(engine.variables.Names(), items + Names(data.Variables(ItemMode::Print)));
    }

    void valueTexts_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        QTest::newRow("undated reminder") << 4 << "REM:ReminderDate" << QVariant(0) << "Reminder.ReminderDate"
                                          << "1e1000";
        QTest::newRow("dated task") << 2 << "TSK:DueDate" << QVariant(81512) << "Task.DueDate"
                                    << "2460369";
        QTest::newRow("log event without date") << 1 << "LOG:LogDate" << QVariant(0) << "Jornix.LogDate"
                                                << "1e1000";
        QTest::newRow("edited at 18:00")
            << 1 << "LOG:LogDocEditTime" << QVariant(18 * 360000 + 1) << "Jornix.LogDocEditTime"
            << "0.750000115740741";
        QTest::newRow("edited at noon")
            << 1 << "LOG:LogDocEditTime" << QVariant(12 * 360000 + 1) << "Jornix.LogDocEditTime"
            << "0.500000115740741";
        QTest::newRow("no edit time") << 1 << "LOG:LogDocEditTime" << QVariant(0) << "Jornix.LogDocEditTime"
                                      << "0";
        QTest::newRow("user date 0") << 2 << "TSK:Misc1" << QVariant("0") << "Task.Misc1"
                                     << "1e1000";
        QTest::newRow("user date blank") << 2 << "TSK:Misc1" << QVariant("") << "Task.Misc1"
                                         << "1e1000";
        QTest::newRow("user date abc") << 2 << "TSK:Misc1" << QVariant("abc") << "Task.Misc1"
                                       << "1e1000";
        QTest::newRow("user date 81512") << 2 << "TSK:Misc1" << QVariant("81512") << "Task.Misc1"
                                         << "2460369";
        QTest::newRow("user text") << 2 << "TSK:Misc2" << QVariant("Blue") << "Task.Misc2"
                                   << "Blue";
        QTest::newRow("text at full width") << 3 << "CON:LName" << QVariant("Anand") << "Contacts.LName"
                                            << "Anand" + QString(250, ' ');
        QTest::newRow("memo as it is") << 6 << "SCR:Scrap" << QVariant("Cut out ") << "ScrapBook.Scrap"
                                       << "Cut out";
        QTest::newRow("flag") << 5 << "STK:Private" << QVariant(1) << "StickyNotes.Private"
                              << "1";
        QTest::newRow("number") << 4 << "REM:LinkNum" << QVariant(42) << "Reminder.LinkNum"
                                << "42";
    }
    void valueTexts()
    {
        QFETCH(int, area);
        QFETCH(QString, field);
        QFETCH(QVariant, stored);
        QFETCH(QString, item);
        QFETCH(QString, expected);
        ReportFixture fixture;
        fixture.AddDefinitions(3, {{1, Date}, {2, Text}});
        ReportData data(area, 1, 2);
        data.definitions = ReportData::FetchDefinitions(area);
        QVERIFY(data.record.SetValue(field, stored));
        const std::optional<ReportItem> found = Find(data.AreaItems(ItemMode::Print), item);
        QVERIFY(found);
        QCOMPARE(found->value, expected);
    }

    void designShowsSamplesByType_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << "ReportOptions.Filter"
                              << "ReportOptions.Filter";
        QTest::newRow("field text") << "Jornix.LogDescription"
                                    << "Jornix.LogDescription";
        QTest::newRow("date") << "Jornix.LogDate" << QString::number(Today() + 2378857);
        QTest::newRow("time") << "Jornix.LogDocEditTime" << QString::number(Today() + 2378857);
        QTest::newRow("numeric") << "Jornix.LogNum"
                                 << "999999";
        QTest::newRow("boolean") << "Jornix.LogPrivate"
                                 << "1";
        QTest::newRow("page picture") << "Jornix.LogDoc"
                                      << " ";
        QTest::newRow("page counter") << "Flags.PageType"
                                      << "999999";
    }
    void designShowsSamplesByType()
    {
        QFETCH(QString, item);
        QFETCH(QString, expected);
        ReportFixture fixture;
        ReportData data(ReportArea::LogEvents, 1, 3);
        data.filter = "LOG:LogType = 1";
        std::vector<ReportItem> items = data.AreaItems(ItemMode::Design);
        const std::vector<ReportItem> variables = data.Variables(ItemMode::Design);
        items.insert(items.end(), variables.begin(), variables.end());
        QCOMPARE(Find(items, item)->value, expected);
    }

    void printRunsDeclareThePageCountersFirst()
    {
        ReportFixture fixture;
        ReportData data(ReportArea::Reminders, 1, 2);
        data.sortOrder = 2;
        const QStringList print = Names(data.Variables(ItemMode::Print));
        const QStringList design = Names(data.Variables(ItemMode::Design));
        QCOMPARE(print.mid(0, 2), (QStringList{"Flags.PageOverFlow", "Flags.PageType"}));
        QCOMPARE(design.mid(design.size() - 2), (QStringList{"Flags.PageOverFlow", "Flags.PageType"}));
        QCOMPARE(print.size(), design.size());
        QCOMPARE(Find(data.Variables(ItemMode::Print), "ReportOptions.SortOrder")->value, "Description");
    }
};

QTEST_MAIN(TestReportData)
#include "tst_ReportData.moc"
