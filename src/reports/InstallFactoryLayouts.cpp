#include "reports/InstallFactoryLayouts.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "platform/framework/FileManager.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <vector>

namespace jornix {
namespace {

const QStringList UserLayoutFiles = {QStringLiteral("rpt"), QStringLiteral("bmp"), QStringLiteral("prn")};

struct FactoryRow
{
    int area;
    const char* description;
    int type;
    int style;
    int output;
    const char* filter;
    const char* notes;
    double wmfWidth = 0; // inches; the special loop runs when given
    double wmfHeight = 0;
};

const char* const LogFilter = "5|1|0|1|0|0|";
const char* const TaskFilter = "12|1|1|0|0|1|0|0|1|0|0|1|1|";
const char* const ReminderFilter = "7|1|1|1|1|1|0|0|";
const char* const OneOption = "1|1|";

const FactoryRow FactoryRows[FactoryLayoutCount] = {
    {1, "Summary Report Grouped by Log Date", 1, 1, 2, LogFilter,
     "This report will print a simple summary list of Log Events grouped by Log Date."},
    {1, "Summary Report Sorted by Log Description", 1, 1, 2, "5|2|0|1|0|0|",
     "This report will print a simple summary list of Log Events sorted by Log Description."},
    {1, "Summary Report Grouped by Log Type", 1, 1, 2, "5|3|0|1|0|0|",
     "This report will print a simple summary list of Log Events grouped by Log Type."},
    {1, "Formatted Log Notes (Detail)", 2, 3, 2, LogFilter,
     "This report will use the special WMF loop to print the formatted Log Notes text. The Log Event details "
     "will also be printed, so the Log Notes will be limited in size when printing greater than one page.",
     7.5, 6.5},
    {3, "Summary Contact List", 1, 1, 2, OneOption, "Summary Report of Contacts"},
    {3, "Avery Laser Labels", 3, 2, 2, OneOption, "1\" x 2 5/8\" (30 labels/sheet)"},
    {3, "Detail Contact", 1, 2, 2, OneOption, "Detail Contact"},
    {2, "Summary Report Sorted by Task Description", 1, 1, 2, TaskFilter,
     "This report will print a simple summary list of Tasks sorted by Task Description."},
    {2, "Detail Report", 1, 2, 2, TaskFilter, "This report will print the Task details sorted by Description"},
    {2, "Summary Grouped by Priority", 1, 1, 2, "12|5|1|0|0|1|0|0|1|0|0|1|1|",
     "This report will print a simple summary list of Tasks grouped by Task Priority."},
    {4, "Reminder Summary", 1, 1, 2, ReminderFilter, "Reminder Summary"},
    {4, "Reminder (Detail)", 1, 2, 2, ReminderFilter, "Reminder (Detail)"},
    {5, "Sticky Notes (Detail)", 1, 2, 2, OneOption, "Sticky Notes (Detail)"},
    {6, "Scrap Book (Detail)", 1, 2, 2, OneOption, "Scrap Book (Detail)"},
    {1, "Larger Formatted Log Notes", 2, 3, 2, LogFilter,
     "This report will use the special WMF loop to print the formatted Log Notes text. No Log Event details "
     "will be printed. Use this report when you want to print more of the formatted Log Notes.",
     7.5, 8.5},
    {1, "Export to Microsoft Excel", 1, 2, 12, LogFilter,
     "This report shows the new export to Microsoft Excel capabilities added with Jornix 2.0."},
    {1, "Plain Text Log Notes (Detail)", 1, 2, 2, LogFilter,
     "This report will print the Log Notes as plain text. All formatting will be removed prior to being "
     "printed."},
};
constexpr int ExportLayout = 16; // prints no cover page and no filter

QString FileName(qint32 number)
{
    return QStringLiteral("jx_%1").arg(number);
}

QString DataFile(qint32 number, const QString& extension)
{
    return GLO.DataPath + FileName(number) + QLatin1Char('.') + extension;
}

QString ShippedFile(int number, const QString& extension)
{
    return ProgramFolder + QStringLiteral("DefaultData/") + FileName(number) + QLatin1Char('.') + extension;
}

// Copies through a temporary name beside the target and a rename, so that a target is whole or not there;
// an existing target is never overwritten. Empty when done, otherwise the reason.
QString CopyFile(const QString& source, const QString& target)
{
    const QString temporary = target + QStringLiteral(".~copy");
    QFile::remove(temporary);
    QFile from(source);
    if (!from.copy(temporary))
        return QStringLiteral("%1 could not be copied to %2: %3").arg(source, temporary, from.errorString());
    QFile copy(temporary);
    if (!copy.rename(target)) {
        const QString reason = copy.errorString();
        QFile::remove(temporary);
        return QStringLiteral("%1 could not be written: %2").arg(target, reason);
    }
    return {};
}

// Every shipped layout parses and has its sketch.
QString CheckShippedFiles()
{
    for (int number = 1; number <= FactoryLayoutCount; ++number) {
        ReportLayout layout;
        QString error;
        if (!ReadLayoutFile(ShippedFile(number, QStringLiteral("rpt")), layout, error))
            return QStringLiteral("The shipped report layout %1 cannot be used: %2").arg(FileName(number), error);
        const QString sketch = ShippedFile(number, QStringLiteral("bmp"));
        if (!QFileInfo(sketch).isFile() || !QImageReader(sketch).canRead())
            return QStringLiteral("The shipped sketch %1 is missing or damaged.").arg(sketch);
    }
    return {};
}

bool Exists(Table& table, qint32 ref)
{
    table.ClearBuffer();
    table.Buffer().SetValue(QStringLiteral("Ref"), ref);
    return bool(table.Fetch(0));
}

// Adds the sentinel rows that are missing; `added` tells which, so that a failed reset can take them back.
QString AddSentinels(std::vector<Table*>& added)
{
    Table& areas = AccessLLA_->GetTable();
    if (!Exists(areas, SentinelLayout)) {
        areas.ClearBuffer();
        areas.Buffer().SetValue(QStringLiteral("Ref"), SentinelLayout);
        areas.Buffer().SetValue(QStringLiteral("ReportType"), QStringLiteral("Dummy record"));
        areas.Buffer().SetValue(QStringLiteral("TemplateType"), QString());
        if (Status status = areas.Insert(); !status)
            return QStringLiteral("The report area 99 could not be added: ") + status.Message();
        added.push_back(&areas);
    }
    Table& layouts = AccessLLL_->GetTable();
    if (!Exists(layouts, SentinelLayout)) {
        layouts.ClearBuffer(); // every option 0, every text blank
        Record& row = layouts.Buffer();
        row.SetValue(QStringLiteral("Ref"), SentinelLayout);
        row.SetValue(QStringLiteral("AreaRef"), SentinelLayout);
        row.SetValue(QStringLiteral("Description"), QStringLiteral("Dummy record"));
        row.SetValue(QStringLiteral("FileName"), FileName(SentinelLayout));
        if (Status status = layouts.Insert(); !status)
            return QStringLiteral("The report layout 99 could not be added: ") + status.Message();
        added.push_back(&layouts);
    }
    return {};
}

// The rows numbered 1 to 98, in number order.
QString ReadLayouts(std::vector<Record>& rows)
{
    View view(AccessLLL_->GetTable());
    view.SetOrder(0);
    view.SetReadBlobs(true);
    if (Status status = view.SetRange({1}, {SentinelLayout - 1}); !status)
        return QStringLiteral("The report layouts could not be read: ") + status.Message();
    Position from;
    for (;;) {
        std::vector<ViewRow> page;
        if (Status status = view.Read(from, Direction::Forward, 100, page); !status)
            return QStringLiteral("The report layouts could not be read: ") + status.Message();
        if (page.empty())
            return {};
        for (ViewRow& row : page)
            rows.push_back(row.record);
        from = page.back().position;
    }
}

// Removes a layout row through the data layer, which removes its files once the delete has committed.
bool DeleteLayout(qint32 number)
{
    AccessLLL_->GetTable().ClearBuffer();
    AccessLLL_->Buffer().SetValue(QStringLiteral("Ref"), number);
    return AccessLLL_->FetchQuiet(0) == 0 && AccessLLL_->DeleteRecord() == 0;
}

class Install
{
public:
    QString Run()
    {
        if (QString failure = Prepare(); !failure.isEmpty()) {
            TakeBackCopies();
            return failure + QStringLiteral("\n\nNo report layout was changed.");
        }

        QStringList faults;
        for (const Record& row : rows_) {
            const qint32 number = row.Value(QStringLiteral("Ref")).toInt();
            if (!DeleteLayout(number))
                faults << QStringLiteral("The report layout %1 could not be deleted.").arg(number);
        }
        for (const Record& row : rows_)
            for (const QString& extension : {QStringLiteral("rpt"), QStringLiteral("bmp")})
                QFile::remove(DataFile(row.Value(QStringLiteral("Ref")).toInt(), extension));
        for (int number = 1; number <= FactoryLayoutCount; ++number) {
            for (const QString& extension : {QStringLiteral("rpt"), QStringLiteral("bmp")}) {
                QFile::remove(DataFile(number, extension));
                if (QString fault = CopyFile(ShippedFile(number, extension), DataFile(number, extension));
                    !fault.isEmpty())
                    faults << fault;
            }
            if (QString fault = AddFactoryRow(number); !fault.isEmpty())
                faults << fault;
        }
        if (faults.isEmpty())
            return {};
        return QStringLiteral("Not every report layout was reset:\n\n") + faults.join(QLatin1Char('\n'));
    }

private:
    // Everything that can be undone: the checks, the sentinels and the copies of the user's layouts.
    QString Prepare()
    {
        if (QString failure = CheckShippedFiles(); !failure.isEmpty())
            return failure;
        if (QString failure = ReadLayouts(rows_); !failure.isEmpty())
            return failure;
        if (QString failure = AddSentinels(sentinels_); !failure.isEmpty())
            return failure;
        for (const Record& row : rows_)
            if (row.Value(QStringLiteral("FactoryDefault")).toInt() == 0)
                if (QString failure = CopyUserLayout(row); !failure.isEmpty())
                    return failure;
        return {};
    }

    QString CopyUserLayout(const Record& row)
    {
        const qint32 old = row.Value(QStringLiteral("Ref")).toInt();
        const QString what = QStringLiteral("The report layout \"%1\" (%2) could not be copied")
                                 .arg(row.Value(QStringLiteral("Description")).toString().trimmed(),
                                      FileName(old));
        if (AccessLLL_->PrepareRecord() != 0)
            return what + QLatin1Char('.');
        Record& copy = AccessLLL_->Buffer();
        const qint32 number = copy.Value(QStringLiteral("Ref")).toInt();
        const int refField = copy.FieldNumber(QStringLiteral("Ref"));
        const int fileField = copy.FieldNumber(QStringLiteral("FileName"));
        for (int field = 0; field < row.FieldCount(); ++field)
            if (field != refField && field != fileField)
                copy.SetValue(field, row.Value(field));
        copy.SetValue(fileField, FileName(number));
        if (AccessLLL_->Insert() != 0) {
            DeleteLayout(number); // the row that numbering added
            return what + QLatin1Char('.');
        }
        copies_.push_back(number);
        for (const QString& extension : UserLayoutFiles) {
            const QString source = DataFile(old, extension);
            if (!QFileInfo::exists(source))
                continue; // it moves with the files it has
            if (QString fault = CopyFile(source, DataFile(number, extension)); !fault.isEmpty())
                return what + QStringLiteral(": ") + fault;
            copiedFiles_ << DataFile(number, extension);
        }
        return {};
    }

    void TakeBackCopies()
    {
        for (const QString& file : copiedFiles_)
            QFile::remove(file);
        for (qint32 number : copies_)
            DeleteLayout(number);
        for (Table* table : sentinels_)
            if (Exists(*table, SentinelLayout))
                table->Delete();
    }

    QString AddFactoryRow(int number)
    {
        const FactoryRow& factory = FactoryRows[number - 1];
        Table& table = AccessLLL_->GetTable();
        table.ClearBuffer();
        Record& row = table.Buffer();
        const int printOptions = number == ExportLayout ? 0 : 1;
        const std::pair<const char*, QVariant> values[] = {
            {"Ref", number},
            {"AreaRef", factory.area},
            {"Description", QString::fromUtf8(factory.description)},
            {"FileName", FileName(number)},
            {"Type", factory.type},
            {"Style", factory.style},
            {"OutputFormat", factory.output},
            {"FactoryDefault", 1},
            {"PrinterOptions", 0},
            {"OpenOutputFile", 0},
            {"SortOrder", 1},
            {"Pages", 1},
            {"PrintCoverPage", printOptions},
            {"PrintFilter", printOptions},
            {"WMFSpecialLoop", factory.wmfWidth > 0 ? 1 : 0},
            {"WMFWidth", factory.wmfWidth},
            {"WMFHeight", factory.wmfHeight},
            {"Filter", QString::fromUtf8(factory.filter)},
            {"Notes", QString::fromUtf8(factory.notes)}};
        for (const auto& [field, value] : values)
            row.SetValue(QLatin1String(field), value);
        if (Status status = table.Insert(); !status)
            return QStringLiteral("The report layout %1 could not be added: %2").arg(number).arg(status.Message());
        return {};
    }

    std::vector<Record> rows_;
    std::vector<Table*> sentinels_;
    std::vector<qint32> copies_;
    QStringList copiedFiles_;
};

} // namespace

QString InstallFactoryLayouts()
{
    return Install().Run();
}

} // namespace jornix
