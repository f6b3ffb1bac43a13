#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QSpinBox;

namespace jornix {

// "Table Dimensions": rows and columns of a new table, each starting at 2. Run() shows the window on the
// running program thread and gives "1" followed by the rows and the columns as three digits each when the
// user confirmed with OK, "0" when the window was cancelled or closed. Rows and columns must lie between 1
// and 255: OK with anything else says so and leaves the window open at that entry.
class TableDimensions : public QDialog
{
    Q_OBJECT

public:
    explicit TableDimensions(QWidget* parent = nullptr);

    static QString Run();
    static QString Confirmed(int rows, int columns);
    static QString Cancelled() { return QStringLiteral("0"); }

private:
    QString run();

    QSpinBox* rows_;
    QSpinBox* columns_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace jornix
