#pragma once

namespace jornix {

// The list of the users for an administrator; its form is UpdateUser.
void ManageUsers();

} // namespace jornix
