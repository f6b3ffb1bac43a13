#include "DocumentEditor.h"

#include "documents/SpellCheckDialog.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/richtext/SpellChecker.h"
#include "platform/runtime/ProgramThreads.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace jornix;
using jornix::test::MessageRecorder;

namespace {

SpellCheckDialog* openCheck()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<SpellCheckDialog*>(top); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

void press(SpellCheckDialog* dialog, const QString& button)
{
    auto* found = dialog->findChild<QPushButton*>(button);
    QVERIFY2(found && found->isEnabled(), qPrintable(button));
    found->click();
    WaitForProgramThreads(5000);
}

QMenu* openPopup(RichTextControl& control)
{
    for (QMenu* menu : control.findChildren<QMenu*>(QStringLiteral("SpellingSuggestions")))
        if (menu->isVisible())
            return menu;
    return nullptr;
}

QStringList itemsOf(QMenu* menu)
{
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text();
    return items;
}

// The words of the document that carry a mark drawn over the text, not stored in it.
QStringList markedWords(const QTextDocument& document)
{
    QStringList words;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words << block.text().mid(range.start, range.length);
    return words;
}

enum class Check
{
    Own,    // SpellCheck
    Text,   // CheckSpellingText
    Linked, // CheckSpellingLinked
};

} // namespace

Q_DECLARE_METATYPE(Check)

class SpellingTest : public QObject
{
    Q_OBJECT

private slots:
    void aMisspeltWordIsFoundWithSuggestionsAndReplaced_data()
    {
        QTest::addColumn<Check>("check");
        QTest::addColumn<bool>("hideSelection");
        QTest::newRow("own check") << Check::Own << false;
        QTest::newRow("own check, selection hidden before") << Check::Own << true;
        QTest::newRow("text check") << Check::Text << true;
        QTest::newRow("linked check") << Check::Linked << false;
    }

    void aMisspeltWordIsFoundWithSuggestionsAndReplaced()
    {
        QFETCH(Check, check);
        QFETCH(bool, hideSelection);
        MessageRecorder messages;
        Editor editor;
        SpellChecker checker;
        editor.edit.SetSelText(QStringLiteral("I will recieve the parcel."));
        editor.control.SetHideSelection(hideSelection);

        OnProgramThread([&] {
            if (check == Check::Own)
                editor.edit.SpellCheck();
            else if (check == Check::Text)
                editor.edit.CheckSpellingText(&checker);
            else
                editor.edit.CheckSpellingLinked(&checker);
        });
        SpellCheckDialog* dialog = openCheck();
        QVERIFY(dialog);
        jornix::test::SavePicture(dialog, QStringLiteral("Spelling"));
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Word"))->text(), QStringLiteral("recieve"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Reason"))->text(),
                 QStringLiteral("Not in dictionary:"));
        auto* suggestions = dialog->findChild<QListWidget*>(QStringLiteral("Suggestions"));
        QVERIFY(suggestions->count() >= 2);
        QCOMPARE(suggestions->item(0)->text(), QStringLiteral("receive"));
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("ChangeTo"))->text(),
                 QStringLiteral("receive"));
        // The document shows the word, selected and visible beside the dialog.
        QCOMPARE(editor.control.SelText(), QStringLiteral("recieve"));
        QCOMPARE(editor.control.HideSelection(), false);

        press(dialog, QStringLiteral("Change"));
        QVERIFY(!openCheck());
        QCOMPARE(editor.control.Text(), QStringLiteral("I will receive the parcel."));
        QCOMPARE(editor.control.HideSelection(), hideSelection);
        if (check == Check::Own) {
            QCOMPARE(messages.boxes.size(), 1);
            QCOMPARE(messages.boxes.at(0).caption, QStringLiteral("TX Text"));
            QCOMPARE(messages.boxes.at(0).text, QStringLiteral("Spell Check Complete!"));
            QCOMPARE(messages.boxes.at(0).buttons, int(MessageButton::Ok));
        } else {
            QVERIFY(messages.boxes.isEmpty());
        }
    }

    void theCheckDoesWhatEachButtonSays_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("wordsShown");
        QTest::addColumn<QString>("result");
        const QString zorb = QStringLiteral("zorbleflax");
        QTest::newRow("nothing at fault: no dialog")
            << "The cat sat on the mat." << QStringList() << QStringList() << "The cat sat on the mat.";
        QTest::newRow("ignore") << "teh cat and teh dog" << QStringList{"Ignore", "Ignore"}
                                << QStringList{"teh", "teh"} << "teh cat and teh dog";
        QTest::newRow("ignore all") << zorb + " and " + zorb << QStringList{"IgnoreAll"} << QStringList{zorb}
                                    << zorb + " and " + zorb;
        QTest::newRow("change all") << "teh cat and teh dog" << QStringList{"ChangeAll"} << QStringList{"teh"}
                                    << "the cat and the dog";
        QTest::newRow("repeated word deleted")
            << "Look at the the cat." << QStringList{"Delete"} << QStringList{"the"} << "Look at the cat.";
        QTest::newRow("capitalization")
            << "Say hEllo." << QStringList{"Change"} << QStringList{"hEllo"} << "Say hello.";
        QTest::newRow("undo takes the change back and checks there again")
            << "teh cat wrod" << QStringList{"Change", "Undo", "Cancel"} << QStringList{"teh", "wrod", "teh"}
            << "teh cat wrod";
        QTest::newRow("cancel stops the check") << "teh cat wrod" << QStringList{"Change", "Cancel"}
                                                << QStringList{"teh", "wrod"} << "the cat wrod";
    }

    void theCheckDoesWhatEachButtonSays()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, wordsShown);
        QFETCH(QString, result);
        MessageRecorder messages;
        Editor editor;
        SpellChecker checker;
        editor.edit.SetSelText(text);

        OnProgramThread([&] { editor.edit.CheckSpellingText(&checker); });
        QStringList shown;
        for (const QString& button : buttons) {
            SpellCheckDialog* dialog = openCheck();
            QVERIFY2(dialog, qPrintable(button));
            shown << dialog->findChild<QLineEdit*>(QStringLiteral("Word"))->text();
            QCOMPARE(editor.control.SelText(), shown.last());
            press(dialog, button);
        }
        QVERIFY(!openCheck());
        QCOMPARE(shown, wordsShown);
        QCOMPARE(editor.control.Text(), result);
    }

    void theCheckChangesNothingInADocumentThatIsOnlyRead()
    {
        MessageRecorder messages;
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("teh cat"));
        editor.edit.SetEditMode(1);
        OnProgramThread([&] { editor.edit.SpellCheck(); });
        SpellCheckDialog* dialog = openCheck();
        QVERIFY(dialog);
        for (const char* name : {"Change", "ChangeAll", "Delete", "Undo"})
            QVERIFY2(!dialog->findChild<QPushButton*>(QLatin1String(name))->isEnabled(), name);
        press(dialog, QStringLiteral("Ignore"));
        QVERIFY(!openCheck());
        QCOMPARE(editor.control.Text(), QStringLiteral("teh cat"));
    }

    void thePopupOffersTheWordAndItsSuggestions_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("suggestionsOffered"); // -1: no popup
        // "teh" has 13 suggestions, "recieve" 3, "qwertyuiop" 1.
        QTest::newRow("more than the maximum: 0 to the maximum") << "teh" << 3 << 4;
        QTest::newRow("fewer than the maximum: never past the last") << "recieve" << 10 << 3;
        QTest::newRow("maximum 0: the first") << "teh" << 0 << 1;
        QTest::newRow("one suggestion: no popup") << "qwertyuiop" << 10 << -1;
        QTest::newRow("a known word: no popup") << "parcel" << 10 << -1;
    }

    void thePopupOffersTheWordAndItsSuggestions()
    {
        QFETCH(QString, word);
        QFETCH(int, maximum);
        QFETCH(int, suggestionsOffered);
        MessageRecorder messages;
        Editor editor;
        SpellChecker checker;
        editor.control.show();
        editor.edit.SetSpellChecker(&checker);
        const QString text = QStringLiteral("A ") + word + QStringLiteral(" here");
        editor.edit.SetSelText(text);

        editor.edit.SpellingSuggestions(2, qint32(word.size()), qint16(maximum));
        QMenu* popup = openPopup(editor.control);
        if (suggestionsOffered < 0) {
            QVERIFY(!popup);
            return;
        }
        QVERIFY(popup);
        jornix::test::SavePicture(popup, QStringLiteral("SpellingSuggestions-%1-%2").arg(word).arg(maximum));
        const QStringList items = itemsOf(popup);
        QCOMPARE(items.size(), 1 + suggestionsOffered);
        QCOMPARE(items.first(), word + QStringLiteral(" (not in dictionary)"));
        QCOMPARE(items.mid(1), checker.Suggestions(word).mid(0, suggestionsOffered));

        // The first line changes nothing; a suggestion takes the word's place.
        QVERIFY(!popup->actions().first()->isEnabled());
        popup->actions().last()->trigger();
        popup->hide();
        QCOMPARE(editor.control.Text(), QStringLiteral("A ") + items.last() + QStringLiteral(" here"));
        QVERIFY(messages.boxes.isEmpty());
    }

    void typingMarksUnknownWordsAndLeavesTheDocumentAsItIs()
    {
        MessageRecorder messages;
        Editor editor;
        SpellChecker checker;
        editor.control.show();
        editor.edit.SetSelText(QStringLiteral("I recieve the the mail"));
        editor.control.document()->setModified(false);
        const QByteArray before = editor.control.Save(TextFormat::OwnFormat).bytes;
        const int undoSteps = editor.control.document()->availableUndoSteps();
        QSignalSpy changes(&editor.control, &RichTextControl::Changed);

        editor.edit.SetSpellChecker(&checker);
        editor.edit.SetCheckTyping();
        QTRY_COMPARE(markedWords(*editor.control.document()), (QStringList{"recieve", "the"}));
        QCOMPARE(changes.count(), 0);
        QVERIFY(!editor.control.document()->isModified());
        QCOMPARE(editor.control.document()->availableUndoSteps(), undoSteps);
        QCOMPARE(editor.control.Save(TextFormat::OwnFormat).bytes, before);

        // A word typed is marked as it is typed.
        editor.control.SetSelStart(editor.control.TextLength());
        QTest::keyClicks(&editor.control, QStringLiteral(" wrod"));
        QTRY_COMPARE(markedWords(*editor.control.document()), (QStringList{"recieve", "the", "wrod"}));
        QVERIFY(messages.boxes.isEmpty());
    }

    void aMissingDictionaryIsSaidAndChangesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        for (const char* operation : {"SpellCheck", "CheckSpellingText", "CheckSpellingLinked",
                                      "SetCheckTyping", "SpellingSuggestions"})
            QTest::newRow(operation) << QString::fromLatin1(operation);
    }

    void aMissingDictionaryIsSaidAndChangesNothing()
    {
        QFETCH(QString, operation);
        const QTemporaryDir empty;
        MessageRecorder messages;
        Editor editor;
        auto missing = std::make_shared<SpellChecker>(QStringLiteral("en_US"), empty.path());
        editor.control.SetOwnSpellChecker(missing);
        editor.control.show();
        editor.edit.SetSpellChecker(missing.get());
        editor.edit.SetSelText(QStringLiteral("I will recieve teh parcel."));
        editor.control.SetHideSelection(true);
        const QByteArray before = editor.control.Save(TextFormat::OwnFormat).bytes;

        OnProgramThread([&] {
            if (operation == QLatin1String("SpellCheck"))
                editor.edit.SpellCheck();
            else if (operation == QLatin1String("CheckSpellingText"))
                editor.edit.CheckSpellingText(missing.get());
            else if (operation == QLatin1String("CheckSpellingLinked"))
                editor.edit.CheckSpellingLinked(missing.get());
            else if (operation == QLatin1String("SetCheckTyping"))
                editor.edit.SetCheckTyping();
            else
                editor.edit.SpellingSuggestions(16, 3, 10);
        });
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(messages.boxes.at(0).caption, QStringLiteral("TX Text"));
        QVERIFY(messages.boxes.at(0).text.contains(QStringLiteral("\"en_US\" was not found")));
        QVERIFY(messages.boxes.at(0).text.contains(empty.path()));
        QVERIFY(!openCheck());
        QVERIFY(!openPopup(editor.control));
        QTest::qWait(50); // a typing mark would be drawn by now
        QVERIFY(markedWords(*editor.control.document()).isEmpty());
        QCOMPARE(editor.control.Save(TextFormat::OwnFormat).bytes, before);
        QCOMPARE(editor.control.HideSelection(), true);
    }
};

QTEST_MAIN(SpellingTest)
#include "tst_Spelling.moc"
