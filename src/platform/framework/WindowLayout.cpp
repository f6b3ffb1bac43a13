// Where a description places its controls: the rows of columns, groups and tabs, rows and button rows.

#include "platform/framework/WindowDescriptionParts.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <vector>

namespace jornix {

namespace {

const char* const PlaceProperty = "formPlace";

bool IsPlace(const QWidget* widget)
{
    return widget && widget->property(PlaceProperty).toBool();
}

// A grid of a form column, with the x of its first column in the form column's coordinates.
struct PromptGrid
{
    QGridLayout* grid = nullptr;
    int left = 0;
};
using FormColumn = std::vector<PromptGrid>;

// The width the prompts of a grid's first column ask for; 0 when it holds none.
int PromptWidth(QGridLayout* grid)
{
    int width = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(i);
        if (column == 0 && columnSpan == 1 && !item->isEmpty())
            width = std::max(width, item->sizeHint().width());
    }
    return width;
}

int Spacing(QGridLayout* grid)
{
    const int spacing = grid->horizontalSpacing();
    if (spacing >= 0)
        return spacing;
    const QWidget* parent = grid->parentWidget();
    return parent ? parent->style()->layoutSpacing(QSizePolicy::Label, QSizePolicy::LineEdit, Qt::Horizontal,
                                                   nullptr, parent)
                  : 0;
}

// The left edge of a place's own layout, inside the place.
int Inset(const QWidget* place)
{
    const QLayout* layout = place->layout();
    return place->contentsMargins().left() + (layout ? layout->contentsMargins().left() : 0);
}

void CollectGrid(QGridLayout* grid, int left, FormColumn& column, std::vector<FormColumn>& columns);

// A place that starts a form column of its own: a control beside others in a row, a field's row, a tab.
void StartColumn(QWidget* widget, std::vector<FormColumn>& columns);

void CollectPlace(QWidget* place, int left, FormColumn& column, std::vector<FormColumn>& columns)
{
    if (auto* grid = qobject_cast<QGridLayout*>(place->layout())) {
        CollectGrid(grid, left + Inset(place), column, columns);
    } else if (auto* row = qobject_cast<QBoxLayout*>(place->layout())) {
        // The row's first control stands at the column's left edge and belongs to it; the others start
        // columns of their own.
        bool first = true;
        for (int i = 0; i < row->count(); ++i) {
            QLayoutItem* item = row->itemAt(i);
            QWidget* widget = item->widget();
            if (!widget) {
                first = first && !item->spacerItem(); // spare room before it moves the first control
                continue;
            }
            if (widget->isHidden())
                continue;
            if (first && IsPlace(widget))
                CollectPlace(widget, left + Inset(place), column, columns);
            else
                StartColumn(widget, columns);
            first = false;
        }
    }
}

void StartColumn(QWidget* widget, std::vector<FormColumn>& columns)
{
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int tab = 0; tab < tabs->count(); ++tab)
            StartColumn(tabs->widget(tab), columns);
        return;
    }
    if (!IsPlace(widget))
        return;
    FormColumn column;
    CollectPlace(widget, 0, column, columns);
    columns.push_back(std::move(column));
}

void CollectGrid(QGridLayout* grid, int left, FormColumn& column, std::vector<FormColumn>& columns)
{
    if (PromptWidth(grid) > 0)
        column.push_back({grid, left});
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, at = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &at, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(i);
        if (auto* inner = qobject_cast<QGridLayout*>(item->layout())) {
            CollectGrid(inner, left, column, columns);
            continue;
        }
        QWidget* widget = item->widget();
        if (!widget || widget->isHidden())
            continue;
        if (at == 0 && columnSpan > 1 && IsPlace(widget))
            CollectPlace(widget, left, column, columns); // stands alone in the column, at its left edge
        else
            StartColumn(widget, columns);
    }
}

// Filters the window's polish and the layout request of run-time controls.
class PromptAligner : public QObject
{
public:
    PromptAligner(QWidget* root, QWidget* content, QGridLayout* grid)
        : QObject(root), content_(content), grid_(grid)
    {
        root->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Polish && content_)
            AlignPromptColumns(grid_);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> content_;
    QGridLayout* grid_;
};

} // namespace

void MarkPlace(QWidget* widget)
{
    widget->setProperty(PlaceProperty, true);
}

void AlignPromptColumns(QGridLayout* grid)
{
    std::vector<FormColumn> columns;
    FormColumn top;
    CollectGrid(grid, 0, top, columns);
    columns.push_back(std::move(top));
    for (const FormColumn& column : columns) {
        int edge = 0; // where the entries of the column start
        for (const PromptGrid& member : column) {
            member.grid->setColumnMinimumWidth(0, 0);
            edge = std::max(edge, member.left + PromptWidth(member.grid) + Spacing(member.grid));
        }
        if (column.size() < 2)
            continue;
        for (const PromptGrid& member : column)
            member.grid->setColumnMinimumWidth(0, edge - member.left - Spacing(member.grid));
    }
}

void KeepPromptColumnsAligned(QWidget* root, QWidget* content, QGridLayout* grid)
{
    new PromptAligner(root, content, grid);
}

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
    MarkPlace(widget);
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
    MarkPlace(widget);
    Container& outer = *nesting_.back();
    const bool alone = outer.grid && !outer.prompt; // a row of its own, not the field of a prompt
    Place(widget, true);
    if (alone) {
        container.hostGrid = outer.grid;
        container.hostRow = outer.row - 1;
    }
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
    MarkPlace(widget);
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
