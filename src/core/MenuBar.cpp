#include "core/MenuBar.h"

#include "core/LayoutMenuBar.h"
#include "core/MenuBarPane.h"
#include "core/MenuBarState.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "platform/framework/WindowController.h"
#include "platform/framework/WindowDescription.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QAction>
#include <QDockWidget>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace jornix {
namespace {

using namespace MenuBarControl;
constexpr int Groups = MenuBarStateRecord::Groups;
// A layout skipped by the throttle is made up for once the burst is over, so the last Size is never lost.
constexpr int DeferredLayout = MenuBarThrottle + 1;

struct GroupDescription
{
    QString caption;
    void (*pane)();
};
const std::array<GroupDescription, Groups + 1> GroupDescriptions{{{},
                                                                  {"Log Events", JornixTAB},
                                                                  {"Reminder", ReminderTAB},
                                                                  {"Tasks", TasksTAB},
                                                                  {"Sticky Notes", StickyNotesTAB},
                                                                  {"Contacts", ContactsTAB},
                                                                  {"Scrap Book", ScrapBookTAB},
                                                                  {"Design Reports", ReportsTAB},
                                                                  {"Setup", SetupTAB}}};

QString NameOf(int group)
{
    return QString(GroupDescriptions[std::size_t(group)].caption).remove(QLatin1Char(' '));
}

// The item (group and place from 1) whose button the control is; {0, 0} for any other control.
std::pair<int, int> ItemOf(int control)
{
    for (int g = 1; g <= Groups; ++g)
        for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(g)]; ++j)
            if (ItemButton(g, j) == control)
                return {g, j};
    return {0, 0};
}

int GroupOfHeader(int control)
{
    for (int g = 1; g <= Groups; ++g)
        if (Header(g) == control)
            return g;
    return 0;
}

// The window the start-up view opens, with the area the user needs access to and the group it expands.
struct StartupView
{
    int area;
    int group;
    const char* procedure;
};

StartupView StartupViewOf(int setting)
{
    switch (setting) {
    case 2:
        return {AccessArea::LogEvents, 1, "AllView"};
    case 3:
        return {AccessArea::Reminders, 2, "Reminder"};
    case 4:
        return {AccessArea::Tasks, 3, "Tasks"};
    case 5:
        return {AccessArea::StickyNotes, 4, "StickyNotes"};
    case 6:
        return {AccessArea::Contacts, 5, "Contacts"};
    default:
        return {AccessArea::LogEvents, 1, "DateView"};
    }
}

class MenuBarWindow;
MenuBarWindow* RunningBar = nullptr;

class MenuBarWindow
{
public:
    MenuBarWindow();
    ~MenuBarWindow();
    MenuBarWindow(const MenuBarWindow&) = delete;
    MenuBarWindow& operator=(const MenuBarWindow&) = delete;

    void Run();
    QWidget* Control(int control) const
    {
        if (!dock_)
            return nullptr;
        return control == Window ? dock_.data() : controls_[std::size_t(control)];
    }

private:
    template <class Widget> Widget* Add(int control, Widget* widget, const QString& name);
    void Measure();
    void LayOut();
    void Apply(const MenuBarLayout& layout);
    void CopyLooks(int group, int item);
    void FitLabels(int group);
    void TakeWindowEvent(const FrameworkEvent& event, bool& closing);
    void TakeControlEvent(const FrameworkEvent& event);
    void AskToClose();
    void Scroll(int step);
    void PressHeader(int group);
    void RelayItem(int group, int item);
    void Drag(int x);
    void OpenStartupView();
    QMainWindow* Frame() const;
    int FrameHeight() const;
    int FrameWidth() const;

    // The frame deletes the docked window with itself, should it close before the bar has ended.
    QPointer<QDockWidget> dock_;
    QWidget* content_ = nullptr;
    std::array<QWidget*, Count> controls_{};
    std::unique_ptr<ProgramWindow> program_;
    int dragStart_ = 0;
    bool deferred_ = false;
};

template <class Widget> Widget* MenuBarWindow::Add(int control, Widget* widget, const QString& name)
{
    widget->setParent(content_);
    widget->setObjectName(name);
    widget->hide();
    controls_[std::size_t(control)] = widget;
    return widget;
}

MenuBarWindow::MenuBarWindow()
{
    // A docked window without caption; the controls sit at the places the layout gives them.
    dock_ = new QDockWidget;
    dock_->setObjectName(QStringLiteral("MenuBar"));
    dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* noCaption = new QWidget; // an empty layout: 0 pixels high
    (new QHBoxLayout(noCaption))->setContentsMargins(0, 0, 0, 0);
    dock_->setTitleBarWidget(noCaption);
    dock_->toggleViewAction()->setVisible(false); // shown and hidden through the View menu only
    content_ = new QWidget;
    dock_->setWidget(content_);
    dock_->hide();
    if (QMainWindow* frame = Frame())
        frame->addDockWidget(Qt::LeftDockWidgetArea, dock_);

    auto* outer = Add(OuterPanel, new QFrame, QStringLiteral("OuterPanel"));
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* inner = Add(InnerPanel, new QFrame, QStringLiteral("InnerPanel"));
    inner->setAutoFillBackground(true);
    auto* close = Add(CloseButton, new QToolButton, QStringLiteral("CloseButton"));
    close->setText(QStringLiteral("X"));
    close->setAutoRaise(true);
    Add(BackgroundPicture, new QLabel, QStringLiteral("BackgroundPicture"))
        ->setAttribute(Qt::WA_TransparentForMouseEvents);
    Add(SplitBar, new QWidget, QStringLiteral("SplitBar"))->setCursor(Qt::SizeHorCursor);

    for (int g = 1; g <= Groups; ++g) {
        auto* header = Add(Header(g), new QPushButton(GroupDescriptions[std::size_t(g)].caption),
                           NameOf(g) + QStringLiteral("Header"));
        header->setFlat(true);
        auto* image = Add(HeaderImage(g), new QLabel, NameOf(g) + QStringLiteral("HeaderImage"));
        image->setStyleSheet(
            QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfd, "
                           "stop:1 #c4c8d0); border: 1px solid #6c7078;"));
        image->stackUnder(header);
        for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(g)]; ++j) {
            auto* item = Add(ItemButton(g, j), new QToolButton, NameOf(g) + QStringLiteral("Item%1").arg(j));
            item->setAutoRaise(true);
            // Hovered and pressed items tint the bar's colour, so that the label under the icon stays
            // readable.
            item->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                               "QToolButton:hover { background: rgba(255, 255, 255, 48); }"
                                               "QToolButton:pressed { background: rgba(0, 0, 0, 48); }"));
            auto* label = Add(ItemLabel(g, j), new QLabel, NameOf(g) + QStringLiteral("Label%1").arg(j));
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setAttribute(Qt::WA_TransparentForMouseEvents); // a press on the label presses the item
        }
    }
    auto* up = Add(UpArrow, new QToolButton, QStringLiteral("UpArrow"));
    up->setArrowType(Qt::UpArrow);
    up->setAutoRaise(true);
    auto* down = Add(DownArrow, new QToolButton, QStringLiteral("DownArrow"));
    down->setArrowType(Qt::DownArrow);
    down->setAutoRaise(true);
    close->raise();
    controls_[SplitBar]->raise();
    RunningBar = this;
}

MenuBarWindow::~MenuBarWindow()
{
    RunningBar = nullptr;
    program_.reset();
    delete dock_.data();
}

QMainWindow* MenuBarWindow::Frame() const
{
    return ProgramFrame ? qobject_cast<QMainWindow*>(ProgramFrame->Root()) : nullptr;
}

// The frame's height under its menus and toolbar, where the bar is docked.
int MenuBarWindow::FrameHeight() const
{
    const QMainWindow* frame = Frame();
    if (!frame)
        return dock_->height();
    const QWidget* central = frame->centralWidget();
    return frame->height() - (central ? central->y() : 0);
}

int MenuBarWindow::FrameWidth() const
{
    const QMainWindow* frame = Frame();
    return frame ? frame->width() : dock_->width();
}

// Pixels per dialog unit, from the bar's font: a dialog unit is a quarter of the average character width
// and an eighth of the character height.
void MenuBarWindow::Measure()
{
    const QFontMetricsF metrics(dock_->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    MenuBarState.ScaleX = metrics.horizontalAdvance(alphabet) / alphabet.size() / 4;
    MenuBarState.ScaleY = metrics.height() / 8;
    MenuBarState.Reserve = qint16(20 * MenuBarState.ScaleY);

    QFont small = controls_[CloseButton]->font();
    small.setPixelSize(std::max(6, int(7 * MenuBarState.ScaleY)));
    controls_[CloseButton]->setFont(small);
    const int iconSize = int(14 * MenuBarState.ScaleY);
    for (int g = 1; g <= Groups; ++g)
        for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(g)]; ++j)
            static_cast<QToolButton*>(controls_[std::size_t(ItemButton(g, j))])
                ->setIconSize({iconSize, iconSize});
}

void MenuBarWindow::Run()
{
    program_ = std::make_unique<ProgramWindow>(content_);
    for (int control = CloseButton; control < Count; ++control)
        if (auto* button = qobject_cast<QAbstractButton*>(controls_[std::size_t(control)]))
            program_->PostOn(button, &QAbstractButton::clicked, Event::Accepted, control);
    program_->PostMouseEvents(controls_[SplitBar], SplitBar);

    MenuBarStateRecord& state = MenuBarState;
    state = MenuBarStateRecord{};
    state.BarWidth = GLO.JornixMenuBarWidth;
    state.BackColor = GLO.JornixMenuBarBGColor;
    state.TextColor = GLO.JornixMenuBarTextColor;
    Measure();
    state.BarOpened = 1;
    if (!GLO.ShowJornixMenuBar) {
        state.SavedWidth = state.BarWidth;
        state.BarWidth = MenuBarStateRecord::HiddenWidth;
        LayOut();
    }

    bool closing = false;
    while (!closing) {
        const FrameworkEvent event = program_->WaitEvent();
        if (event.control == Window)
            TakeWindowEvent(event, closing);
        else if (dock_)
            TakeControlEvent(event);
    }
    state.BarOpened = 0;
    if (dock_)
        dock_->hide();
}

void MenuBarWindow::TakeWindowEvent(const FrameworkEvent& event, bool& closing)
{
    MenuBarStateRecord& state = MenuBarState;
    switch (event.event) {
    case Event::CloseWindow: {
        // The width is kept singly, at the end; a hidden bar keeps the smallest width.
        GLO.JornixMenuBarWidth = std::max(state.BarWidth, MenuBarStateRecord::MinimumWidth);
        INIMgr.WriteValue(PreservedSection, QStringLiteral("GLO:JornixMenuBarWidth"), GLO.JornixMenuBarWidth);
        closing = true;
        break;
    }
    case Event::OpenWindow:
        LayOut();
        state.BarOpened = 1;
        OpenStartupView();
        break;
    case Event::Size:
        LayOut();
        break;
    case Event::Timer:
        deferred_ = false;
        program_->SetTimer(0);
        state.ForceLayout = 1;
        LayOut();
        break;
    default:
        break;
    }
}

void MenuBarWindow::TakeControlEvent(const FrameworkEvent& event)
{
    if (event.control == SplitBar) {
        if (!MenuBarState.DragAllowed)
            return;
        if (event.event == Event::MouseDown)
            dragStart_ = event.x;
        else if (event.event == Event::MouseUp)
            dragStart_ = 0;
        else if (event.event == Event::MouseMove && dragStart_ != 0)
            Drag(event.x);
        return;
    }
    if (event.event != Event::Accepted)
        return;
    if (event.control == CloseButton)
        AskToClose();
    else if (event.control == UpArrow)
        Scroll(-1);
    else if (event.control == DownArrow)
        Scroll(1);
    else if (const int group = GroupOfHeader(event.control))
        PressHeader(group);
    else if (const auto [group, item] = ItemOf(event.control); group)
        RelayItem(group, item);
}

void MenuBarWindow::AskToClose()
{
    if (ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Question,
            QStringLiteral("Close the Jornix Menu Bar?"),
            QStringLiteral("You are about to close the Jornix Menu Bar To activate it again, select View "
                           "--> Jornix Menu Bar. Close the Jornix Menu Bar?"),
            MessageButton::Yes) != MessageButton::Yes)
        return;
    MenuBarState.SavedWidth = MenuBarState.BarWidth;
    MenuBarState.BarWidth = MenuBarStateRecord::HiddenWidth;
    LayOut();
}

void MenuBarWindow::Scroll(int step)
{
    const auto group = std::size_t(MenuBarState.CurrentGroup);
    if (group == 0)
        return;
    const int first = MenuBarState.FirstVisible[group] + step;
    MenuBarState.FirstVisible[group] = quint8(std::clamp(first, 1, int(MenuBarState.ItemCount[group])));
    LayOut();
}

// The group's pane starts (a running one comes forward). After an earlier press the group's first item is
// pressed too; a press posted by the frame or the start-up view, which clear FirstPressDone, is not.
void MenuBarWindow::PressHeader(int group)
{
    MenuBarStateRecord& state = MenuBarState;
    state.GroupChanging = 1;
    state.CurrentGroup = quint8(group);
    StartProcedureThread(GroupDescriptions[std::size_t(group)].pane);
    if (state.FirstPressDone)
        program_->Post(Event::Accepted, ItemButton(group, 1));
    state.FirstPressDone = 1;
}

// The item's press goes to the pane button it mirrors, on the pane's thread. While the pane's thread has a
// window or message box open above the pane (the migration), the press would reach that window instead: it
// is dropped.
void MenuBarWindow::RelayItem(int group, int item)
{
    const ThreadNumber pane = MenuBarState.PaneThread[std::size_t(group)];
    const WindowController* window = MenuBarState.PaneWindow[std::size_t(group)];
    if (!pane || (window && window->Program() && window->Program()->IsBlocked()))
        return;
    PostEvent(Event::Accepted, MenuBarState.PaneButton[std::size_t(group)][std::size_t(item)], pane);
}

// The split bar follows the mouse, within the bar's left 20 pixels and the frame's width.
void MenuBarWindow::Drag(int x)
{
    const int newX = x > 20 && x < FrameWidth() ? x : dragStart_;
    const int delta = newX - dragStart_;
    dragStart_ = newX;
    QWidget* splitBar = controls_[SplitBar];
    if (controls_[OuterPanel]->width() + delta < 1 || delta == 0)
        return;
    splitBar->move(splitBar->x() + delta, splitBar->y());
    MenuBarState.BarWidth = splitBar->x();
    MenuBarState.ForceLayout = 1;
    LayOut();
}

void MenuBarWindow::OpenStartupView()
{
    const StartupView view = StartupViewOf(GLO.StartupView);
    if (CurrentUserAccess[std::size_t(view.area)] == 0)
        return;
    program_->Post(Event::Accepted, Header(view.group));
    StartProcedure(QString::fromLatin1(view.procedure));
}

void MenuBarWindow::LayOut()
{
    if (!dock_)
        return;
    const MenuBarLayout layout = LayoutMenuBar(MenuBarState, FrameHeight(), Clock());
    StoreLayoutState(layout, MenuBarState);
    if (layout.throttled) {
        if (!deferred_) {
            deferred_ = true;
            program_->SetTimer(DeferredLayout);
        }
        return;
    }
    if (deferred_) {
        deferred_ = false;
        program_->SetTimer(0);
    }
    if (layout.placed)
        Apply(layout);
}

void MenuBarWindow::Apply(const MenuBarLayout& layout)
{
    const QRect window = layout.controls[Window].rect;
    if (window.width() <= 0) {
        dock_->hide();
        return;
    }
    content_->setFixedWidth(window.width());
    for (int control = 1; control < Count; ++control) {
        QWidget* widget = controls_[std::size_t(control)];
        const MenuBarPlace& place = layout.controls[std::size_t(control)];
        if (!widget)
            continue;
        if (place.visible)
            widget->setGeometry(place.rect);
        widget->setVisible(place.visible);
    }
    QPalette fill = controls_[InnerPanel]->palette();
    fill.setColor(QPalette::Window, QColorFromColour(quint32(MenuBarState.BackColor)));
    controls_[InnerPanel]->setPalette(fill);
    if (const int g = layout.group) {
        for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(g)]; ++j)
            if (layout.controls[std::size_t(ItemButton(g, j))].visible)
                CopyLooks(g, j);
        FitLabels(g);
    }
    dock_->show();
}

// The labels of the shown items share one font: the bar's, or a smaller one when the bar is too narrow for
// the widest label to show whole under its icon ("Migrate from 1.0" in a bar of 100 pixels).
void MenuBarWindow::FitLabels(int group)
{
    std::vector<QLabel*> labels;
    for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(group)]; ++j) {
        auto* label = static_cast<QLabel*>(controls_[std::size_t(ItemLabel(group, j))]);
        if (!label->isHidden() && !label->text().isEmpty())
            labels.push_back(label);
    }
    const auto fits = [&labels](const QFont& font) {
        const QFontMetrics metrics(font);
        return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel* label) {
            return metrics.horizontalAdvance(label->text()) + 2 * label->margin() <= label->width();
        });
    };
    QFont font = dock_->font();
    constexpr int SmallestPixels = 6; // as the close button's
    for (int pixels = QFontInfo(font).pixelSize() - 1; !fits(font) && pixels >= SmallestPixels; --pixels)
        font.setPixelSize(pixels);
    const bool own = font != dock_->font();
    for (QLabel* label : labels) {
        if (!own && label->testAttribute(Qt::WA_SetFont))
            label->setFont(QFont()); // back to the bar's own font
        else if (own && label->font() != font)
            label->setFont(font);
    }
}

// A shown item takes the looks of the pane button it mirrors; while the pane has not registered yet it keeps
// the looks it has.
void MenuBarWindow::CopyLooks(int group, int item)
{
    auto* button = static_cast<QToolButton*>(controls_[std::size_t(ItemButton(group, item))]);
    auto* label = static_cast<QLabel*>(controls_[std::size_t(ItemLabel(group, item))]);
    const auto g = std::size_t(group);
    bool enabled = button->isEnabled();
    const WindowController* pane = MenuBarState.PaneWindow[g];
    const auto* source = MenuBarState.PaneThread[g] && pane
                             ? qobject_cast<const QAbstractButton*>(
                                   pane->window.Widget(MenuBarState.PaneButton[g][std::size_t(item)]))
                             : nullptr;
    if (source) {
        // The icon file is looked up and read only when the mirrored image changes, not at every layout.
        const QString image = QLatin1Char('~') + source->property("image").toString();
        if (button->property("image").toString() != image) {
            button->setProperty("image", image);
            button->setIcon(QIcon(WindowDescription::ImagePath(image)));
        }
        button->setToolTip(source->toolTip());
        if (source->testAttribute(Qt::WA_SetCursor))
            button->setCursor(source->cursor());
        else
            button->unsetCursor();
        QPalette text = label->palette();
        const QColor colour = QColorFromColour(quint32(MenuBarState.TextColor));
        text.setColor(QPalette::Active, QPalette::WindowText, colour);
        text.setColor(QPalette::Inactive, QPalette::WindowText, colour);
        label->setPalette(text);
        label->setText(source->text());
        enabled = source->isEnabled();
    }
    button->setEnabled(enabled);
    label->setEnabled(enabled);
}

} // namespace

void MenuBar()
{
    MenuBarWindow bar;
    bar.Run();
}

QWidget* MenuBarControlWidget(int control)
{
    if (!RunningBar || control < 0 || control >= Count)
        return nullptr;
    return RunningBar->Control(control);
}

} // namespace jornix
