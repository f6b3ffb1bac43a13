#include "core/PrintRec.h"

#include "core/Procedures.h"

namespace jornix {

void PrintRec(qint32 area, qint32 number)
{
    PrintRecRequest = {area, number};
    CallProcedure(QStringLiteral("PrintRec"));
}

} // namespace jornix
