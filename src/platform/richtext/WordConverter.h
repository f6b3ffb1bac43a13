#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Word documents (.doc) are made from RTF by LibreOffice ("soffice --headless --convert-to doc"), where it
// is installed.
namespace jornix {

// The Word document of the RTF in word; the error text, empty when it worked. The calling program thread
// gives way while the converter runs; a converter that takes longer than two minutes is stopped.
QString ConvertRtfToWord(const QByteArray& rtf, QByteArray& word);

// The seam for tests: the converter gets the RTF file and the folder for the Word file, which is to be named
// as the RTF file with the extension "doc", and returns the error text, empty when it worked. An empty
// converter restores LibreOffice.
using WordConverter = std::function<QString(const QString& rtfFile, const QString& outputFolder)>;
void SetWordConverter(WordConverter converter);

} // namespace jornix
