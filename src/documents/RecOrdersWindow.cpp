#include "documents/RecOrdersWindow.h"

#include "documents/DocumentSettings.h"
#include "documents/RecOrders.h"

namespace jornix {

int RecOrdersWindow::Init()
{
    if (const int level = WindowController::Init())
        return level;
    if (!OpenRecOrders())
        return Level::Stop;
    tableOpen_ = true;
    return Level::GoOn;
}

int RecOrdersWindow::Kill()
{
    if (const int level = WindowController::Kill())
        return level;
    if (OPENED)
        SavePlacement(ProcedureName(), window.Root());
    if (tableOpen_)
        CloseRecOrders();
    tableOpen_ = false;
    return Level::GoOn;
}

void RecOrdersWindow::ShowPlaced()
{
    ShowWindow();
    RestorePlacement(ProcedureName(), window.Root(), true);
}

} // namespace jornix
