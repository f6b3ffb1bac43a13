#pragma once

namespace jornix {

// The window in which the signed-in user replaces the password. 1 when the new password was stored, 0
// otherwise. The users table is opened and closed by the window itself.
int ChangePassword();

} // namespace jornix
