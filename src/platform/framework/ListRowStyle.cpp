#include "platform/framework/ListRowStyle.h"

#include <QBrush>
#include <QFont>

namespace jornix {

void ListRowStyle::SetColours(int column, const QColor& text, const QColor& background)
{
    SetColours(column, CellColours{text, background, text, background});
}

void ListRowStyle::SetColours(int column, const CellColours& colours)
{
    if (column < 0)
        return;
    if (column >= int(cells_.size()))
        cells_.resize(size_t(column) + 1);
    cells_[size_t(column)] = colours;
}

void ListRowStyle::ClearColours(int column)
{
    if (column >= 0 && column < int(cells_.size()))
        cells_[size_t(column)] = {};
}

const CellColours* ListRowStyle::Colours(int column) const
{
    return column >= 0 && column < int(cells_.size()) ? &cells_[size_t(column)] : nullptr;
}

QVariant ListRowStyle::Data(int column, int role) const
{
    if (role == Qt::FontRole) {
        if (!bold_)
            return {};
        // Only the weight is set: the rest comes from the list's own font.
        QFont font;
        font.setBold(true);
        return font;
    }
    const CellColours* colours = Colours(column);
    if (!colours)
        return {};
    const auto brush = [](const QColor& colour) {
        return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    };
    switch (role) {
    case Qt::ForegroundRole:
        return brush(colours->text);
    case Qt::BackgroundRole:
        return brush(colours->background);
    case ListRole::SelectedText:
        return brush(colours->selectedText);
    case ListRole::SelectedBackground:
        return brush(colours->selectedBackground);
    default:
        return {};
    }
}

void ListRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->state & QStyle::State_Selected))
        return;
    const QVariant text = index.data(ListRole::SelectedText);
    const QVariant background = index.data(ListRole::SelectedBackground);
    const auto setBrush = [option](QPalette::ColorRole role, const QBrush& brush) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            option->palette.setBrush(group, role, brush);
    };
    if (background.isValid()) {
        // The cell is painted as an unselected one in its selected colours, so that no highlight of the
        // style shows through them.
        const QBrush textBrush =
            text.isValid() ? text.value<QBrush>() : option->palette.brush(QPalette::HighlightedText);
        option->state &= ~QStyle::State_Selected;
        option->backgroundBrush = background.value<QBrush>();
        setBrush(QPalette::Text, textBrush);
    } else if (text.isValid()) {
        setBrush(QPalette::HighlightedText, text.value<QBrush>());
    }
}

} // namespace jornix
