#pragma once

#include <QList>
#include <QString>

#include <functional>

// The PDF export: pages of the spool as a PDF with real text in embedded fonts. The file is written through
// a save file: a cancelled or failed export leaves no file and keeps what was there before.
namespace jornix {

class PageSpool;

bool WritePdf(PageSpool& spool, const QList<int>& pages, const QString& path, const QString& title,
              const std::function<bool(int done)>& progress, QString& error);

} // namespace jornix
