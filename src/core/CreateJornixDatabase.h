#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace jornix {

// The first login that the setup defines: it becomes an administrator with full access.
struct FirstLogin
{
    QString loginId;
    QString userName;
    QString password;
};

struct DatabaseCreation
{
    QString failure;   // what could not be made; empty when the database is ready
    QStringList notes; // what the setup left out on the way (it is still ready)
    bool Ok() const { return failure.isEmpty(); }
};

// The work of the setup's last page, in the data folder GLO.DataPath: makes every record file and table that
// is missing (an existing file keeps all its records), adds the administrator and the report areas, has the
// procedure "ResetReportLayouts" install the factory report layouts and, when asked, adds the sample records,
// each only into a table that is still empty. Writes the tables directly, so no refresh follows. progress is
// told each value from 0 to 100 as the work goes on. When the record files, the administrator or the report
// areas cannot be made, the database file of the log and the users is removed again (when this run made it),
// so that the next start asks for the setup once more.
DatabaseCreation CreateJornixDatabase(const FirstLogin& login, bool withSamples,
                                      const std::function<void(int)>& progress = {});

} // namespace jornix
