#include "organizer/StickyNotes.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerList.h"

namespace jornix {
namespace {

class StickyNotesWindow : public OrganizerList
{
public:
    StickyNotesWindow()
        : OrganizerList({.procedure = QStringLiteral("StickyNotes"),
                         .caption = QStringLiteral("Sticky Notes"),
                         .area = AccessArea::StickyNotes,
                         .areaWords = QStringLiteral("Sticky Notes"),
                         .kind = WindowKind::StickyNotes,
                         .relations = RelationsSTK,
                         .form = QStringLiteral("UpdateStickyNotes"),
                         .printArea = 5,
                         .helpTopic = QStringLiteral("stickynotes.htm")})
    {
    }
};

} // namespace

void StickyNotes()
{
    RunProcedure<StickyNotesWindow>();
}

} // namespace jornix
