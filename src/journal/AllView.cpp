#include "journal/AllView.h"

#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "journal/LogEventRange.h"
#include "journal/LogEventLists.h"

#include <QLabel>

namespace jornix {
namespace {

class AllViewWindow : public StandardList
{
public:
    AllViewWindow() : StandardList(QStringLiteral("AllView"), QStringLiteral("All Events View"))
    {
        DescribeLogEventHeading(window, QStringLiteral("All Events View"));
        range_.DescribeSheets();
        listControl_ = DescribeEventList(window, {QStringLiteral("Created By")}, QStringLiteral("Browsing Events"));
        range_.DescribeDates();
        int copy, insert, change, remove, print, help;
        window.Row([&] { // the help button at the left end, the others at the right
            help = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            window.Spacer();
            copy = ListButton(window, "&Copy", "WIZDITTO.gif", "Copy Selected Event", "Copy");
            insert = ListButton(window, "&Insert", "WIZINS.gif", "Insert New Event", "Insert");
            change = ListButton(window, "&Change", "WIZEDIT.gif", "Edit Selected Event", "Change");
            remove = ListButton(window, "&Delete", "WIZDEL.gif", "Delete Selected Event", "Delete");
            print = ListButton(window, "&Print", "wizprint.gif", nullptr, "Print");
        });
        SetArea(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"));
        RegisterKind(WindowThreadRegistry[WindowKind::AllView]);
        UseTable(*RelationsLOG);
        KeepMinimumSize();
        SetFirstField(listControl_);
        SetHelp(QStringLiteral("alleventsview.htm"), help);
        SetList(rows_, view_, *RelationsLOG, listControl_);
        list_->SetButtons({.insert = insert, .change = change, .remove = remove, .copy = copy, .print = print});
        SetForm([] { CallProcedure(QStringLiteral("UpdateLogTX")); });
        SetPrint([](qint32 number) { PrintRec(1, number); });
    }

    int OnAccepted(int control) override
    {
        if (range_.TakeAccepted(control))
            return Level::Handled;
        return StandardList::OnAccepted(control);
    }

    int OnNewSelection(int control) override
    {
        if (range_.TakeNewSelection(control))
            return Level::Handled;
        return StandardList::OnNewSelection(control);
    }

protected:
    void SetUpListOrders() override
    {
        range_.SetUpList(rows_, view_);
        rows_.MapField(QStringLiteral("LOG:LogCreateLoginID"), 3);
    }

private:
    View view_{AccessLOG->GetTable()};
    LogEventRows rows_;
    LogEventRange range_{*this, true};
    int listControl_ = 0;
};

} // namespace

void AllView()
{
    RunProcedure<AllViewWindow>();
}

} // namespace jornix
