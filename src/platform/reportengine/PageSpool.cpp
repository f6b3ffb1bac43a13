#include "platform/reportengine/PageSpool.h"

#include "platform/reportengine/SpoolFile.h"

#include <QDir>

namespace jornix {

PageSpool::PageSpool()
    : folder_(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/jornix-pages-XXXXXX")))
{
    if (!folder_->isValid()) {
        error_ = QStringLiteral("the page folder cannot be made: %1").arg(folder_->errorString());
        return;
    }
    file_.setFileName(folder_->filePath(QStringLiteral("pages")));
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        error_ = QStringLiteral("the page file cannot be made: %1").arg(file_.errorString());
}

PageSpool::~PageSpool() = default;

QString PageSpool::Folder() const
{
    return folder_ ? folder_->path() : QString();
}

bool PageSpool::Append(const Page& page)
{
    if (!file_.isOpen())
        return false;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << page;
    const qint64 at = file_.size();
    QString reason;
    if (!AppendToSpool(file_, bytes, reason)) {
        error_ = QStringLiteral("the page file cannot be written: %1").arg(reason);
        return false;
    }
    offsets_.push_back(at);
    return true;
}

bool PageSpool::Read(int index, Page& page)
{
    if (index < 0 || index >= PageCount() || !file_.isOpen())
        return false;
    const qint64 end = index + 1 < PageCount() ? offsets_[std::size_t(index) + 1] : file_.size();
    if (!file_.seek(offsets_[std::size_t(index)]))
        return false;
    const QByteArray bytes = file_.read(end - offsets_[std::size_t(index)]);
    QDataStream in(bytes);
    in >> page;
    return in.status() == QDataStream::Ok;
}

void PageSpool::Remove()
{
    file_.close();
    offsets_.clear();
    if (folder_)
        folder_->remove();
    folder_.reset();
}

} // namespace jornix
