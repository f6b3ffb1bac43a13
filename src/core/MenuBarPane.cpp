#include "core/MenuBarPane.h"

#include "core/MenuBarState.h"
#include "core/Procedures.h"
#include "core/SharedState.h"

#include <QAction>
#include <QDockWidget>

#include <algorithm>

namespace jornix {
namespace {

const QString PrintText = QStringLiteral("Print");
const QString PrintImage = QStringLiteral("Report.GIF");

std::function<void()> Start(const char* procedure)
{
    return [procedure] { StartProcedure(QString::fromLatin1(procedure)); };
}

// The print options for many records start with the area the Print button names.
std::function<void()> Print(int area)
{
    return [area] {
        CurrentReportArea = area;
        StartProcedure(QStringLiteral("PrintOptions"));
    };
}

// Every change a pane makes to the bar's state reaches the bar through a Size event.
void TellMenuBar()
{
    PostEvent(Event::Size, 0, MenuBarThread);
}

bool RemovePaneEntry(MenuBarStateRecord& state, ThreadNumber thread)
{
    const auto begin = state.PaneStack.begin();
    const auto end = begin + state.PaneCount;
    const auto found =
        std::find_if(begin, end, [thread](const auto& entry) { return entry.thread == thread; });
    if (found == end)
        return false;
    std::move(found + 1, end, found);
    --state.PaneCount;
    return true;
}

void PushPaneEntry(MenuBarStateRecord& state, ThreadNumber thread, int group)
{
    if (state.PaneCount < int(state.PaneStack.size()))
        state.PaneStack[std::size_t(state.PaneCount++)] = {thread, group};
}

void RunPane(MenuBarPaneDescription description)
{
    MenuBarPane thisWindow(std::move(description));
    CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
}

} // namespace

MenuBarPane::MenuBarPane(MenuBarPaneDescription description)
    : StandardWindow(description.procedure, QStringLiteral("Caption"), WindowType::Pane),
      description_(std::move(description))
{
    // The bar's items show the button's icon under the name the button was given.
    for (const MenuBarPaneButton& button : description_.buttons)
        window.Button(button.text, button.image).Widget()->setProperty("image", button.image);
    SetFirstField(0); // a hidden window takes no focus
    SetHelp(QString());
}

int MenuBarPane::Init()
{
    // One pane per group: a second start brings the running pane forward and ends unseen.
    if (CurrentContext().GlobalRequestCode != Request::Select) {
        ThreadNumber& running = MenuBarState.PaneThread[std::size_t(Group())];
        if (running != 0) {
            PostEvent(Event::GainFocus, 0, running);
            return Level::Stop;
        }
        running = CurrentThread();
        paneRegistered_ = true;
        PushPaneEntry(MenuBarState, CurrentThread(), Group());
        MenuBarState.GroupChanging = 0;
    }
    return StandardWindow::Init();
}

void MenuBarPane::SetUpWindow()
{
    QWidget* root = window.Root();
    root->resize(0, 0);
    root->hide();
    if (auto* dock = qobject_cast<QDockWidget*>(root))
        dock->toggleViewAction()->setVisible(false); // not offered by the frame's menu of docked windows
    if (!paneRegistered_)
        return;
    const auto group = std::size_t(Group());
    MenuBarState.PaneWindow[group] = this;
    for (std::size_t item = 0; item < description_.items.size(); ++item)
        MenuBarState.PaneButton[group][item + 1] = description_.items[item];
}

void MenuBarPane::Open()
{
    StandardWindow::Open();
    // A newly opened group starts its list window.
    Post(Event::Accepted, description_.firstButton);
}

// The bar is told before and after every event, the pane's open and focus events included: a button's action
// may hold the pane a long time (the migration).
int MenuBarPane::DispatchEvent(const FrameworkEvent& event)
{
    TellMenuBar();
    const int level = StandardWindow::DispatchEvent(event);
    TellMenuBar();
    return level;
}

int MenuBarPane::OnWindowEvent(const FrameworkEvent& event)
{
    const int level = StandardWindow::OnWindowEvent(event);
    if (event.event == Event::GainFocus) {
        // The pane moves to the top of the stack; unless another group's header was pressed meanwhile, its
        // group becomes the expanded one. The window itself is hidden: there is nothing to bring forward.
        MenuBarStateRecord& state = MenuBarState;
        if (paneRegistered_ && RemovePaneEntry(state, CurrentThread())) {
            if (!state.GroupChanging)
                state.CurrentGroup = quint8(Group());
            PushPaneEntry(state, CurrentThread(), Group());
        }
        state.GroupChanging = 0;
    }
    return level;
}

int MenuBarPane::OnAccepted(int control)
{
    if (const int level = StandardWindow::OnAccepted(control))
        return level;
    if (control < 1 || control > int(description_.buttons.size()))
        return Level::GoOn;
    Update();
    description_.buttons[std::size_t(control - 1)].action();
    return Level::GoOn;
}

int MenuBarPane::Kill()
{
    if (const int level = StandardWindow::Kill())
        return level;
    if (paneRegistered_) {
        paneRegistered_ = false;
        MenuBarStateRecord& state = MenuBarState;
        state.PaneThread[std::size_t(Group())] = 0;
        state.PaneWindow[std::size_t(Group())] = nullptr;
        RemovePaneEntry(state, CurrentThread());
        state.CurrentGroup =
            state.PaneCount ? quint8(state.PaneStack[std::size_t(state.PaneCount - 1)].group) : 0;
        TellMenuBar();
    }
    return Level::GoOn;
}

// The panes ------------------------------------------------------------------------------------------------

void JornixTAB()
{
    RunPane({"JornixTAB",
             1,
             {{"Date View", "DateView.gif", Start("DateView")},
              {"All Events", "AllLogView.gif", Start("AllView")},
              {PrintText, PrintImage, Print(1)},
              {"Search", "search.gif", Start("Search")}},
             1,
             {1, 2, 3, 4}});
}

void ReminderTAB()
{
    RunPane({"ReminderTAB",
             2,
             {{"Reminders", "remind.gif", Start("Reminder")}, {PrintText, PrintImage, Print(4)}},
             1,
             {1, 2}});
}

void TasksTAB()
{
    RunPane({"TasksTAB",
             3,
             {{"Tasks", "task.gif", Start("Tasks")}, {PrintText, PrintImage, Print(2)}},
             1,
             {1, 2}});
}

void StickyNotesTAB()
{
    RunPane({"StickyNotesTAB",
             4,
             {{PrintText, PrintImage, Print(5)}, {"Sticky Notes", "sticky.gif", Start("StickyNotes")}},
             2,
             {2, 1}});
}

void ContactsTAB()
{
    RunPane({"ContactsTAB",
             5,
             {{"Contacts", "contact.gif", Start("Contacts")}, {PrintText, PrintImage, Print(3)}},
             1,
             {1, 2}});
}

void ScrapBookTAB()
{
    RunPane({"ScrapBookTAB",
             6,
             {{PrintText, PrintImage, Print(6)}, {"Scrap Book", "scrap.gif", Start("Scrap")}},
             2,
             {2, 1}});
}

void ReportsTAB()
{
    RunPane({"ReportsTAB", 7, {{"Designer", "repdes.gif", Start("ReportDesigner")}}, 1, {1}});
}

// The migration runs modally on the pane's thread: meanwhile only this pane waits.
void SetupTAB()
{
    RunPane({"SetupTAB",
             8,
             {{"Setup", "setup.gif", Start("SetupProgram")},
              {"Users", "users.gif", Start("ManageUsers")},
              {"Migrate from 1.0", "Migrate.gif", [] { CallProcedure(QStringLiteral("MigrateData")); }}},
             1,
             {1, 2, 3}});
}

} // namespace jornix
