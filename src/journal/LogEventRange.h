#pragma once

#include "platform/framework/ListLocator.h"

#include <QString>

namespace jornix {

class StandardBrowseList;
class View;
class WindowController;

// The log-event filter text of a log-type tab (1: every type; 2 to 4: types 1 to 3) and an inclusive date
// range (0: no bound): "LOG:LogType = 2 AND  LOG:LogDate >= 82000 AND  LOG:LogDate <= 82100".
QString LogRangeFilter(int logTypeTab, qint32 startDate, qint32 endDate);

// What All Events View and Select Log Event share: the sort sheet and the log-type sheet above the list,
// the start and end dates under it with their pick buttons, the list's orders, columns and private rule,
// and ApplyRangeFilter. The window describes the parts where they stand, gives its list, and passes its
// Accepted and NewSelection events on.
class LogEventRange
{
public:
    // typedDatesFilter: a date typed into an entry applies the filter at once; otherwise it waits for a pick
    // or a tab change.
    LogEventRange(WindowController& window, bool typedDatesFilter);

    void DescribeSheets(); // the sort tabs and the log-type tabs
    void DescribeDates();  // "Start: >=" and "End: <=" with their pick buttons
    // The list's orders (date, rank, description; description, case ignored; the first again for any other
    // tab), its locators, the private rule and the icon; the log date and the description in the columns
    // after the icon.
    void SetUpList(StandardBrowseList& list, View& view);

    // True when the control was one of the range's own.
    bool TakeAccepted(int control);
    bool TakeNewSelection(int control);
    // ApplyRangeFilter: the list's filter from the log-type tab and the dates, read again from the top.
    void Apply();

    qint32 StartDate() const { return startDate_; }
    qint32 EndDate() const { return endDate_; }
    int SortSheet() const { return sortSheet_; }

private:
    void Pick(qint32& date, int entry, const QString& title);

    WindowController& window_;
    const bool typedDatesFilter_;
    StandardBrowseList* list_ = nullptr;
    ListLocator byDate_, byDescription_;
    qint32 startDate_ = 0, endDate_ = 0;
    int sortSheet_ = 0, logTypeSheet_ = 0;
    int startEntry_ = 0, endEntry_ = 0, pickStart_ = 0, pickEnd_ = 0;
};

} // namespace jornix
