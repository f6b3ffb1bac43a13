#pragma once

#include <QString>

namespace jornix {

class Catalogue;

// The owner password of the enciphered record files of the data folder.
inline constexpr auto OwnerPassword = "QXVRTN{5D2E9A41-7C3B-4F86-A0D9-1E6B3C8F2A47}QXVRTN";
// The salt of the record files' key, derived from the owner password once per process.
inline constexpr auto OwnerKeySalt = "Jornix record file key, version 1";

// The program's eleven tables, and the plain-text copies of the log events' documents (LogDocumentText.h): ten
// in eight record files of the data folder and the version-1.0 log in a
// file that the user picks. Fields are numbered from 0 in their record order; memos and BLOBs follow them.
// Memos are fields of their table, so filter and sort expressions reach them by name ("LOG:LogMiniNotes").
Catalogue& JornixCatalogue();

} // namespace jornix
