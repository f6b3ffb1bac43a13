#pragma once

#include <QTreeView>

#include <set>
#include <vector>

// The list control of a window description. Its main column takes the width the list has to spare; every
// other column is as wide as its title, what its picture shows and the rows the list holds (up to a bound,
// past which the text is cut and the user may widen it), unless the user has sized it. A column without a
// title (an icon) keeps that width. The list asks for the room of its columns, the main one with the room of
// a long text, so that a window opens with every column in view; when the first rows need more, the window
// widens to hold them.
namespace jornix {

class FittedList : public QTreeView
{
public:
    FittedList();

    // The width each column never goes below: its title and what its picture shows.
    void SetLeastWidths(std::vector<int> widths);
    // The column that takes the free width; the first column until it is set.
    void SetMainColumn(int column);
    int MainColumn() const { return main_; }
    // Fits the columns to the rows held now; the list does so itself whenever its rows change.
    void Fit();

    void setModel(QAbstractItemModel* model) override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int LeastWidth(int column) const;
    int ContentWidth(int column) const;
    QWidget* Outer() const; // the window the list stands in
    void WidenWindow();

    std::vector<int> least_;
    int main_ = 0;
    bool fitting_ = false;
    // Waiting for the first rows, growing the window, keeping the width it left the window at, done (the user
    // sized the window or it has no more room).
    enum class Widening
    {
        Waiting,
        Growing,
        Keeping,
        Done
    };
    Widening widening_ = Widening::Waiting;
    int keptWidth_ = -1; // the window's width as the list last left it
    std::set<int> sizedByUser_;
};

} // namespace jornix
