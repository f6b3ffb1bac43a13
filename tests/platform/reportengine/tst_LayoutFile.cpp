#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/PrinterSettings.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;

Q_DECLARE_METATYPE(ReportLayout)

namespace {

TextStyle Style(const QString& font, double size, TextAlignment alignment)
{
    TextStyle style;
    style.fontFamily = font;
    style.pointSize = size;
    style.alignment = alignment;
    return style;
}

TableLine Line(std::initializer_list<QString> formulas, const QString& condition = {})
{
    TableLine line;
    line.condition = condition;
    for (const QString& formula : formulas)
        line.cells.push_back({formula, Style("Sans Serif", 9, TextAlignment::Left)});
    return line;
}

LayoutObject Object(ObjectKind kind, const QString& name, QRectF frame, const QString& condition = {})
{
    LayoutObject object;
    object.kind = kind;
    object.name = name;
    object.frame = frame;
    object.condition = condition;
    return object;
}

ReportLayout ListLayout()
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    layout.description = QStringLiteral("Tasks by due date & <priority>");
    layout.paper = {215.9, 279.4, 12.7, 12.7, 12.7, 19.05};

    LayoutObject title = Object(ObjectKind::Text, "Title", {0, 0, 190.5, 12});
    title.lines = {"ReportOptions.Description", "\"Filter: \" & ReportOptions.FilterDescription"};
    title.style = Style("Serif", 16, TextAlignment::Centre);
    title.style.bold = true;
    title.style.colour = QColor(0x20, 0x40, 0x80);
    layout.Layer(LayoutLayer::FirstPage).push_back(title);

    LayoutObject table = Object(ObjectKind::Table, "Tasks", {0, 20, 190.5, 220});
    table.table.columns = {{"Due", 25}, {"Description", 120.5}, {"Done", 15}};
    table.table.headerLines = {Line({"\"Due\"", "\"Description\"", "\"Done\""})};
    table.table.groupFormula = "Date$(Task.DueDate, \"mm/yyyy\")";
    table.table.groupHeaderLines = {Line({"Date$(Task.DueDate, \"mmmm yyyy\")"})};
    table.table.dataLines = {
        Line({"Date$(Task.DueDate)", "Task.Description", "Cond(Task.Completed, \"x\", \"\")"}),
        Line({"", "Task.Notes"}, "not Empty(Task.Notes)")};
    table.table.footerLines = {Line({"\"Printed \" & Date$(Today())"})};
    layout.Layer(LayoutLayer::EveryPage).push_back(table);

    LayoutObject footer = Object(ObjectKind::Text, "Page", {0, 250, 190.5, 6});
    footer.lines = {"\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())"};
    footer.style = Style("Sans Serif", 8, TextAlignment::Right);
    footer.wrap = false;
    layout.Layer(LayoutLayer::EveryPage).push_back(footer);

    LayoutObject cover =
        Object(ObjectKind::Text, "Cover", {0, 100, 190.5, 80}, "ReportOptions.PrintCoverPage");
    cover.lines = {"ReportOptions.Notes"};
    cover.continuesOnNextPage = true;
    cover.style = Style("Sans Serif", 11, TextAlignment::Justify);
    layout.Layer(LayoutLayer::CoverPage).push_back(cover);
    return layout;
}

ReportLayout CardLayout()
{
    ReportLayout layout;
    layout.projectType = ProjectType::Card;
    layout.paper = {297, 210, 5, 5, 5, 5};

    LayoutObject rule = Object(ObjectKind::Line, "Rule", {0, 15, 287, 0});
    rule.penColour = QColor(255, 0, 0, 128);
    rule.penWidth = 0.5;
    LayoutObject box = Object(ObjectKind::Rectangle, "Box", {0, 20, 100, 50});
    box.fillColour = QColor(0xee, 0xee, 0xee);
    LayoutObject logo = Object(ObjectKind::Picture, "Logo", {250, 0, 30, 12});
    logo.pictureFile = "/usr/share/pixmaps/logo.png";
    logo.keepAspectRatio = false;
    LayoutObject page = Object(ObjectKind::Picture, "Document", {0, 75, 287, 120}, "Jornix.LogDoc <> \"\"");
    page.pictureItem = "Jornix.LogDoc";
    LayoutObject code = Object(ObjectKind::Barcode, "Number", {200, 20, 80, 20});
    code.barcodeFormula = "Str$(Jornix.LogNum)";
    code.symbology = "Code39";
    code.showBarcodeText = false;
    LayoutObject notes = Object(ObjectKind::Text, "Notes", {0, 20, 100, 50});
    notes.lines = {"Jornix.LogDocPlainText", "Line one\nline two\r\n\ttabbed",
                   "Ünïcødé → ✓ 'quotes' \"double\""};
    layout.Layer(LayoutLayer::EveryPage) = {rule, box, logo, page, code};
    layout.Layer(LayoutLayer::FollowingPages) = {notes};
    return layout;
}

ReportLayout LabelLayout()
{
    ReportLayout layout;
    layout.projectType = ProjectType::Label;
    layout.paper = {210, 297, 0, 0, 0, 0};
    layout.labels = {8, 3, 70, 36, 0, 4.5, 70, 36};
    LayoutObject address = Object(ObjectKind::Text, "Address", {3, 3, 64, 30});
    address.lines = {"Contacts.FName & \" \" & Contacts.LName", "Contacts.Street1", "Contacts.City"};
    layout.Layer(LayoutLayer::EveryPage).push_back(address);
    return layout;
}

QByteArray Serialized(const ReportLayout& layout)
{
    QByteArray data;
    QString error;
    if (!SerializeLayout(layout, data, error))
        qFatal("%s", qPrintable(error));
    return data;
}

QByteArray FileOf(const QByteArray& body, int version = 1)
{
    return "<?xml version=\"1.0\"?>\n<jornix-layout version=\"" + QByteArray::number(version) +
           "\" project=\"list\">" + body + "</jornix-layout>\n";
}

} // namespace

class TestLayoutFile : public QObject
{
    Q_OBJECT

private slots:
    void aLayoutWrittenAndReadBackIsEqual_data()
    {
        QTest::addColumn<ReportLayout>("layout");
        QTest::newRow("list with a table on every page, a cover and a first page") << ListLayout();
        QTest::newRow("card with lines, boxes, pictures, a barcode and texts that need escaping")
            << CardLayout();
        QTest::newRow("label grid") << LabelLayout();
        QTest::newRow("empty list") << ReportLayout();
    }

    void aLayoutWrittenAndReadBackIsEqual()
    {
        QFETCH(ReportLayout, layout);
        QTemporaryDir folder;
        const QString path = folder.filePath("jx_7.rpt");
        QString error;
        QVERIFY2(WriteLayoutFile(path, layout, error), qPrintable(error));
        ReportLayout read;
        QVERIFY2(ReadLayoutFile(path, read, error), qPrintable(error));
        QVERIFY(read == layout);
        // Nothing was there before, so nothing was kept.
        QVERIFY(!QFile::exists(folder.filePath("jx_7.~rpt")));
    }

    void unknownElementsAndAttributesAreSkipped()
    {
        const QByteArray file =
            FileOf("<paper width=\"100\" colour=\"blue\"><inner/></paper>"
                   "<watermark><layer page=\"cover\"><text name=\"hidden\"/></layer></watermark>"
                   "<layer page=\"every\"><hologram x=\"1\"><text/></hologram>"
                   "<text name=\"Kept\" shadow=\"1\"><sparkle/><line formula=\"1 + 2\"/></text>"
                   "</layer>");
        ReportLayout layout;
        QString error;
        QVERIFY2(ParseLayout(file, layout, error), qPrintable(error));
        QCOMPARE(layout.paper.width, 100.0);
        QVERIFY(layout.Layer(LayoutLayer::CoverPage).empty());
        QCOMPARE(layout.Layer(LayoutLayer::EveryPage).size(), std::size_t(1));
        QCOMPARE(layout.Layer(LayoutLayer::EveryPage)[0].name, QStringLiteral("Kept"));
        QCOMPARE(layout.Layer(LayoutLayer::EveryPage)[0].lines, QStringList{"1 + 2"});
    }

    void aHostileOrDamagedFileIsRefusedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");

        QByteArray manyObjects;
        for (int i = 0; i <= 10000; ++i)
            manyObjects += "<line/>";
        QTest::newRow("a newer version") << FileOf("<paper/>", 2)
                                         << "it was made by a newer version of the program (layout version "
                                            "2; this version reads layouts up "
                                            "to version 1)";
        QTest::newRow("no version")
            << QByteArray("<jornix-layout project=\"list\"/>")
            << "the file is damaged at line 1, column 31: the layout version is missing or wrong";
        QTest::newRow("another kind of file")
            << QByteArray("<?xml version=\"1.0\"?><html><body/></html>") << "it is not a report layout";
        QTest::newRow("an empty file") << QByteArray()
                                       << "the file is damaged at line 1, column 0: "
                                          "Premature end of document.";
        QTest::newRow("an unknown project") << QByteArray("<jornix-layout version=\"1\" project=\"poster\"/>")
                                            << "project=\"poster\" is not known";
        QTest::newRow("a length that is no number")
            << FileOf("<paper width=\"wide\"/>") << "width=\"wide\" is no number from -100000 to 100000";
        QTest::newRow("a length beyond bounds")
            << FileOf("<paper width=\"1e300\"/>") << "width=\"1e300\" is no number from -100000 to 100000";
        QTest::newRow("not a number") << FileOf("<paper height=\"nan\"/>") << "height=\"nan\" is no number";
        QTest::newRow("a bad colour")
            << FileOf("<layer page=\"every\"><line pen=\"#12\"/></layer>") << "pen=\"#12\" is no colour";
        QTest::newRow("a grid of a million labels")
            << FileOf("<labels rows=\"1000000\"/>") << "rows=\"1000000\" is no number from 1 to 1000";
        QTest::newRow("too many objects") << FileOf("<layer page=\"every\">" + manyObjects + "</layer>")
                                          << "it holds more than 10000 objects";
        QTest::newRow("an overlong formula") << FileOf("<layer page=\"every\"><text><line formula=\"" +
                                                       QByteArray(70000, 'a') + "\"/></text></layer>")
                                             << "the attribute formula is longer than 65536 characters";
        QTest::newRow("entities that expand")
            << QByteArray(
                   "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                   "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><jornix-layout version=\"1\" project=\"list\" "
                   "description=\"&b;\"/>")
            << "it holds a document type declaration";
        QTest::newRow("rubbish after the layout") << FileOf("") + "<more/>"
                                                  << "Extra content at end of document.";
        QTest::newRow("a file too large")
            << FileOf(QByteArray(MaxLayoutFileSize, ' ')) << "the file is larger than 16 MB";
    }

    void aHostileOrDamagedFileIsRefusedWithAMessage()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        ReportLayout layout = ListLayout();
        QString error;
        QVERIFY(!ParseLayout(file, layout, error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(layout == ListLayout()); // a refused file changes nothing
    }

    void aFileCutAnywhereIsRefused()
    {
        for (const ReportLayout& layout : {ListLayout(), CardLayout(), LabelLayout()}) {
            const QByteArray whole = Serialized(layout);
            const qsizetype end =
                whole.lastIndexOf("</jornix-layout>") + qsizetype(strlen("</jornix-layout>"));
            for (qsizetype cut = 0; cut < end; ++cut) {
                ReportLayout read;
                QString error;
                QVERIFY2(!ParseLayout(whole.left(cut), read, error), qPrintable(QString::number(cut)));
                QVERIFY(error.startsWith("the file is damaged at line"));
            }
        }
    }

    void randomBytesAndChangedBytesNeverBreakTheReader()
    {
        QRandomGenerator random(20240229);
        const QByteArray whole = Serialized(CardLayout());
        for (int round = 0; round < 2000; ++round) {
            QByteArray data;
            if (round % 2 == 0) {
                data.resize(random.bounded(1, 600));
                for (char& byte : data)
                    byte = char(random.bounded(256));
            } else {
                data = whole;
                for (int changes = random.bounded(1, 8); changes > 0; --changes)
                    data[random.bounded(int(data.size()))] = char(random.bounded(256));
            }
            ReportLayout read;
            QString error;
            const bool accepted = ParseLayout(data, read, error);
            QCOMPARE(error.isEmpty(), accepted);
            if (round % 2 == 0)
                QVERIFY(!accepted);
        }
    }

    void savingKeepsTheOldFileAsBackup()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("jx_3.rpt");
        const QString backup = folder.filePath("jx_3.~rpt");
        QCOMPARE(LayoutBackupPath(path), backup);
        QString error;
        QVERIFY(WriteLayoutFile(path, ListLayout(), error));
        QVERIFY(WriteLayoutFile(path, CardLayout(), error));

        ReportLayout now, before;
        QVERIFY(ReadLayoutFile(path, now, error));
        QVERIFY(ReadLayoutFile(backup, before, error));
        QVERIFY(now == CardLayout());
        QVERIFY(before == ListLayout());

        // A layout that cannot be written leaves both files as they were.
        ReportLayout bad = LabelLayout();
        bad.description = QStringLiteral("bell \x07");
        QVERIFY(!WriteLayoutFile(path, bad, error));
        QCOMPARE(error, "The report layout \"" + path +
                            "\" cannot be saved: a text of the layout holds a character that a layout file "
                            "cannot keep.");
        QVERIFY(ReadLayoutFile(path, now, error));
        QVERIFY(ReadLayoutFile(backup, before, error));
        QVERIFY(now == CardLayout());
        QVERIFY(before == ListLayout());
    }

    void aFileThatCannotBeReadIsNamedInTheMessage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "/nonexistent/jx_9.rpt"
                                 << "the file does not exist";
        QTest::newRow("a folder") << QDir::tempPath() << "file to open is a directory";
    }

    void aFileThatCannotBeReadIsNamedInTheMessage()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        ReportLayout layout;
        QString error;
        QVERIFY(!ReadLayoutFile(path, layout, error));
        QCOMPARE(error, "The report layout \"" + path + "\" cannot be read: " + reason + ".");
    }

    void printerSettingsAreReadBackAsWritten()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("jx_3.prn");
        PrinterSettings settings;
        QString error;
        QVERIFY(settings.Read(path, error)); // no file: no settings, no error
        QVERIFY(settings.IsEmpty());
        settings.SetValue("Printer", "Office = 2nd floor");
        settings.SetValue("Comment", "line one\nline two\\end\r");
        settings.SetValue("Copies", "2");
        QVERIFY(settings.Write(path, error));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Comment=line one\\nline two\\\\end\\r\nCopies=2\n"
                                            "Printer=Office = 2nd floor\n"));
        PrinterSettings read;
        QVERIFY(read.Read(path, error));
        QVERIFY(read == settings);
    }
};

QTEST_APPLESS_MAIN(TestLayoutFile)
#include "tst_LayoutFile.moc"
