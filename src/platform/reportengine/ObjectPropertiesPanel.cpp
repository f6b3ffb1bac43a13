#include "platform/reportengine/ObjectPropertiesPanel.h"

#include "platform/reportengine/FormulaEditor.h"
#include "platform/reportengine/LayoutDocument.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace jornix {

namespace {

struct PaperSize
{
    const char* name;
    double width;
    double height;
};

constexpr PaperSize PaperSizes[] = {{"A4", 210, 297},
                                    {"A5", 148, 210},
                                    {"Letter", 215.9, 279.4},
                                    {"Legal", 215.9, 355.6},
                                    {"Executive", 184.2, 266.7}};

// The common symbologies the pages draw; a layout may name any other that they know.
constexpr const char* Symbologies[] = {"Code128", "Code39", "Code93",     "EAN13",  "EAN8", "UPCA",
                                       "ITF14",   "QR",     "DataMatrix", "PDF417", "Aztec"};

QIcon ColourIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    if (colour.isValid()) {
        painter.setBrush(colour);
    } else {
        painter.setBrush(Qt::white);
    }
    painter.drawRect(1, 1, 13, 13);
    if (!colour.isValid())
        painter.drawLine(2, 13, 13, 2);
    return QIcon(pixmap);
}

// The line of a table part that the column list edits (its first), made when it is missing.
std::vector<TableLine>& PartLines(TableContent& table, ObjectPropertiesPanel::TablePart part)
{
    switch (part) {
    case ObjectPropertiesPanel::TablePart::Header:
        return table.headerLines;
    case ObjectPropertiesPanel::TablePart::Data:
        return table.dataLines;
    case ObjectPropertiesPanel::TablePart::GroupHeader:
        return table.groupHeaderLines;
    case ObjectPropertiesPanel::TablePart::Footer:
        break;
    }
    return table.footerLines;
}

TableCell& CellOf(TableContent& table, ObjectPropertiesPanel::TablePart part, std::size_t column)
{
    std::vector<TableLine>& lines = PartLines(table, part);
    if (lines.empty())
        lines.resize(1);
    std::vector<TableCell>& cells = lines.front().cells;
    if (cells.size() <= column)
        cells.resize(std::max(column + 1, table.columns.size()));
    return cells[column];
}

QString CellFormula(const TableContent& table, ObjectPropertiesPanel::TablePart part, std::size_t column)
{
    const std::vector<TableLine>& lines = PartLines(const_cast<TableContent&>(table), part);
    if (lines.empty() || lines.front().cells.size() <= column)
        return {};
    return lines.front().cells[column].formula;
}

constexpr ObjectPropertiesPanel::TablePart Parts[] = {
    ObjectPropertiesPanel::TablePart::Header, ObjectPropertiesPanel::TablePart::Data,
    ObjectPropertiesPanel::TablePart::GroupHeader, ObjectPropertiesPanel::TablePart::Footer};

// Every line of every part keeps one cell per column: a column added or removed adds or removes a cell.
void ForEachLine(TableContent& table, const std::function<void(TableLine&)>& work)
{
    for (auto* lines : {&table.headerLines, &table.groupHeaderLines, &table.dataLines, &table.footerLines})
        for (TableLine& line : *lines)
            work(line);
}

} // namespace

ObjectPropertiesPanel::ObjectPropertiesPanel(LayoutDocument& document, const ReportItems& variables,
                                             const ReportItems& fields, TaskRunner runTask, QWidget* parent)
    : QScrollArea(parent), document_(document), variables_(variables), fields_(fields),
      runTask_(std::move(runTask))
{
    setObjectName(QStringLiteral("propertiesPanel"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(10);
    heading_ = new QLabel;
    heading_->setObjectName(QStringLiteral("propertiesHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    heading_->setFont(bold);
    layout->addWidget(heading_);

    // --- the object
    objectBox_ = Section(QStringLiteral("Position and size"), QStringLiteral("objectSection"));
    auto* form = static_cast<QFormLayout*>(objectBox_->layout());
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("objectName"));
    connect(name_, &QLineEdit::editingFinished, this, [this] {
        const QString name = name_->text().trimmed();
        Edit(QStringLiteral("Rename"), [name](LayoutObject& object) { object.name = name; });
    });
    form->addRow(QStringLiteral("&Name:"), name_);
    x_ = Length(QStringLiteral("objectX"), -1000, 1000);
    y_ = Length(QStringLiteral("objectY"), -1000, 1000);
    width_ = Length(QStringLiteral("objectWidth"), 0, 2000);
    height_ = Length(QStringLiteral("objectHeight"), 0, 2000);
    const auto frameRow = [form](const QString& label, QDoubleSpinBox* first, const QString& second,
                                 QDoubleSpinBox* other) {
        auto* row = new QHBoxLayout;
        row->addWidget(first, 1);
        row->addWidget(new QLabel(second));
        row->addWidget(other, 1);
        form->addRow(label, row);
    };
    frameRow(QStringLiteral("Left:"), x_, QStringLiteral("Top:"), y_);
    frameRow(QStringLiteral("Width:"), width_, QStringLiteral("Height:"), height_);
    for (QDoubleSpinBox* box : {x_, y_, width_, height_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, box](double value) {
            const bool size = box == width_ || box == height_;
            Edit(size ? QStringLiteral("Resize") : QStringLiteral("Move"),
                 [this, box, value](LayoutObject& o) {
                     if (box == x_)
                         o.frame.moveLeft(value);
                     else if (box == y_)
                         o.frame.moveTop(value);
                     else if (box == width_)
                         o.frame.setWidth(value);
                     else
                         o.frame.setHeight(value);
                 });
        });
    condition_ = new QLineEdit;
    condition_->setObjectName(QStringLiteral("objectCondition"));
    condition_->setReadOnly(true);
    condition_->setPlaceholderText(QStringLiteral("always"));
    QAction* editCondition =
        Command(QStringLiteral("actionEditCondition"), QStringLiteral("Edit Condition..."));
    connect(editCondition, &QAction::triggered, this, [this] {
        AskFormula(QStringLiteral("Appearance condition"), true,
                   [](LayoutObject& o) -> QString& { return o.condition; });
    });
    auto* conditionRow = new QHBoxLayout;
    conditionRow->addWidget(condition_, 1);
    conditionRow->addWidget(Button(editCondition));
    form->addRow(QStringLiteral("Appears when:"), conditionRow);
    layout->addWidget(objectBox_);

    // --- text
    textBox_ = Section(QStringLiteral("Text"), QStringLiteral("textSection"));
    form = static_cast<QFormLayout*>(textBox_->layout());
    lines_ = new QListWidget;
    lines_->setObjectName(QStringLiteral("textLines"));
    lines_->setMaximumHeight(110);
    connect(lines_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { runTask_([this, row = lines_->row(item)] { EditLine(row); }); });
    QAction* addLine = Command(QStringLiteral("actionAddTextLine"), QStringLiteral("Add Line..."));
    QAction* editLine = Command(QStringLiteral("actionEditTextLine"), QStringLiteral("Edit Line..."));
    QAction* removeLine = Command(QStringLiteral("actionRemoveTextLine"), QStringLiteral("Remove Line"));
    connect(addLine, &QAction::triggered, this, [this] { runTask_([this] { EditLine(-1); }); });
    connect(editLine, &QAction::triggered, this,
            [this] { runTask_([this, row = std::max(lines_->currentRow(), 0)] { EditLine(row); }); });
    connect(removeLine, &QAction::triggered, this, [this] {
        const int row = lines_->currentRow();
        Edit(QStringLiteral("Remove line"), [row](LayoutObject& o) {
            if (row >= 0 && row < o.lines.size())
                o.lines.removeAt(row);
        });
    });
    auto* lineButtons = new QHBoxLayout;
    for (QAction* action : {addLine, editLine, removeLine})
        lineButtons->addWidget(Button(action));
    lineButtons->addStretch();
    auto* linesPart = new QVBoxLayout;
    linesPart->addWidget(lines_);
    linesPart->addLayout(lineButtons);
    form->addRow(QStringLiteral("Lines:"), linesPart);
    fontFamily_ = new QFontComboBox;
    fontFamily_->setObjectName(QStringLiteral("fontFamily"));
    connect(fontFamily_, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
        Edit(QStringLiteral("Change font"),
             [family = font.family()](LayoutObject& o) { o.style.fontFamily = family; });
    });
    fontSize_ = new QDoubleSpinBox;
    fontSize_->setObjectName(QStringLiteral("fontSize"));
    fontSize_->setRange(1, 400);
    fontSize_->setDecimals(1);
    fontSize_->setSuffix(QStringLiteral(" pt"));
    fontSize_->setKeyboardTracking(false);
    connect(fontSize_, &QDoubleSpinBox::valueChanged, this, [this](double size) {
        Edit(QStringLiteral("Change font size"), [size](LayoutObject& o) { o.style.pointSize = size; });
    });
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontFamily_, 1);
    fontRow->addWidget(fontSize_);
    form->addRow(QStringLiteral("Font:"), fontRow);
    bold_ = new QCheckBox(QStringLiteral("Bold"));
    italic_ = new QCheckBox(QStringLiteral("Italic"));
    underline_ = new QCheckBox(QStringLiteral("Underline"));
    bold_->setObjectName(QStringLiteral("fontBold"));
    italic_->setObjectName(QStringLiteral("fontItalic"));
    underline_->setObjectName(QStringLiteral("fontUnderline"));
    auto* styleRow = new QHBoxLayout;
    for (QCheckBox* box : {bold_, italic_, underline_}) {
        styleRow->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
            Edit(QStringLiteral("Change font style"), [this, box, on](LayoutObject& o) {
                (box == bold_ ? o.style.bold : box == italic_ ? o.style.italic : o.style.underline) = on;
            });
        });
    }
    styleRow->addStretch();
    form->addRow(QString(), styleRow);
    QAction* textColour = Command(QStringLiteral("actionTextColour"), QStringLiteral("Colour..."));
    connect(textColour, &QAction::triggered, this, [this] {
        AskColour(QStringLiteral("Change text colour"),
                  [](LayoutObject& o) -> QColor& { return o.style.colour; });
    });
    textColour_ = Button(textColour);
    textColour_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    alignment_ = new QComboBox;
    alignment_->setObjectName(QStringLiteral("textAlignment"));
    alignment_->addItems({QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right"),
                          QStringLiteral("Justify")});
    connect(alignment_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Edit(QStringLiteral("Change alignment"),
             [index](LayoutObject& o) { o.style.alignment = TextAlignment(index); });
    });
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(textColour_);
    colourRow->addWidget(new QLabel(QStringLiteral("Alignment:")));
    colourRow->addWidget(alignment_, 1);
    form->addRow(QStringLiteral("Colour:"), colourRow);
    wrap_ = new QCheckBox(QStringLiteral("Wrap long lines"));
    wrap_->setObjectName(QStringLiteral("textWrap"));
    connect(wrap_, &QCheckBox::toggled, this,
            [this](bool on) { Edit(QStringLiteral("Change wrap"), [on](LayoutObject& o) { o.wrap = on; }); });
    continues_ = new QCheckBox(QStringLiteral("Continue on the next page"));
    continues_->setObjectName(QStringLiteral("textContinues"));
    connect(continues_, &QCheckBox::toggled, this, [this](bool on) {
        Edit(QStringLiteral("Change continuation"), [on](LayoutObject& o) { o.continuesOnNextPage = on; });
    });
    form->addRow(QString(), wrap_);
    form->addRow(QString(), continues_);
    layout->addWidget(textBox_);

    // --- line and rectangle
    frameBox_ = Section(QStringLiteral("Frame"), QStringLiteral("frameSection"));
    form = static_cast<QFormLayout*>(frameBox_->layout());
    QAction* penColour = Command(QStringLiteral("actionPenColour"), QStringLiteral("Colour..."));
    connect(penColour, &QAction::triggered, this, [this] {
        AskColour(QStringLiteral("Change line colour"),
                  [](LayoutObject& o) -> QColor& { return o.penColour; });
    });
    penColour_ = Button(penColour);
    penColour_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    penWidth_ = Length(QStringLiteral("penWidth"), 0.05, 20);
    penWidth_->setSingleStep(0.25);
    penWidth_->setDecimals(2);
    connect(penWidth_, &QDoubleSpinBox::valueChanged, this, [this](double width) {
        Edit(QStringLiteral("Change line width"), [width](LayoutObject& o) { o.penWidth = width; });
    });
    auto* penRow = new QHBoxLayout;
    penRow->addWidget(penColour_);
    penRow->addWidget(new QLabel(QStringLiteral("Width:")));
    penRow->addWidget(penWidth_, 1);
    form->addRow(QStringLiteral("Line:"), penRow);
    QAction* fillColour = Command(QStringLiteral("actionFillColour"), QStringLiteral("Colour..."));
    connect(fillColour, &QAction::triggered, this, [this] {
        AskColour(QStringLiteral("Change fill"), [](LayoutObject& o) -> QColor& { return o.fillColour; });
    });
    fillColour_ = Button(fillColour);
    fillColour_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    filled_ = new QCheckBox(QStringLiteral("Filled"));
    filled_->setObjectName(QStringLiteral("fillOn"));
    connect(filled_, &QCheckBox::toggled, this, [this](bool on) {
        Edit(QStringLiteral("Change fill"),
             [on](LayoutObject& o) { o.fillColour = on ? QColor(0xdd, 0xe6, 0xf0) : QColor(); });
    });
    auto* fillRow = new QHBoxLayout;
    fillRow->addWidget(filled_);
    fillRow->addWidget(fillColour_);
    fillRow->addStretch();
    form->addRow(QStringLiteral("Fill:"), fillRow);
    layout->addWidget(frameBox_);

    // --- picture
    pictureBox_ = Section(QStringLiteral("Picture"), QStringLiteral("pictureSection"));
    form = static_cast<QFormLayout*>(pictureBox_->layout());
    pictureFile_ = new QLineEdit;
    pictureFile_->setObjectName(QStringLiteral("pictureFile"));
    connect(pictureFile_, &QLineEdit::editingFinished, this, [this] {
        Edit(QStringLiteral("Change picture"),
             [file = pictureFile_->text().trimmed()](LayoutObject& o) { o.pictureFile = file; });
    });
    QAction* choosePicture = Command(QStringLiteral("actionChoosePicture"), QStringLiteral("Choose..."));
    connect(choosePicture, &QAction::triggered, this, [this] {
        runTask_([this] {
            const QDir folder(layoutFolder_);
            QString file = AskOpenFileName(QStringLiteral("Select Picture"),
                                           QStringLiteral("Pictures|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.svg|"
                                                          "All Files|*.*"),
                                           folder.absoluteFilePath(pictureFile_->text()));
            // A picture beside the layout is named without its folder, so that the two move together.
            if (!file.isEmpty() && QFileInfo(file).absoluteDir() == folder)
                file = QFileInfo(file).fileName();
            if (!file.isEmpty())
                Edit(QStringLiteral("Change picture"), [file](LayoutObject& o) { o.pictureFile = file; });
        });
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(pictureFile_, 1);
    fileRow->addWidget(Button(choosePicture));
    form->addRow(QStringLiteral("File:"), fileRow);
    pictureItem_ = new QComboBox;
    pictureItem_->setObjectName(QStringLiteral("pictureItem"));
    pictureItem_->addItem(QStringLiteral("(the file above)"), QString());
    for (const ReportItems* items : {&variables_, &fields_})
        for (const QString& name : items->Names())
            if (KindOfType(items->Lookup(name)->type) == ReportItemKind::Drawing &&
                pictureItem_->findData(name) < 0)
                pictureItem_->addItem(name, name);
    connect(pictureItem_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Edit(QStringLiteral("Change picture"),
             [item = pictureItem_->itemData(index).toString()](LayoutObject& o) { o.pictureItem = item; });
    });
    form->addRow(QStringLiteral("Or from &item:"), pictureItem_);
    keepAspect_ = new QCheckBox(QStringLiteral("Keep its proportions"));
    keepAspect_->setObjectName(QStringLiteral("keepAspect"));
    connect(keepAspect_, &QCheckBox::toggled, this, [this](bool on) {
        Edit(QStringLiteral("Change proportions"), [on](LayoutObject& o) { o.keepAspectRatio = on; });
    });
    form->addRow(QString(), keepAspect_);
    layout->addWidget(pictureBox_);

    // --- barcode
    barcodeBox_ = Section(QStringLiteral("Barcode"), QStringLiteral("barcodeSection"));
    form = static_cast<QFormLayout*>(barcodeBox_->layout());
    barcodeFormula_ = new QLineEdit;
    barcodeFormula_->setObjectName(QStringLiteral("barcodeFormula"));
    barcodeFormula_->setReadOnly(true);
    QAction* editBarcode = Command(QStringLiteral("actionEditBarcode"), QStringLiteral("Edit..."));
    connect(editBarcode, &QAction::triggered, this, [this] {
        AskFormula(QStringLiteral("Barcode"), false,
                   [](LayoutObject& o) -> QString& { return o.barcodeFormula; });
    });
    auto* barcodeRow = new QHBoxLayout;
    barcodeRow->addWidget(barcodeFormula_, 1);
    barcodeRow->addWidget(Button(editBarcode));
    form->addRow(QStringLiteral("Content:"), barcodeRow);
    symbology_ = new QComboBox;
    symbology_->setObjectName(QStringLiteral("symbology"));
    for (const char* name : Symbologies)
        symbology_->addItem(QLatin1String(name));
    connect(symbology_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        Edit(QStringLiteral("Change symbology"), [name](LayoutObject& o) { o.symbology = name; });
    });
    form->addRow(QStringLiteral("&Symbology:"), symbology_);
    showBarcodeText_ = new QCheckBox(QStringLiteral("Show the text under the bars"));
    showBarcodeText_->setObjectName(QStringLiteral("showBarcodeText"));
    connect(showBarcodeText_, &QCheckBox::toggled, this, [this](bool on) {
        Edit(QStringLiteral("Change barcode text"), [on](LayoutObject& o) { o.showBarcodeText = on; });
    });
    form->addRow(QString(), showBarcodeText_);
    layout->addWidget(barcodeBox_);

    // --- table
    tableBox_ = Section(QStringLiteral("Table columns"), QStringLiteral("tableSection"));
    form = static_cast<QFormLayout*>(tableBox_->layout());
    columns_ = new QTableWidget(0, 6);
    columns_->setObjectName(QStringLiteral("tableColumns"));
    columns_->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Width"),
                                         QStringLiteral("Header"), QStringLiteral("Data"),
                                         QStringLiteral("Group header"), QStringLiteral("Footer")});
    columns_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    columns_->horizontalHeader()->setStretchLastSection(true);
    columns_->verticalHeader()->setDefaultSectionSize(columns_->fontMetrics().height() + 8);
    columns_->setSelectionMode(QAbstractItemView::SingleSelection);
    columns_->setMinimumHeight(150);
    connect(columns_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (refreshing_ || item->column() >= FirstFormulaColumn)
            return;
        const std::size_t column = std::size_t(item->row());
        if (item->column() == 0) {
            Edit(QStringLiteral("Change column"), [column, title = item->text()](LayoutObject& o) {
                if (column < o.table.columns.size())
                    o.table.columns[column].title = title;
            });
        } else {
            bool ok = false;
            const double width = item->text().toDouble(&ok);
            if (!ok || !std::isfinite(width) || width <= 0) {
                Refresh(); // a width that is no length gives the one before back
                return;
            }
            Edit(QStringLiteral("Change column width"), [column, width](LayoutObject& o) {
                if (column < o.table.columns.size())
                    o.table.columns[column].width = std::min(width, 2000.0);
            });
        }
    });
    connect(columns_, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
        if (column >= FirstFormulaColumn)
            runTask_([this] { EditCell(); });
    });
    QAction* addColumn = Command(QStringLiteral("actionAddColumn"), QStringLiteral("Add Column"));
    QAction* removeColumn = Command(QStringLiteral("actionRemoveColumn"), QStringLiteral("Remove"));
    QAction* columnLeft = Command(QStringLiteral("actionMoveColumnUp"), QStringLiteral("Move Up"));
    QAction* columnRight = Command(QStringLiteral("actionMoveColumnDown"), QStringLiteral("Move Down"));
    QAction* editCell = Command(QStringLiteral("actionEditCell"), QStringLiteral("Edit Formula..."));
    connect(addColumn, &QAction::triggered, this, [this] {
        Edit(QStringLiteral("Add column"), [](LayoutObject& o) {
            TableContent& table = o.table;
            const QString title = QStringLiteral("Column %1").arg(table.columns.size() + 1);
            table.columns.push_back({title, 30});
            ForEachLine(table, [&](TableLine& line) { line.cells.resize(table.columns.size()); });
            TableCell& header = CellOf(table, TablePart::Header, table.columns.size() - 1);
            header.formula = QLatin1Char('"') + title + QLatin1Char('"');
            header.style.bold = true;
            CellOf(table, TablePart::Data, table.columns.size() - 1);
        });
        columns_->setCurrentCell(columns_->rowCount() - 1, FirstFormulaColumn + 1);
    });
    connect(removeColumn, &QAction::triggered, this, [this] {
        const int row = columns_->currentRow();
        Edit(QStringLiteral("Remove column"), [row](LayoutObject& o) {
            TableContent& table = o.table;
            if (row < 0 || row >= int(table.columns.size()))
                return;
            table.columns.erase(table.columns.begin() + row);
            ForEachLine(table, [row](TableLine& line) {
                if (row < int(line.cells.size()))
                    line.cells.erase(line.cells.begin() + row);
            });
        });
    });
    for (QAction* move : {columnLeft, columnRight})
        connect(move, &QAction::triggered, this, [this, left = move == columnLeft] {
            const int row = columns_->currentRow();
            const int other = left ? row - 1 : row + 1;
            const int column = columns_->currentColumn();
            bool moved = false;
            Edit(QStringLiteral("Move column"), [row, other, &moved](LayoutObject& o) {
                TableContent& table = o.table;
                if (row < 0 || other < 0 || row >= int(table.columns.size()) ||
                    other >= int(table.columns.size()))
                    return;
                std::swap(table.columns[std::size_t(row)], table.columns[std::size_t(other)]);
                ForEachLine(table, [&](TableLine& line) {
                    line.cells.resize(std::max(line.cells.size(), table.columns.size()));
                    std::swap(line.cells[std::size_t(row)], line.cells[std::size_t(other)]);
                });
                moved = true;
            });
            if (moved)
                columns_->setCurrentCell(other, column);
        });
    connect(editCell, &QAction::triggered, this, [this] { runTask_([this] { EditCell(); }); });
    auto* columnButtons = new QHBoxLayout;
    for (QAction* action : {addColumn, removeColumn, columnLeft, columnRight, editCell})
        columnButtons->addWidget(Button(action));
    columnButtons->addStretch();
    auto* columnsPart = new QVBoxLayout;
    columnsPart->addWidget(columns_);
    columnsPart->addLayout(columnButtons);
    form->addRow(columnsPart);
    groupFormula_ = new QLineEdit;
    groupFormula_->setObjectName(QStringLiteral("groupFormula"));
    groupFormula_->setReadOnly(true);
    groupFormula_->setPlaceholderText(QStringLiteral("no groups"));
    QAction* editGroup = Command(QStringLiteral("actionEditGroupFormula"), QStringLiteral("Edit..."));
    connect(editGroup, &QAction::triggered, this, [this] {
        AskFormula(QStringLiteral("Groups"), true,
                   [](LayoutObject& o) -> QString& { return o.table.groupFormula; });
    });
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(groupFormula_, 1);
    groupRow->addWidget(Button(editGroup));
    form->addRow(QStringLiteral("New group when:"), groupRow);
    layout->addWidget(tableBox_);

    // --- the page
    pageBox_ = Section(QStringLiteral("Paper"), QStringLiteral("pageSection"));
    form = static_cast<QFormLayout*>(pageBox_->layout());
    description_ = new QLineEdit;
    description_->setObjectName(QStringLiteral("pageDescription"));
    connect(description_, &QLineEdit::editingFinished, this, [this] {
        EditPage(QStringLiteral("Change description"),
                 [text = description_->text()](ReportLayout& l) { l.description = text; });
    });
    form->addRow(QStringLiteral("&Description:"), description_);
    paperSize_ = new QComboBox;
    paperSize_->setObjectName(QStringLiteral("paperSize"));
    for (const PaperSize& size : PaperSizes)
        paperSize_->addItem(QLatin1String(size.name));
    paperSize_->addItem(QStringLiteral("Custom"));
    connect(paperSize_, &QComboBox::activated, this, [this](int index) {
        if (index >= int(std::size(PaperSizes)))
            return;
        const PaperSize& size = PaperSizes[index];
        EditPage(QStringLiteral("Change paper"), [size](ReportLayout& l) {
            const bool landscape = l.paper.width > l.paper.height;
            l.paper.width = landscape ? size.height : size.width;
            l.paper.height = landscape ? size.width : size.height;
        });
    });
    form->addRow(QStringLiteral("&Paper:"), paperSize_);
    paperWidth_ = Length(QStringLiteral("paperWidth"), 20, 2000);
    paperHeight_ = Length(QStringLiteral("paperHeight"), 20, 2000);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(paperWidth_, 1);
    sizeRow->addWidget(new QLabel(QStringLiteral("x")));
    sizeRow->addWidget(paperHeight_, 1);
    form->addRow(QStringLiteral("Size:"), sizeRow);
    for (QDoubleSpinBox* box : {paperWidth_, paperHeight_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, box](double value) {
            EditPage(QStringLiteral("Change paper"), [this, box, value](ReportLayout& l) {
                (box == paperWidth_ ? l.paper.width : l.paper.height) = value;
            });
        });
    orientation_ = new QComboBox;
    orientation_->setObjectName(QStringLiteral("paperOrientation"));
    orientation_->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    connect(orientation_, &QComboBox::activated, this, [this](int index) {
        EditPage(QStringLiteral("Change orientation"), [index](ReportLayout& l) {
            if ((index == 1) != (l.paper.width > l.paper.height))
                std::swap(l.paper.width, l.paper.height);
        });
    });
    form->addRow(QStringLiteral("&Orientation:"), orientation_);
    const char* marginNames[] = {"marginLeft", "marginTop", "marginRight", "marginBottom"};
    for (int at = 0; at < 4; ++at) {
        margins_[at] = Length(QLatin1String(marginNames[at]), 0, 500);
        connect(margins_[at], &QDoubleSpinBox::valueChanged, this, [this, at](double value) {
            EditPage(QStringLiteral("Change margins"), [at, value](ReportLayout& l) {
                double* margins[] = {&l.paper.leftMargin, &l.paper.topMargin, &l.paper.rightMargin,
                                     &l.paper.bottomMargin};
                *margins[at] = value;
            });
        });
    }
    auto* marginRow1 = new QHBoxLayout;
    marginRow1->addWidget(margins_[0], 1);
    marginRow1->addWidget(new QLabel(QStringLiteral("Top:")));
    marginRow1->addWidget(margins_[1], 1);
    auto* marginRow2 = new QHBoxLayout;
    marginRow2->addWidget(margins_[2], 1);
    marginRow2->addWidget(new QLabel(QStringLiteral("Bottom:")));
    marginRow2->addWidget(margins_[3], 1);
    form->addRow(QStringLiteral("Margin left:"), marginRow1);
    form->addRow(QStringLiteral("Margin right:"), marginRow2);
    layout->addWidget(pageBox_);

    labelBox_ = Section(QStringLiteral("Labels on the sheet"), QStringLiteral("labelSection"));
    form = static_cast<QFormLayout*>(labelBox_->layout());
    labelRows_ = new QSpinBox;
    labelColumns_ = new QSpinBox;
    labelRows_->setObjectName(QStringLiteral("labelRows"));
    labelColumns_->setObjectName(QStringLiteral("labelColumns"));
    for (QSpinBox* box : {labelRows_, labelColumns_}) {
        box->setRange(1, 100);
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this, [this, box](int value) {
            EditPage(QStringLiteral("Change labels"), [this, box, value](ReportLayout& l) {
                (box == labelRows_ ? l.labels.rows : l.labels.columns) = value;
            });
        });
    }
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(labelColumns_, 1);
    countRow->addWidget(new QLabel(QStringLiteral("down:")));
    countRow->addWidget(labelRows_, 1);
    form->addRow(QStringLiteral("Across:"), countRow);
    const char* labelNames[] = {"labelWidth", "labelHeight", "labelAcross",
                                "labelDown",  "labelLeft",   "labelTop"};
    for (int at = 0; at < 6; ++at) {
        labelValues_[at] = Length(QLatin1String(labelNames[at]), 0, 1000);
        connect(labelValues_[at], &QDoubleSpinBox::valueChanged, this, [this, at](double value) {
            EditPage(QStringLiteral("Change labels"), [at, value](ReportLayout& l) {
                double* values[] = {&l.labels.labelWidth,    &l.labels.labelHeight, &l.labels.horizontalPitch,
                                    &l.labels.verticalPitch, &l.labels.leftMargin,  &l.labels.topMargin};
                *values[at] = value;
            });
        });
    }
    const QString labelRows[] = {QStringLiteral("Label width:"), QStringLiteral("Pitch across:"),
                                 QStringLiteral("First label left:")};
    const QString labelOthers[] = {QStringLiteral("height:"), QStringLiteral("down:"),
                                   QStringLiteral("top:")};
    for (int row = 0; row < 3; ++row) {
        auto* line = new QHBoxLayout;
        line->addWidget(labelValues_[row * 2], 1);
        line->addWidget(new QLabel(labelOthers[row]));
        line->addWidget(labelValues_[row * 2 + 1], 1);
        form->addRow(labelRows[row], line);
    }
    layout->addWidget(labelBox_);
    layout->addStretch();
    setWidget(content);

    connect(&document_, &LayoutDocument::LayoutChanged, this, &ObjectPropertiesPanel::Refresh);
    connect(&document_, &LayoutDocument::SelectionChanged, this, &ObjectPropertiesPanel::Refresh);
    Refresh();
}

QGroupBox* ObjectPropertiesPanel::Section(const QString& title, const QString& name)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

QAction* ObjectPropertiesPanel::Command(const QString& name, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    addAction(action);
    return action;
}

QToolButton* ObjectPropertiesPanel::Button(QAction* action)
{
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QDoubleSpinBox* ObjectPropertiesPanel::Length(const QString& name, double low, double high)
{
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(low, high);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setKeyboardTracking(false); // one step when the value is entered, not one per digit
    box->setMinimumWidth(70);
    return box;
}

bool ObjectPropertiesPanel::EditFormula(const QString& what, QString& formula, bool allowBlank)
{
    FormulaEditor editor(variables_, fields_, what, formula, allowBlank);
    if (RunThreadModal(editor) != QDialog::Accepted)
        return false;
    formula = editor.FormulaText();
    return true;
}

void ObjectPropertiesPanel::EditLine(int row)
{
    const LayoutObject* object = document_.SelectedObject();
    if (!object || object->kind != ObjectKind::Text)
        return;
    const bool adding = row < 0 || row >= object->lines.size();
    QString formula = adding ? QString() : object->lines[row];
    if (!EditFormula(QStringLiteral("Text line"), formula, false))
        return;
    Edit(adding ? QStringLiteral("Add line") : QStringLiteral("Change line"), [=](LayoutObject& o) {
        if (adding)
            o.lines << formula;
        else if (row < o.lines.size())
            o.lines[row] = formula;
    });
}

void ObjectPropertiesPanel::EditCell()
{
    const LayoutObject* object = document_.SelectedObject();
    const int row = columns_->currentRow();
    const int column = columns_->currentColumn();
    if (!object || object->kind != ObjectKind::Table || row < 0 || row >= int(object->table.columns.size()))
        return;
    const TablePart part =
        column >= FirstFormulaColumn ? Parts[column - FirstFormulaColumn] : TablePart::Data;
    QString formula = CellFormula(object->table, part, std::size_t(row));
    const QString what = object->table.columns[std::size_t(row)].title + QStringLiteral(": ") +
                         columns_->horizontalHeaderItem(FirstFormulaColumn + int(part))->text();
    if (!EditFormula(what, formula, true))
        return;
    Edit(QStringLiteral("Change column"),
         [=](LayoutObject& o) { CellOf(o.table, part, std::size_t(row)).formula = formula; });
}

void ObjectPropertiesPanel::Edit(const QString& text, const std::function<void(LayoutObject&)>& change)
{
    if (refreshing_ || document_.Selection().size() != 1)
        return;
    LayoutObject object = *document_.SelectedObject();
    change(object);
    document_.ChangeObject(document_.Selection().front(), object, text);
}

void ObjectPropertiesPanel::EditPage(const QString& text, const std::function<void(ReportLayout&)>& change)
{
    if (refreshing_)
        return;
    ReportLayout layout = document_.Layout();
    change(layout);
    document_.Change(text, layout);
}

void ObjectPropertiesPanel::AskFormula(const QString& what, bool allowBlank,
                                       const std::function<QString&(LayoutObject&)>& formula)
{
    runTask_([this, what, allowBlank, formula] {
        if (!document_.SelectedObject())
            return;
        LayoutObject object = *document_.SelectedObject();
        QString text = formula(object);
        if (EditFormula(what, text, allowBlank))
            Edit(QStringLiteral("Change %1").arg(what.toLower()),
                 [&](LayoutObject& o) { formula(o) = text; });
    });
}

void ObjectPropertiesPanel::AskColour(const QString& text,
                                      const std::function<QColor&(LayoutObject&)>& colour)
{
    runTask_([this, text, colour] {
        if (!document_.SelectedObject())
            return;
        LayoutObject object = *document_.SelectedObject();
        QColor chosen = colour(object).isValid() ? colour(object) : QColor(Qt::white);
        if (jornix::AskColour(chosen))
            Edit(text, [&](LayoutObject& o) { colour(o) = chosen; });
    });
}

void ObjectPropertiesPanel::Refresh()
{
    refreshing_ = true;
    const LayoutObject* object = document_.SelectedObject();
    const ReportLayout& layout = document_.Layout();
    const int selected = int(document_.Selection().size());
    heading_->setText(object ? QStringLiteral("%1 (%2)").arg(object->name, ObjectKindName(object->kind))
                      : selected > 1 ? QStringLiteral("%1 objects selected").arg(selected)
                                     : QStringLiteral("Page"));
    objectBox_->setVisible(object);
    textBox_->setVisible(object && object->kind == ObjectKind::Text);
    frameBox_->setVisible(object &&
                          (object->kind == ObjectKind::Line || object->kind == ObjectKind::Rectangle));
    pictureBox_->setVisible(object && object->kind == ObjectKind::Picture);
    barcodeBox_->setVisible(object && object->kind == ObjectKind::Barcode);
    tableBox_->setVisible(object && object->kind == ObjectKind::Table);
    pageBox_->setVisible(selected == 0);
    labelBox_->setVisible(selected == 0 && layout.projectType == ProjectType::Label);

    if (object) {
        name_->setText(object->name);
        x_->setValue(object->frame.x());
        y_->setValue(object->frame.y());
        width_->setValue(object->frame.width());
        height_->setValue(object->frame.height());
        condition_->setText(object->condition);
        if (object->kind == ObjectKind::Text) {
            const int row = lines_->currentRow();
            lines_->clear();
            lines_->addItems(object->lines);
            lines_->setCurrentRow(std::min(row, int(lines_->count()) - 1));
        }
        const TextStyle& style = object->style;
        fontFamily_->setCurrentFont(QFont(style.fontFamily));
        fontSize_->setValue(style.pointSize);
        bold_->setChecked(style.bold);
        italic_->setChecked(style.italic);
        underline_->setChecked(style.underline);
        textColour_->setIcon(ColourIcon(style.colour));
        alignment_->setCurrentIndex(int(style.alignment));
        wrap_->setChecked(object->wrap);
        continues_->setChecked(object->continuesOnNextPage);
        // Only cards go on to another page with the rest of a text.
        continues_->setVisible(layout.projectType == ProjectType::Card);
        penColour_->setIcon(ColourIcon(object->penColour));
        penWidth_->setValue(object->penWidth);
        fillColour_->setIcon(ColourIcon(object->fillColour));
        filled_->setChecked(object->fillColour.isValid());
        fillColour_->setEnabled(object->fillColour.isValid());
        pictureFile_->setText(object->pictureFile);
        const int item = pictureItem_->findData(object->pictureItem);
        if (item < 0 && !object->pictureItem.isEmpty())
            pictureItem_->addItem(object->pictureItem, object->pictureItem);
        pictureItem_->setCurrentIndex(std::max(pictureItem_->findData(object->pictureItem), 0));
        keepAspect_->setChecked(object->keepAspectRatio);
        barcodeFormula_->setText(object->barcodeFormula);
        if (symbology_->findText(object->symbology) < 0)
            symbology_->addItem(object->symbology);
        symbology_->setCurrentText(object->symbology);
        showBarcodeText_->setChecked(object->showBarcodeText);
        if (object->kind == ObjectKind::Table)
            RefreshTable(*object);
    }
    description_->setText(layout.description);
    int size = int(std::size(PaperSizes));
    for (int at = 0; at < int(std::size(PaperSizes)); ++at) {
        const PaperSize& paper = PaperSizes[at];
        const auto same = [](double a, double b) { return std::abs(a - b) < 0.5; };
        if ((same(paper.width, layout.paper.width) && same(paper.height, layout.paper.height)) ||
            (same(paper.height, layout.paper.width) && same(paper.width, layout.paper.height)))
            size = at;
    }
    paperSize_->setCurrentIndex(size);
    paperWidth_->setValue(layout.paper.width);
    paperHeight_->setValue(layout.paper.height);
    orientation_->setCurrentIndex(layout.paper.width > layout.paper.height ? 1 : 0);
    const double margins[] = {layout.paper.leftMargin, layout.paper.topMargin, layout.paper.rightMargin,
                              layout.paper.bottomMargin};
    for (int at = 0; at < 4; ++at)
        margins_[at]->setValue(margins[at]);
    labelRows_->setValue(layout.labels.rows);
    labelColumns_->setValue(layout.labels.columns);
    const double labels[] = {layout.labels.labelWidth,      layout.labels.labelHeight,
                             layout.labels.horizontalPitch, layout.labels.verticalPitch,
                             layout.labels.leftMargin,      layout.labels.topMargin};
    for (int at = 0; at < 6; ++at)
        labelValues_[at]->setValue(labels[at]);
    refreshing_ = false;
}

void ObjectPropertiesPanel::RefreshTable(const LayoutObject& object)
{
    const TableContent& table = object.table;
    const int row = columns_->currentRow();
    const int column = columns_->currentColumn();
    columns_->setRowCount(int(table.columns.size()));
    for (std::size_t at = 0; at < table.columns.size(); ++at) {
        const int line = int(at);
        columns_->setItem(line, 0, new QTableWidgetItem(table.columns[at].title));
        columns_->setItem(line, 1, new QTableWidgetItem(QString::number(table.columns[at].width)));
        for (int part = 0; part < 4; ++part) {
            auto* item = new QTableWidgetItem(CellFormula(table, Parts[part], at));
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            item->setToolTip(QStringLiteral("Double-click to edit the formula"));
            columns_->setItem(line, FirstFormulaColumn + part, item);
        }
    }
    groupFormula_->setText(table.groupFormula);
    if (row >= 0 && row < columns_->rowCount())
        columns_->setCurrentCell(row, column);
}

} // namespace jornix
