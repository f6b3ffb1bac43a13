#pragma once

#include <QString>

// Puts the factory report layouts back into the data folder (GLO.DataPath) and the layout table, keeping the
// layouts the user made. The tables LLA_: and LLL_: are open on the calling thread.
//
// Nothing changes until every shipped layout of the program folder's "DefaultData/" (its ".rpt", which must
// parse, and its ".bmp") has been checked. Then the sentinel rows 99 are added when missing, and every user
// layout numbered 1 to 98 is copied first: a new row through the data layer, numbered above the highest ever
// given, and its ".rpt", ".bmp" and ".prn" (those it has) under the new name, each through a temporary file
// and a rename. When a check or a copy fails, the copies made so far are taken back, no old row or file is
// deleted and the answer says what failed. Otherwise the old rows go through the data layer (which removes
// their files), the shipped files are copied in and the seventeen factory rows are written directly.
//
// The answer is empty when the layouts were reset, otherwise the message for the user.
namespace jornix {

constexpr int FactoryLayoutCount = 17;
constexpr qint32 SentinelLayout = 99;

QString InstallFactoryLayouts();

} // namespace jornix
