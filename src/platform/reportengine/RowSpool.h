#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

// The records of a print run as table rows, for the exports that write tables (XLS, XML): a list project's
// data lines, a row each, and one row per card or label with a cell per text object. Like the pages, the
// rows go to a file of a temporary folder as they come, so that memory stays flat however long the run.
namespace jornix {

struct ExportCell
{
    enum class Kind : quint8
    {
        Text,
        Number,
        Date // `number` is the engine's date value: the Julian day, its fraction the time of day
    };
    Kind kind = Kind::Text;
    QString text; // Text; Number and Date also keep the text they print as
    double number = 0;
};

struct ExportRow
{
    int page = 1; // the page the record was printed on
    std::vector<ExportCell> cells;
};

class RowSpool
{
public:
    explicit RowSpool(QStringList columns);
    ~RowSpool();
    RowSpool(const RowSpool&) = delete;
    RowSpool& operator=(const RowSpool&) = delete;

    const QStringList& Columns() const { return columns_; }
    bool IsOpen() const { return file_.isOpen(); }
    const QString& Error() const { return error_; }

    bool Append(const ExportRow& row);
    int RowCount() const { return count_; }
    // Reads the rows back in order; `each` answering false stops. False when a row cannot be read back.
    bool ForEach(const std::function<bool(const ExportRow& row)>& each) const;

private:
    QStringList columns_;
    std::unique_ptr<QTemporaryDir> folder_;
    QFile file_;
    int count_ = 0;
    QString error_;
};

} // namespace jornix
