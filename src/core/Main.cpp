#include "core/Main.h"

#include "core/CheckSingleInstance.h"
#include "platform/runtime/ProgramWindow.h"

#include <QMainWindow>

namespace jornix {

void Main()
{
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Jornix"));
    frame.resize(1000, 700);
    ProgramWindow window(&frame);
    // A second copy of the program asks this one to come forward.
    SetActivateInstanceHandler([&frame](const QString& title) {
        if (title != frame.windowTitle())
            return false;
        frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized);
        frame.raise();
        frame.activateWindow();
        return true;
    });
    window.Show();
    while (window.WaitEvent().event != Event::CloseWindow) {
    }
    SetActivateInstanceHandler({});
}

} // namespace jornix
