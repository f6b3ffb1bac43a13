#include "reports/UpdateReportDesign.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "journal/SelectDate.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/TrailingBlanks.h"
#include "reports/ImportLayout.h"
#include "reports/OpenReportDesigner.h"
#include "reports/PackLayoutOptions.h"

#include <QDate>

#include <array>
#include <vector>

namespace jornix {

int DesignerArea = 1;

namespace {

LayoutDatePicker& DatePicker()
{
    static LayoutDatePicker picker;
    return picker;
}

struct Choice
{
    const char* text;
    int value;
};

// One range option with its two dates: All disables the dates' controls, Range enables them.
struct DateRange
{
    int area = 0;
    int option = 0; // the range option's control
    std::size_t position = 0;
    std::vector<int> controls; // prompts, spins and "Select Date" buttons of both dates
};

// A "Select Date" button and the date it sets.
struct DateButton
{
    int area = 0, button = 0, spin = 0;
    std::size_t position = 0;
    bool from = true;
};

class UpdateReportDesignWindow : public StandardForm
{
public:
    int description = 0, fileName = 0, type = 0, style = 0, wmfLoop = 0, editLayout = 0, importLayout = 0,
        printerOptions = 0, outputFormat = 0, sheet = 0, pagesPrompt = 0, pages = 0, notes = 0, okButton = 0,
        cancelButton = 0, helpButton = 0, factoryDefault = 0;
    std::vector<int> wmfControls;

    UpdateReportDesignWindow()
        : StandardForm(QStringLiteral("UpdateReportDesign"), QStringLiteral("Report Layout"))
    {
        SetRecord(*RelationsLLL_, false);
        window.Row([&] {
            window.Column([&] { DescribeLayout(); });
            window.Column([&] { DescribeOptions(); });
        });
        window.Prompt(QStringLiteral("Notes:"));
        notes = window.TextBox(BindField(*AccessLLL_, "LLL_:Notes"), 32000).Tip(QStringLiteral("Notes"));
        window.Buttons([&] {
            factoryDefault =
                window.Check(QStringLiteral("Factory Default"), BindField(*AccessLLL_, "LLL_:FactoryDefault"))
                    .Name(QStringLiteral("FactoryDefault"))
                    .Hide();
            window.Spacer();
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("OK"))
                           .Default();
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("LLL_:Description"));
        SetFirstField(description);
        SetHelp(QStringLiteral("editingreportlayoutsoptions.htm"), helpButton);
        KeepPlacement();
        KeepMinimumSize();
    }

    int OnAccepted(int control) override
    {
        for (const DateRange& range : ranges_) {
            if (control == range.option) {
                EnableDates();
                return Level::Handled;
            }
        }
        for (const DateButton& pick : dateButtons_) {
            if (control != pick.button)
                continue;
            Update();
            int& date = values_[pick.area][pick.position];
            const int start = date == 0 ? Today() : date;
            const QString title =
                pick.from ? QStringLiteral("Select Start Date") : QStringLiteral("Select End Date");
            date = DatePicker() ? DatePicker()(start, title) : SelectDate(start, title);
            window.ShowValues(pick.spin);
            return Level::Handled;
        }
        if (control == editLayout) {
            Update();
            OpenReportDesigner(Buffer(), window.Root());
            return Level::Handled;
        }
        if (control == importLayout) {
            Update();
            ImportLayout(GLO.DataPath + Trimmed(QStringLiteral("LLL_:FileName")) + QStringLiteral(".rpt"));
            return Level::Handled;
        }
        return StandardForm::OnAccepted(control);
    }

    int OnCompleted() override
    {
        if (REQUEST != Request::ViewOnly) {
            Update();
            SetField(QStringLiteral("LLL_:Filter"), PackLayoutOptions(Area(), Values()));
        }
        return StandardForm::OnCompleted();
    }

    void SetFieldDefaults() override
    {
        StandardForm::SetFieldDefaults();
        SetField(QStringLiteral("LLL_:AreaRef"), DesignerArea);
        SetField(QStringLiteral("LLL_:PrinterOptions"), 0);
    }

protected:
    int PrepareRecord() override
    {
        const int level = StandardForm::PrepareRecord();
        // A view shows the initial options: the memo is read only for an update.
        std::vector<int> options = InitialLayoutOptions(Area());
        if (REQUEST != Request::ViewOnly)
            options = UnpackLayoutOptions(Area(), Field(QStringLiteral("LLL_:Filter")).toString());
        const int area = Area();
        if (area >= 1 && area <= 6)
            std::copy(options.begin(), options.end(), values_[area].begin());
        return level;
    }

    void SetUpWindow() override
    {
        StandardForm::SetUpWindow();
        if (REQUEST == Request::Delete)
            window.SetCaption(QStringLiteral("  (") + Trimmed(QStringLiteral("LLL_:Description")) +
                              QStringLiteral(")"));
        const bool locked =
            Field(QStringLiteral("LLL_:FactoryDefault")).toInt() != 0 && GLO.AllowLayoutEdit == 0;
        if (locked || REQUEST == Request::ViewOnly) {
            for (const int control : {editLayout, importLayout, type})
                window.Disable(control);
        }
        if (GLO.DebugSwitch != 0) {
            for (const int control : {pagesPrompt, pages, factoryDefault})
                window.Show(control);
        }
        EnableDates();
        const int area = Area();
        if (area >= 1 && area <= 6)
            window.SelectTab(sheet, area);
        else
            window.Hide(sheet);
        if (area != 1) {
            for (const int control : wmfControls)
                window.Hide(control);
        }
        window.ShowValues();
    }

private:
    int Area() const { return Field(QStringLiteral("LLL_:AreaRef")).toInt(); }

    QString Trimmed(const QString& field) const { return StripTrailingBlanks(Field(field).toString()); }

    std::vector<int> Values() const
    {
        const int area = Area();
        if (area < 1 || area > 6)
            return {};
        return {values_[area].begin(), values_[area].end()};
    }

    void EnableDates()
    {
        for (const DateRange& range : ranges_) {
            const bool enabled = values_[range.area][range.position] == 2 && REQUEST != Request::ViewOnly;
            for (const int control : range.controls)
                window.Enable(control, enabled);
        }
    }

    void DescribeLayout()
    {
        window.Prompt(QStringLiteral("Description/Title:"));
        description = window.Entry(BindField(*AccessLLL_, "LLL_:Description"), QStringLiteral("@s255"))
                          .Tip(QStringLiteral("Description"));
        window.Row([&] {
            window.Prompt(QStringLiteral("Report File Name:"));
            fileName =
                window.Display(BindField(*AccessLLL_, "LLL_:FileName"), QStringLiteral("@s60")).Stretch();
        });
        window.Row([&] {
            type = FieldRadios(QStringLiteral("Type"), "LLL_:Type", {{"List", 1}, {"Card", 2}, {"Label", 3}});
            style = FieldRadios(QStringLiteral("Style"), "LLL_:Style",
                                {{"Summary", 1}, {"Detail", 2}, {"One Record per Page", 3}});
        });
        window.Row([&] {
            window.Check(QStringLiteral("Print Filter"), BindField(*AccessLLL_, "LLL_:PrintFilter"));
            window.Check(QStringLiteral("Print Cover Page"), BindField(*AccessLLL_, "LLL_:PrintCoverPage"));
            wmfLoop =
                window
                    .Check(QStringLiteral("WMF Special Loop"), BindField(*AccessLLL_, "LLL_:WMFSpecialLoop"))
                    .Name(QStringLiteral("WMFSpecialLoop"));
            wmfControls.push_back(wmfLoop);
        });
        window.Row([&] {
            for (const auto& [prompt, field] :
                 {std::pair{"WMF Width:", "LLL_:WMFWidth"}, std::pair{"WMF Height:", "LLL_:WMFHeight"}}) {
                wmfControls.push_back(window.Prompt(QString::fromLatin1(prompt)));
                wmfControls.push_back(window.Entry(BindField(*AccessLLL_, field), QStringLiteral("@n7.2")));
            }
            window.Spacer();
        });
        for (int misc = 1; misc <= 3; ++misc) {
            window.Row([&] {
                window.Prompt(QStringLiteral("Misc %1:").arg(misc));
                window
                    .Entry(BindField(*AccessLLL_, QStringLiteral("LLL_:Misc%1").arg(misc)),
                           QStringLiteral("@s40"))
                    .Stretch();
            });
        }
        window.Row([&] {
            editLayout = window.Button(QStringLiteral("Edit Layout"), QStringLiteral("repdes.gif"))
                             .Name(QStringLiteral("EditLayout"));
            importLayout = window.Button(QStringLiteral("Import Layout ..."), QStringLiteral("RTFOpen.gif"))
                               .Name(QStringLiteral("ImportLayout"));
            window.Spacer();
        });
        printerOptions = window.Check(QStringLiteral("Show Printer Options Before Printing"),
                                      BindField(*AccessLLL_, "LLL_:PrinterOptions"));
        window.Row([&] {
            window.Prompt(QStringLiteral("Output Format:"));
            std::vector<ListItem> formats;
            for (const auto& [text, value] : std::initializer_list<Choice>{{"Preview", 2},
                                                                           {"Printer", 3},
                                                                           {"PDF", 9},
                                                                           {"RTF", 4},
                                                                           {"HTML", 5},
                                                                           {"MHTML", 10},
                                                                           {"BMP", 8},
                                                                           {"JPG", 6},
                                                                           {"EMF", 7},
                                                                           {"XML", 11},
                                                                           {"XLS", 12},
                                                                           {"TXT", 13}})
                formats.push_back({QString::fromLatin1(text), value});
            outputFormat = window.DropList(BindField(*AccessLLL_, "LLL_:OutputFormat"), std::move(formats))
                               .Name(QStringLiteral("OutputFormat"));
            window.Spacer();
        });
        window.Check(QStringLiteral("Open Output File After Printing"),
                     BindField(*AccessLLL_, "LLL_:OpenOutputFile"));
        window.Row([&] {
            pagesPrompt = window.Prompt(QStringLiteral("Pages:")).Hide();
            pages = window.Entry(BindField(*AccessLLL_, "LLL_:Pages"), QStringLiteral("@n3"))
                        .Name(QStringLiteral("Pages"))
                        .Hide();
            window.Spacer();
        });
        window.Spacer();
    }

    void DescribeOptions()
    {
        sheet =
            window
                .Sheet([&] {
                    Page(1, "Log Events", "Log Event (default) Report Options", [&] {
                        Radios("Sort Order", 0, {{"Log Date", 1}, {"Log Description", 2}, {"Log Type", 3}});
                        Range("Date Range", 2);
                        Radios("Report Type", 1,
                               {{"None (Print All)", 0}, {"Home", 1}, {"Work", 2}, {"Other", 3}});
                    });
                    Page(2, "Tasks", "Task (default) Report Options", [&] {
                        window.Row([&] {
                            Radios("Sort Order", 0,
                                   {{"Description", 1},
                                    {"Priority", 5},
                                    {"Start Date", 2},
                                    {"Close Date", 6},
                                    {"Due Date", 3},
                                    {"Enter Date", 4}});
                            window.Column([&] {
                                Radios("Completed", 10, {{"All (Print All)", 1}, {"No", 3}, {"Yes", 2}});
                                Radios("Priority", 11,
                                       {{"All (Print All)", 1}, {"High", 2}, {"Low", 4}, {"Medium", 3}});
                            });
                        });
                        Range("Due Date Range", 1);
                        Range("Close Date Range", 4);
                        Range("Start Date Range", 7);
                    });
                    Page(3, "Contacts", "Contact (default) Report Options", [&] {
                        Radios("Sort Order", 0,
                               {{"Last Name", 1}, {"Company", 2}, {"City", 3}, {"State", 4}, {"E-Mail", 5}});
                    });
                    Page(4, "Reminder", "Reminder (default) Report Options", [&] {
                        window.Row([&] {
                            Radios("Sort Order", 0, {{"Reminder Date", 1}, {"Description", 2}});
                            Radios("Show Reminder", 1, {{"All (Print All)", 1}, {"Yes", 2}, {"No", 3}});
                            Radios("Dismiss", 2, {{"All (Print All)", 1}, {"Yes", 2}, {"No", 3}});
                        });
                        Radios("Link Type", 3,
                               {{"All (Print All)", 1},
                                {"Task", 5},
                                {"Contact", 4},
                                {"No Link", 2},
                                {"Log Event", 3}});
                        Range("Reminder Date Range", 4);
                    });
                    Page(5, "Sticky Notes", "Sticky Notes (default) Report Options", [&] {
                        Radios("Sort Order", 0, {{"Description", 1}, {"Enter Date", 2}});
                    });
                    Page(6, "Scrap Book", "Scrap Book (default) Report Options", [&] {
                        Radios("Sort Order", 0, {{"Description", 1}, {"Enter Date", 2}});
                    });
                })
                .Name(QStringLiteral("OptionsSheet"))
                .HideTabs()
                .Stretch();
    }

    void Page(int area, const char* tab, const char* heading, const std::function<void()>& body)
    {
        describing_ = area;
        window
            .Tab(QString::fromLatin1(tab),
                 [&] {
                     window.Group(QString::fromLatin1(heading), [&] {
                         body();
                         window.Spacer();
                     });
                 })
            .Name(QStringLiteral("Page%1").arg(area));
    }

    int FieldRadios(const QString& text, const char* field, std::initializer_list<Choice> choices)
    {
        return window
            .Options(text, BindField(*AccessLLL_, field),
                     [&] {
                         for (const Choice& choice : choices)
                             window.Radio(QString::fromLatin1(choice.text), choice.value);
                     })
            .Name(text);
    }

    int Radios(const char* text, std::size_t position, std::initializer_list<Choice> choices)
    {
        return window
            .Options(QString::fromLatin1(text), Bind(values_[describing_][position]),
                     [&] {
                         for (const Choice& choice : choices)
                             window.Radio(QString::fromLatin1(choice.text), choice.value);
                     })
            .Name(QStringLiteral("Option%1_%2").arg(describing_).arg(position));
    }

    // A range option at `position` and its two dates after it.
    void Range(const char* text, std::size_t position)
    {
        const int area = describing_;
        DateRange range{area, 0, position, {}};
        window.Group(QString::fromLatin1(text), [&] {
            window.Row([&] {
                range.option = window
                                   .Options({}, Bind(values_[area][position]),
                                            [&] {
                                                window.Radio(QStringLiteral("All"), 1);
                                                window.Radio(QStringLiteral("Range"), 2);
                                            })
                                   .Name(QStringLiteral("Range%1_%2").arg(area).arg(position));
                window.Column([&] {
                    DateRow(range, ">=", position + 1, true);
                    DateRow(range, "<=", position + 2, false);
                });
            });
        });
        ranges_.push_back(std::move(range));
    }

    void DateRow(DateRange& range, const char* prompt, std::size_t position, bool from)
    {
        window.Row([&] {
            range.controls.push_back(window.Prompt(QString::fromLatin1(prompt)));
            const int spin = window
                                 .Spin(Bind(values_[range.area][position]), QStringLiteral("@D17B"), 0,
                                       DayNumberFromDate(QDate(9999, 12, 31)))
                                 .Name(QStringLiteral("Date%1_%2").arg(range.area).arg(position));
            const int button = window.Button({}, QStringLiteral("pickdate.gif"))
                                   .Tip(QStringLiteral("Select Date"))
                                   .Name(QStringLiteral("Pick%1_%2").arg(range.area).arg(position));
            range.controls.push_back(spin);
            range.controls.push_back(button);
            dateButtons_.push_back({range.area, button, spin, position, from});
        });
    }

    // The options of each area by position, areas 1 to 6; each page edits only its own area's.
    std::array<std::array<int, 12>, 7> values_{};
    int describing_ = 0;
    std::vector<DateRange> ranges_;
    std::vector<DateButton> dateButtons_;
};

} // namespace

void SetLayoutDatePicker(LayoutDatePicker picker)
{
    DatePicker() = std::move(picker);
}

void UpdateReportDesign()
{
    RunProcedure<UpdateReportDesignWindow>();
}

} // namespace jornix
