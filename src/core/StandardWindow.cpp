#include "core/StandardWindow.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/StandardBrowseList.h"
#include "platform/framework/WindowResizer.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QTreeView>
#include <QWidget>

namespace jornix {
namespace {

// F1 anywhere in the window, and the help key, show the help of the focused control or of the window.
class HelpKeys : public WindowComponent
{
public:
    explicit HelpKeys(StandardWindow& window) : window_(window) {}
    int TakeEvent(const FrameworkEvent& event) override
    {
        if (event.event != Event::AlertKey || !window_.Help() || event.key < Qt::Key_F1 ||
            event.key > Qt::Key_F24)
            return Level::GoOn;
        // The help object knows keys by their key codes: F1 is 0x70, F12 0x7B.
        const int keyCode = HtmlHelpClass::F1Key + (event.key - Qt::Key_F1);
        if (keyCode != HtmlHelpClass::F1Key && keyCode != window_.Help()->HelpKey())
            return Level::GoOn;
        window_.Help()->KeyHandler(keyCode, window_.window.FocusedControl());
        return Level::Handled;
    }
    void SetAlerts(WindowController& window) override
    {
        if (!window_.Help())
            return;
        window.AlertKey(Qt::Key_F1);
        window.AlertKey(Qt::Key_F1 + (window_.Help()->HelpKey() - HtmlHelpClass::F1Key));
    }

private:
    StandardWindow& window_;
};

// The toolbar of a window with lists acts on the list that has the focus, or on the first one.
class FocusedList : public ToolbarTarget
{
public:
    FocusedList(StandardWindow& window, const std::vector<StandardBrowseList*>& lists)
        : window_(window), lists_(lists)
    {
    }
    bool TakeToolbarAction(ToolbarAction action) override
    {
        if (lists_.empty())
            return false;
        const QWidget* focus = window_.window.Root()->focusWidget();
        for (StandardBrowseList* list : lists_)
            if (const QWidget* widget = list->Widget();
                focus && widget && (focus == widget || widget->isAncestorOf(focus)))
                return list->TakeToolbarAction(action);
        return lists_.front()->TakeToolbarAction(action);
    }

private:
    StandardWindow& window_;
    const std::vector<StandardBrowseList*>& lists_;
};

} // namespace

StandardWindow::StandardWindow(const QString& procedureName, const QString& caption, WindowType type)
    : WindowController(procedureName, caption, type, ProgramFrame),
      helpKeys_(std::make_unique<HelpKeys>(*this)), focusedList_(std::make_unique<FocusedList>(*this, lists_))
{
}

StandardWindow::~StandardWindow() = default;

void StandardWindow::CheckAccess(const quint8& level, const QString& areaWords, bool formViewOnly)
{
    accessLevel_ = &level;
    areaWords_ = areaWords;
    formViewOnly_ = formViewOnly;
}

void StandardWindow::RegisterKind(ThreadNumber& registryEntry)
{
    registryEntry_ = &registryEntry;
}

void StandardWindow::KeepPlacement()
{
    keepsPlacement_ = true;
}

void StandardWindow::SetHelp(const QString& topic, int helpButton)
{
    hasHelp_ = true;
    helpTopic_ = topic;
    helpButton_ = helpButton;
}

void StandardWindow::NoHelp()
{
    hasHelp_ = false;
}

void StandardWindow::SetFirstField(int control)
{
    firstField_ = control;
}

void StandardWindow::KeepMinimumSize()
{
    keepMinimumSize_ = true;
}

void StandardWindow::AddList(StandardBrowseList& list)
{
    lists_.push_back(&list);
    list.SetFormNumber(int(lists_.size()));
}

void StandardWindow::UseTable(TableRelations& relations)
{
    tables_.push_back(&relations);
}

int StandardWindow::Init()
{
    ThreadContext& thread = CurrentContext();
    // 1, 2, 3
    GlobalErrorReporter.SetProcedure(ProcedureName(), 0);
    REQUEST = thread.GlobalRequestCode;
    if (const int level = WindowController::Init())
        return level;
    // 4
    FIRSTFIELD = firstField_;
    VCRREQUEST = &thread.VCRRequest;
    ERRORS = &GlobalErrorReporter;
    // 5
    if (accessLevel_) {
        if (*accessLevel_ == 0) {
            ShowMessageBox(
                MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Access Denied"),
                QStringLiteral("You are not allowed to view or edit ") + areaWords_ +
                    QStringLiteral(". Please contact your system administrator to request access."));
            return Level::Stop;
        }
        if (*accessLevel_ == 1 && formViewOnly_)
            REQUEST = Request::ViewOnly;
    }
    // 6: a window called to select a record neither tests nor sets the entry.
    if (registryEntry_ && thread.GlobalRequestCode != Request::Select) {
        if (*registryEntry_ != 0) {
            PostEvent(Event::GainFocus, 0, *registryEntry_);
            return Level::Stop;
        }
        *registryEntry_ = CurrentThread();
        registered_ = true;
    }
    // 7, 8
    thread.GlobalRequestCode = 0;
    thread.GlobalResponseCode = 0;
    AddToolbar(toolbar);
    // 9, 10, 11, 12
    if (const int level = SetUpForm())
        return level;
    for (TableRelations* table : tables_) {
        if (table->Open() != Severity::Benign) {
            // The error reporter has told the user; the tables opened so far are closed again.
            for (TableRelations* opened : tables_) {
                if (opened == table)
                    break;
                opened->Close();
            }
            return Level::Stop;
        }
    }
    FILESOPENED = true;
    if (PrepareRecord() != Level::GoOn)
        return Level::Handled;
    for (StandardBrowseList* list : lists_)
        list->Start(*this);
    if (!lists_.empty())
        toolbar.SetTarget(focusedList_.get());
    SetUpLists();
    // 13, 14
    ShowWindow();
    for (StandardBrowseList* list : lists_)
        list->SetUpAccess();
    if (keepMinimumSize_)
        window.Root()->setMinimumSize(window.Root()->size());
    SetUpWindow();
    // 15, 16, 17, 18, 19, 20
    SetUpListOrders();
    SetUpResizer();
    if (keepsPlacement_)
        INIMgr.RestoreWindow(ProcedureName(), window.Root());
    // The steps since the window was shown may have made it larger (a least size of its own): it stays where
    // it can be seen.
    KeepInsideVisibleArea(window.Root());
    SetKeyAlerts();
    for (StandardBrowseList* list : lists_)
        list->SetUpPopupMenu();
    SetUpPopupMenu();
    StartHelp();
    for (StandardBrowseList* list : lists_)
        list->ReadFirst();
    return Level::GoOn;
}

void StandardWindow::StartHelp()
{
    if (!hasHelp_)
        return;
    help_ = std::make_unique<HtmlHelpClass>();
    help_->Init(HelpKey, HelpFile);
    help_->SetTopic(helpTopic_);
    AddComponent(*helpKeys_);
    helpKeys_->SetAlerts(*this);
}

int StandardWindow::Kill()
{
    // 1
    if (const int level = WindowController::Kill())
        return level;
    // 2
    if (FILESOPENED) {
        for (TableRelations* table : tables_)
            table->Close();
        FILESOPENED = false;
    }
    // 3
    if (OPENED && keepsPlacement_)
        INIMgr.SaveWindow(ProcedureName(), window.Root());
    // 4
    if (registered_) {
        *registryEntry_ = 0;
        registered_ = false;
    }
    // 5, 6
    GlobalErrorReporter.SetProcedure(ProcedureName(), 1);
    if (help_) {
        help_->Kill();
        help_.reset();
    }
    return Level::GoOn;
}

int StandardWindow::OnAccepted(int control)
{
    if (helpButton_ && control == helpButton_ && help_) {
        help_->SetTopic(helpTopic_);
        help_->ShowTopic();
        return Level::Handled;
    }
    if (const int level = WindowController::OnAccepted(control))
        return level;
    for (StandardBrowseList* list : lists_)
        if (list->TakeAccepted(control))
            return Level::Handled;
    return Level::GoOn;
}

int StandardWindow::OnNewSelection(int control)
{
    for (StandardBrowseList* list : lists_)
        if (list->TakeNewSelection(control))
            return Level::Handled;
    return WindowController::OnNewSelection(control);
}

int StandardWindow::RunSubProcedure(int number, int request)
{
    WindowController::RunSubProcedure(number, request);
    if (REQUEST == Request::ViewOnly)
        return Response::Cancelled;
    for (StandardBrowseList* list : lists_)
        if (list->FormNumber() == number)
            return list->RunForm(request);
    return Response::Cancelled;
}

int StandardWindow::OnWindowEvent(const FrameworkEvent& event)
{
    const int level = WindowController::OnWindowEvent(event);
    // A second start of the kind posts GainFocus: the open window comes forward.
    if (event.event == Event::GainFocus && OPENED && registryEntry_) {
        BringForward();
        if (Resizer())
            Resizer()->Resize();
    }
    if (event.event == RefreshEvent && !lists_.empty())
        Reset(true);
    return level;
}

int StandardWindow::DescribeHeading(const QString& text)
{
    int heading = 0;
    window.Panel([&] {
        heading = window.Prompt(text)
                      .Name(QStringLiteral("Title"))
                      .Font(QStringLiteral("Arial"), HeadingPoints - 2, FontStyle::Bold);
    });
    return heading;
}

int StandardWindow::SetUpForm()
{
    return Level::GoOn;
}

int StandardWindow::PrepareRecord()
{
    return Level::GoOn;
}

void StandardWindow::SetUpLists() {}

void StandardWindow::SetUpWindow() {}

void StandardWindow::SetUpListOrders() {}

void StandardWindow::SetUpResizer() {}

void StandardWindow::SetUpPopupMenu() {}

} // namespace jornix
