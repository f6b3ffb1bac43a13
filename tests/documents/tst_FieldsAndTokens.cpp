#include "DocumentEditor.h"

#include "documents/MergeTokenTable.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/TextFields.h"
#include "platform/store/Catalogue.h"

#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>

using namespace jornix;

namespace {

void caretAt(RichTextControl& control, int position)
{
    QTextCursor caret = control.textCursor();
    caret.setPosition(position);
    control.setTextCursor(caret);
}

void caretToEnd(RichTextControl& control)
{
    caretAt(control, control.TextLength());
}

QList<quint32> walk(const TXEdit& edit)
{
    QList<quint32> ids;
    for (quint32 id = edit.NextField(0); id != 0; id = edit.NextField(id))
        ids.append(id);
    return ids;
}

// "Dear  Name of Town, name again.": three merge fields, two of one token.
struct Letter : Editor
{
    Letter()
    {
        control.setPlainText(QStringLiteral("Dear "));
        caretToEnd(control);
        edit.InsertMergeToken(QStringLiteral("PEO:Name"), QStringLiteral("Name  "));
        edit.SetSelText(QStringLiteral(" of "));
        edit.InsertMergeToken(QStringLiteral("PEO:Town "), QStringLiteral("Town"));
        edit.SetSelText(QStringLiteral(", "));
        edit.InsertMergeToken(QStringLiteral("peo:name"), QStringLiteral("name"));
        edit.SetSelText(QStringLiteral(" again."));
    }
};

// People with a name, a town and a number, in the record buffer of the running thread; no file is needed.
struct People
{
    Catalogue catalogue;
    Table& table = catalogue.AddTable(QStringLiteral("PEO:"), QString(), QStringLiteral("People"), 0)
                       .AddString(QStringLiteral("Name"), 30)
                       .AddString(QStringLiteral("Town"), 30)
                       .AddLong(QStringLiteral("Number"));

    void Show(const QString& name, const QString& town, int number)
    {
        table.Buffer().SetValue(QStringLiteral("PEO:Name"), name);
        table.Buffer().SetValue(QStringLiteral("PEO:Town"), town);
        table.Buffer().SetValue(QStringLiteral("PEO:Number"), number);
    }
};

// A merge token table file with the rows given as token and replacement text.
QString mergeTableFile(const QTemporaryDir& folder, const QList<std::pair<QString, QString>>& rows)
{
    Catalogue catalogue;
    Table& table = MergeTokenTable::Declare(catalogue, FileAttribute::Create);
    const QString path = folder.filePath(QStringLiteral("tokens.tps"));
    table.SetFilePath(path);
    if (!table.Open())
        return {};
    for (const auto& [token, replacement] : rows) {
        table.ClearBuffer();
        table.Buffer().SetValue(QStringLiteral("MRG:Description"), token);
        table.Buffer().SetValue(QStringLiteral("MRG:Token"), token);
        table.Buffer().SetValue(QStringLiteral("MRG:ReplacementText"), replacement);
        if (!table.Insert())
            return {};
    }
    table.Close();
    return path;
}

} // namespace

class FieldsAndTokensTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldsOfEachTypeAreMadeAndRead()
    {
        Editor editor;
        TXEdit& edit = editor.edit;
        editor.control.setPlainText(QStringLiteral("ab"));
        caretAt(editor.control, 1);
        const quint32 typed = edit.InsertTypedField(QStringLiteral("Typed"), QStringLiteral("type data"));
        edit.MarkTypedField(1, QStringLiteral("Marked"), QStringLiteral("marked data"));
        const quint32 marked = edit.NextField(typed);
        editor.control.SetSelStart(0);
        editor.control.SetSelLength(1);
        edit.InsertField(QStringLiteral("plain data"));
        const quint32 plain = edit.NextField(0);
        QCOMPARE(editor.control.Text(), QStringLiteral("aTypedMarkedb"));
        QCOMPARE(walk(edit), (QList<quint32>{plain, typed, marked}));
        QCOMPARE(editor.control.SelLength(), 0);
        QCOMPARE(editor.control.SelStart(), 1);

        QCOMPARE(edit.GetFieldType(plain), 2);
        QCOMPARE(edit.GetFieldData(plain), QStringLiteral("plain data"));
        QCOMPARE(edit.GetFieldType(typed), 1);
        QCOMPARE(edit.GetFieldTypeData(typed), QStringLiteral("type data"));
        QCOMPARE(edit.GetFieldType(marked), 3);
        QCOMPARE(edit.GetFieldTypeData(marked), QStringLiteral("marked data"));
        QCOMPARE(editor.control.Fields().Field(marked)->attribute, 32768);
        QCOMPARE(edit.GetFieldType(4711), -1);

        // Only type 1 is read as a typed field, only type 0 as a merge field.
        QString text, data;
        QCOMPARE(edit.ReadMergeField(typed, text, data), 1);
        QCOMPARE(text, QStringLiteral("Typed"));
        QCOMPARE(data, QStringLiteral("type data"));
        QCOMPARE(edit.ReadMergeField(marked, text, data), 0);
        QCOMPARE(edit.GetFieldText(typed, text, data), 0);
        caretAt(editor.control, 3);
        QCOMPARE(edit.ReadCurrentField(text, data), 1);
        caretAt(editor.control, 13);
        QCOMPARE(edit.ReadCurrentField(text, data), 0);

        edit.SetFieldTypeText(plain, QStringLiteral("now typed"));
        QCOMPARE(edit.GetFieldType(plain), 1);
        QCOMPARE(edit.GetFieldTypeData(plain), QStringLiteral("now typed"));
        QCOMPARE(edit.SetFieldData(plain, 12, QStringLiteral("new data")), 1);
        QCOMPARE(edit.GetFieldData(plain), QStringLiteral("new data"));
        QCOMPARE(editor.control.Fields().Field(plain)->value, 12);
        QCOMPARE(edit.SetFieldData(plain, 0, QStringLiteral("again")), 1);
        QCOMPARE(editor.control.Fields().Field(plain)->value, 12);

        // The mark of the field at the caret goes, its text stays.
        caretAt(editor.control, 8);
        edit.MarkTypedField(0, QString(), QString());
        QCOMPARE(walk(edit), (QList<quint32>{plain, typed}));
        edit.DeleteField(plain);
        caretAt(editor.control, 2);
        edit.DeleteCurrentField();
        QVERIFY(walk(edit).isEmpty());
        QCOMPARE(editor.control.Text(), QStringLiteral("aTypedMarkedb"));
    }

    void insertFieldAtTheEndMarksABlank_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("at the end") << 2 << "ab " << 1;
        QTest::newRow("inside: an empty field") << 1 << "ab" << 0;
    }

    void insertFieldAtTheEndMarksABlank()
    {
        QFETCH(int, caret);
        QFETCH(QString, text);
        QFETCH(int, length);
        Editor editor;
        editor.control.setPlainText(QStringLiteral("ab"));
        caretAt(editor.control, caret);
        editor.edit.InsertField(QStringLiteral("data"));
        QCOMPARE(editor.control.Text(), text);
        const quint32 id = editor.edit.NextField(0);
        QCOMPARE(editor.control.Fields().Field(id)->start, caret);
        QCOMPARE(editor.control.Fields().Field(id)->length, length);
    }

    void findFieldByDataSelectsTheFirstMatch()
    {
        Letter letter;
        letter.edit.FindFieldByData(QStringLiteral("peo:town  "));
        QCOMPARE(letter.control.SelText(), QStringLiteral("Town"));
        letter.edit.FindFieldByData(QStringLiteral("PEO:NAME"));
        QCOMPARE(letter.control.SelStart(), 6);
        QCOMPARE(letter.control.SelText(), QStringLiteral("Name"));
        letter.edit.FindFieldByData(QStringLiteral("nothing"));
        QCOMPARE(letter.control.SelStart(), 6);
    }

    void mergeTokensAreInsertedWithABlankBeforeTheFirst()
    {
        Letter letter;
        // The first token's marker field is gone; its blank stays before the first merge field.
        QCOMPARE(letter.control.Text(), QStringLiteral("Dear  Name of Town, name again."));
        const QList<TextField> fields = letter.control.Fields().All();
        QCOMPARE(fields.size(), 3);
        for (const TextField& field : fields)
            QCOMPARE(field.type, 0);
        QCOMPARE(fields[0].start, 6);
        QCOMPARE(fields[2].data, QStringLiteral("peo:name"));
        // Typing behind a token stays outside it.
        QCOMPARE(fields[1].text, QStringLiteral("Town"));

        letter.edit.CollectTokens();
        QCOMPARE(letter.edit.TokenCount(), 2);
        QCOMPARE(letter.edit.GetTokenName(1), QStringLiteral("PEO:NAME"));
        QCOMPARE(letter.edit.GetTokenName(2), QStringLiteral("PEO:TOWN"));
        QCOMPARE(letter.edit.GetTokenValue(2), QString());
        for (int row : {0, 3, -1}) {
            QCOMPARE(letter.edit.GetTokenName(row), QStringLiteral("0"));
            QCOMPARE(letter.edit.GetTokenValue(row), QStringLiteral("0"));
        }

        // The caret stands behind the new field, and typing there stays outside it.
        Editor editor;
        editor.control.setPlainText(QStringLiteral("ab"));
        caretAt(editor.control, 1);
        editor.edit.InsertMergeToken(QStringLiteral("T"), QStringLiteral("xyz  "));
        QCOMPARE(editor.control.Text(), QStringLiteral("a xyzb"));
        QCOMPARE(editor.control.textCursor().position(), 5);
        QVERIFY(!editor.control.textCursor().hasSelection());
        QTest::keyClicks(&editor.control, QStringLiteral("!"));
        QCOMPARE(editor.control.Fields().All().first().text, QStringLiteral("xyz"));
    }

    void collectingSkipsALeftoverMarker()
    {
        Editor editor;
        QTextCursor cursor(editor.control.document());
        const quint32 marker = editor.control.Fields().Insert(cursor, QStringLiteral(" "));
        editor.control.Fields().SetData(marker, QStringLiteral("VERY FIRST TOKEN"));
        editor.control.setTextCursor(cursor);
        editor.edit.InsertMergeToken(QStringLiteral("A"), QStringLiteral("a"));
        editor.edit.CollectTokens();
        QCOMPARE(editor.edit.TokenCount(), 1);
        QCOMPARE(editor.edit.GetTokenName(1), QStringLiteral("A"));
        // The document had a merge field already: no blank more.
        QCOMPARE(editor.control.Text(), QStringLiteral(" a"));
    }

    void mergeFieldsGetTheirTexts_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("text");
        QTest::newRow("token names") << 0 << ""
                                     << ""
                                     << "Dear  <<PEO:Name>> of <<PEO:Town>>, <<peo:name>> again.";
        QTest::newRow("by token, case and blanks aside") << 1 << "PEO:NAME  "
                                                         << "Anna"
                                                         << "Dear  Anna of Town, Anna again.";
        QTest::newRow("by token: empty") << 1 << "peo:town"
                                         << ""
                                         << "Dear  Name of , name again.";
        QTest::newRow("by shown text, case aside") << 2 << "NAME"
                                                   << "Bob"
                                                   << "Dear  Bob of Town, Bob again.";
        QTest::newRow("by shown text: none") << 2 << "Nam"
                                             << "Bob"
                                             << "Dear  Name of Town, name again.";
    }

    void mergeFieldsGetTheirTexts()
    {
        QFETCH(int, operation);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, text);
        Letter letter;
        letter.control.document()->clearUndoRedoStacks();
        const QString before = letter.control.Text();
        if (operation == 0)
            letter.edit.ShowTokenNames();
        else if (operation == 1)
            letter.edit.SetMergeFieldText(first, second);
        else
            letter.edit.ReplaceFieldText(first, second);
        QCOMPARE(letter.control.Text(), text);
        QCOMPARE(letter.control.Fields().All().size(), 3);
        // All of it is one step to undo.
        if (letter.control.Text() != before) {
            letter.control.undo();
            QCOMPARE(letter.control.Text(), before);
        }
    }

    void tokensAreEvaluatedOverTheMergeRecord()
    {
        QTemporaryDir folder;
        const QString tokens = mergeTableFile(
            folder,
            {{QStringLiteral("<<GREETING>>"), QStringLiteral("'Dear ' & PEO:Name & ' of ' & PEO:Town")},
             {QStringLiteral("{{Broken}}"), QStringLiteral("PEO:Name &")}});
        QVERIFY(!tokens.isEmpty());
        People people;
        Editor editor;
        TXEdit& edit = editor.edit;
        edit.InsertMergeToken(QStringLiteral("PEO:Name"), QStringLiteral("<<PEO:Name>>"));
        edit.InsertMergeToken(QStringLiteral("<<greeting>>"), QStringLiteral("<<greeting>>"));
        edit.InsertMergeToken(QStringLiteral("PEO:Number * 2"), QStringLiteral("<<twice>>"));
        edit.InsertMergeToken(QStringLiteral("PEO:Missing"), QStringLiteral("<<missing>>"));
        edit.InsertMergeToken(QStringLiteral("{{Broken}}"), QStringLiteral("<<broken>>"));
        edit.InsertMergeToken(QStringLiteral("((none))"), QStringLiteral("<<none>>"));
        edit.SetMailFileName(&people.table);
        QVERIFY(edit.OpenMergeTable(tokens + QStringLiteral("   ")));

        people.Show(QStringLiteral("Anna"), QStringLiteral("Leeds"), 21);
        edit.EvaluateMergeTokens();
        const QString unchanged = QStringLiteral("<<missing>><<broken>><<none>>");
        QCOMPARE(editor.control.Text(), QStringLiteral(" AnnaDear Anna of Leeds42") + unchanged);
        QCOMPARE(edit.GetTokenName(1), QStringLiteral("PEO:NAME"));
        QCOMPARE(edit.GetTokenValue(1), QStringLiteral("Anna"));
        QCOMPARE(edit.GetTokenValue(3), QStringLiteral("42"));
        QCOMPARE(edit.GetTokenValue(4), QString());

        people.Show(QStringLiteral("Bob"), QString(), 0);
        edit.EvaluateMergeTokens();
        QCOMPARE(editor.control.Text(), QStringLiteral(" BobDear Bob of 0") + unchanged);
        QCOMPARE(editor.control.Fields().All().size(), 6);

        // Without the table the bracketed tokens stay as they are.
        edit.CloseMergeTable();
        people.Show(QStringLiteral("Cy"), QStringLiteral("York"), 1);
        edit.EvaluateMergeTokens();
        QCOMPARE(editor.control.Text(), QStringLiteral(" CyDear Bob of 2") + unchanged);
    }

    void aMergeTableThatCannotBeOpenedSaysWhy()
    {
        QTemporaryDir folder;
        Editor editor;
        QString error;
        QVERIFY(!editor.edit.OpenMergeTable(folder.filePath(QStringLiteral("none.tps")), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("none.tps"))));
    }

    void fieldColoursAreKeptAndGivenBack()
    {
        Letter letter;
        TextFields& fields = letter.control.Fields();
        const QList<TextField> all = fields.All();
        // The second field has a colour of its own, the others none; a typed field is no merge field.
        letter.edit.SelectField(all[1].id);
        QTextCharFormat red;
        red.setForeground(QColor(Qt::red));
        letter.control.textCursor().mergeCharFormat(red);
        caretToEnd(letter.control);
        const quint32 typed = letter.edit.InsertTypedField(QStringLiteral("T"), QString());
        const int caret = letter.control.textCursor().position();

        auto colourOf = [&](quint32 id) {
            QTextCursor cursor(letter.control.document());
            cursor.setPosition(fields.Field(id)->start + 1);
            return cursor.charFormat().foreground();
        };
        letter.edit.HighlightFields(QColor(Qt::yellow));
        letter.edit.HighlightFields(QColor(Qt::green));
        for (const TextField& field : all)
            QCOMPARE(colourOf(field.id).color(), QColor(Qt::green));
        QCOMPARE(colourOf(typed).style(), Qt::NoBrush);
        QCOMPARE(letter.control.textCursor().position(), caret);

        letter.edit.RestoreFieldColours();
        QCOMPARE(colourOf(all[0].id).style(), Qt::NoBrush);
        QCOMPARE(colourOf(all[1].id).color(), QColor(Qt::red));
        letter.edit.RestoreFieldColours(); // the list is empty now
        QCOMPARE(colourOf(all[1].id).color(), QColor(Qt::red));

        letter.edit.MarkFieldsInColour(QColor(Qt::blue), 1);
        for (quint32 id : {all[0].id, typed}) {
            QCOMPARE(colourOf(id).color(), QColor(Qt::blue));
            QTextCursor cursor(letter.control.document());
            cursor.setPosition(fields.Field(id)->start + 1);
            QVERIFY(cursor.charFormat().fontUnderline());
        }
        QVERIFY(!letter.control.textCursor().hasSelection());
    }

    void fieldsSurviveStoreAndLoad()
    {
        Letter letter;
        letter.edit.SetMergeFieldText(QStringLiteral("PEO:Town"), QString());
        letter.control.SetHeaderFooterOn(HeaderFooter::Header, true);
        letter.control.SetHeaderFooterText(HeaderFooter::Header, QStringLiteral("Head"));
        const QList<TextField> before = letter.control.Fields().All();
        QByteArray blob;
        letter.edit.SaveToBlob(blob);
        Editor loaded;
        QVERIFY(loaded.edit.LoadFromBlob(blob));
        QCOMPARE(loaded.control.Fields().All(), before);
        QCOMPARE(loaded.control.HeaderFooterText(HeaderFooter::Header), QStringLiteral("Head"));
        loaded.edit.CollectTokens();
        QCOMPARE(loaded.edit.TokenCount(), 2);
    }

    void newDocumentRemovesEveryField_data()
    {
        QTest::addColumn<bool>("withText");
        QTest::newRow("three hundred fields") << true;
        QTest::newRow("only empty fields") << false;
    }

    void newDocumentRemovesEveryField()
    {
        QFETCH(bool, withText);
        Editor editor;
        QTextCursor cursor(editor.control.document());
        for (int i = 0; i < 300; ++i) {
            editor.control.Fields().Insert(cursor, withText ? QStringLiteral("f%1").arg(i) : QString());
            if (withText)
                cursor.insertText(QStringLiteral(" "));
        }
        QCOMPARE(editor.control.Fields().All().size(), 300);
        QCOMPARE(editor.edit.NewDocument(1), 1);
        QVERIFY(editor.control.Fields().IsEmpty());
        QCOMPARE(editor.edit.NextField(0), 0u);
        QCOMPARE(editor.control.TextLength(), 0);
    }
};

QTEST_MAIN(FieldsAndTokensTest)
#include "tst_FieldsAndTokens.moc"
