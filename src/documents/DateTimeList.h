#pragma once

#include <QDateTime>
#include <QDialog>
#include <QStringList>

class QListWidget;

namespace jornix {

// The list of the current date and time in twelve forms, without caption. Enter or a double click takes the
// highlighted row; a right click closes without a choice. The row chosen last is kept for the whole program
// and highlighted the next time, in any editor.
class DateTimeList : public QDialog
{
    Q_OBJECT

public:
    explicit DateTimeList(const QDateTime& now, QWidget* parent = nullptr);

    // The six dates, then the six times, in the forms of the list.
    static QStringList Rows(const QDateTime& now);
    // The text chosen; empty when the list closed without one.
    QString Chosen() const { return chosen_; }
    static int RememberedRow(); // from 1; 0 before any choice
    static void SetRememberedRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void take();

    QListWidget* list_;
    QString chosen_;
};

} // namespace jornix
