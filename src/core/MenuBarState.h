#pragma once

#include "platform/runtime/ProgramThreads.h"

#include <QtGlobal>

#include <array>

// The side menu bar's state, shared by the bar, the panes of its groups and the frame. It is read and written
// without a lock: only one program thread runs at a time, and each thread changes it between two of its event
// waits; the others learn of a change through the Size event posted to the bar.
namespace jornix {

class WindowController;

struct MenuBarStateRecord
{
    static constexpr int Groups = 8;
    static constexpr int MaxItems = 4;
    static constexpr qint32 HiddenWidth = -6; // a bar 0 pixels wide
    static constexpr qint32 MinimumWidth = 100;

    quint8 CurrentGroup = 0; // the expanded group, 1 to 8; 0 none
    quint8 GroupChanging =
        0; // 1 from a header press until that group's pane has registered or taken the focus
    std::array<quint8, Groups + 1> ItemCount{0, 4, 2, 2, 2, 2, 2, 1, 3}; // by group, from 1
    std::array<quint8, Groups + 1> FirstVisible{1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<ThreadNumber, Groups + 1> PaneThread{}; // the group's running pane, 0 none

    struct PaneEntry
    {
        ThreadNumber thread = 0;
        int group = 0;
    };
    int PaneCount = 0;                         // entries of PaneStack, the most recently focused on top
    std::array<PaneEntry, Groups> PaneStack{}; // [0] the bottom
    // The group's running pane, whose buttons the items copy; nullptr while none runs.
    std::array<WindowController*, Groups + 1> PaneWindow{};
    // By group and item (both from 1): the pane button an item relays to.
    std::array<std::array<qint16, MaxItems + 1>, Groups + 1> PaneButton{};

    qint32 BarWidth = 100; // pixels; HiddenWidth while hidden
    qint32 SavedWidth = 0; // the width before the bar was hidden
    quint8 ForceLayout = 0;
    quint8 DragAllowed = 1;
    qint32 LastLayoutTime = 0; // time of day in hundredths of a second
    qint32 BarOpened = 0;
    qint32 FirstPressDone = 0; // a header press has happened since the frame last pressed a header
    qint32 BackColor = 0x808080;
    qint32 TextColor = 0xFFFFFF;
    double ScaleX = 1, ScaleY = 1; // pixels per dialog unit
    qint16 Reserve = 0;            // height kept free below the bar
};

inline MenuBarStateRecord MenuBarState;

// The group header controls of the bar, by group from 1; the frame presses them (Accepted posted to the bar).
namespace MenuBarHeader {
enum : int
{
    LogEvents = 6,
    Reminder = 16,
    Tasks = 22,
    StickyNotes = 28,
    Contacts = 34,
    ScrapBook = 40,
    DesignReports = 46,
    Setup = 50
};
}

// The bar's control numbers. Each group's header is followed by its image and then by its items, each item
// a button followed by its label.
namespace MenuBarControl {
enum : int
{
    Window = 0,
    OuterPanel = 1,
    InnerPanel = 2,
    CloseButton = 3,
    BackgroundPicture = 4,
    SplitBar = 5,
    UpArrow = 58,
    DownArrow = 59,
    Count = 60
};

constexpr std::array<int, MenuBarStateRecord::Groups + 1> Headers{0,
                                                                  MenuBarHeader::LogEvents,
                                                                  MenuBarHeader::Reminder,
                                                                  MenuBarHeader::Tasks,
                                                                  MenuBarHeader::StickyNotes,
                                                                  MenuBarHeader::Contacts,
                                                                  MenuBarHeader::ScrapBook,
                                                                  MenuBarHeader::DesignReports,
                                                                  MenuBarHeader::Setup};

constexpr int Header(int group)
{
    return Headers[std::size_t(group)];
}
constexpr int HeaderImage(int group)
{
    return Header(group) + 1;
}
constexpr int ItemButton(int group, int item)
{
    return Header(group) + 2 * item;
}
constexpr int ItemLabel(int group, int item)
{
    return ItemButton(group, item) + 1;
}
} // namespace MenuBarControl

} // namespace jornix
