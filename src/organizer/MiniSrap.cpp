#include "organizer/MiniSrap.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerPane.h"

namespace jornix {
namespace {

class MiniSrapWindow : public OrganizerPane
{
public:
    MiniSrapWindow()
        : OrganizerPane({.procedure = QStringLiteral("MiniSrap"),
                         .caption = QStringLiteral("Mini-Scrap Book"),
                         .closeQuestion = QStringLiteral(
                             "You are about to close the Mini-Scrapbook window. To activate it again, select "
                             "View --> Mini-ScrapBook. Close the window?"),
                         .bannerImage = QStringLiteral("scrapS.gif"),
                         .area = AccessArea::ScrapBook,
                         .areaWords = QStringLiteral("the Scrap Book"),
                         .kind = WindowKind::MiniSrap,
                         .relations = RelationsSCR,
                         .form = QStringLiteral("UpdateScrap"),
                         .copyToClipboard = true})
    {
    }
};

} // namespace

void MiniSrap()
{
    RunProcedure<MiniSrapWindow>();
}

} // namespace jornix
