#include "documents/TableAttributesDialog.h"

#include "documents/DialogButtons.h"
#include "documents/MeasurementUnits.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>
#include <QTextTable>
#include <QVBoxLayout>

namespace jornix {

namespace {

constexpr double TwipsPerPoint = 20;

const std::pair<const char*, QRgb> Colours[] = {
    {"Black", 0x000000},  {"Gray", 0x808080}, {"Silver", 0xC0C0C0}, {"White", 0xFFFFFF},
    {"Maroon", 0x800000}, {"Red", 0xFF0000},  {"Olive", 0x808000},  {"Yellow", 0xFFFF00},
    {"Green", 0x008000},  {"Lime", 0x00FF00}, {"Teal", 0x008080},   {"Aqua", 0x00FFFF},
    {"Navy", 0x000080},   {"Blue", 0x0000FF}, {"Purple", 0x800080}, {"Fuchsia", 0xFF00FF},
};

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.setBrush(colour.isValid() ? QBrush(colour) : QBrush(Qt::NoBrush));
    painter.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

// A list of the colours, "None" first when asked; a colour not in it joins as "Custom". Selects the
// colour given (an invalid one: "None").
QComboBox* colourList(const QString& name, bool withNone, const QColor& current)
{
    auto* list = new QComboBox;
    list->setObjectName(name);
    if (withNone)
        list->addItem(QStringLiteral("None"), QColor());
    for (const auto& [colourName, rgb] : Colours)
        list->addItem(swatch(QColor(rgb)), QString::fromLatin1(colourName), QColor(rgb));
    int index = current.isValid() ? list->findData(current) : 0;
    if (index < 0) {
        list->addItem(swatch(current), QStringLiteral("Custom"), current);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
    return list;
}

} // namespace

TableAttributesDialog::TableAttributesDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), unit_(unit)
{
    setObjectName(QStringLiteral("TableAttributes"));
    setWindowTitle(QStringLiteral("Table Attributes"));
    setMinimumWidth(320);
    table_ = control ? control->CurrentTable() : nullptr;
    QTextTableFormat format;
    QTextTableCellFormat cellFormat;
    if (table_) {
        format = table_->format();
        const QTextCursor cursor = control->textCursor();
        if (cursor.currentTable() == table_ && cursor.hasComplexSelection()) {
            cursor.selectedTableCells(&firstRow_, &rows_, &firstColumn_, &columns_);
        } else if (cursor.currentTable() == table_) {
            const QTextTableCell cell = table_->cellAt(cursor);
            firstRow_ = cell.row();
            firstColumn_ = cell.column();
            rows_ = cell.rowSpan();
            columns_ = cell.columnSpan();
        } else {
            rows_ = table_->rows();
            columns_ = table_->columns();
        }
        cellFormat = table_->cellAt(firstRow_, firstColumn_).format().toTableCellFormat();
    }
    const QString unitName = UnitName(unit);
    auto toUnit = [unit](qreal layoutUnits) {
        return TwipsToUnits(qRound(layoutUnits * TwipsPerLayoutUnit), unit);
    };

    auto* tableGroup = new QGroupBox(QStringLiteral("Table"));
    auto* tableRows = new QFormLayout(tableGroup);
    borderWidth_ = new QDoubleSpinBox;
    borderWidth_->setObjectName(QStringLiteral("BorderWidth"));
    borderWidth_->setRange(0, 12);
    borderWidth_->setDecimals(1);
    borderWidth_->setSingleStep(0.5);
    borderWidth_->setSpecialValueText(QStringLiteral("No border"));
    borderWidth_->setValue(format.border() * TwipsPerLayoutUnit / TwipsPerPoint);
    AddPromptRow(tableRows, QStringLiteral("Border &width:"), borderWidth_, QStringLiteral("pt"));
    const QBrush borderBrush = format.borderBrush();
    borderColour_ = colourList(QStringLiteral("BorderColor"), false,
                               borderBrush.style() == Qt::NoBrush ? QColor(Qt::black) : borderBrush.color());
    AddPromptRow(tableRows, QStringLiteral("Border co&lor:"), borderColour_);
    padding_ = unitEntry(QStringLiteral("Padding"));
    padding_->setValue(toUnit(format.cellPadding()));
    AddPromptRow(tableRows, QStringLiteral("Cell &padding:"), padding_, unitName);
    tableWidth_ = new QSpinBox;
    tableWidth_->setObjectName(QStringLiteral("TableWidth"));
    tableWidth_->setRange(0, 100);
    tableWidth_->setSpecialValueText(QStringLiteral("Automatic"));
    if (format.width().type() == QTextLength::PercentageLength)
        tableWidth_->setValue(qRound(format.width().rawValue()));
    AddPromptRow(tableRows, QStringLiteral("Table w&idth:"), tableWidth_,
                 QStringLiteral("% of the text width"));

    const bool allCells = table_ && rows_ == table_->rows() && columns_ == table_->columns();
    cells_ = new QGroupBox(allCells               ? QStringLiteral("All Cells")
                           : rows_ * columns_ > 1 ? QStringLiteral("Selected Cells")
                                                  : QStringLiteral("Cell"));
    auto* cellRows = new QFormLayout(cells_);
    const QBrush background = cellFormat.background();
    background_ = colourList(QStringLiteral("Background"), true,
                             background.style() == Qt::NoBrush ? QColor() : background.color());
    AddPromptRow(cellRows, QStringLiteral("&Background:"), background_);
    columnWidth_ = unitEntry(QStringLiteral("ColumnWidth"));
    columnWidth_->setSpecialValueText(QStringLiteral("Automatic"));
    const QList<QTextLength> widths = format.columnWidthConstraints();
    if (firstColumn_ < widths.size() && widths[firstColumn_].type() == QTextLength::FixedLength)
        columnWidth_->setValue(toUnit(widths[firstColumn_].rawValue()));
    AddPromptRow(cellRows, QStringLiteral("Column wi&dth:"), columnWidth_, unitName);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tableGroup);
    layout->addWidget(cells_);
    layout->addWidget(OkCancelButtons(this));

    borderWidthShown_ = borderWidth_->value();
    borderColourShown_ = borderColour_->currentIndex();
    paddingShown_ = padding_->value();
    tableWidthShown_ = tableWidth_->value();
    backgroundShown_ = background_->currentIndex();
    columnWidthShown_ = columnWidth_->value();
    if (!table_)
        for (QGroupBox* group : {tableGroup, cells_})
            group->setEnabled(false);
    borderWidth_->setFocus();
}

QDoubleSpinBox* TableAttributesDialog::unitEntry(const QString& name)
{
    auto* entry = new QDoubleSpinBox;
    entry->setObjectName(name);
    entry->setDecimals(2);
    entry->setRange(0, 999.99);
    return entry;
}

void TableAttributesDialog::accept()
{
    if (control_ && table_ && !control_->isReadOnly() && control_->TableId(table_) != 0) {
        auto toLayout = [this](double value) { return UnitsToTwips(value, unit_) / TwipsPerLayoutUnit; };
        QTextCursor edit(control_->document());
        edit.beginEditBlock(); // one step to undo
        QTextTableFormat format = table_->format();
        if (borderWidth_->value() != borderWidthShown_)
            format.setBorder(borderWidth_->value() * TwipsPerPoint / TwipsPerLayoutUnit);
        if (borderColour_->currentIndex() != borderColourShown_)
            format.setBorderBrush(borderColour_->currentData().value<QColor>());
        if (padding_->value() != paddingShown_)
            format.setCellPadding(toLayout(padding_->value()));
        if (tableWidth_->value() != tableWidthShown_)
            format.setWidth(tableWidth_->value() == 0
                                ? QTextLength()
                                : QTextLength(QTextLength::PercentageLength, tableWidth_->value()));
        if (columnWidth_->value() != columnWidthShown_) {
            QList<QTextLength> widths = format.columnWidthConstraints();
            while (widths.size() < table_->columns())
                widths.append(QTextLength());
            for (int column = firstColumn_; column < firstColumn_ + columns_ && column < widths.size();
                 ++column)
                widths[column] = columnWidth_->value() == 0
                                     ? QTextLength()
                                     : QTextLength(QTextLength::FixedLength, toLayout(columnWidth_->value()));
            format.setColumnWidthConstraints(widths);
        }
        RichTextControl::SetTableFormat(*table_, format);
        if (background_->currentIndex() != backgroundShown_) {
            const QColor colour = background_->currentData().value<QColor>();
            for (int row = firstRow_; row < firstRow_ + rows_; ++row)
                for (int column = firstColumn_; column < firstColumn_ + columns_; ++column) {
                    QTextTableCell cell = table_->cellAt(row, column);
                    QTextCharFormat cellFormat = cell.format();
                    if (colour.isValid())
                        cellFormat.setBackground(colour);
                    else
                        cellFormat.clearBackground();
                    cell.setFormat(cellFormat);
                }
        }
        edit.endEditBlock();
    }
    QDialog::accept();
}

} // namespace jornix
