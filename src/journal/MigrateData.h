#pragma once

namespace jornix {

// The wizard "Migrate Data from Jornix 1.0": copies the log events of a version-1.0 log ("LogFile.TPS", a
// plain record file whose table LogFile has the version-1.0 layout) into the log of the data folder, as
// events of the signed-in user, each with a new number, its notes as its document and the private choice of
// the wizard. Only administrators with full access to log events may run it. It runs modally on the
// caller's thread; the old file is only read, and no other program writes it while the wizard reads it.
void MigrateData();

} // namespace jornix
