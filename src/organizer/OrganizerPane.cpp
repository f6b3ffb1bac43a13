#include "organizer/OrganizerPane.h"

#include "core/Procedures.h"
#include "core/SharedState.h"
#include "organizer/OrganizerLists.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

namespace jornix {

OrganizerPane::OrganizerPane(const OrganizerPaneSetup& setup)
    : DockedPane(setup.procedure, setup.caption, setup.closeQuestion, setup.bannerImage),
      view(setup.relations->Access().GetTable()), prefix_(view.ViewTable().Prefix() + QLatin1Char(':'))
{
    list = window.List({{QStringLiteral("Description"), {}, Qt::AlignLeft}})
               .Tip(QStringLiteral("Browsing Records"))
               .Name(QStringLiteral("List"))
               .Stretch();
    window.Row([&] {
        copyButton = DescribeIconButton(window, QStringLiteral("Copy"), QStringLiteral("WIZDITTO.gif"));
        insertButton = DescribeIconButton(window, QStringLiteral("Insert"), QStringLiteral("WIZINS.gif"));
        changeButton = DescribeIconButton(window, QStringLiteral("Change"), QStringLiteral("WIZEDIT.gif"));
        deleteButton = DescribeIconButton(window, QStringLiteral("Delete"), QStringLiteral("WIZDEL.gif"));
        window.Spacer();
        closeButton = window.Button(QStringLiteral("Close")).Name(QStringLiteral("Close")).Hide();
        if (setup.copyToClipboard)
            clipboardButton =
                window.Button(QStringLiteral("Copy to Clip&board"), QStringLiteral("RTFCopy.gif"))
                    .Name(QStringLiteral("CopyToClipboard"));
    });
    const quint8& level = CurrentUserAccess[std::size_t(setup.area)];
    CheckAccess(level, setup.areaWords);
    RegisterKind(WindowThreadRegistry[std::size_t(setup.kind)]);
    UseTable(*setup.relations);
    KeepPlacement();
    SetHelp({}); // no topic of its own
    SetCancelButton(closeButton);
    brw.SetList(list, view, *setup.relations);
    brw.SetAccessLevel(level);
    brw.SetButtons({.insert = insertButton,
                    .change = changeButton,
                    .remove = deleteButton,
                    .copy = copyButton,
                    .needRows = clipboardButton ? std::vector<int>{clipboardButton} : std::vector<int>{}});
    brw.SetForm([form = setup.form] { CallProcedure(form); });
    AddList(brw);
}

int OrganizerPane::OnAccepted(int control)
{
    if (clipboardButton && control == clipboardButton) {
        if (window.IsEnabled(control)) {
            Update();
            CopyScrapToClipboard();
        }
        return Level::Handled;
    }
    return DockedPane::OnAccepted(control);
}

void OrganizerPane::SetUpListOrders()
{
    brw.AddOrder(view.ViewTable().KeyIndex(prefix_ + QStringLiteral("DescriptionK")));
    brw.SetLocator(byDescription_);
    byDescription_.Init(0, prefix_ + QStringLiteral("Description"), true, brw);
    brw.SetPrivateFields(prefix_ + QStringLiteral("Private"), prefix_ + QStringLiteral("UniqueID"));
    brw.MapField(prefix_ + QStringLiteral("Description"), 0);
}

} // namespace jornix
