#include "platform/reportengine/RowSpool.h"

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
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate))
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
    if (!file_.seek(file_.size()) || file_.write(bytes) != bytes.size()) {
        error_ = QStringLiteral("the row file cannot be written: %1").arg(file_.errorString());
        return false;
    }
    ++count_;
    return true;
}

bool RowSpool::ForEach(const std::function<bool(const ExportRow& row)>& each) const
{
    if (!file_.isOpen() || !file_.seek(0))
        return false;
    QDataStream in(&file_);
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
