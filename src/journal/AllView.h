#pragma once

namespace jornix {

// Every log event the signed-in user may see, by date or by description, narrowed by a log-type tab and an
// inclusive date range; the event editor inserts, changes and deletes them from here.
void AllView();

} // namespace jornix
