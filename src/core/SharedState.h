#pragma once

#include "platform/runtime/ProgramThreads.h"

#include <QString>

#include <array>

// Values shared by every program thread of the process. They are read and written without a lock: only one
// program thread runs at a time.
namespace jornix {

class WindowDescription;

// The program's frame while it is open: the child windows and panes of Jornix's windows open inside it.
inline WindowDescription* ProgramFrame = nullptr;

// The signed-in user (USRACCESS:LOGINID and USRACCESS:NAME), set by the sign-in.
namespace UsrAccess {
inline QString LoginID;
inline QString Name;
} // namespace UsrAccess

inline qint32 CurrentUserUniqueID = 0;
inline quint8 CurrentUserIsAdmin = 0;

// The areas of the signed-in user's access levels (0 none, 1 view only, 2 full).
namespace AccessArea {
enum : int
{
    LogEvents,
    Reminders,
    Tasks,
    StickyNotes,
    Contacts,
    ScrapBook,
    ReportDesigns,
    MiscFields,
    Count
};
}
inline std::array<quint8, AccessArea::Count> CurrentUserAccess{};

inline qint32 SelectedDate = 0;      // the day last chosen in Date View; 0 until it has been opened
// Its parts, which the Date View's calendar works on and derives SelectedDate from.
inline quint8 SelectedMonth = 0;
inline quint8 SelectedDay = 0;
inline qint16 SelectedYear = 0;
inline qint32 CurrentReportArea = 0; // the area the print options for many records start with

// The registered window kinds: each entry holds the thread of the open window of that kind, 0 when none.
namespace WindowKind {
enum : int
{
    DateView,
    AllView,
    Search,
    PrintOptions,
    ReportDesigner,
    Reminder,
    Tasks,
    Contacts,
    StickyNotes,
    Scrap,
    OverdueReminders,
    MiniStickyNotes,
    MiniSrap,
    SetupProgram,
    ManageUsers,
    Count
};
}
inline std::array<ThreadNumber, WindowKind::Count> WindowThreadRegistry{};

inline ThreadNumber MenuBarThread = 0;
inline quint8 RefreshSuppressed = 0; // set while the factory report layouts are reset

} // namespace jornix
