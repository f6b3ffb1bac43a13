// Writes the factory report layouts "jx_1.rpt" to "jx_17.rpt" and their sketches ("jx_<n>.bmp") into the
// folder given: MakeFactoryLayouts <folder>. The reset of the report layouts copies them from the program
// folder's DefaultData into the data folder.
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/LayoutSketch.h"
#include "platform/reportengine/ReportJob.h"

#include <QApplication>
#include <QDate>
#include <QDir>

#include <cstdio>

using namespace jornix;

namespace {

// US Letter with half-inch margins: 190.5 by 254 mm to print on.
constexpr double PaperWidth = 215.9;
constexpr double PaperHeight = 279.4;
constexpr double Margin = 12.7;
constexpr double PrintWidth = PaperWidth - 2 * Margin;
constexpr double PrintHeight = PaperHeight - 2 * Margin;
constexpr double HeaderHeight = 16;
constexpr double FooterHeight = 8;
constexpr double Inch = 25.4;

const QString PageOfPages = QStringLiteral("\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())");
const QString LogTypeName = QStringLiteral("Choose(Jornix.LogType, \"None\", \"Home\", \"Work\", \"Other\")");
const QString PriorityName = QStringLiteral("Choose(Task.Priority, \"\", \"High\", \"Medium\", \"Low\")");
const QString LinkTypeName =
    QStringLiteral("Choose(Reminder.LinkType, \"No Link\", \"Log Event\", \"Contact\", \"Task\")");

QString YesNo(const QString& item)
{
    return QStringLiteral("Cond(%1 = 1, \"Yes\", \"No\")").arg(item);
}

QString ShortDate(const QString& item)
{
    return QStringLiteral("Date$(%1, \"mm/dd/yyyy\")").arg(item);
}

TextStyle Style(double size, bool bold = false, TextAlignment alignment = TextAlignment::Left)
{
    TextStyle style;
    style.pointSize = size;
    style.bold = bold;
    style.alignment = alignment;
    return style;
}

LayoutObject Text(const QRectF& frame, const QStringList& lines, const TextStyle& style = Style(10))
{
    LayoutObject object;
    object.kind = ObjectKind::Text;
    object.frame = frame;
    object.lines = lines;
    object.style = style;
    return object;
}

LayoutObject Rule(double top)
{
    LayoutObject object;
    object.kind = ObjectKind::Line;
    object.frame = QRectF(0, top, PrintWidth, 0);
    object.penWidth = 0.35;
    return object;
}

TableCell Cell(const QString& formula, const TextStyle& style = Style(9))
{
    return {formula, style};
}

TableLine Row(const QStringList& formulas, const TextStyle& style = Style(9), const QString& condition = {})
{
    TableLine line;
    line.condition = condition;
    for (const QString& formula : formulas)
        line.cells.push_back(Cell(formula, style));
    return line;
}

// A detail line: the field's label in bold, its value beside it.
TableLine Detail(const QString& label, const QString& value, const QString& condition = {})
{
    TableLine line;
    line.condition = condition;
    line.cells = {Cell(QStringLiteral("\"%1\"").arg(label), Style(9, true)), Cell(value)};
    return line;
}

// The user-defined fields of an area, each with its prompt, on the lines of those that are declared.
std::vector<TableLine> UserFields(const QString& itemStem)
{
    std::vector<TableLine> lines;
    for (int i = 1; i <= 6; ++i) {
        const QString prompt = QStringLiteral("MISC.Misc%1Prompt").arg(i);
        TableLine line;
        line.condition = QStringLiteral("Defined(\"%1\")").arg(prompt);
        line.cells = {Cell(prompt, Style(9, true)), Cell(QStringLiteral("%1%2").arg(itemStem).arg(i))};
        lines.push_back(line);
    }
    return lines;
}

struct Layout
{
    int number;
    ReportLayout layout;
};

// Paper, the page header with the description and the date, the footer with the page count and the login
// name and, unless left out, the cover page with the readable filter.
ReportLayout Page(ProjectType type, const QString& description, bool coverPage = true)
{
    ReportLayout layout;
    layout.projectType = type;
    layout.description = description;
    layout.paper = {PaperWidth, PaperHeight, Margin, Margin, Margin, Margin};
    auto& every = layout.Layer(LayoutLayer::EveryPage);
    every.push_back(Text(QRectF(0, 0, PrintWidth * 0.7, 8), {QStringLiteral("ReportOptions.Description")},
                         Style(14, true)));
    every.push_back(Text(QRectF(PrintWidth * 0.7, 0, PrintWidth * 0.3, 8),
                         {QStringLiteral("Date$(Today(), \"mmmm d, yyyy\")")},
                         Style(9, false, TextAlignment::Right)));
    every.push_back(Rule(HeaderHeight - 6));
    every.push_back(Rule(PrintHeight - FooterHeight));
    every.push_back(Text(QRectF(0, PrintHeight - FooterHeight + 1, PrintWidth / 2, 6), {PageOfPages}, Style(8)));
    every.push_back(Text(QRectF(PrintWidth / 2, PrintHeight - FooterHeight + 1, PrintWidth / 2, 6),
                         {QStringLiteral("\"Printed by \" & ReportOptions.LoginName")},
                         Style(8, false, TextAlignment::Right)));
    if (coverPage) {
        auto& cover = layout.Layer(LayoutLayer::CoverPage);
        LayoutObject title = Text(QRectF(0, 60, PrintWidth, 12), {QStringLiteral("ReportOptions.Description")},
                                  Style(20, true, TextAlignment::Centre));
        title.condition = QStringLiteral("ReportOptions.PrintCoverPage = 1");
        cover.push_back(title);
        LayoutObject notes = Text(QRectF(20, 80, PrintWidth - 40, 20), {QStringLiteral("ReportOptions.Notes")},
                                  Style(10, false, TextAlignment::Centre));
        notes.condition = title.condition;
        cover.push_back(notes);
        LayoutObject filter =
            Text(QRectF(20, 110, PrintWidth - 40, 80),
                 {QStringLiteral("\"Selection: \" & ReportOptions.FilterDescription"),
                  QStringLiteral("\"Sorted by: \" & ReportOptions.SortOrder")},
                 Style(10));
        filter.condition = QStringLiteral("ReportOptions.PrintCoverPage = 1 AND ReportOptions.PrintFilter = 1");
        cover.push_back(filter);
    }
    return layout;
}

LayoutObject Table(const std::vector<TableColumn>& columns, bool header = true)
{
    LayoutObject object;
    object.kind = ObjectKind::Table;
    object.frame = QRectF(0, HeaderHeight, PrintWidth, PrintHeight - HeaderHeight - FooterHeight - 2);
    object.table.columns = columns;
    if (header) {
        TableLine line;
        for (const TableColumn& column : columns)
            line.cells.push_back(Cell(QStringLiteral("\"%1\"").arg(column.title), Style(9, true)));
        object.table.headerLines = {line};
    }
    return object;
}

ReportLayout List(const QString& description, const LayoutObject& table)
{
    ReportLayout layout = Page(ProjectType::List, description);
    layout.Layer(LayoutLayer::EveryPage).push_back(table);
    return layout;
}

// A detail list: a label and a value per line, a blank line between records.
ReportLayout DetailList(const QString& description, std::vector<TableLine> lines)
{
    LayoutObject table = Table({{QStringLiteral("Field"), 40}, {QStringLiteral("Value"), PrintWidth - 40}}, false);
    lines.push_back(Row({QStringLiteral("\" \""), QStringLiteral("\" \"")}));
    table.table.dataLines = std::move(lines);
    return List(description, table);
}

ReportLayout LogSummary(const QString& description, const QString& groupFormula, const QString& groupTitle)
{
    LayoutObject table = Table({{QStringLiteral("Date"), 25},
                                {QStringLiteral("Type"), 18},
                                {QStringLiteral("Description"), 92.5},
                                {QStringLiteral("Location"), 35},
                                {QStringLiteral("Follow-up"), 20}});
    table.table.groupFormula = groupFormula;
    if (!groupFormula.isEmpty())
        table.table.groupHeaderLines = {Row({QStringLiteral("\"\""), QStringLiteral("\"\""), groupTitle}, Style(10, true))};
    table.table.dataLines = {Row({ShortDate(QStringLiteral("Jornix.LogDate")), LogTypeName,
                                  QStringLiteral("Jornix.LogDescription"), QStringLiteral("Jornix.LogLocation"),
                                  YesNo(QStringLiteral("Jornix.LogFollowup"))})};
    return List(description, table);
}

// A card per log event: its notes as page pictures of the given size, with or without the event's details.
// The record's objects go on the pages of records (the first and the following ones), so that the cover
// page shows only the cover and the page's header and footer.
ReportLayout LogNotesCard(const QString& description, double pictureHeight, bool withDetails)
{
    ReportLayout layout = Page(ProjectType::Card, description);
    std::vector<LayoutObject> record;
    double top = HeaderHeight;
    if (withDetails) {
        LayoutObject details = Text(
            QRectF(0, top, PrintWidth, 24),
            {QStringLiteral("Jornix.LogDescription"),
             QStringLiteral("\"Date: \" & Date$(Jornix.LogDate, \"dddd, mmmm d, yyyy\") & "
                            "\"    Type: \" & ") +
                 LogTypeName,
             QStringLiteral("\"Location: \" & Jornix.LogLocation & \"    Duration: \" & "
                            "Jornix.LogDuration"),
             QStringLiteral("\"Follow-up: \" & ") + YesNo(QStringLiteral("Jornix.LogFollowup")) +
                 QStringLiteral(" & \"    Important: \" & ") + YesNo(QStringLiteral("Jornix.LogImportant"))},
            Style(9));
        details.name = QStringLiteral("Details");
        record.push_back(details);
        top += 26;
    }
    LayoutObject notes;
    notes.kind = ObjectKind::Picture;
    notes.name = QStringLiteral("Notes");
    notes.frame = QRectF(0, top, 7.5 * Inch, pictureHeight * Inch);
    notes.pictureItem = QStringLiteral("Jornix.LogDoc");
    record.push_back(notes);
    layout.Layer(LayoutLayer::FirstPage) = record;
    layout.Layer(LayoutLayer::FollowingPages) = record;
    return layout;
}

std::vector<Layout> FactoryLayouts()
{
    std::vector<Layout> layouts;
    const auto add = [&](int number, ReportLayout layout) {
        layouts.push_back({number, std::move(layout)});
    };

    add(1, LogSummary(QStringLiteral("Summary Report Grouped by Log Date"), QStringLiteral("Jornix.LogDate"),
                      QStringLiteral("Date$(Jornix.LogDate, \"dddd, mmmm d, yyyy\")")));
    add(2, LogSummary(QStringLiteral("Summary Report Sorted by Log Description"), {}, {}));
    add(3, LogSummary(QStringLiteral("Summary Report Grouped by Log Type"), QStringLiteral("Jornix.LogType"),
                      QStringLiteral("\"Log Type: \" & ") + LogTypeName));
    add(4, LogNotesCard(QStringLiteral("Formatted Log Notes (Detail)"), 6.5, true));

    {
        LayoutObject table = Table({{QStringLiteral("Name"), 45},
                                    {QStringLiteral("Company"), 45},
                                    {QStringLiteral("City"), 35},
                                    {QStringLiteral("Phone"), 28},
                                    {QStringLiteral("E-Mail"), PrintWidth - 153}});
        table.table.dataLines = {
            Row({QStringLiteral("RTrim$(Contacts.LName) & \", \" & RTrim$(Contacts.FName)"),
                 QStringLiteral("Contacts.Company"), QStringLiteral("Contacts.City"),
                 QStringLiteral("Contacts.Phone1"), QStringLiteral("Contacts.EMail")})};
        add(5, List(QStringLiteral("Summary Contact List"), table));
    }
    {
        // Address labels of 1" by 2 5/8", three across and ten down a Letter sheet.
        ReportLayout layout;
        layout.projectType = ProjectType::Label;
        layout.description = QStringLiteral("Avery Laser Labels");
        layout.paper = {PaperWidth, PaperHeight, 0, 0, 0, 0};
        layout.labels = {10, 3, 2.75 * Inch, 1 * Inch, 0.1875 * Inch, 0.5 * Inch, 2.625 * Inch, 1 * Inch};
        layout.Layer(LayoutLayer::EveryPage).push_back(
            Text(QRectF(4, 3, 2.625 * Inch - 8, Inch - 6),
                 {QStringLiteral("RTrim$(Contacts.FName) & \" \" & RTrim$(Contacts.LName)"),
                  QStringLiteral("Contacts.Company"), QStringLiteral("Contacts.Street1"),
                  QStringLiteral("RTrim$(Contacts.City) & \", \" & RTrim$(Contacts.State) & \"  \" & "
                                 "Contacts.Zip")},
                 Style(9)));
        add(6, layout);
    }
    {
        std::vector<TableLine> lines = {
            Detail(QStringLiteral("Name:"), QStringLiteral("RTrim$(Contacts.FName) & \" \" & Contacts.LName")),
            Detail(QStringLiteral("Company:"), QStringLiteral("Contacts.Company")),
            Detail(QStringLiteral("Address:"), QStringLiteral("Contacts.Street1")),
            Detail(QStringLiteral(""), QStringLiteral("Contacts.Street2"), QStringLiteral("NOT Empty(Contacts.Street2)")),
            Detail(QStringLiteral(""), QStringLiteral("RTrim$(Contacts.City) & \", \" & RTrim$(Contacts.State) & "
                                                      "\"  \" & Contacts.Zip")),
            Detail(QStringLiteral(""), QStringLiteral("RTrim$(Contacts.Province) & \" \" & Contacts.Country")),
            Detail(QStringLiteral("Phone:"), QStringLiteral("Contacts.Phone1")),
            Detail(QStringLiteral("Phone 2:"), QStringLiteral("Contacts.Phone2")),
            Detail(QStringLiteral("Fax:"), QStringLiteral("Contacts.Fax")),
            Detail(QStringLiteral("Mobile:"), QStringLiteral("Contacts.Mobile")),
            Detail(QStringLiteral("E-Mail:"), QStringLiteral("Contacts.EMail")),
            Detail(QStringLiteral("Web:"), QStringLiteral("Contacts.Web"))};
        for (TableLine& line : UserFields(QStringLiteral("Contacts.Misc")))
            lines.push_back(line);
        lines.push_back(Detail(QStringLiteral("Notes:"), QStringLiteral("Contacts.Notes")));
        add(7, DetailList(QStringLiteral("Detail Contact"), lines));
    }

    const std::vector<TableColumn> taskColumns = {{QStringLiteral("Description"), 80.5},
                                                  {QStringLiteral("Priority"), 20},
                                                  {QStringLiteral("Start"), 22},
                                                  {QStringLiteral("Due"), 22},
                                                  {QStringLiteral("Closed"), 22},
                                                  {QStringLiteral("Done"), 24}};
    const TableLine taskLine =
        Row({QStringLiteral("Task.Description"), PriorityName, ShortDate(QStringLiteral("Task.StartDate")),
             ShortDate(QStringLiteral("Task.DueDate")), ShortDate(QStringLiteral("Task.CloseDate")),
             YesNo(QStringLiteral("Task.Completed"))});
    {
        LayoutObject table = Table(taskColumns);
        table.table.dataLines = {taskLine};
        add(8, List(QStringLiteral("Summary Report Sorted by Task Description"), table));
    }
    {
        std::vector<TableLine> lines = {
            Detail(QStringLiteral("Description:"), QStringLiteral("Task.Description")),
            Detail(QStringLiteral("Priority:"), PriorityName),
            Detail(QStringLiteral("Start Date:"), ShortDate(QStringLiteral("Task.StartDate"))),
            Detail(QStringLiteral("Due Date:"), ShortDate(QStringLiteral("Task.DueDate"))),
            Detail(QStringLiteral("Close Date:"), ShortDate(QStringLiteral("Task.CloseDate"))),
            Detail(QStringLiteral("Completed:"), YesNo(QStringLiteral("Task.Completed")))};
        for (TableLine& line : UserFields(QStringLiteral("Task.Misc")))
            lines.push_back(line);
        lines.push_back(Detail(QStringLiteral("Notes:"), QStringLiteral("Task.Notes")));
        add(9, DetailList(QStringLiteral("Detail Report"), lines));
    }
    {
        LayoutObject table = Table(taskColumns);
        table.table.groupFormula = QStringLiteral("Task.Priority");
        table.table.groupHeaderLines = {Row({QStringLiteral("\"Priority: \" & ") + PriorityName}, Style(10, true))};
        table.table.dataLines = {taskLine};
        add(10, List(QStringLiteral("Summary Grouped by Priority"), table));
    }

    {
        LayoutObject table = Table({{QStringLiteral("Date"), 25},
                                    {QStringLiteral("Description"), 95.5},
                                    {QStringLiteral("Link"), 30},
                                    {QStringLiteral("Show"), 20},
                                    {QStringLiteral("Dismissed"), 20}});
        table.table.dataLines = {Row({ShortDate(QStringLiteral("Reminder.ReminderDate")),
                                      QStringLiteral("Reminder.Description"), LinkTypeName,
                                      YesNo(QStringLiteral("Reminder.ShowReminder")),
                                      YesNo(QStringLiteral("Reminder.Dismiss"))})};
        add(11, List(QStringLiteral("Reminder Summary"), table));
    }
    {
        std::vector<TableLine> lines = {
            Detail(QStringLiteral("Description:"), QStringLiteral("Reminder.Description")),
            Detail(QStringLiteral("Date:"), ShortDate(QStringLiteral("Reminder.ReminderDate"))),
            Detail(QStringLiteral("Link:"), LinkTypeName),
            Detail(QStringLiteral("Show:"), YesNo(QStringLiteral("Reminder.ShowReminder"))),
            Detail(QStringLiteral("Dismissed:"), YesNo(QStringLiteral("Reminder.Dismiss")))};
        for (TableLine& line : UserFields(QStringLiteral("Reminder.Misc")))
            lines.push_back(line);
        lines.push_back(Detail(QStringLiteral("Notes:"), QStringLiteral("Reminder.Notes")));
        add(12, DetailList(QStringLiteral("Reminder (Detail)"), lines));
    }
    add(13, DetailList(QStringLiteral("Sticky Notes (Detail)"),
                       {Detail(QStringLiteral("Description:"), QStringLiteral("StickyNotes.Description")),
                        Detail(QStringLiteral("Created:"), ShortDate(QStringLiteral("StickyNotes.CreateDate")) +
                                                               QStringLiteral(" & \" by \" & "
                                                                              "StickyNotes.CreateLoginID")),
                        Detail(QStringLiteral("Notes:"), QStringLiteral("StickyNotes.Notes"))}));
    add(14, DetailList(QStringLiteral("Scrap Book (Detail)"),
                       {Detail(QStringLiteral("Description:"), QStringLiteral("ScrapBook.Description")),
                        Detail(QStringLiteral("Created:"), ShortDate(QStringLiteral("ScrapBook.CreateDate")) +
                                                               QStringLiteral(" & \" by \" & "
                                                                              "ScrapBook.CreateLoginID")),
                        Detail(QStringLiteral("Scrap:"), QStringLiteral("ScrapBook.Scrap"))}));
    add(15, LogNotesCard(QStringLiteral("Larger Formatted Log Notes"), 8.5, false));
    {
        // One table and nothing else, so that the sheet holds a header row and a row per event.
        ReportLayout layout;
        layout.projectType = ProjectType::List;
        layout.description = QStringLiteral("Export to Microsoft Excel");
        layout.paper = {PaperWidth, PaperHeight, Margin, Margin, Margin, Margin};
        LayoutObject table = Table({{QStringLiteral("Number"), 16},
                                    {QStringLiteral("Date"), 22},
                                    {QStringLiteral("Type"), 14},
                                    {QStringLiteral("Rank"), 12},
                                    {QStringLiteral("Description"), 43.5},
                                    {QStringLiteral("Location"), 25},
                                    {QStringLiteral("Duration"), 18},
                                    {QStringLiteral("Follow-up"), 14},
                                    {QStringLiteral("Important"), 14},
                                    {QStringLiteral("Private"), 12}});
        table.frame = QRectF(0, 0, PrintWidth, PrintHeight);
        // Bare items where the sheet takes the value's type: the date goes in as a date cell.
        table.table.dataLines = {
            Row({QStringLiteral("Jornix.LogNum"), QStringLiteral("Jornix.LogDate"), LogTypeName,
                 QStringLiteral("Jornix.LogRank"), QStringLiteral("Jornix.LogDescription"),
                 QStringLiteral("Jornix.LogLocation"), QStringLiteral("Jornix.LogDuration"),
                 YesNo(QStringLiteral("Jornix.LogFollowup")), YesNo(QStringLiteral("Jornix.LogImportant")),
                 YesNo(QStringLiteral("Jornix.LogPrivate"))})};
        layout.Layer(LayoutLayer::EveryPage).push_back(table);
        add(16, layout);
    }
    {
        std::vector<TableLine> lines = {
            Detail(QStringLiteral("Description:"), QStringLiteral("Jornix.LogDescription")),
            Detail(QStringLiteral("Date:"), QStringLiteral("Date$(Jornix.LogDate, \"dddd, mmmm d, yyyy\")")),
            Detail(QStringLiteral("Type:"), LogTypeName)};
        for (TableLine& line : UserFields(QStringLiteral("Jornix.LogMisc")))
            lines.push_back(line);
        lines.push_back(Detail(QStringLiteral("Notes:"), QStringLiteral("Jornix.LogDocPlainText")));
        add(17, DetailList(QStringLiteral("Plain Text Log Notes (Detail)"), lines));
    }
    return layouts;
}

// The designer's sample values: a text shows its own name, a date today, a number 999999, a flag 1.
void DeclareSamples(ReportJob& job)
{
    const double today = QDate::currentDate().toJulianDay() - 1;
    const QString date = QString::number(today, 'f', 0);
    const auto declare = [&](const QString& name, quint32 type) {
        QString value = name;
        if (type == ReportItemType::Date)
            value = date;
        else if (type == ReportItemType::Numeric)
            value = QStringLiteral("999999");
        else if (type == ReportItemType::Boolean)
            value = QStringLiteral("1");
        job.variables.Declare(name, value, type);
    };
    namespace T = ReportItemType;
    static const std::pair<const char*, quint32> items[] = {
        {"Jornix.LogNum", T::Numeric},         {"Jornix.LogDate", T::Date},          {"Jornix.LogType", T::Numeric},
        {"Jornix.LogRank", T::Numeric},        {"Jornix.LogDescription", T::Text},   {"Jornix.LogLocation", T::Text},
        {"Jornix.LogDuration", T::Text},       {"Jornix.LogFollowup", T::Boolean},   {"Jornix.LogImportant", T::Boolean},
        {"Jornix.LogPrivate", T::Boolean},     {"Jornix.LogDocPlainText", T::Text},  {"Task.Description", T::Text},
        {"Task.StartDate", T::Date},           {"Task.DueDate", T::Date},            {"Task.CloseDate", T::Date},
        {"Task.Completed", T::Boolean},        {"Task.Priority", T::Numeric},        {"Task.Notes", T::Text},
        {"Contacts.Company", T::Text},         {"Contacts.LName", T::Text},          {"Contacts.FName", T::Text},
        {"Contacts.Street1", T::Text},         {"Contacts.Street2", T::Text},        {"Contacts.City", T::Text},
        {"Contacts.State", T::Text},           {"Contacts.Zip", T::Text},            {"Contacts.Province", T::Text},
        {"Contacts.Country", T::Text},         {"Contacts.Phone1", T::Text},         {"Contacts.Phone2", T::Text},
        {"Contacts.Fax", T::Text},             {"Contacts.Mobile", T::Text},         {"Contacts.EMail", T::Text},
        {"Contacts.Web", T::Text},             {"Contacts.Notes", T::Text},          {"Reminder.Description", T::Text},
        {"Reminder.ReminderDate", T::Date},    {"Reminder.ShowReminder", T::Boolean}, {"Reminder.Dismiss", T::Boolean},
        {"Reminder.LinkType", T::Numeric},     {"Reminder.Notes", T::Text},          {"StickyNotes.Description", T::Text},
        {"StickyNotes.CreateDate", T::Date},   {"StickyNotes.CreateLoginID", T::Text}, {"StickyNotes.Notes", T::Text},
        {"ScrapBook.Description", T::Text},    {"ScrapBook.CreateDate", T::Date},    {"ScrapBook.CreateLoginID", T::Text},
        {"ScrapBook.Scrap", T::Text},          {"ReportOptions.Description", T::Text}, {"ReportOptions.Notes", T::Text},
        {"ReportOptions.FilterDescription", T::Text}, {"ReportOptions.SortOrder", T::Text},
        {"ReportOptions.LoginName", T::Text},  {"ReportOptions.PrintCoverPage", T::Boolean},
        {"ReportOptions.PrintFilter", T::Boolean}};
    for (const auto& [name, type] : items)
        declare(QLatin1String(name), type);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeFactoryLayouts <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    ReportJob job;
    DeclareSamples(job);
    for (const Layout& layout : FactoryLayouts()) {
        const QString name = QStringLiteral("jx_%1").arg(layout.number);
        // The sketch shows the first page of records, not the cover page before them.
        ReportLayout firstPage = layout.layout;
        firstPage.Layer(LayoutLayer::CoverPage).clear();
        QString error;
        if (!WriteLayoutFile(folder.filePath(name + ".rpt"), layout.layout, error) ||
            !WriteLayoutSketch(job, firstPage, folder.path(), folder.filePath(name + ".bmp"), error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
            return 1;
        }
        QFile::remove(LayoutBackupPath(folder.filePath(name + ".rpt")));
    }
    return 0;
}
