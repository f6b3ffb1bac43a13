#include "core/SetupProgram.h"

#include "core/ChangePassword.h"
#include "core/DataLayer.h"
#include "core/FontStyleSetting.h"
#include "core/LoadPreservedSettings.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/SavePreservedSettings.h"
#include "core/ShowSettingsNotSaved.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "platform/framework/ListLocator.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/store/Table.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QTabWidget>

#include <algorithm>

namespace jornix {

namespace {

int StyleOfFont(const QFont& font)
{
    return FontStyleSetting{font.bold(), font.italic(), font.underline(), font.strikeOut()}.Encode();
}

QFont FontOfSettings()
{
    QFont font(GLO.DefFont, GLO.DefFontSize);
    const FontStyleSetting style = FontStyleSetting::Decode(GLO.DefFontStyle);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    return font;
}

int FrameworkStyle(int keptStyle)
{
    const FontStyleSetting style = FontStyleSetting::Decode(keptStyle);
    return (style.bold ? FontStyle::Bold : 0) | (style.italic ? FontStyle::Italic : 0) |
           (style.underline ? FontStyle::Underline : 0) | (style.strikeOut ? FontStyle::StrikeOut : 0);
}

const QString ExampleText = QStringLiteral("Example Text ABC 123");
const QString Information = QStringLiteral("Information");

// One row of the definitions: its record type and an "X" under each field that is shown.
class MiscFieldList : public StandardBrowseList
{
public:
    void FillRow(ListRow& row) override
    {
        StandardBrowseList::FillRow(row);
        static const QString types[] = {QStringLiteral("Log Event"), QStringLiteral("Reminder"),
                                        QStringLiteral("Task"), QStringLiteral("Contact")};
        const int type = row.record.Value(QStringLiteral("MSC:MiscType")).toInt();
        row.texts[0] = type >= 1 && type <= 4 ? types[type - 1] : QString();
        for (int i = 1; i <= 6; ++i) {
            const bool shown = row.record.Value(QStringLiteral("MSC:F%1Show").arg(i)).toInt() != 0;
            row.texts[i] = shown ? QStringLiteral("X") : QString();
        }
    }
};

class SetupProgramWindow : public StandardList
{
public:
    View view{AccessMSC->GetTable()};
    MiscFieldList brw;
    ListLocator byType;

    SetupProgramWindow() : StandardList(QStringLiteral("SetupProgram"), QStringLiteral("Program Setup"))
    {
        int list = 0, insertButton = 0, changeButton = 0, deleteButton = 0, helpButton = 0;
        DescribeHeading(QStringLiteral("Program Setup"));
        const int sheet = window.Sheet([&] {
            window.Tab(QStringLiteral("General"), [&] { DescribeGeneral(); });
            window.Tab(QStringLiteral("Log Events"), [&] { DescribeLogEvents(); });
            window.Tab(QStringLiteral("Sticky Notes"), [&] { DescribeStickyNotes(); });
            window.Tab(QStringLiteral("Voice Message"), [&] { DescribeVoiceMessage(); });
            window.Tab(QStringLiteral("Report Layout"), [&] { DescribeReportLayout(); });
            window.Tab(QStringLiteral("Misc Fields"), [&] {
                list = window
                           .List({{QStringLiteral("Misc Type"), QStringLiteral("@s10"), Qt::AlignLeft},
                                  {QStringLiteral("Misc 1"), QStringLiteral("@s1"), Qt::AlignHCenter},
                                  {QStringLiteral("Misc 2"), QStringLiteral("@s1"), Qt::AlignHCenter},
                                  {QStringLiteral("Misc 3"), QStringLiteral("@s1"), Qt::AlignHCenter},
                                  {QStringLiteral("Misc 4"), QStringLiteral("@s1"), Qt::AlignHCenter},
                                  {QStringLiteral("Misc 5"), QStringLiteral("@s1"), Qt::AlignHCenter},
                                  {QStringLiteral("Misc 6"), QStringLiteral("@s1"), Qt::AlignHCenter}})
                           .Tip(QStringLiteral("Browsing Records"))
                           .Name(QStringLiteral("List"))
                           .Stretch();
                window.Buttons([&] {
                    insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"))
                                       .Name(QStringLiteral("Insert"));
                    changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"))
                                       .Name(QStringLiteral("Change"));
                    deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"))
                                       .Name(QStringLiteral("Delete"));
                });
                miscText1 = window.Text({}).Name(QStringLiteral("MiscFieldsText"));
                miscText2 = window.Text({}).Name(QStringLiteral("MiscFieldsFlexibility"));
                window.Text(
                    QStringLiteral("For complete information on how to use miscellaneous fields, please "
                                   "refer to the online help."));
            });
        });
        window.Buttons([&] {
            cancelButton = window.Button(QStringLiteral("&Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
            applyButton = window.Button(QStringLiteral("&Apply"), QStringLiteral("OKButton.gif"))
                              .Tip(QStringLiteral("Apply and Save Changes"))
                              .Name(QStringLiteral("Apply"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        // Every tab shows its name: the window opens wide enough for the whole tab bar.
        static_cast<QTabWidget*>(window.Widget(sheet))->setUsesScrollButtons(false);
        colourButtons = {{menuBarTextButton, &GLO.JornixMenuBarTextColor,
                          QStringLiteral("Select Jornix Menu Bar Text Color")},
                         {menuBarBackgroundButton, &GLO.JornixMenuBarBGColor,
                          QStringLiteral("Select Jornix Menu Bar Background Color")},
                         {reminderDayButton, &GLO.ReminderDayColor, QStringLiteral("Select Reminder Color")},
                         {selectDayButton, &GLO.SelectDayFillColor, QStringLiteral("Selected Day Color")},
                         {currentDayButton, &GLO.CurrentDayColor, QStringLiteral("Select Current Day Color")},
                         {stickyBackgroundButton, &GLO.StickyNoteBGColor,
                          QStringLiteral("Select Sticky Notes Background Color")},
                         {stickyForegroundButton, &GLO.StickyNoteFGColor,
                          QStringLiteral("Select Sticky Notes Foreground Color")}};
        // Any signed-in user may change the settings; the window keeps no placement.
        RegisterKind(WindowThreadRegistry[WindowKind::SetupProgram]);
        UseTable(*RelationsLOG);
        UseTable(*RelationsMSC);
        KeepMinimumSize();
        SetHelp(QStringLiteral("programsetup.htm"), helpButton);
        SetList(brw, view, *RelationsMSC, list);
        list_->SetButtons({.insert = insertButton, .change = changeButton, .remove = deleteButton});
        SetForm([] { CallProcedure(QStringLiteral("UpdateMiscFields")); });
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardList::OnAccepted(control))
            return level;
        if (control == fontEntry) {
            RefreshExamples();
            return Level::GoOn;
        }
        const auto colour = std::find_if(colourButtons.begin(), colourButtons.end(),
                                         [control](const ColourButton& b) { return b.button == control; });
        if (colour == colourButtons.end() && control != fontButton && control != passwordButton &&
            control != dataPathButton && control != cancelButton && control != applyButton)
            return Level::GoOn;
        Update(); // what was typed and not yet left reaches its setting first
        if (colour != colourButtons.end())
            PickColour(*colour->setting, colour->title);
        else if (control == fontButton)
            PickFont();
        else if (control == passwordButton)
            AskPassword();
        else if (control == dataPathButton)
            PickDataFolder();
        else if (control == cancelButton)
            DiscardChanges();
        else if (control == applyButton)
            Apply();
        return Level::Handled;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        const int level = StandardList::OnWindowEvent(event);
        if (event.event == Event::OpenWindow)
            RefreshExamples();
        return level;
    }

protected:
    // Right after the toolbar and before the tables: the file holds what is in effect as the window opens.
    int SetUpForm() override
    {
        if (!SavePreservedSettings())
            ShowSettingsNotSaved();
        return Level::GoOn;
    }

    void SetUpWindow() override
    {
        window.SetLabel(
            miscText1,
            QStringLiteral("You can setup up to 6 miscellaneous fields for Log Events, Reminders, Tasks and "
                           "Contacts. You can define the field as a text box, drop down/list combo box or a "
                           "check box. For drop downs, you can specify the available choices. When printing, "
                           "you can define the data as different types of data formats."));
        window.SetLabel(
            miscText2,
            QStringLiteral(
                "Using the miscellaneous fields adds incredible flexibility to Jornix. The fields "
                "can be used in the report layout and printed. Note that the fields are global for "
                "all records. i.e. you can not have one log event that uses Misc1 as a check box "
                "and the second record use it as a text box."));
    }

    void SetUpListOrders() override
    {
        brw.AddOrder(view.ViewTable().KeyIndex(QStringLiteral("MSC:MiscTypeK")));
        brw.SetLocator(byType);
        byType.Init(0, QStringLiteral("MSC:MiscType"), true, brw);
        brw.MapField(QStringLiteral("MSC:MiscType"), 0);
        for (int i = 1; i <= 6; ++i)
            brw.MapField(QStringLiteral("MSC:F%1Show").arg(i), i);
    }

private:
    // A colour sample: a framed box that shows its colour as its fill.
    int Swatch(const QString& name)
    {
        const int swatch = window.Panel({}).Name(name);
        auto* frame = static_cast<QFrame*>(window.Widget(swatch));
        frame->setFrameShape(QFrame::Box);
        frame->setFixedSize(frame->fontMetrics().averageCharWidth() * 8, frame->fontMetrics().height() + 6);
        return swatch;
    }

    int EllipsisButton(const QString& name) { return window.Button(QStringLiteral("...")).Name(name); }

    // A prompt, its colour sample and the "..." button that picks the colour.
    void ColourRow(const QString& prompt, const QString& name, int& swatch, int& button)
    {
        window.Prompt(prompt);
        window.Row([&] {
            swatch = Swatch(name);
            button = EllipsisButton(name + QStringLiteral("Button"));
            window.Spacer();
        });
    }

    // "Example:" and a filled box across the row that holds the example text, high enough for a large font.
    void Example(const QString& name, int& box, int& text)
    {
        window.Prompt(QStringLiteral("Example:"));
        window.Row([&] {
            box = window.Panel([&] { text = window.Prompt(ExampleText).Name(name + QStringLiteral("Text")); })
                      .Name(name)
                      .Stretch();
            auto* label = static_cast<QLabel*>(window.Widget(text));
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumHeight(label->fontMetrics().height() * 3);
        });
    }

    void DescribeGeneral()
    {
        window.Row([&] {
            window.Column([&] {
                window
                    .Options(QStringLiteral("Startup &Mode"), Bind(GLO.StartupView),
                             [&] {
                                 window.Radio(QStringLiteral("Date View"), 1);
                                 window.Radio(QStringLiteral("All Events View"), 2);
                                 window.Radio(QStringLiteral("Reminders"), 3);
                                 window.Radio(QStringLiteral("Tasks"), 4);
                                 window.Radio(QStringLiteral("Sticky Notes"), 5);
                                 window.Radio(QStringLiteral("Contacts"), 6);
                             })
                    .Name(QStringLiteral("StartupMode"));
                window.Group(QStringLiteral("Auto Start"), [&] {
                    window.Check(QStringLiteral("Show &Overdue Reminders"), Bind(GLO.ShowOverdueReminders));
                    window.Check(QStringLiteral("Show Mini-Stick&y Notes"), Bind(GLO.ShowMiniStickyNotes));
                    window.Check(QStringLiteral("Show Mini-Scrapboo&k"), Bind(GLO.ShowScrapBook));
                });
                window.Spacer();
            });
            window.Column([&] {
                window.Group(QStringLiteral("Jornix Menu Bar"), [&] {
                    window.Check(QStringLiteral("Show Jornix Menu &Bar"), Bind(GLO.ShowJornixMenuBar));
                    window.Prompt(QStringLiteral("&Width:"));
                    window.Row([&] {
                        window.Entry(Bind(GLO.JornixMenuBarWidth), QStringLiteral("@n6"))
                            .Name(QStringLiteral("MenuBarWidth"));
                        window.Spacer();
                    });
                    ColourRow(QStringLiteral("Text Color:"), QStringLiteral("MenuBarTextColor"),
                              menuBarTextSwatch, menuBarTextButton);
                    ColourRow(QStringLiteral("Background Color:"), QStringLiteral("MenuBarBGColor"),
                              menuBarBackgroundSwatch, menuBarBackgroundButton);
                });
                window.Group(QStringLiteral("Global Refresh Time"), [&] {
                    window.Row([&] {
                        window.Entry(Bind(GLO.GlobalRefreshTime), QStringLiteral("@n9"))
                            .Name(QStringLiteral("RefreshTime"));
                        window.Prompt(QStringLiteral("(100 = 1 second)"));
                        window.Spacer();
                    });
                });
                window.Group(QStringLiteral("Jornix Tool Bar"), [&] {
                    window.Check(QStringLiteral("Show Jornix &Toolbar"), Bind(GLO.ShowJornixToolBar));
                });
                window.Group(QStringLiteral("Login/Password Options"), [&] {
                    window.Row([&] {
                        passwordButton = window.Button(QStringLiteral("Change &Password..."))
                                             .Name(QStringLiteral("ChangePassword"));
                        window.Spacer();
                    });
                    window.Check(QStringLiteral("&Remeber Last Login ID"), Bind(GLO.RemeberLastLoginID));
                });
                window.Spacer();
            });
        });
        window.Group(QStringLiteral("Data Path"), [&] {
            window.Row([&] {
                dataPathEntry = window.Entry(Bind(GLO.DataPath), QStringLiteral("@s"))
                                    .Name(QStringLiteral("DataPathEntry"))
                                    .Stretch();
                dataPathButton = EllipsisButton(QStringLiteral("DataPathButton"));
            });
        });
        window.Spacer();
    }

    void DescribeLogEvents()
    {
        window.Row([&] {
            window
                .Group(QStringLiteral("&Colors"),
                       [&] {
                           ColourRow(QStringLiteral("Reminder:"), QStringLiteral("ReminderColor"),
                                     reminderDaySwatch, reminderDayButton);
                           ColourRow(QStringLiteral("Select Day:"), QStringLiteral("SelectDayColor"),
                                     selectDaySwatch, selectDayButton);
                           ColourRow(QStringLiteral("Current Day:"), QStringLiteral("CurrentDayColor"),
                                     currentDaySwatch, currentDayButton);
                       })
                .Stretch();
            window
                .Options(QStringLiteral("&Default Log Type"), Bind(GLO.DefaultLogType),
                         [&] {
                             window.Radio(QStringLiteral("None"), 0);
                             window.Radio(QStringLiteral("Home"), 1);
                             window.Radio(QStringLiteral("Work"), 2);
                             window.Radio(QStringLiteral("Other"), 3);
                         })
                .Name(QStringLiteral("DefaultLogType"));
        });
        window.Group(QStringLiteral("Default.tx"), [&] {
            window.Text(
                QStringLiteral("Save a file in the \"data\" directory to be used as the default text. See "
                               "help for more information."));
        });
        window.Group(QStringLiteral("Log Event Text"), [&] {
            window.Prompt(QStringLiteral("Default Font:"));
            window.Row([&] {
                fontEntry = window.Entry(Bind(GLO.DefFont), QStringLiteral("@s50"))
                                .Name(QStringLiteral("DefaultFont"))
                                .Stretch();
                fontButton = window.Button(QStringLiteral("..."))
                                 .Tip(QStringLiteral("Select Default Font"))
                                 .Name(QStringLiteral("DefaultFontButton"));
            });
            Example(QStringLiteral("FontExample"), fontExample, fontExampleText);
        });
        window.Group(QStringLiteral("Extra Log Event Setting"), [&] {
            window.Prompt(QStringLiteral("Ruler Scale Mode:"));
            window.Row([&] {
                window
                    .DropList(Bind(GLO.TXRulerScaleMode), {{QStringLiteral("Inches"), 1},
                                                           {QStringLiteral("Centimeters"), 2},
                                                           {QStringLiteral("Millimeters"), 3}})
                    .Name(QStringLiteral("RulerScaleMode"));
                window.Spacer();
            });
            window.Check(QStringLiteral("Show Control Chars"), Bind(GLO.TXShowControlChars));
            window.Check(QStringLiteral("Show Grid Lines"), Bind(GLO.TXShowGridLines));
        });
        window.Spacer();
    }

    void DescribeStickyNotes()
    {
        window.Group(QStringLiteral("Colors"), [&] {
            ColourRow(QStringLiteral("Background Color:"), QStringLiteral("StickyBGColor"),
                      stickyBackgroundSwatch, stickyBackgroundButton);
            ColourRow(QStringLiteral("Foreground Color:"), QStringLiteral("StickyFGColor"),
                      stickyForegroundSwatch, stickyForegroundButton);
            Example(QStringLiteral("StickyExample"), stickyExample, stickyExampleText);
        });
        window.Spacer();
    }

    void DescribeVoiceMessage()
    {
        window.Text(
            QStringLiteral("Note that the higher the setting the better the quality of the voice message. "
                           "However the file size will also increase substantially. Also note that the "
                           "file will be mono."));
        window.Prompt(QStringLiteral("&Bits Per Sample:"));
        window.Row([&] {
            window
                .DropList(Bind(GLO.VoiceMessageBitsPerSample),
                          {{QStringLiteral("8 Bit"), 8}, {QStringLiteral("16 Bit"), 16}})
                .Name(QStringLiteral("BitsPerSample"));
            window.Spacer();
        });
        window.Prompt(QStringLiteral("Sa&mples Per Sec:"));
        window.Row([&] {
            window
                .DropList(Bind(GLO.VoiceMessageSamplesPerSec),
                          {{QStringLiteral("Low Quality (11.025 kHz)"), 11025},
                           {QStringLiteral("Medium Quality (22.050 kHz)"), 22050},
                           {QStringLiteral("High Quality (44.100 kHz)"), 44100}})
                .Name(QStringLiteral("SamplesPerSec"));
            window.Spacer();
        });
        window.Spacer();
    }

    void DescribeReportLayout()
    {
        window.Group(QStringLiteral("Report Layout Options"), [&] {
            window.Check(QStringLiteral("&Allow Report Layout Edit for Locked Layouts"),
                         Bind(GLO.AllowLayoutEdit));
            window.Check(QStringLiteral("&Debug Reports"), Bind(GLO.LLDebug));
        });
        window.Text(
            QStringLiteral("Jornix ships with several predefined report layouts. They have been \"locked\" "
                           "to prevent accidental deletes or changes to the report layouts."));
        window.Text(
            QStringLiteral("It is recommended that you make a copy of the report layout and then make your "
                           "changes. If you want to change the built in report layout, check the "
                           "appropriate check box above."));
        window.Text(
            QStringLiteral("The debug option is only to be used when Tessivane needs to debug problems "
                           "with the report layouts. You should keep the debug option turned off during "
                           "normal use of Jornix."));
        window.Spacer();
    }

    // The four example groups show the settings as they stand.
    void RefreshExamples()
    {
        const auto colour = [](qint32 setting) { return QColorFromColour(quint32(setting)); };
        window.SetFillColor(menuBarBackgroundSwatch, colour(GLO.JornixMenuBarBGColor));
        window.SetFillColor(menuBarTextSwatch, colour(GLO.JornixMenuBarTextColor));
        window.SetFillColor(reminderDaySwatch, colour(GLO.ReminderDayColor));
        window.SetFillColor(selectDaySwatch, colour(GLO.SelectDayFillColor));
        window.SetFillColor(currentDaySwatch, colour(GLO.CurrentDayColor));
        window.SetFont(fontExampleText, GLO.DefFont, GLO.DefFontSize, FrameworkStyle(GLO.DefFontStyle));
        window.SetTextColor(fontExampleText, colour(GLO.DefFontColor));
        window.SetFillColor(fontExample, QColor(Qt::white));
        window.SetFillColor(stickyBackgroundSwatch, colour(GLO.StickyNoteBGColor));
        window.SetFillColor(stickyForegroundSwatch, colour(GLO.StickyNoteFGColor));
        window.SetFillColor(stickyExample, colour(GLO.StickyNoteBGColor));
        window.SetTextColor(stickyExampleText, colour(GLO.StickyNoteFGColor));
    }

    void PickColour(qint32& setting, const QString& title)
    {
        QColor colour = QColorFromColour(quint32(setting));
        if (!AskColour(colour, title))
            return;
        setting = qint32(ColourFromQColor(colour));
        RefreshExamples();
    }

    void PickFont()
    {
        QFont font = FontOfSettings();
        QColor colour = QColorFromColour(quint32(GLO.DefFontColor));
        if (!AskFont(font, colour, QStringLiteral("Choose Default Font Properties")))
            return;
        GLO.DefFont = font.family();
        GLO.DefFontSize = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
        GLO.DefFontColor = qint32(ColourFromQColor(colour));
        GLO.DefFontStyle = StyleOfFont(font);
        window.ShowValues(fontEntry);
        RefreshExamples();
    }

    void AskPassword()
    {
        if (ChangePassword() == 0)
            ShowMessageBox(MessageButton::Ok, MessageIcon::Information, Information,
                           QStringLiteral("Password change has been aborted."));
    }

    // The running program keeps its data folder: only the setting changes, and the next start takes it.
    void PickDataFolder()
    {
        const QString folder = AskFolder(QStringLiteral("Select Jornix Data Folder"), GLO.DataPath);
        if (folder.isEmpty())
            return;
        ShowMessageBox(
            MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Jornix Data Path Change"),
            QStringLiteral("You have changed the Jornix Data Path to a different location. You must "
                           "manually move your files to the new location.\n\nOriginal Location: ") +
                StripTrailingBlanks(GLO.DataPath) + QStringLiteral("\nNew Location: ") +
                StripTrailingBlanks(folder) +
                QStringLiteral("\n\nPlease refer to the Jornix help file for information about "
                               "moving the files to the new Jornix Data Path location."));
        GLO.DataPath = folder;
        window.ShowValues(dataPathEntry);
    }

    // The file's values replace every setting in memory; the window stays open.
    void DiscardChanges()
    {
        LoadPreservedSettings();
        window.ShowValues();
        RefreshExamples();
    }

    void Apply()
    {
        if (!SavePreservedSettings()) {
            ShowSettingsNotSaved();
            return;
        }
        ShowMessageBox(MessageButton::Ok, MessageIcon::Information, Information,
                       QStringLiteral("Some settings require that you restart the program."));
    }

    struct ColourButton
    {
        int button = 0;
        qint32* setting = nullptr;
        QString title;
    };
    std::vector<ColourButton> colourButtons;

    // The colour samples and the "..." buttons that pick their colours.
    int menuBarTextSwatch = 0, menuBarBackgroundSwatch = 0;
    int reminderDaySwatch = 0, selectDaySwatch = 0, currentDaySwatch = 0;
    int stickyBackgroundSwatch = 0, stickyForegroundSwatch = 0;
    int menuBarTextButton = 0, menuBarBackgroundButton = 0;
    int reminderDayButton = 0, selectDayButton = 0, currentDayButton = 0;
    int stickyBackgroundButton = 0, stickyForegroundButton = 0;
    // The examples and the other controls the window acts on.
    int fontEntry = 0, fontButton = 0, fontExample = 0, fontExampleText = 0;
    int stickyExample = 0, stickyExampleText = 0;
    int passwordButton = 0, dataPathEntry = 0, dataPathButton = 0;
    int cancelButton = 0, applyButton = 0, miscText1 = 0, miscText2 = 0;
};

} // namespace

void SetupProgram()
{
    RunProcedure<SetupProgramWindow>();
}

} // namespace jornix
