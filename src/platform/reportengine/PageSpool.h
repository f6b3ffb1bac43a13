#pragma once

#include "platform/reportengine/PageModel.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// The pages of a print run, kept in a file of a temporary folder of their own so that memory stays flat
// however long the run: a page goes to disk as soon as it is finished and is read back one at a time.
namespace jornix {

class PageSpool
{
public:
    PageSpool();
    ~PageSpool();
    PageSpool(const PageSpool&) = delete;
    PageSpool& operator=(const PageSpool&) = delete;

    // False, with the reason, when the folder or its file cannot be made.
    bool IsOpen() const { return file_.isOpen(); }
    const QString& Error() const { return error_; }
    QString Folder() const;

    bool Append(const Page& page);
    int PageCount() const { return int(offsets_.size()); }
    // The page at `index` (from 0); false when it cannot be read back.
    bool Read(int index, Page& page);

    // Removes the folder and its file; the spool holds no pages afterwards.
    void Remove();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QFile file_;
    std::vector<qint64> offsets_;
    QString error_;
};

} // namespace jornix
