#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace jornix {

// The sample documents of the first-run setup ("sample1.tx", "sample2.tx") lie in the program folder's
// DefaultData/ as stored documents, page header and all, just as the notes of a log event hold them.
// Gives the bytes of the named sample, or nothing (with the reason in error) when the file is missing,
// unreadable or no stored document.
std::optional<QByteArray> LoadSampleDocument(const QString& programFolder, const QString& sampleName,
                                             QString* error = nullptr);

} // namespace jornix
