#include "platform/reportengine/EmfExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/TextLines.h"

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

// libEMF's headers define min, max, ERROR, TRANSPARENT and more as macros: they come last, in this file only.
#include <libEMF/emf.h>

namespace jornix {

namespace {

COLORREF Colour(const QColor& colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

class Metafile
{
public:
    Metafile(const QString& path, const QSizeF& paper, const QString& title)
    {
        RECT frame{0, 0, LONG(std::lround(paper.width() * 100)), LONG(std::lround(paper.height() * 100))};
        // The program's name and the title, each ending with a NUL, and a NUL after both. libEMF copies the
        // description in whole words, so NULs beyond the end keep it from reading past the buffer.
        std::string description = "Jornix";
        description.push_back('\0');
        description += title.toLatin1().toStdString(); // the file's code page: other characters as "?"
        description.append(16, '\0');
        dc_ = CreateEnhMetaFileA(0, QFile::encodeName(path).constData(), &frame, description.c_str());
        if (!dc_)
            return;
        // Logical units of a hundredth of a millimetre, mapped on the reference device's pixels, so that
        // positions and font sizes keep their precision whatever the device's resolution.
        const int pixels = GetDeviceCaps(dc_, HORZRES);
        const int millimetres = GetDeviceCaps(dc_, HORZSIZE);
        const double perMillimetre =
            pixels > 0 && millimetres > 0 ? double(pixels) / millimetres : 300 / 25.4;
        SetMapMode(dc_, MM_ANISOTROPIC);
        SetWindowExtEx(dc_, frame.right, frame.bottom, nullptr);
        SetViewportExtEx(dc_, INT(std::lround(paper.width() * perMillimetre)),
                         INT(std::lround(paper.height() * perMillimetre)), nullptr);
        scale_ = 100;
        SetBkMode(dc_, TRANSPARENT);
        SetTextAlign(dc_, TA_BASELINE | TA_LEFT);
    }
    ~Metafile()
    {
        if (dc_)
            Close();
    }
    bool IsOpen() const { return dc_ != 0; }
    bool Close()
    {
        // libEMF throws when it cannot write the file: that is a page that could not be written.
        HENHMETAFILE metafile = 0;
        try {
            metafile = CloseEnhMetaFile(dc_);
        } catch (...) {
        }
        dc_ = 0;
        if (!metafile)
            return false;
        DeleteEnhMetaFile(metafile);
        return true;
    }

    int X(double millimetres) const { return int(std::lround(millimetres * scale_)); }

    void Text(const PagePrimitive& run)
    {
        LOGFONTW font{};
        font.lfHeight =
            -LONG(std::lround((run.style.pointSize > 0 ? run.style.pointSize : 10) * 25.4 / 72 * scale_));
        font.lfWeight = run.style.bold ? FW_BOLD : FW_NORMAL;
        font.lfItalic = run.style.italic;
        font.lfUnderline = run.style.underline;
        font.lfCharSet = DEFAULT_CHARSET;
        const QString face = run.style.fontFamily.left(LF_FACESIZE - 1);
        for (qsizetype at = 0; at < face.size(); ++at)
            font.lfFaceName[at] = WCHAR(face.at(at).unicode());
        HFONT handle = CreateFontIndirectW(&font);
        HGDIOBJ before = SelectObject(dc_, handle);
        SetTextColor(dc_, Colour(run.style.colour));
        const QString text = run.text;
        std::vector<WCHAR> characters(std::size_t(text.size()));
        for (qsizetype at = 0; at < text.size(); ++at)
            characters[std::size_t(at)] = WCHAR(text.at(at).unicode());
        TextOutW(dc_, X(run.frame.left()), X(run.frame.top() + Ascent(run.style)), characters.data(),
                 INT(characters.size()));
        SelectObject(dc_, before);
        DeleteObject(handle);
    }

    void Shape(const PagePrimitive& shape)
    {
        const bool outlined = shape.kind == PrimitiveKind::Line || shape.penWidth > 0;
        HPEN pen = outlined ? CreatePen(PS_SOLID, qMax(X(shape.penWidth), 1), Colour(shape.pen)) : HPEN(0);
        HGDIOBJ beforePen = SelectObject(dc_, pen ? HGDIOBJ(pen) : GetStockObject(NULL_PEN));
        if (shape.kind == PrimitiveKind::Line) {
            MoveToEx(dc_, X(shape.frame.left()), X(shape.frame.top()), nullptr);
            LineTo(dc_, X(shape.frame.right()), X(shape.frame.bottom()));
        } else {
            HBRUSH brush = shape.fill.isValid() ? CreateSolidBrush(Colour(shape.fill)) : HBRUSH(0);
            HGDIOBJ beforeBrush = SelectObject(dc_, brush ? HGDIOBJ(brush) : GetStockObject(NULL_BRUSH));
            Rectangle(dc_, X(shape.frame.left()), X(shape.frame.top()), X(shape.frame.right()),
                      X(shape.frame.bottom()));
            SelectObject(dc_, beforeBrush);
            if (brush)
                DeleteObject(brush);
        }
        SelectObject(dc_, beforePen);
        if (pen)
            DeleteObject(pen);
    }

    void Picture(const PagePrimitive& picture)
    {
        // Rows bottom up in blue, green, red order, each a multiple of four bytes long, as QImage keeps them.
        const QImage image =
            PrimitiveImage(picture, ExportPictureDpi).convertToFormat(QImage::Format_BGR888).mirrored();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = image.width();
        info.bmiHeader.biHeight = image.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = DWORD(image.sizeInBytes());
        StretchDIBits(dc_, X(picture.frame.left()), X(picture.frame.top()), X(picture.frame.width()),
                      X(picture.frame.height()), 0, 0, image.width(), image.height(), image.constBits(),
                      &info, DIB_RGB_COLORS, SRCCOPY);
    }

private:
    HDC dc_ = 0;
    double scale_ = 1;
};

// A file in memory that libEMF, which writes only to files it opens itself, writes the page into, so that the
// page reaches the disk through the export's save file.
class MemoryFile
{
public:
    MemoryFile() : fd_(memfd_create("jornix-page.emf", MFD_CLOEXEC)) {}
    ~MemoryFile()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // A name that opens this same file.
    QString Path() const { return QStringLiteral("/proc/self/fd/%1").arg(fd_); }
    QByteArray ReadAll() const
    {
        QByteArray bytes;
        char block[65536];
        ssize_t n = 0;
        for (off_t at = 0; (n = pread(fd_, block, sizeof block, at)) > 0; at += n)
            bytes.append(block, qsizetype(n));
        return n < 0 ? QByteArray() : bytes;
    }

private:
    int fd_;
};

// Whether the bytes are a whole metafile: libEMF does not say when a write of it failed, but its header
// gives the file's length.
bool IsWholeMetafile(const QByteArray& bytes)
{
    constexpr qsizetype signature = 40, length = 48;
    if (bytes.size() < length + 4)
        return false;
    const auto dword = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    return dword(signature) == 0x464D4520u && dword(length) == quint32(bytes.size()); // " EMF"
}

} // namespace

bool WriteEmf(const ExportSource& source, ExportFiles& files, QString& error)
{
    const int lastPage = source.spool.PageCount();
    return ForEachPage(
        source,
        [&](const Page& page, int n) {
            const QString path = files.PagePath(n);
            MemoryFile memory;
            if (!memory.IsOpen()) {
                error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
                return false;
            }
            Metafile metafile(memory.Path(), page.paper, source.title);
            if (!metafile.IsOpen()) {
                error = QStringLiteral("\"%1\" cannot be written").arg(path);
                return false;
            }
            for (const PagePrimitive& primitive : ResolvedPrimitives(page, lastPage)) {
                switch (primitive.kind) {
                case PrimitiveKind::TextRun:
                    metafile.Text(primitive);
                    break;
                case PrimitiveKind::Line:
                case PrimitiveKind::Rectangle:
                    metafile.Shape(primitive);
                    break;
                case PrimitiveKind::Image:
                case PrimitiveKind::Drawing:
                case PrimitiveKind::Barcode:
                    metafile.Picture(primitive);
                    break;
                case PrimitiveKind::LateText:
                    break;
                }
            }
            const QByteArray bytes = metafile.Close() ? memory.ReadAll() : QByteArray();
            if (!IsWholeMetafile(bytes)) {
                error = QStringLiteral("\"%1\" cannot be written: the page could not be drawn").arg(path);
                return false;
            }
            if (!WriteSavedFile(
                    path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); }, error))
                return false;
            files.Written(path);
            return true;
        },
        error);
}

} // namespace jornix
