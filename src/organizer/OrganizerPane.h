#pragma once

#include "core/DockedPane.h"
#include "core/StandardBrowseList.h"
#include "platform/framework/ListLocator.h"
#include "platform/store/View.h"

#include <QString>

// The docked pane of the scrap book and of the sticky notes: its banner with the "X", the records by
// description in one wide column, and the buttons Copy, Insert, Change and Delete, which show only their
// icons and say what they do in their tips, and for the scrap book "Copy to Clip&board". The pane runs its
// form for every request and closes, after its question, through a hidden "Close" button.
namespace jornix {

struct OrganizerPaneSetup
{
    QString procedure; // also the section of its placement
    QString caption;
    QString closeQuestion;
    QString bannerImage;
    int area = 0;      // AccessArea
    QString areaWords; // in the "Access Denied" text
    int kind = 0;      // WindowKind
    TableRelations* relations = nullptr;
    QString form;                 // the form's procedure
    bool copyToClipboard = false; // a "Copy to Clip&board" button for the highlighted scrap's text
};

class OrganizerPane : public DockedPane
{
public:
    explicit OrganizerPane(const OrganizerPaneSetup& setup);

    View view;
    StandardBrowseList brw;
    int list = 0, copyButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0, clipboardButton = 0,
        closeButton = 0;

    int OnAccepted(int control) override;

protected:
    void SetUpListOrders() override;

private:
    QString prefix_;
    ListLocator byDescription_;
};

} // namespace jornix
