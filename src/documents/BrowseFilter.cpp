#include "documents/BrowseFilter.h"

#include "documents/RecOrders.h"
#include "documents/RecOrdersWindow.h"
#include "documents/UpdateRecOrders.h"
#include "platform/framework/BrowseList.h"
#include "platform/framework/ListLocator.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include <QMenu>

namespace jornix {
namespace {

const QString Expression = QStringLiteral("REC:EXPRESSION");
constexpr int ShownCharacters = 255;

// The expressions of the kind of the selected tab, in key order. A new expression takes that kind, so that it
// shows on the tab it was added on.
class RecOrdersList : public BrowseList
{
public:
    int sheet = 0;

    int TabKind() const
    {
        return Window().window.SelectedTab(sheet) == 2 ? RecOrdersType::Order : RecOrdersType::Filter;
    }

    void ResetOrder() override
    {
        const int kind = TabKind();
        if (kind == filteredKind_)
            return;
        if (ListView().SetFilter(QStringLiteral("REC:TYPE = %1").arg(kind)))
            filteredKind_ = kind;
    }

    void FillRow(ListRow& row) override
    {
        BrowseList::FillRow(row);
        row.texts[0].truncate(ShownCharacters);
    }

    int PrepareRecord() override
    {
        Table& table = ListView().ViewTable();
        table.ClearBuffer();
        table.Buffer().SetValue(QStringLiteral("REC:TYPE"), TabKind());
        return 0;
    }

private:
    int filteredKind_ = 0;
};

class BrowseFilterWindow : public RecOrdersWindow
{
public:
    int sheet = 0, filtersTab = 0, ordersTab = 0, list = 0;
    int selectButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0, closeButton = 0;

    explicit BrowseFilterWindow(int kind)
        : RecOrdersWindow(QStringLiteral("BrowseFilter"), QStringLiteral("Browse Filters and Orders")),
          kind_(kind == RecOrdersType::Order ? RecOrdersType::Order : RecOrdersType::Filter)
    {
        sheet = window.Sheet([&] {
            filtersTab = window.Tab(QStringLiteral("Record Filters"), [] {});
            ordersTab = window.Tab(QStringLiteral("Record Orders"), [] {});
        });
        list = window.List({{QStringLiteral("Expression"), QStringLiteral("@s80"), Qt::AlignLeft}})
                   .Name(QStringLiteral("List"))
                   .Stretch();
        window.Buttons([&] {
            selectButton = window.Button(QStringLiteral("&Select"), QStringLiteral("OKButton.gif"))
                               .Name(QStringLiteral("Select"));
            insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"))
                               .Name(QStringLiteral("Insert"));
            changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"))
                               .Name(QStringLiteral("Change"));
            deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"))
                               .Name(QStringLiteral("Delete"));
            window.Spacer();
            closeButton = window.Button(QStringLiteral("Close"), QStringLiteral("CancelButton.gif"))
                              .Name(QStringLiteral("Close"));
        });
        window.Root()->resize(480, 360);
    }

    int Init() override
    {
        selecting_ = RecOrdersThread().request == Request::Select;
        if (const int level = RecOrdersWindow::Init())
            return level;

        brw_.sheet = sheet;
        brw_.Init(list, view_, RecOrdersRelations(), *this);
        brw_.SetUpdateButtons(insertButton, changeButton, deleteButton);
        brw_.AddOrder(RecOrders().KeyIndex(QStringLiteral("REC:KEY:EXPRESSION")));
        brw_.SetLocator(locator_);
        locator_.Init(0, Expression, true, brw_);
        brw_.MapField(Expression, 0);
        AddButtonAction(closeButton, Response::Cancelled);

        // The kind chosen is the only tab that can be chosen.
        window.SelectTab(sheet, kind_ == RecOrdersType::Order ? 2 : 1);
        window.Disable(kind_ == RecOrdersType::Order ? filtersTab : ordersTab);

        PopupMenu& popup = brw_.Popup();
        popup.AddControlItem(QStringLiteral("&Insert"), insertButton);
        popup.AddControlItem(QStringLiteral("&Change"), changeButton);
        popup.AddControlItem(QStringLiteral("&Delete"), deleteButton);
        popup.AddControlItem(QStringLiteral("&Select"), selectButton);
        if (QMenu* menu = popup.Menu())
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { EnablePopupItems(*menu); });

        ShowPlaced();
        AlertKey(Qt::Key_Insert);
        AlertKey(Qt::Key_Delete);
        AlertKey(int(Qt::CTRL) | int(Qt::Key_Return));
        AlertKey(int(Qt::CTRL) | int(Qt::Key_Enter));
        brw_.ReadFirst();
        RefreshSelect();
        FIRSTFIELD = list;
        return Level::GoOn;
    }

    int DispatchEvent(const FrameworkEvent& event) override
    {
        // A row chosen with a double click (or Enter) selects it in a lookup; elsewhere the list changes it.
        if (selecting_ && event.event == Event::Accepted && event.control == list) {
            SelectHighlighted();
            return Level::Handled;
        }
        const int level = RecOrdersWindow::DispatchEvent(event);
        RefreshSelect();
        return level;
    }

    int OnAccepted(int control) override
    {
        if (const int level = RecOrdersWindow::OnAccepted(control))
            return level;
        if (control == selectButton) {
            SelectHighlighted();
            return Level::Handled;
        }
        return Level::GoOn;
    }

    int OnNewSelection(int control) override
    {
        if (control == sheet)
            brw_.ReadFirst();
        return RecOrdersWindow::OnNewSelection(control);
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        if (event.event != Event::AlertKey)
            return RecOrdersWindow::OnWindowEvent(event);
        if (event.key == Qt::Key_Insert)
            Post(Event::Accepted, insertButton);
        else if (event.key == Qt::Key_Delete)
            Post(Event::Accepted, deleteButton);
        else
            Post(Event::Accepted, changeButton);
        return Level::Handled;
    }

    int RunSubProcedure(int, int request) override
    {
        RecOrdersThread().request = request;
        return UpdateRecOrders();
    }

private:
    void SelectHighlighted()
    {
        if (!window.IsEnabled(selectButton) || !brw_.Selected())
            return;
        brw_.Update(); // the highlighted record into this thread's buffer: the caller's
        SetResponse(Response::Completed);
    }

    void RefreshSelect()
    {
        if (list)
            window.Enable(selectButton, selecting_ && brw_.RowCount() > 0);
    }

    void EnablePopupItems(QMenu& menu)
    {
        const QList<QAction*> actions = menu.actions();
        const std::vector<PopupMenu::Item>& items = brw_.Popup().Items();
        for (size_t item = 0; item < items.size() && item < size_t(actions.size()); ++item)
            actions[qsizetype(item)]->setEnabled(window.IsEnabled(items[item].control));
    }

    const int kind_;
    bool selecting_ = false;
    View view_{RecOrders()};
    RecOrdersList brw_;
    ListLocator locator_;
};

} // namespace

int BrowseFilter(int kind)
{
    BrowseFilterWindow thisWindow(kind);
    RecOrdersThread().response = thisWindow.Run();
    return RecOrdersThread().response;
}

} // namespace jornix
