#include "platform/reportengine/ExportOutput.h"
#include "platform/reportengine/Pager.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/RowSpool.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/ShellOpen.h"

#include "platform/reportengine/ReportRuns.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtEndian>

using namespace jornix;
using namespace jornix::test;
using namespace ReportResult;

namespace {

const QString Company = QStringLiteral("O'Neil & <Partners> \"Ltd\"");
const QString Notes = QStringLiteral("]]></td>{\\b x}\\par");

// The engine's date value of a day.
QString DateValue(const QDate& date)
{
    return QString::number(date.toJulianDay() - 1);
}

// A list of contacts: a heading, a barcode as the page's picture and a table of four columns.
ReportLayout ContactList()
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    layout.description = "Contacts";
    layout.Layer(LayoutLayer::EveryPage).push_back(TextObject(QRectF(0, 0, 120, 8), {"\"Contact list\""}));
    LayoutObject barcode;
    barcode.kind = ObjectKind::Barcode;
    barcode.frame = QRectF(130, 0, 50, 12);
    barcode.barcodeFormula = "\"JORNIX\"";
    layout.Layer(LayoutLayer::EveryPage).push_back(barcode);
    LayoutObject table;
    table.kind = ObjectKind::Table;
    table.frame = QRectF(0, 20, 190, 240);
    table.table.columns = {{"Company", 70}, {"Notes", 60}, {"Amount", 25}, {"Due", 35}};
    table.table.dataLines = {Line({"Contacts.Company", "Contacts.Notes", "Contacts.Amount", "Contacts.Due"})};
    layout.Layer(LayoutLayer::EveryPage).push_back(table);
    return layout;
}

// A card per record: one page each.
ReportLayout Cards()
{
    ReportLayout layout;
    layout.projectType = ProjectType::Card;
    LayoutObject name = TextObject(QRectF(0, 0, 150, 10), {"Contacts.Company"});
    name.name = "Company";
    layout.Layer(LayoutLayer::EveryPage).push_back(name);
    LayoutObject frame;
    frame.kind = ObjectKind::Rectangle;
    frame.frame = QRectF(0, 20, 100, 50);
    layout.Layer(LayoutLayer::EveryPage).push_back(frame);
    return layout;
}

struct Contact
{
    QString company;
    QString notes;
    QString amount;
    QString due;
};

// A job that is to export `file` in `folder`, for writers run on pages and rows made by the test.
ReportJob& ExportJob(ReportJobs& engine, const QString& format, const QString& folder, const QString& file)
{
    const int job = engine.LlJobOpen(1);
    engine.LlXSetParameterA(job, 1, format, "Export.File", file);
    engine.LlXSetParameterA(job, 1, format, "Export.Path", folder);
    return *engine.Job(job);
}

void PrintContacts(ReportJobs& engine, int job, const QList<Contact>& contacts)
{
    engine.LlPrint(job);
    for (const Contact& contact : contacts) {
        engine.LlDefineFieldExtA(job, "Contacts.Company", contact.company, ReportItemType::Text, 0);
        engine.LlDefineFieldExtA(job, "Contacts.Notes", contact.notes, ReportItemType::Text, 0);
        engine.LlDefineFieldExtA(job, "Contacts.Amount", contact.amount, ReportItemType::Numeric, 0);
        engine.LlDefineFieldExtA(job, "Contacts.Due", contact.due, ReportItemType::Date, 0);
        PrintListRecord(engine, job);
    }
    engine.LlPrintFieldsEnd(job);
}

void PrintCards(ReportJobs& engine, int job, int cards)
{
    for (int card = 1; card <= cards; ++card) {
        engine.LlDefineVariableExtA(job, "Contacts.Company", QString("Card %1").arg(card),
                                    ReportItemType::Text, 0);
        engine.LlPrint(job);
    }
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 Dword(const QByteArray& bytes, int at)
{
    return bytes.size() >= at + 4 ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
}

qint32 Long(const QByteArray& bytes, int at)
{
    return qint32(Dword(bytes, at));
}

// The exit code and output of a program.
std::pair<int, QString> Execute(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}};
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

// The parts of a MIME multipart message: their headers and their decoded bodies.
struct MimePart
{
    QString headers;
    QByteArray body;
};

QList<MimePart> MimeParts(const QByteArray& message)
{
    const QRegularExpressionMatch boundary =
        QRegularExpression("boundary=\"([^\"]+)\"").match(QString::fromLatin1(message));
    QList<MimePart> parts;
    if (!boundary.hasMatch())
        return parts;
    const QList<QByteArray> pieces = message.split('\n');
    const QByteArray marker = "--" + boundary.captured(1).toLatin1();
    QList<QByteArray> chunks;
    QByteArray current;
    bool inPart = false;
    for (QByteArray line : pieces) {
        line = line.trimmed();
        if (line.startsWith(marker)) {
            if (inPart)
                chunks << current;
            current.clear();
            inPart = !line.endsWith("--");
            continue;
        }
        if (inPart)
            current += line + '\n';
    }
    for (const QByteArray& chunk : chunks) {
        const qsizetype split = chunk.indexOf("\n\n");
        MimePart part;
        part.headers = QString::fromLatin1(chunk.left(split));
        part.body = QByteArray::fromBase64(chunk.mid(split + 2).replace('\n', QByteArray()),
                                           QByteArray::AbortOnBase64DecodingErrors);
        parts << part;
    }
    return parts;
}

} // namespace

class TestExports : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString Path(const QString& name) const { return folder_.filePath(name); }

    // Runs an export of the contacts in a folder of its own and gives the files written.
    QStringList ExportContacts(const QString& format, const QString& file, const QList<Contact>& contacts,
                               QString* error = nullptr, const QString& folder = {})
    {
        ReportJobs engine;
        const int job = StartExport(engine, 2, Path("contacts.rpt"), format,
                                    folder.isEmpty() ? folder_.path() : folder, file);
        PrintContacts(engine, job, contacts);
        const int ended = engine.LlPrintEnd(job, 0);
        if (error)
            *error = ended == Ok ? QString() : engine.Job(job)->lastError;
        QString files;
        engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240);
        engine.LlJobClose(job);
        return files.isEmpty() ? QStringList() : files.split(';');
    }

private slots:
    void initTestCase()
    {
        Write(ContactList(), Path("contacts.rpt"));
        Write(Cards(), Path("cards.rpt"));
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void pictureExportsWriteAFilePerPage_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("three BMP pages")
            << "PICTURE_BMP"
            << "week.bmp" << 3 << QStringList{"week.bmp", "2_week.bmp", "3_week.bmp"};
        QTest::newRow("one BMP page") << "PICTURE_BMP"
                                      << "day.bmp" << 1 << QStringList{"day.bmp"};
        QTest::newRow("three EMF pages")
            << "PICTURE_EMF"
            << "week.emf" << 3 << QStringList{"week.emf", "2_week.emf", "3_week.emf"};
        QTest::newRow("one EMF page") << "PICTURE_EMF"
                                      << "day.emf" << 1 << QStringList{"day.emf"};
        QTest::newRow("two JPG pages") << "PICTURE_JPEG"
                                       << "week.jpg" << 2 << QStringList{"week.jpg", "2_week.jpg"};
    }

    void pictureExportsWriteAFilePerPage()
    {
        QFETCH(QString, format);
        QFETCH(QString, file);
        QFETCH(int, pages);
        QFETCH(QStringList, expected);
        QTemporaryDir out;
        ReportJobs engine;
        const int job = StartExport(engine, 3, Path("cards.rpt"), format, out.path(), file);
        PrintCards(engine, job, pages);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QString files;
        QCOMPARE(engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240), Ok);
        QStringList paths;
        for (const QString& name : expected)
            paths << QDir(out.path()).filePath(name);
        QCOMPARE(files, paths.join(';'));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(),
                 expected.size()); // no temporary file is left
        for (const QString& path : paths) {
            const QByteArray bytes = Contents(path);
            if (format == "PICTURE_EMF") {
                QCOMPARE(Dword(bytes, 0), 1u);           // EMR_HEADER
                QCOMPARE(Dword(bytes, 40), 0x464D4520u); // " EMF"
                QCOMPARE(Dword(bytes, 48), quint32(bytes.size()));
                QCOMPARE(Long(bytes, 24), 0); // the frame: the A4 paper in hundredths of a millimetre
                QCOMPARE(Long(bytes, 32), 21000);
                QCOMPARE(Long(bytes, 36), 29700);
                QVERIFY(Long(bytes, 16) > Long(bytes, 8)); // bounds around what was drawn
                QVERIFY(Long(bytes, 20) > Long(bytes, 12));
            } else {
                const QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(path));
                QCOMPARE(image.size(), QSize(1240, 1754)); // A4 at 150 dots per inch
                if (format == "PICTURE_BMP")
                    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
            }
        }
    }

    void theFilesOfAnExportNeverReplaceOnesTheRunWrote_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first page") << QStringList{} << 1 << "/out/week.bmp";
        QTest::newRow("third page") << QStringList{} << 3 << "/out/3_week.bmp";
        QTest::newRow("the file asked for was written")
            << QStringList{"/out/week.bmp"} << 1 << "/out/week_2.bmp";
        QTest::newRow("a page's name was written")
            << QStringList{"/out/2_week.bmp", "/out/2_week_2.bmp"} << 2 << "/out/2_week_3.bmp";
    }

    void theFilesOfAnExportNeverReplaceOnesTheRunWrote()
    {
        QFETCH(QStringList, written);
        QFETCH(int, page);
        QFETCH(QString, expected);
        ExportFiles files("/out/week.bmp", written);
        QCOMPARE(files.PagePath(page), expected);
    }

    void theSpreadsheetHoldsTheRowsWithTheirTypes()
    {
        const QStringList files =
            ExportContacts("XLS", "contacts.xls",
                           {{"Alpha Ltd", "first", "12.5", DateValue(QDate(2024, 2, 29))},
                            {Company, Notes, "-3", "1e1000"},
                            {"Gamma", QString(40000, 'g'), "", DateValue(QDate(1999, 12, 31))}});
        QCOMPARE(files, QStringList{Path("contacts.xls")});
        QVERIFY(Contents(files.first()).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
        const QString script =
            "import sys, json, xlrd\n"
            "book = xlrd.open_workbook(sys.argv[1])\n"
            "sheet = book.sheet_by_index(0)\n"
            "print(json.dumps([[[c.ctype, c.value] for c in sheet.row(r)] for r in range(sheet.nrows)]))\n";
        const auto [code, output] = Execute("/usr/bin/python3", {"-c", script, files.first()});
        QVERIFY2(code == 0, qPrintable(output));
        const QJsonArray rows = QJsonDocument::fromJson(output.toUtf8()).array();
        QCOMPARE(rows.size(), 4);
        const auto cell = [&rows](int row, int column) {
            return rows.at(row).toArray().at(column).toArray();
        };
        const int Text = 1, Number = 2, Date = 3, Empty = 0;
        const QStringList titles{"Company", "Notes", "Amount", "Due"};
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(cell(0, column).at(0).toInt(), Text);
            QCOMPARE(cell(0, column).at(1).toString(), titles.at(column));
        }
        QCOMPARE(cell(1, 0).at(1).toString(), QStringLiteral("Alpha Ltd"));
        QCOMPARE(cell(1, 2).at(0).toInt(), Number);
        QCOMPARE(cell(1, 2).at(1).toDouble(), 12.5);
        QCOMPARE(cell(1, 3).at(0).toInt(), Date);
        QCOMPARE(cell(1, 3).at(1).toDouble(), 45351.0);
        QCOMPARE(cell(2, 0).at(1).toString(), Company);
        QCOMPARE(cell(2, 1).at(1).toString(), Notes);
        QCOMPARE(cell(2, 2).at(1).toDouble(), -3.0);
        QCOMPARE(cell(2, 3).at(0).toInt(), Empty);           // no date
        QCOMPARE(cell(3, 1).at(1).toString().size(), 32767); // a long text goes through the continued strings
        QCOMPARE(cell(3, 2).at(0).toInt(), Empty);
        QCOMPARE(cell(3, 3).at(1).toDouble(), 36525.0);
    }

    void tableCellsLeaveOutTheBlanksThatPadTheItems_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("itemCell");   // the item alone
        QTest::addColumn<QString>("joinedCell"); // a formula over the item, which sees its padding
        const struct
        {
            const char* name;
            QString value;
            QString itemCell;
            QString joinedCell;
        } cases[] = {{"padded text", "Alpha" + QString(20, ' '), "Alpha", "Alpha" + QString(20, ' ') + "|"},
                     {"blanks only", QString(10, ' '), "", QString(10, ' ') + "|"},
                     {"leading blanks stay", "  Beta   ", "  Beta", "  Beta   |"},
                     {"no blanks", "Gamma", "Gamma", "Gamma|"}};
        for (const char* format : {"XLS", "XML"})
            for (const auto& row : cases)
                QTest::addRow("%s, %s", format, row.name)
                    << format << row.value << row.itemCell << row.joinedCell;
    }
    void tableCellsLeaveOutTheBlanksThatPadTheItems()
    {
        QFETCH(QString, format);
        QFETCH(QString, value);
        ReportLayout layout;
        layout.projectType = ProjectType::List;
        LayoutObject table;
        table.kind = ObjectKind::Table;
        table.frame = QRectF(0, 0, 190, 250);
        table.table.columns = {{"Item", 90}, {"Joined", 90}};
        table.table.dataLines = {Line({"Pad.Text", "Pad.Text & \"|\""})};
        layout.Layer(LayoutLayer::EveryPage).push_back(table);
        Write(layout, Path("padded.rpt"));
        const QString file = format == "XLS" ? "padded.xls" : "padded.xml";
        ReportJobs engine;
        const int job = StartExport(engine, 2, Path("padded.rpt"), format, folder_.path(), file);
        engine.LlPrint(job);
        engine.LlDefineFieldExtA(job, "Pad.Text", value, ReportItemType::Text, 0);
        PrintListRecord(engine, job);
        engine.LlPrintFieldsEnd(job);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        engine.LlJobClose(job);

        QFETCH(QString, itemCell);
        QFETCH(QString, joinedCell);
        QStringList cells;
        if (format == "XLS") {
            const QString script = "import sys, json, xlrd\n"
                                   "sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                   "print(json.dumps([str(c.value) for c in sheet.row(1)]))\n";
            const auto [code, output] = Execute("/usr/bin/python3", {"-c", script, Path(file)});
            QVERIFY2(code == 0, qPrintable(output));
            for (const QJsonValue& cell : QJsonDocument::fromJson(output.toUtf8()).array())
                cells << cell.toString();
        } else {
            for (const char* column : {"Item", "Joined"}) {
                // string() of the element, quoted so that the blanks show
                const QString path =
                    QString("concat('[', string(//*[local-name()='record'][1]/*[@name='%1']), ']')")
                        .arg(column);
                QString text = Execute("xmllint", {"--xpath", path, Path(file)}).second.trimmed();
                QVERIFY2(text.startsWith('[') && text.endsWith(']'), qPrintable(text));
                cells << text.mid(1, text.size() - 2);
            }
        }
        QCOMPARE(cells, (QStringList{itemCell, joinedCell}));
    }

    void recordsBeyondASheetGoOnInTheNext()
    {
        QTemporaryDir out;
        ReportJobs engine;
        ReportJob& kept = ExportJob(engine, "XLS", out.path(), "many.xls");
        PageSpool spool;
        QVERIFY(spool.Append(Page{}));
        RowSpool rows({"Number"});
        const int records = 65535 + 5; // a sheet holds its header row and 65535 rows
        for (int record = 1; record <= records; ++record)
            QVERIFY(rows.Append({1, {{ExportCell::Kind::Number, {}, double(record)}}}));
        QString error;
        QVERIFY2(RunExport(*FindExportFormat("XLS"), kept, {kept, spool, {0}, &rows, "Many", {}}, error),
                 qPrintable(error));
        const QString script =
            "import sys, xlrd\n"
            "book = xlrd.open_workbook(sys.argv[1])\n"
            "for s in book.sheets(): print(s.name, s.nrows, s.cell_value(0, 0), s.cell_value(1, 0), "
            "s.cell_value(s.nrows - 1, 0))\n";
        const auto [code, output] = Execute("/usr/bin/python3", {"-c", script, out.filePath("many.xls")});
        QVERIFY2(code == 0, qPrintable(output));
        QCOMPARE(output,
                 QStringLiteral("Report 65536 Number 1.0 65535.0\nReport 2 6 Number 65536.0 65540.0\n"));
    }

    void textsWithMarkupAreData_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("file");
        QTest::newRow("HTML") << "HTML"
                              << "contacts.html";
        QTest::newRow("XML") << "XML"
                             << "contacts.xml";
        QTest::newRow("RTF") << "RTF"
                             << "contacts.rtf";
        QTest::newRow("MHTML") << "MHTML"
                               << "contacts.mht";
    }

    void textsWithMarkupAreData()
    {
        QFETCH(QString, format);
        QFETCH(QString, file);
        const QStringList files = ExportContacts(
            format, file,
            {{Company, Notes, "1", DateValue(QDate(2024, 2, 29))}, {"Ünïcode — €", "", "", ""}});
        QCOMPARE(files, QStringList{Path(file)});
        const QByteArray bytes = Contents(files.first());
        QByteArray html = bytes;
        if (format == "MHTML") {
            const QList<MimePart> parts = MimeParts(bytes);
            QVERIFY(parts.size() >= 2);
            QVERIFY(parts.first().headers.contains("text/html"));
            html = parts.first().body;
            for (const MimePart& part : parts.mid(1)) {
                QVERIFY(part.headers.contains("Content-Location: "));
                QVERIFY(html.contains(
                    QRegularExpression("Content-Location: (\\S+)").match(part.headers).captured(1).toUtf8()));
                QVERIFY(!QImage::fromData(part.body, "PNG").isNull());
            }
        }
        if (format == "HTML" || format == "MHTML") {
            QVERIFY(html.contains("O&#39;Neil &amp; &lt;Partners&gt; &quot;Ltd&quot;"));
            QVERIFY(html.contains("]]&gt;&lt;/td&gt;{\\b x}\\par"));
            QVERIFY(!html.contains(Company.toUtf8()) && !html.contains("]]></td>"));
            QVERIFY(html.contains("Ünïcode — €"));
            if (format == "HTML")
                QVERIFY(html.contains("src=\"data:image/png;base64,"));
            QTemporaryFile part;
            QVERIFY(part.open());
            part.write(html);
            part.close();
            const auto [code, output] = Execute("xmllint", {"--html", "--noout", part.fileName()});
            QVERIFY2(code == 0 && output.isEmpty(), qPrintable(output));
        } else if (format == "XML") {
            const auto [code, output] = Execute("xmllint", {"--noout", files.first()});
            QVERIFY2(code == 0, qPrintable(output));
            const auto value = [&](const QString& path) {
                QString text = Execute("xmllint", {"--xpath", path, files.first()}).second;
                if (text.endsWith('\n'))
                    text.chop(1);
                return text;
            };
            QCOMPARE(value("string(//*[local-name()='record'][1]/*[@name='Company'])"), Company);
            QCOMPARE(value("string(//*[local-name()='record'][1]/*[@name='Notes'])"), Notes);
            QCOMPARE(value("string(//*[local-name()='record'][1]/*[@name='Due']/@type)"),
                     QStringLiteral("date"));
            QCOMPARE(value("string(//*[local-name()='record'][1]/*[@name='Due'])"),
                     QStringLiteral("2024-02-29"));
            QCOMPARE(value("string(//*[local-name()='record'][2]/*[@name='Company'])"),
                     QStringLiteral("Ünïcode — €"));
        } else {
            QVERIFY(bytes.contains("O'Neil & <Partners> \"Ltd\""));
            QVERIFY(bytes.contains("]]></td>\\{\\\\b x\\}\\\\par"));
            QVERIFY(bytes.contains("\\u220?n\\u239?code \\u8212? \\u8364?"));
            const auto [code, output] = Execute("unrtf", {"--nopict", "--text", files.first()});
            QVERIFY2(code == 0, qPrintable(output));
            QVERIFY2(output.contains(Company), qPrintable(output));
            QVERIFY2(output.contains(Notes), qPrintable(output));
        }
    }

    void plainTextKeepsColumnsAndBreaksPages()
    {
        QList<Contact> contacts;
        for (int record = 1; record <= 70; ++record)
            contacts << Contact{QString("Company %1").arg(record), QString("Note\t%1").arg(record),
                                QString::number(record), ""};
        const QStringList files = ExportContacts("TXT", "contacts.txt", contacts);
        QCOMPARE(files, QStringList{Path("contacts.txt")});
        const QString text = QString::fromUtf8(Contents(files.first()));
        QCOMPARE(text.count('\f'), 1);
        const QStringList pages = text.split('\f');
        QVERIFY(pages.at(0).trimmed().startsWith("Contact list"));
        int rows = 0;
        qsizetype notes = -1, amounts = -1;
        for (const QString& page : pages)
            for (const QString& line : page.split('\n')) {
                if (!line.contains(QRegularExpression("^\\s*Company \\d+")))
                    continue;
                ++rows;
                const qsizetype note = line.indexOf("Note "),
                                amount = line.indexOf(QRegularExpression("\\d+$"));
                if (notes < 0) {
                    notes = note;
                    amounts = line.lastIndexOf(' ') + 1;
                }
                QCOMPARE(note, notes);
                QCOMPARE(line.lastIndexOf(' ') + 1 >= amount, true);
                QVERIFY(line.length() > amounts);
            }
        QCOMPARE(rows, 70);
        // The column starts 70 mm on in the table, which starts at the 10 mm margin: 2 mm characters.
        QCOMPARE(notes, qsizetype(std::lround((10 + 70 + Pager::CellPadding) / 2.0)));
    }

    void aWriteThatFailsEndsTheRunAndLeavesNoFile_data()
    {
        QTest::addColumn<QString>("format");
        for (const char* format :
             {"PDF", "RTF", "HTML", "MHTML", "XML", "XLS", "TXT", "PICTURE_BMP", "PICTURE_EMF"})
            QTest::newRow(format) << format;
    }

    void aWriteThatFailsEndsTheRunAndLeavesNoFile()
    {
        QFETCH(QString, format);
        QTemporaryDir out;
        // A folder stands where the file should go, so it cannot be written.
        QVERIFY(QDir(out.path()).mkdir("taken"));
        QString error;
        const QStringList files =
            ExportContacts(format, "taken", {{"Alpha", "", "1", ""}}, &error, out.path());
        QVERIFY(files.isEmpty());
        QVERIFY2(error.contains("cannot be written"), qPrintable(error));
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken"});
        QVERIFY(ExportContacts(format, "none", {{"Alpha", "", "1", ""}}, &error, out.filePath("missing"))
                    .isEmpty());
        QVERIFY2(error.contains("cannot be written"), qPrintable(error));
    }

    // On a disk that fills up while the export writes, the file that was there keeps every byte, nothing is
    // left beside it, and the run says which file could not be written.
    void aFullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("file");
        QTest::newRow("PDF") << "PDF" << "contacts.pdf";
        QTest::newRow("RTF") << "RTF" << "contacts.rtf";
        QTest::newRow("HTML") << "HTML" << "contacts.htm";
        QTest::newRow("XML") << "XML" << "contacts.xml";
        QTest::newRow("XLS") << "XLS" << "contacts.xls";
        QTest::newRow("TXT") << "TXT" << "contacts.txt";
        QTest::newRow("BMP") << "PICTURE_BMP" << "contacts.bmp";
        QTest::newRow("EMF") << "PICTURE_EMF" << "contacts.emf";
    }

    void aFullDiskKeepsTheOldFile()
    {
        QFETCH(QString, format);
        QFETCH(QString, file);
        QTemporaryDir out;
        const QByteArray old = "the export of yesterday";
        {
            QFile before(out.filePath(file));
            QVERIFY(before.open(QIODevice::WriteOnly) && before.write(old) == old.size());
        }
        // A page of forty lines and their records, spooled before the disk is full.
        ReportJobs engine;
        ReportJob& kept = ExportJob(engine, format, out.path(), file);
        Page page;
        RowSpool rows({"Company"});
        for (int line = 1; line <= 40; ++line) {
            PagePrimitive text;
            text.frame = QRectF(10, 10 + 6 * line, 150, 5);
            text.text = QStringLiteral("Company %1, a line of the contact list").arg(line);
            page.primitives.push_back(text);
            QVERIFY(rows.Append({1, {{ExportCell::Kind::Text, text.text, 0}}}));
        }
        PageSpool spool;
        QVERIFY(spool.Append(page));
        const ExportFormat* writer = FindExportFormat(format);
        QVERIFY(writer);
        const QByteArray answer = RunWithFileSizeLimit(256, [&] {
            QString error;
            const bool written = RunExport(*writer, kept, {kept, spool, {0}, &rows, "Contacts", {}}, error);
            return (kept.filesWritten.join(';') + QLatin1Char('|') + (written ? QString() : error)).toUtf8();
        });
        QVERIFY2(answer.startsWith('|') && answer.contains("cannot be written"), answer.constData());
        QVERIFY2(answer.contains(QFile::encodeName(file)), answer.constData());
        QCOMPARE(Contents(out.filePath(file)), old);
        QCOMPARE(FilesIn(out.path()), QStringList{file});
    }

    void aCardIsARecordOfTheTableExports()
    {
        QTemporaryDir out;
        ReportJobs engine;
        const int job = StartExport(engine, 3, Path("cards.rpt"), "XML", out.path(), "cards.xml");
        PrintCards(engine, job, 3);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        const QString xml = QString::fromUtf8(Contents(out.filePath("cards.xml")));
        QCOMPARE(Captures(xml, "<record number=\"(\\d)\" page=\"\\d\">"), QStringList({"1", "2", "3"}));
        QCOMPARE(Captures(xml, "<item name=\"Company\" type=\"text\">([^<]*)</item>"),
                 QStringList({"Card 1", "Card 2", "Card 3"}));
    }

    void aCancelledExportRemovesThePagesItWrote()
    {
        QTemporaryDir out;
        ReportJobs engine;
        ReportJob& kept = ExportJob(engine, "PICTURE_BMP", out.path(), "week.bmp");
        PageSpool spool;
        Page page;
        for (int number = 1; number <= 3; ++number) {
            page.number = number;
            QVERIFY(spool.Append(page));
        }
        const ExportFormat* format = FindExportFormat("BMP");
        QVERIFY(format);
        const ExportSource source{kept, spool, {0, 1, 2}, nullptr, "Cards", [&kept](int done) {
                                      kept.cancelled = done == 2;
                                      return !kept.cancelled;
                                  }};
        QString error;
        QVERIFY(!RunExport(*format, kept, source, error));
        QVERIFY(error.isEmpty());
        QVERIFY(kept.filesWritten.isEmpty());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList());
    }

    void showResultOpensTheFirstFile_data()
    {
        QTest::addColumn<QString>("show");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("1 opens the first page") << "1" << QStringList{"shown.bmp"};
        QTest::newRow("0 opens nothing") << "0" << QStringList{};
    }

    void showResultOpensTheFirstFile()
    {
        QFETCH(QString, show);
        QFETCH(QStringList, opened);
        QTemporaryDir out;
        QStringList arguments;
        SetShellOpenRunner([&arguments](const QString& argument) {
            arguments << argument;
            return 0;
        });
        ReportJobs engine;
        StartProcedureThread([&] {
            const int job = StartExport(engine, 3, Path("cards.rpt"), "PICTURE_BMP", out.path(), "shown.bmp");
            engine.LlXSetParameterA(job, 1, "PICTURE_BMP", "Export.ShowResult", show);
            PrintCards(engine, job, 2);
            engine.LlPrintEnd(job, 0);
        });
        QVERIFY(WaitForProgramThreads());
        SetShellOpenRunner({});
        for (QString& name : opened)
            name = QDir(out.path()).filePath(name);
        QCOMPARE(arguments, opened);
    }
};

QTEST_MAIN(TestExports)
#include "tst_Exports.moc"
