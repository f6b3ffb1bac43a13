#pragma once

#include <QMenu>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

// The popup menu of a list: opened by the right mouse button over the list (without waiting for a choice);
// each item presses a button of the window, as if the user had pressed it.
namespace jornix {

class PopupMenu
{
public:
    struct Item
    {
        QString text;
        int control = 0;
    };
    // Pressing a control: the owner posts Accepted for it to the window's thread.
    using Press = std::function<void(int control)>;

    PopupMenu() = default;
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Shows the menu over the widget's context-menu requests.
    void Init(QWidget* widget, Press press);
    void Kill();

    void AddControlItem(const QString& text, int control);
    const std::vector<Item>& Items() const { return items_; }
    bool HasItem(const QString& text) const;

    // Opens the menu at a point of the widget; returns at once.
    void Open(const QPoint& at);
    QMenu* Menu() const { return menu_; }

private:
    QWidget* widget_ = nullptr;
    QPointer<QMenu> menu_; // owned by the widget
    Press press_;
    std::vector<Item> items_;
};

} // namespace jornix
