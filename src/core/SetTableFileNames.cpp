#include "core/SetTableFileNames.h"

#include "core/Tables.h"
#include "platform/store/Catalogue.h"

namespace jornix {

void SetTableFileNames(const QString& dataFolder)
{
    JornixCatalogue().SetFolder(dataFolder, QStringLiteral(".tps"));
}

} // namespace jornix
