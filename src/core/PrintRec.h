#pragma once

#include <QtGlobal>

// The print options for one record: called on the caller's thread with the report area and the record's
// number. The procedure registered under the name "PrintRec" runs them; it finds the two values in
// PrintRecRequest, which holds them from the call until the next one.
namespace jornix {

struct PrintRecValues
{
    qint32 area = 0;
    qint32 number = 0;
};
inline PrintRecValues PrintRecRequest;

void PrintRec(qint32 area, qint32 number);

} // namespace jornix
