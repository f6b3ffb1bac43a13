#include "core/Main.h"

#include "core/AboutBox.h"
#include "core/BroadcastRefresh.h"
#include "core/CheckSingleInstance.h"
#include "core/MenuBar.h"
#include "core/MenuBarState.h"
#include "core/OpenLink.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/StandardWindow.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramPrinter.h"
#include "platform/runtime/ProgramWindow.h"
#include "platform/store/TextValues.h"

#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <map>
#include <vector>

namespace jornix {

namespace {

const QString PlacementSection = QStringLiteral("Main");

// Menu items and toolbar buttons of the frame.
namespace Item {
enum : int
{
    MigrateFile = -2,
    PrinterSetup = -3,
    Exit = -4,
    ShowHideToolBar = -6,
    ShowHideMenuBar = -7,
    MigrateSetup = -35,
    HelpContents = -37,
    Web = -38,
    HowDoI = -39,
    About = -40,
    Toolbar = -41,
    HelpButton = -55
};
}

// A command that starts a window on a thread of its own; a group's command presses the group's header in
// the side menu bar first, and a print command says which area the print options start with.
struct Command
{
    QString procedure;
    int groupHeader = 0;
    qint32 reportArea = 0;
};

const std::map<int, Command>& Commands()
{
    namespace Header = MenuBarHeader;
    static const std::map<int, Command> commands = {
        {-8, {QStringLiteral("OverdueReminders")}},
        {-9, {QStringLiteral("MiniStickyNotes")}},
        {-10, {QStringLiteral("MiniSrap")}},
        {-12, {QStringLiteral("DateView"), Header::LogEvents}},
        {-13, {QStringLiteral("AllView"), Header::LogEvents}},
        {-14, {QStringLiteral("PrintOptions"), Header::LogEvents, 1}},
        {-15, {QStringLiteral("Search"), Header::LogEvents}},
        {-17, {QStringLiteral("Reminder"), Header::Reminder}},
        {-18, {QStringLiteral("PrintOptions"), Header::Reminder, 4}},
        {-20, {QStringLiteral("Tasks"), Header::Tasks}},
        {-21, {QStringLiteral("PrintOptions"), Header::Tasks, 2}},
        {-23, {QStringLiteral("StickyNotes"), Header::StickyNotes}},
        {-24, {QStringLiteral("PrintOptions"), Header::StickyNotes, 5}},
        {-26, {QStringLiteral("Contacts"), Header::Contacts}},
        {-27, {QStringLiteral("PrintOptions"), Header::Contacts, 3}},
        {-29, {QStringLiteral("Scrap"), Header::ScrapBook}},
        {-30, {QStringLiteral("PrintOptions"), Header::ScrapBook, 6}},
        {-31, {QStringLiteral("ReportDesigner"), Header::DesignReports}},
        {-33, {QStringLiteral("SetupProgram"), Header::Setup}},
        {-34, {QStringLiteral("ManageUsers"), Header::Setup}},
    };
    return commands;
}

// The toolbar's buttons and the menu items they stand for; the Help button is the window's help button.
const std::map<int, int> ToolItems = {
    {-42, -12}, {-43, -13}, {-44, -17}, {-45, -15}, {-47, -20},
    {-48, -26}, {-49, -23}, {-51, -31}, {-53, -33}, {-54, Item::MigrateFile}};

// The registered kinds that the frame closes, in the order it closes them.
constexpr int ClosedKinds[] = {
    WindowKind::MiniStickyNotes, WindowKind::MiniSrap,     WindowKind::OverdueReminders, WindowKind::DateView,
    WindowKind::AllView,         WindowKind::PrintOptions, WindowKind::ReportDesigner,   WindowKind::Search,
    WindowKind::SetupProgram,    WindowKind::Reminder,     WindowKind::Contacts,         WindowKind::Tasks,
    WindowKind::Scrap,           WindowKind::StickyNotes,  WindowKind::ManageUsers};

class MainFrame : public StandardWindow
{
public:
    MainFrame() : StandardWindow(QStringLiteral("Main"), QStringLiteral("Jornix"), WindowType::Frame)
    {
        ProgramFrame = &window;
        Describe();
        // The placement the frame returns to when it is restored from maximized, unless one is kept: room for
        // Date View beside the side menu bar and the overdue reminders pane, inside the screen.
        QSize first(1260, 900);
        if (const QScreen* screen = window.Root()->screen())
            first = first.boundedTo(screen->availableGeometry().size());
        window.Root()->resize(first);
        SetHelp(QString(), Item::HelpButton); // the contents
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        auto* frame = static_cast<QMainWindow*>(window.Root());
        if (const QString icon = WindowDescription::ImagePath(QStringLiteral("Jornix.ico")); !icon.isEmpty())
            frame->setWindowIcon(QIcon(icon));
        ShowStatusZones(*frame);
        // While a window of the frame's own thread is open over it (the migration, About), only the menus
        // and the toolbar wait: the child windows of the other threads inside the frame stay usable.
        Program()->SetBlockHandler([this, frame](bool blocked) {
            frame->menuBar()->setEnabled(!blocked);
            window.Widget(Item::Toolbar)->setEnabled(!blocked);
        });
        if (GLO.GlobalRefreshTime > 0)
            SetTimer(GLO.GlobalRefreshTime);
        if (GLO.ShowJornixToolBar == 0)
            window.Hide(Item::Toolbar);
        StartPane(GLO.ShowOverdueReminders, WindowKind::OverdueReminders, AccessArea::Reminders,
                  QStringLiteral("OverdueReminders"));
        StartPane(GLO.ShowMiniStickyNotes, WindowKind::MiniStickyNotes, AccessArea::StickyNotes,
                  QStringLiteral("MiniStickyNotes"));
        StartPane(GLO.ShowScrapBook, WindowKind::MiniSrap, AccessArea::ScrapBook, QStringLiteral("MiniSrap"));
        RestorePlacement();
        Help()->SetControlTopic(Item::Exit, QStringLiteral("Exit Program"));
        // F1 over the frame itself (no control of it has the focus) explains the frame; its Help menu and button
        // open the contents.
        Help()->SetControlTopic(0, QStringLiteral("mainframe.htm"));
        // A second copy of the program asks this one to come forward; a maximized frame stays maximized.
        SetActivateInstanceHandler([frame](const QString& title) {
            if (title != frame->windowTitle())
                return false;
            frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
            frame->raise();
            frame->activateWindow();
            return true;
        });
        MenuBarThread = StartProcedureThread(MenuBar);
        return Level::GoOn;
    }

    ~MainFrame() override
    {
        if (ProgramFrame == &window)
            ProgramFrame = nullptr;
    }

    int Kill() override
    {
        SetActivateInstanceHandler({});
        if (const int level = StandardWindow::Kill())
            return level;
        if (OPENED)
            INIMgr.SaveWindow(PlacementSection, window.Root());
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        if (const auto tool = ToolItems.find(control); tool != ToolItems.end())
            control = tool->second;
        if (const auto command = Commands().find(control); command != Commands().end()) {
            Start(command->second);
            return Level::Handled;
        }
        switch (control) {
        case Item::MigrateFile:
        case Item::MigrateSetup:
            CallProcedure(QStringLiteral("MigrateData"));
            break;
        case Item::PrinterSetup:
            AskPrinter(ProgramPrinter(), QStringLiteral("Printer Setup"));
            break;
        case Item::Exit:
            Post(Event::CloseWindow);
            break;
        case Item::ShowHideToolBar:
            window.Show(Item::Toolbar, window.IsHidden(Item::Toolbar));
            break;
        case Item::ShowHideMenuBar:
            ShowHideMenuBar();
            break;
        case Item::HelpContents:
            Help()->SetTopic(QString());
            Help()->ShowTopic();
            break;
        case Item::Web:
            OpenLink(window.Root(), MakerWebAddress);
            break;
        case Item::HowDoI:
            Help()->ShowIndex(QStringLiteral("How do I"));
            break;
        case Item::About:
            AboutBox();
            break;
        default:
            return Level::GoOn;
        }
        return Level::Handled;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        const int level = StandardWindow::OnWindowEvent(event);
        switch (event.event) {
        case Event::Timer:
            BroadcastRefresh();
            break;
        case Event::Size:
        case Event::Sized:
            // The side menu bar follows the frame's height.
            PostToMenuBar(Event::Size);
            break;
        default:
            break;
        }
        return level;
    }

    // Closing the frame closes every window it started and waits until they have closed; a window that
    // keeps itself open (Cancel at a "Save Record" question) cancels the frame's close.
    int OnCloseRequest() override
    {
        if (const int level = StandardWindow::OnCloseRequest())
            return level;
        // The windows that may refuse to close go first, then the panes (a window of a pane's thread may
        // refuse too), and the side menu bar last, so that a refusal leaves the bar running with its width
        // not yet written.
        std::vector<ThreadNumber> windows;
        for (const int kind : ClosedKinds)
            windows.push_back(WindowThreadRegistry[std::size_t(kind)]);
        if (!CloseAndWait(windows))
            return Level::Handled;
        std::vector<ThreadNumber> panes;
        for (int group = 1; group <= MenuBarStateRecord::Groups; ++group)
            panes.push_back(MenuBarState.PaneThread[std::size_t(group)]);
        if (!CloseAndWait(panes))
            return Level::Handled;
        return CloseAndWait({MenuBarThread}) ? Level::GoOn : Level::Handled;
    }

private:
    void Describe()
    {
        window
            .Menu(QStringLiteral("&File"),
                  [&] {
                      window.Item(QStringLiteral("&Migrate from Jornix 1.0"));
                      window.Item(QStringLiteral("&Printer Setup..."))
                          .StatusText(QStringLiteral("Printer Setup"));
                      window.Item(QStringLiteral("E&xit"));
                  })
            .StatusText(QStringLiteral("File Menu"));
        window
            .Menu(QStringLiteral("&View"),
                  [&] {
                      window.Item(QStringLiteral("Show/Hide &Tool Bar"));
                      window.Item(QStringLiteral("Show/Hide Jornix &Menu Bar"));
                      window.Item(QStringLiteral("O&verdue Reminders"));
                      window.Item(QStringLiteral("Mini-Stic&ky Notes"));
                      window.Item(QStringLiteral("Mini-Scra&p Book"));
                      window.Menu(QStringLiteral("&Log Events"), [&] {
                          window.Item(QStringLiteral("&Date View")).StatusText(QStringLiteral("Date View"));
                          window.Item(QStringLiteral("&All Events View"))
                              .StatusText(QStringLiteral("All Events View"));
                          window.Item(QStringLiteral("&Print Options")).StatusText(QStringLiteral("Reports"));
                          window.Item(QStringLiteral("&Search Log Events"))
                              .StatusText(QStringLiteral("Search"));
                      });
                      window.Menu(QStringLiteral("&Reminders"), [&] {
                          window.Item(QStringLiteral("&Reminders"));
                          window.Item(QStringLiteral("&Print Options"));
                      });
                      window.Menu(QStringLiteral("&Tasks"), [&] {
                          window.Item(QStringLiteral("&Tasks"));
                          window.Item(QStringLiteral("&Print Options"));
                      });
                      window.Menu(QStringLiteral("Stic&ky Notes"), [&] {
                          window.Item(QStringLiteral("&Sticky Notes"));
                          window.Item(QStringLiteral("&Print Options"));
                      });
                      window.Menu(QStringLiteral("&Contacts"), [&] {
                          window.Item(QStringLiteral("&Contacts"));
                          window.Item(QStringLiteral("&Print Options"));
                      });
                      window.Menu(QStringLiteral("Sc&rap"), [&] {
                          window.Item(QStringLiteral("&Scrap"));
                          window.Item(QStringLiteral("&Print Options"));
                      });
                      window.Item(QStringLiteral("Report &Designer"))
                          .StatusText(QStringLiteral("Report Designer"));
                      window.Menu(QStringLiteral("&Setup"), [&] {
                          window.Item(QStringLiteral("Program &Setup"));
                          window.Item(QStringLiteral("Manage &Users"));
                          window.Item(QStringLiteral("&Migrate From Jornix 1.0"));
                      });
                  })
            .StatusText(QStringLiteral("View Menu"));
        window
            .Menu(
                QStringLiteral("&Help"),
                [&] {
                    window.Item(QStringLiteral("Jornix &Help")).StatusText(QStringLiteral("Help Contents"));
                    window.Item(QStringLiteral("Jornix on the &Web"));
                    window.Item(QStringLiteral("How do I..."));
                    window.Item(QStringLiteral("&About Jornix")).StatusText(QStringLiteral("About Program"));
                })
            .StatusText(QStringLiteral("Help Menu"));
        window.Toolbar([&] {
            window.Tool(QStringLiteral("Date View"), QStringLiteral("DateViewS.gif"));
            window.Tool(QStringLiteral("All Events View"), QStringLiteral("AllLogViewS.gif"));
            window.Tool(QStringLiteral("Reminders"), QStringLiteral("remindS.gif"));
            window.Tool(QStringLiteral("Search Log Events"), QStringLiteral("searchS.gif"));
            window.Separator();
            window.Tool(QStringLiteral("Tasks"), QStringLiteral("taskS.gif"));
            window.Tool(QStringLiteral("Contacts"), QStringLiteral("contactS.gif"));
            window.Tool(QStringLiteral("Sticky Notes"), QStringLiteral("stickyS.gif"));
            window.Separator();
            window.Tool(QStringLiteral("Report Designer"), QStringLiteral("repdesS.gif"));
            window.Separator();
            window.Tool(QStringLiteral("Setup Program"), QStringLiteral("setupS.gif"));
            window.Tool(QStringLiteral("Migrate from Jornix 1.0"), QStringLiteral("MigrateS.gif"));
            window.Tool(QStringLiteral("Help"), QStringLiteral("help.gif"));
        });
        Q_ASSERT(window.Exists(Item::HelpButton) && !window.Exists(Item::HelpButton - 1));
    }

    // Zone 1 of the status bar shows the messages of the menu items; zone 2 the signed-in user, zone 3 the
    // version.
    static void ShowStatusZones(QMainWindow& frame)
    {
        // Each zone is a sunken panel with room around its text, so that the zones read apart.
        const auto zone = [&frame](const QString& name, const QString& text) {
            auto* label = new QLabel(text);
            label->setObjectName(name);
            label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            const int room = label->fontMetrics().averageCharWidth();
            label->setContentsMargins(room, 0, room, 0);
            frame.statusBar()->addPermanentWidget(label);
        };
        zone(QStringLiteral("UserZone"), StripTrailingBlanks(UsrAccess::Name) + QStringLiteral(" (") +
                                             StripTrailingBlanks(UsrAccess::LoginID) + QStringLiteral(")"));
        zone(QStringLiteral("VersionZone"), QStringLiteral("Jornix 2.0"));
    }

    // A pane opens at start when its setting asks for it, it is not open yet and the user may see its area.
    static void StartPane(quint8 setting, int kind, int area, const QString& procedure)
    {
        if (setting != 0 && WindowThreadRegistry[std::size_t(kind)] == 0 &&
            CurrentUserAccess[std::size_t(area)] > 0)
            StartProcedure(procedure);
    }

    // A kept "Maximize" of "yes" blanks the kept position and size, so that the frame opens maximized and
    // returns to the size it was described with.
    void RestorePlacement()
    {
        if (INIMgr.ReadValue(PlacementSection, QStringLiteral("Maximize")).toUpper() ==
            QStringLiteral("YES")) {
            for (const char* entry : {"XPos", "YPos", "Height", "Width"})
                INIMgr.WriteValue(PlacementSection, QString::fromLatin1(entry), QString());
        }
        INIMgr.RestoreWindow(PlacementSection, window.Root());
    }

    static void PostToMenuBar(int event, int control = 0)
    {
        if (MenuBarThread > 0)
            PostEvent(event, control, MenuBarThread);
    }

    static void Start(const Command& command)
    {
        if (command.reportArea)
            CurrentReportArea = command.reportArea;
        if (command.groupHeader) {
            MenuBarState.FirstPressDone = 0;
            PostToMenuBar(Event::Accepted, command.groupHeader);
        }
        StartProcedure(command.procedure);
    }

    static void ShowHideMenuBar()
    {
        MenuBarStateRecord& bar = MenuBarState;
        bar.DragAllowed = 1;
        if (bar.BarWidth > 0) {
            bar.SavedWidth = bar.BarWidth;
            bar.BarWidth = MenuBarStateRecord::HiddenWidth;
        } else {
            bar.BarWidth = std::max(bar.SavedWidth, MenuBarStateRecord::MinimumWidth);
        }
        bar.ForceLayout = 1;
        PostToMenuBar(Event::Size);
    }

    // Posts CloseWindow to the windows of the threads and waits, giving way, until each thread has ended or
    // waits at a window that has taken a close and stays open. A thread whose window took the close and left
    // another of its windows on top (a form answered "Save Record" with Yes or No, and the list under it is
    // back) is asked again, at that window; no window is asked twice. True when every thread has ended.
    bool CloseAndWait(const std::vector<ThreadNumber>& threads)
    {
        std::map<ThreadNumber, std::vector<quint64>> asked; // by thread, the windows that took a close
        const auto ask = [&asked](ThreadNumber thread) {
            const quint64 top = TopWindowId(thread);
            if (PostEvent(Event::CloseWindow, 0, thread))
                asked[thread].push_back(top);
        };
        for (const ThreadNumber thread : threads) {
            if (thread > 0 && thread != Thread() && !asked.contains(thread))
                ask(thread);
        }
        for (;;) {
            bool settled = true;
            bool keptOpen = false;
            for (const auto& [thread, windows] : asked) {
                if (!ThreadIsActive(thread))
                    continue;
                if (!WaitsForInput(thread)) {
                    settled = false;
                } else if (std::find(windows.begin(), windows.end(), TopWindowId(thread)) != windows.end()) {
                    keptOpen = true;
                } else {
                    ask(thread);
                    settled = false;
                }
            }
            if (settled)
                return !keptOpen;
            WaitMilliseconds(10);
        }
    }

};

} // namespace

void Main()
{
    MainFrame thisWindow;
    CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
}

} // namespace jornix
