#include "documents/UpdateRecOrders.h"

#include "documents/RecOrders.h"
#include "documents/RecOrdersWindow.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include <QWidget>

namespace jornix {
namespace {

const QString Expression = QStringLiteral("REC:EXPRESSION");

class UpdateRecOrdersWindow : public RecOrdersWindow
{
public:
    int expression = 0, okButton = 0, cancelButton = 0;

    UpdateRecOrdersWindow()
        : RecOrdersWindow(QStringLiteral("UpdateRecOrders"), QStringLiteral("Update Filters and Orders"))
    {
        window.Row([&] {
            window.Prompt(QStringLiteral("Expression:"));
            expression = window.Entry(BindField(RecOrders(), Expression), QStringLiteral("@s1024"))
                             .Name(QStringLiteral("Expression"))
                             .Stretch();
        });
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("OK"))
                           .Default();
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
        });
        window.Root()->resize(520, window.Root()->sizeHint().height());
    }

    int Init() override
    {
        REQUEST = RecOrdersThread().request;
        if (const int level = RecOrdersWindow::Init())
            return level;
        Table& table = RecOrders();
        // The record as it stood: what Ctrl+' puts back, and what a change by another station is told by.
        read_ = table.Buffer();
        ditto_ = read_;
        if (REQUEST == Request::Delete) {
            RESPONSE = DeleteRecord() ? Response::Completed : Response::Cancelled;
            return Level::Stop;
        }
        if (REQUEST != Request::Insert && REQUEST != Request::Change)
            return Level::Stop;
        window.SetCaption(REQUEST == Request::Insert ? QStringLiteral("Adding a RecOrders Record")
                                                     : QStringLiteral("Changing a RecOrders Record"));
        AddButtonAction(cancelButton, Response::Cancelled);
        FIRSTFIELD = expression;
        ShowPlaced();
        AlertKey(HistoryKey);
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = RecOrdersWindow::OnAccepted(control))
            return level;
        if (control == okButton) {
            window.WriteValues();
            if (REQUEST == Request::Insert ? AddRecord() : ChangeRecord())
                SetResponse(Response::Completed);
            return Level::Handled;
        }
        return Level::GoOn;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        if (event.event == Event::AlertKey && event.key == HistoryKey) {
            RecOrders().Buffer().SetValue(Expression, ditto_.Value(Expression));
            window.ShowValues(expression);
            window.Select(expression);
            return Level::Handled;
        }
        return RecOrdersWindow::OnWindowEvent(event);
    }

private:
    bool AddRecord()
    {
        if (const Status status = RecOrders().Insert(); !status) {
            RecOrdersWarning(14, status.Message());
            window.Select(expression);
            return false;
        }
        return true;
    }

    bool ChangeRecord()
    {
        Table& table = RecOrders();
        if (table.Buffer().Value(Expression) == read_.Value(Expression))
            return true;
        for (;;) {
            const Record mine = table.Buffer();
            Transaction transaction(table);
            if (const Status begun = transaction.Begin(); !begun) {
                RecOrdersWarning(34, begun.Message(), QStringLiteral("Update"));
                return false;
            }
            // The record as it is stored now: another station may have changed it since the form read it.
            const Status reread = table.FetchRow(table.CurrentRow());
            if (reread && table.Buffer() != read_) {
                transaction.Rollback();
                read_ = table.Buffer();
                ditto_ = mine;
                RecOrdersWarning(38);
                window.ShowValues();
                return false;
            }
            table.Buffer() = mine;
            Status status = reread ? table.Update() : reread;
            if (status)
                status = transaction.Commit();
            if (status)
                return true;
            transaction.Rollback();
            RecOrdersWarning(15, status.Message(), status.Message());
            if (RecOrdersWarning(16) != MessageButton::Yes)
                return false;
        }
    }

    bool DeleteRecord()
    {
        if (RecOrdersWarning(32) != MessageButton::Ok)
            return false;
        Table& table = RecOrders();
        for (;;) {
            Transaction transaction(table);
            if (const Status begun = transaction.Begin(); !begun) {
                RecOrdersWarning(34, begun.Message(), QStringLiteral("Delete"));
                return false;
            }
            Status status = table.Delete();
            if (status)
                status = transaction.Commit();
            if (status)
                return true;
            transaction.Rollback();
            RecOrdersWarning(17, status.Message());
            if (RecOrdersWarning(18) != MessageButton::Yes)
                return false;
        }
    }

    Record read_;
    Record ditto_;
};

} // namespace

int UpdateRecOrders()
{
    UpdateRecOrdersWindow thisWindow;
    RecOrdersThread().response = thisWindow.Run();
    return RecOrdersThread().response;
}

} // namespace jornix
