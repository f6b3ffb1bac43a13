#pragma once

#include "core/StandardList.h"
#include "organizer/OrganizerLists.h"
#include "platform/store/View.h"

#include <QString>

// The list windows of the organizer: a banner, the tabs and the list that each window describes, and the
// buttons Copy, Insert, Change, Delete, Print and Help. The window runs its form for every request and
// prints the highlighted record through the print options of its report area.
namespace jornix {

struct OrganizerListSetup
{
    QString procedure; // also the section of its placement
    QString caption;
    int area = 0;      // AccessArea
    QString areaWords; // in the "Access Denied" text
    int kind = 0;      // WindowKind
    TableRelations* relations = nullptr;
    QString form; // the form's procedure
    qint32 printArea = 0;
    QString helpTopic;
};

class OrganizerListWindow : public StandardList
{
public:
    using Setup = OrganizerListSetup;
    static constexpr bool ShowsCreator = true; // the list has a "Created By" column

    View view;
    int sheet = 0, list = 0;
    int copyButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0, printButton = 0, helpButton = 0;

    StandardBrowseList& Rows() const { return *list_; }

protected:
    // Describes the banner; the window then describes its tabs and list, and calls SetUpList.
    explicit OrganizerListWindow(const OrganizerListSetup& setup);
    // The buttons under the list, and the list's rules.
    void SetUpList(StandardBrowseList& rows, const TabsAndList& described);

private:
    OrganizerListSetup setup_;
};

// The list window of the scrap book and of the sticky notes: the tabs "by Description" and "by Enter Date"
// that choose the order, the records with the private icon, their description and who created them.
class OrganizerList : public OrganizerListWindow
{
public:
    explicit OrganizerList(const OrganizerListSetup& setup);

    PrivateIconRows brw;

protected:
    void SetUpListOrders() override;

private:
    QString prefix_;
    DescriptionAndDateOrders orders_;
};

} // namespace jornix
