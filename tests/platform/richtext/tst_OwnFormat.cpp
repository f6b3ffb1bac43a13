#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/ParagraphFrames.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextTable>
#include <QTextEdit>
#include <QtTest>

using namespace jornix;

namespace {

QByteArray section(const char* tag, const QByteArray& payload)
{
    char length[4];
    qToLittleEndian(quint32(payload.size()), length);
    return QByteArray(tag, 4) + QByteArray(length, 4) + payload;
}

QByteArray prefix(quint16 major = 1, quint16 minor = 0)
{
    char versions[4];
    qToLittleEndian(major, versions);
    qToLittleEndian(minor, versions + 2);
    return QByteArray("JXRT", 4) + QByteArray(versions, 4);
}

QByteArray imagePayload(const QByteArray& name, const QByteArray& png)
{
    char length[2];
    qToLittleEndian(quint16(name.size()), length);
    return QByteArray(length, 2) + name + png;
}

const QByteArray Html = "<p>Hello</p>";

} // namespace

class OwnFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void writtenDocumentsNeverStartWithThePageHeaderMark()
    {
        QTextDocument empty;
        QTextDocument text;
        text.setPlainText(QStringLiteral("Hello"));
        for (const QTextDocument* document : {&empty, &text}) {
            const QByteArray bytes = WriteOwnFormat(*document);
            QVERIFY(qFromLittleEndian<qint32>(bytes.constData()) != 23);
            QVERIFY(IsOwnFormat(bytes));
        }
    }

    void classifierTellsOwnDocumentsFromOthers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ownFormat");

        const QByteArray valid = prefix() + section("HTML", Html);
        QTest::newRow("a document") << valid << true;
        QTest::newRow("with a section of a later minor version")
            << prefix(1, 3) + section("HTML", Html) + section("XTRA", "later") << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("the prefix alone") << prefix() << false;
        QTest::newRow("cut short by one byte") << valid.chopped(1) << false;
        QTest::newRow("a byte after the last section") << valid + 'x' << false;
        QTest::newRow("a section length beyond the end") << prefix() + section("HTML", Html).left(8) << false;
        QTest::newRow("a major version it does not know") << prefix(2) + section("HTML", Html) << false;
        QTest::newRow("two HTML sections") << valid + section("HTML", Html) << false;
        QTest::newRow("no HTML section") << prefix() + section("IMG ", imagePayload("a", "")) << false;
        QTest::newRow("an RTF text") << QByteArray("{\\rtf1\\ansi Hello}") << false;
        QTest::newRow("a stored document with its page header")
            << QByteArray("\x17\0\0\0", 4) + QByteArray(26, '\0') + valid << false;
    }
    void classifierTellsOwnDocumentsFromOthers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ownFormat);
        QCOMPARE(IsOwnFormat(bytes), ownFormat);
        QCOMPARE(DecodeOwnFormat(bytes).has_value(), ownFormat);
    }

    void damagedDocumentsLoadAsNoDocument_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("an image that is no PNG") << prefix() + section("HTML", "<img src=\"a\">") +
                                                        section("IMG ", imagePayload("a", "not a png"));
        QTest::newRow("an image name longer than its section")
            << prefix() + section("HTML", Html) + section("IMG ", QByteArray("\xff\x00", 2) + "a");
        QTest::newRow("an image section without a name length")
            << prefix() + section("HTML", Html) + section("IMG ", "a");
        QTest::newRow("foreign bytes") << QByteArray("PK\x03\x04 a zip file");
    }
    void damagedDocumentsLoadAsNoDocument()
    {
        QFETCH(QByteArray, bytes);
        QTextDocument document;
        document.setPlainText(QStringLiteral("earlier text"));
        QVERIFY(!ReadOwnFormat(bytes, document));
        QVERIFY(document.isEmpty());
    }

    void imagesTravelAsDataWithTheirNames()
    {
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(Qt::red);
        QTextDocument source;
        QTextCursor(&source).insertImage(image, QStringLiteral("picture-1"));
        const std::optional<OwnFormatContent> content = DecodeOwnFormat(WriteOwnFormat(source));
        QVERIFY(content);
        QCOMPARE(content->images.size(), 1);
        QCOMPARE(content->images.first().name, QStringLiteral("picture-1"));
        QVERIFY(content->images.first().png.startsWith("\x89PNG"));

        QTextDocument loaded;
        QVERIFY(ReadOwnFormat(EncodeOwnFormat(*content), loaded));
        const QImage back =
            loaded.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture-1"))).value<QImage>();
        QCOMPARE(back.size(), QSize(7, 5));
        QCOMPARE(back.pixelColor(3, 2), QColor(Qt::red));
    }

    void namedStylesTravelWithTheDocument()
    {
        QTextDocument source;
        QTextCursor cursor(&source);
        cursor.insertText(QStringLiteral("Heading"));
        NamedStyle heading;
        heading.name = QStringLiteral("Heading");
        heading.character.setFontFamilies({QStringLiteral("DejaVu Serif")});
        heading.character.setFontPointSize(18.5);
        heading.character.setFontWeight(QFont::Bold);
        heading.character.setFontItalic(true);
        heading.character.setFontUnderline(false);
        heading.character.setFontStrikeOut(false);
        heading.character.setForeground(QColor(0x80, 0, 0));
        heading.paragraph.setAlignment(Qt::AlignHCenter);
        heading.paragraph.setLeftMargin(48); // half an inch in layout units
        heading.paragraph.setTextIndent(-24);
        heading.paragraph.setTopMargin(8); // 6 points
        heading.paragraph.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        NamedStyle quote;
        quote.name = QStringLiteral("Quote");
        quote.character.setFontItalic(true); // a style may set only some properties
        const QList<NamedStyle> styles = {heading, quote};

        QVERIFY(!WriteOwnFormat(source).contains("STYL")); // no section without styles
        const QByteArray bytes = WriteOwnFormat(source, styles);
        const std::optional<OwnFormatContent> content = DecodeOwnFormat(bytes);
        QVERIFY(content);
        QCOMPARE(content->styles, styles);
        QTextDocument loaded;
        QList<NamedStyle> read;
        QVERIFY(ReadOwnFormat(bytes, loaded, &read));
        QCOMPARE(read, styles);
        QCOMPARE(loaded.toPlainText(), QStringLiteral("Heading"));
        QCOMPARE(FindNamedStyle(read, QStringLiteral(" quote ")), 1);
    }

    void documentsWithoutReadableStylesStillLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("styles");

        QTest::newRow("a document of version 1.0") << prefix(1, 0) + section("HTML", Html) << QStringList();
        QTest::newRow("a styles section that is no JSON")
            << prefix(1, 1) + section("HTML", Html) + section("STYL", "{\"styles\": [") << QStringList();
        QTest::newRow("styles without a name, twice named or no object")
            << prefix(1, 1) + section("HTML", Html) +
                   section("STYL", R"({"styles": [{"name": " "}, {"name": "Note"}, 5, {"name": "NOTE"},
                                     {"name": "Small", "size": "big", "alignment": 9, "left": 1e9}]})")
            << QStringList{QStringLiteral("Note"), QStringLiteral("Small")};
    }
    void documentsWithoutReadableStylesStillLoad()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, styles);
        QTextDocument document;
        QList<NamedStyle> read = {NamedStyle{QStringLiteral("earlier"), {}, {}}};
        QVERIFY(ReadOwnFormat(bytes, document, &read));
        QCOMPARE(document.toPlainText(), QStringLiteral("Hello"));
        QStringList names;
        for (const NamedStyle& style : read) {
            names.append(style.name);
            // A value of the wrong kind or out of its range is passed over.
            QVERIFY(!style.character.hasProperty(QTextFormat::FontPointSize));
            QVERIFY(!style.paragraph.hasProperty(QTextFormat::BlockAlignment));
            QVERIFY(!style.paragraph.hasProperty(QTextFormat::BlockLeftMargin));
        }
        QCOMPARE(names, styles);
    }

    // Qt reads the HTML back with a paragraph more behind a table: the frames stay on their paragraphs.
    void paragraphFramesStayOnTheirParagraphsBehindTables()
    {
        QTextDocument source;
        source.setPlainText(QStringLiteral("after"));
        QTextCursor cursor(&source);
        cursor.insertList(QTextListFormat::ListDisc);
        cursor.insertText(QStringLiteral("before"));
        cursor.insertBlock();
        QTextTable* table = cursor.insertTable(2, 2);
        table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("cell"));
        for (const QTextCursor::MoveOperation paragraph : {QTextCursor::Start, QTextCursor::End}) {
            cursor.movePosition(paragraph);
            if (paragraph == QTextCursor::Start)
                cursor.movePosition(QTextCursor::NextBlock); // "before"
            SetParagraphFrames(cursor, FrameStyle::Left | FrameStyle::Bottom, 60, 20);
        }
        const auto framed = [](const QTextDocument& document) {
            QStringList texts;
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
                if (block.blockFormat().hasProperty(FrameProperty::Style))
                    texts.append(block.text());
            return texts;
        };
        QCOMPARE(framed(source), (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
        QTextDocument loaded;
        QVERIFY(ReadOwnFormat(WriteOwnFormat(source), loaded));
        QCOMPARE(framed(loaded), framed(source));
        QTextDocument again; // and stored once more, with the paragraph Qt added
        QVERIFY(ReadOwnFormat(WriteOwnFormat(loaded), again));
        QCOMPARE(framed(again), framed(source));
    }

    void aStoredDocumentNeverReadsAFileItNames()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/outside.png");
        QImage outside(4, 4, QImage::Format_RGB32);
        outside.fill(Qt::green);
        QVERIFY(outside.save(path));

        OwnFormatContent content;
        content.html = QStringLiteral("<p>Look <img src=\"%1\"></p>").arg(path);
        QTextEdit view; // a laid-out document, as the editor shows it
        QVERIFY(ReadOwnFormat(EncodeOwnFormat(content), *view.document()));
        view.resize(300, 200);
        view.show();
        const QImage shown =
            view.document()->resource(QTextDocument::ImageResource, QUrl(path)).value<QImage>();
        QCOMPARE(shown.size(), QSize(1, 1));
        const std::optional<OwnFormatContent> saved = DecodeOwnFormat(WriteOwnFormat(*view.document()));
        QVERIFY(saved);
        for (const OwnFormatImage& picture : saved->images) {
            QImage image;
            QVERIFY(image.loadFromData(picture.png, "PNG"));
            QCOMPARE(image.size(), QSize(1, 1)); // the file's picture never travels with the document
        }
    }
};

QTEST_MAIN(OwnFormatTest)
#include "tst_OwnFormat.moc"
