#include "core/LayoutMenuBar.h"

namespace jornix {

MenuBarLayout LayoutMenuBar(const MenuBarStateRecord& state, int frameHeight, int timeOfDay)
{
    MenuBarLayout layout;
    const int g = state.CurrentGroup;
    layout.group = g;
    layout.firstVisible = state.FirstVisible[std::size_t(g)];
    layout.lastLayoutTime = state.LastLayoutTime;

    // A time of day earlier than the last layout's means midnight has passed: that counts as elapsed.
    const int elapsed = timeOfDay - state.LastLayoutTime;
    if (elapsed >= 0 && elapsed <= MenuBarThrottle && !state.ForceLayout) {
        layout.throttled = true;
        return layout;
    }
    layout.lastLayoutTime = timeOfDay;
    if (!state.BarOpened)
        return layout;
    layout.placed = true;

    const double sx = state.ScaleX;
    const double sy = state.ScaleY;
    const auto trunc = [](double value) { return int(value); }; // toward zero
    const auto place = [&layout](int control, int x, int y, int width, int height) {
        layout.controls[std::size_t(control)] = {QRect(x, y, width, height), true};
    };
    using namespace MenuBarControl;

    // The window, its two panels, the close button, the background picture and the split bar on the right.
    const int windowWidth = state.BarWidth + 6;
    const int windowHeight = trunc(frameHeight - sy - state.Reserve);
    place(Window, 0, 0, windowWidth, windowHeight);
    place(OuterPanel, 0, -1, windowWidth, windowHeight);
    const int innerWidth = windowWidth - 8;
    const int innerHeight = trunc(windowHeight - 14 * sy);
    place(InnerPanel, 3, trunc(10 * sy), innerWidth, innerHeight);
    place(CloseButton, trunc(innerWidth - 9 * sx), 1, trunc(9 * sx), trunc(9 * sy));
    place(BackgroundPicture, 4, trunc(10 * sy), windowWidth - 10, trunc(windowHeight - 14 * sy - 1));
    place(SplitBar, state.BarWidth, trunc(10 * sy), 6, innerHeight);

    // How many items of the expanded group fit between its header and the next, and which are shown.
    const int rowWidth = trunc(innerWidth - sx);
    int first = layout.firstVisible;
    int capacity = 0;
    if (g != 0) {
        const int count = state.ItemCount[std::size_t(g)];
        const int up = first > 1 ? 1 : 0;
        capacity = trunc((innerHeight - (119 + 6 * up) * sy) / (34 * sy));
        if (first + capacity - 1 >= count) {
            first = count - capacity + 1;
            if (first < 1 || capacity >= count)
                first = 1;
        }
        layout.firstVisible = quint8(first);
        if (first != 1)
            place(UpArrow, 4, trunc((14 * g + 10) * sy), rowWidth, trunc(6 * sy));
        if (first + capacity - 1 < count)
            place(DownArrow, 4, trunc(innerHeight + 1 + (14 * (g - 8) + 4) * sy), rowWidth, trunc(6 * sy));

        for (int j = first; j <= count && j <= first + capacity - 1; ++j) {
            int y = trunc((14 * g + 11 + 34 * (j - first)) * sy);
            if (first != 1)
                y += trunc(6 * sy); // room for the up arrow
            place(ItemButton(g, j), 4, y, rowWidth, trunc(34 * sy));
            place(ItemLabel(g, j), 4, trunc(y + 24 * sy), rowWidth, trunc(10 * sy));
        }
    }
    layout.capacity = capacity;

    // The headers down to the expanded one stack from the top, the others from the bottom: the eighth
    // header's bottom edge meets the inner area's.
    for (int k = 1; k <= MenuBarStateRecord::Groups; ++k) {
        const int y = k <= g ? trunc((14 * k - 3) * sy) : trunc(innerHeight + (14 * k - 116) * sy);
        place(Header(k), 4, y, rowWidth, trunc(14 * sy));
        place(HeaderImage(k), 4, y, rowWidth, trunc(14 * sy));
    }
    return layout;
}

void StoreLayoutState(const MenuBarLayout& layout, MenuBarStateRecord& state)
{
    if (layout.group != 0)
        state.FirstVisible[std::size_t(layout.group)] = layout.firstVisible;
    state.LastLayoutTime = layout.lastLayoutTime;
    state.ForceLayout = 0;
}

} // namespace jornix
