#include "DocumentEditor.h"

#include "documents/ImageAttributesDialog.h"
#include "documents/MeasurementUnits.h"
#include "documents/ParagraphFramesDialog.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/ParagraphFrames.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QPicture>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QtTest>

using namespace jornix;
using jornix::test::MessageRecorder;

namespace {

// Answers the file dialogs with the paths given, in turn (Cancel when none is left), and records them.
struct DialogScript
{
    explicit DialogScript(QStringList paths = {}) : answers(std::move(paths))
    {
        SetCommonDialogSink([this](const CommonDialogRequest& request) {
            asked.append(request);
            CommonDialogAnswer answer;
            if (!answers.isEmpty()) {
                answer.accepted = true;
                answer.path = answers.takeFirst();
            }
            return answer;
        });
    }
    ~DialogScript() { SetCommonDialogSink({}); }
    QStringList answers;
    QList<CommonDialogRequest> asked;
};

// A red picture of the size, as a PNG file in the folder.
QString writePicture(const QTemporaryDir& folder, const QString& name, QSize size = QSize(40, 20))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = folder.filePath(name);
    image.save(path, "PNG");
    return path;
}

// The positions of the document's picture characters.
QList<int> imagePositions(const QTextDocument& document)
{
    QList<int> positions;
    for (int position = 0; position < document.characterCount() - 1; ++position)
        if (document.characterAt(position) == QChar::ObjectReplacementCharacter)
            positions << position;
    return positions;
}

QTextImageFormat imageAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat().toImageFormat();
}

// Puts a picture at the caret with the attributes, as InsertImage does after the dialog.
void insertPicture(Editor& editor, const QTemporaryDir& folder, const ObjectAttributes& attributes)
{
    QVERIFY(editor.control.InsertImageFile(writePicture(folder, "picture.png"), attributes));
    editor.control.moveCursor(QTextCursor::Left); // the caret before the picture
}

// The longest run of dark pixels in one row of the picture.
int longestDarkRun(const QImage& image)
{
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = qGray(image.pixel(x, y)) < 96 ? run + 1 : 0;
            longest = qMax(longest, run);
        }
    }
    return longest;
}

bool showsRed(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.red() > 200 && colour.green() < 60 && colour.blue() < 60)
                return true;
        }
    return false;
}

// One framed paragraph and one picture on a page whose text runs 6.5 inches wide.
void fillFramedDocument(Editor& editor, const QTemporaryDir& folder, bool framed)
{
    editor.control.SetPage({12240, 15840, 1440, 1440, 1440, 1440});
    editor.edit.SetSelText(QStringLiteral("Framed words\nA picture: "));
    QVERIFY(editor.control.InsertImageFile(writePicture(folder, "picture.png"), {}));
    if (framed) {
        QTextCursor first(editor.control.document()->begin());
        SetParagraphFrames(first, FrameStyle::Left | FrameStyle::Top | FrameStyle::Right | FrameStyle::Bottom, 60, 40);
    }
}

QImage rasterisedPdf(Editor& editor, const QTemporaryDir& folder)
{
    const QString pdf = folder.filePath("notes.pdf");
    editor.edit.SaveToFile(pdf, 12);
    QProcess tool;
    tool.start("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, folder.filePath("page")});
    tool.waitForFinished(30000);
    return QImage(folder.filePath("page.png"));
}

QImage renderedPagePicture(Editor& editor, const QTemporaryDir& folder)
{
    const QString path = folder.filePath("page.pic");
    if (editor.edit.SavePageToFile(path, 1) != 1)
        return {};
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    QPicture picture;
    picture.setData(bytes.constData(), uint(bytes.size()));
    // The picture counts twips: drawn at 96 dots per inch.
    QImage image(picture.boundingRect().size() / 15, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(1.0 / 15, 1.0 / 15);
    picture.play(&painter);
    return image;
}

QImage screen(Editor& editor, const QTemporaryDir&)
{
    editor.control.resize(640, 300);
    editor.control.show();
    return editor.control.viewport()->grab().toImage();
}

} // namespace

class ImagesTest : public QObject
{
    Q_OBJECT

private slots:
    void insertImageKeepsThePictureAsDataAtTheCaret()
    {
        QTemporaryDir folder;
        const QString path = writePicture(folder, "red.png");
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("ab"));
        editor.control.SetSelStart(1);
        DialogScript dialogs({path});
        editor.edit.InsertImage(1, 1);
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(dialogs.asked.at(0).title, QStringLiteral("Insert Image"));
        QCOMPARE(dialogs.asked.at(0).filters, ImageFilters());
        QVERIFY(ImageFilters().contains(QLatin1String("*.png")));
        QVERIFY(ImageFilters().contains(QLatin1String("*.jpg")));
        QCOMPARE(imagePositions(*editor.control.document()), QList<int>{1});
        const ObjectAttributes attributes = AttributesOf(imageAt(*editor.control.document(), 1));
        QCOMPARE(attributes.saveMode, 1);
        QCOMPARE(attributes.textflow, 0);

        // The stored document carries the picture itself: gone from the disk, it still loads.
        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        QVERIFY(QFile::remove(path));
        Editor loaded;
        QVERIFY(loaded.edit.LoadFromBlob(blob));
        const QTextImageFormat format = imageAt(*loaded.control.document(), 1);
        const QImage image = ImageResource(*loaded.control.document(), format.name());
        QCOMPARE(image.size(), QSize(40, 20));
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(loaded.control.Text(), QStringLiteral("a") + QChar::ObjectReplacementCharacter + "b");
    }

    void aFileThatIsNoPictureInsertsNothing_data()
    {
        QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("message");
        QTest::newRow("no picture") << "notes.png" << "plain words" << true;
        QTest::newRow("missing") << "gone.png" << "" << true;
        QTest::newRow("cancelled") << "" << "" << false;
    }
    void aFileThatIsNoPictureInsertsNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(bool, message);
        QTemporaryDir folder;
        if (!content.isEmpty()) {
            QFile written(folder.filePath(file));
            QVERIFY(written.open(QIODevice::WriteOnly));
            written.write(content.toUtf8());
        }
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("text"));
        MessageRecorder messages;
        DialogScript dialogs;
        if (!file.isEmpty())
            dialogs.answers << folder.filePath(file);
        editor.edit.InsertImage(1, 1);
        QCOMPARE(editor.control.Text(), QStringLiteral("text"));
        QCOMPARE(messages.boxes.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(messages.boxes.at(0).caption, QStringLiteral("Insert Image"));
            QVERIFY(messages.boxes.at(0).text.contains(folder.filePath(file)));
        }
    }

    void withFlagZeroThePictureGoesWhereTheUserLastClicked()
    {
        QTemporaryDir folder;
        Editor editor;
        editor.control.resize(400, 200);
        editor.control.show();
        editor.edit.SetSelText(QStringLiteral("one two three") + QStringLiteral("\nmore").repeated(40));
        QTextCursor four(editor.control.document());
        four.setPosition(4);
        editor.control.setTextCursor(four);
        QTest::mouseClick(editor.control.viewport(), Qt::LeftButton, {},
                          editor.control.cursorRect(four).center() + QPoint(1, 0));
        editor.control.moveCursor(QTextCursor::End); // scrolls the click's place out of sight
        QVERIFY(editor.control.verticalScrollBar()->value() > 0);
        DialogScript dialogs({writePicture(folder, "red.png")});
        editor.edit.InsertImage(0, 1);
        QCOMPARE(imagePositions(*editor.control.document()), QList<int>{4});
        QCOMPARE(AttributesOf(imageAt(*editor.control.document(), 4)).textflow, TextflowAround);
    }

    void imageAttributesWritesBackOnlyTheDistancesChanged_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("shown"); // 720 twips, half an inch, in the unit
        QTest::newRow("inches") << int(MeasurementUnit::Inches) << 0.5;
        QTest::newRow("centimetres") << int(MeasurementUnit::Centimetres) << 1.27;
        QTest::newRow("millimetres") << int(MeasurementUnit::Millimetres) << 12.7;
    }
    void imageAttributesWritesBackOnlyTheDistancesChanged()
    {
        QFETCH(int, unit);
        QFETCH(double, shown);
        QTemporaryDir folder;
        Editor editor;
        ObjectAttributes flowing;
        flowing.textflow = TextflowAround;
        std::fill(std::begin(flowing.distances), std::end(flowing.distances), 720);
        insertPicture(editor, folder, flowing);
        {
            ImageAttributesDialog dialog(&editor.control, unit);
            QVERIFY(dialog.findChild<QGroupBox*>("ImageBorders")->isEnabled());
            for (const char* side : {"Left", "Top", "Right", "Bottom"})
                QCOMPARE(dialog.findChild<QDoubleSpinBox*>(side)->value(), shown);
            dialog.accept();
        }
        QCOMPARE(AttributesOf(imageAt(*editor.control.document(), 0)), flowing);

        ImageAttributesDialog dialog(&editor.control, unit);
        dialog.findChild<QDoubleSpinBox*>("Top")->setValue(shown * 2);
        dialog.accept();
        ObjectAttributes changed = flowing;
        changed.distances[1] = 1440;
        QCOMPARE(AttributesOf(imageAt(*editor.control.document(), 0)), changed);
    }

    void imageAttributesOfAPictureInTheTextWritesOnlyTheCheckBoxes_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void imageAttributesOfAPictureInTheTextWritesOnlyTheCheckBoxes()
    {
        QFETCH(bool, ok);
        QTemporaryDir folder;
        Editor editor;
        ObjectAttributes inText;
        std::fill(std::begin(inText.distances), std::end(inText.distances), 300);
        insertPicture(editor, folder, inText);
        ImageAttributesDialog dialog(&editor.control, MeasurementUnit::Inches);
        QVERIFY(!dialog.findChild<QGroupBox*>("ImageBorders")->isEnabled());
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("Left")->value(), 0.0);
        auto* fast = dialog.findChild<QCheckBox*>("FastDisplay");
        auto* data = dialog.findChild<QCheckBox*>("SaveAsData");
        QVERIFY(!fast->isChecked());
        QVERIFY(data->isChecked());
        fast->setChecked(true);
        data->setChecked(false);
        ok ? dialog.accept() : dialog.reject();
        ObjectAttributes expected = inText;
        if (ok) {
            expected.displayMode = 1;
            expected.saveMode = 0;
        }
        QCOMPARE(AttributesOf(imageAt(*editor.control.document(), 0)), expected);
    }

    void paragraphFramesTakesTheBitsOfItsCheckBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("bit");
        QTest::newRow("Left") << "Left" << 1;
        QTest::newRow("Right") << "Right" << 2;
        QTest::newRow("Top") << "Top" << 4;
        QTest::newRow("Bottom") << "Bottom" << 8;
        QTest::newRow("Tab Lines") << "TabLines" << 16;
        QTest::newRow("Double Lines") << "DoubleLines" << 64;
        QTest::newRow("Connected Frames") << "ConnectedFrames" << 128;
    }
    void paragraphFramesTakesTheBitsOfItsCheckBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, bit);
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("one\ntwo"));
        editor.edit.SelectAll();
        ParagraphFramesDialog dialog(&editor.control);
        dialog.findChild<QCheckBox*>(box)->setChecked(true);
        dialog.accept();
        QCOMPARE(FrameValue(editor.control.textCursor(), FrameProperty::Style), bit);
        ParagraphFramesDialog again(&editor.control);
        QVERIFY(again.findChild<QCheckBox*>(box)->isChecked());
        const QList<QCheckBox*> boxes = again.findChildren<QCheckBox*>();
        QCOMPARE(std::count_if(boxes.begin(), boxes.end(), [](QCheckBox* b) { return b->isChecked(); }), 1);
    }

    void paragraphFramesTakeRoomAndGiveItBack()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("one\ntwo\nthree"));
        QTextCursor two(editor.control.document()->findBlockByNumber(1));
        QTextBlockFormat indented;
        indented.setLeftMargin(10);
        two.mergeBlockFormat(indented);
        editor.edit.SelectAll();
        ParagraphFramesDialog dialog(&editor.control);
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("TextDistance")->value(), DefaultFrameDistance / 20.0);
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>("LineWidth")->value(), DefaultFrameLineWidth / 20.0);
        for (const char* box : {"Left", "Top", "Bottom", "ConnectedFrames"})
            dialog.findChild<QCheckBox*>(box)->setChecked(true);
        dialog.findChild<QDoubleSpinBox*>("TextDistance")->setValue(4.5);
        dialog.findChild<QDoubleSpinBox*>("LineWidth")->setValue(20); // held at 12 points
        dialog.accept();
        QCOMPARE(FrameValue(editor.control.textCursor(), FrameProperty::Distance), 90);
        QCOMPARE(FrameValue(editor.control.textCursor(), FrameProperty::LineWidth), 240);
        // Each side with a line makes room for distance and line; a run of connected frames only above its first
        // and below its last paragraph.
        const qreal room = 22; // (90 + 240) twips in whole layout units
        const QTextDocument& document = *editor.control.document();
        QCOMPARE(document.findBlockByNumber(0).blockFormat().leftMargin(), room);
        QCOMPARE(document.findBlockByNumber(1).blockFormat().leftMargin(), 10 + room);
        QCOMPARE(document.findBlockByNumber(0).blockFormat().topMargin(), room);
        QCOMPARE(document.findBlockByNumber(1).blockFormat().topMargin(), 0.0);
        QCOMPARE(document.findBlockByNumber(2).blockFormat().bottomMargin(), room);
        QCOMPARE(document.findBlockByNumber(0).blockFormat().rightMargin(), 0.0);

        // Without a frame the paragraphs have their own indents again; one step undoes it.
        ParagraphFramesDialog off(&editor.control);
        for (QCheckBox* box : off.findChildren<QCheckBox*>())
            box->setChecked(false);
        off.accept();
        QVERIFY(!document.findBlockByNumber(1).blockFormat().hasProperty(FrameProperty::Style));
        QCOMPARE(document.findBlockByNumber(1).blockFormat().leftMargin(), 10.0);
        QCOMPARE(document.findBlockByNumber(0).blockFormat().topMargin(), 0.0);
        editor.edit.Undo();
        QCOMPARE(document.findBlockByNumber(1).blockFormat().leftMargin(), 10 + room);
    }

    void aDocumentWithAPictureAndFramesSurvivesStoreAndLoad()
    {
        QTemporaryDir folder;
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("first\nsecond\nplain "));
        ObjectAttributes flowing;
        flowing.textflow = TextflowAround;
        flowing.displayMode = 1;
        flowing.distances[2] = 144;
        QVERIFY(editor.control.InsertImageFile(writePicture(folder, "picture.png"), flowing));
        QTextCursor framed(editor.control.document()->begin());
        framed.setPosition(7, QTextCursor::KeepAnchor);
        SetParagraphFrames(framed, FrameStyle::Left | FrameStyle::Right | FrameStyle::DoubleLines |
                                       FrameStyle::ConnectedFrames, 40, 10);
        QByteArray blob;
        editor.edit.SaveToBlob(blob);

        Editor loaded;
        QVERIFY(loaded.edit.LoadFromBlob(blob));
        const QTextDocument& original = *editor.control.document();
        const QTextDocument& document = *loaded.control.document();
        QCOMPARE(document.blockCount(), 3);
        for (int number = 0; number < 3; ++number) {
            const QTextBlockFormat was = original.findBlockByNumber(number).blockFormat();
            const QTextBlockFormat is = document.findBlockByNumber(number).blockFormat();
            for (const int property : {int(FrameProperty::Style), int(FrameProperty::Distance),
                                       int(FrameProperty::LineWidth), int(FrameProperty::RoomLeft)})
                QCOMPARE(is.property(property), was.property(property));
            QCOMPARE(is.leftMargin(), was.leftMargin());
        }
        const QList<int> pictures = imagePositions(document);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(AttributesOf(imageAt(document, pictures.at(0))), flowing);
        QVERIFY(!loaded.control.CanUndo());
    }

    void damagedFrameOrPictureRecordsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("frames");
        QTest::addColumn<QByteArray>("imageAttributes");
        QByteArray beyond(4 + 18, '\0');
        beyond[0] = 1;
        beyond[4] = 9; // paragraph 9 of a document of one
        QByteArray noPicture(4 + 23, '\0');
        noPicture[0] = 1;
        QTest::newRow("frame of a paragraph not there") << beyond << QByteArray();
        QTest::newRow("frames cut short") << beyond.left(10) << QByteArray();
        QTest::newRow("attributes of a picture not there") << QByteArray() << noPicture;
    }
    void damagedFrameOrPictureRecordsAreRefused()
    {
        QFETCH(QByteArray, frames);
        QFETCH(QByteArray, imageAttributes);
        OwnFormatContent content;
        content.html = QStringLiteral("<p>words</p>");
        content.frames = frames;
        content.imageAttributes = imageAttributes;
        QTextDocument document;
        QVERIFY(!ReadOwnFormat(EncodeOwnFormat(content), document));
        QVERIFY(document.isEmpty());
    }

    void theFramesAndThePictureShow_data()
    {
        using Output = QImage (*)(Editor&, const QTemporaryDir&);
        QTest::addColumn<Output>("output");
        QTest::addColumn<bool>("framed");
        // The least length of the frame's top line, as a part of the picture's width: nearly the width of the text.
        QTest::addColumn<double>("lineLength");
        const std::tuple<const char*, Output, double> outputs[] = {
            {"screen", screen, 0.9},
            {"PDF", rasterisedPdf, 0.9 * 6.5 / 8.5},
            {"page picture", renderedPagePicture, 0.9 * 6.5 / 7.5}, // the page without its right margin
        };
        for (const auto& [name, output, length] : outputs) {
            QTest::newRow(name) << output << true << length;
            QTest::newRow(qPrintable(QString::fromLatin1(name) + " without frame")) << output << false << length;
        }
    }
    void theFramesAndThePictureShow()
    {
        using Output = QImage (*)(Editor&, const QTemporaryDir&);
        QFETCH(Output, output);
        QFETCH(bool, framed);
        QFETCH(double, lineLength);
        QTemporaryDir folder;
        Editor editor;
        fillFramedDocument(editor, folder, framed);
        const QImage image = output(editor, folder);
        QVERIFY(!image.isNull());
        QVERIFY(showsRed(image));
        QCOMPARE(longestDarkRun(image) >= lineLength * image.width(), framed);
    }

    void insertObjectSaysItCannotAndLeavesTheDocument()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("notes"));
        QByteArray before;
        editor.edit.SaveToBlob(before);
        const bool couldUndo = editor.control.CanUndo();
        MessageRecorder messages;
        editor.edit.InsertObject(1);
        editor.edit.InsertOleObject(0, 100, 100);
        QCOMPARE(messages.Captions(), (QStringList{"Insert Object", "Insert Object"}));
        QVERIFY(messages.boxes.at(0).text.startsWith(QLatin1String("Objects of other programs cannot be inserted")));
        QByteArray after;
        editor.edit.SaveToBlob(after);
        QCOMPARE(after, before);
        QCOMPARE(editor.control.CanUndo(), couldUndo);
    }

    void theDialogsLookFinished()
    {
        QTemporaryDir folder;
        Editor editor;
        ObjectAttributes flowing;
        flowing.textflow = TextflowAround;
        insertPicture(editor, folder, flowing);
        ImageAttributesDialog attributes(&editor.control, MeasurementUnit::Centimetres);
        attributes.show();
        QCOMPARE(attributes.focusWidget()->objectName(), QStringLiteral("FastDisplay"));
        jornix::test::SavePicture(&attributes, QStringLiteral("ImageAttributes"));
        ParagraphFramesDialog frames(&editor.control);
        frames.show();
        jornix::test::SavePicture(&frames, QStringLiteral("ParagraphFrames"));
        for (QDialog* dialog : {static_cast<QDialog*>(&attributes), static_cast<QDialog*>(&frames)})
            QVERIFY(dialog->minimumSizeHint().width() <= dialog->width());
        QCOMPARE(frames.findChild<QDoubleSpinBox*>("LineWidth")->suffix(), QStringLiteral(" pt"));
        QCOMPARE(frames.findChild<QDoubleSpinBox*>("LineWidth")->maximum(), 12.0);

        // Two paragraphs in one frame of double lines with lines at their tab stops, then one framed alone.
        Editor framedEditor;
        framedEditor.edit.SetSelText(QStringLiteral("Name\tDay\tPlace\nDentist\tMonday\tTown\nplain\nAlone"));
        QTextCursor table(framedEditor.control.document()->begin());
        table.setPosition(framedEditor.control.document()->findBlockByNumber(1).position() + 2,
                          QTextCursor::KeepAnchor);
        QTextBlockFormat tabs;
        tabs.setTabPositions({QTextOption::Tab(120, QTextOption::LeftTab), QTextOption::Tab(240, QTextOption::LeftTab)});
        table.mergeBlockFormat(tabs);
        SetParagraphFrames(table, FrameStyle::Sides | FrameStyle::DoubleLines | FrameStyle::ConnectedFrames, 40, 10);
        QTextCursor alone(framedEditor.control.document()->lastBlock());
        SetParagraphFrames(alone, FrameStyle::Left | FrameStyle::Bottom, -1, -1);
        framedEditor.control.resize(500, 200);
        framedEditor.control.show();
        jornix::test::SavePicture(&framedEditor.control, QStringLiteral("FramedParagraphs"));
        framedEditor.control.SetPage({12240, 15840, 720, 720, 720, 720});
        framedEditor.control.SetViewMode(RichTextControl::ViewMode::Page);
        framedEditor.control.SetZoomFactor(150);
        framedEditor.control.resize(700, 300);
        jornix::test::SavePicture(&framedEditor.control, QStringLiteral("FramedParagraphs-Page150"));
    }
};

QTEST_MAIN(ImagesTest)
#include "tst_Images.moc"
