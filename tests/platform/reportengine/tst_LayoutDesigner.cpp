#include "platform/reportengine/FormulaEditor.h"
#include "platform/reportengine/LayoutCanvas.h"
#include "platform/reportengine/LayoutDesigner.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/ObjectPropertiesPanel.h"
#include "platform/reportengine/PreviewWindow.h"
#include "platform/reportengine/PrinterOutput.h"
#include "platform/reportengine/ReportJobs.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/ProgramWindow.h"

#include "platform/framework/MessageRecorder.h"
#include "platform/reportengine/ReportRuns.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

Q_DECLARE_METATYPE(jornix::ProjectType)

using namespace jornix;
using namespace jornix::test;

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// How many pixels of the picture in the rectangle are of the kind.
int Pixels(const QImage& picture, const QRect& area, const std::function<bool(QRgb)>& kind)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    int found = 0;
    for (int y = std::max(area.top(), 0); y <= area.bottom() && y < image.height(); ++y)
        for (int x = std::max(area.left(), 0); x <= area.right() && x < image.width(); ++x)
            found += kind(image.pixel(x, y));
    return found;
}

int Ink(const QImage& picture, const QRect& area)
{
    return Pixels(picture, area, [](QRgb pixel) { return qGray(pixel) < 128; });
}

template <class T> T* Visible(const QString& name = {})
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(widget);
            found && found->isVisible() && (name.isEmpty() || found->objectName() == name))
            return found;
    return nullptr;
}

// A design run as the layout form starts it: a thread with its own window opens a design job, declares the
// items with their sample values and runs the designer.
struct DesignRun
{
    ReportJobs engine;
    ThreadNumber thread = 0;
    QWidget* callerWindow = nullptr;
    int result = 1;
    bool finished = false;

    void Start(const QString& file, ProjectType type, bool prohibit = true)
    {
        thread = StartProcedureThread([this, file, type, prohibit] {
            QWidget caller;
            caller.setWindowTitle(QStringLiteral("Layout Form"));
            callerWindow = &caller;
            ProgramWindow window(&caller);
            window.Show();
            const int job = engine.LlJobOpen(1);
            engine.LlSetFileExtensionsA(job, int(type), QStringLiteral("rpt"), QStringLiteral("prn"),
                                        QStringLiteral("bmp"));
            engine.LlDefineVariableStart(job);
            engine.LlDefineFieldStart(job);
            const QList<std::pair<QString, quint32>> items{{"Task.Num", ReportItemType::Numeric},
                                                           {"Task.Description", ReportItemType::Text},
                                                           {"Task.DueDate", ReportItemType::Date},
                                                           {"Task.Completed", ReportItemType::Boolean}};
            const auto sample = [](const QString& name, quint32 type) {
                return type == ReportItemType::Text      ? name
                       : type == ReportItemType::Numeric ? QStringLiteral("999999")
                       : type == ReportItemType::Date    ? QStringLiteral("2461000")
                                                         : QStringLiteral("1");
            };
            for (const auto& [name, itemType] : items) {
                if (type == ProjectType::List)
                    engine.LlDefineFieldExtA(job, name, sample(name, itemType), itemType, 0);
                engine.LlDefineVariableExtA(job, name, sample(name, itemType), itemType, 0);
            }
            for (const char* name : {"ReportOptions.Description", "ReportOptions.LoginName"})
                engine.LlDefineVariableExtA(job, QLatin1String(name), QLatin1String(name),
                                            ReportItemType::Text, 0);
            if (prohibit)
                for (int action : {524, 519, 515, 990})
                    engine.LlDesignerProhibitAction(job, action);
            result = engine.LlDefineLayoutA(job, &caller, QStringLiteral("Task List"), int(type), file);
            engine.LlJobClose(job);
            callerWindow = nullptr;
            finished = true;
        });
        QVERIFY(WaitForProgramThreads());
    }

    LayoutDesigner* Designer() const { return Visible<LayoutDesigner>(); }

    // A test that failed half-way leaves its designer open: it is closed without saving.
    ~DesignRun()
    {
        if (finished || !ThreadIsActive(thread))
            return;
        MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        if (LayoutDesigner* designer = Designer())
            designer->close();
        WaitForProgramThreads();
    }
};

void Trigger(LayoutDesigner* designer, const char* action)
{
    QVERIFY(designer);
    auto* found = designer->findChild<QAction*>(QLatin1String(action));
    QVERIFY2(found, action);
    QVERIFY2(found->isEnabled(), action);
    found->trigger();
    QVERIFY(WaitForProgramThreads());
}

// Types a formula into the open formula editor and confirms it.
void EnterFormula(const QString& formula)
{
    FormulaEditor* editor = Visible<FormulaEditor>();
    QVERIFY(editor);
    editor->findChild<QPlainTextEdit*>(QStringLiteral("formulaText"))->setPlainText(formula);
    auto* ok = editor->findChild<QPushButton*>(QStringLiteral("formulaOk"));
    QVERIFY2(ok->isEnabled(), qPrintable(editor->Problem()));
    ok->click();
    QVERIFY(WaitForProgramThreads());
    QVERIFY(!Visible<FormulaEditor>());
}

void SelectCell(LayoutDesigner* designer, int row, int column)
{
    auto* columns = designer->findChild<QTableWidget*>(QStringLiteral("tableColumns"));
    QVERIFY(columns && columns->isVisible());
    columns->setCurrentCell(row, column);
}

ReportLayout FixtureLayout()
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    LayoutObject text = LayoutDocument::NewObject(ObjectKind::Text, {0, 0}, QStringLiteral("Heading"));
    LayoutObject table = LayoutDocument::NewObject(ObjectKind::Table, {0, 20}, QStringLiteral("Rows"));
    table.table.columns.push_back({QStringLiteral("Task"), 40});
    table.table.headerLines.front().cells.push_back({QStringLiteral("\"Task\""), {}});
    table.table.dataLines.front().cells.push_back({QStringLiteral("Task.Description"), {}});
    layout.Layer(LayoutLayer::EveryPage) = {text, table};
    return layout;
}

} // namespace

class TestLayoutDesigner : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString File(const QString& name) const { return folder_.filePath(name); }
    // A layout file with a heading and a table of one column.
    QString FixtureFile(const QString& name) const
    {
        QString error;
        if (!WriteLayoutFile(File(name), FixtureLayout(), error))
            qFatal("%s", qPrintable(error));
        return File(name);
    }

    // Closes the designer of the run without changes to save and waits for the call to return.
    void CloseUnchanged(DesignRun& run)
    {
        Trigger(run.Designer(), "actionClose");
        QVERIFY(run.finished);
        QCOMPARE(run.result, ReportResult::Ok);
    }

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aScriptOfUserStepsGivesAListLayoutThatIsSaved()
    {
        const QString path = File(QStringLiteral("jx_1.rpt"));
        ReportLayout previous;
        QString error;
        QVERIFY(WriteLayoutFile(path, previous, error));
        const QByteArray before = Contents(path);

        MessageRecorder boxes;
        DesignRun run;
        run.Start(File(QStringLiteral("jx_1")), ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        QVERIFY(designer);
        QCOMPARE(designer->windowTitle(), QStringLiteral("Task List"));
        QVERIFY(!run.callerWindow->isEnabled()); // the caller's thread waits in the designer

        Trigger(designer, "actionInsertTable");
        Trigger(designer, "actionAddColumn");
        Trigger(designer, "actionAddColumn");
        const QStringList fields{"Task.Description", "Task.Num"};
        for (int column = 0; column < 2; ++column) {
            SelectCell(designer, column, ObjectPropertiesPanel::FirstFormulaColumn + 1);
            Trigger(designer, "actionEditCell");
            EnterFormula(fields[column]);
        }
        Trigger(designer, "actionInsertText");
        Trigger(designer, "actionEditTextLine");
        EnterFormula(QStringLiteral("ReportOptions.Description & \" - open tasks\""));
        Trigger(designer, "actionSave");
        QVERIFY(boxes.boxes.isEmpty());

        ReportLayout saved;
        QVERIFY2(ReadLayoutFile(path, saved, error), qPrintable(error));
        QCOMPARE(saved, designer->Document().Layout());
        const std::vector<LayoutObject>& objects = saved.Layer(LayoutLayer::EveryPage);
        QCOMPARE(objects.size(), std::size_t(2));
        QCOMPARE(objects[0].kind, ObjectKind::Table);
        QCOMPARE(objects[0].table.columns.size(), std::size_t(2));
        QCOMPARE(objects[0].table.dataLines.front().cells[0].formula, fields[0]);
        QCOMPARE(objects[0].table.dataLines.front().cells[1].formula, fields[1]);
        QCOMPARE(objects[1].lines, QStringList{"ReportOptions.Description & \" - open tasks\""});
        QCOMPARE(Contents(LayoutBackupPath(path)), before);
        // The sketch shows page 1 with the sample values.
        const QImage sketch(File(QStringLiteral("jx_1.bmp")));
        QCOMPARE(sketch.size(), QSize(595, 842)); // A4 at 72 dots per inch
        QVERIFY(Ink(sketch, QRect(0, 0, 595, 100)) > 100);
        Grab(designer, QStringLiteral("designer-list"));

        CloseUnchanged(run);
        QVERIFY(boxes.boxes.isEmpty()); // nothing left to save: no question

        // The saved layout prints its columns for three records.
        ReportJobs engine;
        const int job =
            StartPdf(engine, int(ProjectType::List), path, folder_.path(), QStringLiteral("tasks.pdf"));
        engine.LlDefineVariableExtA(job, QStringLiteral("ReportOptions.Description"),
                                    QStringLiteral("Weekly"), ReportItemType::Text, 0);
        QCOMPARE(engine.LlPrint(job), ReportResult::Ok);
        for (int record = 1; record <= 3; ++record) {
            engine.LlDefineFieldExtA(job, QStringLiteral("Task.Description"),
                                     QStringLiteral("Errand %1").arg(record), ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, QStringLiteral("Task.Num"), QString::number(700 + record),
                                     ReportItemType::Numeric, 0);
            PrintListRecord(engine, job);
        }
        QCOMPARE(engine.LlPrintFieldsEnd(job), ReportResult::Ok);
        QCOMPARE(engine.LlPrintEnd(job, 0), ReportResult::Ok);
        engine.LlJobClose(job);
        const QStringList pages = PdfPages(File(QStringLiteral("tasks.pdf")));
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains(QStringLiteral("Weekly - open tasks")), qPrintable(pages[0]));
        QCOMPARE(Captures(pages[0], QStringLiteral("(Column \\d)")), (QStringList{"Column 1", "Column 2"}));
        QCOMPARE(Captures(pages[0], QStringLiteral("Errand (\\d) +70\\d")), (QStringList{"1", "2", "3"}));
        QCOMPARE(Captures(pages[0], QStringLiteral("Errand \\d +(70\\d)")),
                 (QStringList{"701", "702", "703"}));
    }

    void undoGivesBackTheLayoutBeforeEachKindOfChange_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("selected");
        QTest::newRow("add") << "actionInsertRectangle" << -1;
        QTest::newRow("move") << "actionMoveRight" << 0;
        QTest::newRow("resize") << "actionTaller" << 0;
        QTest::newRow("property") << "fontBold" << 0;
        QTest::newRow("delete") << "actionDelete" << 1;
        QTest::newRow("z-order") << "actionBringToFront" << 0;
        QTest::newRow("column") << "actionAddColumn" << 1;
        QTest::newRow("column formula") << "actionEditCell" << 1;
        QTest::newRow("paste") << "actionPaste" << 0;
        QTest::newRow("page") << "paperOrientation" << -1;
    }

    void undoGivesBackTheLayoutBeforeEachKindOfChange()
    {
        QFETCH(QString, command);
        QFETCH(int, selected);
        const QString path = FixtureFile(QStringLiteral("jx_undo.rpt"));
        QString error;
        MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        LayoutDocument& document = designer->Document();
        if (selected >= 0)
            document.Select({selected});
        if (command == QLatin1String("actionPaste"))
            Trigger(designer, "actionCopy");
        const ReportLayout before = document.Layout();

        if (command == QLatin1String("fontBold")) {
            designer->findChild<QCheckBox*>(command)->click();
        } else if (command == QLatin1String("paperOrientation")) {
            auto* orientation = designer->findChild<QComboBox*>(command);
            orientation->setCurrentIndex(1);
            emit orientation->activated(1);
        } else if (command == QLatin1String("actionEditCell")) {
            SelectCell(designer, 0, ObjectPropertiesPanel::FirstFormulaColumn + 1);
            Trigger(designer, "actionEditCell");
            EnterFormula(QStringLiteral("Task.Num"));
        } else {
            Trigger(designer, qPrintable(command));
        }
        const ReportLayout after = document.Layout();
        QVERIFY(after != before);
        QVERIFY(designer->IsModified());
        Trigger(designer, "actionUndo");
        QVERIFY(document.Layout() == before);
        QVERIFY(!designer->IsModified());
        Trigger(designer, "actionRedo");
        QVERIFY(document.Layout() == after);

        Trigger(designer, "actionClose");
        QCOMPARE(boxes.boxes.size(), 1); // No: the file stays as it was
        QVERIFY(run.finished);
        ReportLayout kept;
        QVERIFY(ReadLayoutFile(path, kept, error));
        QVERIFY(kept == FixtureLayout());
    }

    void closingWithChangesAsksWhetherToSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Cancel keeps the designer open") << int(MessageButton::Cancel) << false << false;
        QTest::newRow("No leaves the file unchanged") << int(MessageButton::No) << true << false;
        QTest::newRow("Yes saves") << int(MessageButton::Yes) << true << true;
    }

    void closingWithChangesAsksWhetherToSave()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        const QString path = FixtureFile(QStringLiteral("jx_close.rpt"));
        const QByteArray before = Contents(path);
        MessageRecorder boxes;
        boxes.answers = {answer};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        Trigger(designer, "actionInsertLine");
        designer->close(); // the close box
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Question);
        QCOMPARE(boxes.boxes[0].buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        QCOMPARE(run.finished, closes);
        QCOMPARE(Contents(path) != before, saved);
        if (!closes) {
            QVERIFY(designer->isVisible());
            QVERIFY(designer->IsModified());
            boxes.answers = {MessageButton::No};
            Trigger(designer, "actionClose");
            QVERIFY(run.finished);
            QCOMPARE(Contents(path), before);
        }
    }

    void theFormulaTreeOffersEveryDeclaredName()
    {
        DesignRun run;
        run.Start(File(QStringLiteral("jx_tree")), ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        Trigger(designer, "actionInsertText");
        Trigger(designer, "actionEditCondition");
        FormulaEditor* editor = Visible<FormulaEditor>();
        QVERIFY(editor);
        const QStringList offered = editor->OfferedNames();
        for (const char* name : {"Task.Num", "Task.Description", "Task.DueDate", "Task.Completed",
                                 "ReportOptions.Description", "ReportOptions.LoginName", "Cond(", "Date$("})
            QVERIFY2(offered.contains(QLatin1String(name)), name);
        // A double-click on a name puts it into the formula.
        auto* tree = editor->findChild<QTreeWidget*>(QStringLiteral("formulaTree"));
        QTreeWidgetItem* fields = tree->topLevelItem(1);
        emit tree->itemActivated(fields->child(1), 0);
        QCOMPARE(editor->FormulaText(), QStringLiteral("Task.Description"));
        editor->findChild<QPlainTextEdit*>(QStringLiteral("formulaText"))
            ->setPlainText(QStringLiteral("Cond(Task.Completed, \"Done: \", \"Open: \") & Task.Description"));
        Grab(editor, QStringLiteral("formula-editor"));
        Grab(designer, QStringLiteral("designer-text"));
        editor->findChild<QPushButton*>(QStringLiteral("formulaCancel"))->click();
        QVERIFY(WaitForProgramThreads());
        CloseWithoutSaving(run);
    }

    void aWrongFormulaShowsItsErrorAndIsNotStored_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("problem");
        QTest::newRow("cut short") << "Task.Num +"
                                   << "at position";
        QTest::newRow("open parenthesis") << "Cond(Task.Completed, \"done\""
                                          << "closing parenthesis";
        QTest::newRow("open quote") << "\"open tasks"
                                    << "no closing quote";
        QTest::newRow("unknown function") << "Frobnicate(1)"
                                          << "Frobnicate";
        QTest::newRow("hostile") << QString(5000, QLatin1Char('(')) << "not valid";
    }

    void aWrongFormulaShowsItsErrorAndIsNotStored()
    {
        QFETCH(QString, formula);
        QFETCH(QString, problem);
        DesignRun run;
        run.Start(File(QStringLiteral("jx_wrong")), ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        Trigger(designer, "actionInsertText");
        const ReportLayout before = designer->Document().Layout();
        Trigger(designer, "actionEditCondition");
        FormulaEditor* editor = Visible<FormulaEditor>();
        editor->findChild<QPlainTextEdit*>(QStringLiteral("formulaText"))->setPlainText(formula);
        auto* status = editor->findChild<QLabel*>(QStringLiteral("formulaStatus"));
        QVERIFY2(status->text().contains(problem), qPrintable(status->text()));
        auto* ok = editor->findChild<QPushButton*>(QStringLiteral("formulaOk"));
        QVERIFY(!ok->isEnabled());
        editor->accept(); // Enter cannot commit it either
        QVERIFY(editor->isVisible());
        editor->findChild<QPlainTextEdit*>(QStringLiteral("formulaText"))
            ->setPlainText(QStringLiteral("Task.Num > 5"));
        QVERIFY(status->text().contains(QStringLiteral("correct")));
        editor->findChild<QPushButton*>(QStringLiteral("formulaCancel"))->click();
        QVERIFY(WaitForProgramThreads());
        QVERIFY(designer->Document().Layout() == before);
        CloseWithoutSaving(run);
    }

    void theProhibitedActionsAreAbsent_data()
    {
        QTest::addColumn<bool>("prohibited");
        QTest::newRow("prohibited") << true;
        QTest::newRow("allowed") << false;
    }

    void theProhibitedActionsAreAbsent()
    {
        QFETCH(bool, prohibited);
        DesignRun run;
        run.Start(File(QStringLiteral("jx_prohibited")), ProjectType::Card, prohibited);
        LayoutDesigner* designer = run.Designer();
        const QList<QKeySequence> keys{
            QKeySequence(QStringLiteral("Ctrl+N")), QKeySequence(QStringLiteral("Ctrl+O")),
            QKeySequence(QStringLiteral("Ctrl+Shift+S")), QKeySequence(QStringLiteral("Ctrl+Q"))};
        QStringList names;
        QList<QKeySequence> shortcuts;
        for (QAction* action : designer->findChildren<QAction*>()) {
            names << action->objectName() << action->text().remove(QLatin1Char('&'));
            shortcuts << action->shortcuts();
        }
        for (const char* name : {"actionNew", "actionOpen", "actionSaveAs", "actionExit", "New", "Open...",
                                 "Save As...", "Exit"})
            QCOMPARE(names.contains(QLatin1String(name)), !prohibited);
        for (const QKeySequence& key : keys)
            QCOMPARE(shortcuts.contains(key), !prohibited);
        QCOMPARE(names.contains(QStringLiteral("actionClose")), prohibited); // one way out always
        Trigger(designer, prohibited ? "actionClose" : "actionExit");
        QVERIFY(run.finished);
    }

    void aDamagedFileOpensWithAMessageAndStaysAsItIs_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("changed");
        QTest::newRow("cut short") << QByteArray("<jornix-layout version=\"1\" project=\"list\"><layer")
                                   << false;
        QTest::newRow("not a layout") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << false;
        QTest::newRow("changed, then not saved")
            << QByteArray("<!DOCTYPE x [<!ENTITY a \"aaaa\">]><jornix-layout version=\"1\"/>") << true;
    }

    void aDamagedFileOpensWithAMessageAndStaysAsItIs()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, changed);
        const QString path = File(QStringLiteral("jx_damaged.rpt"));
        WriteBytes(path, content);
        MessageRecorder boxes;
        boxes.answers = {MessageButton::Ok, MessageButton::No};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        QVERIFY(designer);
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY2(boxes.boxes[0].text.contains(QStringLiteral("cannot be read")),
                 qPrintable(boxes.boxes[0].text));
        QVERIFY(!designer->LoadProblem().isEmpty());
        QVERIFY(designer->Document().Layout().Layer(LayoutLayer::EveryPage).empty());
        QCOMPARE(designer->Document().Layout().projectType, ProjectType::List);
        if (changed)
            Trigger(designer, "actionInsertText");
        Trigger(designer, "actionClose");
        QCOMPARE(boxes.boxes.size(), changed ? 2 : 1);
        QVERIFY(run.finished);
        QCOMPARE(Contents(path), content);
    }

    void aLayoutOfExtremeSizesOpensAndDraws()
    {
        // Values at the bounds a layout file may hold.
        ReportLayout layout;
        layout.projectType = ProjectType::Label;
        layout.paper = PaperSetup{100000, 100000, 0, 0, 0, 0};
        layout.labels = LabelGrid{1000, 1000, 0.5, 0.5, 0, 0, 0.4, 0.4};
        LayoutObject text =
            LayoutDocument::NewObject(ObjectKind::Text, {-1000, -1000}, QStringLiteral("Huge"));
        text.frame.setSize({100000, 100000});
        text.style.pointSize = 2000;
        text.lines = QStringList(1000, QString(1000, QLatin1Char('W')));
        LayoutObject table = LayoutDocument::NewObject(ObjectKind::Table, {0, 0}, QStringLiteral("Wide"));
        table.table.columns.assign(1000, TableColumn{QStringLiteral("c"), 100000});
        table.table.dataLines.front().cells.assign(1000, TableCell{QStringLiteral("Task.Num"), {}});
        layout.Layer(LayoutLayer::EveryPage) = {text, table};
        const QString path = File(QStringLiteral("jx_extreme.rpt"));
        Write(layout, path);
        DesignRun run;
        run.Start(path, ProjectType::Label);
        LayoutDesigner* designer = run.Designer();
        QVERIFY(designer->LoadProblem().isEmpty());
        for (double zoom : {0.1, 1.0, 8.0}) {
            designer->Canvas().SetZoom(zoom);
            QVERIFY(!designer->grab().isNull());
        }
        designer->Document().Select({1});
        QVERIFY(!designer->grab().isNull());
        CloseUnchanged(run);
    }

    void aSaveThatFailsSaysSoAndKeepsThePreviousFile()
    {
        const QString path = FixtureFile(QStringLiteral("jx_fails.rpt"));
        const QByteArray before = Contents(path);
        // The previous version cannot be kept: a folder with a file in it holds its name.
        QVERIFY(QDir().mkpath(LayoutBackupPath(path) + QStringLiteral("/in-the-way")));
        MessageRecorder boxes;
        boxes.answers = {MessageButton::Ok, MessageButton::Yes, MessageButton::Ok, MessageButton::Cancel};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        Trigger(designer, "actionInsertText");
        Trigger(designer, "actionSave");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY2(boxes.boxes[0].text.contains(QStringLiteral("cannot be saved")),
                 qPrintable(boxes.boxes[0].text));
        QCOMPARE(Contents(path), before);
        QVERIFY(designer->IsModified());
        // Yes at the close question tries again; the failure keeps the designer open.
        Trigger(designer, "actionClose");
        QVERIFY(!run.finished);
        QCOMPARE(Contents(path), before);
        QDir(LayoutBackupPath(path)).removeRecursively();
        Grab(designer, QStringLiteral("designer-fixture"));
        Trigger(designer, "actionSave");
        QVERIFY(Contents(path) != before);
        QCOMPARE(Contents(LayoutBackupPath(path)), before);
        CloseUnchanged(run);
    }

    void aMissingFileStartsAnEmptyLayoutOfTheProjectType_data()
    {
        QTest::addColumn<ProjectType>("type");
        QTest::newRow("list") << ProjectType::List;
        QTest::newRow("card") << ProjectType::Card;
        QTest::newRow("label") << ProjectType::Label;
    }

    void aMissingFileStartsAnEmptyLayoutOfTheProjectType()
    {
        QFETCH(ProjectType, type);
        const QString path = File(QStringLiteral("jx_new_%1.rpt").arg(int(type)));
        MessageRecorder boxes;
        DesignRun run;
        run.Start(path, type);
        LayoutDesigner* designer = run.Designer();
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(designer->Document().Layout().projectType, type);
        QVERIFY(!designer->IsModified());

        QCOMPARE(designer->findChild<QWidget*>(QStringLiteral("labelSection"))->isVisible(),
                 type == ProjectType::Label);
        QCOMPARE(designer->findChild<QWidget*>(QStringLiteral("textContinues"))->isVisibleTo(designer),
                 false); // nothing selected: the page's properties
        // Only a card's texts go on to the next page with what does not fit.
        Trigger(designer, "actionInsertText");
        QCOMPARE(designer->findChild<QWidget*>(QStringLiteral("textContinues"))->isVisibleTo(designer),
                 type == ProjectType::Card);
        Grab(designer, QStringLiteral("designer-new-%1").arg(int(type)));
        Trigger(designer, "actionUndo");
        CloseUnchanged(run);
        QVERIFY(!QFileInfo::exists(path)); // nothing to save, nothing written
    }

    void theMouseAndTheKeysMoveAndResize()
    {
        const QString path = FixtureFile(QStringLiteral("jx_mouse.rpt"));
        MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        LayoutDocument& document = designer->Document();
        LayoutCanvas& canvas = designer->Canvas();
        QWidget* view = canvas.viewport();
        const QRectF start = document.Objects()[0].frame;

        // Drag the heading by 20 mm to the right and 10 mm down: it snaps to the grid.
        const QPoint from = canvas.ToView(start.center()).toPoint();
        const QPoint to = canvas.ToView(start.center() + QPointF(20.3, 10.2)).toPoint();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QVERIFY(document.Selection() == QList<int>{0});
        QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
        QCOMPARE(document.Objects()[0].frame.topLeft(), start.topLeft() + QPointF(20, 10));

        // The handle at the bottom right corner resizes.
        const QRectF moved = document.Objects()[0].frame;
        const QPoint corner = canvas.ToView(moved.bottomRight()).toPoint();
        const QPoint wider = canvas.ToView(moved.bottomRight() + QPointF(10, 5)).toPoint();
        QTest::mousePress(view, Qt::LeftButton, {}, corner);
        QMouseEvent drag(QEvent::MouseMove, wider, view->mapToGlobal(wider), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(view, &drag);
        QTest::mouseRelease(view, Qt::LeftButton, {}, wider);
        QCOMPARE(document.Objects()[0].frame.topLeft(), moved.topLeft());
        QCOMPARE(document.Objects()[0].frame.bottomRight(),
                 QPointF(canvas.Snapped(moved.right() + 10), canvas.Snapped(moved.bottom() + 5)));

        // Keys: arrows move by a grid step, with Shift they resize; a run of presses is one step to undo.
        canvas.setFocus();
        const QRectF keyed = document.Objects()[0].frame;
        QTest::keyClick(&canvas, Qt::Key_Right);
        QTest::keyClick(&canvas, Qt::Key_Right);
        QTest::keyClick(&canvas, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(document.Objects()[0].frame, QRectF(keyed.topLeft() + QPointF(2 * LayoutCanvas::GridStep, 0),
                                                     keyed.size() + QSizeF(0, LayoutCanvas::GridStep)));
        Trigger(designer, "actionUndo");
        Trigger(designer, "actionUndo");
        QCOMPARE(document.Objects()[0].frame, keyed);

        // Ctrl and a press adds to the selection; a band over empty paper selects what it covers.
        QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier,
                          canvas.ToView(LayoutCanvas::Bounds(document.Objects()[1]).center()).toPoint());
        QCOMPARE(document.Selection(), (QList<int>{0, 1}));
        const QPoint bandFrom = canvas.ToView(QPointF(-5, -5)).toPoint();
        const QPoint bandTo = canvas.ToView(QPointF(180, 24)).toPoint();
        QTest::mousePress(view, Qt::LeftButton, {}, bandFrom);
        QMouseEvent band(QEvent::MouseMove, bandTo, view->mapToGlobal(bandTo), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(view, &band);
        QTest::mouseRelease(view, Qt::LeftButton, {}, bandTo);
        QCOMPARE(document.Selection(), QList<int>{0});

        // Escape lets go of the selection; a double-click on a text edits its line.
        QTest::keyClick(&canvas, Qt::Key_Escape);
        QVERIFY(document.Selection().isEmpty());
        QVERIFY(designer->isVisible());
        const QPoint heading = canvas.ToView(document.Objects()[0].frame.center()).toPoint();
        QTest::mouseClick(view, Qt::LeftButton, {}, heading);
        QTest::mouseDClick(view, Qt::LeftButton, {}, heading);
        QVERIFY(WaitForProgramThreads());
        EnterFormula(QStringLiteral("\"Tasks\""));
        QCOMPARE(document.Objects()[0].lines, QStringList{"\"Tasks\""});
        CloseWithoutSaving(run);
    }

    void pageSetUpAndPrinterAreKeptWithTheLayout()
    {
        const QString path = FixtureFile(QStringLiteral("jx_page.rpt"));
        QString error;
        // Settings that named a paper of their own.
        PrinterSettings before;
        before.SetValue(PrinterKey::Paper, QStringLiteral("A4"));
        before.SetValue(PrinterKey::Orientation, QStringLiteral("Portrait"));
        QVERIFY(before.Write(File(QStringLiteral("jx_page.prn")), error));
        QList<CommonDialogRequest> dialogs;
        SetCommonDialogSink([&dialogs](const CommonDialogRequest& request) {
            dialogs << request;
            return CommonDialogAnswer{true, {}, QColor(Qt::darkRed), {}};
        });
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        LayoutDocument& document = designer->Document();

        Trigger(designer, "actionPageSetup");
        auto* dialog = Visible<QPageSetupDialog>();
        QVERIFY(dialog);
        auto* landscape = dialog->findChild<QRadioButton*>(QStringLiteral("landscape"));
        QVERIFY(landscape);
        landscape->click();
        dialog->findChild<QDoubleSpinBox*>(QStringLiteral("leftMargin"))->setValue(25);
        Grab(dialog, QStringLiteral("page-setup"));

        dialog->accept();
        QVERIFY(WaitForProgramThreads());
        QVERIFY(document.Layout().paper.width > document.Layout().paper.height);
        QCOMPARE(document.Layout().paper.width, 297.0);
        QCOMPARE(document.Layout().paper.leftMargin, 25.0);
        Trigger(designer, "actionUndo");
        QCOMPARE(document.Layout().paper, FixtureLayout().paper);
        Trigger(designer, "actionRedo");

        Trigger(designer, "actionPrinter");
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].kind, CommonDialogRequest::Kind::Printer);

        // A colour chosen in the colour dialog.
        document.Select({0});
        Trigger(designer, "actionTextColour");
        QCOMPARE(dialogs.size(), 2);
        QCOMPARE(document.Objects()[0].style.colour, QColor(Qt::darkRed));
        SetCommonDialogSink({});

        Trigger(designer, "actionSave");
        PrinterSettings kept;
        QVERIFY(kept.Read(designer->PrinterPath(), error));
        QCOMPARE(kept.Value(PrinterKey::Orientation), QString()); // the layout's paper prints
        QCOMPARE(kept.Value(PrinterKey::Paper), QString());
        QCOMPARE(kept.Value(PrinterKey::Copies), QStringLiteral("1"));
        ReportLayout saved;
        QVERIFY(ReadLayoutFile(path, saved, error));
        QCOMPARE(saved.paper.width, 297.0);
        CloseUnchanged(run);
    }

    void thePreviewPrintsTheLayoutAsItStandsWithTheSampleValues()
    {
        const QString path = FixtureFile(QStringLiteral("jx_preview.rpt"));
        const QByteArray before = Contents(path);
        MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        DesignRun run;
        run.Start(path, ProjectType::List);
        LayoutDesigner* designer = run.Designer();
        // Unsaved objects of every kind: the preview shows them all the same.
        for (const char* command :
             {"actionInsertBarcode", "actionInsertRectangle", "actionInsertLine", "actionInsertPicture"})
            Trigger(designer, command);
        // A picture beside the layout is shown on the page and named without its folder.
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(File(QStringLiteral("red.png"))));
        SetCommonDialogSink([this](const CommonDialogRequest&) {
            return CommonDialogAnswer{true, File(QStringLiteral("red.png")), {}, {}};
        });
        Trigger(designer, "actionChoosePicture");
        SetCommonDialogSink({});
        QCOMPARE(designer->Document().SelectedObject()->pictureFile, QStringLiteral("red.png"));
        const QImage page = designer->Canvas().grab().toImage();
        const int reds = Pixels(page, page.rect(), [](QRgb pixel) { return pixel == qRgb(255, 0, 0); });
        QVERIFY(reds > 100);
        Grab(designer, QStringLiteral("designer-kinds"));
        Trigger(designer, "actionPreview");
        QVERIFY(boxes.boxes.isEmpty());
        auto* preview = Visible<PreviewWindow>();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Task List - Preview"));
        QCOMPARE(preview->findChild<QLabel*>(QStringLiteral("pageLabel"))->text(),
                 QStringLiteral("Page 1 of 1"));
        preview->SetZoom(100);
        const QImage shown = preview->PageImage();
        QVERIFY(Ink(shown, QRect(0, 0, shown.width(), shown.height() / 3)) > 100);
        preview->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        QVERIFY(WaitForProgramThreads());
        QVERIFY(designer->isVisible());
        QVERIFY(designer->IsModified());
        QCOMPARE(Contents(path), before);
        Trigger(designer, "actionClose");
        QVERIFY(run.finished);
    }

    void anotherThreadsListWindowTakesInputWhileTheDesignerIsOpen()
    {
        int rowsChosen = 0;
        QListWidget* list = nullptr;
        const ThreadNumber other = StartProcedureThread([&] {
            QListWidget widget;
            widget.setWindowTitle(QStringLiteral("Tasks"));
            widget.addItems({QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")});
            list = &widget;
            ProgramWindow window(&widget);
            window.PostOn(&widget, &QListWidget::currentRowChanged, Event::NewSelection, 1);
            window.Show();
            for (;;) {
                const FrameworkEvent event = window.WaitEvent();
                if (event.event == Event::CloseWindow)
                    break;
                if (event.event == Event::NewSelection)
                    ++rowsChosen;
            }
            list = nullptr;
        });
        QVERIFY(WaitForProgramThreads());
        DesignRun run;
        run.Start(File(QStringLiteral("jx_other")), ProjectType::List);
        QVERIFY(run.Designer());
        QVERIFY(!run.callerWindow->isEnabled());
        QVERIFY(list->isEnabled());
        const int chosenBefore = rowsChosen;
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QVERIFY(WaitForProgramThreads());
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(rowsChosen - chosenBefore, 2);
        QVERIFY(run.Designer()->isVisible());
        CloseUnchanged(run);
        QVERIFY(PostEvent(Event::CloseWindow, 0, other));
        QVERIFY(WaitForProgramThreads());
    }

private:
    void CloseWithoutSaving(DesignRun& run)
    {
        MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        Trigger(run.Designer(), "actionClose");
        QVERIFY(run.finished);
    }
};

QTEST_MAIN(TestLayoutDesigner)
#include "tst_LayoutDesigner.moc"
