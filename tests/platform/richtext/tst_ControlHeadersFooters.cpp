#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QtTest>

using namespace jornix;

namespace {

QImage redSquare()
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

// A container of the version known, with the given HDFT payload after the HTML.
QByteArray withHeaderFooterSection(const QByteArray& payload)
{
    QByteArray bytes = EncodeOwnFormat({QStringLiteral("<p>text</p>"), {}, {}});
    char length[4];
    qToLittleEndian(quint32(payload.size()), length);
    return bytes + "HDFT" + QByteArray(length, 4) + payload;
}

QByteArray entry(int kind, const QByteArray& html, int statedLength = -1)
{
    char length[4];
    qToLittleEndian(quint32(statedLength < 0 ? html.size() : statedLength), length);
    return char(kind) + QByteArray(length, 4) + html;
}

} // namespace

class ControlHeadersFootersTest : public QObject
{
    Q_OBJECT

private slots:
    void theSectionKeepsEachPartWithItsKind_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<bool>("wellFormed");
        QTest::newRow("two parts") << entry(2, "<p>head</p>") + entry(4, "<p>foot</p>") << QList<int>{2, 4}
                                   << true;
        QTest::newRow("a kind not known is passed over")
            << entry(9, "<p>later</p>") + entry(1, "<p>first</p>") << QList<int>{1} << true;
        QTest::newRow("an empty section") << QByteArray() << QList<int>{} << true;
        QTest::newRow("a part longer than the section")
            << entry(2, "<p>head</p>", 500) << QList<int>{} << false;
        QTest::newRow("a part cut in its length") << QByteArray("\x02\x05\x00", 3) << QList<int>{} << false;
    }
    void theSectionKeepsEachPartWithItsKind()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QList<int>, kinds);
        QFETCH(bool, wellFormed);
        const QByteArray bytes = withHeaderFooterSection(payload);
        QCOMPARE(IsOwnFormat(bytes), true); // the container itself is sound: its lengths fit
        const std::optional<OwnFormatContent> content = DecodeOwnFormat(bytes);
        QCOMPARE(content.has_value(), wellFormed);
        QTextDocument document;
        QCOMPARE(ReadOwnFormat(bytes, document), wellFormed);
        if (!wellFormed)
            return;
        QList<int> read;
        for (const OwnFormatHeaderFooter& part : content->headersFooters)
            read << part.kind;
        QCOMPARE(read, kinds);
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind) {
            const HeadersFooters* headers = HeadersFooters::Find(document);
            QCOMPARE(headers && headers->Part(kind), kinds.contains(kind));
        }
    }

    void aDocumentWithoutTheSectionHasNoHeaders()
    {
        // As documents were stored before headers and footers were kept.
        RichTextControl control;
        control.SetHeaderFooterOn(HeaderFooter::Header, true);
        control.SetHeaderFooterText(HeaderFooter::Header, "old");
        const QByteArray old = EncodeOwnFormat({QStringLiteral("<p>an old note</p>"), {}, {}});
        QVERIFY(control.Load(old, TextFormat::OwnFormat));
        QCOMPARE(control.Text(), QStringLiteral("an old note"));
        QVERIFY(!control.HeaderFooterOn(HeaderFooter::Header));
        QVERIFY(!DecodeOwnFormat(control.Save(TextFormat::OwnFormat).bytes)->html.isEmpty());
        QVERIFY(DecodeOwnFormat(control.Save(TextFormat::OwnFormat).bytes)->headersFooters.isEmpty());
    }

    void picturesInAHeaderTravelWithTheDocumentAndFilesAreNeverRead()
    {
        RichTextControl control;
        control.SetHeaderFooterOn(HeaderFooter::Header, true);
        QTextDocument* head = HeadersFooters::Find(*control.document())->Part(HeaderFooter::Header);
        head->addResource(QTextDocument::ImageResource, QUrl("logo"), redSquare());
        QTextCursor(head).insertImage("logo");
        RichTextControl loaded;
        QVERIFY(loaded.Load(control.Save(TextFormat::OwnFormat).bytes, TextFormat::OwnFormat));
        const QTextDocument* loadedHead =
            HeadersFooters::Find(*loaded.document())->Part(HeaderFooter::Header);
        QCOMPARE(loadedHead->resource(QTextDocument::ImageResource, QUrl("logo")).value<QImage>().pixel(0, 0),
                 qRgb(255, 0, 0));

        // A header that names a picture file shows an empty picture: the document never reads the file.
        QTemporaryDir folder;
        const QString file = folder.filePath("secret.png");
        QVERIFY(redSquare().save(file));
        const QByteArray html = QStringLiteral("<p><img src=\"%1\"></p>").arg(file).toUtf8();
        QTextDocument document;
        QVERIFY(ReadOwnFormat(withHeaderFooterSection(entry(HeaderFooter::Header, html)), document));
        const QTextDocument* named = HeadersFooters::Find(document)->Part(HeaderFooter::Header);
        const QImage shown = named->resource(QTextDocument::ImageResource, QUrl(file)).value<QImage>();
        QCOMPARE(shown.size(), QSize(1, 1));
    }

    void theTextKeepsClearOfTallHeadersAndFooters_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("pushes");
        QTest::newRow("a one-line header fits the margin") << int(HeaderFooter::Header) << 1 << false;
        QTest::newRow("a tall header") << int(HeaderFooter::Header) << 6 << true;
        QTest::newRow("a tall first header") << int(HeaderFooter::FirstHeader) << 6 << true;
        QTest::newRow("a one-line footer fits the margin") << int(HeaderFooter::Footer) << 1 << false;
        QTest::newRow("a tall footer") << int(HeaderFooter::Footer) << 6 << true;
    }
    void theTextKeepsClearOfTallHeadersAndFooters()
    {
        QFETCH(int, kind);
        QFETCH(int, lines);
        QFETCH(bool, pushes);
        const PageSettings page{12240, 15840, 1440, 1440, 1440, 1440};
        QTextDocument document;
        QTextDocument& part = HeadersFooters::Ensure(document).SwitchOn(kind);
        QTextCursor(&part).insertText(QStringList(lines, "line").join('\n'));
        const HeaderFooterLayout layout(document, page);
        const PageSettings text = layout.TextPage();
        const QRectF area = layout.Area(kind);
        const bool header = HeaderFooter::IsHeader(kind);
        // The part stands in the margin's half next to the edge ...
        if (header)
            QCOMPARE(area.top() * TwipsPerLayoutUnit, 720.0);
        else
            QCOMPARE(area.bottom() * TwipsPerLayoutUnit, 15840.0 - 720);
        // ... and the text of every page keeps clear of it.
        if (header) {
            QVERIFY(area.bottom() * TwipsPerLayoutUnit <= text.marginTop);
            QCOMPARE(text.marginTop > page.marginTop, pushes);
            QCOMPARE(text.marginBottom, page.marginBottom);
        } else {
            QVERIFY(page.height - area.top() * TwipsPerLayoutUnit <= text.marginBottom);
            QCOMPARE(text.marginBottom > page.marginBottom, pushes);
            QCOMPARE(text.marginTop, page.marginTop);
        }
        // The page view lays out the text as the printed pages do.
        RichTextControl control;
        control.SetPage(page);
        control.SetViewMode(RichTextControl::ViewMode::Page);
        control.SetHeaderFooterOn(kind, true);
        control.SetHeaderFooterText(kind, QStringList(lines, "line").join('\n'));
        const QTextFrameFormat root = control.document()->rootFrame()->frameFormat();
        QCOMPARE(qRound(root.topMargin() * TwipsPerLayoutUnit), text.marginTop);
        QCOMPARE(qRound(root.bottomMargin() * TwipsPerLayoutUnit), text.marginBottom);
    }

    void anEditOfAHeaderIsAnEditOfTheDocument()
    {
        RichTextControl control;
        control.SetHeaderFooterOn(HeaderFooter::FirstFooter, true);
        QSignalSpy changed(&control, &RichTextControl::Changed);
        control.SetHeaderFooterText(HeaderFooter::FirstFooter, "page one");
        QVERIFY(changed.count() > 0);
        changed.clear();
        // Loading is no edit.
        QVERIFY(control.Load(control.Save(TextFormat::OwnFormat).bytes, TextFormat::OwnFormat));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(control.HeaderFooterText(HeaderFooter::FirstFooter), QStringLiteral("page one"));
        // Clearing the document is.
        control.ClearDocument();
        QVERIFY(changed.count() > 0);
        QVERIFY(!control.HeaderFooterOn(HeaderFooter::FirstFooter));
    }
};

QTEST_MAIN(ControlHeadersFootersTest)
#include "tst_ControlHeadersFooters.moc"
