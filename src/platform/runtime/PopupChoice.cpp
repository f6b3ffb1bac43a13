#include "platform/runtime/PopupChoice.h"

#include "platform/runtime/ProgramThreads.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <memory>

namespace jornix {

namespace {

PopupSink sink;

} // namespace

std::vector<PopupEntry> ParsePopupText(const QString& text)
{
    std::vector<PopupEntry> entries;
    int depth = 0;
    int number = 0;
    QString item;
    // An item ends at "|", at "{" (it is a submenu's title) or at "}" (it is a submenu's last).
    auto flush = [&](bool submenu) {
        item = item.trimmed();
        if (item == QLatin1String("-") && !submenu) {
            entries.push_back({0, depth, {}, true});
        } else if (!item.isEmpty()) {
            PopupEntry entry;
            entry.depth = depth;
            for (bool prefix = true; prefix && !item.isEmpty();) {
                switch (item.at(0).unicode()) {
                case '~':
                    entry.enabled = false;
                    break;
                case '+':
                    entry.checkable = entry.checked = true;
                    break;
                case '-':
                    entry.checkable = true;
                    entry.checked = false;
                    break;
                default:
                    prefix = false;
                    continue;
                }
                item.remove(0, 1);
            }
            entry.submenu = submenu;
            entry.number = submenu ? 0 : ++number;
            entry.text = item;
            entries.push_back(entry);
        }
        item.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('|')) {
            flush(false);
        } else if (c == QLatin1Char('{')) {
            flush(true);
            ++depth;
        } else if (c == QLatin1Char('}')) {
            flush(false);
            depth = qMax(0, depth - 1);
        } else {
            item += c;
        }
    }
    flush(false);
    return entries;
}

void FillPopupMenu(QMenu& menu, const std::vector<PopupEntry>& entries)
{
    std::vector<QMenu*> menus{&menu};
    for (const PopupEntry& entry : entries) {
        while (int(menus.size()) > entry.depth + 1)
            menus.pop_back();
        QMenu* into = menus.back();
        if (entry.separator) {
            into->addSeparator();
        } else if (entry.submenu) {
            QMenu* sub = into->addMenu(entry.text);
            sub->setEnabled(entry.enabled);
            menus.push_back(sub);
        } else {
            QAction* action = into->addAction(entry.text);
            action->setData(entry.number);
            action->setEnabled(entry.enabled);
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
        }
    }
}

int ShowPopup(const QString& text, const QPoint& screenPosition)
{
    const std::vector<PopupEntry> entries = ParsePopupText(text);
    if (sink)
        return sink(entries);
    const ThreadNumber thread = CurrentThread();
    QMenu menu;
    FillPopupMenu(menu, entries);
    int chosen = 0;
    // Shared with the queued call, which may run after this thread has gone (unwound at the program's end).
    const auto closed = std::make_shared<bool>(false);
    QObject::connect(&menu, &QMenu::triggered, &menu,
                     [&chosen](QAction* action) { chosen = action->data().toInt(); });
    // The menu hides before it tells which item was chosen: the wait ends on the next turn of the loop.
    QObject::connect(&menu, &QMenu::aboutToHide, &menu, [closed, thread] {
        QTimer::singleShot(0, [closed, thread] {
            *closed = true;
            WakeThread(thread);
        });
    });
    menu.popup(screenPosition);
    WaitUntil([closed] { return *closed; }, WaitKind::Dialog);
    return chosen;
}

void SetPopupSink(PopupSink newSink)
{
    sink = std::move(newSink);
}

} // namespace jornix
