#include "core/ProgramStart.h"

#include "platform/runtime/ProgramWindow.h"

#include <QMainWindow>

namespace jornix {

// Opens the frame and waits until it is closed.
int ProgramStart()
{
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Jornix"));
    frame.resize(1000, 700);
    ProgramWindow window(&frame);
    window.Show();
    while (window.WaitEvent().event != Event::CloseWindow) {
    }
    return 0;
}

} // namespace jornix
