#pragma once

#include "platform/store/Record.h"

#include <QString>

#include <optional>
#include <vector>

// The items a layout of one report area sees: the fields of the area's record, its user-defined fields and
// the definitions of those, the log event's notes, the layout's options and the page counters. The layout
// form declares them with sample values before the designer opens; a print run declares them with the
// record's values before each record.
namespace jornix {

enum class ItemMode
{
    Design,
    Print
};

struct ReportItem
{
    QString name;
    QString value;
    quint32 type = 0;
    bool operator==(const ReportItem&) const = default;
};

class ReportData
{
public:
    // Items of `area` for the job; the project type (of the engine) decides how they are declared.
    ReportData(int area, int job, int projectType);

    int Area() const { return area_; }

    // What the items show. The records are of the area's table, of LLL_: and of MSC:.
    Record record;                     // the record in hand (blank when none was given)
    Record layout;                     // the layout's row
    std::optional<Record> definitions; // the area's user-field definitions; none when the row is missing
    QString filter;                    // of the run
    QString filterDescription;
    int sortOrder = 0;
    QString plainText;        // the log event's notes as plain text
    QString pagePicture;      // the page picture being printed; empty when none
    int documentOverflow = 0; // 1 while a further page of the log event's document prints
    int pageOverflow = 0;
    int pageType = 0;

    // The items in the order of declaration.
    std::vector<ReportItem> AreaItems(ItemMode mode) const;
    std::vector<ReportItem> Variables(ItemMode mode) const;

    // Declares them to the job: on a list project every area item is a variable and a field, on card and
    // label projects a variable only; the others are variables.
    void DefineAreaItems(ItemMode mode) const;
    void DefineReportVariables(ItemMode mode) const;
    // "Flags.PageOverFlow" and "Flags.PageType" alone, as a card is printed again.
    void DefinePageFlags() const;

    // The area's user-field definition row, read through the data layer (MSC: open on this thread).
    static std::optional<Record> FetchDefinitions(int area);

private:
    ReportItem PageOverflowFlag() const;
    ReportItem PageTypeFlag() const;

    int area_;
    int job_;
    int projectType_;
};

} // namespace jornix
