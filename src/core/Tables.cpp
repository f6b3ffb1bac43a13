#include "core/Tables.h"

#include "core/LogDocumentText.h"
#include "platform/store/Catalogue.h"

namespace jornix {
namespace {

// Every key compares texts without regard to case and leaves out records whose components are all blank.
constexpr int Unique = KeyFlag::NoCase | KeyFlag::Opt;
constexpr int Primary = KeyFlag::Primary | Unique;
constexpr int Dup = KeyFlag::Dup | Unique;
constexpr bool AutoNumber = true;

constexpr int DataFile = FileAttribute::Encrypt | FileAttribute::Create;

// The record stamps of the tables that carry them, in the order the tables hold them.
void AddCreateStamp(Table& table, const QString& word = {})
{
    table.AddLong(word + "CreateDate").AddString(word + "CreateLoginID", 30);
}

void AddEditStamp(Table& table, const QString& word = {})
{
    table.AddLong(word + "LastEditDate").AddString(word + "LastEditLoginID", 30);
}

void AddStrings(Table& table, const QString& name, int count)
{
    for (int i = 1; i <= count; ++i)
        table.AddString(name + QString::number(i), 255);
}

void AddLogEvents(Catalogue& catalogue)
{
    Table& log = catalogue.AddTable("LOG:", "Jornix", "LogFile", DataFile);
    log.AddLong("LogNum")
        .AddLong("LogDate")
        .AddLong("LogType")
        .AddShort("LogRank")
        .AddString("LogDescription", 255)
        .AddString("LogLocation", 255)
        .AddString("LogDuration", 255)
        .AddString("LogDocLink", 255)
        .AddByte("LogFollowUp")
        .AddByte("LogImportant");
    AddStrings(log, "LogMisc", 6);
    log.AddLong("LogDocEditDate").AddLong("LogDocEditTime");
    AddCreateStamp(log, "Log");
    AddEditStamp(log, "Log");
    log.AddByte("LogPrivate").AddLong("LogUniqueID");
    log.AddMemo("LogMiniNotes", 1000).AddBlob("LogDoc");
    log.SetPrivateFields("LogPrivate", "LogUniqueID");
    log.AddKey("LogNumK", {"LogNum"}, Primary, "LOG:LogNumK", AutoNumber)
        .AddKey("LogDateK", {"LogDate"}, Dup, "LOG:LogDateK")
        .AddKey("LogDescriptionK", {"LogDescription"}, Dup, "by Description")
        .AddKey("LogDateRankDescriptionK", {"LogDate", "LogRank", "LogDescription"}, Dup,
                "by LogDate Description")
        .AddKey("LogTypeDateRankDescriptionK", {"LogType", "LogDate", "LogRank", "LogDescription"}, Dup,
                "by Log Type");
}

void AddUsers(Catalogue& catalogue)
{
    Table& users = catalogue.AddTable("USR:", "Jornix", "Users", DataFile);
    // The password field holds the password's hash (crypto_pwhash_str, up to 128 characters), never the
    // password as typed, so it is wider than the 30 characters a password may have.
    users.AddString("LoginID", 30)
        .AddString("Name", 255)
        .AddString("Password", 128)
        .AddLong("LastLogin")
        .AddLong("LastPwdChange")
        .AddByte("ChngPwdAtNextLogin")
        .AddShort("ExpirePasswordCount")
        .AddByte("Disabled")
        .AddByte("Administrator")
        .AddByte("LogEventAccess")
        .AddByte("ReminderAccess")
        .AddByte("TaskAccess")
        .AddByte("StickyNotesAccess")
        .AddByte("ContactAccess")
        .AddByte("ScrapBookAccess")
        .AddByte("ReportDesignerAccess")
        .AddByte("MiscFieldAccess")
        .AddLong("UniqueID");
    users.AddKey("LoginIDK", {"LoginID"}, Unique, "by LoginID")
        .AddKey("UniqueIDK", {"UniqueID"}, Primary, "By UniqueID");
}

void AddReminders(Catalogue& catalogue)
{
    Table& reminders = catalogue.AddTable("REM:", "Reminder", "Reminder", DataFile);
    reminders.AddLong("Num").AddString("Description", 255);
    AddCreateStamp(reminders);
    AddEditStamp(reminders);
    reminders.AddLong("ReminderDate")
        .AddByte("ShowReminder")
        .AddByte("Dismiss")
        .AddLong("LinkNum")
        .AddByte("LinkType");
    AddStrings(reminders, "Misc", 6);
    reminders.AddByte("Private").AddLong("UniqueID");
    reminders.AddMemo("Notes", 32000);
    reminders.SetPrivateFields("Private", "UniqueID");
    reminders.AddKey("NumK", {"Num"}, Primary, "by Reminder Number", AutoNumber)
        .AddKey("DescriptionK", {"Description"}, Dup, "by Description")
        .AddKey("EnterDateK", {"CreateDate", "Description"}, Dup, "by Enter Date")
        .AddKey("ReminderDateK", {"ReminderDate"}, Dup, "REM:ReminderDateK")
        .AddKey("ReminderDateDescriptionK", {"ReminderDate", "Description"}, Dup, "by Reminder Date");
}

void AddTasks(Catalogue& catalogue)
{
    Table& tasks = catalogue.AddTable("TSK:", "Task", "Task", DataFile);
    tasks.AddLong("Num").AddString("Description", 255);
    AddCreateStamp(tasks);
    AddEditStamp(tasks);
    tasks.AddLong("StartDate")
        .AddLong("DueDate")
        .AddLong("CloseDate")
        .AddByte("Completed")
        .AddByte("Priority");
    AddStrings(tasks, "Misc", 6);
    tasks.AddByte("Private").AddLong("UniqueID");
    tasks.AddMemo("Notes", 32000);
    tasks.SetPrivateFields("Private", "UniqueID");
    tasks.AddKey("NumK", {"Num"}, Primary, "by Task Number", AutoNumber)
        .AddKey("CloseDateK", {"CloseDate", "Description"}, Dup, "by Close Date")
        .AddKey("StartDateK", {"StartDate", "Description"}, Dup, "by Start Date")
        .AddKey("DueDateK", {"DueDate", "Description"}, Dup, "by Due Date")
        .AddKey("PriorityK", {"Priority", "Description"}, Dup, "by Priority")
        .AddKey("EnterDateK", {"CreateDate", "Description"}, Dup, "by Enter Date")
        .AddKey("DescriptionK", {"Description"}, Dup, "by Description");
}

void AddContacts(Catalogue& catalogue)
{
    Table& contacts = catalogue.AddTable("CON:", "Contacts", "Contacts", DataFile);
    contacts.AddLong("Num");
    AddCreateStamp(contacts);
    AddEditStamp(contacts);
    for (const char* name : {"Company", "LName", "FName", "Street1", "Street2", "City", "State", "Zip",
                             "Province", "Country", "Phone1", "Phone2", "Fax", "Mobile", "Email", "Web"})
        contacts.AddString(name, 255);
    AddStrings(contacts, "Misc", 6);
    contacts.AddByte("Private").AddLong("UniqueID");
    contacts.AddMemo("Notes", 32000);
    contacts.SetPrivateFields("Private", "UniqueID");
    contacts.AddKey("NumK", {"Num"}, Primary, "by Contact Number", AutoNumber)
        .AddKey("StateK", {"State", "Zip"}, Dup, "by State")
        .AddKey("EmailK", {"Email"}, Dup, "by E-Mail")
        .AddKey("CountryK", {"Country"}, Dup, "by Country")
        .AddKey("CityK", {"City"}, Dup, "by City")
        .AddKey("ZipK", {"Zip"}, Dup, "by Zip Code")
        .AddKey("LNameK", {"LName", "FName"}, Dup, "by Last Name")
        .AddKey("CompanyK", {"Company"}, Dup, "by Company");
}

void AddScrapBook(Catalogue& catalogue)
{
    Table& scraps = catalogue.AddTable("SCR:", "ScrapBook", "ScrapBook", DataFile);
    scraps.AddLong("Num");
    AddCreateStamp(scraps);
    AddEditStamp(scraps);
    scraps.AddString("Description", 255).AddByte("Private").AddLong("UniqueID");
    scraps.AddMemo("Scrap", 32000);
    scraps.SetPrivateFields("Private", "UniqueID");
    scraps.AddKey("NumK", {"Num"}, Primary, "by Scrap Number", AutoNumber)
        .AddKey("DescriptionK", {"Description"}, Dup, "by Description")
        .AddKey("EnterDateK", {"CreateDate", "Description"}, Dup, "by Enter Date");
}

void AddStickyNotes(Catalogue& catalogue)
{
    Table& notes = catalogue.AddTable("STK:", "StickyNotes", "StickyNotes", DataFile);
    notes.AddLong("Num").AddString("Description", 255);
    AddCreateStamp(notes);
    AddEditStamp(notes);
    notes.AddByte("Private").AddLong("UniqueID");
    notes.AddMemo("Notes", 32000);
    notes.SetPrivateFields("Private", "UniqueID");
    notes.AddKey("NumK", {"Num"}, Primary, "by Record Number", AutoNumber)
        .AddKey("DescriptionK", {"Description"}, Dup, "by Description")
        .AddKey("EnterDateK", {"CreateDate", "Description"}, Dup, "by Enter Date");
}

void AddMiscFields(Catalogue& catalogue)
{
    Table& misc = catalogue.AddTable("MSC:", "MiscFields", "MiscFields", FileAttribute::Create);
    misc.AddLong("MiscType");
    for (int i = 1; i <= 6; ++i) {
        const QString f = "F" + QString::number(i);
        misc.AddByte(f + "Show")
            .AddString(f + "Prompt", 255)
            .AddByte(f + "Type")
            .AddLong(f + "ReportType")
            .AddByte(f + "Len")
            .AddString(f + "Picture", 255)
            .AddString(f + "DefVal", 255);
    }
    for (int i = 1; i <= 6; ++i)
        misc.AddMemo("F" + QString::number(i) + "List", 32000);
    misc.AddKey("MiscTypeK", {"MiscType"}, Primary, "Misc Type");
}

void AddReportAreas(Catalogue& catalogue)
{
    Table& areas = catalogue.AddTable("LLA_:", "LLReport", "LL_Reparea", DataFile);
    areas.AddLong("Ref").AddString("ReportType", 51).AddString("TemplateType", 2);
    areas.AddKey("RefKey", {"Ref"}, Primary, "LLA_:RefKey", AutoNumber)
        .AddKey("ReportTypeKey", {"ReportType"}, Unique, "LLA_:ReportTypeKey");
}

void AddReportLayouts(Catalogue& catalogue)
{
    Table& layouts = catalogue.AddTable("LLL_:", "LLReport", "LL_RepLay", DataFile);
    layouts.AddLong("Ref").AddLong("AreaRef").AddString("Description", 255).AddString("FileName", 255);
    for (const char* name : {"PrinterOptions", "OutputFormat", "OpenOutputFile", "FactoryDefault",
                             "SortOrder", "Style", "Type", "Pages", "PrintCoverPage", "PrintFilter"})
        layouts.AddByte(name);
    AddStrings(layouts, "Misc", 3);
    layouts.AddByte("WMFSpecialLoop").AddReal("WMFWidth").AddReal("WMFHeight");
    layouts.AddMemo("Filter", 32000).AddMemo("Notes", 32000);
    layouts.AddKey("RefKey", {"Ref"}, Primary, "LLL_:RefKey", AutoNumber)
        .AddKey("AreaRefKey", {"AreaRef", "Description"}, Dup, "LLL_:AreaRefKey")
        .AddKey("DescKey", {"Description"}, Dup, "LLL_:DescKey");
}

void AddVersion10Log(Catalogue& catalogue)
{
    // Read by the migration from the file the user picks; never written, never created.
    Table& old = catalogue.AddTable("OLD10:", "", "LogFile", FileAttribute::ReadOnly);
    old.AddLong("LOGNUM")
        .AddLong("LOGDATE")
        .AddLong("LOGTYPE")
        .AddShort("LOGRANK")
        .AddString("LOGDESCRIPTION", 255)
        .AddString("LOGLOCATION", 255)
        .AddString("LOGDURATION", 255)
        .AddString("LOGDOCLINK", 255)
        .AddByte("LOGFOLLOWUP")
        .AddByte("LOGIMPORTANT");
    AddStrings(old, "LOGMISC", 3);
    for (int i = 1; i <= 3; ++i)
        old.AddLong("LOGNUM" + QString::number(i));
    old.AddMemo("LOGMININOTES", 1000).AddMemo("LOGNOTES", 32000);
    old.AddKey("LOGNUMK", {"LOGNUM"}, Primary, "OLD10:LOGNUMK")
        .AddKey("LOGDATEK", {"LOGDATE"}, Dup, "OLD10:LOGDATEK")
        .AddKey("LOGDESCRIPTIONK", {"LOGDESCRIPTION"}, Dup, "OLD10:LOGDESCRIPTIONK")
        .AddKey("LOGDATERANKDESCRIPTIONK", {"LOGDATE", "LOGRANK", "LOGDESCRIPTION"}, Dup,
                "OLD10:LOGDATERANKDESCRIPTIONK")
        .AddKey("LOGTYPEDATERANKDESCRIPTIONK", {"LOGTYPE", "LOGDATE", "LOGRANK", "LOGDESCRIPTION"}, Dup,
                "OLD10:LOGTYPEDATERANKDESCRIPTIONK");
}

} // namespace

Catalogue& JornixCatalogue()
{
    static Catalogue* catalogue = [] {
        auto* tables = new Catalogue; // never destroyed: thread contexts may release tables at exit
        AddLogEvents(*tables);
        AddLogDocumentText(*tables, *tables->FindTable(QStringLiteral("LOG:")));
        AddUsers(*tables);
        AddReminders(*tables);
        AddTasks(*tables);
        AddContacts(*tables);
        AddScrapBook(*tables);
        AddStickyNotes(*tables);
        AddMiscFields(*tables);
        AddReportAreas(*tables);
        AddReportLayouts(*tables);
        AddVersion10Log(*tables);
        return tables;
    }();
    return *catalogue;
}

} // namespace jornix
