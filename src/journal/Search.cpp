#include "journal/Search.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "journal/LogEventLists.h"
#include "journal/LogEventSearch.h"
#include "journal/SelectDate.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/runtime/WildcardPattern.h"
#include "platform/store/Table.h"

#include <QLineEdit>

namespace jornix {
namespace {

// The search string takes what fits between the two stars of its pattern (1024 characters).
constexpr int SearchStringLength = 1022;
constexpr int LastDay = 2994626; // 31 December 9999

// The results of the last search: the events it found, as it found them, whatever is written meanwhile.
class ResultRows : public LogEventRows
{
public:
    QSet<qint32> found;
    int numberField = -1;

    int CheckRecord(const Record& record) override
    {
        if (const int result = LogEventRows::CheckRecord(record))
            return result;
        return found.contains(record.Long(numberField)) ? 0 : 2;
    }
};

class SearchWindow : public StandardList
{
public:
    SearchWindow() : StandardList(QStringLiteral("Search"), QStringLiteral("Search Log Events"))
    {
        DescribeLogEventHeading(window, QStringLiteral("Search Log Events"));
        window.Panel([&] { DescribeOptions(); }).Name(QStringLiteral("SearchPanelOptions"));
        int insert = 0, change, remove, copy, print, help;
        window.Panel([&] {
                  listControl_ = DescribeEventList(window, {}, QStringLiteral("Browsing Records"));
                  progress_ = window.Prompt(QString()).Name(QStringLiteral("SearchProgress"));
                  window.Row([&] { // the help button at the left end, the others at the right
                      help = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
                      window.Spacer();
                      insert = ListButton(window, "&Insert", "WIZINS.gif", nullptr, "Insert");
                      change = ListButton(window, "&Change", "WIZEDIT.gif", nullptr, "Change");
                      remove = ListButton(window, "&Delete", "WIZDEL.gif", nullptr, "Delete");
                      copy = ListButton(window, "&Copy", "WIZDITTO.gif", nullptr, "Copy");
                      print = ListButton(window, "&Print", "RTFPrint.gif", nullptr, "Print");
                  });
              })
            .Name(QStringLiteral("SearchPanelResults"))
            .Stretch();
        window.Hide(insert); // Copy presses it
        SetArea(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"));
        RegisterKind(WindowThreadRegistry[WindowKind::Search]);
        UseTable(*RelationsLOG);
        KeepMinimumSize();
        SetFirstField(searchEntry_);
        SetHelp(QStringLiteral("searchlogevents.htm"), help);
        SetList(rows_, view_, *RelationsLOG, listControl_);
        rows_.SetButtons({.insert = insert,
                          .change = change,
                          .remove = remove,
                          .copy = copy,
                          .print = print,
                          .needRows = {change, remove}});
        SetForm([] { CallProcedure(QStringLiteral("UpdateLogTX")); });
        SetPrint([](qint32 number) { PrintRec(1, number); });
    }

    int OnAccepted(int control) override
    {
        if (control == beginSearch_)
            BeginSearch();
        else if (control == clearSearch_) {
            ClearSearch();
            window.Select(searchEntry_);
        } else if (control == pickStart_)
            Pick(start_, startEntry_, QStringLiteral("Select Log Start Date"));
        else if (control == pickEnd_)
            Pick(end_, endEntry_, QStringLiteral("Select Log End Date"));
        else
            return StandardList::OnAccepted(control);
        return Level::Handled;
    }

    // The list keeps the results of the last search when other windows change data.
    int OnWindowEvent(const FrameworkEvent& event) override
    {
        if (event.event == RefreshEvent)
            return Level::GoOn;
        return StandardList::OnWindowEvent(event);
    }

    // A form called from the results (Change, Copy) may have written an event that the search now finds or
    // no longer finds: the results are judged again with the pattern of the last search and the values now
    // on the window, before the list re-reads around the record written.
    int RunSubProcedure(int number, int request) override
    {
        const int response = StandardList::RunSubProcedure(number, request);
        if (searchRun_ && response == Response::Completed &&
            (request == Request::Insert || request == Request::Change))
            RunSearch(false);
        return response;
    }

    // Text of the progress line while a search reads (for tests: blank when none runs).
    QString ProgressText() const { return window.Label(progress_); }

protected:
    void SetUpWindow() override
    {
        StandardList::SetUpWindow();
        if (auto* entry = qobject_cast<QLineEdit*>(window.Widget(searchEntry_))) {
            entry->setMaxLength(SearchStringLength);
            // Enter in the search text begins the search.
            QObject::connect(entry, &QLineEdit::returnPressed, entry,
                             [this] { window.Notify(Event::Accepted, beginSearch_); });
        }
    }

    void SetUpListOrders() override
    {
        // The table's record order: no key, no locator.
        rows_.numberField = view_.ViewTable().RequireField(QStringLiteral("LOG:LogNum"));
        rows_.SetPrivateFields(QStringLiteral("LOG:LogPrivate"), QStringLiteral("LOG:LogUniqueID"));
        rows_.SetIcons({QStringLiteral("~private.bmp")});
        rows_.MapIcon({}, 0);
        rows_.MapField(QStringLiteral("LOG:LogDate"), 1, QStringLiteral("@d17"));
        rows_.MapField(QStringLiteral("LOG:LogDescription"), 2);
        ClearSearch();
    }

    void SetUpPopupMenu() override { rows_.Popup().Kill(); }

private:
    void DescribeOptions()
    {
        window.Row([&] {
            window.Prompt(QStringLiteral("&Search:")).Name(QStringLiteral("SString:Prompt"));
            searchEntry_ = window.Entry(Bind(searchString_), QStringLiteral("@s%1").arg(SearchStringLength))
                               .Tip(QStringLiteral("Search String"))
                               .Name(QStringLiteral("SRCH:SearchString"))
                               .Stretch();
        });
        window.Row([&] {
            logTypes_ = window
                            .Options(QStringLiteral("&Log Type"), Bind(logType_),
                                     [&] {
                                         window.Radio(QStringLiteral("None (Search All)"), 0);
                                         window.Radio(QStringLiteral("Home"), 1);
                                         window.Radio(QStringLiteral("Work"), 2);
                                         window.Radio(QStringLiteral("Other"), 3);
                                     })
                            .Name(QStringLiteral("SRCH:LogType"));
            window.Column([&] {
                window.Row([&] {
                    window.Prompt(QStringLiteral("&Start >=")).Name(QStringLiteral("Prompt4"));
                    startEntry_ = window.Spin(Bind(start_), QStringLiteral("@d17B"), 0, LastDay)
                                      .Name(QStringLiteral("SRCH:SDate"));
                    pickStart_ = window.Button({}, QStringLiteral("pickdate.gif"))
                                     .Tip(QStringLiteral("Select Search Start Date"))
                                     .Name(QStringLiteral("PickSSDate"));
                    window.Prompt(QStringLiteral("&End: <=")).Name(QStringLiteral("Prompt5"));
                    endEntry_ = window.Spin(Bind(end_), QStringLiteral("@d17B"), 0, LastDay)
                                    .Name(QStringLiteral("SRCH:EDate"));
                    pickEnd_ = window.Button({}, QStringLiteral("pickdate.gif"))
                                   .Tip(QStringLiteral("Select Search End Date"))
                                   .Name(QStringLiteral("PickSEDate"));
                    window.Spacer();
                });
                window.Row([&] {
                    checks_[0] = window.Check(QStringLiteral("&Private"), Bind(private_))
                                     .Name(QStringLiteral("SRCH:Private"));
                    checks_[1] = window.Check(QStringLiteral("&Include Log Notes (Slower)"), Bind(notes_))
                                     .Tip(QStringLiteral("Include Log Notes During Search"))
                                     .Name(QStringLiteral("SRCH:IncludeLogNotes"));
                    checks_[2] = window.Check(QStringLiteral("&Match Case"), Bind(matchCase_))
                                     .Name(QStringLiteral("SRCH:MatchCase"));
                    window.Spacer();
                });
                window.Row([&] {
                    window.Spacer();
                    beginSearch_ =
                        window.Button(QStringLiteral("&Begin Search")).Name(QStringLiteral("BeginSearch"));
                    clearSearch_ =
                        window.Button(QStringLiteral("&Clear Search")).Name(QStringLiteral("ClearSearch"));
                });
            });
        });
    }

    void ClearSearch()
    {
        searchString_.clear();
        start_ = end_ = 0;
        logType_ = 0;
        private_ = notes_ = matchCase_ = 0;
        window.ShowValues();
        // No event has the number 0: the list is empty without the matcher being asked.
        rows_.found.clear();
        rows_.SetFilter(QStringLiteral("LOG:LogNum = 0"));
        rows_.ReadFirst();
    }

    void BeginSearch()
    {
        Update();
        const QString text = StripTrailingBlanks(searchString_);
        if (text.isEmpty()) {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Missing Search String"),
                           QStringLiteral("Please enter a search string."));
            window.Select(searchEntry_);
            return;
        }
        pattern_ = QLatin1Char('*') + text + QLatin1Char('*');
        mode_ = WildcardPattern::Wildcard | (matchCase_ == 1 ? 0 : WildcardPattern::IgnoreCase);
        if (!RunSearch(true))
            return;
        if (rows_.RowCount() == 0)
            ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("No Log Events Found"),
                           QStringLiteral("Search is complete. There are no results to display."));
        searchRun_ = true;
    }

    // Finds the events of the last search's pattern and the values on the window, and lists them (reading
    // from the top when asked; else the caller re-reads). False when the search failed.
    bool RunSearch(bool readFirst)
    {
        if (!readFirst)
            Update();
        LogSearchCriteria criteria;
        criteria.pattern = pattern_;
        criteria.mode = mode_;
        criteria.startDate = start_;
        criteria.endDate = end_;
        criteria.logType = logType_;
        criteria.includeNotes = notes_ != 0;
        criteria.privateOnly = private_ == 1;
        criteria.user = CurrentUserUniqueID;

        LogEventSearch search;
        window.Disable(beginSearch_);
        const Status status = search.Run(criteria, [this](const ReadProgress& progress) {
            window.SetLabel(progress_, QStringLiteral("Searching... %1%").arg(progress.Percent()));
            return true;
        });
        window.SetLabel(progress_, QString());
        window.Enable(beginSearch_);
        if (!status) {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Search Log Events"),
                           status.Message());
            return false;
        }
        rows_.found = search.Found();
        rows_.SetFilter(rows_.found.isEmpty() ? QStringLiteral("LOG:LogNum = 0") : LogSearchFilter(criteria));
        if (readFirst)
            rows_.ReadFirst();
        return true;
    }

    void Pick(qint32& date, int entry, const QString& title)
    {
        if (date == 0)
            date = Today();
        date = SelectDate(date, title);
        window.ShowValues(entry);
    }

    View view_{AccessLOG->GetTable()};
    ResultRows rows_;
    QString searchString_;
    qint32 start_ = 0, end_ = 0;
    int logType_ = 0;
    int private_ = 0, notes_ = 0, matchCase_ = 0;
    bool searchRun_ = false;
    QString pattern_; // of the last Begin Search
    int mode_ = WildcardPattern::Wildcard;
    int searchEntry_ = 0, logTypes_ = 0, startEntry_ = 0, endEntry_ = 0, pickStart_ = 0, pickEnd_ = 0;
    int checks_[3] = {};
    int beginSearch_ = 0, clearSearch_ = 0, listControl_ = 0, progress_ = 0;
};

} // namespace

void Search()
{
    RunProcedure<SearchWindow>();
}

} // namespace jornix
