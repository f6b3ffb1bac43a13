// The menus, menu items, toolbar and toolbar buttons of a description.

#include "platform/framework/WindowDescriptionParts.h"
#include "platform/runtime/FrameworkEvents.h"

#include <QBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace jornix {

Control& Control::StatusText(const QString& text)
{
    if (QAction* action = window_->Action(number_))
        action->setStatusTip(text);
    return *this;
}

// Menus and toolbar -----------------------------------------------------------------------------------------

void WindowDescription::AddAction(Record& record, QAction* action)
{
    record.action = action;
    const int number = record.number;
    QObject::connect(action, &QAction::triggered, action, [this, number] { Post(Event::Accepted, number); });
    const QString name = NameFromText(action->text());
    action->setObjectName(UniqueName(name.isEmpty() ? QStringLiteral("Item") : name));
}

Control WindowDescription::Menu(const QString& text, const std::function<void()>& body)
{
    QMenu* menu = nullptr;
    if (!menus_.empty()) {
        auto* outer = qobject_cast<QMenu*>(menus_.back());
        menu = outer->addMenu(text);
    } else {
        if (!menuBar_) {
            if (frame_) {
                menuBar_ = frame_->menuBar();
            } else {
                menuBar_ = new QMenuBar(content_);
                if (auto* layout = qobject_cast<QBoxLayout*>(content_->layout()))
                    layout->setMenuBar(menuBar_);
            }
        }
        menu = menuBar_->addMenu(text);
    }
    Record& record = Add(ControlKind::Menu, nullptr, Placement::None);
    record.action = menu->menuAction();
    record.action->setObjectName(UniqueName(NameFromText(text)));
    menus_.push_back(menu);
    body();
    menus_.pop_back();
    return Control(*this, record.number);
}

Control WindowDescription::Item(const QString& text)
{
    auto* menu = qobject_cast<QMenu*>(menus_.empty() ? nullptr : menus_.back());
    Q_ASSERT_X(menu, "WindowDescription::Item", "an item stands in a menu");
    QAction* action = menu->addAction(text);
    Record& record = Add(ControlKind::Item, nullptr, Placement::None);
    AddAction(record, action);
    return Control(*this, record.number);
}

Control WindowDescription::Toolbar(const std::function<void()>& body)
{
    auto* toolbar = new QToolBar;
    toolbar->setMovable(false);
    if (frame_) {
        frame_->addToolBar(toolbar);
    } else if (auto* layout = qobject_cast<QBoxLayout*>(content_->layout())) {
        layout->insertWidget(0, toolbar);
    }
    Record& record = Add(ControlKind::Toolbar, toolbar, Placement::None);
    toolbar->setObjectName(UniqueName(QStringLiteral("Toolbar")));
    menus_.push_back(toolbar);
    body();
    menus_.pop_back();
    return Control(*this, record.number);
}

Control WindowDescription::Tool(const QString& tip, const QString& image)
{
    auto* toolbar = qobject_cast<QToolBar*>(menus_.empty() ? nullptr : menus_.back());
    Q_ASSERT_X(toolbar, "WindowDescription::Tool", "a tool stands in the toolbar");
    QAction* action = toolbar->addAction(QIcon(ImagePath(image)), tip);
    action->setToolTip(tip);
    Record& record = Add(ControlKind::Tool, nullptr, Placement::None);
    AddAction(record, action);
    return Control(*this, record.number);
}

Control WindowDescription::Separator()
{
    QAction* action = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(menus_.empty() ? nullptr : menus_.back()))
        action = menu->addSeparator();
    else if (auto* toolbar = qobject_cast<QToolBar*>(menus_.empty() ? nullptr : menus_.back()))
        action = toolbar->addSeparator();
    Q_ASSERT_X(action, "WindowDescription::Separator", "a separator stands in a menu or the toolbar");
    Record& record = Add(ControlKind::Separator, nullptr, Placement::None);
    record.action = action;
    return Control(*this, record.number);
}

} // namespace jornix
