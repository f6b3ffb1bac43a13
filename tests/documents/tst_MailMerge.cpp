// The mail merge of a document: the merge window "Mail Merge", its data, moves, print and filter.

#include "DocumentEditor.h"

#include "documents/DocumentSettings.h"
#include "documents/MailMerge.h"
#include "documents/RecOrders.h"
#include "platform/framework/IniSettings.h"
#include "platform/framework/WindowDriver.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"
#include "WindowPicture.h"

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::MessageRecorder;

namespace {

struct Person
{
    QString name;
    QString city;
};

const QList<Person> ThreePeople{{"Ann", "Oslo"}, {"Bob", "Rome"}, {"Cid", "Oslo"}};

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList pdfPages(const QString& path)
{
    const QString info = runTool("pdfinfo", {path});
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    QStringList texts;
    for (int page = 1; pages.hasMatch() && page <= pages.captured(1).toInt(); ++page)
        texts << runTool("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), path, "-"})
                     .simplified();
    return texts;
}

} // namespace

class MailMergeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(JORNIX_SOURCE_DIR "/resources/icons"));
    }
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ini_.Init(folder_->filePath("Jornix.ini"));
        SetDocumentSettings(&ini_, folder_->path());
        catalogue_ = std::make_unique<Catalogue>();
        people_ = &catalogue_->AddTable("PPL:", "People", "People", FileAttribute::Create);
        people_->AddString("Name", 30).AddString("City", 30);
        catalogue_->SetFolder(folder_->path() + "/");
        editor_ = std::make_unique<Editor>();
        // "Dear <<PPL:Name>> of <<PPL:City>>."
        RichTextControl& control = editor_->control;
        control.setPlainText("Dear"); // the first merge field gets a blank before it
        QTextCursor cursor = control.textCursor();
        cursor.movePosition(QTextCursor::End);
        control.setTextCursor(cursor);
        TXEdit& edit = editor_->edit;
        edit.InsertMergeToken("PPL:Name", "<<PPL:Name>>");
        edit.SetSelText(" of ");
        edit.InsertMergeToken("PPL:City", "<<PPL:City>>");
        edit.SetSelText(".");
        edit.AddMailFile(*people_);
    }
    void cleanup()
    {
        for (int round = 0; round < 3 && !WindowController::OpenWindows().empty(); ++round) {
            for (WindowController* window : WindowController::OpenWindows())
                PostEvent(Event::CloseWindow, 0, window->Thread());
            WaitIdle();
        }
        Start([this] { editor_->edit.Kill(); });
        editor_.reset();
        catalogue_.reset();
        SetDocumentSettings(nullptr, {});
        folder_.reset();
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void aMergeToThePrinterPrintsOneCopyPerRecordWithItsValues_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("pages");
        const QStringList all{"Dear Ann of Oslo.", "Dear Bob of Rome.", "Dear Cid of Oslo."};
        QTest::newRow("every record") << ""
                                      << "" << QStringList() << all;
        QTest::newRow("a filter") << "PPL:City = 'Oslo'"
                                  << "" << QStringList()
                                  << QStringList{"Dear Ann of Oslo.", "Dear Cid of Oslo."};
        QTest::newRow("an order") << ""
                                  << "-PPL:Name" << QStringList()
                                  << QStringList{"Dear Cid of Oslo.", "Dear Bob of Rome.",
                                                 "Dear Ann of Oslo."};
        QTest::newRow("a refused filter") << "PPL:Nothing = 1"
                                          << "" << QStringList{"Filter Error"} << all;
        QTest::newRow("a refused order") << ""
                                         << "+PPL:Nothing" << QStringList{"Order Error"} << all;
    }
    void aMergeToThePrinterPrintsOneCopyPerRecordWithItsValues()
    {
        QFETCH(QString, filter);
        QFETCH(QString, order);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, pages);
        AddPeople(ThreePeople);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_->filePath("merged.pdf"));
        TXEdit& edit = editor_->edit;
        edit.SetPrinter(&printer);
        edit.Mail().MAILFILTERVALUE = filter;
        edit.Mail().MAILORDERVALUE = order;
        MessageRecorder recorder;
        Start([&] { edit.MergeToPrinter(); });
        QCOMPARE(recorder.Captions(), messages);
        if (!messages.isEmpty())
            QCOMPARE(recorder.boxes[0].text,
                     messages[0] == "Filter Error"
                         ? QStringLiteral("   Illegal filter expression. Filter is ignored.")
                         : QStringLiteral("   Illegal order expression. Order is ignored."));
        QCOMPARE(pdfPages(folder_->filePath("merged.pdf")), pages);
        // The document shows its own texts again, and the data file is closed.
        QCOMPARE(editor_->control.toPlainText(), QStringLiteral("Dear <<PPL:Name>> of <<PPL:City>>."));
        QVERIFY(!people_->FileIsOpen());
    }

    void theMoveButtonsFollowTheRecordShown_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("enabled"); // first, previous, next, last: 1 enabled
        QTest::newRow("one record") << 1 << QStringList{"MergeToScreen"} << "Ann"
                                    << "0000";
        QTest::newRow("at the first") << 3 << QStringList{"MergeToScreen"} << "Ann"
                                      << "0011";
        QTest::newRow("between") << 3 << QStringList{"MergeToScreen", "NextField"} << "Bob"
                                 << "1111";
        QTest::newRow("at the last") << 3 << QStringList{"MergeToScreen", "LastField"} << "Cid"
                                     << "1100";
        QTest::newRow("back to the first")
            << 3 << QStringList{"MergeToScreen", "LastField", "PreviousField", "FirstField"} << "Ann"
            << "0011";
        QTest::newRow("not merged") << 3 << QStringList{} << "<<PPL:Name>>"
                                    << "0000";
    }
    void theMoveButtonsFollowTheRecordShown()
    {
        QFETCH(int, records);
        QFETCH(QStringList, presses);
        QFETCH(QString, shown);
        QFETCH(QString, enabled);
        AddPeople(ThreePeople.mid(0, records));
        WindowController* merge = OpenMergeWindow();
        QVERIFY(merge);
        for (const QString& press : presses)
            Press(*merge, press);
        QString flags;
        for (const char* name : {"FirstField", "PreviousField", "NextField", "LastField"})
            flags += merge->window.IsEnabled(merge->window.ControlNumber(name)) ? "1" : "0";
        QCOMPARE(flags, enabled);
        QVERIFY(editor_->control.toPlainText().startsWith("Dear " + shown + " of "));
        // While merged, what would change the document or print it whole waits.
        const bool merged = !presses.isEmpty();
        for (const char* name : {"InsertMailField", "MergeToPrinter", "FilterMergeFields",
                                 "PrintCurrentDocument", "SaveCurrentDocument"})
            QCOMPARE(merge->window.IsEnabled(merge->window.ControlNumber(name)), !merged);
        auto* toggle =
            qobject_cast<QPushButton*>(merge->window.Widget(merge->window.ControlNumber("MergeToScreen")));
        QCOMPARE(toggle->isChecked(), merged);
        if (records == 3 && presses.size() == 2 && presses[1] == "NextField")
            CheckWindowPicture(*merge, "MailMerge");
    }

    void closingTheMergeGivesTheFieldsTheirOwnTextsBack_data()
    {
        QTest::addColumn<bool>("byKill");
        QTest::newRow("the close box") << false;
        QTest::newRow("the object killed") << true;
    }

    void noMergeWindowOutlivesItsObject()
    {
        AddPeople(ThreePeople);
        WindowController* merge = OpenMergeWindow();
        QVERIFY(merge);
        Press(*merge, "MergeToScreen");
        const ThreadNumber mergeThread = merge->Thread();
        // The creator ends the object without killing it first.
        Start([this] { editor_.reset(); });
        QVERIFY(!FindWindow("MailMergeWindow"));
        QVERIFY(!ThreadIsActive(mergeThread));
        QVERIFY(!people_->FileIsOpen());
        editor_ = std::make_unique<Editor>();
    }
    void closingTheMergeGivesTheFieldsTheirOwnTextsBack()
    {
        QFETCH(bool, byKill);
        AddPeople(ThreePeople);
        WindowController* merge = OpenMergeWindow();
        QVERIFY(merge);
        Press(*merge, "MergeToScreen");
        Press(*merge, "NextField");
        QCOMPARE(editor_->control.toPlainText(), QStringLiteral("Dear Bob of Rome."));
        const ThreadNumber mergeThread = merge->Thread();
        if (byKill) {
            Start([this] { editor_->edit.Kill(); });
        } else {
            PostEvent(Event::CloseWindow, 0, mergeThread);
            WaitIdle();
        }
        QVERIFY(!FindWindow("MailMergeWindow"));
        QVERIFY(!ThreadIsActive(mergeThread));
        QCOMPARE(editor_->control.toPlainText(), QStringLiteral("Dear <<PPL:Name>> of <<PPL:City>>."));
        QVERIFY(!people_->FileIsOpen());
        if (!byKill)
            QCOMPARE(editor_->edit.Mail().POPUPMAILMERGE, 0);
    }

    void asecondStartClosesTheMergeWindow()
    {
        WindowController* merge = OpenMergeWindow();
        QVERIFY(merge);
        Start([this] { editor_->edit.OpenMailMerge(); });
        WaitIdle();
        QVERIFY(!FindWindow("MailMergeWindow"));
    }

    void theLookupOfTheFilterWindowChoosesASavedExpression_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("entry");
        QTest::newRow("a filter chosen") << true << "Select"
                                         << "PPL:City = 'Rome'";
        QTest::newRow("an order chosen") << false << "Select"
                                         << "+PPL:City";
        QTest::newRow("Close") << true << "Close"
                               << "PPL:Name = 'Ann'";
    }
    void theLookupOfTheFilterWindowChoosesASavedExpression()
    {
        QFETCH(bool, filter);
        QFETCH(QString, button);
        QFETCH(QString, entry);
        Start([] {
            QVERIFY(OpenRecOrders());
            Table& table = RecOrders();
            for (const auto& [expression, type] :
                 QList<std::pair<QString, int>>{{"PPL:City = 'Rome'", 1}, {"+PPL:City", 2}}) {
                table.ClearBuffer();
                table.Buffer().SetValue("REC:EXPRESSION", expression);
                table.Buffer().SetValue("REC:TYPE", type);
                QVERIFY(table.Insert());
            }
            CloseRecOrders();
        });
        TXEdit& edit = editor_->edit;
        edit.Mail().MAILFILTERVALUE = "PPL:Name = 'Ann'";
        Start([&] { edit.MergeFilterWindow(); });
        WindowController* window = FindWindow("MergeFilterWindow");
        QVERIFY(window);
        QCOMPARE(window->window.Caption(), QStringLiteral("Mail Merge Filter and Order"));
        QCOMPARE(Text(*window, "Filter"), QStringLiteral("PPL:Name = 'Ann'"));
        if (filter)
            CheckWindowPicture(*window, "MailMergeFilter");
        const int sheet = window->window.ControlNumber("Sheet");
        PickTab(*window, sheet, filter ? 1 : 2);
        Press(*window, filter ? "FilterLookup" : "OrderLookup");
        WindowController* lookup = FindWindow("BrowseFilter");
        QVERIFY(lookup);
        QCOMPARE(lookup->window.SelectedTab(lookup->window.ControlNumber("Sheet")), filter ? 1 : 2);
        PickRow(*lookup, lookup->window.ControlNumber("List"), 0);
        Press(*lookup, button);
        QVERIFY(!FindWindow("BrowseFilter"));
        QCOMPARE(Text(*window, filter ? "Filter" : "Order"), entry);
        Press(*window, "Ok");
        QVERIFY(!FindWindow("MergeFilterWindow"));
        QCOMPARE(filter ? edit.Mail().MAILFILTERVALUE : edit.Mail().MAILORDERVALUE, entry);
    }

    void clearAndCancelInTheFilterWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("filter");
        QTest::newRow("Clear, then Ok") << "ClearFilterAndOrder"
                                        << "";
        QTest::newRow("Clear, then Cancel") << "Cancel"
                                            << "PPL:Name = 'Ann'";
    }
    void clearAndCancelInTheFilterWindow()
    {
        QFETCH(QString, button);
        QFETCH(QString, filter);
        TXEdit& edit = editor_->edit;
        edit.Mail().MAILFILTERVALUE = "PPL:Name = 'Ann'";
        edit.Mail().MAILORDERVALUE = "+PPL:Name";
        Start([&] { edit.MergeFilterWindow(); });
        WindowController* window = FindWindow("MergeFilterWindow");
        QVERIFY(window);
        Press(*window, "ClearFilterAndOrder");
        QCOMPARE(Text(*window, "Filter"), QString());
        Press(*window, button == "Cancel" ? "Cancel" : "Ok");
        QVERIFY(!FindWindow("MergeFilterWindow"));
        QCOMPARE(edit.Mail().MAILFILTERVALUE, filter);
        QCOMPARE(edit.Mail().MAILORDERVALUE, filter.isEmpty() ? QString() : QStringLiteral("+PPL:Name"));
    }

    void aFieldPickedFromTheDataFileGoesIntoTheDocument()
    {
        WindowController* merge = OpenMergeWindow();
        QVERIFY(merge);
        QTextCursor cursor = editor_->control.textCursor();
        cursor.movePosition(QTextCursor::End);
        editor_->control.setTextCursor(cursor);
        Press(*merge, "InsertMailField");
        WindowController* pick = FindWindow("PickMergeField");
        QVERIFY(pick);
        QCOMPARE(pick->window.Caption(), QStringLiteral("SELECT FIELD"));
        const int fields = pick->window.ControlNumber("Fields");
        QAbstractItemModel* model = pick->window.ListModel(fields);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("PPL:City"));
        CheckWindowPicture(*pick, "SelectField");
        PickRow(*pick, fields, 1);
        Press(*pick, fields);
        QVERIFY(!FindWindow("PickMergeField"));
        QCOMPARE(editor_->control.toPlainText(),
                 QStringLiteral("Dear <<PPL:Name>> of <<PPL:City>>.<<PPL:City>>"));
        editor_->edit.CollectTokens();
        QCOMPARE(editor_->edit.TokenCount(), 2);
    }

private:
    void AddPeople(const QList<Person>& people)
    {
        Start([&] {
            QVERIFY(people_->Open());
            for (const Person& person : people) {
                people_->ClearBuffer();
                people_->Buffer().SetValue("PPL:Name", person.name);
                people_->Buffer().SetValue("PPL:City", person.city);
                QVERIFY(people_->Insert());
            }
            people_->Close();
        });
    }

    WindowController* OpenMergeWindow()
    {
        Start([this] { editor_->edit.OpenMailMerge(); });
        WaitIdle();
        return FindWindow("MailMergeWindow");
    }

    static QString Text(WindowController& window, const QString& name)
    {
        auto* edit = qobject_cast<QLineEdit*>(window.window.Widget(window.window.ControlNumber(name)));
        return edit ? edit->text() : QStringLiteral("<none>");
    }

    std::unique_ptr<QTemporaryDir> folder_;
    IniSettings ini_;
    std::unique_ptr<Catalogue> catalogue_;
    Table* people_ = nullptr;
    std::unique_ptr<Editor> editor_;
};

QTEST_MAIN(MailMergeTest)
#include "tst_MailMerge.moc"
