#include "core/CreateJornixDatabase.h"

#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/Procedures.h"
#include "core/Tables.h"
#include "documents/SampleDocuments.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QFile>
#include <QFileInfo>

namespace jornix {
namespace {

constexpr auto MakerWebAddress = "https://www.jornix.example/";

Table& TableOf(const char* prefix)
{
    return *JornixCatalogue().FindTable(QLatin1String(prefix));
}

QString Reason(const Status& status)
{
    return status.File().isEmpty() ? status.Message() : status.Message() + " (" + status.File() + ")";
}

// A table opened on this thread for the length of one step of the work.
class OpenTable
{
public:
    explicit OpenTable(const char* prefix) : table_(TableOf(prefix)), status_(table_.Open()) {}
    ~OpenTable()
    {
        if (status_)
            table_.Close();
    }
    OpenTable(const OpenTable&) = delete;
    OpenTable& operator=(const OpenTable&) = delete;

    const Status& Opened() const { return status_; }
    Table* operator->() const { return &table_; }
    Record& Buffer() const { return table_.Buffer(); }

    bool IsEmpty() const
    {
        qint64 count = -1;
        return table_.RecordCount(count) && count == 0;
    }

    // A new record in the buffer, numbered when the table numbers its records.
    Status StartRecord(qint32* number = nullptr)
    {
        table_.ClearBuffer();
        const int key = table_.AutoNumberKey();
        if (key < 0)
            return {};
        qint32 next = 0;
        if (Status status = table_.TakeNextNumber(next); !status)
            return status;
        table_.Buffer().SetValue(table_.Key(key).components.front(), next);
        if (number)
            *number = next;
        return {};
    }

private:
    Table& table_;
    Status status_;
};

struct Values
{
    const char* field;
    QVariant value;
};

void Set(Record& record, std::initializer_list<Values> values)
{
    for (const Values& value : values)
        record.SetValue(QLatin1String(value.field), value.value);
}

// The sample records carry the new user as their maker; the log names its stamps with its own word.
void Stamp(Record& record, const QString& word, const QString& loginId, qint32 uniqueId)
{
    record.SetValue(word + "CreateDate", Today());
    record.SetValue(word + "CreateLoginID", loginId);
    record.SetValue(word + "LastEditDate", Today());
    record.SetValue(word + "LastEditLoginID", loginId);
    record.SetValue(word + "UniqueID", uniqueId);
}

class Work
{
public:
    Work(const FirstLogin& login, const std::function<void(int)>& progress)
        : login_(login), progress_(progress)
    {
    }

    DatabaseCreation Run(bool withSamples)
    {
        const QString jornixFile = TableOf("LOG:").FilePath();
        const bool jornixFileExisted = QFileInfo::exists(jornixFile);
        const bool made = CreateTables() && AddAdministrator() && AddReportAreas();
        if (!made && !jornixFileExisted)
            QFile::remove(jornixFile);
        if (made) {
            InstallReportLayouts();
            Tell(55);
            if (withSamples)
                AddSamples();
            Tell(100);
        }
        return result_;
    }

private:
    void Tell(int value)
    {
        if (progress_)
            progress_(value);
    }

    bool Fail(const QString& what, const QString& reason)
    {
        result_.failure = what + ": " + reason;
        return false;
    }
    bool Fail(const QString& what, const Status& status) { return Fail(what, Reason(status)); }

    void Note(const QString& what, const Status& status) { result_.notes << what + ": " + Reason(status); }

    // Opening a table makes its record file, or the table inside an existing file, when it is missing;
    // nothing that is there is emptied.
    bool CreateTables()
    {
        static const std::pair<const char*, int> steps[] = {
            {"LOG:", 2},  {"LLL_:", 4}, {"LLA_:", 5}, {"MSC:", 10}, {"STK:", 15},
            {"SCR:", 20}, {"CON:", 25}, {"USR:", 30}, {"TSK:", 35}, {"REM:", 40}};
        for (const auto& [prefix, value] : steps) {
            OpenTable table(prefix);
            if (!table.Opened())
                return Fail(QStringLiteral("The table %1 could not be created").arg(table->TableName()),
                            table.Opened());
            Tell(value);
        }
        Tell(45);
        Tell(50);
        return true;
    }

    bool AddAdministrator()
    {
        const QString what = QStringLiteral("The login %1 could not be added").arg(login_.loginId);
        OpenTable users("USR:");
        if (!users.Opened())
            return Fail(what, users.Opened());
        const std::optional<QString> hash = HashPassword(login_.password);
        if (!hash)
            return Fail(what, QStringLiteral("the password could not be protected."));
        uniqueId_ = Clock();
        users->ClearBuffer();
        Set(users.Buffer(), {{"LoginID", login_.loginId},
                             {"Name", login_.userName},
                             {"Password", *hash},
                             {"LastLogin", 0},
                             {"LastPwdChange", Today()},
                             {"ChngPwdAtNextLogin", 0},
                             {"ExpirePasswordCount", 90},
                             {"Disabled", 0},
                             {"Administrator", 1},
                             {"UniqueID", uniqueId_}});
        for (const char* access :
             {"LogEventAccess", "ReminderAccess", "TaskAccess", "StickyNotesAccess", "ContactAccess",
              "ScrapBookAccess", "ReportDesignerAccess", "MiscFieldAccess"})
            users.Buffer().SetValue(QLatin1String(access), 2);
        if (Status status = users->Insert(); !status)
            return Fail(what, status);
        return true;
    }

    // Areas already in the table (a report file that was kept) stay as they are.
    bool AddReportAreas()
    {
        static const std::pair<int, const char*> areas[] = {
            {1, "Jornix"},       {2, "Task"},       {3, "Contact"},      {4, "Reminder"},
            {5, "Sticky Notes"}, {6, "Scrap Book"}, {99, "Dummy Record"}};
        OpenTable table("LLA_:");
        if (!table.Opened())
            return Fail(QStringLiteral("The report areas could not be added"), table.Opened());
        for (const auto& [ref, name] : areas) {
            table->ClearBuffer();
            table.Buffer().SetValue(QStringLiteral("Ref"), ref);
            if (table->Fetch(0))
                continue;
            table->ClearBuffer();
            Set(table.Buffer(),
                {{"Ref", ref}, {"ReportType", QLatin1String(name)}, {"TemplateType", QString()}});
            if (Status status = table->Insert(); !status)
                return Fail(QStringLiteral("The report area %1 could not be added").arg(QLatin1String(name)),
                            status);
        }
        return true;
    }

    // The factory report layouts, by the reports library's procedure (core does not link it); a reset that
    // fails has said so itself.
    void InstallReportLayouts()
    {
        const QString reset = QStringLiteral("ResetReportLayouts");
        if (!HasProcedure(reset))
            result_.notes << QStringLiteral("The factory report layouts are not available in this version, so "
                                            "Jornix added no report layouts.");
        else
            CallProcedure(reset);
    }

    // Each table gets its samples only while it is empty; what goes wrong here is told, and the setup goes
    // on.
    void AddSamples()
    {
        AddSampleEvents();
        AddSampleRecords("STK:", QStringLiteral("sticky note"), {70}, [](Record& record, int) {
            Set(record, {{"Description", QStringLiteral("A quick note")},
                         {"Private", 0},
                         {"Notes", QStringLiteral("Here is an example sticky note. You can use "
                                                  "sticky notes to jot down a quick note to "
                                                  "yourself.")}});
        });
        AddSampleRecords("SCR:", QStringLiteral("scrap"), {75, 80, 85}, [](Record& record, int index) {
            static const char* const scraps[][3] = {
                {"", "1",
                 "Jornix Software\n123 Example Road\nAnytown, XX 00000\nhttps://www.jornix.example/"},
                {".Sig 1", "0", "A journal kept is a memory shared\nwith the person you will be tomorrow."},
                {".Sig 2", "0",
                 "Write it down while it is fresh,\nread it again when it is not;\nthe days run together,\n"
                 "the notes keep them apart,\nand the log remembers what you forgot."}};
            Set(record, {{"Description", QString::fromUtf8(scraps[index][0])},
                         {"Private", QString::fromUtf8(scraps[index][1]).toInt()},
                         {"Scrap", QString::fromUtf8(scraps[index][2])}});
        });
        AddSampleRecords("CON:", QStringLiteral("contact"), {90}, [](Record& record, int) {
            Set(record, {{"Company", QStringLiteral("Example Company, Inc.")},
                         {"FName", QStringLiteral("Pat")},
                         {"LName", QStringLiteral("Sample")},
                         {"Street1", QStringLiteral("123 Main Street")},
                         {"City", QStringLiteral("Anytown")},
                         {"State", QStringLiteral("XX")},
                         {"Zip", QStringLiteral("00000")},
                         {"Country", QStringLiteral("USA")},
                         {"Phone1", QStringLiteral("800.555.1212")},
                         {"Email", QStringLiteral("pat.sample@example.com")},
                         {"Web", QStringLiteral("www.example.com")},
                         {"Private", 0},
                         {"Notes", QStringLiteral("Put any notes you want about this contact")}});
        });
        AddSampleRecords("TSK:", QStringLiteral("task"), {95}, [](Record& record, int) {
            Set(record,
                {{"Description", QStringLiteral("Sample Task")},
                 {"StartDate", Today()},
                 {"DueDate", Today()},
                 {"CloseDate", 0},
                 {"Completed", 0},
                 {"Priority", 2},
                 {"Private", 0},
                 {"Notes", QStringLiteral("You can put any text information about this task here.")}});
        });
    }

    void AddSampleRecords(const char* prefix, const QString& what, std::initializer_list<int> progress,
                          const std::function<void(Record&, int)>& fill)
    {
        OpenTable table(prefix);
        if (!table.Opened())
            return Note(QStringLiteral("No sample %1 was added").arg(what), table.Opened());
        const bool empty = table.IsEmpty();
        int index = 0;
        for (int value : progress) {
            if (empty) {
                Status status = table.StartRecord();
                if (status) {
                    fill(table.Buffer(), index);
                    Stamp(table.Buffer(), {}, login_.loginId, uniqueId_);
                    status = table->Insert();
                }
                if (!status)
                    Note(QStringLiteral("A sample %1 could not be added").arg(what), status);
            }
            ++index;
            Tell(value);
        }
    }

    void AddSampleEvents()
    {
        OpenTable log("LOG:");
        if (!log.Opened())
            return Note(QStringLiteral("No sample log event was added"), log.Opened());
        if (!log.IsEmpty()) {
            Tell(60);
            Tell(65);
            return;
        }
        struct Sample
        {
            const char* description;
            int dayOffset;
            int followUp;
            int isPrivate;
            const char* link;
            const char* document;
            int progress;
        };
        static const Sample samples[] = {{"Welcome to Jornix", 0, 1, 0, MakerWebAddress, "sample1.tx", 60},
                                         {"Another Example Record", 1, 0, 1, "", "sample2.tx", 65}};
        for (const Sample& sample : samples) {
            qint32 number = 0;
            Status status = log.StartRecord(&number);
            if (status) {
                Set(log.Buffer(), {{"LogDate", Today() + sample.dayOffset},
                                   {"LogType", 0},
                                   {"LogRank", 0},
                                   {"LogDescription", QLatin1String(sample.description)},
                                   {"LogDocLink", QLatin1String(sample.link)},
                                   {"LogFollowUp", sample.followUp},
                                   {"LogImportant", 0},
                                   {"LogPrivate", sample.isPrivate},
                                   {"LogDocEditDate", Today()},
                                   {"LogDocEditTime", Clock()}});
                Stamp(log.Buffer(), QStringLiteral("Log"), login_.loginId, uniqueId_);
                QString error;
                if (const auto document =
                        LoadSampleDocument(ProgramFolder, QLatin1String(sample.document), &error))
                    log.Buffer().SetValue(QStringLiteral("LogDoc"), *document);
                else
                    result_.notes << QStringLiteral("The sample event \"%1\" has no notes: %2")
                                         .arg(QLatin1String(sample.description), error);
                status = log->Insert();
            }
            if (!status)
                Note(QStringLiteral("The sample event \"%1\" could not be added")
                         .arg(QLatin1String(sample.description)),
                     status);
            else if (&sample == &samples[0])
                CopySampleVoice(number);
            Tell(sample.progress);
        }
    }

    // The first sample event's voice message; a file of that name that is there already is kept.
    void CopySampleVoice(qint32 eventNumber)
    {
        const QString target = GLO.DataPath + QStringLiteral("l_%1.wav").arg(eventNumber);
        if (QFileInfo::exists(target))
            return;
        const QString source = ProgramFolder + QStringLiteral("DefaultData/sample1.wav");
        if (!QFile::copy(source, target))
            result_.notes << QStringLiteral("The sample voice message %1 could not be copied to %2.")
                                 .arg(source, target);
    }

    const FirstLogin& login_;
    const std::function<void(int)>& progress_;
    DatabaseCreation result_;
    qint32 uniqueId_ = 0;
};

} // namespace

DatabaseCreation CreateJornixDatabase(const FirstLogin& login, bool withSamples,
                                      const std::function<void(int)>& progress)
{
    return Work(login, progress).Run(withSamples);
}

} // namespace jornix
