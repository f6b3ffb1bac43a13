#include "journal/LogEventRange.h"

#include "core/StandardBrowseList.h"
#include "journal/SelectDate.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

namespace jornix {
namespace {

// Day numbers run from 4 (1 January 1801); the entries take dates up to the end of 9999.
constexpr int LastDay = 2994626;

} // namespace

QString LogRangeFilter(int logTypeTab, qint32 startDate, qint32 endDate)
{
    QString filter;
    if (logTypeTab >= 2 && logTypeTab <= 4)
        filter = QStringLiteral("LOG:LogType = %1").arg(logTypeTab - 1);
    if (startDate > 0) {
        if (!filter.isEmpty())
            filter += QStringLiteral(" AND ");
        filter += QStringLiteral(" LOG:LogDate >= %1").arg(startDate);
    }
    if (endDate > 0) {
        if (!filter.isEmpty())
            filter += QStringLiteral(" AND ");
        filter += QStringLiteral(" LOG:LogDate <= %1").arg(endDate);
    }
    return filter;
}

LogEventRange::LogEventRange(WindowController& window, bool typedDatesFilter)
    : window_(window), typedDatesFilter_(typedDatesFilter)
{
}

void LogEventRange::DescribeSheets()
{
    WindowDescription& window = window_.window;
    sortSheet_ = window
                     .Sheet([&] {
                         window.Tab(QStringLiteral("by Log Date"), [] {}).Name(QStringLiteral("Tab9"));
                         window.Tab(QStringLiteral("by Description"), [] {}).Name(QStringLiteral("Tab10"));
                     })
                     .Name(QStringLiteral("AllLogSort"));
    logTypeSheet_ = window
                        .Sheet([&] {
                            int tab = 4;
                            for (const char* text : {"None (show all)", "Home", "Work", "Other"})
                                window.Tab(QString::fromLatin1(text), [] {})
                                    .Name(QStringLiteral("Tab%1").arg(tab++));
                        })
                        .Name(QStringLiteral("LogTypeTab"));
}

void LogEventRange::DescribeDates()
{
    WindowDescription& window = window_.window;
    window.Row([&] {
        window.Prompt(QStringLiteral("Start: >=")).Name(QStringLiteral("BSDate:Prompt"));
        startEntry_ =
            window.Spin(Bind(startDate_), QStringLiteral("@d17B"), 0, LastDay).Name(QStringLiteral("BSDate"));
        pickStart_ = window.Button({}, QStringLiteral("pickdate.gif"))
                         .Tip(QStringLiteral("Select Start Date"))
                         .Name(QStringLiteral("PickBSDate"));
        window.Prompt(QStringLiteral("End: <=")).Name(QStringLiteral("BEDate:Prompt"));
        endEntry_ =
            window.Spin(Bind(endDate_), QStringLiteral("@d17B"), 0, LastDay).Name(QStringLiteral("BEDate"));
        pickEnd_ = window.Button({}, QStringLiteral("pickdate.gif"))
                       .Tip(QStringLiteral("Select End Date"))
                       .Name(QStringLiteral("PickBEDate"));
        window.Spacer();
    });
}

void LogEventRange::SetUpList(StandardBrowseList& list, View& view)
{
    list_ = &list;
    const Table& log = view.ViewTable();
    const int byDateKey = log.KeyIndex(QStringLiteral("LOG:LogDateRankDescriptionK"));
    list.AddOrder(byDateKey);
    list.SetLocator(byDate_);
    byDate_.Init(0, QStringLiteral("LOG:LogDate"), false, list);
    list.AddOrder(log.KeyIndex(QStringLiteral("LOG:LogDescriptionK")));
    list.SetLocator(byDescription_);
    byDescription_.Init(0, QStringLiteral("LOG:LogDescription"), true, list);
    list.AddOrder(byDateKey);
    list.SetOrderTabs(sortSheet_);
    list.SetPrivateFields(QStringLiteral("LOG:LogPrivate"), QStringLiteral("LOG:LogUniqueID"));
    list.SetIcons({QStringLiteral("~private.bmp")});
    list.MapIcon({}, 0);
    list.MapField(QStringLiteral("LOG:LogDate"), 1, QStringLiteral("@d17"));
    list.MapField(QStringLiteral("LOG:LogDescription"), 2);
}

bool LogEventRange::TakeAccepted(int control)
{
    if (control == 0)
        return false;
    if (control == pickStart_)
        Pick(startDate_, startEntry_, QStringLiteral("Select Log Start Date"));
    else if (control == pickEnd_)
        Pick(endDate_, endEntry_, QStringLiteral("Select Log End Date"));
    else if (control == startEntry_ || control == endEntry_) {
        // The entry has written its date; one that is no date never gets here.
        if (typedDatesFilter_)
            Apply();
    } else
        return false;
    return true;
}

bool LogEventRange::TakeNewSelection(int control)
{
    if (control == 0 || (control != sortSheet_ && control != logTypeSheet_))
        return false;
    Apply();
    return true;
}

void LogEventRange::Pick(qint32& date, int entry, const QString& title)
{
    if (date == 0)
        date = Today();
    date = SelectDate(date, title);
    window_.window.ShowValues(entry);
    Apply();
}

void LogEventRange::Apply()
{
    if (!list_)
        return;
    list_->SetFilter(LogRangeFilter(window_.window.SelectedTab(logTypeSheet_), startDate_, endDate_));
    list_->ReadFirst();
}

} // namespace jornix
