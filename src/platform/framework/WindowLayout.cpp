// Where a description places its controls: the rows of columns, groups and tabs, rows and button rows.

#include "platform/framework/WindowDescriptionParts.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace jornix {

// Layout ----------------------------------------------------------------------------------------------------

Control& Control::Stretch(int factor)
{
    QWidget* widget = Widget();
    if (!widget || !widget->parentWidget() || !widget->parentWidget()->layout())
        return *this;
    QLayout* layout = widget->parentWidget()->layout();
    // The window's own controls stand in a grid inside its outer box.
    if (layout->indexOf(widget) < 0)
        if (auto* grid = layout->findChild<QGridLayout*>(QString(), Qt::FindDirectChildrenOnly))
            layout = grid;
    if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        box->setStretchFactor(widget, factor);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const int index = grid->indexOf(widget);
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        if (index >= 0) {
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            grid->setRowStretch(row, factor);
        }
    }
    return *this;
}

void WindowDescription::Place(QWidget* widget, bool field, int stretch)
{
    Container& here = *nesting_.back();
    if (here.box) {
        here.box->addWidget(widget, stretch);
        if (here.prompt && field)
            here.prompt->setBuddy(widget);
        here.prompt = nullptr;
        return;
    }
    if (field && here.prompt) {
        here.grid->removeWidget(here.prompt);
        here.grid->addWidget(here.prompt, here.promptRow, 0);
        here.grid->addWidget(widget, here.promptRow, 1);
        here.prompt->setBuddy(widget);
    } else {
        here.grid->addWidget(widget, here.row++, 0, 1, 2);
    }
    if (stretch > 0)
        here.grid->setRowStretch(field && here.prompt ? here.promptRow : here.row - 1, stretch);
    here.prompt = nullptr;
}

void WindowDescription::Column(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.grid = new QGridLayout(widget);
    container.grid->setContentsMargins(0, 0, 0, 0);
    container.grid->setColumnStretch(1, 1);
    Place(widget, false);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Row(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.box = new QHBoxLayout(widget);
    container.box->setContentsMargins(0, 0, 0, 0);
    Place(widget, true);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Buttons(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.box = new QHBoxLayout(widget);
    container.box->setContentsMargins(0, 0, 0, 0);
    container.box->addStretch(1);
    Place(widget, false);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Spacer()
{
    Container& here = *nesting_.back();
    if (here.box)
        here.box->addStretch(1);
    else
        here.grid->setRowStretch(here.row++, 1);
}

void WindowDescription::Nest(int control, std::unique_ptr<Container> container,
                             const std::function<void()>& body)
{
    Record* record = Find(control);
    record->container = std::move(container);
    nesting_.push_back(record->container.get());
    if (body)
        body();
    nesting_.pop_back();
}

} // namespace jornix
