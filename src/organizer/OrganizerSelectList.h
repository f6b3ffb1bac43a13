#pragma once

#include "core/SelectList.h"
#include "organizer/OrganizerLists.h"
#include "platform/store/View.h"

#include <QString>

// The select lists of the organizer, on the caller's thread: the tabs and the list that each describes, then
// Help at the left and "&Select" and "Cancel" at the right. The list takes the focus first.
namespace jornix {

struct OrganizerSelectSetup
{
    QString procedure; // also the section of its placement
    QString caption;
    int area = 0;      // AccessArea
    QString areaWords; // in the "Access Denied" text
    TableRelations* relations = nullptr;
    QString helpTopic;
};

class OrganizerSelectList : public SelectList
{
public:
    using Setup = OrganizerSelectSetup;
    static constexpr bool ShowsCreator = false;

    View view;
    int sheet = 0, list = 0, selectButton = 0, cancelButton = 0, helpButton = 0;

protected:
    explicit OrganizerSelectList(const OrganizerSelectSetup& setup);
    // After the window has described its tabs and list: the buttons, and the list's rules.
    void SetUpList(StandardBrowseList& rows, const TabsAndList& described);

private:
    OrganizerSelectSetup setup_;
};

} // namespace jornix
