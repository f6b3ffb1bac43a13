#include "ScriptedMessageBoxes.h"

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

#include <QtTest>

using namespace jornix;

class ConversionsTest : public QObject
{
    Q_OBJECT

private slots:
    void saveToBufferFillsTheCallersBuffer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("extra"); // capacity = converted length + extra
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QStringList>("messages");

        const QByteArray text = "alpha\nbeta\n";
        QTest::newRow("one more: the text and one space")
            << "alpha\nbeta" << 1 << text + ' ' << QStringList();
        QTest::newRow("exactly the length: no space") << "alpha\nbeta" << 0 << text << QStringList();
        QTest::newRow("one less: too small, unchanged")
            << "alpha\nbeta" << -1 << QByteArray(text.size() - 1, '#')
            << QStringList{"Save Buffer To Small."};
        QTest::newRow("spaces fill the rest") << "alpha\nbeta" << 3 << text + "   " << QStringList();
        QTest::newRow("an empty document and one space") << "" << 1 << QByteArray("\n ") << QStringList();
    }
    void saveToBufferFillsTheCallersBuffer()
    {
        QFETCH(QString, text);
        QFETCH(int, extra);
        QFETCH(QByteArray, buffer);
        QFETCH(QStringList, messages);
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(text);

        const qint32 length = edit.GetSaveLength(TextFormat::PlainText, 0);
        QCOMPARE(length, text.isEmpty() ? 1 : qint32(text.toUtf8().size() + 1));
        QByteArray callers(length + extra, '#');
        qint32 reported = -7;
        ScriptedMessageBoxes boxes;
        edit.SaveToBuffer(callers, reported, 0, TextFormat::PlainText);
        QCOMPARE(callers, buffer);
        QCOMPARE(reported, length);
        QStringList shown;
        for (const MessageBoxRequest& box : boxes.asked) {
            QVERIFY(box.caption.isEmpty());
            QCOMPARE(box.buttons, int(MessageButton::Ok));
            shown << box.text;
        }
        QCOMPARE(shown, messages);
    }

    void aFormatTheControlCannotWriteLeavesBufferAndLength()
    {
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(QStringLiteral("text"));
        QByteArray buffer(20, '#');
        qint32 length = 0;
        ScriptedMessageBoxes boxes;
        edit.SaveToBuffer(buffer, length, 0, 2);
        QCOMPARE(buffer, QByteArray(20, '#'));
        QCOMPARE(length, 0);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked.first().text, QStringLiteral("Format 2 is not supported."));
    }

    void theSelectionConvertsAlone()
    {
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(QStringLiteral("alpha beta"));
        control.SetSelStart(6);
        control.SetSelLength(-1);
        const qint32 length = edit.GetSaveLength(TextFormat::PlainText, 1);
        QCOMPARE(length, 4);
        QByteArray buffer(length + 1, '#');
        qint32 reported = 0;
        edit.SaveToBuffer(buffer, reported, 1, TextFormat::PlainText);
        QCOMPARE(buffer, QByteArray("beta "));
    }
};

QTEST_MAIN(ConversionsTest)
#include "tst_Conversions.moc"
