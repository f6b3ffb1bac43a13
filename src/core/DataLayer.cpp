#include "core/DataLayer.h"

#include "core/AccessObject.h"
#include "core/RelationObject.h"
#include "core/Tables.h"
#include "platform/store/Catalogue.h"

namespace jornix {

FileManager* AccessLOG = nullptr;
FileManager* AccessUSR = nullptr;
FileManager* AccessREM = nullptr;
FileManager* AccessTSK = nullptr;
FileManager* AccessCON = nullptr;
FileManager* AccessSCR = nullptr;
FileManager* AccessSTK = nullptr;
FileManager* AccessMSC = nullptr;
FileManager* AccessLLA_ = nullptr;
FileManager* AccessLLL_ = nullptr;
FileManager* AccessOLD10 = nullptr;

TableRelations* RelationsLOG = nullptr;
TableRelations* RelationsUSR = nullptr;
TableRelations* RelationsREM = nullptr;
TableRelations* RelationsTSK = nullptr;
TableRelations* RelationsCON = nullptr;
TableRelations* RelationsSCR = nullptr;
TableRelations* RelationsSTK = nullptr;
TableRelations* RelationsMSC = nullptr;
TableRelations* RelationsLLA_ = nullptr;
TableRelations* RelationsLLL_ = nullptr;
TableRelations* RelationsOLD10 = nullptr;

namespace {

const QString AccessLevels = QStringLiteral("'None','Read-Only','Full'");
const QString FullOrNone = QStringLiteral("'None','Full'");

TableRules LogRules()
{
    return {"LOG:",       {{"LOG:LogPrivate", 0}},
            {},           {{"LOG:LogType", {0, 1, 2, 3}, "Log Type", "'None','Home','Work','Other'"}},
            {"l_%1.wav"}, true};
}

TableRules UserRules()
{
    return {"USR:",
            {{"USR:ChngPwdAtNextLogin", 1},
             {"USR:ExpirePasswordCount", 90},
             {"USR:Disabled", 0},
             {"USR:Administrator", 0},
             {"USR:LogEventAccess", 2},
             {"USR:ReminderAccess", 2},
             {"USR:TaskAccess", 2},
             {"USR:StickyNotesAccess", 2},
             {"USR:ContactAccess", 2},
             {"USR:ScrapBookAccess", 2},
             {"USR:ReportDesignerAccess", 2},
             {"USR:MiscFieldAccess", 2}},
            "USR:UniqueID",
            {{"USR:LogEventAccess", {0, 1, 2}, "Log Event Access", AccessLevels},
             {"USR:ReminderAccess", {0, 1, 2}, "Reminder Access", AccessLevels},
             {"USR:TaskAccess", {0, 1, 2}, "Task Access", AccessLevels},
             {"USR:StickyNotesAccess", {0, 1, 2}, "Sticky Notes Access", AccessLevels},
             {"USR:ContactAccess", {0, 1, 2}, "Contact Access", AccessLevels},
             {"USR:ScrapBookAccess", {0, 1, 2}, "Scrap Book Access", AccessLevels},
             {"USR:ReportDesignerAccess", {0, 2}, "Report Designer Access", FullOrNone},
             {"USR:MiscFieldAccess", {0, 2}, "Misc Field Access", FullOrNone}},
            {},
            false};
}

TableRules ReminderRules()
{
    return {
        "REM:",       {{"REM:LinkType", 0}, {"REM:Private", 0}},
        {},           {{"REM:LinkType", {0, 1, 2, 3}, "Link Type", "'No Link','Log Event','Contact','Task'"}},
        {"r_%1.wav"}, true};
}

TableRules TaskRules()
{
    return {"TSK:",       {{"TSK:Priority", 2}, {"TSK:Private", 0}},
            {},           {{"TSK:Priority", {1, 2, 3}, "Priority", "'High','Medium','Low'"}},
            {"t_%1.wav"}, true};
}

// Contacts, scraps and sticky notes: private off, no lists, no side files.
TableRules StampedRules(const QString& prefix)
{
    return {prefix, {{prefix + "Private", 0}}, {}, {}, {}, true};
}

TableRules MiscFieldRules()
{
    TableRules rules{"MSC:", {{"MSC:MiscType", 1}}, {}, {}, {}, false};
    rules.valueLists.push_back(
        {"MSC:MiscType", {1, 2, 3, 4}, "MSC:MiscType", "'Log Event','Reminder','Task','Contact'"});
    for (int i = 1; i <= 6; ++i) {
        const QString f = "MSC:F" + QString::number(i);
        rules.defaults.insert(rules.defaults.end(), {{f + "Show", 0},
                                                     {f + "Prompt", QString("Misc %1:").arg(i)},
                                                     {f + "Type", 1},
                                                     {f + "ReportType", 0x10000000},
                                                     {f + "Len", 255},
                                                     {f + "Picture", "@s255"}});
        rules.valueLists.push_back(
            {f + "Type", {1, 2, 3, 4}, "Type", "'Text Box','Drop List','Combo Box','Check Box'"});
        rules.valueLists.push_back({f + "ReportType",
                                    {268435456, 134217728, 33554432, 67108864, 1073741824, 536870912},
                                    f + "ReportType",
                                    "'String','Numeric','Boolean','Date','Barcode','Image'"});
    }
    return rules;
}

TableRules ReportAreaRules()
{
    return {"LLA_:", {}, {}, {}, {}, true};
}

TableRules ReportLayoutRules()
{
    return {"LLL_:",
            {{"LLL_:PrinterOptions", 1},
             {"LLL_:OutputFormat", 2},
             {"LLL_:OpenOutputFile", 0},
             {"LLL_:FactoryDefault", 0},
             {"LLL_:SortOrder", 1},
             {"LLL_:Style", 2},
             {"LLL_:Type", 1},
             {"LLL_:Pages", 1},
             {"LLL_:PrintCoverPage", 1},
             {"LLL_:PrintFilter", 1}},
            {},
            {{"LLL_:OutputFormat",
              {2, 3, 9, 4, 5, 10, 8, 6, 7, 11, 12, 13},
              "Output Format",
              "'Preview','Printer','PDF','RTF','HTML','MHTML','BMP','JPG','EMF','XML','XLS','TXT'"},
             {"LLL_:Style", {1, 2, 3}, "Style", "'Summary','Detail','One Record per Page'"},
             {"LLL_:Type", {1, 2, 3}, "List, Card or Label", "'List','Card','Label'"}},
            {"jx_%1.rpt", "jx_%1.~rpt", "jx_%1.prn", "jx_%1.bmp"},
            true};
}

TableRules Version10Rules()
{
    return {"OLD10:", {}, {}, {}, {}, false};
}

// The objects, made in the order of set-up, so that they are destroyed at the end of the process in the
// reverse order.
AccessObject LogAccess(LogRules());
RelationObject LogRelations(LogAccess);
AccessObject MiscAccess(MiscFieldRules());
RelationObject MiscRelations(MiscAccess);
AccessObject Version10Access(Version10Rules());
RelationObject Version10Relations(Version10Access);
AccessObject StickyAccess(StampedRules("STK:"));
RelationObject StickyRelations(StickyAccess);
AccessObject ScrapAccess(StampedRules("SCR:"));
RelationObject ScrapRelations(ScrapAccess);
AccessObject ContactAccess(StampedRules("CON:"));
RelationObject ContactRelations(ContactAccess);
AccessObject UserAccess(UserRules());
RelationObject UserRelations(UserAccess);
AccessObject TaskAccess(TaskRules());
RelationObject TaskRelations(TaskAccess);
AccessObject AreaAccess(ReportAreaRules());
RelationObject AreaRelations(AreaAccess);
AccessObject ReminderAccess(ReminderRules());
RelationObject ReminderRelations(ReminderAccess);
AccessObject LayoutAccess(ReportLayoutRules());
RelationObject LayoutRelations(LayoutAccess);

struct Entry
{
    RelationObject& relations;
    TableRelations*& relationsReference;
    FileManager*& accessReference;
};

// The order of set-up and tear-down.
const Entry Entries[] = {
    {LogRelations, RelationsLOG, AccessLOG},           {MiscRelations, RelationsMSC, AccessMSC},
    {Version10Relations, RelationsOLD10, AccessOLD10}, {StickyRelations, RelationsSTK, AccessSTK},
    {ScrapRelations, RelationsSCR, AccessSCR},         {ContactRelations, RelationsCON, AccessCON},
    {UserRelations, RelationsUSR, AccessUSR},          {TaskRelations, RelationsTSK, AccessTSK},
    {AreaRelations, RelationsLLA_, AccessLLA_},        {ReminderRelations, RelationsREM, AccessREM},
    {LayoutRelations, RelationsLLL_, AccessLLL_},
};

} // namespace

void InitDataLayer()
{
    SetOwnerPassword(QString::fromLatin1(OwnerPassword), QByteArray(OwnerKeySalt));
    for (const Entry& entry : Entries)
        entry.relationsReference = &entry.relations;
    for (const Entry& entry : Entries)
        entry.relations.Init(GlobalErrorReporter, entry.accessReference, entry.relationsReference);
}

void KillDataLayer()
{
    for (const Entry& entry : Entries)
        entry.relations.Kill();
}

} // namespace jornix
