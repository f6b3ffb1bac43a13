#include "core/StandardList.h"

namespace jornix {

StandardList::StandardList(const QString& procedureName, const QString& caption, WindowType type)
    : StandardWindow(procedureName, caption, type)
{
}

void StandardList::SetArea(const quint8& level, const QString& areaWords)
{
    areaLevel_ = &level;
    CheckAccess(level, areaWords);
    if (list_)
        list_->SetAccessLevel(level);
}

void StandardList::SetList(StandardBrowseList& list, View& view, TableRelations& relations, int listControl)
{
    list_ = &list;
    list.SetList(listControl, view, relations);
    if (areaLevel_)
        list.SetAccessLevel(*areaLevel_);
    AddList(list);
}

} // namespace jornix
