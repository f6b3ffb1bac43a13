#pragma once

#include <QFile>
#include <QString>

namespace jornix {

// Appends the bytes of one record (a page, a row) to a spool file, straight to its descriptor: a write the
// disk refuses fails here, with the system's reason ("No space left on device"), not in a later flush or
// read, and a record written in part is cut off again so that the records before it read as they were.
bool AppendToSpool(QFile& file, const QByteArray& bytes, QString& reason);

} // namespace jornix
