#pragma once

#include <QString>

namespace jornix {

// What the password entries of the user form show for a stored password; left unchanged it keeps it.
inline const QString PasswordPlaceholder = QString(8, QChar(0x25CF));

// The form of one user, called on ManageUsers' thread with the request in GlobalRequestCode.
void UpdateUser();

} // namespace jornix
