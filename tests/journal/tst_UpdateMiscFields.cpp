#include "journal/UpdateMiscFields.h"

#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "journal/EditMiscList.h"
#include "journal/JournalProcedures.h"
#include "journal/MiscFieldControls.h"
#include "platform/help/HelpViewer.h"
#include "platform/store/Table.h"

#include "core/WindowTest.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace jornix;
using namespace jornix::testing;

namespace {

WindowController* Form()
{
    return FindWindow(QStringLiteral("UpdateMiscFields"));
}

WindowController* ListEditor()
{
    return FindWindow(QStringLiteral("EditMiscList"));
}

int KeyOfType()
{
    return AccessMSC->GetTable().KeyIndex(QStringLiteral("MSC:MiscTypeK"));
}

// The stored definitions of a record type, or nothing.
std::optional<Record> Stored(int type)
{
    AccessMSC->GetTable().ClearBuffer();
    AccessMSC->Buffer().SetValue(QStringLiteral("MSC:MiscType"), type);
    if (AccessMSC->FetchQuiet(KeyOfType()) != 0)
        return std::nullopt;
    return AccessMSC->Buffer();
}

// Writes the definitions of log events with these values; every other value as a new row has it.
void Define(const std::vector<std::pair<QString, QVariant>>& values)
{
    if (Stored(MiscRecordType::LogEvent))
        QCOMPARE(AccessMSC->DeleteRecord(), 0);
    AccessMSC->PrepareRecord();
    for (const auto& [field, value] : values)
        AccessMSC->Buffer().SetValue(field, value);
    QCOMPARE(AccessMSC->InsertQuiet(), 0);
}

// Opens the form as Program Setup's list does: for a new definition, or on the stored one of log events.
WindowController* OpenForm(int request = Request::Change)
{
    Start([request] {
        RelationsMSC->Open();
        if (request == Request::Insert) {
            AccessMSC->PrepareRecord();
        } else {
            AccessMSC->GetTable().ClearBuffer();
            AccessMSC->Buffer().SetValue(QStringLiteral("MSC:MiscType"), MiscRecordType::LogEvent);
            AccessMSC->FetchQuiet(KeyOfType());
        }
        CurrentContext().GlobalRequestCode = quint8(request);
        CallProcedure(QStringLiteral("UpdateMiscFields"));
        RelationsMSC->Close();
    });
    return Form();
}

} // namespace

class UpdateMiscFieldsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::FormFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    QList<HelpRequest> helpShown;
    QString edited; // what EditMiscList gave
    int editResponse = 0;

    // Opens "Update Misc List" on a thread of its own.
    WindowController* OpenListEditor(const QString& list)
    {
        Start([this, list] {
            edited = EditMiscList(list);
            editResponse = CurrentContext().GlobalResponseCode;
        });
        return ListEditor();
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::FormFolder>();
        RegisterJournalProcedures();
        QVERIFY(folder->Hold({RelationsMSC}));
        SetHelpSink([this](const HelpRequest& request) {
            helpShown.append(request);
            return nullptr;
        });
    }
    void cleanupTestCase()
    {
        SetHelpSink({});
        folder.reset();
    }
    void init()
    {
        CurrentUserAccess[AccessArea::MiscFields] = 2;
        boxes = std::make_unique<test::MessageRecorder>();
        helpShown.clear();
        Define({});
    }
    void cleanup()
    {
        if (WindowController* editor = ListEditor())
            Press(*editor, QStringLiteral("Cancel"));
        if (WindowController* form = Form()) {
            form->CANCELACTION = 0;
            Press(*form, QStringLiteral("Cancel"));
        }
        QVERIFY(!Form() && !ListEditor());
        boxes.reset();
    }

    // "Update Misc List" ------------------------------------------------------------------------------------

    void theItemsEditAsLinesAndComeBackAsTheyWere_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("back");
        QTest::newRow("items") << "Yes|No|Maybe"
                               << "Yes\nNo\nMaybe"
                               << "Yes|No|Maybe";
        QTest::newRow("an empty item between two") << "a||b"
                                                   << "a\n\nb"
                                                   << "a||b";
        QTest::newRow("a final separator") << "a|b|"
                                           << "a\nb\n"
                                           << "a|b";
        QTest::newRow("an empty first item") << "|a"
                                             << "\na"
                                             << "|a";
        QTest::newRow("trailing blanks of items") << "a  |b "
                                                  << "a\nb"
                                                  << "a|b";
        QTest::newRow("one item") << "Only"
                                  << "Only"
                                  << "Only";
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "";
    }
    void theItemsEditAsLinesAndComeBackAsTheyWere()
    {
        QFETCH(QString, list);
        QFETCH(QString, lines);
        QFETCH(QString, back);
        QCOMPARE(MiscListLines(list), lines);
        QCOMPARE(MiscListFromLines(lines), back);
    }

    void linesBecomeItems_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("list");
        QTest::newRow("empty lines at the end vanish") << "a\nb\n\n  \n"
                                                       << "a|b";
        QTest::newRow("empty lines between give empty items") << "a\n\n\nb"
                                                              << "a|||b";
        QTest::newRow("line ends of carriage return and line feed") << "a\r\nb\r\n"
                                                                    << "a|b";
        QTest::newRow("only empty lines") << "\n\n"
                                          << "";
    }
    void linesBecomeItems()
    {
        QFETCH(QString, lines);
        QFETCH(QString, list);
        QCOMPARE(MiscListFromLines(lines), list);
    }

    void okGivesTheEditedItemsAndCancelABlank_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("typed"); // blank: left as it opened
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("response");
        const QString how[] = {"OK", "Cancel", "close"};
        QTest::newRow("OK, untouched") << "a||b"
                                       << "a\n\nb"
                                       << "" << how[0] << "a||b" << int(Response::Completed);
        QTest::newRow("OK, untouched, a final separator")
            << "a|b|"
            << "a\nb\n"
            << "" << how[0] << "a|b" << int(Response::Completed);
        QTest::newRow("OK, typed") << "a||b"
                                   << "a\n\nb"
                                   << "Red\nGreen\n"
                                   << how[0] << "Red|Green" << int(Response::Completed);
        QTest::newRow("Cancel") << "a||b"
                                << "a\n\nb"
                                << "Red" << how[1] << "" << int(Response::Cancelled);
        QTest::newRow("close box") << "a||b"
                                   << "a\n\nb"
                                   << "Red" << how[2] << "" << int(Response::Cancelled);
    }
    void okGivesTheEditedItemsAndCancelABlank()
    {
        QFETCH(QString, list);
        QFETCH(QString, lines);
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, result);
        QFETCH(int, response);
        WindowController* editor = OpenListEditor(list);
        QVERIFY(editor);
        QCOMPARE(editor->window.Caption(), QStringLiteral("Update Misc List"));
        auto* box = qobject_cast<QPlainTextEdit*>(editor->window.Widget(ControlNumber(*editor, "Items")));
        QVERIFY(box);
        QCOMPARE(box->toPlainText(), lines);
        test::SavePicture(editor->window.Root(), QStringLiteral("EditMiscList"));
        if (!typed.isEmpty())
            box->setPlainText(typed); // the text box still has the focus
        if (how == "close")
            editor->window.Root()->close();
        else
            Press(*editor, how);
        WaitIdle();
        QVERIFY(!ListEditor());
        QCOMPARE(edited, result);
        QCOMPARE(editResponse, response);
    }

    void helpInTheListEditorShowsTheContents()
    {
        WindowController* editor = OpenListEditor({});
        QVERIFY(editor);
        Press(*editor, QStringLiteral("Help"));
        QCOMPARE(helpShown.size(), 1);
        QCOMPARE(helpShown[0].path, QStringLiteral("Jornix.chm"));
    }

    // "Update Misc Fields" ----------------------------------------------------------------------------------

    void aUserWithoutMiscFieldAccessIsRefused()
    {
        CurrentUserAccess[AccessArea::MiscFields] = 0;
        QVERIFY(!OpenForm());
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, QStringLiteral("Access Denied"));
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QCOMPARE(boxes->boxes[0].text,
                 QStringLiteral("You are not allowed to view or edit Misc Fields. Please contact your system "
                                "administrator to request access."));
    }

    void theCaptionNeverChanges_data()
    {
        QTest::addColumn<int>("request");
        QTest::newRow("insert") << int(Request::Insert);
        QTest::newRow("change") << int(Request::Change);
        QTest::newRow("view") << int(Request::ViewOnly);
    }
    void theCaptionNeverChanges()
    {
        QFETCH(int, request);
        WindowController* form = OpenForm(request);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Update Misc Fields"));
        QCOMPARE(form->window.IsHidden(ControlNumber(*form, "OK")), request == Request::ViewOnly);
        Press(*form, QStringLiteral("Help"));
        QCOMPARE(helpShown.size(), 1);
        QVERIFY(helpShown[0].path.endsWith(QLatin1String("updatingmiscfields.htm")));
    }

    void aFieldsRowIsEnabledByShowAndItsType_data()
    {
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("hidden") << 0 << int(MiscControlType::DropList) << "";
        QTest::newRow("text box") << 1 << int(MiscControlType::TextBox)
                                  << "Prompt Type ReportType Len Picture DefVal";
        QTest::newRow("drop list") << 1 << int(MiscControlType::DropList)
                                   << "Prompt Type ReportType Len Picture DefVal List";
        QTest::newRow("combo box") << 1 << int(MiscControlType::ComboBox)
                                   << "Prompt Type ReportType Len Picture DefVal List";
        QTest::newRow("check box") << 1 << int(MiscControlType::CheckBox)
                                   << "Prompt Type ReportType Picture DefVal";
    }
    void aFieldsRowIsEnabledByShowAndItsType()
    {
        QFETCH(int, show);
        QFETCH(int, type);
        QFETCH(QString, enabled);
        Define({{QStringLiteral("MSC:F3Show"), show}, {QStringLiteral("MSC:F3Type"), type}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        const auto enabledParts = [&](int field) {
            QStringList parts;
            for (const char* part : {"Prompt", "Type", "ReportType", "Len", "Picture", "DefVal", "List"})
                if (form->window.IsEnabled(ControlNumber(*form, QStringLiteral("F%1").arg(field) + part)))
                    parts << QString::fromLatin1(part);
            return parts.join(' ');
        };
        QCOMPARE(enabledParts(3), enabled);
        test::SavePicture(form->window.Root(), QStringLiteral("UpdateMiscFields ") + QTest::currentDataTag());
        QVERIFY(form->window.IsEnabled(ControlNumber(*form, "F3Show")));

        // Show turned the other way turns the row with it; the other fields stay hidden.
        Press(*form, QStringLiteral("F3Show"));
        QCOMPARE(enabledParts(3).isEmpty(), show != 0);
        QCOMPARE(enabledParts(2), QString());
    }

    void theTypeChosenEnablesTheList()
    {
        Define({{QStringLiteral("MSC:F1Show"), 1}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        const int list = ControlNumber(*form, "F1List");
        QVERIFY(!form->window.IsEnabled(list));
        Choose(*form, ControlNumber(*form, "F1Type"), 1); // "Drop List"
        QVERIFY(form->window.IsEnabled(list));
        Choose(*form, ControlNumber(*form, "F1Type"), 3); // "Check Box"
        QVERIFY(!form->window.IsEnabled(list));
        QVERIFY(!form->window.IsEnabled(ControlNumber(*form, "F1Len")));
    }

    void aLengthStaysWithinWhatTheFieldKeeps()
    {
        Define({{QStringLiteral("MSC:F1Show"), 1}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        Type(*form, QStringLiteral("F1Len"), QStringLiteral("300"));
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        const int length = Stored(MiscRecordType::LogEvent)->Value(QStringLiteral("MSC:F1Len")).toInt();
        QCOMPARE(length, 255); // the most it keeps, never wrapped round to 44
    }

    void theDefaultValueIsTypedThroughThePicture()
    {
        Define({{QStringLiteral("MSC:F1Show"), 1}, {QStringLiteral("MSC:F1DefVal"), QStringLiteral("12")}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        auto* defaultValue = qobject_cast<QLineEdit*>(form->window.Widget(ControlNumber(*form, "F1DefVal")));
        QCOMPARE(defaultValue->maxLength(), 255);
        Type(*form, QStringLiteral("F1Picture"), QStringLiteral("@s3"));
        QCOMPARE(defaultValue->maxLength(), 3);
        Type(*form, QStringLiteral("F1DefVal"), QStringLiteral("abcdef"));
        Type(*form, QStringLiteral("F1Picture"), QStringLiteral("@n5"));
        QCOMPARE(defaultValue->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        Type(*form, QStringLiteral("F1DefVal"), QStringLiteral("42"));
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        QCOMPARE(Stored(MiscRecordType::LogEvent)->Value(QStringLiteral("MSC:F1DefVal")).toString(),
                 QStringLiteral("42"));
        QCOMPARE(Stored(MiscRecordType::LogEvent)->Value(QStringLiteral("MSC:F1Picture")).toString(),
                 QStringLiteral("@n5"));
    }

    void theListButtonKeepsTheEditedItemsOnlyAfterOK_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("saved");
        QTest::newRow("OK") << "OK"
                            << "Red|Green";
        QTest::newRow("Cancel") << "Cancel"
                                << "a||b";
    }
    void theListButtonKeepsTheEditedItemsOnlyAfterOK()
    {
        QFETCH(QString, how);
        QFETCH(QString, saved);
        Define({{QStringLiteral("MSC:F4Show"), 1},
                {QStringLiteral("MSC:F4Type"), int(MiscControlType::ComboBox)},
                {QStringLiteral("MSC:F4List"), QStringLiteral("a||b")}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        Type(*form, QStringLiteral("F4Prompt"),
             QStringLiteral("Colour:")); // what was typed reaches the record
        Press(*form, QStringLiteral("F4List"));
        WindowController* editor = ListEditor();
        QVERIFY(editor);
        auto* box = qobject_cast<QPlainTextEdit*>(editor->window.Widget(ControlNumber(*editor, "Items")));
        QCOMPARE(box->toPlainText(), QStringLiteral("a\n\nb"));
        box->setPlainText(QStringLiteral("Red\nGreen"));
        Press(*editor, how);
        QVERIFY(!ListEditor());
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        const std::optional<Record> row = Stored(MiscRecordType::LogEvent);
        QCOMPARE(row->Value(QStringLiteral("MSC:F4List")).toString(), saved);
        QCOMPARE(row->Value(QStringLiteral("MSC:F4Prompt")).toString(), QStringLiteral("Colour:"));
    }

    void aSecondDefinitionOfAKindIsRefusedAndTheFormStaysOpen()
    {
        WindowController* form = OpenForm(Request::Insert); // Log Event, which has its definitions
        QVERIFY(form);
        Press(*form, QStringLiteral("F1Show"));
        Type(*form, QStringLiteral("F1Prompt"), QStringLiteral("Twice:"));
        Press(*form, QStringLiteral("OK"));
        QVERIFY(Form());
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, QStringLiteral("Duplicate Key Error"));
        auto* prompt = qobject_cast<QLineEdit*>(form->window.Widget(ControlNumber(*form, "F1Prompt")));
        QCOMPARE(prompt->text(), QStringLiteral("Twice:"));
        QCOMPARE(Stored(MiscRecordType::LogEvent)->Value(QStringLiteral("MSC:F1Prompt")).toString(),
                 QStringLiteral("Misc 1:"));
    }

    void deleteAsksFirstAndOpensNoWindow_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Yes") << int(MessageButton::Yes) << true;
        QTest::newRow("No") << int(MessageButton::No) << false;
    }
    void deleteAsksFirstAndOpensNoWindow()
    {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        boxes->answers = {answer};
        QVERIFY(!OpenForm(Request::Delete));
        QCOMPARE(boxes->Captions(), QStringList{"Confirm Delete"});
        QCOMPARE(!Stored(MiscRecordType::LogEvent), deleted);
    }

    void aNewDefinitionIsWrittenAndAViewAnswersCancelled()
    {
        WindowController* form = OpenForm(Request::Insert);
        QVERIFY(form);
        Choose(*form, ControlNumber(*form, "MiscType"), 2); // "Task"
        Press(*form, QStringLiteral("F6Show"));
        Type(*form, QStringLiteral("F6Prompt"), QStringLiteral("Cost:"));
        Press(*form, QStringLiteral("OK"));
        QVERIFY(!Form());
        const std::optional<Record> task = Stored(MiscRecordType::Task);
        QVERIFY(task);
        QCOMPARE(task->Value(QStringLiteral("MSC:F6Show")).toInt(), 1);
        QCOMPARE(task->Value(QStringLiteral("MSC:F6Prompt")).toString(), QStringLiteral("Cost:"));
        QCOMPARE(task->Value(QStringLiteral("MSC:F5Prompt")).toString(), QStringLiteral("Misc 5:"));

        int response = -1;
        Start([&response] {
            RelationsMSC->Open();
            CurrentContext().GlobalRequestCode = Request::ViewOnly;
            response = CallProcedure(QStringLiteral("UpdateMiscFields"));
            RelationsMSC->Close();
        });
        QVERIFY(Form());
        Press(*Form(), QStringLiteral("Cancel"));
        QCOMPARE(response, int(Response::Cancelled));
    }
};

QTEST_MAIN(UpdateMiscFieldsTest)
#include "tst_UpdateMiscFields.moc"
