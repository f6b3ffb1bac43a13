#pragma once

#include "core/StandardBrowseList.h"

#include <QString>
#include <QStringList>

namespace jornix {

class WindowDescription;

// A list of log events: the private icon in its first column for every event whose flag is not 0.
class LogEventRows : public StandardBrowseList
{
public:
    void FillRow(ListRow& row) override;
};

// The parts the log-event windows describe alike: the heading over the window, the list of events (the
// icon, "Log Date", "Log Description" and the further columns given), and a button of the list.
void DescribeLogEventHeading(WindowDescription& window, const QString& text);
int DescribeEventList(WindowDescription& window, const QStringList& furtherColumns, const QString& tip);
int ListButton(WindowDescription& window, const char* text, const char* image, const char* tip,
                const char* name);

} // namespace jornix
