#pragma once

namespace jornix {

// The sign-in window. 1 when a user signed in, 0 when the window closed without success (closed, or the
// password change it asked for was not made).
int Login();

} // namespace jornix
