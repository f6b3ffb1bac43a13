// The printing operations of TXEdit and its page pictures.
#include "documents/TXEdit.h"

#include "platform/runtime/SafeFileWriter.h"
#include "platform/richtext/PagePainter.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramPrinter.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/TextValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QSet>
#include <QTemporaryFile>

#include <cmath>
#include <optional>

namespace jornix {
namespace {

// Every page picture the program wrote and has not deleted, so that the clearing at the end deletes ours
// and never another program's.
QSet<QString>& writtenPictures()
{
    static QSet<QString> pictures;
    return pictures;
}

void showPlainMessage(const QString& text)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(), text);
}

const QString NoPages = QStringLiteral("No pages to print.");

// What the printer dialog and the printing change and a call puts back: the printer, its page, and the pages
// and copies of the run, so that a run's page range never carries over to the next document printed on the
// program's printer.
struct PrinterChoice
{
    QString name;
    QPrinter::OutputFormat format;
    QString outputFile;
    QPageLayout layout;
    bool fullPage;
    QPrinter::PrintRange range;
    int fromPage, toPage, copies;

    explicit PrinterChoice(const QPrinter& printer)
        : name(printer.printerName()), format(printer.outputFormat()), outputFile(printer.outputFileName()),
          layout(printer.pageLayout()), fullPage(printer.fullPage()), range(printer.printRange()),
          fromPage(printer.fromPage()), toPage(printer.toPage()), copies(printer.copyCount())
    {
    }
    void RestoreTo(QPrinter& printer) const
    {
        printer.setOutputFormat(format);
        if (format == QPrinter::NativeFormat)
            printer.setPrinterName(name);
        printer.setOutputFileName(outputFile);
        printer.setFullPage(fullPage);
        printer.setPageLayout(layout);
        printer.setPrintRange(range);
        printer.setFromTo(fromPage, toPage);
        printer.setCopyCount(copies);
    }
};

// Page number index as a picture in a new file of the temporary folder, its name in name; a message and false
// when the file cannot be made or written.
bool writeTemporaryPicture(const PagePainter& pages, int index, QString& name)
{
    // The temporary file makes a name that no file has; the file stays when it is closed.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("TXFXXXXXX.pic")));
    file.setAutoRemove(false);
    if (!file.open()) {
        showPlainMessage(QStringLiteral("fhnd error"));
        return false;
    }
    name = file.fileName();
    writtenPictures().insert(name);
    const PageSettings& page = pages.Page();
    if (!WritePagePicture(file, pages, index, QRect(0, 0, page.width, page.height)) || !file.flush()) {
        showPlainMessage(QStringLiteral("Problem %1\n%2").arg(index + 1).arg(file.errorString()));
        return false;
    }
    return true;
}

// The pictures are drawn from a control of their own that is never shown, so that the object's document stays
// as it is. A stored document's page header is passed over: the pictures have a page of their own.
bool loadStoredDocument(RichTextControl& hidden, const QByteArray& stored)
{
    QByteArray bytes = stored;
    DocumentPageHeader header;
    TXEdit::StripPageHeader(bytes, header);
    return hidden.Load(bytes, TextFormat::OwnFormat);
}

// A page in thousandths of an inch as a page in twips without margins.
PageSettings pageOfThousandths(qint32 width, qint32 height)
{
    return {int(width * 1.44), int(height * 1.44), 0, 0, 0, 0};
}

} // namespace

void TXEdit::SetPrinter(QPrinter* printer)
{
    printer_ = printer;
}

QPrinter& TXEdit::Printer()
{
    return printer_ ? *printer_ : ProgramPrinter();
}

int TXEdit::PrintDocument(int skipDialog)
{
    return print(skipDialog);
}

int TXEdit::PrintDirect(int skipDialog)
{
    return print(skipDialog);
}

int TXEdit::print(int skipDialog, const std::function<bool()>& nextCopy)
{
    if (!text_)
        return 0;
    QPrinter& printer = Printer();
    const PrinterChoice remembered(printer);
    std::optional<PagePainter> painted(std::in_place, *text_->document(), text_->Page());
    const PagePainter& pages = *painted;
    const int result = [&] {
        if (!skipDialog && !AskPrinter(printer, QStringLiteral("Select Printer"), pages.PageCount()))
            return 1;
        // A PDF printer needs its file; Qt's printers are otherwise always there (a native one falls back to
        // PDF).
        if (!printer.isValid() ||
            (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())) {
            showPlainMessage(
                QStringLiteral("Failed to get printer device context handle.  Make sure you have "
                               "installed a default printer."));
            return 0;
        }
        // The printer gives 0 (or -1) for "from the first" and "to the last".
        const int last = pages.PageCount();
        const int from = printer.fromPage() > 0 ? qMin(printer.fromPage(), last) : 1;
        const int to = printer.toPage() > 0 ? qBound(from, printer.toPage(), last) : last;
        const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
        printer.setFullPage(true);
        printer.setPageSize(
            QPageSize(pages.PageSizePoints(), QPageSize::Point, QString(), QPageSize::ExactMatch));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&printer)) {
            showPlainMessage(QStringLiteral("StartDoc function failed."));
            return 0;
        }
        const QRectF target(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size());
        const bool toLast = printer.toPage() <= 0; // every copy to its own last page
        bool first = true;
        for (;;) {
            for (int copy = 0; copy < copies; ++copy)
                for (int page = from; page <= (toLast ? painted->PageCount() : qMin(to, painted->PageCount()));
                     ++page) {
                    if (!first && !printer.newPage()) {
                        showPlainMessage(QStringLiteral("StartPage function failed."));
                        printer.abort();
                        return 0;
                    }
                    first = false;
                    painted->PaintPage(painter, page - 1, target);
                    YieldNow(); // a long print lets the other windows go on
                }
            // The next copy (of a merge: the next record) goes into the same job, so that a print to a file
            // holds every copy.
            if (!nextCopy || !nextCopy() || !text_)
                break;
            painted.emplace(*text_->document(), text_->Page());
        }
        painter.end();
        return 1;
    }();
    remembered.RestoreTo(printer);
    return result;
}

int TXEdit::renderPictures(const QTextDocument& document, const PageSettings& page)
{
    if (page.width <= 0 || page.height <= 0) {
        showPlainMessage(NoPages);
        return 0;
    }
    const PagePainter pages(document, page);
    QStringList names;
    for (int index = 0; index < pages.PageCount(); ++index) {
        QString name;
        if (!writeTemporaryPicture(pages, index, name))
            return 0; // the list stays as it was; the pictures written go with DeleteTempMetafiles
        names << name;
    }
    metaList_ = names;
    return 1;
}

int TXEdit::RenderPageMetafiles(double widthInches, double heightInches)
{
    if (!text_)
        return 0;
    // Whole twips, fractions cut.
    const int width = int(std::floor(widthInches * 1440));
    const int height = int(std::floor(heightInches * 1440));
    return renderPictures(*text_->document(), {width, height, 0, 0, 0, 0});
}

int TXEdit::savePagePicture(const QString& fileName, int page, bool textAreaOnly)
{
    if (!text_)
        return 0;
    const PageSettings settings = text_->Page();
    const PagePainter pages(*text_->document(), settings);
    if (page < 1 || page > pages.PageCount()) {
        showPlainMessage(NoPages);
        return 0;
    }
    const QRect area = textAreaOnly ? QRect(settings.marginLeft, settings.marginTop,
                                            settings.width - settings.marginLeft - settings.marginRight,
                                            settings.height - settings.marginTop - settings.marginBottom)
                                    : QRect(0, 0, settings.width - settings.marginRight,
                                            settings.height - settings.marginBottom);
    SafeFileWriter file(fileName);
    if (area.isEmpty() || !file.Open()) {
        showPlainMessage(QStringLiteral("fhnd error"));
        return 0;
    }
    if (!WritePagePicture(file.Device(), pages, page - 1, area))
        file.Cancel();
    if (!file.Commit()) {
        showPlainMessage(QStringLiteral("Problem %1\n%2").arg(page).arg(file.Error()));
        return 0;
    }
    return 1;
}

int TXEdit::SavePageAsMetafile(const QString& fileName, int page)
{
    return savePagePicture(fileName, page, true);
}

int TXEdit::SavePageToFile(const QString& fileName, int page)
{
    return savePagePicture(fileName, page, false);
}

int TXEdit::RenderTextMetafiles(qint32 width, qint32 height, const QByteArray& storedDocument)
{
    RichTextControl hidden;
    if (!loadStoredDocument(hidden, storedDocument))
        return 0;
    return renderPictures(*hidden.document(), pageOfThousandths(width, height));
}

int TXEdit::RenderTextMetafiles(qint32 width, qint32 height, const QString& textOrFileName, int isFileName)
{
    RichTextControl hidden;
    QString error;
    bool loaded = false;
    if (isFileName) {
        const QString fileName = StripTrailingBlanks(textOrFileName);
        loaded = hidden.LoadFile(fileName, LoadFormatFromFileName(fileName), &error);
    } else {
        const bool rtf = textOrFileName.startsWith(QLatin1String("{\\rtf1"));
        loaded = hidden.Load(textOrFileName.toUtf8(), rtf ? TextFormat::Rtf : TextFormat::PlainText, &error);
    }
    if (!loaded) {
        showPlainMessage(error);
        return 0;
    }
    return renderPictures(*hidden.document(), pageOfThousandths(width, height));
}

int TXEdit::RenderBlobOrFileMetafiles(const QByteArray* blob, const QString& fileName, qint32 width,
                                      qint32 height)
{
    if (!blob)
        return RenderTextMetafiles(width, height, fileName, 1);
    if (blob->size() < 16)
        return 0;
    return RenderTextMetafiles(width, height, *blob);
}

int TXEdit::RenderBlobMetafiles(qint32 width, qint32 height, const QByteArray& blob)
{
    if (blob.size() < 16)
        return 0;
    RichTextControl hidden;
    if (!loadStoredDocument(hidden, blob))
        return 0;
    const PageSettings page = pageOfThousandths(width, height);
    if (page.width <= 0 || page.height <= 0) {
        showPlainMessage(NoPages);
        return 0;
    }
    QString name;
    if (!writeTemporaryPicture(PagePainter(*hidden.document(), page), 0, name))
        return 0;
    metaList_ = QStringList{name};
    return 1;
}

int TXEdit::RenderPrintableMetafiles()
{
    if (!text_)
        return 0;
    // The document as it is, in memory: the pictures of its text area.
    const PageSettings page = text_->Page();
    return renderPictures(*text_->document(), {page.width - page.marginLeft - page.marginRight,
                                               page.height - page.marginTop - page.marginBottom, 0, 0, 0, 0});
}

void TXEdit::DeleteMetafiles()
{
    for (const QString& name : std::as_const(metaList_)) {
        QFile::remove(name);
        writtenPictures().remove(name);
    }
    metaList_.clear();
}

void TXEdit::DeleteTempMetafiles()
{
    for (const QString& name : std::as_const(writtenPictures()))
        QFile::remove(name);
    writtenPictures().clear();
}

} // namespace jornix
