#pragma once

// "Update Filters and Orders": adds, changes or deletes the saved expression in the running thread's REC:
// buffer by the module's request value (1, 2, 3) and leaves the module's response value (1 completed,
// 2 cancelled), which it also returns.
namespace jornix {

int UpdateRecOrders();

} // namespace jornix
