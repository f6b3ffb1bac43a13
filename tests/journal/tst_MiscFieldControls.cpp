#include "journal/MiscFieldControls.h"

#include "core/DataLayer.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "platform/store/Table.h"

#include "core/WindowTest.h"
#include "journal/EventForm.h"
#include "journal/MiscDefinitions.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::Define;
using jornix::test::Definition;

namespace {

constexpr qint32 EventNumber = 7;

// A small form of one log event with its user-defined fields on a Misc tab, as the event editor has them.
class MiscForm : public test::EventForm
{
public:
    MiscFieldControls misc{*this, MiscRecordType::LogEvent, *AccessLOG, QStringLiteral("LOG:LogMisc")};
    int sheet = 0, miscTab = 0;

    MiscForm() : EventForm(QStringLiteral("MiscForm"), QStringLiteral("Misc Form"))
    {
        DescribeEventForm([&] {
            sheet = window.Sheet([&] {
                window.Tab(QStringLiteral("&General"),
                           [&] { window.Text(QStringLiteral("The event's notes.")); });
                miscTab = window.Tab(QStringLiteral("&Misc"), [&] {
                    window.Text(QStringLiteral("Fields of your own, as Program Setup defines them."));
                });
            });
        });
        misc.SetMiscTab(miscTab);
    }

    void SetFieldDefaults() override
    {
        StandardForm::SetFieldDefaults();
        misc.SetMiscDefaults();
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
        misc.CreateMiscControls();
    }
};

MiscForm* Form()
{
    return static_cast<MiscForm*>(FindWindow(QStringLiteral("MiscForm")));
}

qint32 NewNumber = 0; // the number of the event the last form was opened for

// A user-defined field's value of a stored event.
QString StoredMisc(int field, qint32 number = EventNumber)
{
    AccessLOG->GetTable().ClearBuffer();
    AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
    if (AccessLOG->FetchQuiet(AccessLOG->GetTable().AutoNumberKey()) != 0)
        return QStringLiteral("(no event)");
    return AccessLOG->Buffer().Value(QStringLiteral("LOG:LogMisc%1").arg(field)).toString();
}

void StoreMisc(int field, const QString& value)
{
    StoredMisc(field);
    AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogMisc%1").arg(field), value);
    QCOMPARE(AccessLOG->UpdateQuiet(), 0);
}

// Opens the form on a thread of its own, as a list does: for a change or a view of the event, or for a new
// event that the list has numbered and primed with a value of field 2.
MiscForm* OpenForm(int request = Request::Change, const QString& primed = {})
{
    NewNumber = test::StartEventForm<MiscForm>(request, EventNumber, [primed] {
        AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogMisc2"), primed);
    });
    return Form();
}

QString TextOf(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* box = qobject_cast<QAbstractButton*>(widget))
        return box->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    return {};
}

} // namespace

class MiscFieldControlsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::FormFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::FormFolder>();
        QVERIFY(folder->Hold({RelationsLOG}));
        test::AddEvent(EventNumber, QStringLiteral("Garden"));
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 2;
        boxes = std::make_unique<test::MessageRecorder>();
        for (int field = 1; field <= MiscFieldControls::FieldCount; ++field)
            StoreMisc(field, {});
    }
    void cleanup()
    {
        if (MiscForm* form = Form()) {
            form->CANCELACTION = 0;
            Press(*form, form->cancelButton);
        }
        QVERIFY(!Form());
        boxes.reset();
    }

    void eachShownFieldTakesARowOnTheMiscTabInOrder()
    {
        Define({{2, MiscControlType::TextBox, QStringLiteral("Weather:")},
                {5, MiscControlType::DropList, QStringLiteral("Mood:"), {}, QStringLiteral("Good|Bad")}});
        StoreMisc(2, QStringLiteral("Sunny"));
        StoreMisc(5, QStringLiteral("Bad"));
        MiscForm* form = OpenForm();
        QVERIFY(form);
        MiscFieldControls& misc = form->misc;
        WindowDescription& window = form->window;
        QVERIFY(misc.MiscDefinitionsFound());
        for (const int field : {1, 3, 4, 6})
            QCOMPARE(misc.ControlOf(field) + misc.PromptOf(field), 0);
        // The next free numbers, prompt and control of field 2 first.
        const int last = window.ControlNumber(QStringLiteral("Cancel"));
        QCOMPARE((std::vector<int>{misc.PromptOf(2), misc.ControlOf(2), misc.PromptOf(5), misc.ControlOf(5)}),
                 (std::vector<int>{last + 1, last + 2, last + 3, last + 4}));
        QCOMPARE(window.KindOf(misc.ControlOf(2)), ControlKind::Entry);
        QCOMPARE(window.KindOf(misc.ControlOf(5)), ControlKind::DropList);
        QCOMPARE(TextOf(window.Widget(misc.PromptOf(2))), QStringLiteral("Weather:"));
        QCOMPARE(TextOf(window.Widget(misc.ControlOf(2))), QStringLiteral("Sunny"));
        QCOMPARE(TextOf(window.Widget(misc.ControlOf(5))), QStringLiteral("Bad"));
        QCOMPARE(static_cast<QComboBox*>(window.Widget(misc.ControlOf(5)))->maxVisibleItems(), 5);

        // On the Misc tab, below its own text, field 2 above field 5, each prompt beside its control.
        PickTab(*form, form->sheet, 2);
        QWidget* tab = window.Widget(form->miscTab);
        const auto top = [&](int control) { return window.Widget(control)->mapTo(tab, QPoint()).y(); };
        QVERIFY(tab->isAncestorOf(window.Widget(misc.ControlOf(2))));
        QVERIFY(top(misc.ControlOf(2)) < top(misc.ControlOf(5)));
        QVERIFY(qAbs(window.Widget(misc.PromptOf(2))->geometry().center().y() -
                     window.Widget(misc.ControlOf(2))->geometry().center().y()) <= 1);
        for (const int control : {misc.PromptOf(2), misc.ControlOf(2), misc.PromptOf(5), misc.ControlOf(5)})
            QVERIFY(tab->rect().contains(window.Widget(control)->geometry()));
        test::SavePicture(window.Root(), QStringLiteral("MiscForm"));

        // Bound to MISC2 and MISC5.
        Type(*form, misc.ControlOf(2), QStringLiteral("Rain"));
        Choose(*form, misc.ControlOf(5), 0);
        Press(*form, form->okButton);
        QVERIFY(!Form());
        QCOMPARE(StoredMisc(2), QStringLiteral("Rain"));
        QCOMPARE(StoredMisc(5), QStringLiteral("Good"));
    }

    void theControlsGoWhenTheyAreDestroyed()
    {
        Define({{2, MiscControlType::TextBox, QStringLiteral("Weather:")},
                {5, MiscControlType::CheckBox, QStringLiteral("Done")}});
        MiscForm* form = OpenForm();
        QVERIFY(form);
        const int prompt = form->misc.PromptOf(2), control = form->misc.ControlOf(5);
        QPointer<QWidget> widget = form->window.Widget(control);
        QVERIFY(widget);
        form->misc.DestroyMiscControls();
        QVERIFY(!widget);
        QVERIFY(!form->window.Exists(prompt) && !form->window.Exists(control));
        QCOMPARE(form->misc.ControlOf(5), 0);
        Press(*form, form->okButton); // the form saves without them
        QVERIFY(!Form());
    }

    void aCheckBoxShowsItsPromptAndStoresOneOrZero_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("click");
        QTest::addColumn<QString>("saved");
        QTest::newRow("blank, ticked") << "" << true << "1";
        QTest::newRow("1, cleared") << "1" << true << "0";
        QTest::newRow("0, ticked") << "0" << true << "1";
        QTest::newRow("1, left alone") << "1" << false << "1";
        QTest::newRow("blank, left alone") << "" << false << "";
        QTest::newRow("5, left alone") << "5" << false << "5";
        QTest::newRow("5, ticked") << "5" << true << "1";
    }
    void aCheckBoxShowsItsPromptAndStoresOneOrZero()
    {
        QFETCH(QString, stored);
        QFETCH(bool, click);
        QFETCH(QString, saved);
        Define({{2, MiscControlType::CheckBox, QStringLiteral("Done")}});
        StoreMisc(2, stored);
        MiscForm* form = OpenForm();
        QVERIFY(form);
        const int box = form->misc.ControlOf(2);
        QCOMPARE(form->window.KindOf(box), ControlKind::Check);
        QCOMPARE(form->window.Label(box), QStringLiteral("Done"));
        QVERIFY(form->window.IsHidden(form->misc.PromptOf(2)));
        QCOMPARE(static_cast<QCheckBox*>(form->window.Widget(box))->isChecked(), stored == "1");
        if (click)
            Press(*form, box);
        Press(*form, form->okButton);
        QVERIFY(!Form());
        QCOMPARE(StoredMisc(2), saved);
    }

    void aValueTheUserLeavesAloneIsSavedUnchanged_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("choice"); // the item chosen; -1 none
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("items"); // what the control offers
        QTest::newRow("drop list, a value not in the list")
            << int(MiscControlType::DropList) << "Maybe" << -1 << "Maybe"
            << "Yes No";
        QTest::newRow("drop list, chosen") << int(MiscControlType::DropList) << "Maybe" << 1 << "No"
                                           << "Yes No";
        QTest::newRow("combo box, a value not in the list")
            << int(MiscControlType::ComboBox) << "Maybe" << -1 << "Maybe"
            << "Yes No";
        QTest::newRow("combo box, chosen") << int(MiscControlType::ComboBox) << "Maybe" << 0 << "Yes"
                                           << "Yes No";
    }
    void aValueTheUserLeavesAloneIsSavedUnchanged()
    {
        QFETCH(int, type);
        QFETCH(QString, stored);
        QFETCH(int, choice);
        QFETCH(QString, saved);
        QFETCH(QString, items);
        Define({{2, type, QStringLiteral("Sure:"), {}, QStringLiteral("Yes|No")}});
        StoreMisc(2, stored);
        MiscForm* form = OpenForm();
        QVERIFY(form);
        auto* combo = static_cast<QComboBox*>(form->window.Widget(form->misc.ControlOf(2)));
        QStringList offered;
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        QCOMPARE(offered.join(' '), items);
        if (choice >= 0)
            Choose(*form, form->misc.ControlOf(2), choice);
        Press(*form, form->okButton);
        QVERIFY(!Form());
        QCOMPARE(StoredMisc(2), saved);
    }

    void anEmptyListOffersNothing()
    {
        Define({{2, MiscControlType::DropList, QStringLiteral("Sure:")}});
        MiscForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(static_cast<QComboBox*>(form->window.Widget(form->misc.ControlOf(2)))->count(), 0);
    }

    void aNewRecordTakesTheDefaultsInItsBlankFieldsOnly_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("value"); // primed by the list, or stored
        QTest::addColumn<QString>("shown");
        QTest::newRow("new, blank") << int(Request::Insert) << ""
                                    << "Sunny";
        QTest::newRow("new, primed") << int(Request::Insert) << "Rain"
                                     << "Rain";
        QTest::newRow("new, primed with blanks") << int(Request::Insert) << "   "
                                                 << "Sunny";
        QTest::newRow("changed, blank") << int(Request::Change) << ""
                                        << "";
    }
    void aNewRecordTakesTheDefaultsInItsBlankFieldsOnly()
    {
        QFETCH(int, request);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        Define({{2, MiscControlType::TextBox, QStringLiteral("Weather:"), QStringLiteral("Sunny")},
                {5,
                 MiscControlType::TextBox,
                 QStringLiteral("Hidden:"),
                 QStringLiteral("hidden"),
                 {},
                 {},
                 false}});
        StoreMisc(2, value);
        MiscForm* form = OpenForm(request, value);
        QVERIFY(form);
        QCOMPARE(TextOf(form->window.Widget(form->misc.ControlOf(2))), shown);
        // The hidden field 5 has a default too; it has no control and keeps its blank.
        QCOMPARE(form->misc.ControlOf(5), 0);
        Press(*form, form->okButton);
        QVERIFY(!Form());
        QCOMPARE(StoredMisc(2, NewNumber), shown);
        QCOMPARE(StoredMisc(5, NewNumber), QString());
    }

    void withoutDefinitionsTheTabKeepsItsOwnContent()
    {
        Define({}, false);
        MiscForm* form = OpenForm(Request::Insert);
        QVERIFY(form);
        QVERIFY(!form->misc.MiscDefinitionsFound());
        QCOMPARE(form->window.LastControl(), form->window.ControlNumber(QStringLiteral("Cancel")));
    }

    void aUserWhoMayOnlyViewCannotChangeTheFields()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 1;
        Define({{2, MiscControlType::TextBox, QStringLiteral("Weather:")},
                {3, MiscControlType::ComboBox, QStringLiteral("Wind:"), {}, QStringLiteral("Calm|Storm")},
                {4, MiscControlType::DropList, QStringLiteral("Mood:"), {}, QStringLiteral("Good|Bad")},
                {5, MiscControlType::CheckBox, QStringLiteral("Done")}});
        MiscForm* form = OpenForm();
        QVERIFY(form);
        WindowDescription& window = form->window;
        QVERIFY(static_cast<QLineEdit*>(window.Widget(form->misc.ControlOf(2)))->isReadOnly());
        for (const int field : {3, 4, 5})
            QVERIFY(!window.IsEnabled(form->misc.ControlOf(field)));
        for (const int field : {2, 3, 4})
            QVERIFY(window.IsEnabled(form->misc.PromptOf(field)));
    }
};

QTEST_MAIN(MiscFieldControlsTest)
#include "tst_MiscFieldControls.moc"
