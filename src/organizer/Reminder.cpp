#include "organizer/Reminder.h"

#include "core/Banner.h"
#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "organizer/ReminderLink.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/ListLocator.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include <QHeaderView>
#include <QTreeView>

namespace jornix {
namespace {

// Columns: the reminder icon, the private icon, the date, the description, the link type, the creator.
class ReminderRows : public StandardBrowseList
{
public:
    QString reminderType; // the link type of the row being filled, also for expressions

    void FillRow(ListRow& row) override
    {
        reminderType = ReminderTypeText(row.record.Value(QStringLiteral("REM:LinkType")).toInt());
        StandardBrowseList::FillRow(row);
        row.icons[0] = row.record.Value(QStringLiteral("REM:ShowReminder")).toInt() != 0 ? 2 : 0;
        row.icons[1] = row.record.Value(QStringLiteral("REM:Private")).toInt() != 0 ? 1 : 0;
        row.texts[4] = reminderType;
    }
};

class ReminderWindow : public StandardList
{
public:
    View view{AccessREM->GetTable()};
    ReminderRows brw;
    ListLocator byDate, byDescription, otherwise;
    int sheet = 0, list = 0;

    ReminderWindow() : StandardList(QStringLiteral("Reminder"), QStringLiteral("Reminders"))
    {
        int printButton = 0, copyButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0,
            helpButton = 0;
        DescribeBanner(window, QStringLiteral("Reminders"));
        sheet = window
                    .Sheet([&] {
                        window.Tab(QStringLiteral("by Reminder Date"), [] {});
                        window.Tab(QStringLiteral("by Description"), [] {});
                    })
                    .Name(QStringLiteral("Sheet"));
        list = window
                   .List({{QString(), {}, Qt::AlignLeft},
                          {QString(), {}, Qt::AlignLeft},
                          {QStringLiteral("Reminder Date"), {}, Qt::AlignLeft},
                          {QStringLiteral("Description"), {}, Qt::AlignLeft},
                          {QStringLiteral("Link Type"), {}, Qt::AlignLeft},
                          {QStringLiteral("Created By"), {}, Qt::AlignLeft}})
                   .Tip(QStringLiteral("Browsing Records"))
                   .Name(QStringLiteral("List"))
                   .Stretch();
        window.Buttons([&] {
            printButton = window.Button(QStringLiteral("&Print"), QStringLiteral("wizprint.gif"));
            copyButton = window.Button(QStringLiteral("&Copy"), QStringLiteral("WIZDITTO.gif"));
            insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"));
            changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"));
            deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        SetArea(CurrentUserAccess[AccessArea::Reminders], QStringLiteral("Reminders"));
        RegisterKind(WindowThreadRegistry[WindowKind::Reminder]);
        UseTable(*RelationsREM);
        KeepPlacement();
        KeepMinimumSize();
        SetHelp(QStringLiteral("reminders.htm"), helpButton);
        SetList(brw, view, *RelationsREM, list);
        list_->SetButtons({.insert = insertButton,
                           .change = changeButton,
                           .remove = deleteButton,
                           .copy = copyButton,
                           .print = printButton});
        SetSheet(sheet);
        SetForm([] { CallProcedure(QStringLiteral("UpdateReminder")); });
        SetPrint([](qint32 number) { PrintRec(4, number); });
        view.Names().Bind(QStringLiteral("ReminderType"), [this] { return brw.reminderType; });
    }

protected:
    void SetUpListOrders() override
    {
        const Table& table = view.ViewTable();
        const auto order = [&](const char* key, ListLocator& locator, const char* field) {
            brw.AddOrder(table.KeyIndex(QString::fromLatin1(key)));
            brw.SetLocator(locator);
            locator.Init(0, QString::fromLatin1(field), true, brw);
        };
        order("REM:ReminderDateDescriptionK", byDate, "REM:ReminderDate");
        order("REM:DescriptionK", byDescription, "REM:Description");
        order("REM:ReminderDateK", otherwise, "REM:ReminderDate");
        brw.SetPrivateFields(QStringLiteral("REM:Private"), QStringLiteral("REM:UniqueID"));
        brw.SetIcons({QStringLiteral("~private.bmp"), QStringLiteral("~reminder.bmp")});
        brw.MapIcon({}, 0);
        brw.MapIcon({}, 1);
        brw.MapField(QStringLiteral("REM:ReminderDate"), 2, QStringLiteral("@D17B"));
        brw.MapField(QStringLiteral("REM:Description"), 3);
        brw.MapField(QStringLiteral("REM:LinkType"), 4);
        brw.MapField(QStringLiteral("REM:CreateLoginID"), 5);
    }
};

} // namespace

void Reminder()
{
    RunProcedure<ReminderWindow>();
}

} // namespace jornix
