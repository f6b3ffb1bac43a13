#include "reports/PrintOptionAreas.h"

#include "core/SharedState.h"
#include "platform/runtime/MessageBox.h"

namespace jornix {
namespace {

// The access areas are ordered otherwise than the report areas.
const PrintOptionArea Areas[] = {
    {1, QStringLiteral("Print Options - Log Events"), QStringLiteral("Log Events"), AccessArea::LogEvents,
     QStringLiteral("LOG:LogNum")},
    {2, QStringLiteral("Print Options - Tasks"), QStringLiteral("Tasks"), AccessArea::Tasks,
     QStringLiteral("TSK:Num")},
    {3, QStringLiteral("Print Options - Contacts"), QStringLiteral("Contacts"), AccessArea::Contacts,
     QStringLiteral("CON:Num")},
    {4, QStringLiteral("Print Options - Reminders"), QStringLiteral("Reminders"), AccessArea::Reminders,
     QStringLiteral("REM:Num")},
    {5, QStringLiteral("Print Options - Sticky Notes"), QStringLiteral("Sticky Notes"),
     AccessArea::StickyNotes, QStringLiteral("STK:Num")},
    {6, QStringLiteral("Print Options - Scrap Book"), QStringLiteral("the Scrap Book"), AccessArea::ScrapBook,
     QStringLiteral("SCR:Num")},
};

} // namespace

quint8 PrintOptionArea::AccessLevel() const
{
    return CurrentUserAccess[std::size_t(accessArea)];
}

QString PrintOptionArea::DeniedText() const
{
    return QStringLiteral("You are not allowed to view or edit ") + name +
           QStringLiteral(". Please contact your system administrator to request access.");
}

const PrintOptionArea* FindPrintOptionArea(int area)
{
    for (const PrintOptionArea& known : Areas)
        if (known.area == area)
            return &known;
    return nullptr;
}

bool RefusePrintArea(const PrintOptionArea& area)
{
    if (area.AccessLevel() != 0)
        return false;
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Access Denied"),
                   area.DeniedText());
    return true;
}

} // namespace jornix
