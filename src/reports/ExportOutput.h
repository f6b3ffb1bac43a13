#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The output file of a print run to a file: the export format of an output, the parameters the export
// receives, and the names the further files of a many-file export (one picture per page) are given.
namespace jornix {

// The text after the last "/" of the path without trailing blanks; the whole text when there is none.
QString GetFileName(const QString& path);
// The folder of the path, without the final "/"; empty when the path names none.
QString OutputFolder(const QString& path);

// The export format of an output format ("PDF", "PICTURE_JPEG" ...); empty for preview, printer and others.
QString ExportFormatOf(int outputFormat);
// The print target of an output format ("PRV", "PRN", "PDF", "JPG" ...); empty for other numbers.
QString PrintTargetOf(int outputFormat);

// The export's parameters in the order it receives them.
std::vector<std::pair<QString, QString>> ExportParameters(const QString& outputFile, bool showResult);

// Gives each written file but the output file itself the name of its page: the output's folder, its base
// name, the number its own name starts with in four digits, and its extension. Nothing is renamed when one
// file or none was written; a name that another file has already is left alone, so no file is overwritten.
void NameFurtherFiles(const QStringList& filesWritten, const QString& outputFile);

} // namespace jornix
