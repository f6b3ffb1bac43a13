#include "platform/runtime/ProgramWindow.h"

#include "platform/runtime/SchedulerInternals.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace jornix {

bool DeliverAlertKey(int key, QWidget* from);

namespace {

// Turns what happens to the window and to controls that asked for mouse events into framework events.
class WindowWatcher : public QObject
{
public:
    WindowWatcher(ProgramWindow* window, QWidget* widget) : window_(window), widget_(widget)
    {
        widget->installEventFilter(this);
    }
    void WatchMouse(QWidget* control, int number)
    {
        mouseControls_.push_back({control, number});
        control->installEventFilter(this);
        control->setMouseTracking(true);
    }
    void AlertMouse(int key) { mouseKeys_.push_back(key); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == widget_)
            return WindowEvent(event);
        for (const auto& [control, number] : mouseControls_)
            if (object == control)
                MouseEvent(control, number, event);
        return false;
    }

private:
    // The close box and Escape ask the window to close; the window decides.
    bool WindowEvent(QEvent* event)
    {
        switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            window_->Post(Event::CloseWindow);
            return true;
        case QEvent::KeyPress:
            if (qobject_cast<QDialog*>(widget_) && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
                static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
                window_->Post(Event::CloseWindow);
                return true;
            }
            return false;
        // Qt hands a top-level window's activation on to every widget inside it: a child window of the
        // frame (or a pane) would hear of each activation of the frame as its own.
        case QEvent::WindowActivate:
            if (widget_->isWindow())
                window_->Post(Event::GainFocus);
            return false;
        case QEvent::WindowDeactivate:
            if (widget_->isWindow())
                window_->Post(Event::LoseFocus);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            MouseAlert(*static_cast<QMouseEvent*>(event));
            return false;
        case QEvent::Resize:
            if (widget_->isVisible()) {
                window_->Post(Event::Size);
                window_->Post(Event::Sized);
            }
            return false;
        default:
            return false;
        }
    }

    // Presses reach the window itself when the control under the mouse leaves them to it.
    void MouseAlert(const QMouseEvent& event)
    {
        int key = 0;
        if (event.type() == QEvent::MouseButtonDblClick)
            key = event.button() == Qt::LeftButton ? MouseKey::LeftDouble : 0;
        else if (event.button() == Qt::LeftButton)
            key = MouseKey::Left;
        else if (event.button() == Qt::RightButton)
            key = MouseKey::Right;
        if (key && std::find(mouseKeys_.begin(), mouseKeys_.end(), key) != mouseKeys_.end())
            window_->Post(FrameworkEvent{Event::AlertKey, 0, key});
    }

    void MouseEvent(QWidget* control, int number, QEvent* event)
    {
        int kind = 0;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            kind = Event::MouseDown;
            break;
        case QEvent::MouseButtonRelease:
            kind = Event::MouseUp;
            break;
        case QEvent::MouseMove:
            kind = Event::MouseMove;
            break;
        default:
            return;
        }
        const QPoint at = control->mapTo(widget_, static_cast<QMouseEvent*>(event)->position().toPoint());
        window_->Post(FrameworkEvent{kind, number, 0, at.x(), at.y()});
    }

    ProgramWindow* window_;
    QPointer<QWidget> widget_;
    std::vector<std::pair<QWidget*, int>> mouseControls_;
    std::vector<int> mouseKeys_;
};

// Stacks a top-level window over the window below it without making it a child (a disabled parent would
// disable it too).
void PlaceOver(QWidget* window, QWidget* below)
{
    if (!window->isWindow() || !below)
        return;
    window->winId();
    if (QWindow* handle = window->windowHandle(); handle && below->window()->windowHandle())
        handle->setTransientParent(below->window()->windowHandle());
}

QWidget* TopWidget(const scheduler::ProgramThread& thread)
{
    return thread.windows.empty() ? nullptr : thread.windows.back()->Widget();
}

// The windows that armed alert keys, so that a key goes to the innermost of them that holds the focus.
std::vector<ProgramWindow*>& AlertWindows()
{
    static std::vector<ProgramWindow*> windows;
    return windows;
}

// The window system keeps a window at least at its minimum size, but that minimum leaves out text that wraps:
// a window whose wrapped texts need more height than it has (they got their fonts and styles after it was
// sized, or a program changed them) grows to that height at its width. It never shrinks a window.
class GrowWithWrappedText : public QObject
{
public:
    explicit GrowWithWrappedText(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) {
            QLayout* layout = window_->layout();
            if (layout && layout->hasHeightForWidth() && !window_->isMaximized()) {
                layout->activate();
                const int needed = layout->totalHeightForWidth(window_->width());
                if (needed > window_->height())
                    window_->resize(window_->width(), needed);
            }
        }
        return false;
    }

private:
    QWidget* window_;
};

// Function keys pressed in an open menu go to the window the menu belongs to, when that window armed them;
// the menu keeps the keys it uses itself (arrows, Enter, Escape, letters).
class PopupKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !object->isWidgetType() ||
            object != QApplication::activePopupWidget())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() < Qt::Key_F1 || key->key() > Qt::Key_F35)
            return false;
        return DeliverAlertKey(key->keyCombination().toCombined(), static_cast<QWidget*>(object));
    }
};

quint64 NextWindowId()
{
    static quint64 last = 0;
    return ++last;
}

} // namespace

struct ProgramWindow::Private
{
    QPointer<QWidget> widget;
    ThreadNumber thread = 0;
    std::deque<FrameworkEvent> queue;
    std::unique_ptr<WindowWatcher> watcher;
    QTimer timer;
    int timerInterval = 0;
    std::function<void(bool)> blockHandler;
    bool blocked = false;
    bool restoreEnabled = false;
    std::vector<int> alertKeys;
    quint64 id = NextWindowId();
};

ProgramWindow::ProgramWindow(QWidget* widget) : d(std::make_unique<Private>())
{
    scheduler::ProgramThread* thread = scheduler::Running();
    if (!thread)
        scheduler::Fault("a framework window was opened outside every program thread");
    d->widget = widget;
    d->thread = thread ? thread->number : 0;
    d->watcher = std::make_unique<WindowWatcher>(this, widget);
    QObject::connect(&d->timer, &QTimer::timeout, d->watcher.get(), [this] { Post(Event::Timer); });
    d->queue.push_back(FrameworkEvent{Event::OpenWindow});
    if (thread) {
        for (const FrameworkEvent& event : thread->pending)
            scheduler::Enqueue(d->queue, event);
        thread->pending.clear();
        thread->windows.push_back(this);
        ApplyThreadBlocking(d->thread);
    }
}

ProgramWindow::~ProgramWindow()
{
    std::erase(AlertWindows(), this);
    SetBlocked(false);
    if (scheduler::ProgramThread* thread = scheduler::Find(d->thread)) {
        std::erase(thread->windows, this);
        if (thread->eventWaiter == this)
            thread->eventWaiter = nullptr;
        ApplyThreadBlocking(d->thread);
    }
}

QWidget* ProgramWindow::Widget() const
{
    return d->widget;
}

ThreadNumber ProgramWindow::Thread() const
{
    return d->thread;
}

bool ProgramWindow::IsTop() const
{
    scheduler::ProgramThread* thread = scheduler::Find(d->thread);
    return thread && !thread->windows.empty() && thread->windows.back() == this;
}

bool ProgramWindow::IsBlocked() const
{
    return d->blocked;
}

void ProgramWindow::Show()
{
    if (scheduler::ProgramThread* thread = scheduler::Find(d->thread)) {
        auto self = std::find(thread->windows.begin(), thread->windows.end(), this);
        if (self != thread->windows.begin() && self != thread->windows.end())
            PlaceOver(d->widget, (*(self - 1))->Widget());
    }
    // A child window of an area that nobody has sized opens at the size its controls need, as a top-level
    // window does.
    if (auto* child = qobject_cast<QMdiSubWindow*>(d->widget.data());
        child && !child->isVisible() && !child->testAttribute(Qt::WA_Resized)) {
        // Its layout still holds the size it measured before the controls were added.
        child->ensurePolished();
        if (QWidget* content = child->widget(); content && content->layout())
            content->layout()->invalidate();
        child->resize(child->sizeHint().expandedTo(child->minimumSizeHint()));
    } else if (QWidget* window = d->widget; window->isWindow() && !window->isVisible() &&
                                            !window->testAttribute(Qt::WA_Resized) && window->screen()) {
        // A window of its own that nobody has sized opens at the size its controls ask for, as far as its
        // screen holds it: the platform alone would stop at two thirds of the screen, and a form whose
        // controls ask for more would open at its least size.
        window->ensurePolished();
        QSize size = window->sizeHint();
        if (QLayout* layout = window->layout()) {
            layout->invalidate();
            size = layout->totalSizeHint();
            if (layout->hasHeightForWidth())
                size.setHeight(layout->totalHeightForWidth(size.width()));
        }
        if (size.isValid())
            window->resize(size.boundedTo(window->screen()->availableGeometry().size())
                               .expandedTo(window->minimumSizeHint())
                               .expandedTo(window->minimumSize()));
    }
    d->widget->setWindowModality(Qt::NonModal);
    d->widget->show();
    if (d->widget->isWindow() && !d->widget->property("growsWithText").toBool()) {
        d->widget->setProperty("growsWithText", true);
        new GrowWithWrappedText(d->widget);
    }
    KeepInsideVisibleArea(d->widget);
    d->widget->raise();
    d->widget->activateWindow();
}

namespace {

// The smallest outer size at which a window's controls still have the room they need.
QSize LeastSize(const QWidget* window, const QSize& decoration)
{
    QSize least = window->minimumSizeHint();
    if (!least.isValid())
        least = QSize(0, 0);
    return (least + (qobject_cast<const QMdiSubWindow*>(window) ? QSize(0, 0) : decoration))
        .expandedTo(window->minimumSize() + decoration);
}

// A frame grows inside its screen by up to `wanted` so that its area holds a child window; gives what it
// grew by. A maximized or full-screen frame keeps its size.
QSize GrowFrame(QWidget* frame, const QSize& wanted)
{
    if (!frame || !frame->isWindow() || frame->isMaximized() || frame->isFullScreen() || !frame->screen())
        return QSize(0, 0);
    const QRect screen = frame->screen()->availableGeometry();
    const QRect outer = frame->frameGeometry();
    const QSize growth = wanted.boundedTo(screen.size() - outer.size()).expandedTo(QSize(0, 0));
    if (growth.width() == 0 && growth.height() == 0)
        return QSize(0, 0);
    const QSize size = outer.size() + growth;
    const QPoint place(std::clamp(outer.left(), screen.left(), screen.left() + screen.width() - size.width()),
                       std::clamp(outer.top(), screen.top(), screen.top() + screen.height() - size.height()));
    frame->resize(frame->size() + growth);
    if (place != outer.topLeft())
        frame->move(place);
    return growth;
}

} // namespace

void KeepInsideVisibleArea(QWidget* window)
{
    if (!window || !window->isVisible() || window->isMaximized() || window->isMinimized() ||
        window->isFullScreen())
        return;
    // A pane beside the frame's area takes room from it: the child windows in the area stay whole.
    if (qobject_cast<QDockWidget*>(window) && !window->isWindow()) {
        QWidget* frame = window->window();
        if (QLayout* layout = frame->layout()) { // the area takes the size it has beside the pane now
            layout->invalidate();
            layout->activate();
        }
        for (QMdiArea* area : frame->findChildren<QMdiArea*>())
            for (QMdiSubWindow* child : area->subWindowList())
                KeepInsideVisibleArea(child);
        return;
    }
    // The place to stay in, and the window's outer rectangle in the same coordinates.
    QRect visible;
    QRect outer = window->frameGeometry();
    auto* child = qobject_cast<QMdiSubWindow*>(window);
    if (child) {
        if (!child->mdiArea())
            return;
        visible = child->mdiArea()->viewport()->rect();
        outer = child->geometry();
    } else if (window->isWindow() && window->screen()) {
        visible = window->screen()->availableGeometry();
    } else {
        return;
    }
    const QSize decoration = outer.size() - window->size();
    // A window never becomes smaller than its controls need. A child window that the frame's area cannot
    // hold makes the frame grow inside its screen (the area grows with it); what still does not fit, the
    // area scrolls to.
    const QSize least = LeastSize(window, decoration);
    if (child) {
        const QSize short_ = (least - visible.size()).expandedTo(QSize(0, 0));
        const QSize grown = GrowFrame(child->mdiArea()->window(), short_);
        visible.setSize(visible.size() + grown);
    }
    const QSize size = outer.size().boundedTo(visible.size()).expandedTo(least);
    const QPoint place(
        std::max(visible.left(),
                 std::min(outer.left(), visible.left() + visible.width() - size.width())),
        std::max(visible.top(), std::min(outer.top(), visible.top() + visible.height() - size.height())));
    if (size != outer.size())
        window->resize(size - decoration);
    if (place != outer.topLeft())
        window->move(place);
}

FrameworkEvent ProgramWindow::WaitEvent()
{
    scheduler::ProgramThread* thread = scheduler::Running();
    if (!thread || thread->number != d->thread) {
        scheduler::Fault("WaitEvent was called from another thread than the window's (%d)", d->thread);
        return FrameworkEvent{Event::CloseWindow};
    }
    if (!IsTop())
        scheduler::Fault("WaitEvent was called on a window that is not the top window of thread %d",
                         d->thread);
    while (d->queue.empty()) {
        if (thread->unwinding)
            return FrameworkEvent{Event::CloseWindow};
        thread->eventWaiter = this;
        WaitUntil([this] { return !d->queue.empty(); }, WaitKind::Dialog);
        thread->eventWaiter = nullptr;
    }
    const FrameworkEvent event = d->queue.front();
    d->queue.pop_front();
    return event;
}

bool ProgramWindow::HasEvents() const
{
    return !d->queue.empty();
}

void ProgramWindow::Post(const FrameworkEvent& event)
{
    scheduler::Enqueue(d->queue, event);
    if (scheduler::ProgramThread* thread = scheduler::Find(d->thread); thread && thread->eventWaiter == this)
        WakeThread(d->thread);
}

void ProgramWindow::PostMouseEvents(QWidget* control, int controlNumber)
{
    d->watcher->WatchMouse(control, controlNumber);
}

namespace {
int timerTick = 10; // milliseconds of a hundredth of a second
} // namespace

void SetTimerTick(int milliseconds)
{
    timerTick = std::max(1, milliseconds);
}

void ProgramWindow::SetTimer(int hundredths)
{
    d->timerInterval = std::max(0, hundredths);
    if (d->timerInterval == 0)
        d->timer.stop();
    else
        d->timer.start(d->timerInterval * timerTick);
}

int ProgramWindow::TimerInterval() const
{
    return d->timerInterval;
}

void ProgramWindow::AddAlertKey(int key)
{
    if (key == MouseKey::Left || key == MouseKey::Right || key == MouseKey::LeftDouble) {
        d->watcher->AlertMouse(key);
        return;
    }
    if (std::find(d->alertKeys.begin(), d->alertKeys.end(), key) != d->alertKeys.end())
        return;
    d->alertKeys.push_back(key);
    if (std::find(AlertWindows().begin(), AlertWindows().end(), this) == AlertWindows().end())
        AlertWindows().push_back(this);
    // Windows inside each other (child windows and panes in the frame) arm the same keys, which Qt then
    // finds ambiguous: whichever of the shortcuts Qt picks, the key goes to the innermost window that armed
    // it and holds the focus.
    auto* shortcut = new QShortcut(QKeySequence(key), d->widget);
    shortcut->setContext(Qt::WindowShortcut);
    const auto deliver = [key] {
        QWidget* focus = QApplication::focusWidget();
        DeliverAlertKey(key, focus ? focus : QApplication::activeWindow());
    };
    QObject::connect(shortcut, &QShortcut::activated, d->watcher.get(), deliver);
    QObject::connect(shortcut, &QShortcut::activatedAmbiguously, d->watcher.get(), deliver);
    QObject::connect(d->watcher.get(), &QObject::destroyed, shortcut, &QObject::deleteLater);
    // An open menu is a window of its own to Qt, where the window's shortcuts do not reach.
    static const bool watchingMenus = [] {
        qApp->installEventFilter(new PopupKeys(qApp));
        return true;
    }();
    Q_UNUSED(watchingMenus);
}

// Posts AlertKey to the innermost window around the widget that armed the key; false when there is none.
bool DeliverAlertKey(int key, QWidget* from)
{
    for (QWidget* widget = from; widget; widget = widget->parentWidget()) {
        for (ProgramWindow* window : AlertWindows()) {
            if (window->d->widget != widget ||
                std::find(window->d->alertKeys.begin(), window->d->alertKeys.end(), key) ==
                    window->d->alertKeys.end())
                continue;
            // A window under another of its thread's windows takes no input.
            if (!window->d->blocked)
                window->Post(FrameworkEvent{Event::AlertKey, 0, key});
            return true;
        }
        // A menu belongs to the window it opened from; any other window is a window of its own.
        if (widget->isWindow() && widget->windowType() != Qt::Popup)
            return false;
    }
    return false;
}

void ProgramWindow::SetBlockHandler(std::function<void(bool blocked)> handler)
{
    const bool blocked = d->blocked;
    SetBlocked(false);
    d->blockHandler = std::move(handler);
    SetBlocked(blocked);
}

QObject* ProgramWindow::Receiver() const
{
    return d->watcher.get();
}

void ProgramWindow::SetBlocked(bool blocked)
{
    if (blocked == d->blocked)
        return;
    d->blocked = blocked;
    if (!d->widget)
        return;
    if (d->blockHandler) {
        d->blockHandler(blocked);
        return;
    }
    // A window the program itself disabled stays disabled afterwards.
    if (blocked) {
        d->restoreEnabled = !d->widget->testAttribute(Qt::WA_ForceDisabled);
        d->widget->setEnabled(false);
    } else if (d->restoreEnabled) {
        d->widget->setEnabled(true);
    }
}

void ApplyThreadBlocking(ThreadNumber number)
{
    scheduler::ProgramThread* thread = scheduler::Find(number);
    if (!thread)
        return;
    const std::size_t count = thread->windows.size();
    for (std::size_t i = 0; i < count; ++i)
        thread->windows[i]->SetBlocked(i + 1 < count || thread->shortWaits > 0);
}

int RunThreadModal(QDialog& dialog)
{
    scheduler::ProgramThread* thread = scheduler::Running();
    if (!thread) {
        scheduler::Fault("a dialog was shown outside every program thread");
        return QDialog::Rejected;
    }
    const ThreadNumber number = thread->number;
    bool finished = false;
    int result = QDialog::Rejected;
    const QMetaObject::Connection connection =
        QObject::connect(&dialog, &QDialog::finished, &dialog, [&finished, &result, number](int answer) {
            finished = true;
            result = answer;
            WakeThread(number);
        });
    ++thread->shortWaits;
    ApplyThreadBlocking(number);
    const auto restore = qScopeGuard([&] {
        QObject::disconnect(connection);
        --thread->shortWaits;
        ApplyThreadBlocking(number);
    });
    PlaceOver(&dialog, TopWidget(*thread));
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    WaitUntil([&finished] { return finished; }, WaitKind::Dialog);
    dialog.hide();
    return result;
}

quint64 TopWindowId(ThreadNumber number)
{
    scheduler::ProgramThread* thread = scheduler::Find(number);
    return thread && !thread->windows.empty() ? thread->windows.back()->d->id : 0;
}

bool WaitsForInput(ThreadNumber number)
{
    scheduler::ProgramThread* thread = scheduler::Find(number);
    if (!thread || thread->windows.empty() || thread->shortWaits > 0)
        return false;
    ProgramWindow* top = thread->windows.back();
    return thread->eventWaiter == top && top->d->queue.empty();
}

bool PostEvent(int event, int control, ThreadNumber thread)
{
    return PostEvent(FrameworkEvent{event, control}, thread);
}

bool PostEvent(const FrameworkEvent& event, ThreadNumber number)
{
    scheduler::ProgramThread* thread = scheduler::Find(number);
    if (!thread)
        return false;
    if (thread->windows.empty())
        scheduler::Enqueue(thread->pending, event);
    else
        thread->windows.back()->Post(event);
    return true;
}

} // namespace jornix
