#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QBoxLayout>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <map>

// What a user sees as unfinished in a window of the program, measured on its widgets.
namespace jornix::test {

inline QString WidgetName(const QWidget* widget)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
}

// Controls cut off by the control they stand in, and texts, buttons, entries and tab bars squeezed below the
// size they need. The rows of lists are laid out by their lists and not looked at.
inline QStringList CutOrSqueezed(QWidget* window)
{
    QStringList flaws;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->isWindow())
            continue;
        bool inList = false;
        for (QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(up))
                inList = true;
        if (inList)
            continue;
        const QWidget* parent = widget->parentWidget();
        // A dock's empty title widget has no room of its own to be cut from.
        if (!parent->rect().contains(widget->geometry()) && widget->width() > 0 && widget->height() > 0)
            flaws << WidgetName(widget) + QStringLiteral(" is cut off");
        const bool measured = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                              qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget);
        QSize needed;
        if (measured)
            needed = widget->minimumSizeHint();
        // A push button needs the room of its text and icon, not the style's least width of a button.
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QString text = button->text();
            text.remove(QLatin1Char('&'));
            const int content = button->fontMetrics().horizontalAdvance(text) +
                                (button->icon().isNull() ? 0 : button->iconSize().width() + 4) + 12;
            needed.setWidth(std::min(needed.width(), content));
        }
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
            needed.setHeight(label->heightForWidth(label->width()));
        // A tab bar narrower than its tabs scrolls them: some tabs cannot be seen.
        if (auto* bar = qobject_cast<QTabBar*>(widget))
            needed = bar->sizeHint();
        // A group's title stands in the line of its frame, inside the frame's rounded corners.
        if (auto* group = qobject_cast<QGroupBox*>(widget); group && !group->title().isEmpty()) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect title =
                group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            QString text = group->title(); // without the mnemonic's marker
            text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
            text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
            const int textWidth = group->fontMetrics().horizontalAdvance(text);
            if (title.right() > group->width() - 6 || title.width() < textWidth)
                flaws << WidgetName(widget) + QStringLiteral(" has its title \"%1\" cut: %2 wide for %3")
                                                  .arg(group->title())
                                                  .arg(group->width())
                                                  .arg(title.left() + textWidth + 6);
        }
        if (needed.isValid() && (widget->width() < needed.width() || widget->height() < needed.height()))
            flaws << WidgetName(widget) + QStringLiteral(" is squeezed: %1x%2 for %3x%4")
                                              .arg(widget->width())
                                              .arg(widget->height())
                                              .arg(needed.width())
                                              .arg(needed.height());
    }
    return flaws;
}

// The form column a prompt stands in: its window, a tab's page, or the first place of a row that holds other
// controls beside it (a prompt or group in the middle of a row starts a column of its own).
inline const QWidget* FormColumnOf(const QWidget* prompt, const QWidget* window)
{
    for (const QWidget* up = prompt; up && up != window; up = up->parentWidget()) {
        const QWidget* parent = up->parentWidget();
        if (qobject_cast<const QStackedWidget*>(parent))
            return up; // a tab's page
        if (auto* row = parent ? qobject_cast<const QHBoxLayout*>(parent->layout()) : nullptr) {
            for (int i = 0; i < row->count(); ++i) {
                const QWidget* first = row->itemAt(i)->widget();
                if (!first || first->isHidden())
                    continue;
                if (first != up)
                    return up;
                break;
            }
        }
    }
    return window;
}

// Entries of one form column whose left edges differ: each prompt that stands at the left of its entry
// (its buddy) gives the entry's left edge, in the window's coordinates.
inline QStringList UnalignedEntries(QWidget* window)
{
    std::map<const QWidget*, std::map<int, QStringList>> edges; // column -> left edge -> entries
    for (const QLabel* prompt : window->findChildren<QLabel*>()) {
        const QWidget* entry = prompt->buddy();
        if (!entry || !prompt->isVisibleTo(window) || !entry->isVisibleTo(window))
            continue;
        const QPoint promptAt = prompt->mapTo(window, QPoint(0, 0));
        const QPoint entryAt = entry->mapTo(window, QPoint(0, 0));
        const bool sideBySide = entryAt.x() >= promptAt.x() + prompt->width() &&
                                entryAt.y() < promptAt.y() + prompt->height() &&
                                promptAt.y() < entryAt.y() + entry->height();
        if (!sideBySide)
            continue;
        edges[FormColumnOf(prompt, window)][entryAt.x()]
            << QStringLiteral("%1 at %2").arg(prompt->text(), QString::number(entryAt.x()));
    }
    QStringList flaws;
    for (const auto& [column, lefts] : edges)
        if (lefts.size() > 1) {
            QStringList entries;
            for (const auto& [left, names] : lefts)
                entries << names;
            flaws << WidgetName(column) + QStringLiteral(": ") + entries.join(QStringLiteral(", "));
        }
    return flaws;
}

} // namespace jornix::test
