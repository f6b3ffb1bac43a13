#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

// One month of the Date View calendar, painted: its title, the weekday headers "Sun" to "Sat" and 42 day
// cells in six rows of seven, Sunday first. Each cell shows a text (the day in two digits, or nothing), in
// bold or normal weight and in its own colour or the window's. The selected day is a filled cell, the current
// day a framed one. A mouse press on a cell gives its place to the window, which decides what it means.
namespace jornix {

class MonthGrid : public QWidget
{
public:
    static constexpr int Columns = 7;
    static constexpr int Rows = 6;
    static constexpr int Cells = Columns * Rows;

    struct Cell
    {
        QString text;
        bool bold = false;
        QColor colour; // invalid: the window's text colour
    };

    explicit MonthGrid(QWidget* parent = nullptr);

    // The place (0 to 41) of the cell pressed last.
    void SetPressed(std::function<void(int place)> pressed) { pressed_ = std::move(pressed); }

    void SetTitle(const QString& title);
    QString Title() const { return title_; }
    // Changes show when the cells are shown again (ShowCells): the grid paints once for many changes.
    void SetCell(int place, const Cell& cell);
    const Cell& CellAt(int place) const { return cells_[place]; }
    void ShowCells();

    // Markers: a cell's place, -1 where the marker is hidden.
    void SetSelectedPlace(int place);
    void SetCurrentPlace(int place);
    int SelectedPlace() const { return selected_; }
    int CurrentPlace() const { return current_; }
    void SetMarkerColours(const QColor& selectedFill, const QColor& currentFrame);

    QRect CellRect(int place) const;
    int PlaceAt(const QPoint& point) const; // -1 outside the cells
    int PlaceOf(int dayOfMonth) const;      // the cell that shows the day; -1 for none

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override; // seven columns just wide enough for "Wed"


protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int TitleHeight() const;
    int HeaderHeight() const;
    QSize CellSize() const; // the size a cell asks for
    int NarrowestCell() const;
    int CellWidth() const; // the width a cell has
    int GridLeft() const;
    static constexpr int Margin = 6;

    QString title_;
    std::array<Cell, Cells> cells_;
    int selected_ = -1;
    int current_ = -1;
    bool cellsChanged_ = false;
    QColor selectedFill_;
    QColor currentFrame_;
    std::function<void(int)> pressed_;
};

} // namespace jornix
