#include "DocumentEditor.h"

#include "documents/MeasurementUnits.h"
#include "documents/StylesDialog.h"
#include "journal/Pictures.h"
#include "platform/richtext/ButtonBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

using namespace jornix;

namespace {

template <class Widget> Widget* field(QWidget& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no field %s", name);
    return widget;
}

void click(QWidget& dialog, const char* name)
{
    field<QPushButton>(dialog, name)->click();
}

// Types a name into the name field, as the user does.
void typeName(QWidget& dialog, const QString& name)
{
    auto* entry = field<QLineEdit>(dialog, "Name");
    entry->setText(name);
    emit entry->textEdited(name);
}

void select(RichTextControl& control, int start, int length)
{
    control.SetSelStart(start);
    control.SetSelLength(length);
}

QTextCharFormat formatAt(RichTextControl& control, int position)
{
    QTextCursor cursor(control.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// A document of two paragraphs with a style "Title" made in the dialog and put on the first word.
void makeTitleStyle(Editor& editor)
{
    editor.edit.SetSelText(QStringLiteral("Title and text\nsecond paragraph"));
    select(editor.control, 0, 5);
    StylesDialog dialog(&editor.control, MeasurementUnit::Inches);
    click(dialog, "New");
    QCOMPARE(field<QLineEdit>(dialog, "Name")->text(), QStringLiteral("Style 1"));
    typeName(dialog, QStringLiteral("Title"));
    field<QDoubleSpinBox>(dialog, "Size")->setValue(20);
    field<QCheckBox>(dialog, "Bold")->setChecked(true);
    auto* colour = field<QComboBox>(dialog, "Colour");
    colour->setCurrentIndex(colour->findText(QStringLiteral("Navy")));
    field<QComboBox>(dialog, "Alignment")->setCurrentIndex(2);
    field<QDoubleSpinBox>(dialog, "Left")->setValue(0.5);
    field<QDoubleSpinBox>(dialog, "Before")->setValue(6);
    click(dialog, "ApplyToSelection");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void verifyTitleOnFirstWord(RichTextControl& control)
{
    const QTextCharFormat title = formatAt(control, 0);
    QCOMPARE(title.fontPointSize(), 20.0);
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QCOMPARE(title.foreground().color(), QColor(0, 0, 0x80));
    QVERIFY(formatAt(control, 6).fontWeight() < QFont::Bold); // the rest of the paragraph keeps its look
    const QTextBlockFormat first = control.document()->begin().blockFormat();
    QVERIFY(first.alignment() & Qt::AlignHCenter);
    QCOMPARE(first.leftMargin(), 720 / 15.0);
    QCOMPARE(first.topMargin(), 120 / 15.0);
    QCOMPARE(control.document()->begin().next().blockFormat().leftMargin(), 0.0); // the second paragraph
}

} // namespace

class StylesTest : public QObject
{
    Q_OBJECT

private slots:
    void aStyleMadeInTheDialogIsAppliedAndStoredWithTheDocument()
    {
        Editor editor;
        makeTitleStyle(editor);
        verifyTitleOnFirstWord(editor.control);
        QCOMPARE(editor.control.NamedStyles().size(), 1);
        editor.edit.Undo(); // the style went on as one step
        QVERIFY(formatAt(editor.control, 0).fontWeight() < QFont::Bold);
        editor.edit.Redo();

        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        Editor stored;
        QVERIFY(stored.edit.LoadFromBlob(blob));
        QCOMPARE(stored.control.NamedStyles(), editor.control.NamedStyles());
        verifyTitleOnFirstWord(stored.control);
        // Loaded, the style goes on again by its name, case ignored.
        select(stored.control, 10, 4);
        QVERIFY(stored.control.ApplyNamedStyle(QStringLiteral("TITLE")));
        QCOMPARE(formatAt(stored.control, 10).fontWeight(), int(QFont::Bold));
        QVERIFY(!stored.control.ApplyNamedStyle(QStringLiteral("Heading")));

        // A document of another format has no styles.
        QVERIFY(stored.control.Load(QByteArrayLiteral("{\\rtf1 plain}"), TextFormat::Rtf));
        QVERIFY(stored.control.NamedStyles().isEmpty());
    }

    void withoutASelectionTheParagraphTakesTheStyleWhole()
    {
        Editor editor;
        makeTitleStyle(editor);
        editor.control.SetSelStart(20); // in the second paragraph
        QVERIFY(editor.control.ApplyNamedStyle(QStringLiteral("Title")));
        QCOMPARE(formatAt(editor.control, 15).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(editor.control, 30).fontPointSize(), 20.0);
        QVERIFY(editor.control.document()->lastBlock().blockFormat().alignment() & Qt::AlignHCenter);
        editor.control.SetSelText(QStringLiteral("x")); // typed in the style
        QCOMPARE(formatAt(editor.control, 20).fontPointSize(), 20.0);
    }

    void stylesAreChangedDeletedAndKeptOnlyOnOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void stylesAreChangedDeletedAndKeptOnlyOnOk()
    {
        QFETCH(bool, ok);
        Editor editor;
        makeTitleStyle(editor);
        const QList<NamedStyle> before = editor.control.NamedStyles();
        editor.control.document()->setModified(false);
        QSignalSpy changed(&editor.control, &RichTextControl::Changed);

        StylesDialog dialog(&editor.control, MeasurementUnit::Inches);
        QCOMPARE(field<QLineEdit>(dialog, "Name")->text(), QStringLiteral("Title"));
        QCOMPARE(field<QDoubleSpinBox>(dialog, "Size")->value(), 20.0);
        QCOMPARE(field<QDoubleSpinBox>(dialog, "Left")->value(), 0.5);
        click(dialog, "New");
        auto* message = field<QLabel>(dialog, "Message");
        auto* okButton = field<QPushButton>(dialog, "OK");
        typeName(dialog, QStringLiteral(" title "));
        QCOMPARE(message->text(), QStringLiteral("There is already a style named \"Title\"."));
        QVERIFY(!okButton->isEnabled());
        QVERIFY(!field<QPushButton>(dialog, "ApplyToSelection")->isEnabled());
        QVERIFY(!field<QListWidget>(dialog, "List")->isEnabled());
        typeName(dialog, QString());
        QCOMPARE(message->text(), QStringLiteral("A style needs a name."));
        typeName(dialog, QStringLiteral("Note"));
        QCOMPARE(message->text(), QString());
        QVERIFY(okButton->isEnabled());
        field<QCheckBox>(dialog, "Italic")->setChecked(true);
        field<QListWidget>(dialog, "List")->setCurrentRow(0);
        click(dialog, "Delete"); // Title goes, Note stays
        QCOMPARE(field<QLineEdit>(dialog, "Name")->text(), QStringLiteral("Note"));
        QVERIFY(field<QCheckBox>(dialog, "Italic")->isChecked());
        ok ? dialog.accept() : dialog.reject();

        if (!ok) {
            QCOMPARE(editor.control.NamedStyles(), before);
            QCOMPARE(changed.count(), 0);
            QVERIFY(!editor.control.document()->isModified());
            return;
        }
        QCOMPARE(editor.control.NamedStyles().size(), 1);
        QCOMPARE(editor.control.NamedStyles().first().name, QStringLiteral("Note"));
        QVERIFY(editor.control.NamedStyles().first().character.fontItalic());
        QCOMPARE(changed.count(), 1); // the editor counts it as a change of the notes
        QVERIFY(editor.control.document()->isModified());
        verifyTitleOnFirstWord(editor.control); // the text keeps the look the style gave it
    }

    void theButtonBarListsTheStylesAndPutsTheChosenOneOn()
    {
        Editor editor;
        ButtonBar bar;
        editor.control.SetButtonBar(&bar);
        auto* list = bar.findChild<QComboBox*>(QStringLiteral("style"));
        QVERIFY(list);
        QVERIFY(!list->isEnabled());
        makeTitleStyle(editor);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->itemText(0), QStringLiteral("Title"));
        QCOMPARE(list->currentIndex(), -1);
        select(editor.control, 10, 4);
        emit list->activated(0);
        QCOMPARE(formatAt(editor.control, 10).fontWeight(), int(QFont::Bold));
        QCOMPARE(list->currentIndex(), -1); // ready to choose the same style again
    }

    void theDialogLooksFinished()
    {
        Editor editor;
        makeTitleStyle(editor);
        StylesDialog dialog(&editor.control, MeasurementUnit::Centimetres);
        click(dialog, "New");
        typeName(dialog, QStringLiteral("Quote"));
        field<QCheckBox>(dialog, "Italic")->setChecked(true);
        dialog.show();
        QVERIFY(dialog.minimumSizeHint().width() <= dialog.width());
        jornix::test::SavePicture(&dialog, QStringLiteral("Styles"));
    }
};

QTEST_MAIN(StylesTest)
#include "tst_Styles.moc"
