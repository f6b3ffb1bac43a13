#pragma once

#include <QString>

// What the print options know of each report area (1 log events, 2 tasks, 3 contacts, 4 reminders,
// 5 sticky notes, 6 scrap book): the caption, the words of the "Access Denied" text, the user's access level,
// the filter of its layouts and the field that picks one record.
namespace jornix {

struct PrintOptionArea
{
    int area = 0;
    QString caption;     // "Print Options - Tasks"
    QString name;        // "Tasks", "the Scrap Book"
    int accessArea = 0;  // AccessArea
    QString numberField; // "TSK:Num"

    QString RecordFilter(qint32 number) const
    {
        return numberField + QStringLiteral(" = ") + QString::number(number);
    }
    quint8 AccessLevel() const;
    QString DeniedText() const;
};

// The filter of the layouts of an area: "LLL_:AreaRef = 2".
inline QString LayoutFilterOf(int area)
{
    return QStringLiteral("LLL_:AreaRef = ") + QString::number(area);
}

// nullptr for a number that is no area.
const PrintOptionArea* FindPrintOptionArea(int area);

// Says "Access Denied" with the area's words when the user may not see the area; true when refused.
bool RefusePrintArea(const PrintOptionArea& area);

} // namespace jornix
