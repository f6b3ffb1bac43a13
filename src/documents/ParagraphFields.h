#pragma once

#include <QList>
#include <QTextBlockFormat>

class QComboBox;
class QDoubleSpinBox;
class QWidget;

namespace jornix {

// The entries of a paragraph's formatting, made once for the windows that edit it: indents in the unit,
// spacing before and after in points, line spacing and alignment. Each window lays them out its own way
// (the entries belong to the window they are put in). The entries are named "Left", "Right", "FirstLine",
// "Before", "After", "LineSpacing" and "Alignment".
class ParagraphFields
{
public:
    explicit ParagraphFields(int unit);

    void Show(const QTextBlockFormat& format);
    // Every property the entries give, set.
    QTextBlockFormat Format() const;
    QList<QWidget*> Widgets() const;

    QDoubleSpinBox* left;
    QDoubleSpinBox* right;
    QDoubleSpinBox* firstLine;
    QDoubleSpinBox* before;
    QDoubleSpinBox* after;
    QComboBox* lineSpacing;
    QComboBox* alignment;

private:
    int unit_;
};

} // namespace jornix
