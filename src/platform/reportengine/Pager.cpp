#include "platform/reportengine/Pager.h"

#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportJob.h"
#include "platform/reportengine/TextLines.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSvgRenderer>

namespace jornix {

using namespace ReportResult;

namespace {

constexpr qint64 MaxPictureSize = 32 * 1024 * 1024;

bool NamesLastPage(const LayoutObject& object)
{
    for (const QString& line : object.lines)
        if (line.contains(QLatin1String("lastpage"), Qt::CaseInsensitive))
            return true;
    return false;
}

// Whether `formulas` name the item `name`, a whole name and not the start of a longer one.
bool NamesItem(const QString& formulas, const QString& name)
{
    for (qsizetype at = formulas.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
         at = formulas.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + name.size();
        const auto partOfName = [](QChar c) {
            return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.');
        };
        if ((at == 0 || !partOfName(formulas.at(at - 1))) &&
            (end >= formulas.size() || !partOfName(formulas.at(end))))
            return true;
    }
    return false;
}

// Every formula of an object, one a line: its condition, its texts, its barcode and its picture item.
QString FormulasOf(const LayoutObject& object)
{
    QStringList formulas = object.lines;
    formulas << object.condition << object.barcodeFormula << object.pictureItem;
    return formulas.join(QLatin1Char('\n'));
}

QRectF Moved(const QRectF& frame, QPointF origin)
{
    return frame.translated(origin);
}

} // namespace

bool Pager::Row::Done() const
{
    return std::all_of(cells.begin(), cells.end(), [](const Cell& cell) { return cell.done >= cell.lines.size(); });
}

double Pager::Row::Height() const
{
    double height = 0;
    for (const Cell& cell : cells)
        height = std::max(height, double(cell.lines.size() - cell.done) * LineHeight(cell.style));
    return height + 2 * CellPadding;
}

Pager::Pager(const ReportJob& job, const ReportLayout& layout, const QString& layoutFolder, PageSpool& spool,
             bool printCoverPage)
    : job_(job), layout_(layout), layoutFolder_(layoutFolder), spool_(spool),
      context_(job.FormulaContextAt(0, 0)), printCoverPage_(printCoverPage)
{
    for (int layer = 0; layer < LayoutLayerCount; ++layer) {
        const std::vector<LayoutObject>& objects = layout_.layers[std::size_t(layer)];
        for (std::size_t at = 0; at < objects.size(); ++at)
            layers_[std::size_t(layer)].push_back(Prepare(objects[at], layer * 100000 + int(at)));
    }
}

Pager::~Pager() = default;

Pager::PreparedObject Pager::Prepare(const LayoutObject& object, int key) const
{
    PreparedObject prepared;
    prepared.object = &object;
    prepared.key = key;
    prepared.condition = Formula(object.condition);
    for (const QString& line : object.lines)
        prepared.lines.emplace_back(line);
    prepared.barcode = Formula(object.barcodeFormula);
    prepared.late = object.kind == ObjectKind::Text && NamesLastPage(object);
    if (object.kind == ObjectKind::Table) {
        const TableContent& table = object.table;
        std::vector<TableLine> header = table.headerLines;
        // A table without header lines shows its column titles, when it has any.
        const bool titled = std::any_of(table.columns.begin(), table.columns.end(),
                                        [](const TableColumn& column) { return !column.title.isEmpty(); });
        if (header.empty() && titled) {
            TableLine titles;
            for (const TableColumn& column : table.columns) {
                TableCell cell;
                cell.formula = QLatin1Char('"') + QString(column.title).replace(QLatin1Char('"'), QLatin1Char('\'')) +
                               QLatin1Char('"');
                cell.style.bold = true;
                titles.cells.push_back(cell);
            }
            header.push_back(titles);
        }
        prepared.header = PrepareLines(header);
        prepared.groupHeader = PrepareLines(table.groupHeaderLines);
        prepared.data = PrepareLines(table.dataLines);
        prepared.footer = PrepareLines(table.footerLines);
        prepared.group = Formula(table.groupFormula);
    }
    return prepared;
}

std::vector<Pager::PreparedLine> Pager::PrepareLines(const std::vector<TableLine>& lines) const
{
    std::vector<PreparedLine> prepared;
    for (const TableLine& line : lines) {
        PreparedLine entry;
        entry.condition = Formula(line.condition);
        for (const TableCell& cell : line.cells) {
            entry.cells.emplace_back(cell.formula);
            entry.styles.push_back(cell.style);
        }
        prepared.push_back(std::move(entry));
    }
    return prepared;
}

bool Pager::Holds(const Formula& condition) const
{
    if (condition.Text().trimmed().isEmpty())
        return true;
    ExpressionValue value;
    // A condition that cannot be evaluated prints the object: nothing disappears unnoticed.
    if (!condition.Evaluate(context_, value))
        return true;
    return value.IsTrue();
}

QString Pager::Text(const Formula& formula) const
{
    return formula.EvaluateForPrinting(context_);
}

// --- pages

std::vector<const Pager::PreparedObject*> Pager::PageObjects(bool cover) const
{
    std::vector<const PreparedObject*> objects;
    const auto add = [&](LayoutLayer layer) {
        for (const PreparedObject& prepared : layers_[std::size_t(layer)])
            objects.push_back(&prepared);
    };
    if (cover) {
        for (const PreparedObject& prepared : layers_[std::size_t(LayoutLayer::EveryPage)])
            if (!ReadsTheRecord(*prepared.object))
                objects.push_back(&prepared);
        add(LayoutLayer::CoverPage);
        return objects;
    }
    add(LayoutLayer::EveryPage);
    add(recordPage_ <= 1 ? LayoutLayer::FirstPage : LayoutLayer::FollowingPages);
    return objects;
}

// The cover page comes before the records: of the every-page layer it takes only the page's furniture
// (frames, rules, header and footer texts), never what shows a record. An object shows a record when it is
// a table, a picture named by an item, or names an item of the job that the cover layer does not show
// itself (what the cover shows, such as the report's title, belongs to the run and not to a record).
bool Pager::ReadsTheRecord(const LayoutObject& object) const
{
    if (object.kind == ObjectKind::Table || !object.pictureItem.trimmed().isEmpty())
        return true;
    const QString formulas = FormulasOf(object);
    QString coverFormulas;
    for (const LayoutObject& coverObject : layout_.Layer(LayoutLayer::CoverPage))
        coverFormulas += FormulasOf(coverObject) + QLatin1Char('\n');
    for (const ReportItems* items : {&job_.fields, &job_.variables})
        for (const QString& name : items->Names())
            if (NamesItem(formulas, name) && !NamesItem(coverFormulas, name))
                return true;
    return false;
}

const Pager::PreparedObject* Pager::PageTable() const
{
    for (const PreparedObject* prepared : PageObjects(false))
        if (prepared->object->kind == ObjectKind::Table)
            return prepared;
    // A page whose layers hold no table takes the layout's first, so that no record goes unprinted.
    for (const std::vector<PreparedObject>& layer : layers_)
        for (const PreparedObject& prepared : layer)
            if (prepared.object->kind == ObjectKind::Table)
                return &prepared;
    return nullptr;
}

void Pager::BeginPage(bool cover)
{
    Finish();
    if (!cover && !coverDone_ && layout_.projectType != ProjectType::Label) {
        coverDone_ = true;
        if (printCoverPage_ && !layers_[std::size_t(LayoutLayer::CoverPage)].empty()) {
            BeginPage(true);
            Finish();
        }
    }
    ++pageNumber_;
    if (!cover)
        ++recordPage_;
    // Until the run ends, the page in hand is the last one known.
    context_.page = context_.lastPage = pageNumber_;
    page_.emplace();
    page_->number = pageNumber_;
    page_->paper = QSizeF(layout_.paper.width, layout_.paper.height);
    pageHasLines_ = false;
    awaitingPage_ = false;
    labelCell_ = 0;
    if (layout_.projectType == ProjectType::Label && !cover)
        return; // labels place their objects cell by cell

    const QPointF origin(layout_.paper.leftMargin, layout_.paper.topMargin);
    for (const PreparedObject* prepared : PageObjects(cover))
        if (prepared->object->kind != ObjectKind::Table)
            PlaceObject(*prepared, origin, layout_.projectType == ProjectType::Card);

    if (layout_.projectType != ProjectType::List || cover)
        return;
    const PreparedObject* table = PageTable();
    const QRectF frame = table ? Moved(table->object->frame, origin)
                               : QRectF(origin, QSizeF(layout_.paper.width - layout_.paper.leftMargin -
                                                           layout_.paper.rightMargin,
                                                       0));
    tableLeft_ = frame.left();
    cursor_ = frame.top();
    tableBottom_ = frame.height() > 0 ? frame.bottom() : layout_.paper.height - layout_.paper.bottomMargin;
    if (table)
        for (Row& row : Rows(table->header))
            cursor_ += PlaceRow(row, std::max(Room(), 0.0));
}

bool Pager::Finish()
{
    if (!page_)
        return error_.isEmpty();
    if (!spool_.Append(*page_) && error_.isEmpty())
        error_ = spool_.Error();
    page_.reset();
    return error_.isEmpty();
}

void Pager::EnsureListPage()
{
    if (!page_ || awaitingPage_)
        BeginPage();
}

void Pager::PlaceObject(const PreparedObject& prepared, QPointF origin, bool allowContinuation)
{
    const LayoutObject& object = *prepared.object;
    // The rest of a continuing text prints whatever its condition says now, so that it always ends.
    if (!continuing_.count(prepared.key) && !Holds(prepared.condition))
        return;
    const QRectF frame = Moved(object.frame, origin);
    std::vector<PagePrimitive>& primitives = page_->primitives;
    switch (object.kind) {
    case ObjectKind::Text: {
        if (prepared.late) {
            PagePrimitive late;
            late.kind = PrimitiveKind::LateText;
            late.frame = frame;
            late.style = object.style;
            late.wrap = object.wrap;
            late.formulas = object.lines;
            // The items the formulas name, fields before variables as the job looks them up.
            const QString formulas = object.lines.join(QLatin1Char('\n'));
            for (const ReportItems* items : {&job_.fields, &job_.variables})
                for (const QString& name : items->Names()) {
                    if (!formulas.contains(name, Qt::CaseInsensitive))
                        continue;
                    const std::optional<ReportItemValue> item = items->Lookup(name);
                    late.itemNames << name;
                    late.itemValues << item->value;
                    late.itemTypes << item->type;
                }
            primitives.push_back(std::move(late));
            return;
        }
        QStringList lines;
        const auto rest = continuing_.find(prepared.key);
        if (rest != continuing_.end()) {
            lines = rest->second;
            continuing_.erase(rest);
        } else {
            QStringList texts;
            for (const Formula& line : prepared.lines)
                texts << Text(line);
            lines = BreakLines(texts.join(QLatin1Char('\n')), object.style, frame.width(), object.wrap);
        }
        qsizetype fits = lines.size();
        if (frame.height() > 0) // at least one line, so that a continuing text always advances
            fits = std::clamp<qsizetype>(qsizetype(frame.height() / LineHeight(object.style)), 1, lines.size());
        AddTextRuns(primitives, lines, 0, fits, object.style, frame.left(), frame.top(), frame.width());
        if (allowContinuation && object.continuesOnNextPage && fits < lines.size())
            continuing_[prepared.key] = lines.mid(fits);
        return;
    }
    case ObjectKind::Line:
    case ObjectKind::Rectangle: {
        PagePrimitive shape;
        shape.kind = object.kind == ObjectKind::Line ? PrimitiveKind::Line : PrimitiveKind::Rectangle;
        shape.frame = frame;
        shape.pen = object.penColour;
        shape.penWidth = object.penWidth;
        shape.fill = object.fillColour;
        primitives.push_back(std::move(shape));
        return;
    }
    case ObjectKind::Picture:
        PlacePicture(object, frame);
        return;
    case ObjectKind::Barcode: {
        PagePrimitive barcode;
        barcode.kind = PrimitiveKind::Barcode;
        barcode.frame = frame;
        barcode.text = Text(prepared.barcode);
        barcode.symbology = object.symbology;
        barcode.showText = object.showBarcodeText;
        barcode.style = object.style;
        primitives.push_back(std::move(barcode));
        return;
    }
    case ObjectKind::Table:
        return;
    }
}

// A missing or damaged picture draws nothing and never stops the run.
void Pager::PlacePicture(const LayoutObject& object, const QRectF& frame)
{
    QString file = object.pictureItem.isEmpty() ? object.pictureFile : job_.LookupItem(object.pictureItem)
                                                                           .value_or(ReportItemValue{})
                                                                           .value;
    file = file.trimmed();
    if (file.isEmpty())
        return;
    if (QDir::isRelativePath(file))
        file = QDir(layoutFolder_).filePath(file);
    QFile input(file);
    if (input.size() > MaxPictureSize || !input.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = input.readAll();
    PagePrimitive picture;
    picture.frame = frame;
    picture.keepAspectRatio = object.keepAspectRatio;
    if (IsRecordedPicture(data) || QSvgRenderer(data).isValid()) {
        picture.kind = PrimitiveKind::Drawing;
    } else {
        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer);
        if (reader.read().isNull())
            return;
        picture.kind = PrimitiveKind::Image;
    }
    picture.data = data;
    page_->primitives.push_back(std::move(picture));
}

// --- table lines

std::vector<Pager::Row> Pager::Rows(const std::vector<PreparedLine>& lines) const
{
    std::vector<Row> rows;
    const PreparedObject* table = PageTable();
    for (const PreparedLine& line : lines) {
        if (!Holds(line.condition))
            continue;
        Row row;
        double left = 0;
        for (std::size_t at = 0; at < line.cells.size(); ++at) {
            const double width = table && at < table->object->table.columns.size()
                                     ? table->object->table.columns[at].width
                                     : 0;
            if (width <= 0)
                continue;
            Cell cell;
            cell.left = left;
            cell.width = width;
            cell.style = line.styles[at];
            cell.lines = BreakLines(Text(line.cells[at]), cell.style, width - 2 * CellPadding, true);
            row.cells.push_back(std::move(cell));
            left += width;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Places what fits of the row in `room` (at least one line of each cell that has lines left) and gives the
// height it took.
double Pager::PlaceRow(Row& row, double room)
{
    double used = 0;
    for (Cell& cell : row.cells) {
        const double height = LineHeight(cell.style);
        const qsizetype left = cell.lines.size() - cell.done;
        if (left <= 0)
            continue;
        const qsizetype fits = std::clamp<qsizetype>(qsizetype((room - 2 * CellPadding) / height), 1, left);
        AddTextRuns(page_->primitives, cell.lines, cell.done, fits, cell.style,
                    tableLeft_ + cell.left + CellPadding, cursor_ + CellPadding, cell.width - 2 * CellPadding);
        cell.done += fits;
        used = std::max(used, double(fits) * height);
    }
    return used + 2 * CellPadding;
}

void Pager::PlaceRowsOnPages(std::vector<Row> rows)
{
    for (Row& row : rows) {
        do {
            if (row.Height() > Room() && pageHasLines_)
                BeginPage();
            cursor_ += PlaceRow(row, Room());
            pageHasLines_ = true;
        } while (!row.Done());
    }
}

// --- calls

int Pager::Print()
{
    switch (layout_.projectType) {
    case ProjectType::List:
        // The page begins with the next lines, so that it shows the values of its first record.
        if (page_ && pageHasLines_)
            Finish();
        awaitingPage_ = false;
        return Ok;
    case ProjectType::Card:
        BeginPage();
        return continuing_.empty() ? Ok : RecordDidNotFit;
    case ProjectType::Label: {
        const LabelGrid& grid = layout_.labels;
        const int columns = std::max(grid.columns, 1);
        const int cells = columns * std::max(grid.rows, 1);
        if (!page_ || labelCell_ >= cells)
            BeginPage();
        const double across = grid.horizontalPitch > 0 ? grid.horizontalPitch : grid.labelWidth;
        const double down = grid.verticalPitch > 0 ? grid.verticalPitch : grid.labelHeight;
        const QPointF origin(grid.leftMargin + (labelCell_ % columns) * across,
                             grid.topMargin + (labelCell_ / columns) * down);
        for (const PreparedObject* prepared : PageObjects(false))
            PlaceObject(*prepared, origin, false);
        ++labelCell_;
        return Ok;
    }
    }
    return Ok;
}

int Pager::PrintFields()
{
    EnsureListPage();
    const PreparedObject* table = PageTable();
    if (!pending_) {
        std::vector<Row> rows;
        if (table && !table->group.Text().trimmed().isEmpty()) {
            const QString group = Text(table->group);
            if (!group_ || *group_ != group) {
                group_ = group;
                rows = Rows(table->groupHeader);
            }
        }
        if (table)
            for (Row& row : Rows(table->data))
                rows.push_back(std::move(row));
        pending_ = std::move(rows);
    }
    double height = 0;
    for (const Row& row : *pending_)
        height += row.Height();
    // A record that does not fit a page holding lines waits for the next page; on a page that was empty it
    // is split, so that every call advances.
    if (pageHasLines_ && height > Room()) {
        awaitingPage_ = true;
        return RecordDidNotFit;
    }
    for (auto row = pending_->begin(); row != pending_->end(); ++row) {
        cursor_ += PlaceRow(*row, Room());
        pageHasLines_ = true;
        if (!row->Done()) {
            awaitingPage_ = true;
            pending_->erase(pending_->begin(), row);
            return RecordDidNotFit;
        }
    }
    pending_.reset();
    return Ok;
}

int Pager::PrintFieldsEnd()
{
    pending_.reset();
    EnsureListPage();
    if (const PreparedObject* table = PageTable())
        PlaceRowsOnPages(Rows(table->footer));
    return Ok;
}

} // namespace jornix
