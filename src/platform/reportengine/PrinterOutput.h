#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

#include <functional>

class QPrinter;

// Printing the pages of a run. The printer settings kept beside a layout name the printer, the paper, the
// orientation and the copies:
//   Printer=<the printer's name>     none, or one that is not installed: the desktop's default printer
//   Paper=<A4, Letter, Legal ...>    none: the layout's own paper size
//   Orientation=Portrait|Landscape
//   Copies=<n>
//   File=<path>                      print to a PDF file instead of a printer
namespace jornix {

class PageSpool;
class PrinterSettings;

namespace PrinterKey {
inline const QString Printer = QStringLiteral("Printer");
inline const QString Paper = QStringLiteral("Paper");
inline const QString Orientation = QStringLiteral("Orientation");
inline const QString Copies = QStringLiteral("Copies");
inline const QString File = QStringLiteral("File");
} // namespace PrinterKey

// Sets up the printer from the settings; the layout's paper (millimetres) when they name none.
void ConfigurePrinter(QPrinter& printer, const PrinterSettings& settings, const QSizeF& layoutPaper);

// False with the reason when no printer is there or the printer refuses; `progress` may stop it.
bool PrintPages(QPrinter& printer, PageSpool& spool, const QList<int>& pages,
                const std::function<bool(int done)>& progress, QString& error);

} // namespace jornix
