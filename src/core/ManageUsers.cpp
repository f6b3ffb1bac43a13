#include "core/ManageUsers.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "core/UpdateUser.h"

namespace jornix {

namespace {

// The signed-in user's own row may not be deleted: Delete is greyed out on it (the form refuses it too).
class UserList : public StandardBrowseList
{
public:
    int deleteButton = 0;

    void RefreshControls() override
    {
        StandardBrowseList::RefreshControls();
        const ListRow* row = Selected();
        if (deleteButton && row &&
            row->record.Value(QStringLiteral("USR:UniqueID")).toInt() == CurrentUserUniqueID)
            Window().window.Disable(deleteButton);
    }

    void FillRow(ListRow& row) override
    {
        StandardBrowseList::FillRow(row);
        row.texts[2] = row.record.Value(QStringLiteral("USR:Administrator")).toInt() == 1
                           ? QStringLiteral("Yes")
                           : QStringLiteral("No");
    }
};

class ManageUsersWindow : public StandardList
{
public:
    View view{AccessUSR->GetTable()};
    UserList brw;
    quint8 usersLevel_ = 0;

    ManageUsersWindow() : StandardList(QStringLiteral("ManageUsers"), QStringLiteral("Manage User"))
    {
        int list = 0, insertButton = 0, changeButton = 0, deleteButton = 0, helpButton = 0;
        DescribeHeading(QStringLiteral("Manage Users"));
        list = window
                   .List({{QStringLiteral("Login ID"), QStringLiteral("@s30"), Qt::AlignLeft},
                          {QStringLiteral("Full Name"), QStringLiteral("@s255"), Qt::AlignLeft},
                          {QStringLiteral("Admin"), QStringLiteral("@s3"), Qt::AlignHCenter},
                          {QStringLiteral("Last Login"), QStringLiteral("@D17B"), Qt::AlignLeft}})
                   .Tip(QStringLiteral("Browsing Records"))
                   .Name(QStringLiteral("List"));
        window.Buttons([&] {
            helpButton = window.Button(QString(), QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"))
                               .Name(QStringLiteral("Insert"));
            changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"))
                               .Name(QStringLiteral("Change"));
            deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"))
                               .Name(QStringLiteral("Delete"));
        });
        brw.deleteButton = deleteButton;
        // Administrators only, with every right over the users; the others are refused.
        usersLevel_ = CurrentUserIsAdmin ? 2 : 0;
        CheckAccess(usersLevel_, QStringLiteral("Users"));
        RegisterKind(WindowThreadRegistry[WindowKind::ManageUsers]);
        UseTable(*RelationsUSR);
        KeepPlacement();
        KeepMinimumSize();
        SetHelp(QStringLiteral("manageuser.htm"), helpButton);
        SetList(brw, view, *RelationsUSR, list);
        list_->SetButtons({.insert = insertButton, .change = changeButton, .remove = deleteButton});
        SetForm([] { UpdateUser(); });
    }

    // A new highlighted row may be the signed-in user's.
    int OnNewSelection(int control) override
    {
        const int level = StandardList::OnNewSelection(control);
        if (control == brw.ListControl())
            brw.RefreshControls();
        return level;
    }

protected:
    void SetUpListOrders() override
    {
        brw.AddOrder(-1); // no key: record order
        brw.MapField(QStringLiteral("USR:LoginID"), 0, QStringLiteral("@s30"));
        brw.MapField(QStringLiteral("USR:Name"), 1, QStringLiteral("@s255"));
        brw.MapField(QStringLiteral("USR:LastLogin"), 3, QStringLiteral("@D17B"));
    }
};

} // namespace

void ManageUsers()
{
    RunProcedure<ManageUsersWindow>();
}

} // namespace jornix
