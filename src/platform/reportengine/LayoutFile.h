#pragma once

#include "platform/reportengine/ReportLayout.h"

#include <QByteArray>
#include <QString>

// Layout files: versioned XML of our own. Reading is defensive, since layouts are imported from anywhere: a
// file too large, damaged or made by a newer version is refused with a message, unknown elements and
// attributes are skipped, and no input makes the reader fail in any other way. Writing goes through a save
// file, so an interrupted save leaves the old layout in place, and keeps the previous file beside the new one
// (".rpt" becomes ".~rpt").
namespace jornix {

constexpr qint64 MaxLayoutFileSize = 16 * 1024 * 1024;

// The layout in `data`; false with the reason in `error` (a sentence part such as "the file is damaged at
// line 3, column 7: ...") when it is refused.
bool ParseLayout(const QByteArray& data, ReportLayout& layout, QString& error);
// The file form of a layout; false when a text holds a character that XML cannot carry.
bool SerializeLayout(const ReportLayout& layout, QByteArray& data, QString& error);

// Whole files; the messages name the file and say what is wrong.
bool ReadLayoutFile(const QString& path, ReportLayout& layout, QString& error);
bool WriteLayoutFile(const QString& path, const ReportLayout& layout, QString& error);

// The file that keeps the previous version of `path`: its extension with "~" in front.
QString LayoutBackupPath(const QString& path);

} // namespace jornix
