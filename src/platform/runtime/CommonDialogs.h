#pragma once

#include "platform/runtime/FileFolders.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;

// The common dialogs: file open and save, folder, colour, font and printer. Like message boxes they are Qt's
// own dialogs shown non-modal over the calling thread's windows; the thread waits for the answer and the
// other threads' windows stay usable.
namespace jornix {

struct CommonDialogRequest
{
    enum class Kind
    {
        OpenFile,
        SaveFile,
        Folder,
        Colour,
        Font,
        Printer
    };
    Kind kind = Kind::OpenFile;
    QString title;
    QString filters;             // file dialogs: "Name|*.ext|Other|*.a;*.b"
    QString path;                // the folder or file the dialog starts at
    QColor colour;               // the colour dialog's start; the font dialog's text colour when withColour
    QFont font;                  // the font dialog's start
    bool withColour = false;     // the font dialog offers a text colour too
    QPrinter* printer = nullptr; // the printer dialog's printer, which it changes when accepted
    int pageCount = 0;           // the printer dialog offers a page range from 1 to this when above 0
};

struct CommonDialogAnswer
{
    bool accepted = false;
    QString path;
    QColor colour; // the colour chosen; the font dialog's text colour when asked withColour
    QFont font;
};

// File dialogs give the chosen file's path, empty when cancelled. The filter text pairs a name with its
// patterns ("Documents|*.tx;*.rtf|All Files|*.*"); patterns match file names without regard to case.
// A kind of file starts the dialog in the kind's folder (FileFolders) unless the path names a folder, and the
// folder of the file chosen becomes the kind's folder for the next dialog.
QString AskOpenFileName(const QString& title, const QString& filters, const QString& path = {},
                        FileKind kind = FileKind::Any);
QString AskSaveFileName(const QString& title, const QString& filters, const QString& path = {},
                        FileKind kind = FileKind::Any);
QString AskFolder(const QString& title, const QString& path = {});
// These change their argument only when the user accepts, and say whether the user did.
bool AskColour(QColor& colour, const QString& title = {});
bool AskFont(QFont& font, const QString& title = {});
// The font dialog with a text colour besides the font (typeface, size, weight, italic, underline,
// strike-out).
bool AskFont(QFont& font, QColor& colour, const QString& title = {});
// The printer dialog offers the number of copies, and a page range when the page count is given.
bool AskPrinter(QPrinter& printer, const QString& title = {}, int pageCount = 0);

// "Name|*.a;*.b|..." as Qt's name filters {"Name (*.a *.b)", ...}.
QStringList NameFiltersFromText(const QString& filters);

// Tests replace every common dialog with a sink that records the request and answers it.
using CommonDialogSink = std::function<CommonDialogAnswer(const CommonDialogRequest&)>;
void SetCommonDialogSink(CommonDialogSink sink); // an empty sink restores the real dialogs

} // namespace jornix
