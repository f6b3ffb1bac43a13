#include "documents/BrowseFilter.h"
#include "documents/MailMerge.h"
#include "documents/RecOrders.h"
#include "documents/TXEdit.h"
#include "platform/framework/WindowController.h"
#include "platform/store/Table.h"

#include <QWidget>

namespace jornix {
namespace {

// "Mail Merge Filter and Order": the merge's filter and order expressions, each with "..." to choose a saved
// one.
class MergeFilterWindowController : public WindowController
{
public:
    int sheet = 0, filterEntry = 0, filterLookup = 0, orderEntry = 0, orderLookup = 0;
    int clearButton = 0, okButton = 0, cancelButton = 0;

    explicit MergeFilterWindowController(TXEdit& edit)
        : WindowController(QStringLiteral("MergeFilterWindow"),
                           QStringLiteral("Mail Merge Filter and Order")),
          edit_(edit), filter_(edit.Mail().MAILFILTERVALUE), order_(edit.Mail().MAILORDERVALUE)
    {
        const QString picture = QStringLiteral("@s%1").arg(MailMergeFields::ExpressionWidth - 1);
        sheet = window.Sheet([&] {
            window.Tab(QStringLiteral("Record &Filter"), [&] {
                window.Text(QStringLiteral("Set filter in the form:  PRE:FieldName = 'Filtervalue'"));
                window.Row([&] {
                    filterEntry =
                        window.Entry(Bind(filter_), picture).Name(QStringLiteral("Filter")).Stretch();
                    filterLookup = window.Button(QStringLiteral("...")).Name(QStringLiteral("FilterLookup"));
                });
            });
            window.Tab(QStringLiteral("Record &Order"), [&] {
                window.Text(QStringLiteral("Set order in the form:  +PRE:FieldName, -PRE:FieldName"));
                window.Row([&] {
                    orderEntry = window.Entry(Bind(order_), picture).Name(QStringLiteral("Order")).Stretch();
                    orderLookup = window.Button(QStringLiteral("...")).Name(QStringLiteral("OrderLookup"));
                });
            });
        });
        window.Buttons([&] {
            clearButton = window.Button(QStringLiteral("&Clear filter and order"))
                              .Name(QStringLiteral("ClearFilterAndOrder"));
            window.Spacer();
            okButton = window.Button(QStringLiteral("&Ok"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("Ok"))
                           .Default();
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
        });
        for (const int lookup : {filterLookup, orderLookup})
            window.Widget(lookup)->setFixedWidth(
                window.Widget(lookup)->fontMetrics().horizontalAdvance(QStringLiteral("....")) * 2);
        window.Root()->resize(480, window.Root()->sizeHint().height());
    }

    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        AddButtonAction(cancelButton, Response::Cancelled);
        FIRSTFIELD = filterEntry;
        ShowWindow();
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = WindowController::OnAccepted(control))
            return level;
        if (control == filterLookup || control == orderLookup) {
            const bool filter = control == filterLookup;
            RecOrdersThread().request = Request::Select;
            if (BrowseFilter(filter ? RecOrdersType::Filter : RecOrdersType::Order) == Response::Completed) {
                const QString chosen =
                    RecOrders().Buffer().Text(RecOrders().FieldIndex(QStringLiteral("EXPRESSION")));
                (filter ? filter_ : order_) = chosen.left(MailMergeFields::ExpressionWidth - 1);
                window.ShowValues(filter ? filterEntry : orderEntry);
            }
            window.Select(filter ? filterEntry : orderEntry);
            return Level::Handled;
        }
        if (control == clearButton) {
            filter_.clear();
            order_.clear();
            window.ShowValues();
            return Level::Handled;
        }
        if (control == okButton) {
            window.WriteValues();
            edit_.Mail().MAILFILTERVALUE = filter_;
            edit_.Mail().MAILORDERVALUE = order_;
            SetResponse(Response::Completed);
            return Level::Handled;
        }
        return Level::GoOn;
    }

private:
    TXEdit& edit_;
    QString filter_;
    QString order_;
};

} // namespace

void TXEdit::MergeFilterWindow()
{
    MergeFilterWindowController thisWindow(*this);
    thisWindow.Run();
}

} // namespace jornix
