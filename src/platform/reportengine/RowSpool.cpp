#include "platform/reportengine/RowSpool.h"

#include "platform/reportengine/SpoolFile.h"

#include <QDataStream>
#include <QDir>

namespace jornix {

RowSpool::RowSpool(QStringList columns)
    : columns_(std::move(columns)),
      folder_(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/jornix-rows-XXXXXX")))
{
    if (!folder_->isValid()) {
        error_ = QStringLiteral("the row folder cannot be made: %1").arg(folder_->errorString());
        return;
    }
    file_.setFileName(folder_->filePath(QStringLiteral("rows")));
    // Written unbuffered (AppendToSpool) and read through a buffered file of its own.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        error_ = QStringLiteral("the row file cannot be made: %1").arg(file_.errorString());
}

RowSpool::~RowSpool() = default;

bool RowSpool::Append(const ExportRow& row)
{
    if (!file_.isOpen())
        return false;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(row.page) << quint32(row.cells.size());
    for (const ExportCell& cell : row.cells)
        out << quint8(cell.kind) << cell.text << cell.number;
    QString reason;
    if (!AppendToSpool(file_, bytes, reason)) {
        error_ = QStringLiteral("the row file cannot be written: %1").arg(reason);
        return false;
    }
    ++count_;
    return true;
}

bool RowSpool::ForEach(const std::function<bool(const ExportRow& row)>& each) const
{
    QFile rows(file_.fileName());
    if (!file_.isOpen() || !rows.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&rows);
    for (int at = 0; at < count_; ++at) {
        ExportRow row;
        qint32 page = 0;
        quint32 cells = 0;
        in >> page >> cells;
        row.page = page;
        row.cells.reserve(std::min<quint32>(cells, 1024));
        for (quint32 cell = 0; cell < cells && in.status() == QDataStream::Ok; ++cell) {
            ExportCell value;
            quint8 kind = 0;
            in >> kind >> value.text >> value.number;
            value.kind = ExportCell::Kind(kind);
            row.cells.push_back(std::move(value));
        }
        if (in.status() != QDataStream::Ok)
            return false;
        if (!each(row))
            return true;
    }
    return true;
}

} // namespace jornix
