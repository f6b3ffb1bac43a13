#include "core/CoreProcedures.h"
#include "core/Main.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/Procedures.h"
#include "journal/JournalProcedures.h"
#include "journal/MonthGrid.h"
#include "organizer/OrganizerProcedures.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "journal/Pictures.h"
#include "InTheFrame.h"
#include "OnScreen.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// The part of a widget that can be seen, in the coordinates of the frame's area: the widget's own rectangle
// cut by each window and control it lies in, up to the area's visible part.
QRect VisiblePart(const QWidget* widget, const QRect& inWidget, const QMdiArea& area)
{
    QRect visible(widget->mapTo(area.viewport(), inWidget.topLeft()), inWidget.size());
    for (const QWidget* up = widget; up && up != area.viewport(); up = up->parentWidget())
        visible &= QRect(up->mapTo(area.viewport(), QPoint(0, 0)), up->size());
    return visible & area.viewport()->rect();
}

bool InView(const QWidget* widget, const QRect& inWidget, const QMdiArea& area)
{
    return VisiblePart(widget, inWidget, area) ==
           QRect(widget->mapTo(area.viewport(), inWidget.topLeft()), inWidget.size());
}

} // namespace

// The program's frame on a 1280 x 1024 screen with its side menu bar and the overdue reminders pane: the
// windows opened in it are whole, whatever size the frame has.
class WindowsInTheFrameTest : public QObject
{
    Q_OBJECT

    test::FrameSession session;

private slots:
    void initTestCase()
    {
        test::RegisterEveryWindow();
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024));
    }
    void init()
    {
        session.Begin();
        QVERIFY(session.SignIn(Me));
    }
    void cleanup()
    {
        QVERIFY(session.End());
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void theFirstSizeHoldsDateViewBesideTheSideBarAndThePane()
    {
        WindowController* main = test::OpenFrame();
        QVERIFY(main);
        QMdiArea* area = main->window.ChildArea();
        StartProcedure(QStringLiteral("DateView"));
        WaitIdle();
        QTest::qWait(100); // the platform places the frame
        WaitIdle();
        WindowController* view = FindWindow(QStringLiteral("DateView"));
        QVERIFY(view);
        // The frame had the room: it did not have to grow, and the window has the room its controls need.
        QCOMPARE(main->window.Root()->size(), QSize(1260, 900));
        auto* child = qobject_cast<QMdiSubWindow*>(view->window.Root());
        QVERIFY(child);
        QVERIFY(area->viewport()->rect().contains(child->geometry()));
        QVERIFY2(child->width() >= child->minimumSizeHint().width() &&
                     child->height() >= child->minimumSizeHint().height(),
                 qPrintable(QStringLiteral("%1x%2 for %3x%4")
                                .arg(child->width())
                                .arg(child->height())
                                .arg(child->minimumSizeHint().width())
                                .arg(child->minimumSizeHint().height())));
        test::SavePicture(main->window.Root(), QStringLiteral("Frame-DateView"));
    }

    void dateViewIsWholeInTheFrame_data()
    {
        QTest::addColumn<QSize>("frameSize"); // empty: maximised
        QTest::addColumn<bool>("viewMaximised");
        QTest::newRow("frame 1000x700") << QSize(1000, 700) << false;
        QTest::newRow("frame 1280x1000") << QSize(1280, 1000) << false;
        QTest::newRow("frame 1280x1000, Date View maximised") << QSize(1280, 1000) << true;
        QTest::newRow("frame maximised") << QSize() << false;
        QTest::newRow("frame maximised, Date View maximised") << QSize() << true;
    }
    void dateViewIsWholeInTheFrame()
    {
        QFETCH(QSize, frameSize);
        QFETCH(bool, viewMaximised);
        // The frame comes back at the placement it kept when it last closed.
        const QString section = QStringLiteral("Main");
        QVERIFY(INIMgr.WriteValue(section, QStringLiteral("Maximize"),
                                  frameSize.isValid() ? QStringLiteral("No") : QStringLiteral("Yes")));
        if (frameSize.isValid()) {
            QVERIFY(INIMgr.WriteValue(section, QStringLiteral("XPos"), QStringLiteral("0")));
            QVERIFY(INIMgr.WriteValue(section, QStringLiteral("YPos"), QStringLiteral("0")));
            QVERIFY(INIMgr.WriteValue(section, QStringLiteral("Width"), QString::number(frameSize.width())));
            QVERIFY(
                INIMgr.WriteValue(section, QStringLiteral("Height"), QString::number(frameSize.height())));
        }
        WindowController* main = test::OpenFrame();
        QVERIFY(main);
        QWidget* frame = main->window.Root();
        QTest::qWait(100); // the platform places the frame
        WaitIdle();
        StartProcedure(QStringLiteral("DateView"));
        WaitIdle();
        WindowController* view = FindWindow(QStringLiteral("DateView"));
        QVERIFY(view);
        auto* child = qobject_cast<QMdiSubWindow*>(view->window.Root());
        QVERIFY(child);
        if (viewMaximised)
            child->showMaximized();
        WaitIdle();
        QMdiArea& area = *main->window.ChildArea();
        QVERIFY2(frame->screen()->availableGeometry().contains(frame->frameGeometry()),
                 qPrintable(QStringLiteral("frame %1x%2").arg(frame->width()).arg(frame->height())));
        QStringList cut;
        QList<const MonthGrid*> grids;
        for (const QWidget* widget : child->findChildren<QWidget*>())
            if (auto* grid = dynamic_cast<const MonthGrid*>(widget))
                grids << grid;
        QCOMPARE(grids.size(), 3);
        for (const MonthGrid* grid : grids)
            for (int place = 0; place < MonthGrid::Cells; ++place)
                if (!InView(grid, grid->CellRect(place), area))
                    cut << QStringLiteral("%1 cell %2").arg(grid->objectName()).arg(place);
        for (const QAbstractButton* button : child->findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(child))
                continue;
            if (!InView(button, button->rect(), area))
                cut << QStringLiteral("button %1 is cut").arg(button->objectName());
            if (button->width() < button->minimumSizeHint().width())
                cut << QStringLiteral("button %1 is squeezed").arg(button->objectName());
        }
        test::SavePicture(frame, QStringLiteral("Frame-DateView-%1").arg(QTest::currentDataTag()));
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("frame %1x%2, area %3x%4: ")
                                               .arg(frame->width())
                                               .arg(frame->height())
                                               .arg(area.viewport()->width())
                                               .arg(area.viewport()->height()) +
                                           cut.mid(0, 8).join(QStringLiteral("; "))));
    }
};

JORNIX_TEST_MAIN_ON_SCREEN(WindowsInTheFrameTest, 1280, 1024)
#include "tst_WindowsInTheFrame.moc"
