#include "platform/reportengine/XlsExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/RowSpool.h"
#include "platform/reportengine/XlsContainer.h"

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace jornix {

namespace {

// Record numbers of BIFF8.
enum Record : quint16
{
    Bof = 0x0809,
    Eof = 0x000A,
    CodePage = 0x0042,
    Window1 = 0x003D,
    Font = 0x0031,
    Xf = 0x00E0,
    Style = 0x0293,
    BoundSheet = 0x0085,
    Sst = 0x00FC,
    Continue = 0x003C,
    Dimensions = 0x0200,
    Window2 = 0x023E,
    LabelSst = 0x00FD,
    Number = 0x0203
};

constexpr qsizetype MaxRecordData = 8224;

// Cell formats: the fifteen style formats come first, as readers expect.
constexpr quint16 GeneralXf = 15;
constexpr quint16 DateXf = 16;     // built-in number format 14, the desktop's short date
constexpr quint16 DateTimeXf = 17; // built-in number format 22, date and time
constexpr quint16 TitleXf = 18;    // bold
constexpr quint16 BoldFont = 5;    // font index 4 does not exist in BIFF

class Bytes
{
public:
    QByteArray data;
    Bytes& U8(quint8 value)
    {
        data += char(value);
        return *this;
    }
    Bytes& U16(quint16 value)
    {
        char bytes[2];
        qToLittleEndian(value, bytes);
        data.append(bytes, 2);
        return *this;
    }
    Bytes& U32(quint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        data.append(bytes, 4);
        return *this;
    }
    Bytes& F64(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        char bytes[8];
        qToLittleEndian(bits, bytes);
        data.append(bytes, 8);
        return *this;
    }
    Bytes& Utf16(const QString& text)
    {
        for (const QChar c : text)
            U16(c.unicode());
        return *this;
    }
};

void Put(QByteArray& stream, quint16 record, const QByteArray& data)
{
    Bytes header;
    header.U16(record).U16(quint16(data.size()));
    stream += header.data + data;
}

QByteArray BofRecord(quint16 type)
{
    Bytes bof;
    bof.U16(0x0600).U16(type).U16(0x0DBB).U16(0x07CC).U32(0).U32(0x06);
    return bof.data;
}

QByteArray FontRecord(bool bold)
{
    Bytes font;
    font.U16(200).U16(0).U16(0x7FFF).U16(bold ? 700 : 400).U16(0).U8(0).U8(0).U8(0).U8(0);
    font.U8(5).U8(0);
    font.data += "Arial";
    return font.data;
}

QByteArray XfRecord(quint16 font, quint16 format, bool style, quint8 used)
{
    Bytes xf;
    xf.U16(font).U16(format).U16(style ? 0xFFF5 : 0x0001).U8(0x20).U8(0).U8(0).U8(used);
    xf.U32(0).U32(0).U16(0x20C0);
    return xf.data;
}

// The shared strings in SST and CONTINUE records: a string that does not fit the record goes on in the next,
// which starts again with the string's flags byte; a string's length and flags are never split.
QByteArray SharedStrings(const QStringList& strings, quint32 uses)
{
    QByteArray stream;
    Bytes record;
    record.U32(uses).U32(quint32(strings.size()));
    quint16 type = Sst;
    const auto flush = [&] {
        Put(stream, type, record.data);
        record.data.clear();
        type = Continue;
    };
    for (const QString& text : strings) {
        if (record.data.size() + 3 + 2 > MaxRecordData)
            flush();
        record.U16(quint16(text.size())).U8(0x01);
        qsizetype at = 0;
        while (at < text.size()) {
            const qsizetype room = (MaxRecordData - record.data.size()) / 2;
            if (room <= 0) {
                flush();
                record.U8(0x01);
                continue;
            }
            const qsizetype take = std::min(room, text.size() - at);
            record.Utf16(text.mid(at, take));
            at += take;
        }
    }
    flush();
    return stream;
}

class Workbook
{
public:
    explicit Workbook(const QStringList& columns)
        : titles_(columns.mid(0, XlsMaxColumns)), columns_(int(titles_.size()))
    {
        NewSheet();
    }

    void AddRow(const ExportRow& row)
    {
        if (sheets_.back().rows >= XlsMaxRows)
            NewSheet();
        Sheet& sheet = sheets_.back();
        const int count = int(std::min<std::size_t>(row.cells.size(), std::size_t(columns_)));
        for (int column = 0; column < count; ++column) {
            const ExportCell& cell = row.cells[std::size_t(column)];
            switch (cell.kind) {
            case ExportCell::Kind::Number:
                NumberCell(sheet, column, cell.number, GeneralXf);
                break;
            case ExportCell::Kind::Date: {
                const double serial = cell.number - XlsDateOffset;
                NumberCell(sheet, column, serial, serial == std::floor(serial) ? DateXf : DateTimeXf);
                break;
            }
            case ExportCell::Kind::Text:
                if (!cell.text.isEmpty())
                    Text(sheet, column, cell.text, GeneralXf);
                break;
            }
        }
        ++sheet.rows;
    }

    QByteArray Stream() const
    {
        QByteArray globals;
        Put(globals, Bof, BofRecord(0x0005));
        Put(globals, CodePage, Bytes().U16(0x04B0).data);
        Put(globals, Window1,
            Bytes().U16(0).U16(0).U16(0x4000).U16(0x2000).U16(0x38).U16(0).U16(0).U16(1).U16(0x258).data);
        for (int font = 0; font < 4; ++font)
            Put(globals, Font, FontRecord(false));
        Put(globals, Font, FontRecord(true));
        for (int style = 0; style < 15; ++style)
            Put(globals, Xf, XfRecord(0, 0, true, 0));
        Put(globals, Xf, XfRecord(0, 0, false, 0));
        Put(globals, Xf, XfRecord(0, 14, false, 0x04));
        Put(globals, Xf, XfRecord(0, 22, false, 0x04));
        Put(globals, Xf, XfRecord(BoldFont, 0, false, 0x08));
        Put(globals, Style, Bytes().U16(0x8000).U8(0).U8(0xFF).data);
        std::vector<qsizetype> entries;
        for (std::size_t at = 0; at < sheets_.size(); ++at) {
            const QByteArray name = at == 0 ? QByteArray("Report") : "Report " + QByteArray::number(at + 1);
            Bytes entry;
            entry.U32(0).U8(0).U8(0).U8(quint8(name.size())).U8(0);
            entry.data += name;
            entries.push_back(globals.size());
            Put(globals, BoundSheet, entry.data);
        }
        globals += SharedStrings(strings_, uses_);
        Put(globals, Eof, {});

        QByteArray stream = globals;
        for (std::size_t at = 0; at < sheets_.size(); ++at) {
            // Each sheet's place in the stream goes into its BOUNDSHEET record.
            qToLittleEndian(quint32(stream.size()), stream.data() + entries[at] + 4);
            const Sheet& sheet = sheets_[at];
            Put(stream, Bof, BofRecord(0x0010));
            Put(stream, Dimensions,
                Bytes().U32(0).U32(quint32(sheet.rows)).U16(0).U16(quint16(columns_)).U16(0).data);
            stream += sheet.cells;
            Put(stream, Window2,
                Bytes().U16(at == 0 ? 0x06B6 : 0x00B6).U16(0).U16(0).U32(0x40).U16(0).U16(0).U32(0).data);
            Put(stream, Eof, {});
        }
        return stream;
    }

private:
    struct Sheet
    {
        QByteArray cells;
        int rows = 0;
    };

    // A sheet begins with the column titles.
    void NewSheet()
    {
        sheets_.emplace_back();
        for (int column = 0; column < columns_; ++column)
            Text(sheets_.back(), column, titles_.at(column), TitleXf);
        sheets_.back().rows = 1;
    }

    void Text(Sheet& sheet, int column, const QString& text, quint16 xf)
    {
        const QString cut = text.left(XlsMaxText);
        auto found = index_.constFind(cut);
        if (found == index_.constEnd()) {
            found = index_.insert(cut, quint32(strings_.size()));
            strings_ << cut;
        }
        ++uses_;
        Put(sheet.cells, LabelSst,
            Bytes().U16(quint16(sheet.rows)).U16(quint16(column)).U16(xf).U32(*found).data);
    }

    void NumberCell(Sheet& sheet, int column, double value, quint16 xf)
    {
        Put(sheet.cells, Number,
            Bytes().U16(quint16(sheet.rows)).U16(quint16(column)).U16(xf).F64(value).data);
    }

    QStringList titles_;
    int columns_ = 0;
    std::vector<Sheet> sheets_;
    QStringList strings_;
    QHash<QString, quint32> index_;
    quint32 uses_ = 0;
};

} // namespace

bool WriteXls(const ExportSource& source, ExportFiles& files, QString& error)
{
    Workbook workbook(source.rows->Columns());
    if (!ForEachRow(
            source,
            [&](const ExportRow& row, int) {
                workbook.AddRow(row);
                return true;
            },
            error))
        return false;
    const QByteArray stream = workbook.Stream();
    std::string bytes, reason;
    if (!MakeWorkbookFile(reinterpret_cast<const unsigned char*>(stream.constData()), std::size_t(stream.size()),
                          bytes, reason)) {
        error =
            QStringLiteral("\"%1\" cannot be written: %2").arg(files.Path(), QString::fromStdString(reason));
        return false;
    }
    if (!WriteSavedFile(
            files.Path(),
            [&](QIODevice& out) { return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()); },
            error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
