#include "organizer/Scrap.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerList.h"

namespace jornix {
namespace {

class ScrapWindow : public OrganizerList
{
public:
    ScrapWindow()
        : OrganizerList({.procedure = QStringLiteral("Scrap"),
                         .caption = QStringLiteral("Scrap Book"),
                         .area = AccessArea::ScrapBook,
                         .areaWords = QStringLiteral("the Scrap Book"),
                         .kind = WindowKind::Scrap,
                         .relations = RelationsSCR,
                         .form = QStringLiteral("UpdateScrap"),
                         .printArea = 6,
                         .helpTopic = QStringLiteral("scrapbook.htm")})
    {
    }
};

} // namespace

void Scrap()
{
    RunProcedure<ScrapWindow>();
}

} // namespace jornix
