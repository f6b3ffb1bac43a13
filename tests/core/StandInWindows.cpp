#include "core/StandInWindows.h"

#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardWindow.h"

namespace jornix {
namespace {

struct StandIn
{
    QString procedure;
    QString caption;
    WindowType type = WindowType::Dialog;
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
        const int notice =
            window.Text(standIn.caption + QStringLiteral(" is not yet available in this version of Jornix."))
                .Name(QStringLiteral("Notice"));
        // A pane is a narrow strip down the frame: its notice wraps at a pane's width, over its button.
        if (standIn.type == WindowType::Pane) {
            QWidget* text = window.Widget(notice);
            text->setMaximumWidth(text->fontMetrics().averageCharWidth() * 40);
            window.Spacer();
        }
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

void RegisterStandInWindows()
{
    const auto kind = [](int windowKind) { return &Registry(windowKind); };
    const StandIn standIns[] = {
        {"DateView", "Date View", WindowType::Child, kind(WindowKind::DateView),
         &Access(AccessArea::LogEvents), LogEventWords},
        {"AllView", "All Events View", WindowType::Child, kind(WindowKind::AllView),
         &Access(AccessArea::LogEvents), LogEventWords},
        {"Search", "Search Log Events", WindowType::Child, kind(WindowKind::Search),
         &Access(AccessArea::LogEvents), LogEventWords},
        {"PrintOptions", "Print Options", WindowType::Child, kind(WindowKind::PrintOptions), nullptr, {}},
        {"Reminder", "Reminders", WindowType::Child, kind(WindowKind::Reminder),
         &Access(AccessArea::Reminders), "Reminders", true},
        {"Tasks", "Tasks", WindowType::Child, kind(WindowKind::Tasks), &Access(AccessArea::Tasks), "Tasks",
         true},
        {"Contacts", "Contacts", WindowType::Child, kind(WindowKind::Contacts), &Access(AccessArea::Contacts),
         "Contacts", true},
        {"StickyNotes", "Sticky Notes", WindowType::Child, kind(WindowKind::StickyNotes),
         &Access(AccessArea::StickyNotes), "Sticky Notes", true},
        {"Scrap", "Scrap Book", WindowType::Child, kind(WindowKind::Scrap), &Access(AccessArea::ScrapBook),
         "the Scrap Book", true},
        {"ReportDesigner", "Report Designer", WindowType::Child, kind(WindowKind::ReportDesigner),
         &Access(AccessArea::ReportDesigns), "Report Designs"},
        {"OverdueReminders", "Overdue Reminders", WindowType::Pane, kind(WindowKind::OverdueReminders),
         &Access(AccessArea::Reminders), "Reminders"},
        {"MiniStickyNotes", "Mini-Sticky Notes", WindowType::Pane, kind(WindowKind::MiniStickyNotes),
         &Access(AccessArea::StickyNotes), "Sticky Notes", true},
        {"MiniSrap", "Mini-Scrap Book", WindowType::Pane, kind(WindowKind::MiniSrap),
         &Access(AccessArea::ScrapBook), "the Scrap Book", true},
        // Called modally on the caller's thread.
        {"MigrateData", "Migrate from Jornix 1.0", WindowType::Dialog, nullptr, nullptr, {}},
        {"UpdateLogTX", "Update Event", WindowType::Dialog, nullptr, nullptr, {}},
        {"UpdateReminder", "Update Reminder", WindowType::Dialog, nullptr, nullptr, {}},
        {"UpdateTask", "Update Task", WindowType::Dialog, nullptr, nullptr, {}},
        {"UpdateContact", "Update Contact", WindowType::Dialog, nullptr, nullptr, {}},
        {"SelectLogEvent", "Select Log Event", WindowType::Dialog, nullptr, nullptr, {}},
        {"SelectContact", "Select Contact", WindowType::Dialog, nullptr, nullptr, {}},
        {"SelectTask", "Select Task", WindowType::Dialog, nullptr, nullptr, {}},
        {"SelectScrap", "Select Scrap", WindowType::Dialog, nullptr, nullptr, {}},
        {"PrintRec", "Print Options", WindowType::Dialog, nullptr, nullptr, {}},
        {"UpdateMiscFields", "Update Misc Fields", WindowType::Dialog, nullptr, nullptr, {}},
    };
    for (const StandIn& standIn : standIns)
        RegisterProcedure(standIn.procedure, [standIn] { Run(standIn); });
}

} // namespace jornix
