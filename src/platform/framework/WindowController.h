#pragma once

#include "platform/framework/WindowDescription.h"
#include "platform/runtime/FrameworkEvents.h"
#include "platform/runtime/ProgramThreads.h"

#include <QString>

#include <memory>
#include <vector>

// A window procedure: a window description plus a window controller whose overridable operations carry the
// window's behaviour. The controller runs the window: Init, the event loop, Kill; it holds the request the
// window was opened for and the response it ended with.
//
//     class ChangePassword : public WindowController
//     {
//     public:
//         ChangePassword() : WindowController("ChangePassword", "Change Password")
//         {
//             window.Prompt("&Old Password:");
//             oldEntry = window.Entry(Bind(oldPassword), "@s20").Password();
//             window.Buttons([&] { okButton = window.Button("OK"); cancelButton = window.Button("Cancel");
//             });
//         }
//         int Init() override
//         {
//             if (const int level = WindowController::Init())
//                 return level;
//             AddButtonAction(cancelButton, Response::Cancelled);
//             ShowWindow();
//             return Level::GoOn;
//         }
//         int OnAccepted(int control) override
//         {
//             if (const int level = WindowController::OnAccepted(control))
//                 return level;
//             if (control == okButton) ...
//             return Level::GoOn;
//         }
//         ...
//     };
//
//     StartProcedureThread(RunProcedure<ChangePassword>);
namespace jornix {

class ErrorReporter;
class FileManager;
class ProgramWindow;
class TableRelations;
class ToolbarController;
class WindowResizer;
class WindowController;

// What a window was opened for.
namespace Request {
enum : quint8
{
    None = 0,
    Insert = 1,
    Change = 2,
    Delete = 3,
    Select = 4,
    ViewOnly = 6
};
}
// How a window ended.
namespace Response {
enum : quint8
{
    Completed = 1,
    Cancelled = 2
};
}
// Results of the overridable operations.
namespace Level {
enum : int
{
    GoOn = 0,   // go on
    Stop = 3,   // stop; from Init: the window is not opened and the procedure returns at once
    Handled = 5 // the event needs nothing more; from Init: the window is not opened
};
}

// A part of a window that takes part in its events and its resets: a list, the resizer, the help object. The
// window hands every event to its components before its own handlers.
class WindowComponent
{
public:
    virtual ~WindowComponent() = default;
    virtual int TakeEvent(const FrameworkEvent& event); // Level::Handled: the event needs nothing more
    virtual void Reset(bool force);
    virtual void Update();
    virtual void SetAlerts(WindowController& window);
    virtual void Kill();
};

class WindowController
{
public:
    // A child window or a pane opens inside the frame given (see WindowDescription).
    WindowController(const QString& procedureName, const QString& caption,
                     WindowType kind = WindowType::Dialog, WindowDescription* frame = nullptr);
    virtual ~WindowController();
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // The overridable operations, in this order.
    virtual int EventLoop();                // hands each event of the window to DispatchEvent
    virtual int Init();                     // prepares the window; a level
    virtual int Kill();                     // releases the components; Level::Handled when already done
    virtual void Open();                    // once, at the window's first open or focus event
    virtual void SetFieldDefaults();        // primes the fields of a new record
    virtual int PrepareUpdate();            // prepares the primary record for the request
    virtual void Reset(bool force = false); // resets the components and shows the values again
    virtual int Run();                      // Init; the event loop when Init gave 0; Kill; the response
    virtual int RunSubProcedure(int number, int request); // the called procedure's response; here 2
    virtual void SetKeyAlerts();         // arms the alert keys of the window and its components
    virtual int OnAccepted(int control); // toolbar buttons, button actions, OK
    virtual int OnCompleted();           // completes the window (OK pressed or Completed posted)
    virtual int OnCloseRequest();        // Level::GoOn closes the window; any other level keeps it
    virtual int DispatchEvent(const FrameworkEvent& event);
    virtual int OnFieldEvent(const FrameworkEvent& event);  // other events of a control; nothing here
    virtual int OnWindowEvent(const FrameworkEvent& event); // open, focus, size, close, completed
    virtual void Update(); // writes the controls into their bindings; components update
    // Events of a control that the operations above leave out: it got the focus, its selection changed, it
    // refused its input.
    virtual int OnSelected(int control);
    virtual int OnNewSelection(int control);
    virtual int OnRejected(int control);

    // Non-overridable operations.
    void AddToolbar(ToolbarController& toolbar);
    void AddResizer(WindowResizer& resizer);
    void AddButtonAction(int control, int response); // pressing the button ends the window with the response
    void AddUpdateTable(FileManager& table);         // the table whose record a form saves and compares
    void AddComponent(WindowComponent& component);

    // Opens the window (Init does it once its set-up is done): the window becomes its thread's top window,
    // takes its events and shows; OPENED := true.
    void ShowWindow();
    bool IsOpen() const;
    // Ends the window with the response: RESPONSE := response and CloseWindow posted to the window.
    void SetResponse(int response);
    // Queues an event to this window.
    void Post(int event, int control = 0);
    // The window's timer, in hundredths of a second; 0 stops it.
    void SetTimer(int hundredths);
    int TimerInterval() const { return timer_; }
    // Arms a key (QKeySequence's number, with its modifiers) for the AlertKey event.
    void AlertKey(int key);
    // The history key of forms, Ctrl+': puts back the value a field had when the form opened.
    static constexpr int HistoryKey = int(Qt::CTRL) | int(Qt::Key_Apostrophe);
    // Restores the window when minimized and makes it the active window.
    void BringForward();
    bool IsMinimized() const;
    bool IsActive() const;

    const QString& ProcedureName() const { return procedureName_; }
    ThreadNumber Thread() const { return thread_; }
    FileManager* UpdateTable() const { return updateTable_; }
    ToolbarController* AttachedToolbar() const { return toolbar_; }
    WindowResizer* Resizer() const { return resizer_; }
    ProgramWindow* Program() const { return program_.get(); }

    // The open windows, most recent last, and the most recent open window of a procedure (nullptr for none).
    static std::vector<WindowController*> OpenWindows();
    static WindowController* Find(const QString& procedureName);

    WindowDescription window;

    // State that the windows set and read.
    int REQUEST = Request::None;
    int RESPONSE = Response::Cancelled;
    int FIRSTFIELD = 0;
    int OKCONTROL = 0;
    TableRelations* PRIMARY = nullptr;
    bool FILESOPENED = false;
    bool OPENED = false;
    ErrorReporter* ERRORS = nullptr;
    qint32* VCRREQUEST = nullptr;
    int INSERTACTION = 2; // after an insert: 2 close with "completed"; 1 none (view only)
    int CHANGEACTION = 1; // 1 change allowed; 0 none
    int DELETEACTION = 2; // 2 delete after the question "Confirm Delete"; 1 none
    int CANCELACTION = 3; // bit 1 offer to save, bit 2 ask first; 0 in view-only mode

private:
    void CloseProgramWindow();

    QString procedureName_;
    ThreadNumber thread_ = 0;
    std::unique_ptr<ProgramWindow> program_;
    std::vector<WindowComponent*> components_;
    std::vector<std::pair<int, int>> buttonActions_;
    std::vector<int> alertKeys_;
    std::vector<int> armedKeys_;
    ToolbarController* toolbar_ = nullptr;
    WindowResizer* resizer_ = nullptr;
    FileManager* updateTable_ = nullptr;
    int timer_ = 0;
    bool openDone_ = false;
    bool closing_ = false;
    bool killed_ = false;
};

// The body of a window procedure: runs the window and leaves its response in the thread's GlobalResponseCode.
template <class Window> int RunProcedure()
{
    Window thisWindow;
    const int response = thisWindow.Run();
    CurrentContext().GlobalResponseCode = quint8(response);
    return response;
}

} // namespace jornix
