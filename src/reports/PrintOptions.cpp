#include "reports/PrintOptions.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardWindow.h"
#include "journal/SelectDate.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/View.h"
#include "reports/BuildPrintSelection.h"
#include "reports/CallPrintProcess.h"
#include "reports/LoadLayoutSelection.h"
#include "reports/PrintOptionAreas.h"
#include "reports/ReportLayoutList.h"
#include "reports/ReportOutputFile.h"

#include <QDate>

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

class PrintOptionsWindow : public StandardWindow
{
public:
    View view{AccessLLL_->GetTable()};
    ReportLayoutList brw;
    qint32 area = CurrentReportArea;
    PrintSelectionValues values;
    qint32 outputFormat = 0, printerOptions = 0, openOutputFile = 0;
    QString notes;
    int header = 0, list = 0, image = 0, notesBox = 0, printButton = 0, helpButton = 0;
    int formatList = 0, printerCheck = 0, openCheck = 0, sheet = 0;
    std::vector<DateRange> ranges;

    PrintOptionsWindow()
        : StandardWindow(QStringLiteral("PrintOptions"), QStringLiteral("Print Options"), WindowType::Child)
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
                printerCheck =
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
        UseTable(*RelationsLLL_);
        KeepMinimumSize();
        SetFirstField(list);
        SetHelp(QStringLiteral("printinglogevents.htm"), helpButton);
        brw.SetList(list, view, *RelationsLLL_);
        brw.SetFilter(LayoutFilterOf(area));
        AddList(brw);
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        SetArea(area);
        return Level::GoOn;
    }

    int OnNewSelection(int control) override
    {
        const int level = StandardWindow::OnNewSelection(control);
        if (control == list)
            TakeLayout();
        return level;
    }

    int OnAccepted(int control) override
    {
        if (control == printButton) {
            if (window.IsEnabled(printButton))
                Print();
            return Level::Handled;
        }
        for (const DateRange& range : ranges)
            if (control == range.pickFirst || control == range.pickLast) {
                const bool first = control == range.pickFirst;
                PickDate(first ? *range.first : *range.last,
                         first ? QStringLiteral("Select Start Date") : QStringLiteral("Select End Date"),
                         first ? range.firstSpin : range.lastSpin);
                return Level::Handled;
            }
        const int level = StandardWindow::OnAccepted(control);
        EnableRanges(); // the output format or a range option may have changed
        return level;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        // Started again for another area: the window comes forward with that area.
        if (event.event == Event::GainFocus && OPENED && CurrentReportArea != area)
            SetArea(CurrentReportArea);
        return StandardWindow::OnWindowEvent(event);
    }

protected:
    void SetUpListOrders() override { brw.SetUpColumns(); }

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
        DateRange range{&option, &first, &last};
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

    // The highlighted layout's proposals and saved selection become the window's; values the layout does
    // not hold stay as they were.
    void TakeLayout()
    {
        const bool any = brw.Selected() != nullptr;
        if (any) {
            LoadLayoutSelection(brw.Value(QStringLiteral("LLL_:AreaRef")),
                                brw.Text(QStringLiteral("LLL_:Filter")).trimmed(), values);
            outputFormat = brw.Value(QStringLiteral("LLL_:OutputFormat"));
            printerOptions = brw.Value(QStringLiteral("LLL_:PrinterOptions"));
            openOutputFile = brw.Value(QStringLiteral("LLL_:OpenOutputFile"));
        }
        notes = brw.Text(QStringLiteral("LLL_:Notes"));
        ShowLayoutPreview(window, image, brw.Text(QStringLiteral("LLL_:FileName")));
        // Print without a layout of the area would hand the engine whatever layout the buffer holds.
        window.Enable(printButton, any);
        window.ShowValues();
        EnableRanges();
    }

    void EnableRanges()
    {
        for (const DateRange& range : ranges)
            for (const int control : range.controls)
                window.Enable(control, *range.option == 2);
        window.Enable(openCheck, WritesFile(outputFormat));
    }

    void PickDate(qint32& date, const QString& title, int spin)
    {
        if (date == 0)
            date = Today();
        window.ShowValues(spin);
        date = SelectDate(date, title);
        window.ShowValues(spin);
    }

    void Print()
    {
        Update();
        const OutputFileChoice file = AskReportOutputFile(outputFormat);
        if (!file.go)
            return;
        const PrintSelection selection = BuildPrintSelection(area, values);
        PrintJobRequest request;
        request.area = area;
        request.layoutNumber = brw.Value(QStringLiteral("LLL_:Ref"));
        request.sortOrder = selection.sortOrder;
        request.outputFormat = outputFormat;
        request.openOutputFile = openOutputFile;
        request.showPrintOptions = printerOptions;
        request.outputFile = file.file;
        request.criteria = selection.criteria;
        request.filter = selection.filter;
        CallPrintProcess(request);
    }
};

} // namespace

void PrintOptions()
{
    RunProcedure<PrintOptionsWindow>();
}

} // namespace jornix
