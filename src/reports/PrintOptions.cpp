#include "reports/PrintOptions.h"

#include "core/SharedState.h"
#include "journal/SelectDate.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "reports/BuildPrintSelection.h"
#include "reports/LayoutPrintWindow.h"
#include "reports/LoadLayoutSelection.h"
#include "reports/PrintOptionAreas.h"

#include <QDate>
#include <QLayout>
#include <QMdiSubWindow>

#include <array>

namespace jornix {
namespace {

// A pair of dates of a range option, each with its pick button; enabled only while the option is Range.
struct DateRange
{
    qint32* option = nullptr;
    qint32* first = nullptr;
    qint32* last = nullptr;
    std::vector<int> controls; // prompts, date spins and pick buttons
    int firstSpin = 0, lastSpin = 0, pickFirst = 0, pickLast = 0;
};

class PrintOptionsWindow : public LayoutPrintWindow
{
public:
    qint32 area = CurrentReportArea;
    PrintSelectionValues values;
    QString notes;
    int header = 0, notesBox = 0, helpButton = 0, sheet = 0;
    std::vector<DateRange> ranges;

    PrintOptionsWindow()
        : LayoutPrintWindow(QStringLiteral("PrintOptions"), QStringLiteral("Print Options"),
                            WindowType::Child)
    {
        window.Panel([&] {
            header = window.Prompt(QStringLiteral("Print Options"))
                         .Name(QStringLiteral("TOPPANELTEXT"))
                         .Font({}, HeadingPoints - 2, FontStyle::Bold);
        });
        window.Row([&] {
            window.Column([&] {
                list = ReportLayoutList::Describe(window);
                window.Prompt(QStringLiteral("Notes:")).Name(QStringLiteral("LLL_:NOTES:PROMPT"));
                notesBox = window.TextBox(Bind(notes))
                               .Tip(QStringLiteral("Notes"))
                               .Name(QStringLiteral("LLL_:NOTES"))
                               .ReadOnly();
                window.Widget(notesBox)->setMaximumHeight(
                    window.Widget(notesBox)->fontMetrics().height() * 2 + 8);
            });
            window.Column([&] {
                image = DescribeLayoutPreview(window, QStringLiteral("PROMPT7"));
                window.Row([&] {
                    window.Prompt(QStringLiteral("Output Format:"))
                        .Name(QStringLiteral("LLL_:OUTPUTFORMAT:PROMPT"));
                    formatList = window.DropList(Bind(outputFormat), OutputFormatItems())
                                     .Name(QStringLiteral("ALL:OUTPUTFORMAT"));
                    window.Spacer();
                });
                window.Check(QStringLiteral("Show Printer Options Before Printing"), Bind(printerOptions))
                    .Tip(QStringLiteral("Printer Setup Dialog"))
                    .Name(QStringLiteral("ALL:PRINTEROPTIONS"));
                openCheck =
                    window.Check(QStringLiteral("Open Output File After Printing"), Bind(openOutputFile))
                        .Tip(QStringLiteral("Open Output File"))
                        .Name(QStringLiteral("ALL:OPENOUTPUTFILE"));
                window.Image(QStringLiteral("DesignLck.gif")).Name(QStringLiteral("IMAGE2")).Hide();
                window.Spacer();
            });
        });
        DescribeSheet();
        window.Row([&] {
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("HELP"));
            window.Spacer();
            printButton = window.Button(QStringLiteral("&Print"), QStringLiteral("OKButton.gif"))
                              .Tip(QStringLiteral("Print the Report"))
                              .Name(QStringLiteral("PRINTREPORT"));
        });
        // The access check is SetArea's: a second start for an area the user may not see reaches the open
        // window, which says so and closes.
        RegisterKind(WindowThreadRegistry[WindowKind::PrintOptions]);
        KeepMinimumSize();
        SetHelp(QStringLiteral("printinglogevents.htm"), helpButton);
        SetUpLayoutList(area);
    }

    int Init() override
    {
        if (const int level = LayoutPrintWindow::Init())
            return level;
        SetArea(area);
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        for (const DateRange& range : ranges)
            if (control == range.pickFirst || control == range.pickLast) {
                const bool first = control == range.pickFirst;
                PickDate(first ? *range.first : *range.last,
                         first ? QStringLiteral("Select Start Date") : QStringLiteral("Select End Date"),
                         first ? range.firstSpin : range.lastSpin);
                return Level::Handled;
            }
        return LayoutPrintWindow::OnAccepted(control);
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        // Started again for another area: the window comes forward with that area.
        if (event.event == Event::GainFocus && OPENED && CurrentReportArea != area)
            SetArea(CurrentReportArea);
        return StandardWindow::OnWindowEvent(event);
    }

private:
    void DescribeSheet()
    {
        sheet =
            window
                .Sheet([&] {
                    Tab("Log Events", "Log Event Report Options", [&] {
                        SortOrder(values.logEventSortOrder, "LOGEVENT:SORTORDER",
                                  {"Log Date", "Log Description", "Log Type"});
                        Range("Date Range", {"LOGEVENT:DATERANGE", "LOGEVENT:SDATE", "LOGEVENT:EDATE"},
                              values.logEventDateRange, values.logEventSDate, values.logEventEDate);
                        Choice("Report Type", "LOGEVENT:REPORTTYPE", values.logEventReportType,
                               {"None (Print All)", "Home", "Work", "Other"}, 0);
                    });
                    Tab("Tasks", "Task Report Options", [&] {
                        SortOrder(values.taskSortOrder, "TASK:SORTORDER",
                                  {"Description", "Start Date", "Due Date", "Enter Date", "Priority",
                                   "Close Date"});
                        window.Row([&] {
                            Choice("Completed", "TASK:COMPLETED", values.taskCompleted,
                                   {"All (Print All)", "Yes", "No"});
                            Choice("Priority", "TASK:PRIORITY", values.taskPriority,
                                   {"All (Print All)", "High", "Medium", "Low"});
                        });
                        Range("Due Date Range",
                              {"TASK:DUEDATERANGE", "TASK:DUEDATESDATE", "TASK:DUEDATEEDATE"},
                              values.taskDueDateRange, values.taskDueDateSDate, values.taskDueDateEDate);
                        Range("Close Date Range",
                              {"TASK:CLOSEDATERANGE", "TASK:CLOSEDATESDATE", "TASK:CLOSEDATEEDATE"},
                              values.taskCloseDateRange, values.taskCloseDateSDate,
                              values.taskCloseDateEDate);
                        Range("Start Date Range",
                              {"TASK:STARTDATERANGE", "TASK:STARTDATESDATE", "TASK:STARTDATEEDATE"},
                              values.taskStartDateRange, values.taskStartDateSDate,
                              values.taskStartDateEDate);
                    });
                    Tab("Contacts", "Contact Report Options", [&] {
                        SortOrder(values.contactsSortOrder, "CONTACTS:SORTORDER",
                                  {"Last Name", "Company", "City", "State", "E-Mail"});
                    });
                    Tab("Reminder", "Reminder Report Options", [&] {
                        SortOrder(values.reminderSortOrder, "REMINDER:SORTORDER",
                                  {"Reminder Date", "Description"});
                        window.Row([&] {
                            Choice("Show Reminder", "REMINDER:SHOWREMINDER", values.reminderShowReminder,
                                   {"All (Print All)", "Yes", "No"});
                            Choice("Dismiss", "REMINDER:DISMISS", values.reminderDismiss,
                                   {"All (Print All)", "Yes", "No"});
                        });
                        Choice("Link Type", "REMINDER:LINKTYPE", values.reminderLinkType,
                               {"All (Print All)", "No Link", "Log Event", "Contact", "Task"});
                        Range("Reminder Date Range",
                              {"REMINDER:DATERANGE", "REMINDER:SDATE", "REMINDER:EDATE"},
                              values.reminderDateRange, values.reminderSDate, values.reminderEDate);
                    });
                    Tab("Sticky Notes", "Sticky Notes Report Options", [&] {
                        SortOrder(values.stickySortOrder, "STICKY:SORTORDER", {"Description", "Enter Date"});
                    });
                    Tab("Scrap Book", "Scrap Book Report Options", [&] {
                        SortOrder(values.scrapSortOrder, "SCRAP:SORTORDER", {"Description", "Enter Date"});
                    });
                })
                .Name(QStringLiteral("FILTEROPTIONS"))
                .HideTabs();
    }

    void Tab(const char* text, const char* heading, const std::function<void()>& body)
    {
        window.Tab(QString::fromLatin1(text), [&] {
            window.Text(QString::fromLatin1(heading)).Font({}, 0, FontStyle::Bold);
            body();
            window.Spacer();
        });
    }

    // An option group of radio buttons in a row, valued from `first` on.
    void Choice(const char* text, const char* name, qint32& value, std::initializer_list<const char*> choices,
                int first = 1)
    {
        window
            .Options(QString::fromLatin1(text), Bind(value),
                     [&] {
                         window.Row([&] {
                             int choice = first;
                             for (const char* radio : choices)
                                 window.Radio(QString::fromLatin1(radio), choice++);
                             window.Spacer();
                         });
                     })
            .Name(QString::fromLatin1(name));
    }

    void SortOrder(qint32& value, const char* name, std::initializer_list<const char*> choices)
    {
        Choice("Sort Order", name, value, choices);
    }

    // The option's name, then the names of its two dates.
    void Range(const char* text, std::array<const char*, 3> names, qint32& option, qint32& first,
               qint32& last)
    {
        const QString rangeName = QString::fromLatin1(names[0]);
        const QString firstName = QString::fromLatin1(names[1]);
        const QString lastName = QString::fromLatin1(names[2]);
        DateRange range;
        range.option = &option;
        range.first = &first;
        range.last = &last;
        window.Row([&] {
            const int group = window
                                  .Options(QString::fromLatin1(text), Bind(option),
                                           [&] {
                                               window.Row([&] {
                                                   window.Radio(QStringLiteral("All"), 1);
                                                   window.Radio(QStringLiteral("Range"), 2);
                                               });
                                           })
                                  .Name(rangeName);
            // The group's title is longer than its two choices.
            QWidget* box = window.Widget(group);
            box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 32);
            const auto date = [&](const QString& prompt, qint32& day, const QString& name, int& spin,
                                  int& pick) {
                range.controls.push_back(window.Prompt(prompt));
                spin =
                    window.Spin(Bind(day), QStringLiteral("@D17B"), 0, DayNumberFromDate(QDate(9999, 12, 31)))
                        .Name(name);
                pick = window.Button({}, QStringLiteral("pickdate.gif"))
                           .Tip(QStringLiteral("Pick Date"))
                           .Name(name + QStringLiteral(":PICK"));
                range.controls.push_back(spin);
                range.controls.push_back(pick);
            };
            date(QStringLiteral(">="), first, firstName, range.firstSpin, range.pickFirst);
            date(QStringLiteral("<="), last, lastName, range.lastSpin, range.pickLast);
            window.Spacer();
        });
        ranges.push_back(std::move(range));
    }

    void SetArea(qint32 newArea)
    {
        area = newArea;
        const PrintOptionArea* known = FindPrintOptionArea(area);
        const QString caption = known ? known->caption : QStringLiteral("Print Options");
        window.SetLabel(header, caption);
        if (known)
            window.SelectTab(sheet, area);
        GrowToMinimum();
        window.SetCaption(caption);
        if (known && RefusePrintArea(*known)) {
            Post(Event::CloseWindow);
            return;
        }
        brw.SetFilter(LayoutFilterOf(area));
        brw.ReadFirst();
        TakeLayout();
        window.Select(list);
    }

    // The area's options show whole: a window that opened smaller than its controls need (in a frame with
    // little room) grows to their minimum, and keeps it as its least size.
    void GrowToMinimum()
    {
        QWidget* root = window.Root();
        if (QLayout* layout = root->layout())
            layout->activate();
        const QSize needed = root->minimumSizeHint().expandedTo(root->minimumSize());
        root->setMinimumSize(needed);
        const QSize growth = needed.expandedTo(root->size()) - root->size();
        if (growth.isEmpty())
            return;
        // The window's own frame: the area's child window, or the dialog itself.
        QWidget* outer = root;
        while (!outer->isWindow() && outer->parentWidget() && !qobject_cast<QMdiSubWindow*>(outer))
            outer = outer->parentWidget();
        outer->resize(outer->size() + growth);
    }

    // The highlighted layout's saved selection too; values it does not hold stay as they were.
    void TakeLayout() override
    {
        if (brw.Selected())
            LoadLayoutSelection(brw.Value(QStringLiteral("LLL_:AreaRef")),
                                brw.Text(QStringLiteral("LLL_:Filter")).trimmed(), values);
        notes = brw.Text(QStringLiteral("LLL_:Notes"));
        LayoutPrintWindow::TakeLayout();
    }

    // The dates of a range option only while it is Range.
    void EnableChoices() override
    {
        for (const DateRange& range : ranges)
            for (const int control : range.controls)
                window.Enable(control, *range.option == 2);
        LayoutPrintWindow::EnableChoices();
    }

    void PickDate(qint32& date, const QString& title, int spin)
    {
        if (date == 0)
            date = Today();
        window.ShowValues(spin);
        date = SelectDate(date, title);
        window.ShowValues(spin);
    }

    PrintJobRequest Selection() const override
    {
        const PrintSelection selection = BuildPrintSelection(area, values);
        PrintJobRequest request;
        request.area = area;
        request.sortOrder = selection.sortOrder;
        request.criteria = selection.criteria;
        request.filter = selection.filter;
        return request;
    }
};

} // namespace

void PrintOptions()
{
    RunProcedure<PrintOptionsWindow>();
}

} // namespace jornix
