#include "platform/framework/PopupMenu.h"

#include <QWidget>

#include <algorithm>

namespace jornix {

PopupMenu::~PopupMenu()
{
    Kill();
}

void PopupMenu::Init(QWidget* widget, Press press)
{
    Kill();
    widget_ = widget;
    press_ = std::move(press);
    menu_ = new QMenu(widget);
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu_,
                     [this](const QPoint& at) { Open(at); });
}

void PopupMenu::Kill()
{
    delete menu_.data();
    menu_ = nullptr;
    widget_ = nullptr;
    items_.clear();
}

void PopupMenu::AddControlItem(const QString& text, int control)
{
    items_.push_back({text, control});
    if (!menu_)
        return;
    QAction* action = menu_->addAction(text);
    QObject::connect(action, &QAction::triggered, menu_, [this, control] {
        if (press_)
            press_(control);
    });
}

bool PopupMenu::HasItem(const QString& text) const
{
    return std::any_of(items_.begin(), items_.end(), [&](const Item& item) { return item.text == text; });
}

void PopupMenu::Open(const QPoint& at)
{
    if (menu_ && widget_ && !items_.empty())
        menu_->popup(widget_->mapToGlobal(at));
}

} // namespace jornix
