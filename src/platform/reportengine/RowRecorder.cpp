#include "platform/reportengine/RowRecorder.h"

#include "platform/reportengine/ReportItems.h"
#include "platform/reportengine/ReportJob.h"

#include <algorithm>
#include <cmath>

namespace jornix {

namespace {

const LayoutObject* FirstTable(const ReportLayout& layout)
{
    for (const std::vector<LayoutObject>& layer : layout.layers)
        for (const LayoutObject& object : layer)
            if (object.kind == ObjectKind::Table)
                return &object;
    return nullptr;
}

// Items come padded with blanks to their field's width, which formulas may count on; a cell of a table
// export holds the value without them.
void TrimTrailingBlanks(ExportCell& cell)
{
    qsizetype length = cell.text.size();
    while (length > 0 && cell.text.at(length - 1) == QLatin1Char(' '))
        --length;
    cell.text.truncate(length);
}

} // namespace

RowRecorder::RowRecorder(const ReportLayout& layout) : list_(layout.projectType == ProjectType::List)
{
    if (list_) {
        const LayoutObject* table = FirstTable(layout);
        if (!table)
            return;
        for (std::size_t at = 0; at < table->table.columns.size(); ++at) {
            const QString title = table->table.columns[at].title;
            columns_ << (title.isEmpty() ? QStringLiteral("Column %1").arg(at + 1) : title);
        }
        for (const TableLine& line : table->table.dataLines) {
            Line row;
            row.condition = Formula(line.condition);
            for (std::size_t at = 0; at < line.cells.size() && at < table->table.columns.size(); ++at)
                row.cells.emplace_back(line.cells[at].formula);
            lines_.push_back(std::move(row));
        }
        return;
    }
    const std::vector<LayoutObject>& firstPage = layout.Layer(LayoutLayer::FirstPage);
    for (int layer = 0; layer < LayoutLayerCount; ++layer) {
        if (LayoutLayer(layer) == LayoutLayer::CoverPage)
            continue;
        for (const LayoutObject& object : layout.layers[std::size_t(layer)]) {
            if (object.kind != ObjectKind::Text)
                continue;
            // A record's object placed on the first and on the following pages alike is one column.
            if (LayoutLayer(layer) == LayoutLayer::FollowingPages &&
                std::find(firstPage.begin(), firstPage.end(), object) != firstPage.end())
                continue;
            Line cell;
            cell.condition = Formula(object.condition);
            for (const QString& formula : object.lines)
                cell.cells.emplace_back(formula);
            lines_.push_back(std::move(cell));
            columns_ << (object.name.isEmpty() ? QStringLiteral("Text %1").arg(columns_.size() + 1)
                                               : object.name);
        }
    }
}

ExportCell RowRecorder::Cell(const ReportJob& job, const FormulaContext& context,
                             const Formula& formula) const
{
    ExportCell cell;
    const QString text = formula.Text().trimmed();
    if (text.isEmpty())
        return cell;
    if (const std::optional<ReportItemValue> item = job.LookupItem(text)) {
        const ReportItemKind kind = KindOfType(item->type);
        const double number = LeadingNumber(item->value.trimmed());
        if (kind == ReportItemKind::Numeric || kind == ReportItemKind::Boolean) {
            if (std::isfinite(number) && !item->value.trimmed().isEmpty()) {
                cell.kind = ExportCell::Kind::Number;
                cell.number = number;
            }
            cell.text = formula.EvaluateForPrinting(context);
            return cell;
        }
        if (kind == ReportItemKind::Date) {
            if (FormulaDate(number).isValid() && !item->value.trimmed().isEmpty()) {
                cell.kind = ExportCell::Kind::Date;
                cell.number = number;
                cell.text = FormulaDate(number).toString(Qt::ISODate);
            }
            return cell;
        }
        cell.text = item->value;
        return cell;
    }
    ExpressionValue value;
    if (!formula.Evaluate(context, value))
        return cell;
    if (!value.IsText() && std::isfinite(value.number)) {
        cell.kind = ExportCell::Kind::Number;
        cell.number = value.number;
    }
    cell.text = value.AsText();
    return cell;
}

bool RowRecorder::Record(const ReportJob& job, int page, RowSpool& spool) const
{
    const FormulaContext context = job.FormulaContextAt(page, page);
    const auto holds = [&context](const Formula& condition) {
        if (condition.Text().trimmed().isEmpty())
            return true;
        ExpressionValue value;
        return !condition.Evaluate(context, value) || value.IsTrue();
    };
    if (!list_) {
        ExportRow row;
        row.page = page;
        for (const Line& line : lines_) {
            ExportCell cell;
            if (line.cells.size() == 1 && holds(line.condition)) {
                cell = Cell(job, context, line.cells.front());
            } else if (holds(line.condition)) {
                QStringList texts;
                for (const Formula& formula : line.cells)
                    texts << formula.EvaluateForPrinting(context);
                cell.text = texts.join(QLatin1Char('\n'));
            }
            TrimTrailingBlanks(cell);
            row.cells.push_back(std::move(cell));
        }
        return spool.Append(row);
    }
    for (const Line& line : lines_) {
        if (!holds(line.condition))
            continue;
        ExportRow row;
        row.page = page;
        for (const Formula& formula : line.cells) {
            row.cells.push_back(Cell(job, context, formula));
            TrimTrailingBlanks(row.cells.back());
        }
        if (!spool.Append(row))
            return false;
    }
    return true;
}

} // namespace jornix
