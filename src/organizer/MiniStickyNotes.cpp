#include "organizer/MiniStickyNotes.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerPane.h"

namespace jornix {
namespace {

class MiniStickyNotesWindow : public OrganizerPane
{
public:
    MiniStickyNotesWindow()
        : OrganizerPane({.procedure = QStringLiteral("MiniStickyNotes"),
                         .caption = QStringLiteral("Mini-Sticky Notes"),
                         .closeQuestion = QStringLiteral(
                             "You are about to close the Mini-Sticky Notes window. To activate it again, "
                             "select View --> Mini-Sticky Notes. Close the window?"),
                         .bannerImage = QStringLiteral("stickyS.gif"),
                         .area = AccessArea::StickyNotes,
                         .areaWords = QStringLiteral("Sticky Notes"),
                         .kind = WindowKind::MiniStickyNotes,
                         .relations = RelationsSTK,
                         .form = QStringLiteral("UpdateStickyNotes")})
    {
    }
};

} // namespace

void MiniStickyNotes()
{
    RunProcedure<MiniStickyNotesWindow>();
}

} // namespace jornix
