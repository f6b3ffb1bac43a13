#pragma once

#include <QString>
#include <QStringList>

// The report areas, the output formats of a layout and what each area reads: its table, the prefix of its
// items, its user-field definition row and the orders a run may sort by.
namespace jornix {

class FileManager;

namespace ReportArea {
enum : int
{
    LogEvents = 1,
    Tasks = 2,
    Contacts = 3,
    Reminders = 4,
    StickyNotes = 5,
    ScrapBook = 6
};
}

namespace OutputFormat {
enum : int
{
    Preview = 2,
    Printer = 3,
    Rtf = 4,
    Html = 5,
    Jpg = 6,
    Emf = 7,
    Bmp = 8,
    Pdf = 9,
    Mhtml = 10,
    Xml = 11,
    Xls = 12,
    Txt = 13
};
}

// The project type of a layout type (LLL_:TYPE): 1 List gives 2, 2 Card 3, 3 Label 1, others 0.
int ProjectTypeOfLayout(int layoutType);

struct AreaDescription
{
    int area = 0;
    QString itemPrefix;   // "Task."
    QString tablePrefix;  // "TSK:"
    int definitionType;   // MSC:MISCTYPE of the area's user-defined fields; 0: the area has none
    QString privateField; // the record's private flag and its owner's unique id
    QString uniqueIdField;
    QStringList sortKeys;  // by sort order, from 1
    QStringList sortNames; // "ReportOptions.SortOrder" of each
};

// The area's description; nullptr for a number that is not an area.
const AreaDescription* FindArea(int area);
// The data layer's access object of the area's table; nullptr for a number that is not an area.
FileManager* AreaAccess(int area);

} // namespace jornix
