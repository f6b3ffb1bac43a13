#include "platform/framework/FittedList.h"

#include "platform/runtime/ProgramWindow.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QScrollBar>

#include <algorithm>

namespace jornix {

namespace {

// A column that fits its rows grows to this many average characters at most (about forty of a usual text):
// one long text leaves the main column its room.
constexpr int MostCharacters = 50;

} // namespace

FittedList::FittedList()
{
    header()->setStretchLastSection(false);
    // A column the user drags keeps the width the user gave it.
    connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
        if (!fitting_ && column != main_)
            sizedByUser_.insert(column);
    });
}

void FittedList::SetLeastWidths(std::vector<int> widths)
{
    least_ = std::move(widths);
    Fit();
}

void FittedList::SetMainColumn(int column)
{
    if (column == main_)
        return;
    main_ = column;
    Fit();
}

void FittedList::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QTreeView::setModel(model);
    if (model) {
        // After the view has taken the change, so that it measures the rows it holds now.
        const auto fit = [this] { Fit(); };
        connect(model, &QAbstractItemModel::modelReset, this, fit);
        connect(model, &QAbstractItemModel::rowsInserted, this, fit);
        connect(model, &QAbstractItemModel::layoutChanged, this, fit);
        connect(model, &QAbstractItemModel::dataChanged, this, fit);
    }
    Fit();
}

int FittedList::LeastWidth(int column) const
{
    const int given = column < int(least_.size()) ? least_[std::size_t(column)] : 0;
    return std::max(given, header()->sectionSizeHint(column));
}

int FittedList::ContentWidth(int column) const
{
    const int rows = model() && model()->rowCount() > 0 ? sizeHintForColumn(column) : 0;
    return std::min(rows, fontMetrics().averageCharWidth() * MostCharacters);
}

void FittedList::Fit()
{
    QHeaderView* columns = header();
    if (!model() || columns->count() == 0)
        return;
    fitting_ = true;
    for (int column = 0; column < columns->count(); ++column) {
        if (column == main_) {
            columns->setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        const bool titled = !model()->headerData(column, Qt::Horizontal).toString().isEmpty();
        columns->setSectionResizeMode(column, titled ? QHeaderView::Interactive : QHeaderView::Fixed);
        if (sizedByUser_.count(column))
            continue;
        const int width = std::max(LeastWidth(column), ContentWidth(column));
        if (columns->sectionSize(column) != width)
            columns->resizeSection(column, width);
    }
    fitting_ = false;
    updateGeometry();
    if (widening_ == Widening::Waiting && model()->rowCount() > 0)
        WidenWindow();
}

QWidget* FittedList::Outer() const
{
    QWidget* outer = const_cast<FittedList*>(this);
    while (outer && !outer->isWindow() && !qobject_cast<QMdiSubWindow*>(outer) &&
           !qobject_cast<QDockWidget*>(outer))
        outer = outer->parentWidget();
    return outer;
}

void FittedList::WidenWindow()
{
    // The window opened before its rows were read: what they need beyond the room the list asked for, the
    // window grows by, as far as the place it stands in allows. Controls beside the list may take a share of
    // the growth, so it is measured again.
    QWidget* outer = Outer();
    if (!outer || !outer->isVisible())
        return; // not yet: when it shows
    if (qobject_cast<QDockWidget*>(outer)) {
        widening_ = Widening::Done; // a pane beside the frame's area keeps the width of the frame's side
        return;
    }
    const int start = outer->width();
    const Widening was = widening_;
    widening_ = Widening::Growing;
    if (!outer->isMaximized() && !outer->isMinimized()) {
        for (int round = 0; round < 3; ++round) {
            const int shortBy = sizeHint().width() - width();
            const int before = outer->width();
            if (shortBy <= 0)
                break;
            outer->resize(outer->width() + shortBy, outer->height());
            KeepInsideVisibleArea(outer);
            if (outer->width() <= before)
                break; // no more room
        }
    }
    keptWidth_ = outer->width();
    // A window that could not grow when squeezed again has no more room: it stays as it is.
    widening_ = was == Widening::Keeping && keptWidth_ <= start ? Widening::Done : Widening::Keeping;
}

void FittedList::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    // Controls beside the list that grow once the window has opened (a picture, a note shown for the
    // highlighted row) squeeze it: the window grows again, until the user gives it a width.
    QWidget* outer = Outer();
    if (widening_ == Widening::Keeping && outer && outer->width() == keptWidth_ && sizeHint().width() > width())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QWidget* window = Outer();
                    widening_ == Widening::Keeping && window && window->width() == keptWidth_ &&
                    sizeHint().width() > width())
                    WidenWindow();
            },
            Qt::QueuedConnection);
}

QSize FittedList::sizeHint() const
{
    QSize hint = QTreeView::sizeHint();
    const QHeaderView* columns = header();
    // Beside other columns the main text asks for the room of a long text; a list of one column is as wide
    // as its window makes it.
    // A pane beside the frame's area keeps to the room its other columns need.
    const bool pane = qobject_cast<QDockWidget*>(Outer()) != nullptr;
    const int mainText =
        columns->count() > 1 && !pane ? fontMetrics().averageCharWidth() * MostCharacters : 0;
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < columns->count(); ++column)
        // In a pane the main text takes what is left of the pane's width: its rows never widen the pane.
        width += column == main_ ? std::max({LeastWidth(column), pane ? 0 : ContentWidth(column), mainText})
                                 : columns->sectionSize(column);
    hint.setWidth(std::max(hint.width(), width));
    return hint;
}

} // namespace jornix
