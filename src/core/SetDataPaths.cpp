#include "core/SetDataPaths.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "documents/DocumentSettings.h"

#include "platform/runtime/TrailingBlanks.h"

#include <QDir>
#include <QFileInfo>

namespace jornix {

bool SetDataPaths()
{
    QString folder = StripTrailingBlanks(GLO.DataPath);
    if (folder.isEmpty())
        folder = ProgramFolder + QStringLiteral("Data/");
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    const bool exists = QFileInfo(folder).isDir() || QDir().mkpath(folder);
    if (folder != GLO.DataPath) {
        GLO.DataPath = folder;
        if (exists)
            INIMgr.WriteValue(PreservedSection, QStringLiteral("GLO:DataPath"), GLO.DataPath);
    }

    SetTableFileNames(GLO.DataPath);
    // The document component keeps its own tables in the data folder and its placements in Jornix.ini.
    SetDocumentSettings(&INIMgr, GLO.DataPath);
    DataPathText = GLO.DataPath;
    return exists;
}

} // namespace jornix
