#pragma once

// "Browse Filters and Orders": the saved filter (kind 1) or order (kind 2) expressions, on the running
// thread. Opened with the module's request 4 (select) it is a lookup: Select leaves the chosen expression in
// the thread's REC: buffer and the module's response 1; Close leaves the response 2. Returns the response.
namespace jornix {

int BrowseFilter(int kind);

} // namespace jornix
