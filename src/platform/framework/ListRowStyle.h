#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <QVariant>

#include <vector>

// How one row of a list looks beyond its texts and icons: colours of single cells and a bold row. A list's
// FillRow sets them per row; a cell without colours of its own shows the list's colours.
//
//     row.style.SetColours(4, Qt::white, Qt::red);   // white on red, also while the row is selected
//     row.style.SetBold();
namespace jornix {

// The colours of one cell; an invalid colour leaves the list's own.
struct CellColours
{
    QColor text;
    QColor background;
    QColor selectedText;
    QColor selectedBackground;
};

// Roles of the list's model that carry the colours of a selected cell to the delegate.
namespace ListRole {
enum : int
{
    SelectedText = Qt::UserRole + 0x100,
    SelectedBackground
};
}

class ListRowStyle
{
public:
    // The same colours for the cell whether its row is selected or not.
    void SetColours(int column, const QColor& text, const QColor& background);
    void SetColours(int column, const CellColours& colours);
    void ClearColours(int column); // the list's own colours again
    const CellColours* Colours(int column) const;
    void SetBold(bool bold = true) { bold_ = bold; }
    bool Bold() const { return bold_; }

    // The value of a cell for a role of the model (text, background, font and the two selected roles);
    // null where the cell keeps what the list shows by itself.
    QVariant Data(int column, int role) const;

private:
    std::vector<CellColours> cells_;
    bool bold_ = false;
};

// Paints a selected cell in its own selected colours where it has them.
class ListRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace jornix
