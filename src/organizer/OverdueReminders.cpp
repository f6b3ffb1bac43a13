#include "organizer/OverdueReminders.h"

#include "core/DataLayer.h"
#include "core/DockedPane.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardBrowseList.h"
#include "organizer/OrganizerLists.h"
#include "organizer/ReminderLink.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include <QHeaderView>
#include <QTreeView>

namespace jornix {
namespace {

// Shown, not dismissed and dated today or earlier; TODAY() takes the date of each read.
const QString DueFilter =
    QStringLiteral("(REM:ShowReminder = 1 AND REM:Dismiss = 0 AND REM:ReminderDate <= TODAY())");

// The due reminders; View Link only while the highlighted reminder has a linked record.
class DueRows : public StandardBrowseList
{
public:
    int viewLink = 0;

    void RefreshControls() override
    {
        StandardBrowseList::RefreshControls();
        const ListRow* row = Selected();
        Window().window.Enable(viewLink, row && row->record.Value(QStringLiteral("REM:LinkNum")).toInt() > 0);
    }
};

class OverdueRemindersWindow : public DockedPane
{
public:
    View view{AccessREM->GetTable()};
    DueRows brw;
    int list = 0, insertButton = 0, changeButton = 0, deleteButton = 0, closeButton = 0, viewLink = 0,
        dismiss = 0, copyButton = 0;

    OverdueRemindersWindow()
        : DockedPane(QStringLiteral("OverdueReminders"), QStringLiteral("Overdue Reminders"),
                     QStringLiteral("You are about to close the Overdue Reminders window. To activate it "
                                    "again, select View --> Overdue Reminders. Close the window?"),
                     QStringLiteral("remindS.gif"))
    {
        list = window
                   .List({{QStringLiteral("Date"), {}, Qt::AlignLeft},
                          {QStringLiteral("Description"), {}, Qt::AlignLeft}})
                   .Tip(QStringLiteral("Browsing Records"))
                   .Name(QStringLiteral("List"))
                   .Stretch();
        window.Row([&] {
            insertButton = DescribeIconButton(window, QStringLiteral("Insert"), QStringLiteral("WIZINS.gif"));
            changeButton =
                DescribeIconButton(window, QStringLiteral("Change"), QStringLiteral("WIZEDIT.gif"));
            deleteButton = DescribeIconButton(window, QStringLiteral("Delete"), QStringLiteral("WIZDEL.gif"));
            copyButton = DescribeIconButton(window, QStringLiteral("Copy"), QStringLiteral("WIZDITTO.gif"));
            window.Spacer();
            closeButton = window.Button(QStringLiteral("Close")).Name(QStringLiteral("Close")).Hide();
        });
        window.Row([&] {
            viewLink = window.Button(QStringLiteral("&View Link"), QStringLiteral("viewlink.gif"))
                           .Name(QStringLiteral("ViewLink"));
            dismiss = window.Button(QStringLiteral("Dis&miss"), QStringLiteral("dismissreminder.gif"))
                          .Name(QStringLiteral("Dismiss"));
            window.Spacer();
        });
        const quint8& level = CurrentUserAccess[AccessArea::Reminders];
        CheckAccess(level, QStringLiteral("Reminders"));
        RegisterKind(WindowThreadRegistry[WindowKind::OverdueReminders]);
        for (TableRelations* relations : {RelationsCON, RelationsLOG, RelationsREM, RelationsTSK})
            UseTable(*relations);
        SetHelp({}); // no topic of its own
        SetCancelButton(closeButton);
        brw.viewLink = viewLink;
        brw.SetList(list, view, *RelationsREM);
        brw.SetAccessLevel(level);
        brw.SetButtons({.insert = insertButton,
                        .change = changeButton,
                        .remove = deleteButton,
                        .copy = copyButton,
                        .needRows = {dismiss, viewLink},
                        .needFull = {dismiss}});
        brw.SetFilter(DueFilter);
        brw.SetForm([] { CallProcedure(QStringLiteral("UpdateReminder")); });
        AddList(brw);
    }

    int OnAccepted(int control) override
    {
        if (control == dismiss || control == viewLink) {
            if (window.IsEnabled(control)) {
                Update(); // the highlighted reminder
                const qint32 number = AccessREM->Buffer().Value(QStringLiteral("REM:Num")).toInt();
                if (control == dismiss)
                    RewriteReminder(number, [](Record& reminder) {
                        reminder.SetValue(QStringLiteral("REM:Dismiss"), 1);
                    });
                else
                    ViewLink(number);
            }
            return Level::Handled;
        }
        return DockedPane::OnAccepted(control);
    }

    int OnNewSelection(int control) override
    {
        const int level = DockedPane::OnNewSelection(control);
        if (control == list)
            brw.RefreshControls();
        return level;
    }

protected:
    void SetUpListOrders() override
    {
        brw.AddOrder(view.ViewTable().KeyIndex(QStringLiteral("REM:NumK"))); // as the reminders were stored
        brw.SetPrivateFields(QStringLiteral("REM:Private"), QStringLiteral("REM:UniqueID"));
        brw.MapField(QStringLiteral("REM:ReminderDate"), 0, QStringLiteral("@D17B"));
        brw.MapField(QStringLiteral("REM:Description"), 1);
    }

private:
    void ViewLink(qint32 number)
    {
        const Record& reminder = AccessREM->Buffer();
        const int type = reminder.Value(QStringLiteral("REM:LinkType")).toInt();
        if (FollowLink(type, reminder.Value(QStringLiteral("REM:LinkNum")).toInt()) != LinkResult::Missing)
            return;
        // Whatever the user's level: a link that leads nowhere is of no use to anyone.
        RewriteReminder(number, [](Record& changed) {
            changed.SetValue(QStringLiteral("REM:LinkType"), 0);
            changed.SetValue(QStringLiteral("REM:LinkNum"), 0);
        });
    }
};

} // namespace

void OverdueReminders()
{
    RunProcedure<OverdueRemindersWindow>();
}

} // namespace jornix
