#pragma once

#include "organizer/OrganizerLists.h"
#include "organizer/RoomFor.h"

// A window of one organizer list whose rows and orders are of their own kinds (TaskRows and TaskOrders,
// ContactRows and ContactOrders): a list window (OrganizerListWindow) or a select list (OrganizerSelectList),
// which has no "Created By" column. It opens wide enough for every tab and column.
namespace jornix {

template <class Window, class Rows, class Orders> class KeyedList : public Window
{
public:
    Rows brw;

protected:
    // describe: the tabs and the list, with or without the "Created By" column.
    using Describe = TabsAndList (*)(WindowDescription& window, bool createdBy);

    KeyedList(const typename Window::Setup& setup, Describe describe) : Window(setup)
    {
        const TabsAndList described = describe(this->window, Window::ShowsCreator);
        SetRoomFor(this->window.Widget(described.list), 120, 14);
        this->SetUpList(brw, described);
    }

    void SetUpListOrders() override
    {
        orders_.AddTo(brw);
        brw.SetUpColumns(Window::ShowsCreator);
    }

private:
    Orders orders_;
};

} // namespace jornix
