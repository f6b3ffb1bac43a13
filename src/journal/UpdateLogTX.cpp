#include "journal/UpdateLogTX.h"

#include "core/DataLayer.h"
#include "core/FontStyleSetting.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SharedFunctions.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "documents/TXEdit.h"
#include "journal/EventEditorCommands.h"
#include "journal/MiscFieldControls.h"
#include "journal/SelectDate.h"
#include "journal/VoiceMessage.h"
#include "platform/framework/TableRelations.h"
#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ShellOpen.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <QFileInfo>
#include <QLabel>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace jornix {

namespace {

// The program events that the notes post: edited, a key went down, the right mouse button went down.
constexpr int EditorChangedEvent = 0x755;
constexpr int EditorKeyEvent = 0x756;
constexpr int EditorRightClickEvent = 0x763;
// The log-event access that may edit everything.
constexpr int FullAccess = 2;
// The event's document: LOG:LogDoc, the second of the table's memo and BLOB fields.
constexpr int DocumentBlob = 2;
// The page of the notes, in twips.
constexpr int NotesPageWidth = 11800;
constexpr int NotesPageHeight = 15000;

// The notes with their button bar, ruler and status bar. They are the heart of an event: the editor opens
// with room for twenty lines of text, more than the fields under them take, and keeps at least a dozen.
class NotesRoom : public QWidget
{
public:
    static constexpr int OpeningLines = 20;

    QSize sizeHint() const override { return QWidget::sizeHint() + QSize(0, Extra()); }
    int heightForWidth(int width) const override
    {
        const int height = QWidget::heightForWidth(width);
        return height < 0 ? height : height + Extra();
    }
    // What twenty lines take beyond the height the text control asks for.
    int Extra() const
    {
        return text ? std::max(0, OpeningLines * text->fontMetrics().lineSpacing() - text->sizeHint().height())
                    : 0;
    }

    QWidget* text = nullptr;
};

// The editor's document component, one per program thread: one editor can be open on each thread.
struct ThreadEditor
{
    std::unique_ptr<TXEdit> txEdit;
};

std::unique_ptr<TXEdit>& ThreadTXEdit()
{
    return CurrentContext().Slot<ThreadEditor>().txEdit;
}

// The ruler's units for GLO:TXRulerScaleMode: 1 inches, 2 centimetres, 3 millimetres, anything else inches.
int RulerUnits(int scaleMode)
{
    switch (scaleMode) {
    case 2:
        return 1;
    case 3:
        return 0;
    default:
        return 2;
    }
}

// The default font of the settings as the format new text of the notes takes.
QTextCharFormat DefaultFontFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({StripTrailingBlanks(GLO.DefFont)});
    if (GLO.DefFontSize > 0)
        format.setFontPointSize(GLO.DefFontSize);
    format.setForeground(QColorFromColour(quint32(GLO.DefFontColor)));
    const FontStyleSetting style = FontStyleSetting::Decode(GLO.DefFontStyle);
    if (style.italic)
        format.setFontItalic(true);
    if (style.strikeOut)
        format.setFontStrikeOut(true);
    if (style.underline)
        format.setFontUnderline(true);
    if (style.bold)
        format.setFontWeight(QFont::Bold);
    return format;
}

// "Tuesday, September 30, 2003"; blank for no date.
QString DayString(int date)
{
    const QDate day = DateFromDayNumber(date);
    if (!day.isValid())
        return {};
    return StripTrailingBlanks(DayOfWeekName(date)) + QStringLiteral(", ") +
           StripTrailingBlanks(MonthName(date)) + QLatin1Char(' ') + QString::number(day.day()) +
           QStringLiteral(", ") + QString::number(day.year()).rightJustified(4, QLatin1Char('0'));
}

class UpdateLogTXWindow : public StandardForm
{
public:
    int notes = 0, enlargeButton = 0, dayDisplay = 0, changeDateButton = 0, sheet = 0, miscTab = 0;
    int description = 0, location = 0, duration = 0, docLink = 0, chooseDocument = 0, linkButton = 0;
    int rank = 0, followUp = 0, important = 0, logType = 0, miniNotes = 0, privateBox = 0;
    int okButton = 0, cancelButton = 0;
    VoiceMessage voice;
    MiscFieldControls misc{*this, MiscRecordType::LogEvent, *AccessLOG, QStringLiteral("LOG:LogMisc")};
    QString dayString;
    bool DocumentChanged = false;
    bool NotesEnlarged = false;

    EventEditorCommands commands{window, [] { return ThreadTXEdit().get(); }};
    // The key that went down last in the notes and its shift state, for the shortcuts.
    int lastKey = 0;
    int lastShiftState = 0;

    // The rich-text area: the control and its three companions, in one widget of the window.
    RichTextControl* text = nullptr;
    ButtonBar* buttonBar = nullptr;
    Ruler* ruler = nullptr;
    StatusBar* statusBar = nullptr;

    UpdateLogTXWindow()
        : StandardForm(QStringLiteral("UpdateLogTX"), QStringLiteral("Update Event")),
          voice(
              *this, QStringLiteral("l_"), [this] { return Field(QStringLiteral("LOG:LogNum")).toInt(); },
              CurrentUserAccess[AccessArea::LogEvents])
    {
        SetRecord(*RelationsLOG, true,
                  {QStringLiteral("LogCreateDate"), QStringLiteral("LogCreateLoginID"),
                   QStringLiteral("LogUniqueID"), QStringLiteral("LogLastEditDate"),
                   QStringLiteral("LogLastEditLoginID")});
        commands.Describe();
        commands.onImported = [this] { DocumentChanged = true; };
        commands.onExit = [this] { window.Notify(Event::Accepted, cancelButton); };
        notes = window.Custom(NotesArea()).Name(QStringLiteral("Notes")).Stretch();
        window.Row([&] {
            enlargeButton = window.Button({}, QStringLiteral("~zoomdown.gif"))
                                .Tip(QStringLiteral("Enlarge Notes"))
                                .Name(QStringLiteral("Enlarge"));
            dayDisplay = window.Display(Bind(dayString), QStringLiteral("@s50"))
                             .Name(QStringLiteral("DayString"))
                             .Stretch();
            changeDateButton = window.Button(QStringLiteral("&Change Date"), QStringLiteral("pickdate.gif"))
                                   .Name(QStringLiteral("ChangeDate"));
        });
        sheet =
            window
                .Sheet([&] {
                    window.Tab(QStringLiteral("&General"), [&] { DescribeGeneralTab(); });
                    miscTab = window.Tab(QStringLiteral("&Misc"), [&] {
                        window.Text(QStringLiteral(
                            "To enable Misc. Fields, go to Program Setup - Misc Fields (tab)."));
                    });
                    window.Tab(QStringLiteral("&Notes"), [&] {
                        miniNotes =
                            window.TextBox(BindField(*AccessLOG, QStringLiteral("LOG:LogMiniNotes")), 1000)
                                .Tip(QStringLiteral("Event Mini Notes"))
                                .Name(QStringLiteral("MiniNotes"));
                    });
                })
                .Name(QStringLiteral("Sheet"))
                .Stretch(0); // the notes take the spare height, also that of the sheet while enlarged
        // The note and the user-defined fields under it stand at the top of their tab.
        window.Widget(miscTab)->layout()->setAlignment(Qt::AlignTop);
        misc.SetMiscTab(miscTab);
        // The stamp panel: the record's stamps, its number and the private box.
        window.Row([&] {
            DescribeStamps();
            window.Prompt(QStringLiteral("Record #"));
            recordNumber = window.Display(BindField(*AccessLOG, "LOG:LogNum"), QStringLiteral("@n_9"))
                               .Name(QStringLiteral("LogNum"));
            window.Spacer();
            privateBox = window.Check(QStringLiteral("&Private"), BindField(*AccessLOG, "LOG:LogPrivate"))
                             .Name(QStringLiteral("Private"));
        });
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Default()
                           .Name(QStringLiteral("OK"));
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
        });

        CheckAccess(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"), true);
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("LOG:LogDescription"));
        SetCaptions({QStringLiteral("View Record"), QStringLiteral("Record Will Be Added"),
                     QStringLiteral("Record Will Be Changed")});
        SetPrivateBox(privateBox);
        SetFirstField(description);
        SetHelp(QStringLiteral("editinglogevents.htm"), commands.ControlOf(EditorCommand::Help));
        SetShowScraps(commands.ControlOf(EditorCommand::SelectScrap));
        KeepPlacement();
        KeepMinimumSize();
    }

    ~UpdateLogTXWindow() override { ReleaseTXEdit(); }

    int Init() override
    {
        const int level = StandardForm::Init();
        if (level == Level::GoOn)
            DocumentChanged = false;
        return level;
    }

    int Kill() override
    {
        ReleaseTXEdit();
        return StandardForm::Kill();
    }

    void SetFieldDefaults() override
    {
        // Until Date View has chosen a day, a new event is today's.
        SetField(QStringLiteral("LOG:LogDate"), SelectedDate ? SelectedDate : Today());
        StandardForm::SetFieldDefaults();
        misc.SetMiscDefaults();
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardForm::OnAccepted(control); level != Level::GoOn)
            return level;
        if (control == changeDateButton)
            ChangeDate();
        else if (control == chooseDocument)
            ChooseDocument();
        else if (control == linkButton)
            OpenDocumentLink();
        else if (control == enlargeButton)
            EnlargeNotes(!NotesEnlarged);
        else
            commands.Run(control);
        return Level::GoOn;
    }

    int OnFieldEvent(const FrameworkEvent& event) override
    {
        if (event.control == notes && event.event == EditorChangedEvent) {
            DocumentChanged = true;
            commands.UpdateUndoRedo();
        } else if (event.control == notes && event.event == EditorKeyEvent) {
            RunShortcut();
        } else if (event.control == notes && event.event == EditorRightClickEvent) {
            // The right-click menu edits: only for users with full access to log events.
            if (CurrentUserAccess[AccessArea::LogEvents] == FullAccess)
                if (TXEdit* txEdit = ThreadTXEdit().get())
                    txEdit->ContextMenu();
        } else if (event.event == EventEditorCommands::ZoomChosenEvent) {
            commands.ChooseZoom();
        }
        return StandardForm::OnFieldEvent(event);
    }

    int OnCompleted() override
    {
        // Stored before the base compares the record with its copy, so an edited document counts as a change.
        if (REQUEST != Request::ViewOnly && DocumentChanged) {
            if (TXEdit* txEdit = ThreadTXEdit().get())
                txEdit->SaveToBlob(AccessLOG->GetTable(), DocumentBlob);
            StampDocumentEdit();
        }
        return StandardForm::OnCompleted();
    }

    int OnCloseRequest() override
    {
        // The document is written only on completion; the stamps let "Save Record" see that it was edited.
        if (REQUEST != Request::ViewOnly && RESPONSE != Response::Completed && DocumentChanged)
            StampDocumentEdit();
        return StandardForm::OnCloseRequest();
    }

protected:
    int PrepareRecord() override
    {
        misc.FetchMiscDefinitions();
        return StandardForm::PrepareRecord();
    }

    void SetUpWindow() override
    {
        StandardForm::SetUpWindow();
        dayString = DayString(Field(QStringLiteral("LOG:LogDate")).toInt());
        SetUpNotes();
        commands.SetViewMode(REQUEST == Request::ViewOnly);
        commands.UpdateUndoRedo();
        misc.CreateMiscControls(); // read-only for a user who may only view
        if (REQUEST == Request::ViewOnly) {
            for (const int control :
                 {chooseDocument, changeDateButton, voice.Buttons().record, voice.Buttons().importButton,
                  voice.Buttons().exportButton, voice.Buttons().remove})
                window.Disable(control);
        }
        window.ShowValues();
    }

    int ValidateRecord() override
    {
        if (StripTrailingBlanks(Field(QStringLiteral("LOG:LogDescription")).toString()).isEmpty()) {
            if (NotesEnlarged)
                EnlargeNotes(false);
            window.Select(description);
            window.ShowValues();
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Information"),
                           QStringLiteral("Description is required."));
            return Level::Handled;
        }
        TXEdit* txEdit = ThreadTXEdit().get();
        if (txEdit && txEdit->GetSaveLength(TextFormat::PlainText, 0) <= 1) {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Information"),
                           QStringLiteral("Log Event notes is required."));
            txEdit->Activate();
            return Level::Handled;
        }
        return Level::GoOn;
    }

private:
    QWidget* NotesArea()
    {
        auto* area = new NotesRoom;
        area->setMinimumSize(640, 260); // a page's width of text and a dozen lines
        auto* layout = new QVBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        buttonBar = new ButtonBar;
        ruler = new Ruler;
        text = new RichTextControl;
        statusBar = new StatusBar;
        buttonBar->setObjectName(QStringLiteral("ButtonBar"));
        ruler->setObjectName(QStringLiteral("Ruler"));
        text->setObjectName(QStringLiteral("Text"));
        text->setContextMenuPolicy(Qt::PreventContextMenu); // the right click opens the editor's own menu
        statusBar->setObjectName(QStringLiteral("StatusBar"));
        layout->addWidget(buttonBar);
        layout->addWidget(ruler);
        layout->addWidget(text, 1);
        layout->addWidget(statusBar);
        area->text = text;
        return area;
    }

    void DescribeGeneralTab()
    {
        window.Prompt(QStringLiteral("&Description:"));
        description =
            window.Entry(BindField(*AccessLOG, QStringLiteral("LOG:LogDescription")), QStringLiteral("@s255"))
                .Tip(QStringLiteral("Event Description"))
                .Name(QStringLiteral("Description"));
        window.Prompt(QStringLiteral("&Location:"));
        location =
            window.Entry(BindField(*AccessLOG, QStringLiteral("LOG:LogLocation")), QStringLiteral("@s255"))
                .Tip(QStringLiteral("Location"))
                .Name(QStringLiteral("Location"));
        window.Prompt(QStringLiteral("D&uration:"));
        duration =
            window.Entry(BindField(*AccessLOG, QStringLiteral("LOG:LogDuration")), QStringLiteral("@s255"))
                .Tip(QStringLiteral("Duration"))
                .Name(QStringLiteral("Duration"));
        const int linkPrompt = window.Prompt(QStringLiteral("Doc Lin&k:"));
        window.Row([&] {
            docLink =
                window.Entry(BindField(*AccessLOG, QStringLiteral("LOG:LogDocLink")), QStringLiteral("@s255"))
                    .Tip(QStringLiteral("Document or Internet Link"))
                    .Name(QStringLiteral("DocLink"))
                    .Stretch();
            chooseDocument = window.Button(QStringLiteral("..."))
                                 .Tip(QStringLiteral("Select Document"))
                                 .Name(QStringLiteral("SelectDocument"));
            linkButton = window.Button({}, QStringLiteral("web_link.gif"))
                             .Tip(QStringLiteral("Display Document or Internet Link"))
                             .Name(QStringLiteral("OpenLink"));
        });
        const int rankPrompt = window.Prompt(QStringLiteral("&Rank:"));
        window.Row([&] {
            rank =
                window
                    .Spin(BindField(*AccessLOG, QStringLiteral("LOG:LogRank")), QStringLiteral("@n3"), 0, 999)
                    .Tip(QStringLiteral("Sorting Rank"))
                    .Name(QStringLiteral("Rank"));
            followUp = window.Check(QStringLiteral("Follo&wup"), BindField(*AccessLOG, "LOG:LogFollowUp"))
                           .Name(QStringLiteral("FollowUp"));
            important = window.Check(QStringLiteral("Im&portant"), BindField(*AccessLOG, "LOG:LogImportant"))
                            .Name(QStringLiteral("Important"));
            window.Spacer();
        });
        // The prompts of a row lead to the field they name.
        qobject_cast<QLabel*>(window.Widget(linkPrompt))->setBuddy(window.Widget(docLink));
        qobject_cast<QLabel*>(window.Widget(rankPrompt))->setBuddy(window.Widget(rank));
        window.Widget(chooseDocument)
            ->setMaximumWidth(
                window.Widget(chooseDocument)->fontMetrics().horizontalAdvance(QStringLiteral("....")) * 3);
        logType = window
                      .Options(QStringLiteral("Log T&ype"), BindField(*AccessLOG, "LOG:LogType"),
                               [&] {
                                   window.Row([&] {
                                       window.Radio(QStringLiteral("None"), 0);
                                       window.Radio(QStringLiteral("Home"), 1);
                                       window.Radio(QStringLiteral("Work"), 2);
                                       window.Radio(QStringLiteral("Other"), 3);
                                   });
                               })
                      .Name(QStringLiteral("LogType"));
        voice.Describe();
    }

    // The document component on the notes, the page, the ruler, the event's document or the template, the
    // default font; the edits count from here on.
    void SetUpNotes()
    {
        ReleaseTXEdit();
        ThreadTXEdit() = std::make_unique<TXEdit>();
        TXEdit& txEdit = *ThreadTXEdit();
        txEdit.Init(text, buttonBar, ruler, statusBar);
        txEdit.SetPageWidth(NotesPageWidth);
        txEdit.SetPageHeight(NotesPageHeight);
        txEdit.SetRulerUnits(RulerUnits(GLO.TXRulerScaleMode));
        const std::pair<const char*, int> barLayout[] = {
            {"PosFontName", 2},         {"PosFontSize", 3},       {"PosFontBold", 2004},
            {"PosFontItalic", 5},       {"PosFontUnderline", 6},  {"PosParaLeft", 2007},
            {"PosParaCentered", 8},     {"PosParaRight", 9},      {"PosParaJustified", 10},
            {"PosListNumbered", 2011},  {"PosListBulleted", 12},  {"PosTabLeft", 0},
            {"PosTabRight", 0},         {"PosTabCentered", 0},    {"PosTabDecimal", 0},
            {"PosZoom", 0},             {"PosControlChars", 0},   {"PosStyle", 1},
            {"PosXMLAdd", 0},           {"PosXMLRemove", 0}};
        for (const auto& [item, value] : barLayout)
            buttonBar->SetPosition(QString::fromLatin1(item), value);
        txEdit.SetControlChars(GLO.TXShowControlChars, 0);
        txEdit.SetGridLines(GLO.TXShowGridLines, 0);

        Table& log = AccessLOG->GetTable();
        bool loaded = TXEdit::IsTXDocument(log, DocumentBlob) && txEdit.LoadFromBlob(log, DocumentBlob);
        if (!loaded) {
            // No document, or one that cannot be read: the event starts as a new one would. The damaged
            // bytes stay in the record until the notes are edited.
            txEdit.SetPageWidth(NotesPageWidth);
            txEdit.SetPageHeight(NotesPageHeight);
            const QString folder = DataPathText;
            const QString templateFile = folder + QStringLiteral("default.tx");
            if (!folder.isEmpty() && QFileInfo(templateFile).isFile())
                txEdit.LoadFile({}, templateFile, 0, 1);
        }
        text->mergeCurrentCharFormat(DefaultFontFormat());
        txEdit.SetEditMode(REQUEST == Request::ViewOnly ? 1 : 0);
        // Connected once the document and the font are in place: loading is no edit.
        QObject::connect(text, &RichTextControl::Changed, text,
                         [this] { window.Notify(EditorChangedEvent, notes); });
        QObject::connect(text, &RichTextControl::KeyDown, text, [this](int key, int shiftState) {
            lastKey = key;
            lastShiftState = shiftState;
            window.Notify(EditorKeyEvent, notes);
        });
        QObject::connect(text, &RichTextControl::MouseDown, text, [this](int button, int, QPoint) {
            if (button == 2)
                window.Notify(EditorRightClickEvent, notes);
        });
        // Ctrl+I comes as a tab character, which must not reach the text: it toggles italic instead. Ctrl+Tab
        // is a tab character too, and types one.
        QObject::connect(text, &RichTextControl::KeyPress, text, [this](KeyPressEvent* press) {
            if (press->character == '\t' && lastShiftState == ShiftState::Ctrl && lastKey == Qt::Key_I)
                press->character = 0;
        });
        txEdit.Activate();
    }

    void ReleaseTXEdit()
    {
        std::unique_ptr<TXEdit>& txEdit = ThreadTXEdit();
        if (!txEdit)
            return;
        if (text)
            QObject::disconnect(text, nullptr, text, nullptr);
        txEdit->Kill();
        txEdit.reset();
    }

    // Ctrl and nothing else with A selects all, with B, U or I toggles bold, underline or italic.
    void RunShortcut()
    {
        TXEdit* txEdit = ThreadTXEdit().get();
        if (!txEdit || lastShiftState != ShiftState::Ctrl)
            return;
        switch (lastKey) {
        case Qt::Key_A:
            txEdit->SelectAll();
            break;
        case Qt::Key_B:
            commands.ToggleBold();
            break;
        case Qt::Key_U:
            commands.ToggleUnderline();
            break;
        case Qt::Key_I:
            commands.ToggleItalic();
            break;
        default:
            break;
        }
    }

    void StampDocumentEdit()
    {
        SetField(QStringLiteral("LOG:LogDocEditDate"), Today());
        SetField(QStringLiteral("LOG:LogDocEditTime"), Clock());
    }

    void ChangeDate()
    {
        const int date =
            SelectDate(Field(QStringLiteral("LOG:LogDate")).toInt(), QStringLiteral("Select Date"));
        SetField(QStringLiteral("LOG:LogDate"), date);
        dayString = DayString(date);
        window.ShowValues();
    }

    void ChooseDocument()
    {
        // A cancelled choice keeps the link as it was.
        const QString chosen =
            AskOpenFileName(QStringLiteral("Select Document"), QStringLiteral("All Files|*.*"), {},
                            FileKind::Documents);
        if (!chosen.isEmpty())
            SetField(QStringLiteral("LOG:LogDocLink"), chosen);
        window.ShowValues();
    }

    void OpenDocumentLink()
    {
        const QString link = StripTrailingBlanks(Field(QStringLiteral("LOG:LogDocLink")).toString());
        if (link.isEmpty()) {
            ShowMessageBox(
                MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Missing Document Link Value"),
                QStringLiteral("Please enter an Internet link or select a document for the Document "
                               "Link field."));
            window.Select(docLink);
            return;
        }
        if (ShellOpen(window.Root(), link) == 31)
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation,
                           QStringLiteral("Error Launching Document"),
                           QStringLiteral("There are no associated programs installed that can run this "
                                          "document."));
    }

    // The enlarged notes take the room of the sheet of fields.
    void EnlargeNotes(bool enlarge)
    {
        NotesEnlarged = enlarge;
        window.Show(sheet, !enlarge);
        Control(window, enlargeButton)
            .Icon(enlarge ? QStringLiteral("~zoomup.gif") : QStringLiteral("~zoomdown.gif"));
        if (!enlarge)
            window.Select(description);
    }

    int recordNumber = 0;
};

} // namespace

void UpdateLogTX()
{
    RunProcedure<UpdateLogTXWindow>();
}

} // namespace jornix
