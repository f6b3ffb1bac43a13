#include "core/SetTableFileNames.h"
#include "core/Tables.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Expression.h"

#include <QtTest>

using namespace jornix;

namespace {

int FieldBytes(const FieldDef& field)
{
    switch (field.type) {
    case FieldType::Byte:
        return 1;
    case FieldType::Short:
        return 2;
    case FieldType::Long:
        return 4;
    case FieldType::Real:
        return 8;
    case FieldType::String:
        return field.width;
    default:
        return 0; // memos and BLOBs are kept outside the record
    }
}

bool InRecord(const FieldDef& field)
{
    return field.type != FieldType::Memo && field.type != FieldType::Blob;
}

Table& TableOf(const QString& prefix)
{
    Table* table = JornixCatalogue().FindTable(prefix);
    if (!table)
        qFatal("no table %s", qPrintable(prefix));
    return *table;
}

} // namespace

class TablesTest : public QObject
{
    Q_OBJECT

private slots:
    void eachTableHasItsFileLayoutAndKeys_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("recordBytes");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QStringList>("keys"); // descriptions in registration order
        QTest::addColumn<QStringList>("memos");
        QTest::addColumn<int>("attributes");
        const int data = FileAttribute::Encrypt | FileAttribute::Create;
        QTest::newRow("LOG") << "LOG:"
                             << "Jornix"
                             << "LogFile" << 2647 << 24
                             << QStringList{"LOG:LogNumK", "LOG:LogDateK", "by Description",
                                            "by LogDate Description", "by Log Type"}
                             << QStringList{"LOG:LogMiniNotes:1000", "LOG:LogDoc:blob"} << data;
        // The password field holds a hash of up to 128 characters instead of 30 characters as typed.
        QTest::newRow("USR") << "USR:"
                             << "Jornix"
                             << "Users" << 340 + 98 << 18 << QStringList{"by LoginID", "By UniqueID"}
                             << QStringList{} << data;
        QTest::newRow("REM") << "REM:"
                             << "Reminder"
                             << "Reminder" << 1873 << 19
                             << QStringList{"by Reminder Number", "by Description", "by Enter Date",
                                            "REM:ReminderDateK", "by Reminder Date"}
                             << QStringList{"REM:Notes:32000"} << data;
        QTest::newRow("TSK") << "TSK:"
                             << "Task"
                             << "Task" << 1876 << 19
                             << QStringList{"by Task Number", "by Close Date", "by Start Date", "by Due Date",
                                            "by Priority",    "by Enter Date", "by Description"}
                             << QStringList{"TSK:Notes:32000"} << data;
        QTest::newRow("CON") << "CON:"
                             << "Contacts"
                             << "Contacts" << 5687 << 29
                             << QStringList{"by Contact Number", "by State",    "by E-Mail",    "by Country",
                                            "by City",           "by Zip Code", "by Last Name", "by Company"}
                             << QStringList{"CON:Notes:32000"} << data;
        QTest::newRow("SCR") << "SCR:"
                             << "ScrapBook"
                             << "ScrapBook" << 332 << 8
                             << QStringList{"by Scrap Number", "by Description", "by Enter Date"}
                             << QStringList{"SCR:Scrap:32000"} << data;
        QTest::newRow("STK") << "STK:"
                             << "StickyNotes"
                             << "StickyNotes" << 332 << 8
                             << QStringList{"by Record Number", "by Description", "by Enter Date"}
                             << QStringList{"STK:Notes:32000"} << data;
        QStringList lists;
        for (int i = 1; i <= 6; ++i)
            lists << QString("MSC:F%1List:32000").arg(i);
        QTest::newRow("MSC") << "MSC:"
                             << "MiscFields"
                             << "MiscFields" << 4636 << 43 << QStringList{"Misc Type"} << lists
                             << int(FileAttribute::Create);
        QTest::newRow("LLA_") << "LLA_:"
                              << "LLReport"
                              << "LL_Reparea" << 57 << 3 << QStringList{"LLA_:RefKey", "LLA_:ReportTypeKey"}
                              << QStringList{} << data;
        QTest::newRow("LLL_") << "LLL_:"
                              << "LLReport"
                              << "LL_RepLay" << 1310 << 20
                              << QStringList{"LLL_:RefKey", "LLL_:AreaRefKey", "LLL_:DescKey"}
                              << QStringList{"LLL_:Filter:32000", "LLL_:Notes:32000"} << data;
        QTest::newRow("OLD10") << "OLD10:"
                               << ""
                               << "LogFile" << 1813 << 16
                               << QStringList{"OLD10:LOGNUMK", "OLD10:LOGDATEK", "OLD10:LOGDESCRIPTIONK",
                                              "OLD10:LOGDATERANKDESCRIPTIONK",
                                              "OLD10:LOGTYPEDATERANKDESCRIPTIONK"}
                               << QStringList{"OLD10:LOGMININOTES:1000", "OLD10:LOGNOTES:32000"}
                               << int(FileAttribute::ReadOnly);
    }
    void eachTableHasItsFileLayoutAndKeys()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(int, recordBytes);
        QFETCH(int, fields);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, memos);
        QFETCH(int, attributes);
        const Table& t = TableOf(prefix);
        QCOMPARE(t.FileName(), file);
        QCOMPARE(t.TableName(), table);
        QCOMPARE(t.FileAttributes(), attributes);
        int bytes = 0;
        int recordFields = 0;
        QStringList outside;
        for (int field = 0; field < t.FieldCount(); ++field) {
            const FieldDef& def = t.Field(field);
            if (InRecord(def)) {
                QCOMPARE(recordFields, field); // the record's fields come first, memos and BLOBs after
                ++recordFields;
                bytes += FieldBytes(def);
            } else {
                outside << def.name + ":" +
                               (def.type == FieldType::Blob ? "blob" : QString::number(def.width));
            }
        }
        QCOMPARE(bytes, recordBytes);
        QCOMPARE(recordFields, fields);
        QCOMPARE(outside, memos);
        QStringList descriptions;
        for (int key = 0; key < t.KeyCount(); ++key) {
            descriptions << t.Key(key).description;
            QVERIFY(t.Key(key).NoCase());
            QVERIFY(t.Key(key).Opt());
        }
        QCOMPARE(descriptions, keys);
        QVERIFY(t.Key(0).flags & KeyFlag::Primary || prefix == "USR:");
    }

    void fieldsLieAtTheirOffsets_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("bytes");
        QTest::newRow("LOG:LogRank") << "LOG:LogRank" << 12 << 2;
        QTest::newRow("LOG:LogMisc6") << "LOG:LogMisc6" << 2311 << 255;
        QTest::newRow("LOG:LogDocEditTime") << "LOG:LogDocEditTime" << 2570 << 4;
        QTest::newRow("LOG:LogUniqueID") << "LOG:LogUniqueID" << 2643 << 4;
        QTest::newRow("USR:ExpirePasswordCount") << "USR:ExpirePasswordCount" << 324 + 98 << 2;
        QTest::newRow("REM:LinkType") << "REM:LinkType" << 337 << 1;
        QTest::newRow("REM:UniqueID") << "REM:UniqueID" << 1869 << 4;
        QTest::newRow("TSK:Priority") << "TSK:Priority" << 340 << 1;
        QTest::newRow("CON:Web") << "CON:Web" << 3897 << 255;
        QTest::newRow("CON:UniqueID") << "CON:UniqueID" << 5683 << 4;
        QTest::newRow("SCR:Description") << "SCR:Description" << 72 << 255;
        QTest::newRow("STK:Private") << "STK:Private" << 327 << 1;
        QTest::newRow("MSC:F1ReportType") << "MSC:F1ReportType" << 261 << 4;
        QTest::newRow("MSC:F6DefVal") << "MSC:F6DefVal" << 521 + 772 * 5 << 255;
        QTest::newRow("LLA_:TemplateType") << "LLA_:TemplateType" << 55 << 2;
        QTest::newRow("LLL_:WMFHeight") << "LLL_:WMFHeight" << 1302 << 8;
        QTest::newRow("OLD10:LOGNUM3") << "OLD10:LOGNUM3" << 1809 << 4;
    }
    void fieldsLieAtTheirOffsets()
    {
        QFETCH(QString, field);
        QFETCH(int, offset);
        QFETCH(int, bytes);
        const auto [table, index] = JornixCatalogue().FindField(field.toUpper());
        QVERIFY(table);
        int at = 0;
        for (int before = 0; before < index; ++before)
            at += FieldBytes(table->Field(before));
        QCOMPARE(at, offset);
        QCOMPARE(FieldBytes(table->Field(index)), bytes);
    }

    void keysHaveTheirComponentsInOrder_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("components");
        QTest::addColumn<bool>("unique");
        QTest::addColumn<bool>("autoNumber");
        QTest::newRow("LOG:LogNumK") << "LOG:LogNumK" << QStringList{"LOG:LogNum"} << true << true;
        QTest::newRow("LOG:LogTypeDateRankDescriptionK")
            << "LOG:LogTypeDateRankDescriptionK"
            << QStringList{"LOG:LogType", "LOG:LogDate", "LOG:LogRank", "LOG:LogDescription"} << false
            << false;
        QTest::newRow("USR:LoginIDK") << "USR:LoginIDK" << QStringList{"USR:LoginID"} << true << false;
        QTest::newRow("REM:EnterDateK")
            << "REM:EnterDateK" << QStringList{"REM:CreateDate", "REM:Description"} << false << false;
        QTest::newRow("TSK:PriorityK")
            << "TSK:PriorityK" << QStringList{"TSK:Priority", "TSK:Description"} << false << false;
        QTest::newRow("CON:StateK") << "CON:StateK" << QStringList{"CON:State", "CON:Zip"} << false << false;
        QTest::newRow("CON:LNameK") << "CON:LNameK" << QStringList{"CON:LName", "CON:FName"} << false
                                    << false;
        QTest::newRow("MSC:MiscTypeK") << "MSC:MiscTypeK" << QStringList{"MSC:MiscType"} << true << false;
        QTest::newRow("LLA_:ReportTypeKey")
            << "LLA_:ReportTypeKey" << QStringList{"LLA_:ReportType"} << true << false;
        QTest::newRow("LLA_:RefKey") << "LLA_:RefKey" << QStringList{"LLA_:Ref"} << true << true;
        QTest::newRow("LLL_:AreaRefKey")
            << "LLL_:AreaRefKey" << QStringList{"LLL_:AreaRef", "LLL_:Description"} << false << false;
        QTest::newRow("OLD10:LOGNUMK") << "OLD10:LOGNUMK" << QStringList{"OLD10:LOGNUM"} << true << false;
    }
    void keysHaveTheirComponentsInOrder()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, components);
        QFETCH(bool, unique);
        QFETCH(bool, autoNumber);
        const Table& table = TableOf(key.section(':', 0, 0));
        const int index = table.KeyIndex(key);
        QVERIFY(index >= 0);
        const KeyDef& def = table.Key(index);
        QStringList names;
        for (const int field : def.components)
            names << table.Field(field).name;
        QCOMPARE(names, components);
        QCOMPARE(def.Unique(), unique);
        QCOMPARE(def.autoNumber, autoNumber);
    }

    void theNumberedTablesAreExactlyTheEight()
    {
        QStringList numbered;
        for (int i = 0; i < JornixCatalogue().TableCount(); ++i) {
            const Table& table = JornixCatalogue().TableAt(i);
            if (table.AutoNumberKey() >= 0)
                numbered << table.Prefix();
        }
        QCOMPARE(numbered, QStringList({"LOG", "REM", "TSK", "CON", "SCR", "STK", "LLA_", "LLL_"}));
    }

    void memoNamesServeInFilterExpressions_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"LOG:LogMiniNotes", "REM:Notes", "TSK:Notes", "CON:Notes", "SCR:Scrap",
                                 "STK:Notes", "MSC:F1List", "MSC:F6List", "LLL_:Filter", "LLL_:Notes",
                                 "OLD10:LOGMININOTES", "OLD10:LOGNOTES"})
            QTest::newRow(name) << name;
    }
    void memoNamesServeInFilterExpressions()
    {
        QFETCH(QString, name);
        const Table& table = TableOf(name.section(':', 0, 0));
        SqlExpression sql;
        const Status status = CompileFilter(name + " ~ 'milk'", table, ExpressionNames(), sql);
        QVERIFY2(status.Ok(), qPrintable(status.Message()));
    }

    void tablePathsPointIntoTheDataFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("with a final slash") << "/srv/journal/Data/";
        QTest::newRow("without one") << "/srv/journal/Data";
    }
    void tablePathsPointIntoTheDataFolder()
    {
        QFETCH(QString, folder);
        SetTableFileNames(folder);
        QCOMPARE(TableOf("LOG:").FilePath(), QString("/srv/journal/Data/Jornix.tps"));
        QCOMPARE(TableOf("USR:").FilePath(), QString("/srv/journal/Data/Jornix.tps"));
        QCOMPARE(TableOf("LLA_:").FilePath(), QString("/srv/journal/Data/LLReport.tps"));
        QCOMPARE(TableOf("MSC:").FilePath(), QString("/srv/journal/Data/MiscFields.tps"));
        QCOMPARE(TableOf("STK:").FilePath(), QString("/srv/journal/Data/StickyNotes.tps"));
        QCOMPARE(TableOf("OLD10:").FilePath(), QString()); // the migration names its file
    }
};

QTEST_MAIN(TablesTest)
#include "tst_Tables.moc"
