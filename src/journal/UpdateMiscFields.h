#pragma once

// The form of one definition of user-defined fields (one row of MSC:): for each of the six fields whether it
// is shown, its prompt, control kind, report type, length, picture, default value and list items. Called from
// Program Setup's list of definitions with the request in GlobalRequestCode; a user without "Misc Field
// Access" is refused.
namespace jornix {

void UpdateMiscFields();

} // namespace jornix
