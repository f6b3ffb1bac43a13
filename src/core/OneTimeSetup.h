#pragma once

#include "core/CreateJornixDatabase.h"

#include <QString>

namespace jornix {

// The first-run setup "Jornix Setup", run on the main thread when the data folder holds no "Jornix.tps": the
// user chooses the data folder; when a database is there the setup ends, otherwise the user defines the first
// login and the setup makes the database (CreateJornixDatabase). 1 when finished (database found, or made), 0
// when cancelled.
int OneTimeSetup();

// The checks of the wizard's pages, each with its own messages.

enum class DataPathAnswer
{
    Refused,       // blank, reserved or not to be made: the page stays
    DatabaseFound, // the folder holds "Jornix.tps"
    NewDatabase    // the folder is set and written to the settings; the login comes next
};
// The data path page's "Next >>": a refused folder changes nothing, neither GLO.DataPath nor the settings.
// The program folder's DefaultData/ is refused whatever the letter case, the final "/" or the way it is
// spelled; an accepted folder is made with its parent folders and written as "GLO:DataPath".
DataPathAnswer AcceptDataPath(const QString& entry);

enum class LoginEntry
{
    None, // accepted
    LoginId,
    UserName,
    Password
};
// The login page's "Next >>", in the order of its questions: login id, user name, a blank password (which
// the user may confirm), the confirmation. A mismatch blanks both password entries. Returns the entry that
// takes the focus when the page stays, None when it is accepted.
LoginEntry CheckFirstLogin(FirstLogin& login, QString& confirmation);

} // namespace jornix
