#include "platform/reportengine/XmlExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/Formula.h"
#include "platform/reportengine/RowSpool.h"

#include <cmath>

namespace jornix {

namespace {

QString ItemValue(const ExportCell& cell, QString& type)
{
    switch (cell.kind) {
    case ExportCell::Kind::Number:
        type = QStringLiteral("number");
        return QString::number(cell.number, 'g', 15);
    case ExportCell::Kind::Date: {
        type = QStringLiteral("date");
        const QDate date = FormulaDate(cell.number);
        const QTime time = FormulaTime(cell.number);
        QString text = date.toString(Qt::ISODate);
        if (time.isValid() && time != QTime(0, 0))
            text += QLatin1Char('T') + time.toString(QStringLiteral("hh:mm:ss"));
        return text;
    }
    case ExportCell::Kind::Text:
        break;
    }
    type = QStringLiteral("text");
    return cell.text;
}

} // namespace

bool WriteXml(const ExportSource& source, ExportFiles& files, QString& error)
{
    const QStringList& columns = source.rows->Columns();
    const auto write = [&](QIODevice& out) {
        const auto put = [&out](const QString& text) {
            const QByteArray bytes = text.toUtf8();
            return out.write(bytes) == bytes.size();
        };
        if (!put(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<report xmlns=\"urn:jornix:report-export\" version=\"1\" title=\"%1\">\n")
                     .arg(MarkupText(source.title))))
            return false;
        const bool rows = ForEachRow(
            source,
            [&](const ExportRow& row, int number) {
                QString record =
                    QStringLiteral("  <record number=\"%1\" page=\"%2\">\n").arg(number).arg(row.page);
                for (std::size_t at = 0; at < row.cells.size(); ++at) {
                    QString type;
                    const QString value = ItemValue(row.cells[at], type);
                    record += QStringLiteral("    <item name=\"%1\" type=\"%2\">%3</item>\n")
                                  .arg(MarkupText(columns.value(qsizetype(at))), type, MarkupText(value));
                }
                return put(record + QStringLiteral("  </record>\n"));
            },
            error);
        return rows && put(QStringLiteral("</report>\n"));
    };
    if (!WriteSavedFile(files.Path(), write, error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
