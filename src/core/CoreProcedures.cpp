#include "core/CoreProcedures.h"

#include "core/ManageUsers.h"
#include "core/Procedures.h"
#include "core/SetupProgram.h"

namespace jornix {

void RegisterCoreProcedures()
{
    RegisterProcedure(QStringLiteral("ManageUsers"), ManageUsers);
    RegisterProcedure(QStringLiteral("SetupProgram"), SetupProgram);
}

} // namespace jornix
