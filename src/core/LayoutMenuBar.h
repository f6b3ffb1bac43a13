#pragma once

#include "core/MenuBarState.h"

#include <QRect>

#include <array>

// Where the side menu bar's controls go: a pure function of the bar's state, the frame's height and the time
// of day, so that every position can be checked without widgets. All positions are pixels in the bar's
// window; sizes given in dialog units are multiplied by the state's scale and then truncated.
namespace jornix {

struct MenuBarPlace
{
    QRect rect;
    bool visible = false;
};

struct MenuBarLayout
{
    // False when nothing is to be moved: the layout came too soon after the previous one (throttled), or the
    // bar is not open.
    bool placed = false;
    bool throttled = false;
    // By control number; [0] is the bar's window. A window 0 pixels wide is a hidden bar.
    std::array<MenuBarPlace, MenuBarControl::Count> controls{};
    int capacity = 0; // how many items of the expanded group fit

    // The state fields a layout changes; StoreLayoutState writes them back.
    int group = 0;           // the expanded group the layout was made for
    quint8 firstVisible = 1; // its first item shown
    qint32 lastLayoutTime = 0;
    quint8 forceLayout = 0;
};

// Layouts come in bursts: one that is not forced is skipped within this many hundredths of a second of the
// previous one.
constexpr int MenuBarThrottle = 5;

MenuBarLayout LayoutMenuBar(const MenuBarStateRecord& state, int frameHeight, int timeOfDay);
void StoreLayoutState(const MenuBarLayout& layout, MenuBarStateRecord& state);

} // namespace jornix
