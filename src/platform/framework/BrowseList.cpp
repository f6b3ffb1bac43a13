#include "platform/framework/BrowseList.h"

#include "platform/framework/FileManager.h"
#include "platform/framework/FormUpdate.h"
#include "platform/framework/ListLocator.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/FrameworkEvents.h"
#include "platform/runtime/ProgramWindow.h"
#include "platform/store/Table.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>
#include <functional>

namespace jornix {

namespace {

// Events the list posts to its own window: the store is read on the window's program thread only, so a view
// that wants more rows (or a key typed into the list) asks through the window's queue.
enum : int
{
    ReadAfterEvent = 1000,
    ReadBeforeEvent = 1001,
    LocatorKeyEvent = 1002
};

// Characters typed into the list go to its locator, through the window's thread.
class KeyFilter : public QObject
{
public:
    explicit KeyFilter(std::function<bool(QChar)> take) : take_(std::move(take)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool modified = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (!modified && text.size() == 1 && (text[0].isPrint() || text[0] == QLatin1Char('\b'))) {
                if (take_(text[0]))
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QChar)> take_;
};

} // namespace

// The rows the list holds, as the list control shows them. Reaching the end of what it holds asks the list
// for the next page; the rows themselves are read on the window's thread.
class BrowseList::Model : public QAbstractTableModel
{
public:
    Model(BrowseList& list, QAbstractItemModel* headers) : list_(list)
    {
        const int count = headers ? headers->columnCount() : 0;
        for (int column = 0; column < count; ++column) {
            titles_ << headers->headerData(column, Qt::Horizontal).toString();
            alignments_.push_back(headers->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole));
        }
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(titles_.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= titles_.size())
            return {};
        if (role == Qt::DisplayRole)
            return titles_[section];
        if (role == Qt::TextAlignmentRole)
            return alignments_[size_t(section)];
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(rows.size()))
            return {};
        const ListRow& row = rows[size_t(index.row())];
        const int column = index.column();
        if (QVariant styled = row.style.Data(column, role); styled.isValid())
            return styled;
        if (role == Qt::DisplayRole)
            return column < row.texts.size() ? row.texts[column] : QString();
        if (role == Qt::DecorationRole) {
            const int icon = column < int(row.icons.size()) ? row.icons[size_t(column)] : 0;
            return icon > 0 ? list_.IconImage(icon) : QVariant();
        }
        if (role == Qt::TextAlignmentRole && column < int(alignments_.size()))
            return alignments_[size_t(column)];
        return {};
    }
    bool canFetchMore(const QModelIndex& parent) const override { return !parent.isValid() && !atEnd; }
    void fetchMore(const QModelIndex& parent) override
    {
        // A list that has no room yet (not laid out) needs no more rows.
        const QTreeView* tree = list_.Widget();
        if (tree && tree->viewport()->height() <= 0)
            return;
        if (!parent.isValid() && !atEnd && !afterAsked && NeedsRowsBelow()) {
            afterAsked = true;
            list_.PostToWindow(FrameworkEvent{ReadAfterEvent, list_.list_});
        }
    }
    // The view asks at every layout; rows are read only while fewer than a screenful lie below the visible
    // ones, else a list would read its whole table as soon as it is laid out. Asked again when the read is
    // due: rows dropped at the other end meanwhile make the view ask without need.
    bool NeedsRowsBelow() const
    {
        const QTreeView* tree = list_.Widget();
        return !tree || RowsBelowView(*tree) < VisibleRows(*tree);
    }
    int VisibleRows(const QTreeView& tree) const { return tree.viewport()->height() / RowHeight(tree) + 1; }
    int RowsBelowView(const QTreeView& tree) const
    {
        // The scroll bar's range may not have caught up with the rows yet: then count from the top.
        const QScrollBar* bar = tree.verticalScrollBar();
        if (bar->maximum() <= 0)
            return int(rows.size()) - VisibleRows(tree);
        const int below = bar->maximum() - bar->value();
        return tree.verticalScrollMode() == QAbstractItemView::ScrollPerItem ? below
                                                                             : below / RowHeight(tree);
    }
    static int RowHeight(const QTreeView& tree) { return std::max(1, tree.sizeHintForRow(0)); }
    void AskBefore()
    {
        if (!atStart && !beforeAsked) {
            beforeAsked = true;
            list_.PostToWindow(FrameworkEvent{ReadBeforeEvent, list_.list_});
        }
    }

    void Replace(std::vector<ListRow> newRows)
    {
        beginResetModel();
        rows = std::move(newRows);
        endResetModel();
    }
    void Append(std::vector<ListRow> more)
    {
        if (more.empty())
            return;
        beginInsertRows({}, int(rows.size()), int(rows.size() + more.size()) - 1);
        std::move(more.begin(), more.end(), std::back_inserter(rows));
        endInsertRows();
    }
    // Rows dropped at one end, so that the list holds a bounded window of rows.
    void Drop(bool front, int count)
    {
        if (count <= 0)
            return;
        const int first = front ? 0 : int(rows.size()) - count;
        beginRemoveRows({}, first, first + count - 1);
        rows.erase(rows.begin() + first, rows.begin() + first + count);
        endRemoveRows();
        if (front)
            atStart = false;
        else
            atEnd = false;
    }
    void Prepend(std::vector<ListRow> more)
    {
        if (more.empty())
            return;
        beginInsertRows({}, 0, int(more.size()) - 1);
        rows.insert(rows.begin(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
        endInsertRows();
    }

    std::vector<ListRow> rows;
    bool atStart = true;
    bool atEnd = true;
    bool afterAsked = false;
    bool beforeAsked = false;

private:
    BrowseList& list_;
    QStringList titles_;
    std::vector<QVariant> alignments_;
};

BrowseList::BrowseList() = default;

BrowseList::~BrowseList()
{
    Kill();
}

void BrowseList::Init(int listControl, View& view, TableRelations& relations, WindowController& window)
{
    list_ = listControl;
    view_ = &view;
    relations_ = &relations;
    window_ = &window;
    window.AddComponent(*this);
    QTreeView* tree = Widget();
    model_ = std::make_unique<Model>(*this, tree ? tree->model() : nullptr);
    window.window.SetListModel(list_, model_.get());
    if (!tree)
        return;
    tree->setItemDelegate(new ListRowDelegate(tree));
    QObject::connect(tree->verticalScrollBar(), &QScrollBar::valueChanged, tree, [this](int value) {
        if (QTreeView* view = Widget(); view && value == view->verticalScrollBar()->minimum())
            model_->AskBefore();
    });
    popup_.Init(tree, [this](int control) { PostToWindow(FrameworkEvent{Event::Accepted, control}); });
    keys_ = std::make_unique<KeyFilter>([this](QChar character) {
        if (!Locator())
            return false;
        PostLocatorKey(character);
        return true;
    });
    tree->installEventFilter(keys_.get());
}

void BrowseList::Kill()
{
    popup_.Kill();
    if (QTreeView* tree = Widget(); tree && keys_)
        tree->removeEventFilter(keys_.get());
    keys_.reset();
    model_.reset(); // the list control lets go of a model that is destroyed
    window_ = nullptr;
}

QTreeView* BrowseList::Widget() const
{
    return window_ ? qobject_cast<QTreeView*>(window_->window.Widget(list_)) : nullptr;
}

Table& BrowseList::ListTable() const
{
    return view_->ViewTable();
}

void BrowseList::SetUpdateButtons(int insertButton, int changeButton, int deleteButton)
{
    insertButton_ = insertButton;
    changeButton_ = changeButton;
    deleteButton_ = deleteButton;
}

void BrowseList::AttachToolbar(ToolbarController& toolbar)
{
    toolbar.SetTarget(this);
}

// Orders --------------------------------------------------------------------------------------------------

void BrowseList::AddOrder(int key)
{
    orders_.push_back(key);
    locators_.push_back(nullptr);
    if (order_ == 0) {
        order_ = 1;
        view_->SetOrder(key);
    }
}

void BrowseList::SetLocator(ListLocator& locator)
{
    if (!locators_.empty())
        locators_.back() = &locator;
}

ListLocator* BrowseList::Locator() const
{
    return order_ > 0 && order_ <= int(locators_.size()) ? locators_[size_t(order_ - 1)] : nullptr;
}

void BrowseList::SetOrder(int order)
{
    if (order < 1 || order > int(orders_.size()) || order == order_)
        return;
    order_ = order;
    view_->SetOrder(orders_[size_t(order - 1)]);
    if (ListLocator* locator = Locator())
        locator->Clear();
}

void BrowseList::ResetOrder() {}

// Columns -------------------------------------------------------------------------------------------------

void BrowseList::MapField(const QString& fieldName, int column, const QString& picture)
{
    if (column >= int(columns_.size()))
        columns_.resize(size_t(column) + 1);
    Column& mapped = columns_[size_t(column)];
    mapped.field = ListTable().RequireField(fieldName);
    mapped.icon = false;
    mapped.hasPicture = !picture.isEmpty();
    mapped.picture = mapped.hasPicture ? Picture(picture) : Picture();
    ChooseMainColumn();
}

void BrowseList::MapIcon(const QString& fieldName, int column)
{
    if (column >= int(columns_.size()))
        columns_.resize(size_t(column) + 1);
    Column& mapped = columns_[size_t(column)];
    mapped.field = fieldName.isEmpty() ? -1 : ListTable().RequireField(fieldName);
    mapped.icon = true;
    ChooseMainColumn();
}

void BrowseList::ChooseMainColumn()
{
    // The column of the longest text field, the first of them on a tie: a description rather than a name
    // of who made the record, a code or a date.
    int main = -1, longest = 0;
    for (std::size_t column = 0; column < columns_.size(); ++column) {
        const Column& mapped = columns_[column];
        if (mapped.icon || mapped.field < 0 ||
            (mapped.hasPicture && mapped.picture.PictureKind() != Picture::Kind::Text))
            continue;
        const FieldDef& field = ListTable().Field(mapped.field);
        if (field.IsText() && field.width > longest) {
            main = int(column);
            longest = field.width;
        }
    }
    if (main >= 0 && window_)
        window_->window.SetMainColumn(list_, main);
}

void BrowseList::SetIcons(const QStringList& images)
{
    icons_ = images;
}

QVariant BrowseList::IconImage(int icon) const
{
    if (icon < 1 || icon > icons_.size())
        return {};
    return QIcon(WindowDescription::ImagePath(icons_[icon - 1]));
}

// The overridable operations ------------------------------------------------------------------------------

void BrowseList::FillRow(ListRow& row)
{
    row.texts.resize(qsizetype(columns_.size()));
    row.icons.resize(columns_.size(), 0);
    for (size_t column = 0; column < columns_.size(); ++column) {
        const Column& mapped = columns_[column];
        if (mapped.field < 0)
            continue;
        const QVariant value = row.record.Value(mapped.field);
        if (mapped.icon)
            row.icons[column] = value.toInt();
        else
            row.texts[qsizetype(column)] =
                mapped.hasPicture ? mapped.picture.Format(value) : value.toString();
    }
}

int BrowseList::CheckRecord(const Record&)
{
    return 0;
}

int BrowseList::PrepareRecord()
{
    return relations_->Access().PrepareRecord();
}

void BrowseList::RefreshControls()
{
    const bool rows = RowCount() > 0;
    if (changeButton_)
        window_->window.Enable(changeButton_, rows);
    if (deleteButton_)
        window_->window.Enable(deleteButton_, rows);
}

// Rows ----------------------------------------------------------------------------------------------------

int BrowseList::RowCount() const
{
    return model_ ? int(model_->rows.size()) : 0;
}

int BrowseList::SelectedRow() const
{
    if (!window_)
        return -1;
    const int row = window_->window.SelectedRow(list_);
    return row < RowCount() ? row : -1;
}

const ListRow* BrowseList::Row(int row) const
{
    return row >= 0 && row < RowCount() ? &model_->rows[size_t(row)] : nullptr;
}

const ListRow* BrowseList::Selected() const
{
    return Row(SelectedRow());
}

void BrowseList::Select(int row)
{
    if (RowCount() == 0)
        return;
    window_->window.SelectRow(list_, std::clamp(row, 0, RowCount() - 1));
}

std::vector<ListRow> BrowseList::ReadRows(const Position& from, Direction direction, int count,
                                          bool includeFrom, bool& atEdge)
{
    std::vector<ListRow> listed;
    std::vector<ViewRow> page;
    Position at = from;
    bool include = includeFrom;
    atEdge = false;
    while (int(listed.size()) < count) {
        ++pagesRead_;
        if (!view_->Read(at, direction, PageRows, page, include) || page.empty()) {
            atEdge = true;
            break;
        }
        include = false;
        const bool last = int(page.size()) < PageRows;
        at = direction == Direction::Forward ? page.back().position : page.front().position;
        std::vector<ListRow> kept;
        for (ViewRow& viewRow : page) {
            if (CheckRecord(viewRow.record) != 0)
                continue;
            ListRow row{std::move(viewRow.record), std::move(viewRow.position), {}, {}};
            FillRow(row);
            kept.push_back(std::move(row));
        }
        // The rows come in the view's order either way; a backward read gathers pages in front.
        if (direction == Direction::Forward)
            std::move(kept.begin(), kept.end(), std::back_inserter(listed));
        else
            listed.insert(listed.begin(), std::make_move_iterator(kept.begin()),
                          std::make_move_iterator(kept.end()));
        if (last) {
            atEdge = true;
            break;
        }
    }
    return listed;
}

void BrowseList::Show(std::vector<ListRow> rows, bool atStart, bool atEnd, int selected, int top)
{
    model_->atStart = atStart;
    model_->atEnd = atEnd;
    model_->afterAsked = model_->beforeAsked = false;
    // The scroll bar's moves while the rows are replaced are the list's own, not the user's.
    QTreeView* tree = Widget();
    const QSignalBlocker quiet(tree ? tree->verticalScrollBar() : nullptr);
    model_->Replace(std::move(rows));
    if (RowCount() > 0 && top >= 0) {
        // The screen as it was: its first row at the top, the highlight where it is, even off the screen.
        if (selected >= 0)
            SelectQuietly(selected);
        if (tree)
            tree->scrollTo(model_->index(std::min(top, RowCount() - 1), 0), QAbstractItemView::PositionAtTop);
    } else if (RowCount() > 0) {
        Select(selected);
        if (tree)
            tree->scrollTo(model_->index(std::clamp(selected, 0, RowCount() - 1), 0),
                           selected > 0 ? QAbstractItemView::PositionAtCenter
                                        : QAbstractItemView::PositionAtTop);
    }
    RefreshControls();
}

void BrowseList::ReadFirst()
{
    ResetOrder();
    NoteRead();
    bool atEnd = false;
    std::vector<ListRow> rows = ReadRows({}, Direction::Forward, PageRows, false, atEnd);
    Show(std::move(rows), true, atEnd, 0);
}

void BrowseList::ReadFrom(const Position& position)
{
    NoteRead();
    bool atStart = false, atEnd = false;
    std::vector<ListRow> after = ReadRows(position, Direction::Forward, PageRows, true, atEnd);
    if (after.empty()) {
        // Beyond the last row: show the end of the list.
        std::vector<ListRow> rows = ReadRows({}, Direction::Backward, PageRows, false, atStart);
        const int last = int(rows.size()) - 1;
        Show(std::move(rows), atStart, true, last);
        return;
    }
    std::vector<ListRow> before =
        ReadRows(after.front().position, Direction::Backward, PageRows / 2, false, atStart);
    const int selected = int(before.size());
    std::move(after.begin(), after.end(), std::back_inserter(before));
    Show(std::move(before), atStart, atEnd, selected);
}

void BrowseList::ReadAround(qint64 rowId)
{
    ResetOrder();
    Position position;
    if (rowId == 0 || !view_->PositionOf(rowId, position)) {
        ReadFirst();
        return;
    }
    ReadFrom(position);
}

void BrowseList::Reread()
{
    const int oldSelected = SelectedRow();
    const qint64 selectedId = oldSelected >= 0 ? model_->rows[size_t(oldSelected)].position.rowId : 0;
    ResetOrder();
    if (RowCount() == 0 || view_->OrderGeneration() != seenOrder_) {
        // Another order: the positions held mean nothing in it.
        ReadAround(selectedId);
        return;
    }
    // The rows held are read again from the first of them, so that the rows above the screen stay too.
    const int oldTop = FirstVisibleRow();
    const qint64 topId = model_->rows[size_t(oldTop)].position.rowId;
    const bool fromStart = model_->atStart;
    const Position start = fromStart ? Position{} : model_->rows.front().position;
    NoteRead();
    bool atEnd = false;
    std::vector<ListRow> rows =
        ReadRows(start, Direction::Forward, std::max(RowCount(), PageRows), !fromStart, atEnd);
    if (rows.empty() && !fromStart) {
        ReadFirst(); // every row from the first held one on is gone
        return;
    }
    // The same records where they still are; a record that is gone leaves its place to the next one.
    const auto place = [&rows](qint64 rowId, int before) {
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].position.rowId == rowId)
                return int(row);
        }
        return std::clamp(before, 0, std::max(0, int(rows.size()) - 1));
    };
    const int top = place(topId, oldTop);
    const int selected = oldSelected >= 0 ? place(selectedId, oldSelected) : -1;
    Show(std::move(rows), fromStart, atEnd, selected, top);
}

void BrowseList::Refresh()
{
    ResetOrder();
    if (ChangedSinceRead())
        Reread();
}

void BrowseList::WatchTable(const Table& table)
{
    if (std::find(watched_.begin(), watched_.end(), &table) == watched_.end())
        watched_.push_back(&table);
}

void BrowseList::NoteRead()
{
    seenChanges_.clear();
    seenChanges_.push_back(ListTable().ChangeCount());
    for (const Table* table : watched_)
        seenChanges_.push_back(table->ChangeCount());
    seenGeneration_ = view_->Generation();
    seenOrder_ = view_->OrderGeneration();
    seenValues_ = view_->CurrentValues();
}

bool BrowseList::ChangedSinceRead() const
{
    if (seenChanges_.empty() || seenGeneration_ != view_->Generation() ||
        seenValues_ != view_->CurrentValues())
        return true;
    if (seenChanges_[0] != ListTable().ChangeCount())
        return true;
    for (size_t table = 0; table < watched_.size(); ++table) {
        if (table + 1 >= seenChanges_.size() || seenChanges_[table + 1] != watched_[table]->ChangeCount())
            return true;
    }
    return false;
}

int BrowseList::FirstVisibleRow() const
{
    const QTreeView* tree = Widget();
    if (!tree || RowCount() == 0)
        return 0;
    const QModelIndex index = tree->indexAt(QPoint(0, 0));
    return index.isValid() ? index.row() : 0;
}

void BrowseList::SelectQuietly(int row)
{
    QTreeView* tree = Widget();
    if (tree && tree->selectionModel() && RowCount() > 0)
        tree->selectionModel()->setCurrentIndex(model_->index(std::clamp(row, 0, RowCount() - 1), 0),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
}

int BrowseList::ReadAfter()
{
    model_->afterAsked = false;
    if (model_->atEnd)
        return 0;
    const Position from = model_->rows.empty() ? Position{} : model_->rows.back().position;
    bool atEnd = false;
    model_->Append(ReadRows(from, Direction::Forward, PageRows, false, atEnd));
    model_->atEnd = atEnd;
    // The rows far above the screen go; the screen and the highlight stay on their records.
    const int dropped = std::max(0, RowCount() - MaxRows);
    if (dropped > 0) {
        const int top = FirstVisibleRow();
        const int selected = SelectedRow();
        QTreeView* tree = Widget();
        const QSignalBlocker quiet(tree ? tree->verticalScrollBar() : nullptr);
        model_->Drop(true, dropped);
        if (selected >= 0)
            SelectQuietly(selected - dropped);
        if (tree)
            tree->scrollTo(model_->index(std::max(0, top - dropped), 0), QAbstractItemView::PositionAtTop);
    }
    RefreshControls();
    return dropped;
}

int BrowseList::ReadBefore()
{
    model_->beforeAsked = false;
    if (model_->atStart || model_->rows.empty())
        return 0;
    bool atStart = false;
    std::vector<ListRow> rows =
        ReadRows(model_->rows.front().position, Direction::Backward, PageRows, false, atStart);
    const int added = int(rows.size());
    const int top = FirstVisibleRow();
    const int selected = SelectedRow();
    QTreeView* tree = Widget();
    const QSignalBlocker quiet(tree ? tree->verticalScrollBar() : nullptr);
    model_->Prepend(std::move(rows));
    model_->atStart = atStart;
    // The rows far below the screen go, so that the list stays within its bound.
    model_->Drop(false, std::max(0, RowCount() - MaxRows));
    if (selected >= 0 && selected + added >= RowCount())
        SelectQuietly(RowCount() - 1);
    // Keep the rows that were at the top where they were on the screen.
    if (tree && added > 0)
        tree->scrollTo(model_->index(top + added, 0), QAbstractItemView::PositionAtTop);
    return added;
}

void BrowseList::Move(qint32 vcrRequest)
{
    const int page = std::max(1, PageRows / 3);
    const int row = SelectedRow();
    switch (vcrRequest) {
    case VcrRequest::Top:
        ReadFirst();
        return;
    case VcrRequest::Bottom: {
        NoteRead();
        bool atStart = false;
        std::vector<ListRow> rows = ReadRows({}, Direction::Backward, PageRows, false, atStart);
        const int last = int(rows.size()) - 1;
        Show(std::move(rows), atStart, true, last);
        return;
    }
    case VcrRequest::Up:
    case VcrRequest::PageUp: {
        const int step = vcrRequest == VcrRequest::Up ? 1 : page;
        int target = row - step;
        if (target < 0 && !model_->atStart)
            target += ReadBefore();
        Select(std::max(target, 0));
        return;
    }
    case VcrRequest::Down:
    case VcrRequest::PageDown: {
        const int step = vcrRequest == VcrRequest::Down ? 1 : page;
        int target = row + step;
        if (target >= RowCount() && !model_->atEnd)
            target -= ReadAfter();
        Select(target);
        return;
    }
    default:
        return;
    }
}

// Requests ------------------------------------------------------------------------------------------------

int BrowseList::Ask(int request)
{
    Table& table = ListTable();
    qint32& vcr = window_->VCRREQUEST ? *window_->VCRREQUEST : CurrentContext().VCRRequest;
    int response = Response::Cancelled;
    qint64 primedRow = 0;
    QVariant primedNumber;
    for (;;) {
        vcr = VcrRequest::None;
        if (request == Request::Insert) {
            if (PrepareRecord() != 0) {
                Reread();
                return Response::Cancelled;
            }
            primedRow = relations_->Access().PrimedRow();
            primedNumber = FormUpdate::PrimedNumber(relations_->Access());
        } else {
            const ListRow* selected = Selected();
            if (!selected)
                return Response::Cancelled;
            Update();
            if (table.CurrentRow() != selected->position.rowId) {
                // The record is gone since the list read it: show what is there now.
                Reread();
                return Response::Cancelled;
            }
        }
        response = window_->RunSubProcedure(formNumber_, request);
        if (vcr == VcrRequest::None || request != Request::Change)
            break;
        // The form asked to step through the list: move and open it again on the new row.
        Update();
        const qint64 stepFrom = table.CurrentRow();
        ReadAround(stepFrom);
        const qint32 step = vcr;
        const int before = SelectedRow();
        Move(step);
        if (SelectedRow() == before && (step == VcrRequest::Up || step == VcrRequest::Down))
            break; // at an end of the list: nothing to step to
    }
    vcr = VcrRequest::None;
    // A new record that was not saved leaves no row, even when its form never got as far as to undo it.
    if (request == Request::Insert && response != Response::Completed)
        FormUpdate::UndoPrimedRow(relations_->Access(), primedRow, primedNumber);
    if (response == Response::Completed && (request == Request::Insert || request == Request::Change))
        ReadAround(table.CurrentRow());
    else
        Reread();
    return response;
}

// Component -----------------------------------------------------------------------------------------------

int BrowseList::TakeEvent(const FrameworkEvent& event)
{
    if (event.control != list_) {
        if (event.event != Event::Accepted || event.control == 0)
            return Level::GoOn;
        // The locator's own entry: the list moves to what was typed there; the window still takes the entry.
        if (ListLocator* locator = Locator(); locator && locator->EntryControl() == event.control) {
            if (auto* entry = qobject_cast<QLineEdit*>(window_->window.Widget(event.control)))
                locator->Locate(entry->text());
            return Level::GoOn;
        }
        int request = Request::None;
        if (event.control == insertButton_)
            request = Request::Insert;
        else if (event.control == changeButton_)
            request = Request::Change;
        else if (event.control == deleteButton_)
            request = Request::Delete;
        if (request == Request::None)
            return Level::GoOn;
        if (window_->window.IsEnabled(event.control))
            Ask(request);
        return Level::Handled;
    }
    switch (event.event) {
    case ReadAfterEvent:
        if (model_->NeedsRowsBelow())
            ReadAfter();
        else
            model_->afterAsked = false;
        return Level::Handled;
    case ReadBeforeEvent:
        ReadBefore();
        return Level::Handled;
    case LocatorKeyEvent:
        if (ListLocator* locator = Locator())
            locator->TakeCharacter(QChar(char16_t(event.key)));
        return Level::Handled;
    case Event::Accepted:
        // A row activated (double click or Enter) changes it, where the window allows changes.
        if (changeButton_ && window_->window.IsEnabled(changeButton_) && Selected()) {
            Ask(Request::Change);
            return Level::Handled;
        }
        return Level::GoOn;
    default:
        return Level::GoOn;
    }
}

void BrowseList::Reset(bool force)
{
    if (force)
        Refresh();
}

void BrowseList::Update()
{
    if (const ListRow* row = Selected())
        ListTable().FetchRow(row->position.rowId);
}

bool BrowseList::TakeToolbarAction(ToolbarAction action)
{
    switch (action) {
    case ToolbarAction::Top:
        Move(VcrRequest::Top);
        return true;
    case ToolbarAction::PageUp:
        Move(VcrRequest::PageUp);
        return true;
    case ToolbarAction::Up:
        Move(VcrRequest::Up);
        return true;
    case ToolbarAction::Down:
        Move(VcrRequest::Down);
        return true;
    case ToolbarAction::PageDown:
        Move(VcrRequest::PageDown);
        return true;
    case ToolbarAction::Bottom:
        Move(VcrRequest::Bottom);
        return true;
    case ToolbarAction::Insert:
        if (insertButton_ && window_->window.IsEnabled(insertButton_))
            Ask(Request::Insert);
        return true;
    case ToolbarAction::Change:
        if (changeButton_ && window_->window.IsEnabled(changeButton_))
            Ask(Request::Change);
        return true;
    case ToolbarAction::Delete:
        if (deleteButton_ && window_->window.IsEnabled(deleteButton_))
            Ask(Request::Delete);
        return true;
    default:
        return false;
    }
}

void BrowseList::PostLocatorKey(QChar character)
{
    PostToWindow(FrameworkEvent{LocatorKeyEvent, list_, character.unicode(), 0, 0});
}

void BrowseList::PostToWindow(const FrameworkEvent& event)
{
    // To the list's own window, not to its thread's top window: a form open over the list must not get the
    // list's events, which wait until the list's window takes events again.
    if (ProgramWindow* program = window_ ? window_->Program() : nullptr)
        program->Post(event);
}

} // namespace jornix
