#include "core/BroadcastRefresh.h"

#include "core/SharedState.h"
#include "platform/runtime/FrameworkEvents.h"

namespace jornix {
namespace {

EventPoster& Poster()
{
    static EventPoster poster;
    return poster;
}

void Post(int event, int control, ThreadNumber thread)
{
    if (Poster())
        Poster()(event, control, thread);
    else
        PostEvent(event, control, thread);
}

} // namespace

void BroadcastRefresh()
{
    if (RefreshSuppressed != 0)
        return;
    static constexpr int refreshed[] = {WindowKind::Scrap,          WindowKind::OverdueReminders,
                                        WindowKind::StickyNotes,    WindowKind::MiniStickyNotes,
                                        WindowKind::MiniSrap,       WindowKind::DateView,
                                        WindowKind::AllView,        WindowKind::PrintOptions,
                                        WindowKind::ReportDesigner, WindowKind::Search,
                                        WindowKind::Reminder,       WindowKind::Contacts,
                                        WindowKind::Tasks};
    for (const int kind : refreshed) {
        if (WindowThreadRegistry[kind] > 0)
            Post(RefreshEvent, 0, WindowThreadRegistry[kind]);
    }
}

void SetRefreshPoster(EventPoster poster)
{
    Poster() = std::move(poster);
}

} // namespace jornix
