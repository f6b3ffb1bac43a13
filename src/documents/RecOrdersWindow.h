#pragma once

#include "platform/framework/WindowController.h"

// A window of the saved expressions: Init opens the table (a file that cannot be opened keeps the window from
// opening), ShowPlaced shows the window where it stood last time (the settings section named after its
// procedure), and Kill keeps its placement and closes the table.
namespace jornix {

class RecOrdersWindow : public WindowController
{
public:
    using WindowController::WindowController;

    int Init() override;
    int Kill() override;

protected:
    void ShowPlaced();

private:
    bool tableOpen_ = false;
};

} // namespace jornix
