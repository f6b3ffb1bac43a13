#include "platform/richtext/PagePainter.h"
#include "platform/richtext/Rtf.h"

#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace jornix;

namespace {

// What a reader has to keep of a document, one line per paragraph and one per run, so that a failed
// comparison shows where the documents part.
QString describe(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QString line = QStringLiteral("block align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6 tabs=%7 break=%8")
                           .arg(int(format.alignment() & Qt::AlignHorizontal_Mask))
                           .arg(qRound(format.leftMargin()))
                           .arg(qRound(format.rightMargin()))
                           .arg(qRound(format.textIndent()))
                           .arg(qRound(format.topMargin()))
                           .arg(qRound(format.bottomMargin()))
                           .arg(format.tabPositions().size())
                           .arg(format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore ? 1 : 0);
        if (const QTextList* list = block.textList())
            line +=
                QStringLiteral(" list=%1/%2").arg(int(list->format().style())).arg(list->format().indent());
        QTextCursor at(block);
        if (const QTextTable* table = at.currentTable()) {
            const QTextTableCell cell = table->cellAt(block.position());
            line += QStringLiteral(" cell=%1,%2 of %3x%4")
                        .arg(cell.row())
                        .arg(cell.column())
                        .arg(table->rows())
                        .arg(table->columns());
        }
        lines << line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                const QImage picture =
                    document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
                lines << QStringLiteral("  image %1x%2 of %3x%4")
                             .arg(qRound(image.width()))
                             .arg(qRound(image.height()))
                             .arg(picture.width())
                             .arg(picture.height());
                continue;
            }
            lines << QStringLiteral("  run \"%1\" %2 %3pt b=%4 i=%5 u=%6 s=%7 fg=%8 bg=%9 v=%10")
                         .arg(it.fragment().text(), f.fontFamilies().toStringList().value(0))
                         .arg(f.fontPointSize())
                         .arg(f.fontWeight() > QFont::Medium)
                         .arg(f.fontItalic())
                         .arg(f.fontUnderline())
                         .arg(f.fontStrikeOut())
                         .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                                          : "-")
                         .arg(f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name()
                                                                          : "-")
                         .arg(int(f.verticalAlignment()));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QTextCharFormat run(const QString& family, qreal points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

// A document that uses every part of the subset.
void fillWholeSubset(QTextDocument& document)
{
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(8);
    centred.setBottomMargin(4);
    cursor.setBlockFormat(centred);
    QTextCharFormat bold = run("Arial", 14);
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Heading "), bold);
    QTextCharFormat coloured = run("Courier New", 10);
    coloured.setForeground(QColor(0, 128, 0));
    coloured.setBackground(QColor(255, 255, 0));
    coloured.setFontItalic(true);
    cursor.insertText(QStringLiteral("Grüße € {braces} \\ back"), coloured);

    QTextBlockFormat indented;
    indented.setLeftMargin(48);
    indented.setRightMargin(24);
    indented.setTextIndent(-12);
    indented.setAlignment(Qt::AlignJustify);
    indented.setTabPositions(
        {QTextOption::Tab(96, QTextOption::LeftTab), QTextOption::Tab(200, QTextOption::RightTab)});
    cursor.insertBlock(indented);
    QTextCharFormat under = run("Arial", 12);
    under.setFontUnderline(true);
    cursor.insertText(QStringLiteral("a\tb"), under);
    QTextCharFormat struck = run("Arial", 12);
    struck.setFontStrikeOut(true);
    cursor.insertText(QStringLiteral(" struck") + QChar::LineSeparator + QStringLiteral("next line"), struck);
    QTextCharFormat superscript = run("Arial", 12);
    superscript.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("2"), superscript);
    QTextCharFormat subscript = run("Arial", 12);
    subscript.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    cursor.insertText(QStringLiteral("x"), subscript);

    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("first bullet"), run("Arial", 12));
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    bullets.setIndent(1);
    cursor.createList(bullets);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second bullet"), run("Arial", 12));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("numbered inside"), run("Arial", 12));
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListDecimal);
    numbers.setIndent(2);
    cursor.createList(numbers);

    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(newPage);
    cursor.insertText(QStringLiteral("On a new page "), run("Arial", 12));
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    document.addResource(QTextDocument::ImageResource, QUrl("picture.png"), picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture.png"));
    image.setWidth(32);
    image.setHeight(16);
    cursor.insertImage(image);

    cursor.insertBlock(QTextBlockFormat());
    QTextTableFormat tableFormat;
    tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100),
                                           QTextLength(QTextLength::FixedLength, 120),
                                           QTextLength(QTextLength::FixedLength, 80)});
    QTextTable* table = cursor.insertTable(2, 3, tableFormat);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
            cell.insertText(QStringLiteral("r%1c%2").arg(row).arg(column), run("Arial", 12));
            if (row == 1 && column == 2) {
                cell.insertBlock();
                cell.insertText(QStringLiteral("second paragraph"), run("Arial", 12));
            }
        }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("after the table"), run("Arial", 12));
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

const PageSettings WidePage{11800, 15000, 1000, 1100, 1200, 1300};

} // namespace

class RtfTest : public QObject
{
    Q_OBJECT

private slots:
    // Cell boundaries from outside may be any number: what is written back stays positive and rising, and
    // no sum of widths overflows.
    void tableWidthsFromOutsideAreBounded_data()
    {
        QTest::addColumn<QByteArray>("cells");
        QTest::newRow("a boundary beyond every int") << QByteArray("\\cellx2999999999000\\cellx2999999999000");
        QTest::newRow("the largest int, twice") << QByteArray("\\cellx2147483647\\cellx2147483647");
        QTest::newRow("a small one, then the largest")
            << QByteArray("\\cellx100\\cellx2147483647\\cellx2147483647");
        QTest::newRow("negative") << QByteArray("\\cellx-2147483647\\cellx-5");
        QTest::newRow("sixty cells of the largest") << QByteArray("\\cellx2147483647").repeated(60);
    }
    void tableWidthsFromOutsideAreBounded()
    {
        QFETCH(QByteArray, cells);
        const QByteArray rtf = "{\\rtf1\\ansi\\trowd" + cells + " \\pard\\intbl a\\cell b\\cell\\row}";
        QTextDocument document;
        QVERIFY(ReadRtf(rtf, document));
        const QByteArray written = WriteRtf(document, PageSettings{});
        const QRegularExpression boundary(QStringLiteral("\\\\cellx(-?\\d+)"));
        int previous = 0, count = 0;
        for (const QRegularExpressionMatch& match : boundary.globalMatch(QString::fromLatin1(written))) {
            const qlonglong value = match.captured(1).toLongLong();
            QVERIFY2(value > previous && value <= MaxRtfTableTwips + 64, written.constData());
            previous = int(value);
            ++count;
        }
        QVERIFY2(count > 0, written.constData());
    }

    void charactersReadAsTheyAreMeant_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");

        QTest::newRow("the document's code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9}") << "Café";
        QTest::newRow("another code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << "При";
        QTest::newRow("a double-byte code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}") << "あ";
        QTest::newRow("the code page of the font's character set")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset204 Arial;}}\\f1 \\'c4\\'e0}") << "Да";
        QTest::newRow("Unicode skips its fallback") << QByteArray("{\\rtf1 \\u8364?x\\u-257?}") << "€x\uFEFF";
        QTest::newRow("a longer fallback") << QByteArray("{\\rtf1\\uc2 \\u8364\\'80\\'80y}") << "€y";
        QTest::newRow("a fallback ends with its group") << QByteArray("{\\rtf1\\uc3 {\\u8364}z}") << "€z";
        QTest::newRow("escapes and special characters")
            << QByteArray("{\\rtf1 \\{a\\}\\\\\\~b\\tab c\\line d\\emdash\\bullet}")
            << "{a}\\\u00A0b\tc\u2028d\u2014\u2022";
        QTest::newRow("skipped destinations")
            << QByteArray("{\\rtf1{\\stylesheet{\\s1 Normal;}}{\\info{\\title T}}{\\*\\unknown x}{\\header h}"
                          "{\\footnote f}shown}")
            << "shown";
        QTest::newRow("the result of a field")
            << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} after}")
            << "link after";
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v hidden}b}") << "ab";
        QTest::newRow("paragraphs and a page break")
            << QByteArray("{\\rtf1 one\\par two\\page three\\sect four}") << "one\ntwo\nthree\nfour";
        QTest::newRow("without the rtf word") << QByteArray("{\\b X}") << "X";
        QTest::newRow("after the end nothing") << QByteArray("{\\rtf1 in}out") << "in";
    }
    void charactersReadAsTheyAreMeant()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument document;
        QVERIFY(ReadRtf(rtf, document));
        QCOMPARE(document.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')), text);
    }

    void listsOfBothKindsBecomeLists_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("style");
        QTest::newRow("numbered, the older kind")
            << QByteArray("{\\rtf1 {\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}one\\par}")
            << int(QTextListFormat::ListDecimal);
        QTest::newRow("bullets, the older kind")
            << QByteArray("{\\rtf1 {\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}one\\par}")
            << int(QTextListFormat::ListDisc);
        QTest::newRow("by the list table")
            << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4}\\listid7}}"
                          "{\\*\\listoverridetable{\\listoverride\\listid7\\ls2}}{\\listtext a)}\\ls2\\ilvl0 "
                          "one\\par}")
            << int(QTextListFormat::ListLowerAlpha);
    }
    void listsOfBothKindsBecomeLists()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, style);
        QTextDocument document;
        QVERIFY(ReadRtf(rtf, document));
        QCOMPARE(document.toPlainText(), QStringLiteral("one"));
        QVERIFY(document.begin().textList());
        QCOMPARE(int(document.begin().textList()->format().style()), style);
    }

    void whatIsNoRtfChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain text") << QByteArray("just text");
        QTest::newRow("a brace and text") << QByteArray("{ text }");
        QTest::newRow("nothing") << QByteArray();
    }
    void whatIsNoRtfChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QTextDocument document;
        document.setPlainText(QStringLiteral("kept"));
        PageSettings page = WidePage;
        QVERIFY(!ReadRtf(bytes, document, &page));
        QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
        QCOMPARE(page, WidePage);
    }

    void ourRtfReadsBackWithTheSameStructure()
    {
        QTextDocument original;
        fillWholeSubset(original);
        const QByteArray rtf = WriteRtf(original, WidePage);
        for (const char c : rtf)
            QVERIFY2(uchar(c) < 0x80, "RTF is 7-bit text");

        QTextDocument read;
        PageSettings page;
        QVERIFY(ReadRtf(rtf, read, &page));
        QCOMPARE(describe(read), describe(original));
        QCOMPARE(page, WidePage);
        QCOMPARE(WriteRtf(read, page), rtf);
    }

    void anotherReaderSeesTheSameText()
    {
        QTextDocument original;
        fillWholeSubset(original);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("whole.rtf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(WriteRtf(original, WidePage));
        file.close();

        // unrtf writes its text after a line of dashes, a table cell by cell, and "?" for every character
        // outside ASCII.
        const QString output =
            runTool(QStringLiteral("unrtf"), {QStringLiteral("--text"), QStringLiteral("--nopict"), path});
        const QString separator = QStringLiteral("-----------------\n");
        QVERIFY2(output.contains(separator), qPrintable(output));
        const QString seen = output.mid(output.indexOf(separator) + separator.size())
                                 .remove(QRegularExpression(QStringLiteral("###[^\\n]*")));
        QString expected;
        for (const QChar c : original.toPlainText())
            if (c != QChar::ObjectReplacementCharacter)
                expected += c.unicode() < 0x80 ? c : QLatin1Char('?');
        QCOMPARE(seen.simplified(), expected.simplified());
    }

    void theSelectionIsWrittenAlone()
    {
        QTextDocument document;
        fillWholeSubset(document);
        QTextCursor selection(&document);
        selection.setPosition(0);
        selection.setPosition(7, QTextCursor::KeepAnchor);
        QTextDocument read;
        QVERIFY(ReadRtf(WriteRtf(selection), read));
        QCOMPARE(read.toPlainText(), QStringLiteral("Heading"));
        QVERIFY(read.begin().begin().fragment().charFormat().fontWeight() == QFont::Bold);
    }

    void damagedRtfNeverCrashesTheReader()
    {
        QTextDocument whole;
        fillWholeSubset(whole);
        const QByteArray rtf = WriteRtf(whole, WidePage);
        for (int cut = 0; cut < rtf.size(); cut += 1 + cut / 40) {
            QTextDocument document;
            QVERIFY(ReadRtf(rtf.left(cut < 2 ? 2 : cut), document) || cut < 2);
        }
        // Changed bytes, without the picture: a picture changed inside only makes the image reader complain.
        QByteArray withoutPicture = rtf;
        const qsizetype picture = withoutPicture.indexOf("{\\pict");
        withoutPicture.remove(picture, withoutPicture.indexOf('}', picture) + 1 - picture);
        const QByteArray alphabet = "{}\\'ab0123-*; \\uc\\u\\bin\\cell\\row\\intbl\\par\\pict\\trowd";
        QRandomGenerator random(23);
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = withoutPicture;
            for (int change = 0; change < 20; ++change)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            QByteArray noise = "{\\";
            for (int i = 0; i < 200; ++i)
                noise += alphabet[random.bounded(int(alphabet.size()))];
            QTextDocument document;
            QVERIFY(ReadRtf("{\\" + bytes.mid(2), document));
            QVERIFY(ReadRtf(noise, document));
        }
        QTextDocument deep;
        QVERIFY(ReadRtf("{\\rtf1 " + QByteArray(100000, '{') + "deep", deep));
        QCOMPARE(deep.toPlainText(), QStringLiteral("deep"));
    }

    void aPdfHasThePagesOfTheDocument()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextBlockFormat newPage;
        newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertText(QStringLiteral("alpha"));
        cursor.insertBlock(newPage);
        cursor.insertText(QStringLiteral("beta"));
        cursor.insertBlock(newPage);
        cursor.insertText(QStringLiteral("gamma"));

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("pages.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(WritePdf(document, {11800, 15000, 1440, 1440, 1440, 1440}));
        file.close();

        const QString info = runTool(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+3\\n")), qPrintable(info));
        QVERIFY2(info.contains(QLatin1String("590 x 750 pts")), qPrintable(info));
        const QStringList words{"alpha", "beta", "gamma"};
        for (int page = 1; page <= 3; ++page) {
            const QString text = runTool(QStringLiteral("pdftotext"), {"-f", QString::number(page), "-l",
                                                                       QString::number(page), path, "-"});
            QCOMPARE(text.simplified(), words[page - 1]);
        }
    }
};

QTEST_MAIN(RtfTest)
#include "tst_Rtf.moc"
