#include "platform/framework/WindowController.h"

#include "platform/framework/ToolbarController.h"
#include "platform/framework/WindowResizer.h"
#include "platform/runtime/ProgramWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <algorithm>

namespace jornix {
namespace {

std::vector<WindowController*>& Controllers()
{
    static std::vector<WindowController*> controllers;
    return controllers;
}

} // namespace

int WindowComponent::TakeEvent(const FrameworkEvent&)
{
    return Level::GoOn;
}

void WindowComponent::Reset(bool) {}

void WindowComponent::Update() {}

void WindowComponent::SetAlerts(WindowController&) {}

void WindowComponent::Kill() {}

WindowController::WindowController(const QString& procedureName, const QString& caption, WindowType kind,
                                   WindowDescription* frame)
    : window(caption, kind, frame), procedureName_(procedureName), thread_(CurrentThread())
{
    window.Root()->setProperty("procedure", procedureName);
    Controllers().push_back(this);
}

WindowController::~WindowController()
{
    window.SetEventSink({});
    CloseProgramWindow();
    std::erase(Controllers(), this);
}

// The overridable operations --------------------------------------------------------------------------------

int WindowController::EventLoop()
{
    if (!program_)
        ShowWindow();
    while (!closing_)
        DispatchEvent(program_->WaitEvent());
    return Level::GoOn;
}

int WindowController::Init()
{
    RESPONSE = Response::Cancelled;
    closing_ = false;
    killed_ = false;
    openDone_ = false;
    return Level::GoOn;
}

int WindowController::Kill()
{
    if (killed_)
        return Level::Handled;
    killed_ = true;
    for (WindowComponent* component : components_)
        component->Kill();
    SetTimer(0);
    return Level::GoOn;
}

void WindowController::Open()
{
    window.ShowValues();
    if (FIRSTFIELD)
        window.Select(FIRSTFIELD);
}

void WindowController::SetFieldDefaults() {}

int WindowController::PrepareUpdate()
{
    if (REQUEST == Request::Insert)
        SetFieldDefaults();
    return Level::GoOn;
}

void WindowController::Reset(bool force)
{
    for (WindowComponent* component : components_)
        component->Reset(force);
    window.ShowValues();
}

int WindowController::Run()
{
    if (Init() == Level::GoOn)
        EventLoop();
    Kill();
    CloseProgramWindow();
    return RESPONSE;
}

int WindowController::RunSubProcedure(int, int)
{
    return Response::Cancelled;
}

void WindowController::SetKeyAlerts()
{
    for (WindowComponent* component : components_)
        component->SetAlerts(*this);
}

int WindowController::OnAccepted(int control)
{
    if (toolbar_ && toolbar_->TakeAccepted(control))
        return Level::Handled;
    for (const auto& [button, response] : buttonActions_) {
        if (button == control) {
            SetResponse(response);
            return Level::Handled;
        }
    }
    if (OKCONTROL && control == OKCONTROL) {
        Post(Event::Completed);
        return Level::Handled;
    }
    return Level::GoOn;
}

int WindowController::OnCompleted()
{
    Update();
    SetResponse(Response::Completed);
    return Level::GoOn;
}

int WindowController::OnCloseRequest()
{
    return Level::GoOn;
}

int WindowController::DispatchEvent(const FrameworkEvent& event)
{
    for (WindowComponent* component : components_)
        if (component->TakeEvent(event) == Level::Handled)
            return Level::Handled;
    if (event.control == 0)
        return OnWindowEvent(event);
    // A bound control writes what it holds in this thread, before anyone looks at the value.
    if ((event.event == Event::Accepted || event.event == Event::NewSelection) &&
        !window.WriteValues(event.control))
        return OnRejected(event.control);
    switch (event.event) {
    case Event::Accepted:
        return OnAccepted(event.control);
    case Event::Selected:
        return OnSelected(event.control);
    case Event::NewSelection:
        return OnNewSelection(event.control);
    case Event::Rejected:
        return OnRejected(event.control);
    default:
        return OnFieldEvent(event);
    }
}

int WindowController::OnFieldEvent(const FrameworkEvent&)
{
    return Level::GoOn;
}

int WindowController::OnWindowEvent(const FrameworkEvent& event)
{
    switch (event.event) {
    case Event::OpenWindow:
    case Event::GainFocus:
        if (!openDone_) {
            openDone_ = true;
            Open();
        }
        break;
    case Event::CloseWindow:
        if (OnCloseRequest() == Level::GoOn)
            closing_ = true;
        break;
    case Event::Completed:
        OnCompleted();
        break;
    default:
        break;
    }
    return Level::GoOn;
}

void WindowController::Update()
{
    window.WriteValues();
    for (WindowComponent* component : components_)
        component->Update();
}

int WindowController::OnSelected(int)
{
    return Level::GoOn;
}

int WindowController::OnNewSelection(int)
{
    return Level::GoOn;
}

int WindowController::OnRejected(int control)
{
    // The control keeps the text typed and the focus, so that it can be put right.
    window.Select(control);
    return Level::GoOn;
}

// Non-overridable operations --------------------------------------------------------------------------------

void WindowController::AddToolbar(ToolbarController& toolbar)
{
    toolbar_ = &toolbar;
}

void WindowController::AddResizer(WindowResizer& resizer)
{
    resizer_ = &resizer;
    AddComponent(resizer);
}

void WindowController::AddButtonAction(int control, int response)
{
    buttonActions_.emplace_back(control, response);
}

void WindowController::AddUpdateTable(FileManager& table)
{
    updateTable_ = &table;
}

void WindowController::AddComponent(WindowComponent& component)
{
    if (std::find(components_.begin(), components_.end(), &component) == components_.end())
        components_.push_back(&component);
}

void WindowController::ShowWindow()
{
    if (program_)
        return;
    thread_ = CurrentThread();
    program_ = std::make_unique<ProgramWindow>(window.Root());
    window.SetEventSink([this](int event, int control) {
        if (program_)
            program_->Post(FrameworkEvent{event, control});
    });
    for (int key : alertKeys_)
        AlertKey(key);
    if (timer_)
        program_->SetTimer(timer_);
    program_->Show();
    if (auto* child = qobject_cast<QMdiSubWindow*>(window.Root()); child && child->mdiArea())
        child->mdiArea()->setActiveSubWindow(child);
    OPENED = true;
}

bool WindowController::IsOpen() const
{
    return program_ != nullptr;
}

void WindowController::SetResponse(int response)
{
    RESPONSE = response;
    Post(Event::CloseWindow);
}

void WindowController::Post(int event, int control)
{
    if (program_)
        program_->Post(FrameworkEvent{event, control});
}

void WindowController::SetTimer(int hundredths)
{
    timer_ = std::max(0, hundredths);
    if (program_)
        program_->SetTimer(timer_);
}

void WindowController::AlertKey(int key)
{
    if (std::find(alertKeys_.begin(), alertKeys_.end(), key) == alertKeys_.end())
        alertKeys_.push_back(key);
    // A key armed twice would be ambiguous to Qt and reach nobody.
    if (program_ && std::find(armedKeys_.begin(), armedKeys_.end(), key) == armedKeys_.end()) {
        armedKeys_.push_back(key);
        program_->AddAlertKey(key);
    }
}

void WindowController::BringForward()
{
    QWidget* root = window.Root();
    if (root->isMinimized())
        root->showNormal();
    if (IsActive())
        return;
    if (auto* child = qobject_cast<QMdiSubWindow*>(root); child && child->mdiArea()) {
        child->mdiArea()->setActiveSubWindow(child);
    } else {
        root->raise();
        root->activateWindow();
    }
}

bool WindowController::IsMinimized() const
{
    return window.Root()->isMinimized();
}

bool WindowController::IsActive() const
{
    QWidget* root = window.Root();
    if (auto* child = qobject_cast<QMdiSubWindow*>(root); child && child->mdiArea())
        return child->mdiArea()->activeSubWindow() == child;
    return root->isActiveWindow();
}

std::vector<WindowController*> WindowController::OpenWindows()
{
    std::vector<WindowController*> open;
    for (WindowController* controller : Controllers())
        if (controller->IsOpen())
            open.push_back(controller);
    return open;
}

WindowController* WindowController::Find(const QString& procedureName)
{
    const std::vector<WindowController*> open = OpenWindows();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if ((*it)->procedureName_ == procedureName)
            return *it;
    return nullptr;
}

void WindowController::CloseProgramWindow()
{
    if (!program_)
        return;
    window.SetEventSink({});
    window.Root()->hide();
    program_.reset();
}

} // namespace jornix
