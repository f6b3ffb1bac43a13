#include "reports/ReportData.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportItems.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Table.h"
#include "reports/ReportAreas.h"

#include <QRegularExpression>

namespace jornix {

namespace {

// The report engine's day numbers are ours plus this (Julian day numbers).
constexpr qint64 EngineDayOffset = 2378857;
const QString NoDate = QStringLiteral("1e1000");
constexpr int MiscFieldCount = 6;

// What an area item is made of.
enum class Source
{
    Number,
    Flag,
    Date,
    Time,
    Text, // a string at its full width, or a memo
    Misc, // the user-defined fields, all six at this place
    Document,
    DocumentOverflow,
    DocumentPlainText
};

struct ItemSource
{
    const char* name; // the field's name without prefix, also the item's
    Source source;
};

using S = Source;

const std::vector<ItemSource>& SourcesOf(int area)
{
    static const std::vector<ItemSource> stamps{{"CreateDate", S::Date},
                                                {"CreateLoginID", S::Text},
                                                {"LastEditDate", S::Date},
                                                {"LastEditLoginID", S::Text}};
    static const auto join = [](std::vector<ItemSource> head, const std::vector<ItemSource>& middle,
                                const std::vector<ItemSource>& tail) {
        head.insert(head.end(), middle.begin(), middle.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    static const std::vector<std::vector<ItemSource>> areas{
        {{"LogDoc", S::Document},
         {"LogDocOverflow", S::DocumentOverflow},
         {"LogDocPlainText", S::DocumentPlainText},
         {"LogMisc", S::Misc},
         {"LogNum", S::Number},
         {"LogDate", S::Date},
         {"LogType", S::Number},
         {"LogRank", S::Number},
         {"LogDescription", S::Text},
         {"LogLocation", S::Text},
         {"LogDuration", S::Text},
         {"LogDocLink", S::Text},
         {"LogFollowup", S::Flag},
         {"LogImportant", S::Flag},
         {"LogMiniNotes", S::Text},
         {"LogDocEditDate", S::Date},
         {"LogDocEditTime", S::Time},
         {"LogCreateDate", S::Date},
         {"LogCreateLoginID", S::Text},
         {"LogLastEditDate", S::Date},
         {"LogLastEditLoginID", S::Text},
         {"LogPrivate", S::Flag}},
        join({{"Misc", S::Misc}, {"Num", S::Number}, {"Description", S::Text}}, stamps,
             {{"StartDate", S::Date},
              {"DueDate", S::Date},
              {"CloseDate", S::Date},
              {"Completed", S::Flag},
              {"Priority", S::Number},
              {"Notes", S::Text},
              {"Private", S::Flag}}),
        join({{"Misc", S::Misc}, {"Num", S::Number}}, stamps,
             {{"Company", S::Text},
              {"LName", S::Text},
              {"FName", S::Text},
              {"Street1", S::Text},
              {"Street2", S::Text},
              {"City", S::Text},
              {"State", S::Text},
              {"Zip", S::Text},
              {"Province", S::Text},
              {"Country", S::Text},
              {"Phone1", S::Text},
              {"Phone2", S::Text},
              {"Fax", S::Text},
              {"Mobile", S::Text},
              {"EMail", S::Text},
              {"Web", S::Text},
              {"Notes", S::Text},
              {"Private", S::Flag}}),
        join({{"Misc", S::Misc}, {"Num", S::Number}, {"Description", S::Text}}, stamps,
             {{"ReminderDate", S::Date},
              {"ShowReminder", S::Flag},
              {"Dismiss", S::Flag},
              {"Notes", S::Text},
              {"LinkNum", S::Number},
              {"LinkType", S::Number},
              {"Private", S::Flag}}),
        join({{"Num", S::Number}, {"Description", S::Text}, {"Notes", S::Text}}, stamps,
             {{"Private", S::Flag}}),
        join({{"Num", S::Number}}, stamps,
             {{"Description", S::Text}, {"Scrap", S::Text}, {"Private", S::Flag}}),
    };
    return areas[std::size_t(area - 1)];
}

QString DateText(qint64 dayNumber)
{
    return dayNumber > 0 ? QString::number(dayNumber + EngineDayOffset) : NoDate;
}

// A user-defined date: the number the text starts with.
QString MiscDateText(const QString& text)
{
    static const QRegularExpression leadingDigits(QStringLiteral("^\\s*(\\d+)"));
    const QRegularExpressionMatch match = leadingDigits.match(text);
    return DateText(match.hasMatch() ? match.captured(1).toLongLong() : 0);
}

QString Misc(int i)
{
    return QString::number(i);
}

// The sample a design shows for an item of this type; nothing for the types that keep their value.
std::optional<QString> DesignSample(const QString& name, quint32 type)
{
    switch (KindOfType(type)) {
    case ReportItemKind::Date:
        return QString::number(Today() + EngineDayOffset);
    case ReportItemKind::Text:
        return name;
    case ReportItemKind::Numeric:
        return QStringLiteral("999999");
    case ReportItemKind::Boolean:
        return QStringLiteral("1");
    default:
        return std::nullopt;
    }
}

void ApplyDesignSamples(std::vector<ReportItem>& items)
{
    for (ReportItem& item : items)
        if (const std::optional<QString> sample = DesignSample(item.name, item.type))
            item.value = *sample;
}

QString FieldText(const Record& record, const QString& name)
{
    return record.Owner() ? record.Value(name).toString() : QString();
}

qint64 FieldNumber(const Record& record, const QString& name)
{
    return record.Owner() ? record.Value(name).toLongLong() : 0;
}

const QStringList StyleNames{"Summary", "Detail", "One Record per Page"};
const QStringList TypeNames{"List", "Card", "Label"};

} // namespace

ReportData::ReportData(int area, int job, int projectType) : area_(area), job_(job), projectType_(projectType)
{
    if (FileManager* access = AreaAccess(area))
        record = Record(access->GetTable());
    if (AccessLLL_)
        layout = Record(AccessLLL_->GetTable());
}

std::vector<ReportItem> ReportData::AreaItems(ItemMode mode) const
{
    std::vector<ReportItem> items;
    const AreaDescription* description = FindArea(area_);
    if (!description || !record.Owner())
        return items;
    const Table& table = *record.Owner();
    const QString& prefix = description->itemPrefix;
    for (const ItemSource& source : SourcesOf(area_)) {
        const QString name = QLatin1String(source.name);
        switch (source.source) {
        case Source::Number:
            items.push_back(
                {prefix + name, QString::number(FieldNumber(record, name)), ReportItemType::Numeric});
            break;
        case Source::Flag:
            items.push_back(
                {prefix + name, QString::number(FieldNumber(record, name)), ReportItemType::Boolean});
            break;
        case Source::Date:
            items.push_back({prefix + name, DateText(FieldNumber(record, name)), ReportItemType::Date});
            break;
        case Source::Time: {
            const qint64 time = FieldNumber(record, name);
            items.push_back({prefix + name,
                             time > 0 ? QString::number(double(time) / 8640000.0, 'g', 15) : "0",
                             ReportItemType::Date});
            break;
        }
        case Source::Text: {
            const int field = table.RequireField(name);
            QString text = FieldText(record, name);
            if (field >= 0 && table.Field(field).type == FieldType::String)
                text = text.leftJustified(table.Field(field).width, QLatin1Char(' '));
            items.push_back({prefix + name, text, ReportItemType::Text});
            break;
        }
        case Source::Misc:
            if (!definitions)
                break;
            for (int i = 1; i <= MiscFieldCount; ++i) {
                const QString f = QStringLiteral("MSC:F") + Misc(i);
                if (definitions->Value(f + QStringLiteral("Show")).toInt() == 0)
                    continue;
                const quint32 type =
                    quint32(definitions->Value(f + QStringLiteral("ReportType")).toLongLong());
                const QString text = FieldText(record, name + Misc(i));
                items.push_back({prefix + name + Misc(i),
                                 KindOfType(type) == ReportItemKind::Date ? MiscDateText(text) : text, type});
            }
            break;
        case Source::Document:
            items.push_back({prefix + name, mode == ItemMode::Design ? QStringLiteral(" ") : pagePicture,
                             ReportItemType::Drawing});
            break;
        case Source::DocumentOverflow:
            items.push_back({prefix + name, QString::number(documentOverflow), ReportItemType::Boolean});
            break;
        case Source::DocumentPlainText:
            items.push_back({prefix + name, plainText, ReportItemType::Text});
            break;
        }
    }
    if (mode == ItemMode::Design)
        ApplyDesignSamples(items);
    return items;
}

ReportItem ReportData::PageOverflowFlag() const
{
    return {QStringLiteral("Flags.PageOverFlow"), QString::number(pageOverflow), ReportItemType::Numeric};
}

ReportItem ReportData::PageTypeFlag() const
{
    return {QStringLiteral("Flags.PageType"), QString::number(pageType), ReportItemType::Numeric};
}

std::vector<ReportItem> ReportData::Variables(ItemMode mode) const
{
    std::vector<ReportItem> items;
    if (mode == ItemMode::Print)
        items = {PageOverflowFlag(), PageTypeFlag()};
    if (definitions) {
        const auto shown = [&](int i) {
            return definitions->Value(QStringLiteral("MSC:F%1Show").arg(i)).toInt() != 0;
        };
        for (int i = 1; i <= MiscFieldCount; ++i)
            if (shown(i))
                items.push_back({QStringLiteral("MISC.Misc%1Prompt").arg(i),
                                 definitions->Value(QStringLiteral("MSC:F%1Prompt").arg(i)).toString(),
                                 ReportItemType::Text});
        for (int i = 1; i <= MiscFieldCount; ++i)
            if (shown(i))
                items.push_back({QStringLiteral("MISC.Misc%1Len").arg(i),
                                 definitions->Value(QStringLiteral("MSC:F%1Len").arg(i)).toString(),
                                 ReportItemType::Numeric});
    }
    const auto option = [&](const char* name, const QString& value, quint32 type) {
        items.push_back({QStringLiteral("ReportOptions.") + QLatin1String(name), value, type});
    };
    const auto layoutText = [&](const char* field) { return FieldText(layout, QLatin1String(field)); };
    const AreaDescription* description = FindArea(area_);
    option("Description", layoutText("LLL_:Description"), ReportItemType::Text);
    option("PrintCoverPage", QString::number(FieldNumber(layout, "LLL_:PrintCoverPage")),
           ReportItemType::Boolean);
    option("PrintFilter", QString::number(FieldNumber(layout, "LLL_:PrintFilter")), ReportItemType::Boolean);
    option("Style", StyleNames.value(int(FieldNumber(layout, "LLL_:Style")) - 1), ReportItemType::Text);
    option("Type", TypeNames.value(int(FieldNumber(layout, "LLL_:Type")) - 1), ReportItemType::Text);
    option("Filter", filter, ReportItemType::Text);
    option("FilterDescription", filterDescription, ReportItemType::Text);
    option("SortOrder", description ? description->sortNames.value(sortOrder - 1) : QString(),
           ReportItemType::Text);
    option("Misc1", layoutText("LLL_:Misc1"), ReportItemType::Text);
    option("Misc2", layoutText("LLL_:Misc2"), ReportItemType::Text);
    option("Misc3", layoutText("LLL_:Misc3"), ReportItemType::Text);
    option("Notes", layoutText("LLL_:Notes"), ReportItemType::Text);
    option("LoginID", UsrAccess::LoginID, ReportItemType::Text);
    option("LoginName", UsrAccess::Name, ReportItemType::Text);
    if (mode == ItemMode::Design) {
        items.push_back(PageOverflowFlag());
        items.push_back(PageTypeFlag());
        ApplyDesignSamples(items);
    }
    return items;
}

void ReportData::DefineAreaItems(ItemMode mode) const
{
    ReportEngine& engine = TheReportEngine();
    const bool listProject = projectType_ == 2;
    for (const ReportItem& item : AreaItems(mode)) {
        engine.LlDefineVariableExtA(job_, item.name, item.value, item.type, 0);
        if (listProject)
            engine.LlDefineFieldExtA(job_, item.name, item.value, item.type, 0);
    }
}

void ReportData::DefineReportVariables(ItemMode mode) const
{
    ReportEngine& engine = TheReportEngine();
    for (const ReportItem& item : Variables(mode))
        engine.LlDefineVariableExtA(job_, item.name, item.value, item.type, 0);
}

void ReportData::DefinePageFlags() const
{
    ReportEngine& engine = TheReportEngine();
    for (const ReportItem& item : {PageOverflowFlag(), PageTypeFlag()})
        engine.LlDefineVariableExtA(job_, item.name, item.value, item.type, 0);
}

std::optional<Record> ReportData::FetchDefinitions(int area)
{
    const AreaDescription* description = FindArea(area);
    if (!description || description->definitionType == 0 || !AccessMSC)
        return std::nullopt;
    Table& table = AccessMSC->GetTable();
    table.ClearBuffer();
    table.Buffer().SetValue(QStringLiteral("MSC:MiscType"), description->definitionType);
    if (AccessMSC->FetchQuiet(table.KeyIndex(QStringLiteral("MiscTypeK"))) != 0)
        return std::nullopt;
    return table.Buffer();
}

} // namespace jornix
