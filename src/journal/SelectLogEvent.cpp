#include "journal/SelectLogEvent.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/SelectList.h"
#include "core/SharedState.h"
#include "journal/LogEventLists.h"
#include "journal/LogEventRange.h"

namespace jornix {
namespace {

class SelectLogEventWindow : public SelectList
{
public:
    SelectLogEventWindow() : SelectList(QStringLiteral("SelectLogEvent"), QStringLiteral("Select Log Event"))
    {
        range_.DescribeSheets();
        listControl_ = DescribeEventList(window, {}, QStringLiteral("Browsing Events"));
        range_.DescribeDates();
        int select, cancel, help;
        window.Row([&] { // the help button at the left end, the others at the right
            help = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            window.Spacer();
            select = window.Button(QStringLiteral("&Select"), QStringLiteral("OKButton.gif"))
                         .Name(QStringLiteral("Select"));
            cancel = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                         .Name(QStringLiteral("Cancel"));
        });
        SetArea(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"));
        UseTable(*RelationsLOG);
        KeepPlacement();
        KeepMinimumSize();
        SetFirstField(listControl_);
        SetHelp(QStringLiteral("alleventsview.htm"), help);
        SetList(rows_, view_, *RelationsLOG, listControl_);
        SetSelectButtons(select, cancel);
    }

    int OnAccepted(int control) override
    {
        if (range_.TakeAccepted(control))
            return Level::Handled;
        return SelectList::OnAccepted(control);
    }

    int OnNewSelection(int control) override
    {
        if (range_.TakeNewSelection(control))
            return Level::Handled;
        return SelectList::OnNewSelection(control);
    }

protected:
    void SetUpListOrders() override { range_.SetUpList(rows_, view_); }

    // The list keeps the last results of its own reads: other windows' changes show at its next read.
    int OnWindowEvent(const FrameworkEvent& event) override
    {
        if (event.event == RefreshEvent)
            return Level::GoOn;
        return SelectList::OnWindowEvent(event);
    }

private:
    View view_{AccessLOG->GetTable()};
    LogEventRows rows_;
    LogEventRange range_{*this, false}; // a typed date waits for a pick or a tab change
    int listControl_ = 0;
};

} // namespace

void SelectLogEvent()
{
    RunProcedure<SelectLogEventWindow>();
}

} // namespace jornix
