#include "core/StandInWindows.h"

#include "core/SharedState.h"
#include "core/StandardWindow.h"

namespace jornix {
namespace {

struct StandIn
{
    QString procedure;
    QString caption;
    WindowType type = WindowType::Child;
    ThreadNumber* registryEntry = nullptr;
    const quint8* accessLevel = nullptr; // nullptr: no access check
    QString areaWords;
    bool keepsPlacement = false;
};

class StandInWindow : public StandardWindow
{
public:
    explicit StandInWindow(const StandIn& standIn)
        : StandardWindow(standIn.procedure, standIn.caption, standIn.type)
    {
        window.Text(standIn.caption + QStringLiteral(" is not yet available in this version of Jornix."))
            .Name(QStringLiteral("Notice"));
        window.Buttons(
            [&] { closeButton_ = window.Button(QStringLiteral("&Close")).Name(QStringLiteral("Close")); });
        if (standIn.accessLevel)
            CheckAccess(*standIn.accessLevel, standIn.areaWords);
        if (standIn.registryEntry)
            RegisterKind(*standIn.registryEntry);
        if (standIn.keepsPlacement)
            KeepPlacement();
        NoHelp();
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(closeButton_, Response::Cancelled);
        return Level::GoOn;
    }

private:
    int closeButton_ = 0;
};

void Run(const StandIn& standIn)
{
    StandInWindow thisWindow(standIn);
    CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
}

const quint8& Access(int area)
{
    return CurrentUserAccess[std::size_t(area)];
}

ThreadNumber& Registry(int kind)
{
    return WindowThreadRegistry[std::size_t(kind)];
}

const QString LogEventWords = QStringLiteral("Log Events");

} // namespace

void DateView()
{
    Run({"DateView", "Date View", WindowType::Child, &Registry(WindowKind::DateView),
         &Access(AccessArea::LogEvents), LogEventWords});
}

void AllView()
{
    Run({"AllView", "All Events View", WindowType::Child, &Registry(WindowKind::AllView),
         &Access(AccessArea::LogEvents), LogEventWords});
}

void Search()
{
    Run({"Search", "Search Log Events", WindowType::Child, &Registry(WindowKind::Search),
         &Access(AccessArea::LogEvents), LogEventWords});
}

void PrintOptions()
{
    Run({"PrintOptions", "Print Options", WindowType::Child, &Registry(WindowKind::PrintOptions)});
}

void Reminder()
{
    Run({"Reminder", "Reminders", WindowType::Child, &Registry(WindowKind::Reminder),
         &Access(AccessArea::Reminders), "Reminders", true});
}

void Tasks()
{
    Run({"Tasks", "Tasks", WindowType::Child, &Registry(WindowKind::Tasks), &Access(AccessArea::Tasks),
         "Tasks", true});
}

void Contacts()
{
    Run({"Contacts", "Contacts", WindowType::Child, &Registry(WindowKind::Contacts),
         &Access(AccessArea::Contacts), "Contacts", true});
}

void StickyNotes()
{
    Run({"StickyNotes", "Sticky Notes", WindowType::Child, &Registry(WindowKind::StickyNotes),
         &Access(AccessArea::StickyNotes), "Sticky Notes", true});
}

void Scrap()
{
    Run({"Scrap", "Scrap Book", WindowType::Child, &Registry(WindowKind::Scrap),
         &Access(AccessArea::ScrapBook), "the Scrap Book", true});
}

void ReportDesigner()
{
    Run({"ReportDesigner", "Report Designer", WindowType::Child, &Registry(WindowKind::ReportDesigner),
         &Access(AccessArea::ReportDesigns), "Report Designs"});
}

void SetupProgram()
{
    Run({"SetupProgram", "Program Setup", WindowType::Child, &Registry(WindowKind::SetupProgram)});
}

void OverdueReminders()
{
    Run({"OverdueReminders", "Overdue Reminders", WindowType::Pane, &Registry(WindowKind::OverdueReminders),
         &Access(AccessArea::Reminders), "Reminders"});
}

void MiniStickyNotes()
{
    Run({"MiniStickyNotes", "Mini-Sticky Notes", WindowType::Pane, &Registry(WindowKind::MiniStickyNotes),
         &Access(AccessArea::StickyNotes), "Sticky Notes", true});
}

void MiniSrap()
{
    Run({"MiniSrap", "Mini-Scrap Book", WindowType::Pane, &Registry(WindowKind::MiniSrap),
         &Access(AccessArea::ScrapBook), "the Scrap Book", true});
}

void MigrateData()
{
    Run({"MigrateData", "Migrate from Jornix 1.0", WindowType::Dialog});
}

} // namespace jornix
