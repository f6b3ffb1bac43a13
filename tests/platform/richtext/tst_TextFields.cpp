#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/richtext/TextFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QtEndian>
#include <QTextCursor>
#include <QTextTable>
#include <QtTest>

using namespace jornix;

namespace jornix {
char* toString(const TextField& field)
{
    return QTest::toString(QStringLiteral("field %1 type %2 at %3+%4 \"%5\" data \"%6\" \"%7\" %8 %9")
                               .arg(field.id)
                               .arg(field.type)
                               .arg(field.start)
                               .arg(field.length)
                               .arg(field.text, field.data, field.typeData)
                               .arg(field.attribute)
                               .arg(field.value));
}
} // namespace jornix

namespace {

// "Dear " + field 1 "NAME" + ", from " + field 2 "TOWN" + "."
struct Letter
{
    RichTextControl control;
    quint32 name = 0;
    quint32 town = 0;

    Letter()
    {
        control.setPlainText(QStringLiteral("Dear "));
        QTextCursor cursor(control.document());
        cursor.movePosition(QTextCursor::End);
        name = control.Fields().Insert(cursor, QStringLiteral("NAME"));
        cursor.insertText(QStringLiteral(", from "));
        town = control.Fields().Insert(cursor, QStringLiteral("TOWN"), 2);
        cursor.insertText(QStringLiteral("."));
        control.Fields().SetData(name, QStringLiteral("PEO:Name"));
        control.Fields().SetType(town, 2, QStringLiteral("kind"));
    }

    QString fieldText(quint32 id) const { return control.Fields().Field(id).value_or(TextField{}).text; }
    void caretAt(int position)
    {
        QTextCursor caret = control.textCursor();
        caret.setPosition(position);
        control.setTextCursor(caret);
    }
};

QList<quint32> walk(const TextFields& fields)
{
    QList<quint32> ids;
    for (quint32 id = fields.Next(0); id != 0; id = fields.Next(id))
        ids.append(id);
    return ids;
}

QByteArray replaceFieldsSection(const QByteArray& document, const QByteArray& payload)
{
    const qsizetype at = document.indexOf("FLDS");
    char length[4];
    qToLittleEndian(quint32(payload.size()), length);
    return document.left(at) + "FLDS" + QByteArray(length, 4) + payload;
}

} // namespace

class TextFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldsAreWalkedInDocumentOrderWithTheirData()
    {
        Letter letter;
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear NAME, from TOWN."));
        QCOMPARE(walk(letter.control.Fields()), (QList<quint32>{letter.name, letter.town}));
        const TextField name = *letter.control.Fields().Field(letter.name);
        QCOMPARE(name.start, 5);
        QCOMPARE(name.length, 4);
        QCOMPARE(name.type, 0);
        QCOMPARE(name.data, QStringLiteral("PEO:Name"));
        const TextField town = *letter.control.Fields().Field(letter.town);
        QCOMPARE(town.type, 2);
        QCOMPARE(town.typeData, QStringLiteral("kind"));
        QCOMPARE(letter.control.Fields().Next(4711), 0u);

        // A field put in front comes first in the walk; the ids stay.
        QTextCursor front(letter.control.document());
        const quint32 first = letter.control.Fields().Insert(front, QStringLiteral("X"));
        QCOMPARE(walk(letter.control.Fields()), (QList<quint32>{first, letter.name, letter.town}));
        QCOMPARE(letter.control.Fields().Field(letter.name)->start, 6);
    }

    void typingJoinsAFieldOnlyInsideIt_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("nameText");
        QTest::addColumn<QString>("text");
        QTest::newRow("at the end") << 9 << "NAME"
                                    << "Dear NAMEab, from TOWN.";
        QTest::newRow("at the start") << 5 << "NAME"
                                      << "Dear abNAME, from TOWN.";
        QTest::newRow("inside") << 7 << "NAabME"
                                << "Dear NAabME, from TOWN.";
    }

    void typingJoinsAFieldOnlyInsideIt()
    {
        QFETCH(int, position);
        QFETCH(QString, nameText);
        QFETCH(QString, text);
        Letter letter;
        letter.caretAt(position);
        QTest::keyClicks(&letter.control, QStringLiteral("ab"));
        QCOMPARE(letter.control.Text(), text);
        QCOMPARE(letter.fieldText(letter.name), nameText);
    }

    void typingAtTheEndOfAFieldThatEndsTheTextStaysOutside()
    {
        RichTextControl control;
        QTextCursor cursor(control.document());
        const quint32 id = control.Fields().Insert(cursor, QStringLiteral("NAME"));
        control.setTextCursor(cursor);
        QTest::keyClicks(&control, QStringLiteral("ab"));
        QTest::keyClick(&control, Qt::Key_Return);
        QTest::keyClicks(&control, QStringLiteral("c"));
        QCOMPARE(control.Fields().Field(id)->text, QStringLiteral("NAME"));
        // Typing at its start, at the start of the paragraph, stays outside it, and so does coming back to
        // its end with the keys.
        QTest::keyClick(&control, Qt::Key_Up);
        QTest::keyClick(&control, Qt::Key_Home);
        QTest::keyClicks(&control, QStringLiteral("s"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(&control, Qt::Key_Right);
        QTest::keyClicks(&control, QStringLiteral("d"));
        QCOMPARE(control.Text(), QStringLiteral("sNAMEdab\nc"));
        QCOMPARE(control.Fields().Field(id)->text, QStringLiteral("NAME"));
        // Nor does a new text of the field with the caret behind it.
        QTest::keyClick(&control, Qt::Key_Left);
        control.Fields().SetText(id, QStringLiteral("NOM"));
        QCOMPARE(control.textCursor().position(), 4);
        QTest::keyClicks(&control, QStringLiteral("e"));
        QCOMPARE(control.Text(), QStringLiteral("sNOMedab\nc"));
        QCOMPARE(control.Fields().Field(id)->text, QStringLiteral("NOM"));
    }

    void aFieldKeepsItsPlaceWhenItsTextIsEmpty()
    {
        Letter letter;
        TextFields& fields = letter.control.Fields();
        QVERIFY(fields.SetText(letter.name, QString()));
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear , from TOWN."));
        QCOMPARE(walk(fields), (QList<quint32>{letter.name, letter.town}));
        QCOMPARE(fields.Field(letter.name)->start, 5);
        QCOMPARE(fields.Field(letter.name)->length, 0);
        QCOMPARE(fields.At(5), letter.name);
        QVERIFY(fields.SetText(letter.name, QStringLiteral("Anna Smith")));
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear Anna Smith, from TOWN."));
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("Anna Smith"));
        QCOMPARE(fields.Field(letter.name)->data, QStringLiteral("PEO:Name"));
    }

    void undoAndRedoBringFieldsBackWithTheirData()
    {
        Letter letter;
        letter.control.document()->clearUndoRedoStacks();
        TextFields& fields = letter.control.Fields();

        // The field's text deleted with the text around it, then undone.
        QTextCursor cursor(letter.control.document());
        cursor.setPosition(3);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCOMPARE(walk(fields), (QList<quint32>{letter.town}));
        letter.control.undo();
        QCOMPARE(walk(fields), (QList<quint32>{letter.name, letter.town}));
        QCOMPARE(fields.Field(letter.name)->data, QStringLiteral("PEO:Name"));

        // A new text, undone and redone; an empty one, undone and redone.
        fields.SetText(letter.name, QStringLiteral("Bob"));
        letter.control.undo();
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("NAME"));
        letter.control.redo();
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("Bob"));
        fields.SetText(letter.name, QString());
        letter.control.undo();
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("Bob"));
        letter.control.redo();
        QCOMPARE(fields.Field(letter.name)->length, 0);

        // A removed mark comes back.
        QVERIFY(fields.Remove(letter.town));
        QVERIFY(!fields.Field(letter.town));
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear , from TOWN."));
        letter.control.undo();
        QCOMPARE(fields.Field(letter.town)->typeData, QStringLiteral("kind"));
    }

    void newIdsAreNeverGivenTwice()
    {
        Letter letter;
        TextFields& fields = letter.control.Fields();
        fields.Remove(letter.town);
        QTextCursor cursor(letter.control.document());
        cursor.movePosition(QTextCursor::End);
        const quint32 next = fields.Insert(cursor, QStringLiteral("Y"));
        QVERIFY(next != letter.name && next != letter.town);
        letter.control.undo(); // the insertion
        letter.control.undo(); // the removal
        QCOMPARE(walk(fields), (QList<quint32>{letter.name, letter.town}));
    }

    void pastedTextCarriesNoField()
    {
        Letter letter;
        QTextCursor cursor(letter.control.document());
        cursor.setPosition(5);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        letter.control.setTextCursor(cursor);
        letter.control.Clip(2);
        cursor.movePosition(QTextCursor::End);
        letter.control.setTextCursor(cursor);
        letter.control.Clip(3);
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear NAME, from TOWN.NAME"));
        QCOMPARE(walk(letter.control.Fields()), (QList<quint32>{letter.name, letter.town}));
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("NAME"));
        // Plain text pasted at a field's end takes the caret's format, without the field.
        QApplication::clipboard()->setText(QStringLiteral("xy"));
        letter.caretAt(9);
        letter.control.Clip(3);
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear NAMExy, from TOWN.NAME"));
        QCOMPARE(letter.fieldText(letter.name), QStringLiteral("NAME"));
    }

    void fieldsSurviveStoreAndLoadInTheOwnFormat()
    {
        Letter letter;
        TextFields& fields = letter.control.Fields();
        // Rich content before the fields: a list and a table, whose positions the stored ones must match.
        QTextCursor cursor(letter.control.document());
        cursor.insertList(QTextListFormat::ListDisc);
        cursor.insertText(QStringLiteral("item"));
        cursor.insertBlock();
        QTextTable* table = cursor.insertTable(2, 2);
        table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("cell"));
        QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
        const quint32 inCell = fields.Insert(cell, QStringLiteral("C"), 1);
        fields.SetAttribute(inCell, 32768);
        fields.SetValue(inCell, -7);
        fields.SetText(letter.town, QString());
        // An empty field at the end of the text.
        QTextCursor end(letter.control.document());
        end.movePosition(QTextCursor::End);
        fields.Insert(end, QString());
        const QList<TextField> before = fields.All();

        const Conversion saved = letter.control.Save(TextFormat::OwnFormat);
        RichTextControl loaded;
        QVERIFY(loaded.Load(saved.bytes, TextFormat::OwnFormat));
        // Qt reads a paragraph more behind the table: the fields move with their text.
        QList<TextField> moved = before;
        for (TextField& field : moved)
            field.start += field.id == inCell ? 0 : 1;
        QCOMPARE(loaded.Fields().All(), moved);
        QVERIFY(!loaded.Save(TextFormat::Html).bytes.contains("jornix-field"));
        // New fields of the loaded document get new ids.
        QTextCursor loadedEnd(loaded.document());
        loadedEnd.movePosition(QTextCursor::End);
        QVERIFY(loaded.Fields().Insert(loadedEnd, QStringLiteral("Z")) > before.last().id);
    }

    void aStoredFieldWithoutItsAnchorIsLookedForNearItsPosition()
    {
        QTextDocument text;
        text.setPlainText(QStringLiteral("Dear NAME, from TOWN."));
        OwnFormatContent content = *DecodeOwnFormat(WriteOwnFormat(text));
        content.fields = {{3, 0, {}, {}, 0, 0, 8, 4, QStringLiteral("NAME")},
                          {5, 0, {}, {}, 0, 0, 0, 7, QStringLiteral("NOWHERE")}};
        RichTextControl loaded;
        QVERIFY(loaded.Load(EncodeOwnFormat(content), TextFormat::OwnFormat));
        QCOMPARE(walk(loaded.Fields()), (QList<quint32>{3}));
        QCOMPARE(loaded.Fields().Field(3)->start, 5);
    }

    void documentsWithoutFieldsLoadAndDamagedFieldsAreRefused()
    {
        Letter letter;
        letter.control.Fields().SetText(letter.town, QString()); // an empty field too
        const QByteArray saved = letter.control.Save(TextFormat::OwnFormat).bytes;
        QVERIFY(saved.contains("FLDS"));

        // A document written before fields were stored: version 1.0, no section.
        QTextDocument plain;
        plain.setPlainText(QStringLiteral("Old"));
        OwnFormatContent old = *DecodeOwnFormat(WriteOwnFormat(plain));
        QByteArray oldBytes = EncodeOwnFormat(old);
        QVERIFY(!oldBytes.contains("FLDS"));
        qToLittleEndian(quint16(0), oldBytes.data() + 6);
        QVERIFY(letter.control.Load(oldBytes, TextFormat::OwnFormat));
        QVERIFY(letter.control.Fields().IsEmpty());

        QByteArray count(4, '\0');
        qToLittleEndian(quint32(1000000), count.data());
        for (const QByteArray& payload : {QByteArray("\x01"), count}) {
            RichTextControl damaged;
            QVERIFY(!damaged.Load(replaceFieldsSection(saved, payload), TextFormat::OwnFormat));
            QVERIFY(damaged.Fields().IsEmpty());
        }
        // Fields well stored in a document that is damaged elsewhere do not come either.
        OwnFormatContent elsewhere = *DecodeOwnFormat(saved);
        elsewhere.frames = "x";
        RichTextControl damaged;
        QVERIFY(!damaged.Load(EncodeOwnFormat(elsewhere), TextFormat::OwnFormat));
        QVERIFY(damaged.Fields().IsEmpty());
    }

    void loadingAndClearingRemoveEveryField_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("clear") << 0;
        QTest::newRow("plain text") << 1;
        QTest::newRow("RTF") << 2;
    }

    void loadingAndClearingRemoveEveryField()
    {
        QFETCH(int, way);
        Letter letter;
        letter.control.Fields().SetText(letter.town, QString());
        if (way == 0)
            letter.control.ClearDocument();
        else if (way == 1)
            QVERIFY(letter.control.Load("Dear NAME", TextFormat::PlainText));
        else
            QVERIFY(letter.control.Load(letter.control.Save(TextFormat::Rtf).bytes, TextFormat::Rtf));
        QVERIFY(letter.control.Fields().IsEmpty());
        QTextCursor cursor(letter.control.document());
        QCOMPARE(letter.control.Fields().Insert(cursor, QStringLiteral("A")), 1u);
    }
};

QTEST_MAIN(TextFieldsTest)
#include "tst_TextFields.moc"
