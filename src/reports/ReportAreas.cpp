#include "reports/ReportAreas.h"

#include "core/DataLayer.h"

#include <array>

namespace jornix {

namespace {

const std::array<AreaDescription, 6>& Areas()
{
    static const std::array<AreaDescription, 6> areas{{
        {ReportArea::LogEvents,
         "Jornix.",
         "LOG:",
         1,
         "LOG:LogPrivate",
         "LOG:LogUniqueID",
         {"LogDateRankDescriptionK", "LogDescriptionK", "LogTypeDateRankDescriptionK"},
         {"Date", "Description", "Log Type"}},
        {ReportArea::Tasks,
         "Task.",
         "TSK:",
         3,
         "TSK:Private",
         "TSK:UniqueID",
         {"DescriptionK", "StartDateK", "DueDateK", "EnterDateK", "PriorityK", "CloseDateK"},
         {"Description", "Start Date", "Due Date", "Enter Date", "Priority", "Close Date"}},
        {ReportArea::Contacts,
         "Contacts.",
         "CON:",
         4,
         "CON:Private",
         "CON:UniqueID",
         {"LNameK", "CompanyK", "CityK", "StateK", "EmailK"},
         {"Last Name", "Company", "City", "State", "E-Mail"}},
        {ReportArea::Reminders,
         "Reminder.",
         "REM:",
         2,
         "REM:Private",
         "REM:UniqueID",
         {"ReminderDateDescriptionK", "DescriptionK"},
         {"Reminder Date", "Description"}},
        {ReportArea::StickyNotes,
         "StickyNotes.",
         "STK:",
         0,
         "STK:Private",
         "STK:UniqueID",
         {"DescriptionK", "EnterDateK"},
         {"Description", "Enter Date"}},
        {ReportArea::ScrapBook,
         "ScrapBook.",
         "SCR:",
         0,
         "SCR:Private",
         "SCR:UniqueID",
         {"DescriptionK", "EnterDateK"},
         {"Description", "Enter Date"}},
    }};
    return areas;
}

} // namespace

int ProjectTypeOfLayout(int layoutType)
{
    switch (layoutType) {
    case 1:
        return 2;
    case 2:
        return 3;
    case 3:
        return 1;
    default:
        return 0;
    }
}

const AreaDescription* FindArea(int area)
{
    return area >= 1 && area <= int(Areas().size()) ? &Areas()[std::size_t(area - 1)] : nullptr;
}

FileManager* AreaAccess(int area)
{
    switch (area) {
    case ReportArea::LogEvents:
        return AccessLOG;
    case ReportArea::Tasks:
        return AccessTSK;
    case ReportArea::Contacts:
        return AccessCON;
    case ReportArea::Reminders:
        return AccessREM;
    case ReportArea::StickyNotes:
        return AccessSTK;
    case ReportArea::ScrapBook:
        return AccessSCR;
    default:
        return nullptr;
    }
}

} // namespace jornix
