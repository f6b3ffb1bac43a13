#include "core/CoreProcedures.h"
#include "core/CreateJornixDatabase.h"
#include "core/DataLayer.h"
#include "core/Main.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/ProgramGlobals.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "journal/UpdateLogTX.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Table.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "journal/Pictures.h"
#include "InTheFrame.h"
#include "OnScreen.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QDir>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// A reminder of today's, as the user writes one.
const QString TodaysReminder = QStringLiteral("Call Pat Sample about the sample task");

// The width the rows of a column take.
int Needs(const QAbstractItemView& list, int column)
{
    return list.sizeHintForColumn(column);
}

// The columns of a list, for a message: each title with its width and the width its rows need.
QString Widths(const QTreeView& list)
{
    QStringList widths;
    const QHeaderView* header = list.header();
    for (int column = 0; column < header->count(); ++column)
        widths << QStringLiteral("%1 %2 (needs %3)")
                      .arg(list.model()->headerData(column, Qt::Horizontal).toString())
                      .arg(header->sectionSize(column))
                      .arg(std::max(Needs(list, column), header->sectionSizeHint(column)));
    return widths.join(QStringLiteral(", ")) + QStringLiteral("; room %1").arg(list.viewport()->width());
}

} // namespace

// The program's frame at its first size on a 1280 x 1024 screen, with the sample data that a new user's
// database starts with: the texts the user reads most, the main column of a list and the notes of a log
// event, get the room the window has to spare.
class RoomForTheTextTest : public QObject
{
    Q_OBJECT

    test::FrameSession session;

    // The database a new user starts with: the factory layouts and the samples, and a reminder of today.
    static bool AddSamples()
    {
        const QDir shipped(JORNIX_PROGRAM_DIR "/DefaultData");
        if (!QDir().mkpath(ProgramFolder + QStringLiteral("DefaultData")))
            return false;
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), ProgramFolder + QStringLiteral("DefaultData/") + name);
        GLO.DataPath = DataPathText = ProgramFolder;
        DatabaseCreation made;
        Start([&made] {
            made = CreateJornixDatabase({QStringLiteral("admin"), QStringLiteral("Administrator"),
                                         QStringLiteral("Secret")},
                                        true, {});
        });
        WaitIdle(20000);
        if (!made.Ok()) {
            qWarning() << made.failure;
            return false;
        }
        Table& reminders = AccessREM->GetTable();
        if (!reminders.Open())
            return false;
        qint32 number = 0;
        bool added = bool(reminders.TakeNextNumber(number));
        reminders.ClearBuffer();
        Record& reminder = reminders.Buffer();
        reminder.SetValue(QStringLiteral("REM:Num"), number);
        reminder.SetValue(QStringLiteral("REM:Description"), TodaysReminder);
        reminder.SetValue(QStringLiteral("REM:ReminderDate"), Today());
        reminder.SetValue(QStringLiteral("REM:CreateLoginID"), QStringLiteral("as"));
        reminder.SetValue(QStringLiteral("REM:UniqueID"), Me);
        added = added && bool(reminders.Insert());
        reminders.Close();
        return added;
    }

private slots:
    void initTestCase()
    {
        test::RegisterEveryWindow();
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024));
    }
    void init()
    {
        session.Begin();
        QVERIFY(AddSamples());
        QVERIFY(session.SignIn(Me));
        GLO.ShowOverdueReminders = 0;
        WindowThreadRegistry.fill(0);
    }
    void cleanup()
    {
        QVERIFY(session.End());
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void theMainColumnOfAListTakesTheFreeWidth_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("list");        // its use-name
        QTest::addColumn<QString>("mainColumn");  // its title
        QTest::addColumn<QString>("sampleText");  // a text of the main column
        QTest::newRow("Date View's events") << "DateView" << "List" << "Log Description" << "Welcome to Jornix";
        QTest::newRow("Date View's reminders")
            << "DateView" << "ReminderList" << "Description" << TodaysReminder;
        QTest::newRow("All Events View") << "AllView" << "List" << "Log Description" << "Welcome to Jornix";
        QTest::newRow("Reminders") << "Reminder" << "List" << "Description" << TodaysReminder;
        QTest::newRow("Tasks") << "Tasks" << "List" << "Description" << "Sample Task";
        QTest::newRow("Contacts") << "Contacts" << "List" << "Last Name" << "Sample";
        QTest::newRow("Sticky Notes") << "StickyNotes" << "List" << "Description" << "A quick note";
        QTest::newRow("Report Designer's layouts")
            << "ReportDesigner" << "List" << "Description" << "Summary Report Sorted by Log Description";
    }
    void theMainColumnOfAListTakesTheFreeWidth()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, list);
        QFETCH(QString, mainColumn);
        QFETCH(QString, sampleText);
        WindowController* main = test::OpenFrame(100);
        QVERIFY(main);
        // The frame's first size, grown only as far as its panes need, inside the screen.
        const QRect frame = main->window.Root()->frameGeometry();
        QVERIFY2(frame.width() >= 1260 && main->window.Root()->height() == 900 &&
                     main->window.Root()->screen()->availableGeometry().contains(frame),
                 qPrintable(QStringLiteral("%1x%2").arg(frame.width()).arg(frame.height())));
        StartProcedure(procedure);
        WaitIdle();
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        auto* tree = qobject_cast<QTreeView*>(window->window.Widget(window->window.ControlNumber(list)));
        QVERIFY(tree);
        QTRY_VERIFY(tree->model()->rowCount() > 0);
        WaitIdle();
        test::SavePicture(main->window.Root(), QStringLiteral("List-") + QTest::currentDataTag());
        const QHeaderView* header = tree->header();
        int main_ = -1;
        for (int column = 0; column < header->count(); ++column)
            if (tree->model()->headerData(column, Qt::Horizontal).toString() == mainColumn)
                main_ = column;
        QVERIFY(main_ >= 0);
        int sampleRow = -1;
        for (int row = 0; row < tree->model()->rowCount(); ++row)
            if (tree->model()->index(row, main_).data().toString() == sampleText)
                sampleRow = row;
        QVERIFY2(sampleRow >= 0, qPrintable(sampleText));
        const QString widths = Widths(*tree);
        // The main column is the widest and shows its texts whole; every other column has the room of its
        // title and its rows; nothing lies beyond the list's right edge.
        for (int column = 0; column < header->count(); ++column) {
            const int needs = std::max(Needs(*tree, column), header->sectionSizeHint(column));
            QVERIFY2(header->sectionSize(column) >= needs, qPrintable(widths));
            if (column != main_)
                QVERIFY2(header->sectionSize(main_) > header->sectionSize(column), qPrintable(widths));
        }
        QVERIFY2(header->length() <= tree->viewport()->width(), qPrintable(widths));
        QVERIFY2(!tree->horizontalScrollBar()->isVisible(), qPrintable(widths));
    }

    void theNotesOfAnEventTakeTheSpareHeight_data()
    {
        QTest::addColumn<int>("taller"); // than the editor opens
        QTest::newRow("first size") << 0;
        QTest::newRow("200 px taller") << 200;
    }
    void theNotesOfAnEventTakeTheSpareHeight()
    {
        QFETCH(int, taller);
        WindowController* main = test::OpenFrame(100);
        QVERIFY(main);
        // The sample event, changed as Date View's Change does it.
        Start([] {
            RelationsLOG->Open();
            AccessLOG->GetTable().ClearBuffer();
            AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), 1);
            AccessLOG->FetchQuiet(AccessLOG->GetTable().AutoNumberKey());
            CurrentContext().GlobalRequestCode = Request::Change;
            UpdateLogTX();
            RelationsLOG->Close();
        });
        WaitIdle();
        WindowController* form = FindWindow(QStringLiteral("UpdateLogTX"));
        QVERIFY(form);
        QWidget* root = form->window.Root();
        QWidget* notes = form->window.Widget(form->window.ControlNumber(QStringLiteral("Notes")));
        QWidget* sheet = form->window.Widget(form->window.ControlNumber(QStringLiteral("Sheet")));
        QWidget* enlargeRow =
            form->window.Widget(form->window.ControlNumber(QStringLiteral("Enlarge")))->parentWidget();
        QVERIFY(notes && sheet && enlargeRow);
        const int firstHeight = root->height();
        const int firstNotes = notes->height();
        test::SavePicture(root, QStringLiteral("EventNotes-first"));
        if (taller > 0) {
            root->resize(root->width(), root->height() + taller);
            WaitIdle();
            test::SavePicture(root, QStringLiteral("EventNotes-taller"));
        }
        const QString heights = QStringLiteral("window %1 (opened %2), notes %3 (opened %4, hint %5), fields %6 "
                                               "(hint %7)")
                                    .arg(root->height())
                                    .arg(firstHeight)
                                    .arg(notes->height())
                                    .arg(firstNotes)
                                    .arg(notes->sizeHint().height())
                                    .arg(sheet->height())
                                    .arg(sheet->sizeHint().height());
        // The fields keep the height they ask for; the notes take the rest and grow with the window.
        QVERIFY2(sheet->height() == std::max(sheet->sizeHint().height(), sheet->minimumSizeHint().height()),
                 qPrintable(heights));
        QVERIFY2(notes->height() > sheet->height(), qPrintable(heights));
        QVERIFY2(notes->height() == firstNotes + root->height() - firstHeight, qPrintable(heights));
        // Enlarged, the notes take the fields' room as well: the row under them meets the stamps.
        const int height = notes->height();
        const int gap = sheet->y() - (enlargeRow->y() + enlargeRow->height());
        const int room = sheet->height() + gap;
        Press(*form, QStringLiteral("Enlarge"));
        WaitIdle();
        test::SavePicture(root, QStringLiteral("EventNotes-enlarged-") + QTest::currentDataTag());
        QVERIFY2(!sheet->isVisible(), qPrintable(heights));
        QVERIFY2(notes->height() == height + room,
                 qPrintable(heights + QStringLiteral("; enlarged %1, the fields' room %2")
                                          .arg(notes->height())
                                          .arg(room)));
        Press(*form, QStringLiteral("Enlarge"));
        WaitIdle();
        QCOMPARE(notes->height(), height);
        QCOMPARE(root->height(), firstHeight + taller);
    }
};

JORNIX_TEST_MAIN_ON_SCREEN(RoomForTheTextTest, 1280, 1024)
#include "tst_RoomForTheText.moc"
