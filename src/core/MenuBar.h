#pragma once

class QWidget;

namespace jornix {

// The side menu bar docked at the left of the frame; runs on a thread of its own until the frame closes.
// Other windows post to its controls by number (MenuBarState.h): Accepted for a group header expands that
// group, Size lays the bar out again after a change of MenuBarState.
void MenuBar();

// The widget of a control of the running bar, by number (0: the docked window); nullptr while no bar runs.
QWidget* MenuBarControlWidget(int control);

} // namespace jornix
