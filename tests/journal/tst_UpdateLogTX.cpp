#include "journal/UpdateLogTX.h"

#include "documents/DocumentPageHeader.h"
#include "documents/SpellCheckDialog.h"
#include "documents/TXEdit.h"
#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/SpellChecker.h"
#include "platform/framework/TableRelations.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/runtime/PopupChoice.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/ShellOpen.h"
#include "platform/store/Table.h"

#include "core/DataFolder.h"
#include "documents/StoredDocument.h"
#include "journal/MiscDefinitions.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"
#include "platform/sound/WaveFixtures.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QTextTable>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::StoredDocument;

namespace {

constexpr int Me = 5;
constexpr int SomeoneElse = 9;
const QString Editor = QStringLiteral("UpdateLogTX");

// The text of the event's stored document; "(unreadable)" when it holds none the control can read.
QString StoredText(const Record& row)
{
    RichTextControl control;
    TXEdit txEdit;
    txEdit.Init(&control);
    const bool loaded = txEdit.LoadFromBlob(row.Blob(row.FieldNumber(QStringLiteral("LOG:LogDoc"))));
    txEdit.Kill();
    return loaded ? control.toPlainText() : QStringLiteral("(unreadable)");
}

struct EventValues
{
    QString description;
    QByteArray document;
    int creator = Me;
};

// The window of the name that is shown on its own, as the editor's dialogs are.
QWidget* ShownWindow(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

WindowController* Form()
{
    return FindWindow(Editor);
}

RichTextControl* Notes(WindowController& form)
{
    return form.window.Root()->findChild<RichTextControl*>(QStringLiteral("Text"));
}

// The control of an item of the Table menu, by the texts of its submenu and its own.
int TableItem(WindowController& form, const QStringList& path)
{
    QMenu* menu = nullptr;
    for (QAction* action : form.window.Root()->findChild<QMenuBar*>()->actions())
        if (action->text() == QLatin1String("T&able"))
            menu = action->menu();
    for (const QString& text : path) {
        QAction* found = nullptr;
        for (QAction* action : menu ? menu->actions() : QList<QAction*>())
            if (action->text() == text)
                found = action;
        if (!found)
            return 0;
        if (found->menu()) {
            menu = found->menu();
            continue;
        }
        return form.window.ControlNumber(found->objectName());
    }
    return 0;
}

QWidget* OpenDialog(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

// What an entry or a display shows.
QString FieldText(WindowController& form, const QString& name)
{
    const int control = form.window.ControlNumber(name);
    auto* edit = qobject_cast<QLineEdit*>(form.window.Widget(control));
    return edit ? edit->text() : form.window.Label(control);
}

} // namespace

class UpdateLogTXTest : public QObject
{
    Q_OBJECT

    test::DataFolder data;
    std::unique_ptr<test::MessageRecorder> boxes;
    int response = 0;
    qint32 primedNumber = 0; // the number of the new event that the list primed

    QString TemplateFile() const { return data.FilePath(QStringLiteral("default.tx")); }
    QString VoiceFile(qint32 number) const { return data.FilePath(QStringLiteral("l_%1.wav").arg(number)); }

    // Writes an event straight into the table and gives its number.
    qint32 AddEvent(const EventValues& values)
    {
        AccessLOG->GetTable().ClearBuffer();
        AccessLOG->PrepareRecord();
        Record& buffer = AccessLOG->Buffer();
        buffer.SetValue(QStringLiteral("LOG:LogDescription"), values.description);
        buffer.SetValue(QStringLiteral("LOG:LogDate"), DayNumberFromDate(QDate(2003, 9, 30)));
        buffer.SetValue(QStringLiteral("LOG:LogUniqueID"), values.creator);
        buffer.SetValue(QStringLiteral("LOG:LogCreateDate"), DayNumberFromDate(QDate(2003, 9, 29)));
        buffer.SetValue(QStringLiteral("LOG:LogCreateLoginID"), QStringLiteral("tester"));
        buffer.SetValue(QStringLiteral("LOG:LogDoc"), values.document);
        const qint32 number = buffer.Value(QStringLiteral("LOG:LogNum")).toInt();
        if (AccessLOG->InsertQuiet() != 0)
            qWarning("The event was not written");
        return number;
    }

    // The event's row as the table holds it; an empty record when it is gone.
    Record Row(qint32 number)
    {
        AccessLOG->GetTable().ClearBuffer();
        AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
        if (AccessLOG->FetchQuiet(AccessLOG->GetTable().AutoNumberKey()) != 0)
            return Record();
        return AccessLOG->Buffer();
    }

    // Opens the editor as a list does: for insert on a record the list has primed, otherwise on the event.
    WindowController* Open(int request, qint32 number = 0)
    {
        response = 0;
        Start([this, request, number] {
            RelationsLOG->Open();
            if (request == Request::Insert) {
                AccessLOG->PrepareRecord();
                primedNumber = AccessLOG->Buffer().Value(QStringLiteral("LOG:LogNum")).toInt();
            } else {
                AccessLOG->GetTable().ClearBuffer();
                AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
                AccessLOG->FetchQuiet(AccessLOG->GetTable().AutoNumberKey());
            }
            CurrentContext().GlobalRequestCode = quint8(request);
            UpdateLogTX();
            response = CurrentContext().GlobalResponseCode;
            RelationsLOG->Close();
        });
        return Form();
    }

    void TypeNotes(WindowController& form, const QString& text)
    {
        RichTextControl* notes = Notes(form);
        notes->setFocus();
        QTest::keyClicks(notes, text);
        WaitIdle();
    }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        DataPathText = data.Path();
        GLO.DataPath = DataPathText;
        UsrAccess::LoginID = QStringLiteral("tester");
        CurrentUserUniqueID = Me;
        QCOMPARE(RelationsLOG->Open(), 0);
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        RelationsLOG->Close();
    }
    void init()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 2;
        SelectedDate = 0;
        GLO.DefFontStyle = 400;
        GLO.TXRulerScaleMode = 1;
        QFile::remove(TemplateFile());
        boxes = std::make_unique<test::MessageRecorder>();
    }
    void cleanup()
    {
        if (WindowController* form = Form()) {
            form->CANCELACTION = 0;
            Press(*form, QStringLiteral("Cancel"));
        }
        QVERIFY(!Form());
        boxes.reset();
        SetShellOpenRunner({});
    }

    void theCaptionSaysWhatTheEditorDoes_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("access");
        QTest::addColumn<QString>("caption");
        QTest::newRow("insert") << int(Request::Insert) << 2 << "Record Will Be Added  (New)";
        QTest::newRow("change") << int(Request::Change) << 2 << "Record Will Be Changed  (Dentist)";
        QTest::newRow("view") << int(Request::ViewOnly) << 2 << "View Record";
        QTest::newRow("change by a user who may only view") << int(Request::Change) << 1 << "View Record";
    }
    void theCaptionSaysWhatTheEditorDoes()
    {
        QFETCH(int, request);
        QFETCH(int, access);
        QFETCH(QString, caption);
        const qint32 number =
            AddEvent({QStringLiteral("Dentist   "), StoredDocument(QStringLiteral("Teeth"))});
        CurrentUserAccess[AccessArea::LogEvents] = quint8(access);
        WindowController* form = Open(request, number);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), caption);
    }

    void aUserWithoutAccessGetsOnlyTheMessage()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 0;
        QVERIFY(!Open(Request::Insert));
        QCOMPARE(boxes->Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes->boxes[0].text,
                 QStringLiteral("You are not allowed to view or edit Log Events. Please contact your system "
                                "administrator to request access."));
        QCOMPARE(response, int(Response::Cancelled));
    }

    void aNewEventTakesTheSelectedDateOrToday_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("dayString");
        QTest::newRow("Date View chose a day")
            << DayNumberFromDate(QDate(2003, 9, 30)) << "Tuesday, September 30, 2003";
        QTest::newRow("no day chosen yet: today") << 0 << "Thursday, December 4, 2025";
    }
    void aNewEventTakesTheSelectedDateOrToday()
    {
        QFETCH(int, selected);
        QFETCH(QString, dayString);
        SetFixedClock(QDateTime(QDate(2025, 12, 4), QTime(9, 30)));
        SelectedDate = selected;
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        QCOMPARE(FieldText(*form, QStringLiteral("DayString")), dayString);
        QCOMPARE(FieldText(*form, QStringLiteral("LOG:LogCreateLoginID")), QStringLiteral("tester"));
        SetFixedClock({});
    }

    // The template of the data folder starts every event whose notes hold no document.
    void theTemplateStartsAnEventWithoutADocument_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("text");
        QTest::newRow("new event") << int(Request::Insert) << QByteArray() << "From the template";
        QTest::newRow("event without a document")
            << int(Request::Change) << QByteArray() << "From the template";
        QTest::newRow("event with a document")
            << int(Request::Change) << StoredDocument(QStringLiteral("Own notes")) << "Own notes";
        QTest::newRow("damaged document: as none")
            << int(Request::Change)
            << StoredDocument(QStringLiteral("Own notes")).left(DocumentPageHeader::Size + 8) + "no document"
            << "From the template";
    }
    void theTemplateStartsAnEventWithoutADocument()
    {
        QFETCH(int, request);
        QFETCH(QByteArray, document);
        QFETCH(QString, text);
        {
            RichTextControl templateControl;
            templateControl.setPlainText(QStringLiteral("From the template"));
            QVERIFY(templateControl.SaveFile(TemplateFile(), TextFormat::OwnFormat));
        }
        const qint32 number = AddEvent({QStringLiteral("Dentist"), document});
        WindowController* form = Open(request, number);
        QVERIFY(form);
        QCOMPARE(Notes(*form)->toPlainText(), text);
        // Nothing was edited: OK leaves the document as it was.
        Press(*form, QStringLiteral("OK"));
        if (request == Request::Change) {
            QVERIFY(!Form());
            QCOMPARE(Row(number).Blob(Row(number).FieldNumber(QStringLiteral("LOG:LogDoc"))), document);
        }
    }

    void aBlankDescriptionIsRefusedAndTheTypedValuesStay()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        Type(*form, QStringLiteral("Location"), QStringLiteral("Room 5"));
        Type(*form, QStringLiteral("Description"), QStringLiteral("   "));
        Press(*form, QStringLiteral("Enlarge"));
        QVERIFY(form->window.IsHidden(form->window.ControlNumber("Sheet")));
        Press(*form, QStringLiteral("OK"));
        QCOMPARE(boxes->Captions(), QStringList{"Information"});
        QCOMPARE(boxes->boxes[0].text, QStringLiteral("Description is required."));
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(Form());
        QCOMPARE(FieldText(*form, QStringLiteral("Location")), QStringLiteral("Room 5"));
        // The enlarged notes give the fields back, with the focus on the description.
        QVERIFY(!form->window.IsHidden(form->window.ControlNumber("Sheet")));
        QCOMPARE(form->window.FocusedControl(), form->window.ControlNumber("Description"));
        QCOMPARE(Row(number).Value(QStringLiteral("LOG:LogDescription")).toString(),
                 QStringLiteral("Dentist"));
    }

    void aNewEventWithoutNotesIsRefused()
    {
        {
            RichTextControl templateControl;
            templateControl.setPlainText(QStringLiteral("From the template"));
            QVERIFY(templateControl.SaveFile(TemplateFile(), TextFormat::OwnFormat));
        }
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        const qint32 number = primedNumber;
        Type(*form, QStringLiteral("Description"), QStringLiteral("Dentist"));
        RichTextControl* notes = Notes(*form);
        notes->setFocus();
        QTest::keyClick(notes, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(notes, Qt::Key_Delete);
        WaitIdle();
        Press(*form, QStringLiteral("OK"));
        QCOMPARE(boxes->Captions(), QStringList{"Information"});
        QCOMPARE(boxes->boxes[0].text, QStringLiteral("Log Event notes is required."));
        QVERIFY(Form());
        QVERIFY(notes->hasFocus());
        TypeNotes(*form, QStringLiteral("Filling"));
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        QCOMPARE(response, int(Response::Completed));
        const Record row = Row(number);
        QCOMPARE(row.Value(QStringLiteral("LOG:LogDescription")).toString(), QStringLiteral("Dentist"));
        QCOMPARE(row.Value(QStringLiteral("LOG:LogCreateLoginID")).toString(), QStringLiteral("tester"));
        QCOMPARE(row.Value(QStringLiteral("LOG:LogUniqueID")).toInt(), Me);
    }

    void editingOnlyTheDocumentStampsTheEditAndStoresIt()
    {
        const QDateTime now(QDate(2025, 12, 4), QTime(9, 30));
        SetFixedClock(now);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), {}});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        TypeNotes(*form, QStringLiteral("Clean teeth"));
        const qint32 documentLength = Notes(*form)->SaveLength(TextFormat::OwnFormat);
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        QCOMPARE(response, int(Response::Completed));
        const Record row = Row(number);
        const int today = DayNumberFromDate(now.date());
        QCOMPARE(row.Value(QStringLiteral("LOG:LogDocEditDate")).toInt(), today);
        QCOMPARE(row.Value(QStringLiteral("LOG:LogDocEditTime")).toInt(), TimeFromQTime(now.time()));
        QCOMPARE(row.Value(QStringLiteral("LOG:LogLastEditDate")).toInt(), today);
        QCOMPARE(row.Value(QStringLiteral("LOG:LogLastEditLoginID")).toString(), QStringLiteral("tester"));
        const QByteArray blob = row.Blob(row.FieldNumber(QStringLiteral("LOG:LogDoc")));
        QCOMPARE(blob.size(), DocumentPageHeader::Size + documentLength);
        const DocumentPageHeader header = DocumentPageHeader::FromBytes(blob.constData());
        QCOMPARE(header.LVERSION, 23);
        QCOMPARE(header.LWIDTH, 11800);
        QCOMPARE(header.LHEIGHT, 15000);
        QCOMPARE(StoredText(row), QStringLiteral("Clean teeth"));
        SetFixedClock({});
    }

    // Closing after an edit of the notes alone asks to save them; the document is written only by saving.
    void closingAfterEditingOnlyTheNotesAsksToSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Yes saves the notes") << int(MessageButton::Yes) << "More Teeth";
        QTest::newRow("No keeps the event as it was") << int(MessageButton::No) << "Teeth";
    }
    void closingAfterEditingOnlyTheNotesAsksToSave()
    {
        QFETCH(int, answer);
        QFETCH(QString, stored);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        notes->setFocus();
        QTest::keyClick(notes, Qt::Key_Home, Qt::ControlModifier);
        TypeNotes(*form, QStringLiteral("More "));
        boxes->answers = {answer};
        Press(*form, QStringLiteral("Cancel"));
        QCOMPARE(boxes->Captions(), QStringList{"Save Record"});
        QVERIFY(!Form());
        QCOMPARE(StoredText(Row(number)), stored);
    }

    void aCancelledNewEventLeavesNoRowAndNoVoiceFile()
    {
        const QString wave = data.FilePath(QStringLiteral("greeting.wav"));
        QVERIFY(test::WriteWave(wave, {1, 11025, 8}, 500));
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        const qint32 number = primedNumber;
        Type(*form, QStringLiteral("Description"), QStringLiteral("Dentist"));
        CommonDialogAnswer chosen;
        chosen.accepted = true;
        chosen.path = wave;
        DialogScript dialogs({chosen});
        Press(*form, QStringLiteral("ImportVoiceMessage"));
        QVERIFY(QFileInfo::exists(VoiceFile(number)));
        boxes->answers = {MessageButton::No};
        Press(*form, QStringLiteral("Cancel"));
        QCOMPARE(boxes->Captions(), QStringList{"Save Record"});
        QVERIFY(!Form());
        QCOMPARE(response, int(Response::Cancelled));
        QVERIFY(!Row(number).Owner());
        QVERIFY(!QFileInfo::exists(VoiceFile(number)));
    }

    void aDeleteRequestRemovesTheRowAndItsVoiceFileWithoutAWindow()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        QVERIFY(test::WriteWave(VoiceFile(number), {1, 11025, 8}, 500));
        boxes->answers = {MessageButton::Yes};
        // The thread ends by itself: no window waited for the user.
        QVERIFY(!Open(Request::Delete, number));
        QCOMPARE(response, int(Response::Completed));
        QCOMPARE(boxes->Captions(), QStringList{"Confirm Delete"});
        QVERIFY(!Row(number).Owner());
        QVERIFY(!QFileInfo::exists(VoiceFile(number)));
    }

    void aUserWhoMayOnlyViewChangesNothing()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        CurrentUserAccess[AccessArea::LogEvents] = 1;
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        WindowDescription& window = form->window;
        QVERIFY(window.IsHidden(window.ControlNumber("OK")));
        QVERIFY(qobject_cast<QLineEdit*>(window.Widget(window.ControlNumber("Description")))->isReadOnly());
        QVERIFY(qobject_cast<QAbstractSpinBox*>(window.Widget(window.ControlNumber("Rank")))->isReadOnly());
        QVERIFY(Notes(*form)->isReadOnly());
        for (const char* control : {"SelectDocument", "ChangeDate", "RecordVoiceMessage",
                                    "ImportVoiceMessage", "DeleteVoiceMessage", "Private"})
            QVERIFY2(!window.IsEnabled(window.ControlNumber(QString::fromLatin1(control))), control);
        Press(*form, QStringLiteral("Cancel"));
        QVERIFY(!Form());
        QCOMPARE(response, int(Response::Cancelled));
    }

    void onlyTheCreatorChangesThePrivacy_data()
    {
        QTest::addColumn<int>("creator");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("the creator") << Me << true;
        QTest::newRow("another user") << SomeoneElse << false;
    }
    void onlyTheCreatorChangesThePrivacy()
    {
        QFETCH(int, creator);
        QFETCH(bool, enabled);
        const qint32 number =
            AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth")), creator});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        QCOMPARE(form->window.IsEnabled(form->window.ControlNumber("Private")), enabled);
    }

    void theDefaultFontStyleGivesNewTextItsStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::newRow("400: nothing") << 400 << false << false << false << false;
        QTest::newRow("700: bold only") << 700 << true << false << false << false;
        QTest::newRow("4096 + 700: italic and bold") << 4096 + 700 << true << true << false << false;
        QTest::newRow("8192: underline") << 8192 << false << false << true << false;
        QTest::newRow("16384: strike-through") << 16384 << false << false << false << true;
        QTest::newRow("800: bold") << 800 << true << false << false << false;
        QTest::newRow("900 with every flag") << 900 + 4096 + 8192 + 16384 << true << true << true << true;
    }
    void theDefaultFontStyleGivesNewTextItsStyle()
    {
        QFETCH(int, style);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, strikeOut);
        GLO.DefFontStyle = style;
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        const QTextCharFormat format = Notes(*form)->currentCharFormat();
        QCOMPARE(format.fontWeight() >= QFont::Bold, bold);
        QCOMPARE(format.fontItalic(), italic);
        QCOMPARE(format.fontUnderline(), underline);
        QCOMPARE(format.fontStrikeOut(), strikeOut);
        QCOMPARE(format.fontPointSize(), qreal(GLO.DefFontSize));
    }

    void theRulerTakesItsUnitsFromTheSettings_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("units");
        QTest::newRow("1: inches") << 1 << 2;
        QTest::newRow("2: centimetres") << 2 << 1;
        QTest::newRow("3: millimetres") << 3 << 0;
        QTest::newRow("anything else: inches") << 7 << 2;
    }
    void theRulerTakesItsUnitsFromTheSettings()
    {
        QFETCH(int, mode);
        QFETCH(int, units);
        GLO.TXRulerScaleMode = quint8(mode);
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        auto* ruler = form->window.Root()->findChild<Ruler*>(QStringLiteral("Ruler"));
        QVERIFY(ruler);
        QCOMPARE(ruler->ScaleUnits(), units);
    }

    void changeDateTakesTheDayPickedOrKeepsTheDate_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("dayString");
        // September 2003 begins on a Monday, so its first row starts with Sunday 31 August.
        QTest::newRow("a day picked") << "Day18"
                                      << "Wednesday, September 17, 2003";
        QTest::newRow("cancelled") << "Cancel"
                                   << "Tuesday, September 30, 2003";
    }
    void changeDateTakesTheDayPickedOrKeepsTheDate()
    {
        QFETCH(QString, press);
        QFETCH(QString, dayString);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        Press(*form, QStringLiteral("ChangeDate"));
        WindowController* calendar = FindWindow(QStringLiteral("SelectDate"));
        QVERIFY(calendar);
        QCOMPARE(calendar->window.Caption(), QStringLiteral("Select Date"));
        Press(*calendar, press);
        QVERIFY(!FindWindow(QStringLiteral("SelectDate")));
        QCOMPARE(FieldText(*form, QStringLiteral("DayString")), dayString);
    }

    void theLinkButtonOpensTheLinkOrSaysWhy_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("no link") << "" << 0 << QStringList{"Missing Document Link Value"};
        QTest::newRow("nothing handles it") << "notes.xyz" << 3 << QStringList{"Error Launching Document"};
        QTest::newRow("opened") << "www.example.org" << 0 << QStringList{};
    }
    void theLinkButtonOpensTheLinkOrSaysWhy()
    {
        QFETCH(QString, link);
        QFETCH(int, exitCode);
        QFETCH(QStringList, captions);
        QStringList opened;
        SetShellOpenRunner([&](const QString& argument) {
            opened << argument;
            return exitCode;
        });
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        Type(*form, QStringLiteral("DocLink"), link);
        Press(*form, QStringLiteral("OpenLink"));
        QCOMPARE(boxes->Captions(), captions);
        QCOMPARE(opened.size(), link.isEmpty() ? 0 : 1);
        if (link.isEmpty())
            QCOMPARE(form->window.FocusedControl(), form->window.ControlNumber("DocLink"));
    }

    void aCancelledDocumentChoiceKeepsTheLink()
    {
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        Type(*form, QStringLiteral("DocLink"), QStringLiteral("www.example.org"));
        DialogScript dialogs; // cancels
        Press(*form, QStringLiteral("SelectDocument"));
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        QCOMPARE(dialogs.asked[0].title, QStringLiteral("Select Document"));
        QCOMPARE(dialogs.asked[0].filters, QStringLiteral("All Files|*.*"));
        QCOMPARE(FieldText(*form, QStringLiteral("DocLink")), QStringLiteral("www.example.org"));
    }

    void theHistoryKeyPutsBackTheValueTheFieldOpenedWith()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        Type(*form, QStringLiteral("Description"), QStringLiteral("Doctor"));
        form->window.Select(form->window.ControlNumber("Description"));
        PressKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
        QCOMPARE(FieldText(*form, QStringLiteral("Description")), QStringLiteral("Dentist"));
    }

    // The user-defined fields of log events stand on the Misc tab; only a new event takes their defaults.
    void theMiscTabHoldsTheUserDefinedFields_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("colour");
        QTest::newRow("new event: the default") << int(Request::Insert) << "Blue";
        QTest::newRow("changed event: as stored") << int(Request::Change) << "";
    }
    void theMiscTabHoldsTheUserDefinedFields()
    {
        QFETCH(int, request);
        QFETCH(QString, colour);
        test::Define({{2, MiscControlType::TextBox, QStringLiteral("Colour:"), QStringLiteral("Blue")},
                      {5, MiscControlType::TextBox, QStringLiteral("Size:")}});
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(request, number);
        test::Define({}, false);
        QVERIFY(form);
        QCOMPARE(FieldText(*form, QStringLiteral("LOG:LogMisc2")), colour);
        const int size = form->window.ControlNumber(QStringLiteral("LOG:LogMisc5"));
        QVERIFY(size);
        QVERIFY(!form->window.ControlNumber(QStringLiteral("LOG:LogMisc1")));
        // The rows keep their place in the tab when the window grows and shrinks.
        PickTab(*form, form->window.ControlNumber("Sheet"), 2);
        QWidget* root = form->window.Root();
        QWidget* entry = form->window.Widget(size);
        QWidget* tab = entry->parentWidget();
        const QPoint place = entry->mapTo(tab, QPoint(0, 0));
        const QSize opened = root->size();
        root->resize(opened + QSize(120, 200));
        WaitIdle();
        QCOMPARE(entry->mapTo(tab, QPoint(0, 0)), place);
        root->resize(opened);
        WaitIdle();
        QCOMPARE(entry->mapTo(tab, QPoint(0, 0)), place);
    }

    // Each thread's editor keeps its own notes: saving one stores its own text, the other stays as it was.
    void editorsOnTwoThreadsKeepTheirOwnNotes()
    {
        const qint32 first = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        const qint32 second = AddEvent({QStringLiteral("Baker"), StoredDocument(QStringLiteral("Bread"))});
        WindowController* firstForm = Open(Request::Change, first);
        WindowController* secondForm = Open(Request::Change, second);
        QVERIFY(firstForm && secondForm && firstForm != secondForm);
        RichTextControl* notes = Notes(*firstForm);
        notes->setFocus();
        QTest::keyClick(notes, Qt::Key_End, Qt::ControlModifier);
        TypeNotes(*firstForm, QStringLiteral(" cleaned"));
        Press(*firstForm, QStringLiteral("OK"));
        QCOMPARE(Form(), secondForm);
        QCOMPARE(Notes(*secondForm)->toPlainText(), QStringLiteral("Bread"));
        QCOMPARE(StoredText(Row(first)), QStringLiteral("Teeth cleaned"));
    }

    void theHistoryKeyPutsBackTheLogTypeFromItsButtons()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        auto* work = form->window.Root()->findChild<QAbstractButton*>(QStringLiteral("Work"));
        QVERIFY(work);
        work->click();
        WaitIdle();
        work->setFocus();
        PressKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
        auto* none = form->window.Root()->findChild<QAbstractButton*>(QStringLiteral("None"));
        QVERIFY(none && none->isChecked());
    }

    void theCommandsFollowTheViewMode_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("inViewMode");
        QTest::addColumn<bool>("inChangeMode"); // as the editor opens, nothing edited yet
        const std::tuple<const char*, bool, bool> rows[] = {
            {"New", false, true},
            {"Import", false, true},
            {"Export", true, true},
            {"PageSetup", false, true},
            {"PrinterSetup", true, true},
            {"PrintDocument", true, true},
            {"Exit", true, true},
            {"Undo", false, false},
            {"Redo", false, false},
            {"Cut", false, true},
            {"Copy", true, true},
            {"Paste", false, true},
            {"SelectAll", true, true},
            {"Find", true, true},
            {"Replace", false, true},
            {"SpellCheck", false, true},
            {"ShowHide", true, true},
            {"200", true, true},
            {"DateTime", false, true},
            {"TextFile", false, true},
            {"Image", false, true},
            {"Object", false, true},
            {"Image:2", false, true}, // Format > Image
            {"InsertImageTool", false, true},
            {"InsertObjectTool", false, true},
            {"Font", false, true},
            {"Left", false, true},
            {"EditStyles", false, true},
            {"ShowHideGridLines", true, true},
            {"CopyTool", true, true},
            {"FindTool", true, true},
            {"ForeColorTool", false, true},
            {"BackgroundColorTool", false, true},
            {"DecreaseIndentTool", false, true},
            {"IncreaseIndentTool", false, true},
            {"InsertDateTimeTool", false, true},
            {"SelectScrapTool", false, true},
            {"HelpTool", true, true},
        };
        for (const auto& [control, inView, inChange] : rows)
            QTest::newRow(control) << QString::fromLatin1(control) << inView << inChange;
    }
    void theCommandsFollowTheViewMode()
    {
        QFETCH(QString, control);
        QFETCH(bool, inViewMode);
        QFETCH(bool, inChangeMode);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        for (const int access : {1, 2}) {
            CurrentUserAccess[AccessArea::LogEvents] = access;
            WindowController* form = Open(Request::Change, number);
            QVERIFY(form);
            const int item = ControlNumber(*form, control);
            QVERIFY(item);
            QCOMPARE(form->window.IsEnabled(item), access == 1 ? inViewMode : inChangeMode);
            form->CANCELACTION = 0;
            Press(*form, QStringLiteral("Cancel"));
            QVERIFY(!Form());
        }
    }

    void theViewModeCommandsWork()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        CurrentUserAccess[AccessArea::LogEvents] = 1;
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        Press(*form, QStringLiteral("SelectAll"));
        QCOMPARE(notes->SelLength(), 5);
        QApplication::clipboard()->clear();
        Press(*form, QStringLiteral("Copy"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Teeth"));
        Press(*form, QStringLiteral("200"));
        QCOMPARE(notes->ZoomFactor(), 200);
        auto* zoomList = form->window.Root()->findChild<QComboBox*>(QStringLiteral("Zoom"));
        QVERIFY(zoomList);
        QCOMPARE(zoomList->currentText(), QStringLiteral("200 %"));
        zoomList->setCurrentIndex(zoomList->findData(50));
        emit zoomList->activated(zoomList->currentIndex());
        WaitIdle();
        QCOMPARE(notes->ZoomFactor(), 50);
        const bool marks = notes->ControlChars(), grid = notes->TableGridLines();
        Press(*form, QStringLiteral("ShowHide"));
        Press(*form, QStringLiteral("ShowHideGridLines"));
        QCOMPARE(notes->ControlChars(), !marks);
        QCOMPARE(notes->TableGridLines(), !grid);
        {
            DialogScript dialogs;
            Press(*form, QStringLiteral("Export"));
            Press(*form, QStringLiteral("PrintDocument"));
            QCOMPARE(dialogs.asked.size(), size_t(2));
            QCOMPARE(dialogs.asked.at(0).kind, CommonDialogRequest::Kind::SaveFile);
            QCOMPARE(dialogs.asked.at(0).filters,
                     QStringLiteral("RTF Format (*.rtf)|*.RTF|TX Format (*.tx,*.txd))|*.TX;*.TXD|Text Document "
                                    "(*.txt)|*.TXT"));
            QCOMPARE(dialogs.asked.at(1).kind, CommonDialogRequest::Kind::Printer);
        }
        Press(*form, QStringLiteral("Find"));
        QWidget* find = ShownWindow(QStringLiteral("Find"));
        QVERIFY(find);
        find->findChild<QLineEdit*>(QStringLiteral("FindWhat"))->setText(QStringLiteral("eth"));
        find->findChild<QPushButton*>(QStringLiteral("FindNext"))->click();
        QCOMPARE(notes->SelText(), QStringLiteral("eth"));
        find->findChild<QPushButton*>(QStringLiteral("Close"))->click();
        WaitIdle();
        // The button bar leaves the shown text as it is.
        notes->SelectAll();
        form->window.Root()->findChild<QAbstractButton*>(QStringLiteral("bold"))->click();
        QVERIFY(notes->currentCharFormat().fontWeight() < QFont::Bold);
        QCOMPARE(notes->Text(), QStringLiteral("Teeth"));
    }

    void theEditorInsertsPicturesAndSaysWhyNoObjects()
    {
        QTemporaryDir folder;
        QImage picture(30, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = folder.filePath(QStringLiteral("blue.png"));
        QVERIFY(picture.save(path));
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("See "))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        notes->moveCursor(QTextCursor::End);
        {
            CommonDialogAnswer chosen;
            chosen.accepted = true;
            chosen.path = path;
            DialogScript dialogs({chosen});
            Press(*form, QStringLiteral("InsertImageTool"));
            QCOMPARE(dialogs.asked.size(), size_t(1));
            QCOMPARE(dialogs.asked.at(0).title, QStringLiteral("Insert Image"));
        }
        QCOMPARE(notes->Text(), QStringLiteral("See ") + QChar::ObjectReplacementCharacter);
        Press(*form, QStringLiteral("Object"));
        QCOMPARE(boxes->Captions(), QStringList{"Insert Object"});
        QCOMPARE(notes->Text(), QStringLiteral("See ") + QChar::ObjectReplacementCharacter);

        // Format > Image opens the picture's attributes.
        Press(*form, QStringLiteral("Image:2"));
        // The dialog goes when it closes.
        QPointer<QWidget> attributes = ShownWindow(QStringLiteral("ImageAttributes"));
        QVERIFY(attributes);
        QCOMPARE(attributes->windowTitle(), QStringLiteral("Image Attributes"));
        attributes->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
        WaitIdle();
        QVERIFY(!ShownWindow(QStringLiteral("ImageAttributes")));

        // The picture is an edit of the notes, stored with them.
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        QCOMPARE(StoredText(Row(number)), QStringLiteral("See ") + QChar::ObjectReplacementCharacter);
    }

    // With a template in the data folder every new event starts by loading it; a picture inserted then is
    // kept with the notes.
    void aPictureInANewEventFromTheTemplateIsKept()
    {
        {
            RichTextControl templateControl;
            templateControl.setPlainText(QStringLiteral("From the template "));
            QVERIFY(templateControl.SaveFile(TemplateFile(), TextFormat::OwnFormat));
        }
        QTemporaryDir folder;
        QImage picture(30, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = folder.filePath(QStringLiteral("blue.png"));
        QVERIFY(picture.save(path));
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        const qint32 number = primedNumber;
        Type(*form, QStringLiteral("Description"), QStringLiteral("Dentist"));
        Notes(*form)->moveCursor(QTextCursor::End);
        {
            CommonDialogAnswer chosen;
            chosen.accepted = true;
            chosen.path = path;
            DialogScript dialogs({chosen});
            Press(*form, QStringLiteral("InsertImageTool"));
        }
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        form = Open(Request::Change, number);
        QVERIFY(form);
        const QTextDocument& shown = *Notes(*form)->document();
        QCOMPARE(ImageNames(shown).size(), 1);
        QCOMPARE(ImageResource(shown, ImageNames(shown).first()).pixelColor(0, 0), QColor(Qt::blue));
    }

    // In a table Tab goes to the next cell and Ctrl+Tab types a tab, while Ctrl+I still only toggles italic.
    void tabMovesThroughATableAndCtrlTabTypesATab()
    {
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        QVERIFY(notes->TableInsert(1, 2));
        notes->setFocus();
        QTest::keyClick(notes, Qt::Key_Tab);
        WaitIdle();
        QTextTable* table = notes->TableOf(1);
        QCOMPARE(table->cellAt(notes->textCursor()).column(), 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t"));
        QApplication::sendEvent(notes, &press);
        WaitIdle();
        auto cellText = [table](int column) {
            QTextCursor cell = table->cellAt(0, column).firstCursorPosition();
            cell.setPosition(table->cellAt(0, column).lastCursorPosition().position(), QTextCursor::KeepAnchor);
            return cell.selectedText();
        };
        QCOMPARE(cellText(1), QStringLiteral("\t"));
        QKeyEvent italic(QEvent::KeyPress, Qt::Key_I, Qt::ControlModifier, QStringLiteral("\t"));
        QApplication::sendEvent(notes, &italic);
        WaitIdle();
        QCOMPARE(cellText(1), QStringLiteral("\t"));
        QVERIFY(notes->currentCharFormat().fontItalic());
        // Tab in the last cell adds a row, whose text is in the notes' font.
        QTest::keyClick(notes, Qt::Key_Tab);
        WaitIdle();
        QCOMPARE(table->rows(), 2);
        QTest::keyClicks(notes, QStringLiteral("second row"));
        WaitIdle();
        QCOMPARE(notes->textCursor().charFormat().fontPointSize(), qreal(GLO.DefFontSize));
        test::SavePicture(form->window.Root(), QStringLiteral("UpdateLogTX-TableTyped"));
    }

    // Edit > Spell Check and its button check the notes, or say why they cannot.
    void spellCheckChecksTheNotesOrSaysWhyNot_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("dictionary");
        QTest::newRow("Edit > Spell Check") << "SpellCheck" << true;
        QTest::newRow("the toolbar button") << "SpellCheckTool" << true;
        QTest::newRow("no dictionary") << "SpellCheckTool" << false;
    }
    void spellCheckChecksTheNotesOrSaysWhyNot()
    {
        QFETCH(QString, control);
        QFETCH(bool, dictionary);
        const qint32 number =
            AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("I will recieve the bill."))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        QTemporaryDir empty;
        if (!dictionary)
            notes->SetOwnSpellChecker(std::make_shared<SpellChecker>(QStringLiteral("en_US"), empty.path()));
        Press(*form, control);
        SpellCheckDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<SpellCheckDialog*>(top); shown && shown->isVisible())
                dialog = shown;
        if (!dictionary) {
            QVERIFY(!dialog);
            QCOMPARE(boxes->Captions(), QStringList{"TX Text"});
            QVERIFY(boxes->boxes.at(0).text.startsWith(QStringLiteral("The spelling dictionary \"en_US\" was not found")));
            QCOMPARE(notes->Text(), QStringLiteral("I will recieve the bill."));
            return;
        }
        QVERIFY(dialog);
        test::SavePicture(form->window.Root(), QStringLiteral("UpdateLogTX-SpellCheck"));
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Word"))->text(), QStringLiteral("recieve"));
        dialog->findChild<QPushButton*>(QStringLiteral("Change"))->click();
        WaitIdle();
        QCOMPARE(notes->Text(), QStringLiteral("I will receive the bill."));
        QCOMPARE(boxes->Captions(), QStringList{"TX Text"});
        QCOMPARE(boxes->boxes.at(0).text, QStringLiteral("Spell Check Complete!"));
    }

    // A style made in the dialog, with nothing else changed, is a change of the notes and is saved with them.
    void aStyleMadeInTheEditorIsSavedWithTheNotes()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        Press(*form, QStringLiteral("EditStyles"));
        QWidget* styles = ShownWindow(QStringLiteral("Styles"));
        QVERIFY(styles);
        styles->findChild<QPushButton*>(QStringLiteral("New"))->click();
        styles->findChild<QPushButton*>(QStringLiteral("OK"))->click();
        WaitIdle();
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        const Record row = Row(number);
        RichTextControl control;
        TXEdit txEdit;
        txEdit.Init(&control);
        QVERIFY(txEdit.LoadFromBlob(row.Blob(row.FieldNumber(QStringLiteral("LOG:LogDoc")))));
        QCOMPARE(control.NamedStyles().size(), 1);
        QCOMPARE(control.NamedStyles().first().name, QStringLiteral("Style 1"));
        QCOMPARE(control.toPlainText(), QStringLiteral("Teeth"));
    }

    void undoAndRedoFollowTheChanges()
    {
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        WindowDescription& window = form->window;
        const int undo = ControlNumber(*form, "Undo"), redo = ControlNumber(*form, "Redo");
        QVERIFY(!window.IsEnabled(undo));
        TypeNotes(*form, QStringLiteral("word"));
        QVERIFY(window.IsEnabled(undo));
        QVERIFY(window.IsEnabled(ControlNumber(*form, "UndoTool")));
        QVERIFY(!window.IsEnabled(redo));
        Press(*form, undo);
        QCOMPARE(Notes(*form)->Text(), QString());
        QVERIFY(!window.IsEnabled(undo));
        QVERIFY(window.IsEnabled(redo));
        Press(*form, redo);
        QCOMPARE(Notes(*form)->Text(), QStringLiteral("word"));
        QVERIFY(boxes->boxes.isEmpty());
    }

    void theShortcutsToggleOnlyWithCtrlAlone_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed"); // the text the key carries, as the keyboard gives it
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QString>("text");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << "\x02" << true << false << false << "word";
        QTest::newRow("Ctrl+Shift+B") << int(Qt::Key_B) << (ctrl | int(Qt::ShiftModifier)) << "\x02" << false
                                      << false << false << "word";
        QTest::newRow("Ctrl+Alt+B") << int(Qt::Key_B) << (ctrl | int(Qt::AltModifier)) << "" << false << false
                                    << false << "word";
        QTest::newRow("Ctrl+I") << int(Qt::Key_I) << ctrl << "\t" << false << true << false << "word";
        QTest::newRow("Ctrl+U") << int(Qt::Key_U) << ctrl << "\x15" << false << false << true << "word";
        QTest::newRow("Tab alone") << int(Qt::Key_Tab) << 0 << "\t" << false << false << false << "\t";
    }
    void theShortcutsToggleOnlyWithCtrlAlone()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, typed);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(QString, text);
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        TypeNotes(*form, QStringLiteral("word"));
        RichTextControl* notes = Notes(*form);
        notes->selectAll();
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), typed);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), typed);
        QApplication::sendEvent(notes, &press);
        QApplication::sendEvent(notes, &release);
        WaitIdle();
        QCOMPARE(notes->Text(), text);
        notes->SetSelStart(1);
        const QTextCharFormat format = notes->currentCharFormat();
        QCOMPARE(format.fontWeight() >= QFont::Bold, bold);
        QCOMPARE(format.fontItalic(), italic);
        QCOMPARE(format.fontUnderline(), underline);
    }

    void importThenCancelCountsAsAChange()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        DialogScript dialogs; // the file dialog is cancelled
        Press(*form, QStringLiteral("ImportTool"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
        QCOMPARE(boxes->boxes.at(0).text,
                 QStringLiteral("Importing a file will replace the exiting Log Note. Do you want to lose the "
                                "current contents of the Log Note?"));
        boxes->answers = {int(MessageButton::No)};
        Press(*form, QStringLiteral("Cancel"));
        QCOMPARE(boxes->Captions(), (QStringList{"Replace Log Notes?", "Save Record"}));
        QVERIFY(!Form());
    }

    void newClearsTheNotesWhenTheUserSaysYes_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::newRow("Yes") << int(MessageButton::Yes) << "";
        QTest::newRow("No") << int(MessageButton::No) << "Teeth";
    }
    void newClearsTheNotesWhenTheUserSaysYes()
    {
        QFETCH(int, answer);
        QFETCH(QString, text);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        boxes->answers = {answer};
        Press(*form, QStringLiteral("New"));
        QCOMPARE(boxes->Captions(), QStringList{"Clear Log Notes?"});
        QCOMPARE(boxes->boxes.at(0).text, QStringLiteral("Do you want to clear the contents of the Log Notes?"));
        QCOMPARE(boxes->boxes.at(0).defaultButton, int(MessageButton::Yes));
        QCOMPARE(Notes(*form)->Text(), text);
    }

    void theTableMenuWorksOnTheNotes()
    {
        WindowController* form = Open(Request::Insert);
        QVERIFY(form);
        RichTextControl* notes = Notes(*form);
        Press(*form, QStringLiteral("InsertTableTool"));
        QWidget* dimensions = OpenDialog(QStringLiteral("TableDimensions"));
        QVERIFY(dimensions);
        test::SavePicture(dimensions, QStringLiteral("UpdateLogTX-TableDimensions"));
        dimensions->findChild<QSpinBox*>(QStringLiteral("Rows"))->setValue(3);
        dimensions->findChild<QPushButton*>(QStringLiteral("OK"))->click();
        WaitIdle();
        for (int dialog = 0; dialog < 2; ++dialog) { // the first cell, then the whole table
            QWidget* attributes = OpenDialog(QStringLiteral("TableAttributes"));
            QVERIFY(attributes);
            attributes->findChild<QPushButton*>(QStringLiteral("OK"))->click();
            WaitIdle();
        }
        QCOMPARE(notes->TableRows(1), 3);
        QCOMPARE(notes->TableColumns(1), 2);
        test::SavePicture(form->window.Root(), QStringLiteral("UpdateLogTX-Table"));
        notes->setTextCursor(notes->TableOf(1)->cellAt(0, 0).firstCursorPosition());
        Press(*form, TableItem(*form, {"&Insert", "Row &Below"}));
        Press(*form, TableItem(*form, {"&Insert", "Column to the &Left"}));
        QCOMPARE(notes->TableRows(1), 4);
        QCOMPARE(notes->TableColumns(1), 3);
        Press(*form, TableItem(*form, {"&Delete", "&Columns"}));
        Press(*form, TableItem(*form, {"&Delete", "&Rows"}));
        QCOMPARE(notes->TableRows(1), 3);
        QCOMPARE(notes->TableColumns(1), 2);
        Press(*form, TableItem(*form, {"&Select", "&Table"}));
        QVERIFY(notes->textCursor().hasSelection());
        QCOMPARE(notes->TableAtInputPos(), 1);
        Press(*form, TableItem(*form, {"&Properties..."}));
        QWidget* attributes = OpenDialog(QStringLiteral("TableAttributes"));
        QVERIFY(attributes);
        attributes->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
        WaitIdle();
        Press(*form, TableItem(*form, {"&Delete", "&Table"}));
        QVERIFY(!notes->TableOf(1));
    }

    void theTableCommandsEditOnlyWithFullAccess_data()
    {
        QTest::addColumn<QStringList>("item");
        QTest::newRow("Insert Table") << QStringList({"&Insert", "&Table..."});
        QTest::newRow("Row Above") << QStringList({"&Insert", "Row &Above"});
        QTest::newRow("Delete Table") << QStringList({"&Delete", "&Table"});
        QTest::newRow("Delete Rows") << QStringList({"&Delete", "&Rows"});
        QTest::newRow("Select Table") << QStringList({"&Select", "&Table"});
        QTest::newRow("Properties") << QStringList({"&Properties..."});
    }
    void theTableCommandsEditOnlyWithFullAccess()
    {
        QFETCH(QStringList, item);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        for (const int access : {1, 2}) {
            CurrentUserAccess[AccessArea::LogEvents] = access;
            WindowController* form = Open(Request::Change, number);
            QVERIFY(form);
            const int control = TableItem(*form, item);
            QVERIFY(control);
            QCOMPARE(form->window.IsEnabled(control), access == 2);
            QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "InsertTableTool")), access == 2);
            form->CANCELACTION = 0;
            Press(*form, QStringLiteral("Cancel"));
            QVERIFY(!Form());
        }
    }

    void theRightClickOpensTheMenuAtFullAccessOnly_data()
    {
        QTest::addColumn<int>("access");
        QTest::newRow("view only") << 1;
        QTest::newRow("full") << 2;
    }
    void theRightClickOpensTheMenuAtFullAccessOnly()
    {
        QFETCH(int, access);
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        CurrentUserAccess[AccessArea::LogEvents] = access;
        WindowController* form = Open(Request::Change, number);
        QVERIFY(form);
        int menus = 0;
        SetPopupSink([&](const std::vector<PopupEntry>&) {
            ++menus;
            return 22; // Select All
        });
        RichTextControl* notes = Notes(*form);
        QTest::mouseClick(notes->viewport(), Qt::RightButton, {}, QPoint(20, 10));
        WaitIdle();
        SetPopupSink({});
        QCOMPARE(menus, access == 2 ? 1 : 0);
        QCOMPARE(notes->SelLength(), access == 2 ? 5 : 0);
        QVERIFY(!QApplication::activePopupWidget());
    }

    void theEditorLooksFinished()
    {
        const qint32 number = AddEvent({QStringLiteral("Dentist"), StoredDocument(QStringLiteral("Teeth"))});
        test::Define({{2, MiscControlType::TextBox, QStringLiteral("Colour:"), QStringLiteral("Blue")},
                      {4, MiscControlType::CheckBox, QStringLiteral("Billed")},
                      {5, MiscControlType::DropList, QStringLiteral("Size:"), {}, QStringLiteral("S|M|L")}});
        WindowController* form = Open(Request::Change, number);
        test::Define({}, false);
        QVERIFY(form);
        QWidget* root = form->window.Root();
        const QStringList tabs = {QStringLiteral("General"), QStringLiteral("Misc"), QStringLiteral("Notes")};
        for (int tab = 1; tab <= 3; ++tab) {
            PickTab(*form, form->window.ControlNumber("Sheet"), tab);
            test::SavePicture(root, QStringLiteral("UpdateLogTX-") + tabs[tab - 1]);
            // Every control that shows lies inside the window.
            for (const int control : form->window.Controls()) {
                QWidget* widget = form->window.Widget(control);
                if (!widget || !widget->isVisible() || widget == root)
                    continue;
                const QRect area(widget->mapTo(root, QPoint(0, 0)), widget->size());
                QVERIFY2(root->rect().contains(area),
                         qPrintable(tabs[tab - 1] + ": " + widget->objectName()));
            }
        }
        // The enlarged notes take the room of the fields.
        const int height = Notes(*form)->height();
        Press(*form, QStringLiteral("Enlarge"));
        QVERIFY(Notes(*form)->height() > height);
        test::SavePicture(root, QStringLiteral("UpdateLogTX-Enlarged"));
        Press(*form, QStringLiteral("Enlarge"));
        QCOMPARE(Notes(*form)->height(), height);
    }
};

QTEST_MAIN(UpdateLogTXTest)
#include "tst_UpdateLogTX.moc"
