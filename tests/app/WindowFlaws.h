#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
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

// A control by its class and name; one without a name is told by the first named control it lies in.
inline QString WidgetName(const QWidget* widget, const QWidget* window = nullptr)
{
    QString text = QStringLiteral("%1 \"%2\"")
                       .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
    const QWidget* up = widget->parentWidget();
    while (widget->objectName().isEmpty() && up && up != window && up->objectName().isEmpty())
        up = up->parentWidget();
    if (widget->objectName().isEmpty() && up && up != window)
        text += QStringLiteral(" in \"%1\"").arg(up->objectName());
    return text;
}

// The width a push button needs to show its text and icon whole. Its size hint asks for more: the style
// gives every button with a text at least 80 pixels, which a day of a calendar or a "..." does not need.
inline int ContentWidth(const QPushButton& button)
{
    const QStyle* style = button.style();
    int width = button.fontMetrics().horizontalAdvance(QString(button.text()).remove(QLatin1Char('&')));
    if (!button.icon().isNull())
        width += button.iconSize().width() + (button.text().isEmpty() ? 0 : 4);
    return width + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
}

// Whether a control lies in a list, in a window of the frame or in the side menu bar, below the window looked at.
inline bool LaidOutByItsOwner(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up) || up->objectName() == QLatin1String("MenuBar"))
            return true;
    return false;
}

// Controls cut off by the control they stand in, and texts, buttons, entries and tab bars squeezed below the
// size they need, and group titles cut by their frame. The rows of a list and the windows in the frame are laid
// out by their owner, and the side menu bar places its controls by its own measures: those are looked at only
// when the window given is the side menu bar itself.
inline QStringList CutOrSqueezed(QWidget* window)
{
    QStringList flaws;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->isWindow())
            continue;
        if (LaidOutByItsOwner(widget, window))
            continue;
        QWidget* parent = widget->parentWidget();
        // A pane's empty title bar stands in for the title it does not show.
        if (auto* dock = qobject_cast<QDockWidget*>(parent); dock && dock->titleBarWidget() == widget)
            continue;
        if (!parent->rect().contains(widget->geometry()))
            flaws << WidgetName(widget, window) + QStringLiteral(" is cut off: %1,%2 %3x%4 in %5x%6")
                                                      .arg(widget->x())
                                                      .arg(widget->y())
                                                      .arg(widget->width())
                                                      .arg(widget->height())
                                                      .arg(parent->width())
                                                      .arg(parent->height());
        // The entry inside a spin box or a combo box is measured by the box that holds it.
        const bool inBox = qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent);
        const bool measured = !inBox && (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                                         qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget));
        QSize needed;
        if (measured)
            needed = widget->minimumSizeHint();
        if (auto* button = qobject_cast<QPushButton*>(widget); button && measured)
            needed.setWidth(ContentWidth(*button));
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap() && measured)
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
                flaws << WidgetName(widget, window) + QStringLiteral(" has its title \"%1\" cut: %2 wide for %3")
                                                          .arg(group->title())
                                                          .arg(group->width())
                                                          .arg(title.left() + textWidth + 6);
        }
        if (needed.isValid() && (widget->width() < needed.width() || widget->height() < needed.height()))
            flaws << WidgetName(widget, window) + QStringLiteral(" is squeezed: %1x%2 for %3x%4")
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
