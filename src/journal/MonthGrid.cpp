#include "journal/MonthGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace jornix {
namespace {

const char* const WeekdayHeaders[MonthGrid::Columns] = {"Sun", "Mon", "Tue", "Wed", "Thr", "Fri", "Sat"};

} // namespace

MonthGrid::MonthGrid(QWidget* parent) : QWidget(parent)
{
    // The months share the window's width; the height of their rows is fixed.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MonthGrid::SetTitle(const QString& title)
{
    if (title == title_)
        return;
    title_ = title;
    update();
}

void MonthGrid::SetCell(int place, const Cell& cell)
{
    if (place < 0 || place >= Cells)
        return;
    Cell& held = cells_[place];
    if (held.text == cell.text && held.bold == cell.bold && held.colour == cell.colour)
        return;
    held = cell;
    cellsChanged_ = true;
}

void MonthGrid::ShowCells()
{
    // A refresh that leaves every cell as it was paints nothing.
    if (!cellsChanged_)
        return;
    cellsChanged_ = false;
    update();
}

void MonthGrid::SetSelectedPlace(int place)
{
    const int selected = place >= 0 && place < Cells ? place : -1;
    if (selected == selected_)
        return;
    selected_ = selected;
    update();
}

void MonthGrid::SetCurrentPlace(int place)
{
    const int current = place >= 0 && place < Cells ? place : -1;
    if (current == current_)
        return;
    current_ = current;
    update();
}

void MonthGrid::SetMarkerColours(const QColor& selectedFill, const QColor& currentFrame)
{
    if (selectedFill == selectedFill_ && currentFrame == currentFrame_)
        return;
    selectedFill_ = selectedFill;
    currentFrame_ = currentFrame;
    update();
}

int MonthGrid::TitleHeight() const
{
    return fontMetrics().height() * 2;
}

int MonthGrid::HeaderHeight() const
{
    return fontMetrics().height() + 8;
}

QSize MonthGrid::CellSize() const
{
    const QFontMetrics metrics = fontMetrics();
    return {qMax(34, metrics.horizontalAdvance(QStringLiteral("Wed")) + 14), metrics.height() + 10};
}

int MonthGrid::NarrowestCell() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("Wed")) + 6;
}

// The seven columns share the width the grid has, so that Sunday and Saturday are always in view; what the
// columns cannot share is split as margins at both sides.
int MonthGrid::CellWidth() const
{
    return qMax(1, (width() - 2 * Margin) / Columns);
}

int MonthGrid::GridLeft() const
{
    return (width() - CellWidth() * Columns) / 2;
}

QRect MonthGrid::CellRect(int place) const
{
    const QSize cell(CellWidth(), CellSize().height());
    const int left = GridLeft();
    const int top = TitleHeight() + HeaderHeight();
    return {left + (place % Columns) * cell.width(), top + (place / Columns) * cell.height(), cell.width(),
            cell.height()};
}

int MonthGrid::PlaceAt(const QPoint& point) const
{
    for (int place = 0; place < Cells; ++place)
        if (CellRect(place).contains(point))
            return place;
    return -1;
}

int MonthGrid::PlaceOf(int dayOfMonth) const
{
    const QString text = QStringLiteral("%1").arg(dayOfMonth, 2, 10, QLatin1Char('0'));
    for (int place = 0; place < Cells; ++place)
        if (cells_[place].text == text)
            return place;
    return -1;
}

QSize MonthGrid::sizeHint() const
{
    const QSize cell = CellSize();
    return {cell.width() * Columns + 2 * Margin, TitleHeight() + HeaderHeight() + cell.height() * Rows + 6};
}

QSize MonthGrid::minimumSizeHint() const
{
    return {NarrowestCell() * Columns + 2 * Margin, sizeHint().height()};
}

void MonthGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.base());
    painter.setPen(colours.mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // The title on a band of the window's colour.
    const QRect titleBand(1, 1, width() - 2, TitleHeight() - 1);
    painter.fillRect(titleBand, colours.button());
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(font().pointSizeF() * 1.1);
    painter.setFont(titleFont);
    painter.setPen(colours.buttonText().color());
    painter.drawText(titleBand, Qt::AlignCenter, title_);

    // The weekday headers, with a rule under them.
    const QSize cell(CellWidth(), CellSize().height());
    const int left = GridLeft();
    const QRect header(left, TitleHeight(), cell.width() * Columns, HeaderHeight());
    painter.setFont(font());
    painter.setPen(colours.placeholderText().color());
    for (int column = 0; column < Columns; ++column)
        painter.drawText(
            QRect(header.left() + column * cell.width(), header.top(), cell.width(), header.height()),
            Qt::AlignCenter, QString::fromLatin1(WeekdayHeaders[column]));
    painter.setPen(colours.midlight().color());
    painter.drawLine(header.left(), header.bottom() - 2, header.right(), header.bottom() - 2);

    // The markers under the day numbers.
    if (selected_ >= 0 && selectedFill_.isValid())
        painter.fillRect(CellRect(selected_).adjusted(2, 1, -2, -1), selectedFill_);
    if (current_ >= 0 && currentFrame_.isValid()) {
        painter.setPen(QPen(currentFrame_, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CellRect(current_).adjusted(2, 1, -2, -1));
    }

    QFont dayFont = font();
    for (int place = 0; place < Cells; ++place) {
        const Cell& day = cells_[place];
        if (day.text.isEmpty())
            continue;
        dayFont.setBold(day.bold);
        painter.setFont(dayFont);
        QColor ink = day.colour.isValid() ? day.colour : colours.text().color();
        // A day number of the window's colour stays readable on a dark selection fill.
        if (place == selected_ && !day.colour.isValid() && selectedFill_.isValid() &&
            selectedFill_.lightness() < 140)
            ink = Qt::white;
        painter.setPen(ink);
        painter.drawText(CellRect(place), Qt::AlignCenter, day.text);
    }
}

void MonthGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int place = PlaceAt(event->position().toPoint());
        if (place >= 0 && pressed_)
            pressed_(place);
    }
    QWidget::mousePressEvent(event);
}

} // namespace jornix
