#include "core/Procedures.h"

#include "platform/framework/WindowController.h"

#include <QHash>
#include <QtDebug>

namespace jornix {
namespace {

// Names are compared without regard to case, as procedure names are everywhere else.
QHash<QString, ProcedureBody>& Table()
{
    static QHash<QString, ProcedureBody> table;
    return table;
}

const ProcedureBody* Find(const QString& name)
{
    const auto found = Table().constFind(name.toCaseFolded());
    return found == Table().cend() ? nullptr : &found.value();
}

} // namespace

void RegisterProcedure(const QString& name, ProcedureBody body)
{
    Table().insert(name.toCaseFolded(), std::move(body));
}

bool HasProcedure(const QString& name)
{
    return Find(name) != nullptr;
}

void ClearProcedures()
{
    Table().clear();
}

ThreadNumber StartProcedure(const QString& name)
{
    const ProcedureBody* body = Find(name);
    if (!body) {
        qWarning("No window procedure is named %s", qPrintable(name));
        return 0;
    }
    return StartProcedureThread(*body);
}

int CallProcedure(const QString& name)
{
    // A copy: the procedure may register another while it runs.
    const ProcedureBody* found = Find(name);
    if (!found) {
        qWarning("No window procedure is named %s", qPrintable(name));
        CurrentContext().GlobalRequestCode = 0;
        CurrentContext().GlobalResponseCode = Response::Cancelled;
        return Response::Cancelled;
    }
    const ProcedureBody body = *found;
    body();
    return CurrentContext().GlobalResponseCode;
}

} // namespace jornix
