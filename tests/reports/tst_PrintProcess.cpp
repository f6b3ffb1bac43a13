#include "FormattedNotes.h"
#include "ReportFixture.h"

#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowController.h"
#include "platform/reportengine/RecordingReportEngine.h"
#include "reports/ReportAreas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;
using namespace jornix::test;
using namespace ReportResult;

namespace {

const QStringList PageWords{"Alpha", "Bravo", "Charlie", "Delta"};

QSet<QString> PicturesLeft()
{
    const QStringList names = QDir(QDir::tempPath()).entryList({"TXF*"}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// A text as a page picture keeps it: UTF-16, high byte first, as QDataStream writes it.
QByteArray PictureText(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

QByteArray ContentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// What a layout saw as each record printed: the items named, at each LlPrint or LlPrintFields.
struct PrintsSeen
{
    explicit PrintsSeen(RecordingReportEngine& engine, QStringList items) : names(std::move(items))
    {
        engine.onCall = [this, &engine](const QString& call) {
            if (!call.startsWith("LlPrint(") && !call.startsWith("LlPrintFields("))
                return;
            QStringList values;
            for (const QString& name : names)
                values << engine.variables.Value(name);
            prints << values;
            const QString picture = engine.variables.Value("Jornix.LogDoc");
            QString word = picture.isEmpty() ? QString() : QStringLiteral("?");
            for (const QString& candidate : PageWords)
                if (!picture.isEmpty() && ContentOf(picture).contains(PictureText(candidate)))
                    word = candidate;
            pictureWords << word;
        };
    }
    QStringList names;
    QList<QStringList> prints;
    QStringList pictureWords; // the word the page picture shows, for each print
};

} // namespace

class TestPrintProcess : public QObject
{
    Q_OBJECT

    QTemporaryDir temporaryFolder_;

private slots:
    void initTestCase()
    {
        // Page pictures go to the system's temporary folder: here one of the test's own, so that the pictures
        // other programs make and delete meanwhile do not count as left behind.
        qputenv("TMPDIR", temporaryFolder_.path().toLocal8Bit());
        QCOMPARE(QDir::tempPath(), temporaryFolder_.path());
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void contactsByLastNameLeaveOutOtherUsersPrivateOnes()
    {
        ReportFixture fixture;
        CurrentUserUniqueID = 7;
        fixture.AddLayout({.ref = 1, .area = 3}, ListLayout({"Contacts.LName", "Contacts.City"}));
        const struct
        {
            const char* name;
            int privateFlag;
            int owner;
        } contacts[]{
            {"Zhang", 0, 8}, {"de Vries", 0, 7}, {"Anand", 0, 8}, {"Okafor", 1, 7}, {"Moreau", 1, 8}};
        int num = 0;
        for (const auto& contact : contacts)
            ReportFixture::Add(AccessCON, {{"CON:Num", ++num},
                                           {"CON:LName", contact.name},
                                           {"CON:City", "Leeds"},
                                           {"CON:Private", contact.privateFlag},
                                           {"CON:UniqueID", contact.owner}});
        std::vector<quint64> changes;
        for (FileManager* access : ReportFixture::Tables())
            changes.push_back(access->GetTable().ChangeCount());

        const QString pdf = fixture.data.FilePath("contacts.pdf");
        int response = 0;
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Contacts, 1, 1, OutputFormat::Pdf, 0, 0, pdf, "", "");
            response = CurrentContext().GlobalResponseCode;
        });
        QCOMPARE(response, int(Response::Completed));
        const QString text = PdfPages(pdf).join("\n");
        QCOMPARE(Captures(text, "(Anand|de Vries|Okafor|Zhang|Moreau)"),
                 (QStringList{"Anand", "de Vries", "Okafor", "Zhang"}));
        // A print run reads; it writes no table.
        for (std::size_t table = 0; table < changes.size(); ++table)
            QCOMPARE(ReportFixture::Tables()[table]->GetTable().ChangeCount(), changes[table]);
    }

    void aFilterChoosesTheRecordsAndABadOneEndsTheRun_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<int>("messages");
        QTest::newRow("every record") << "" << QStringList{"Call the bank", "Water the plants"} << 0;
        QTest::newRow("a filter") << "TSK:Priority = 2" << QStringList{"Water the plants"} << 0;
        QTest::newRow("no record matches") << "TSK:Priority = 9" << QStringList{} << 0;
        QTest::newRow("a filter that does not parse") << "TSK:Priority = (" << QStringList{} << 1;
    }
    void aFilterChoosesTheRecordsAndABadOneEndsTheRun()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, printed);
        QFETCH(int, messages);
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2});
        ReportFixture::Add(AccessTSK,
                           {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}, {"TSK:Priority", 2}});
        ReportFixture::Add(AccessTSK,
                           {{"TSK:Num", 2}, {"TSK:Description", "Call the bank"}, {"TSK:Priority", 1}});
        RecordingReportEngine engine;
        PrintsSeen seen(engine, {"Task.Description"});
        MessageRecorder boxes;
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, "out.pdf", "", filter); });
        QStringList descriptions;
        for (const QStringList& values : seen.prints.mid(1)) // the first LlPrint opens the first page
            descriptions << values.first().trimmed();
        QCOMPARE(descriptions, printed);
        QCOMPARE(boxes.boxes.size(), messages);
        if (messages) {
            QCOMPARE(boxes.boxes.first().caption, "Error During Report Engine Setup");
            QVERIFY(engine.calls.isEmpty());
        }
    }

    void aDocumentPrintsOncePerPagePicture()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 4, .area = 1, .type = 2, .wmfLoop = 1, .wmfWidth = 4, .wmfHeight = 3});
        const QByteArray document = StoredDocument(PageWords);
        QByteArray damaged = document.left(document.size() - 40);
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 1}, {"LOG:LogDate", 80001}, {"LOG:LogDoc", document}});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 2}, {"LOG:LogDate", 80002}});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 3}, {"LOG:LogDate", 80003}, {"LOG:LogDoc", damaged}});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 4}, {"LOG:LogDate", 80004}, {"LOG:LogDoc", document}});
        const QSet<QString> before = PicturesLeft();
        RecordingReportEngine engine;
        engine.answers["LlPrintSetBoxTextA"] = {Ok, Ok, Ok, Cancelled}; // Cancel as the fourth event prints
        PrintsSeen seen(engine, {"Jornix.LogNum", "Jornix.LogDocOverflow", "Jornix.LogDocPlainText"});
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::LogEvents, 4, 1, OutputFormat::Preview, 0, 0, "", "", ""); });

        const QString text = PageWords.join('\n') + '\n'; // the document's plain text
        QCOMPARE(seen.prints, (QList<QStringList>{{"1", "0", text},
                                                  {"1", "1", text},
                                                  {"1", "1", text},
                                                  {"1", "1", text},
                                                  {"2", "0", ""},
                                                  {"3", "0", ""},
                                                  {"4", "0", text}}));
        QCOMPARE(seen.pictureWords, (PageWords + QStringList{"", "", "Alpha"}));
        QCOMPARE(engine.Calls("LlPreviewDisplayA").size(), 0);
        QCOMPARE(engine.Calls("LlPreviewDeleteFilesA").size(), 1);
        QCOMPARE(PicturesLeft(), before);
    }

    void aRecordThatDoesNotFitPrintsAgain_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<QStringList>("prints");
        QTest::newRow("list, on a new page")
            << 1 << 1 << QStringList{"LlPrint", "LlPrintFields", "LlPrint", "LlPrintFields"};
        QTest::newRow("card, overflowing twice")
            << 2 << 2 << QStringList{"LlPrint 0", "LlPrint 1", "LlPrint 2"};
        QTest::newRow("label, once") << 3 << 1 << QStringList{"LlPrint"};
    }
    void aRecordThatDoesNotFitPrintsAgain()
    {
        QFETCH(int, type);
        QFETCH(int, refusals);
        QFETCH(QStringList, prints);
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2, .type = type});
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        RecordingReportEngine engine;
        const QString call = type == 1 ? "LlPrintFields" : "LlPrint";
        engine.answers[call] = QList<int>(refusals, RecordDidNotFit);
        QStringList seen;
        engine.onCall = [&](const QString& made) {
            const QString name = made.section('(', 0, 0);
            if (name == "LlPrint" || name == "LlPrintFields")
                seen << (type == 2 ? name + " " + engine.variables.Value("Flags.PageOverFlow") : name);
        };
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, "out.pdf", "", ""); });
        QCOMPARE(seen, prints);
    }

    void aRecordThatNeverFitsDoesNotHoldTheRun()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2, .type = 2});
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 2}, {"TSK:Description", "Call the bank"}});
        RecordingReportEngine engine;
        engine.answers["LlPrint"] = QList<int>(5000, RecordDidNotFit);
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, "out.pdf", "", ""); });
        QCOMPARE(engine.Calls("LlPrintSetBoxTextA").size(), 2);
        QCOMPARE(engine.Calls("LlPrintEnd").size(), 1);
    }

    void eachPageOfTheNotesPrintsACard()
    {
        ReportFixture fixture;
        ReportLayout card;
        card.projectType = ProjectType::Card;
        LayoutObject picture;
        picture.kind = ObjectKind::Picture;
        picture.frame = QRectF(0, 20, 100, 75);
        picture.pictureItem = "Jornix.LogDoc";
        card.Layer(LayoutLayer::EveryPage) = {
            TextObject(QRectF(0, 0, 190, 8),
                       {"\"Event \" & Jornix.LogNum & \" part \" & Jornix.LogDocOverflow"}),
            picture};
        fixture.AddLayout({.ref = 4, .area = 1, .type = 2, .wmfLoop = 1, .wmfWidth = 4, .wmfHeight = 3},
                          card);
        ReportFixture::Add(
            AccessLOG,
            {{"LOG:LogNum", 1}, {"LOG:LogDate", 80001}, {"LOG:LogDoc", StoredDocument(PageWords)}});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 2}, {"LOG:LogDate", 80002}});
        const QString pdf = fixture.data.FilePath("notes.pdf");
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::LogEvents, 4, 1, OutputFormat::Pdf, 0, 0, pdf, "", ""); });
        const QStringList pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 5);
        for (int page = 0; page < 4; ++page)
            QVERIFY2(pages[page].contains(QString("Event 1 part %1").arg(page ? 1 : 0)),
                     qPrintable(pages[page]));
        QVERIFY(pages[4].contains("Event 2 part 0"));
    }

    // The factory layouts that print the formatted notes: the notes of two events, over several pages, come
    // out in the PDF as text, every word in its order.
    void theFactoryNotesLayoutsPrintTheNotesAsText_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<double>("height");
        QTest::newRow("Formatted Log Notes (Detail)") << 4 << 6.5;
        QTest::newRow("Larger Formatted Log Notes") << 15 << 8.5;
    }
    void theFactoryNotesLayoutsPrintTheNotesAsText()
    {
        QFETCH(int, layout);
        QFETCH(double, height);
        ReportFixture fixture;
        const QString file = QStringLiteral("jx_%1.rpt").arg(layout);
        QVERIFY(QFile::copy(QStringLiteral(JORNIX_PROGRAM_DIR "/DefaultData/") + file, fixture.data.FilePath(file)));
        fixture.AddLayout({.ref = layout, .area = 1, .type = 2, .wmfLoop = 1, .wmfWidth = 7.5, .wmfHeight = height,
                           .printCoverPage = 0});
        const QImage picture = NotesPicture();
        const FormattedNotes first = MakeFormattedNotes(3, 1, picture);
        const FormattedNotes second = MakeFormattedNotes(2, 1001, picture);
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 1}, {"LOG:LogDate", 80001}, {"LOG:LogDescription", "First"},
                                       {"LOG:LogDoc", first.stored}});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 2}, {"LOG:LogDate", 80002}, {"LOG:LogDescription", "Second"},
                                       {"LOG:LogDoc", second.stored}});
        const QString pdf = fixture.data.FilePath("notes.pdf");
        const QSet<QString> before = PicturesLeft();
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::LogEvents, layout, 1, OutputFormat::Pdf, 0, 0, pdf, "", ""); });
        QCOMPARE(PicturesLeft(), before);
        const QString text = Run("pdftotext", {pdf, "-"});
        QCOMPARE(NumberedWords(text), first.words + second.words);
    }

    void aLoopWithoutAPictureSizePrintsNoPictures()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 4, .area = 1, .type = 2, .wmfLoop = 1});
        ReportFixture::Add(AccessLOG, {{"LOG:LogNum", 1}, {"LOG:LogDoc", StoredDocument(PageWords)}});
        RecordingReportEngine engine;
        PrintsSeen seen(engine, {"Jornix.LogDoc", "Jornix.LogDocOverflow"});
        MessageRecorder boxes;
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::LogEvents, 4, 1, OutputFormat::Preview, 0, 0, "", "", ""); });
        QCOMPARE(seen.prints, (QList<QStringList>{{"", "0"}}));
        QVERIFY(boxes.boxes.isEmpty());
    }

    void eachOutputStartsWithItsParameters_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<int>("openFile");
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("format"); // of the export; none for preview and printer
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("target"); // none: no target is set
        QTest::newRow("preview") << 2 << 0 << 0 << "" << 0x200 << "";
        QTest::newRow("printer") << 3 << 0 << 0 << "" << 0x100 << "";
        QTest::newRow("printer with the dialog") << 3 << 0 << 1 << "" << 0x800 << "PRN";
        QTest::newRow("PDF") << 9 << 0 << 0 << "PDF" << 0x800 << "PDF";
        QTest::newRow("PDF, opened") << 9 << 1 << 0 << "PDF" << 0x800 << "PDF";
        QTest::newRow("JPG") << 6 << 0 << 0 << "PICTURE_JPEG" << 0x800 << "PICTURE_JPEG";
        QTest::newRow("XLS with the dialog") << 12 << 0 << 1 << "XLS" << 0x800 << "XLS";
        QTest::newRow("EMF with the dialog") << 7 << 1 << 1 << "PICTURE_EMF" << 0x800 << "EMF";
    }
    void eachOutputStartsWithItsParameters()
    {
        QFETCH(int, output);
        QFETCH(int, openFile);
        QFETCH(int, dialog);
        QFETCH(QString, format);
        QFETCH(int, mode);
        QFETCH(QString, target);
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 5, .description = "Notes"});
        // A folder longer than 63 characters goes whole.
        const QString folder =
            "/home/someone/Documents/Reports for the year two thousand and twenty-six/Notes";
        QVERIFY(folder.size() > 63);
        RecordingReportEngine engine;
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::StickyNotes, 1, 1, output, openFile, dialog, folder + "/notes.out", "",
                         "");
        });
        const QString layout = fixture.data.FilePath("jx_1");
        QStringList expected;
        if (!format.isEmpty())
            expected << CallText("LlSetOptionStringA", 1, 12, QString("rpteng9ex.dll"))
                     << CallText("LlXSetParameterA", 1, 1, format, QString("Export.File"),
                                 QString("notes.out"))
                     << CallText("LlXSetParameterA", 1, 1, format, QString("Export.Path"), folder)
                     << CallText("LlXSetParameterA", 1, 1, format, QString("Export.Quiet"), QString("1"))
                     << CallText("LlXSetParameterA", 1, 1, format, QString("Export.ShowResult"),
                                 QString::number(openFile))
                     << CallText("LlXSetParameterA", 1, 1, format, QString("Picture.BitsPerPixel"),
                                 QString("24"));
        expected << CallText("LlPrintWithBoxStartA", 1, 2, layout, mode, 3, static_cast<QWidget*>(nullptr),
                             QString("Jornix - Notes"));
        if (!target.isEmpty())
            expected << CallText("LlPrintSetOptionStringA", 1, 2, target);
        if (dialog)
            expected << CallText("LlPrintOptionsDialogA", 1, static_cast<QWidget*>(nullptr),
                                 QString("Notes"));
        QStringList calls;
        for (const QString& call : engine.calls)
            for (const char* name : {"LlSetOptionStringA", "LlXSetParameterA", "LlPrintWithBoxStartA",
                                     "LlPrintSetOptionStringA", "LlPrintOptionsDialogA"})
                if (call.startsWith(QLatin1String(name) + '('))
                    calls << call;
        QCOMPARE(calls, expected);
        QCOMPARE(engine.calls.first(), CallText("LlJobOpen", 1));
    }

    void theEngineTracesWhenAsked()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 6});
        GLO.LLDebug = 1;
        RecordingReportEngine engine;
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::ScrapBook, 1, 1, OutputFormat::Pdf, 0, 0, "a.pdf", "", ""); });
        GLO.LLDebug = 0;
        QCOMPARE(engine.calls.mid(0, 2), (QStringList{CallText("LlSetDebug", 1), CallText("LlJobOpen", 1)}));
    }

    void aCancelledDialogPrintsNothing()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2});
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        RecordingReportEngine engine;
        engine.answers["LlPrintOptionsDialogA"] = {Cancelled};
        int response = 0;
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Printer, 0, 1, "", "", "");
            response = CurrentContext().GlobalResponseCode;
        });
        QCOMPARE(response, int(Response::Cancelled));
        QVERIFY(engine.Calls("LlPrintFields").isEmpty());
        QCOMPARE(engine.Calls("LlPrintEnd").size(), 1);
        QCOMPARE(engine.Calls("LlJobClose").size(), 1);
    }

    void furtherFilesTakeTheirPageNames_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one file") << QStringList{"plan.emf"} << QStringList{"plan.emf"};
        QTest::newRow("three pages") << QStringList{"plan.emf", "2plan.emf", "3plan.emf"}
                                     << QStringList{"plan.emf", "plan0002.emf", "plan0003.emf"};
        QTest::newRow("a page name taken already is kept")
            << QStringList{"plan.emf", "2plan.emf", "2.emf"}
            << QStringList{"2.emf", "plan.emf", "plan0002.emf"};
    }
    void furtherFilesTakeTheirPageNames()
    {
        QFETCH(QStringList, written);
        QFETCH(QStringList, left);
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 6});
        ReportFixture::Add(AccessSCR, {{"SCR:Num", 1}, {"SCR:Description", "Clipping"}});
        const QString folder = fixture.data.FilePath("Out");
        QVERIFY(QDir().mkpath(folder));
        RecordingReportEngine engine;
        for (const QString& name : written) {
            WriteFile(folder + "/" + name, name.toUtf8());
            engine.filesWritten << folder + "/" + name;
        }
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::ScrapBook, 1, 1, OutputFormat::Emf, 0, 0, folder + "/plan.emf", "", "");
        });
        QCOMPARE(FilesIn(folder), left);
        QCOMPARE(ContentOf(folder + "/plan.emf"), QByteArray("plan.emf"));
        if (left.contains("plan0002.emf"))
            QCOMPARE(ContentOf(folder + "/plan0002.emf"), QByteArray("2plan.emf"));
    }

    void anEmfExportOfThreePagesNamesItsFurtherPages()
    {
        ReportFixture fixture;
        ReportLayout card;
        card.projectType = ProjectType::Card;
        card.Layer(LayoutLayer::EveryPage) = {TextObject(QRectF(0, 0, 190, 8), {"Task.Description"})};
        fixture.AddLayout({.ref = 1, .area = 2, .type = 2}, card);
        for (int num = 1; num <= 3; ++num)
            ReportFixture::Add(AccessTSK,
                               {{"TSK:Num", num}, {"TSK:Description", QString("Task %1").arg(num)}});
        const QString folder = fixture.data.FilePath("Out");
        QVERIFY(QDir().mkpath(folder));
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Emf, 0, 0, folder + "/plan.emf", "", "");
        });
        QCOMPARE(FilesIn(folder), (QStringList{"plan.emf", "plan0002.emf", "plan0003.emf"}));
        for (const QString& name : FilesIn(folder))
            QVERIFY(QFileInfo(folder + "/" + name).size() > 0);
    }

    // "Print Cover Page" of the layout row decides, also for cover objects that print whatever the options
    // say.
    void theCoverPagePrintsAsTheLayoutSays_data()
    {
        QTest::addColumn<int>("printCoverPage");
        QTest::addColumn<QStringList>("firstLines"); // of each page
        QTest::newRow("on") << 1 << QStringList{"Cover sheet", "Task 1", "Task 2"};
        QTest::newRow("off") << 0 << QStringList{"Task 1", "Task 2"};
    }
    void theCoverPagePrintsAsTheLayoutSays()
    {
        QFETCH(int, printCoverPage);
        QFETCH(QStringList, firstLines);
        ReportFixture fixture;
        ReportLayout card;
        card.projectType = ProjectType::Card;
        card.Layer(LayoutLayer::EveryPage) = {
            TextObject(QRectF(0, 0, 190, 8), {"Task.Description"}),
            TextObject(QRectF(0, 250, 190, 8), {"\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())"})};
        card.Layer(LayoutLayer::CoverPage) = {TextObject(QRectF(0, 100, 190, 8), {"\"Cover sheet\""})};
        fixture.AddLayout({.ref = 1, .area = 2, .type = 2, .printCoverPage = printCoverPage}, card);
        for (int num = 1; num <= 2; ++num)
            ReportFixture::Add(AccessTSK,
                               {{"TSK:Num", num}, {"TSK:Description", QString("Task %1").arg(num)}});
        const QString file = fixture.data.FilePath("tasks.pdf");
        ReportFixture::Print(
            [&] { PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, file, "", ""); });
        const QStringList pages = PdfPages(file);
        QCOMPARE(pages.size(), firstLines.size());
        for (qsizetype page = 0; page < pages.size(); ++page) {
            QVERIFY2(pages[page].contains(firstLines[page]), qPrintable(pages[page]));
            QVERIFY(pages[page].contains(QString("Page %1 of %2").arg(page + 1).arg(pages.size())));
        }
    }

    void engineFailuresEndTheRunWithNothingPrinted_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no job") << "LlJobOpen" << NoMoreJobs << "Error During Report Engine Setup";
        QTest::newRow("start fails") << "LlPrintWithBoxStartA" << LayoutUnreadable
                                     << "Error During Report Engine Setup";
        QTest::newRow("first page fails") << "LlPrint" << NotPrinting << "Error During Printing";
    }
    void engineFailuresEndTheRunWithNothingPrinted()
    {
        QFETCH(QString, call);
        QFETCH(int, answer);
        QFETCH(QString, caption);
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2});
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        RecordingReportEngine engine;
        engine.answers[call] = {answer};
        MessageRecorder boxes;
        int response = 0;
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, "out.pdf", "", "");
            response = CurrentContext().GlobalResponseCode;
        });
        QCOMPARE(boxes.Captions(), QStringList{caption});
        QCOMPARE(boxes.boxes.first().icon, MessageIcon::Exclamation);
        QCOMPARE(response, int(Response::Cancelled));
        QVERIFY(engine.Calls("LlPrintFields").isEmpty());
        QVERIFY(engine.Calls("LlPrintEnd").isEmpty());
    }

    void aMissingOrDamagedLayoutPrintsNothing_data()
    {
        QTest::addColumn<bool>("rowThere");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no layout row") << false << QByteArray();
        QTest::newRow("no layout file") << true << QByteArray();
        QTest::newRow("damaged layout file")
            << true << QByteArray("<jornix-layout version=\"1\" project=\"list\">");
    }
    void aMissingOrDamagedLayoutPrintsNothing()
    {
        QFETCH(bool, rowThere);
        QFETCH(QByteArray, file);
        ReportFixture fixture;
        if (rowThere)
            fixture.AddLayout({.ref = 1, .area = 2});
        if (!file.isEmpty())
            WriteFile(fixture.data.FilePath("jx_1.rpt"), file);
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        MessageRecorder boxes;
        const QString folder = fixture.data.FilePath("Out");
        QVERIFY(QDir().mkpath(folder));
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, folder + "/tasks.pdf", "", "");
        });
        QCOMPARE(boxes.Captions(), QStringList{"Error During Report Engine Setup"});
        QCOMPARE(
            boxes.boxes.first().text,
            "There was in internal error that prevented report engine setup. Make sure the Report Layout has "
            "been defined and try to print again.");
        QVERIFY(FilesIn(folder).isEmpty());
    }

    // The message adds the reason the output gave, so that the user knows what to mend.
    void anOutputThatCannotBeWrittenIsTold_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a PDF in a folder that is not there")
            << int(OutputFormat::Pdf) << "No such folder/tasks.pdf"
            << "No such folder";
        QTest::newRow("a printer when none is installed") << int(OutputFormat::Printer) << ""
                                                          << "no printer is installed";
    }
    void anOutputThatCannotBeWrittenIsTold()
    {
        QFETCH(int, output);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        if (output == OutputFormat::Printer && !QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed here");
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2}, ListLayout({"Task.Description"}));
        ReportFixture::Add(AccessTSK, {{"TSK:Num", 1}, {"TSK:Description", "Water the plants"}});
        MessageRecorder boxes;
        int response = 0;
        const QString path = file.isEmpty() ? QString() : fixture.data.FilePath(file);
        ReportFixture::Print([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, output, 0, 0, path, "", "");
            response = CurrentContext().GlobalResponseCode;
        });
        QCOMPARE(boxes.Captions(), QStringList{"Error During Printing"});
        const QString text = boxes.boxes.first().text;
        QVERIFY2(text.startsWith("There was in internal error that prevented printing the report.\n\n") &&
                     text.contains(reason),
                 qPrintable(text));
        QCOMPARE(response, int(Response::Cancelled));
        if (!path.isEmpty())
            QVERIFY(!QFileInfo::exists(path));
    }

    void twoRunsOnTwoThreadsKeepTheirOwnState()
    {
        ReportFixture fixture;
        fixture.AddLayout({.ref = 1, .area = 2, .description = "Tasks"});
        fixture.AddLayout({.ref = 2,
                           .area = 1,
                           .type = 2,
                           .description = "Notes",
                           .wmfLoop = 1,
                           .wmfWidth = 4,
                           .wmfHeight = 3});
        for (int num = 1; num <= 3; ++num) {
            ReportFixture::Add(AccessTSK,
                               {{"TSK:Num", num}, {"TSK:Description", QString("Task %1").arg(num)}});
            ReportFixture::Add(
                AccessLOG, {{"LOG:LogNum", num}, {"LOG:LogDoc", StoredDocument(PageWords.mid(num - 1, 2))}});
        }
        RecordingReportEngine engine;
        QList<int> jobs; // the job of each print call, in the order they came
        engine.onCall = [&](const QString& call) {
            if (call.startsWith("LlPrintSetBoxTextA("))
                YieldNow(); // as the engine gives way now and then
        };
        const QSet<QString> before = PicturesLeft();
        QList<int> responses;
        StartProcedureThread([&] {
            PrintProcess(ReportArea::Tasks, 1, 1, OutputFormat::Pdf, 0, 0, "tasks.pdf", "", "");
            responses << CurrentContext().GlobalResponseCode;
        });
        StartProcedureThread([&] {
            PrintProcess(ReportArea::LogEvents, 2, 1, OutputFormat::Pdf, 0, 0, "notes.pdf", "", "");
            responses << CurrentContext().GlobalResponseCode;
        });
        QVERIFY(WaitForProgramThreads(60000));
        QCOMPARE(responses, (QList<int>{Response::Completed, Response::Completed}));
        QStringList order; // which job each record print belongs to
        for (const QString& call : engine.calls) {
            if (call.startsWith("LlPrintFields(") || call.startsWith("LlPrint(")) {
                order << call.section('(', 1).section(')', 0, 0);
            }
            // Each job hears only of its own area's items.
            if (call.startsWith("LlDefineVariableExtA(1,"))
                QVERIFY2(!call.contains("\"Jornix."), qPrintable(call));
            if (call.startsWith("LlDefineVariableExtA(2,"))
                QVERIFY2(!call.contains("\"Task."), qPrintable(call));
        }
        // The runs took turns: job 2 printed before job 1 had ended.
        QVERIFY(order.lastIndexOf("1") > order.indexOf("2"));
        QCOMPARE(order.count("1"), 4); // the first page and three tasks
        QCOMPARE(order.count("2"), 6); // three events of two pages each
        QCOMPARE(engine.Calls("LlJobClose").size(), 2);
        QCOMPARE(PicturesLeft(), before);
    }
};

QTEST_MAIN(TestPrintProcess)
#include "tst_PrintProcess.moc"
