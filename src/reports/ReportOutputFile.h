#pragma once

#include <QString>

// The file a report writes: per output format the save dialog's mask, the default name and the extension,
// the rule that gives a typed name its extension, and the dialog itself. Preview (2) and Printer (3) write no
// file.
namespace jornix {

struct OutputFileKind
{
    int format = 0;
    QString mask; // "Adobe PDF (*.pdf)|*.PDF"
    QString defaultName;
    QString extension; // ".pdf"
};

// The kind of a format that writes a file; nullptr for Preview, Printer and numbers that are no format.
const OutputFileKind* FindOutputFileKind(int format);
bool WritesFile(int format);

// The trimmed name, with the extension appended unless its text from the last "." on, trimmed and in lower
// case, is the extension already ("june." gives "june..pdf", "june.PDF" stays).
QString GiveExtension(const QString& name, const QString& extension);

struct OutputFileChoice
{
    bool go = true; // false: the user cancelled the dialog, nothing is to be printed
    QString file;   // empty for the formats that write no file
};

// Asks for the file of a format that writes one ("Select Report OutPut File") and gives it its extension.
OutputFileChoice AskReportOutputFile(int format);

} // namespace jornix
