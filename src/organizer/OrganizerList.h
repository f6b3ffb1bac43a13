#pragma once

#include "core/StandardList.h"
#include "organizer/OrganizerLists.h"
#include "platform/store/View.h"

#include <QString>

// The list window of the scrap book and of the sticky notes: a banner, the tabs "by Description" and
// "by Enter Date" that choose the order, the records with the private icon, their description and who
// created them, and the buttons Copy, Insert, Change, Delete, Print and Help. The window runs its form for
// every request and prints the highlighted record through the print options of its report area.
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

class OrganizerList : public StandardList
{
public:
    explicit OrganizerList(const OrganizerListSetup& setup);

    View view;
    PrivateIconRows brw;
    int sheet = 0, list = 0;
    int copyButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0, printButton = 0, helpButton = 0;

protected:
    void SetUpListOrders() override;

private:
    QString prefix_;
    DescriptionAndDateOrders orders_;
};

} // namespace jornix
