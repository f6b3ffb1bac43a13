#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include "platform/runtime/TopLevelWindows.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace jornix;

namespace {
constexpr int RefreshEvent = 2133;

QString Describe(const FrameworkEvent& event)
{
    static const char* const names[] = {"",          "Accepted",    "NewSelection", "Selected", "Rejected",
                                        "Completed", "CloseWindow", "GainFocus",    "Size",     "Sized",
                                        "Timer",     "OpenWindow",  "TabChanging",  "AlertKey", "MouseDown",
                                        "MouseUp",   "MouseMove",   "LoseFocus"};
    QString text = event.event > 0 && event.event <= Event::LoseFocus
                       ? QString::fromLatin1(names[event.event])
                       : QString::number(event.event);
    if (event.control != 0)
        text += QLatin1Char(' ') + QString::number(event.control);
    if (event.event == Event::AlertKey)
        text += QLatin1Char(' ') + (event.key < Qt::Key_Space ? QStringLiteral("mouse %1").arg(event.key)
                                                              : QKeySequence(event.key).toString());
    if (event.event >= Event::MouseDown && event.event <= Event::MouseMove)
        text += QStringLiteral(" x") + QString::number(event.x);
    return text;
}

// A list window that opens a form on Accepted 1. The form shows a message box on Accepted 2, and on Accepted
// 3 one during which its timer runs.
struct ListAndForm
{
    QStringList list;
    QStringList form;

    void Run()
    {
        QWidget listWidget;
        ProgramWindow listWindow(&listWidget);
        for (;;) {
            const FrameworkEvent event = listWindow.WaitEvent();
            list << Describe(event);
            if (event.event == Event::CloseWindow)
                return;
            if (event.event == Event::Accepted && event.control == 1)
                RunForm();
        }
    }

    void RunForm()
    {
        QDialog formWidget;
        ProgramWindow formWindow(&formWidget);
        for (;;) {
            const FrameworkEvent event = formWindow.WaitEvent();
            form << Describe(event);
            if (event.event == Event::CloseWindow)
                return;
            if (event.event == Event::Accepted && (event.control == 2 || event.control == 3)) {
                formWindow.SetTimer(event.control == 3 ? 1 : 0);
                ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Held"),
                               QStringLiteral("Events wait"));
                formWindow.SetTimer(0);
                form << QStringLiteral("box closed");
            }
        }
    }
};

void AnswerHeldBox()
{
    QMessageBox* box = VisibleWindow<QMessageBox>(QStringLiteral("Held"));
    QVERIFY(box);
    box->button(QMessageBox::Ok)->click();
    QVERIFY(WaitForProgramThreads());
}

void Post(int event, int control, ThreadNumber thread)
{
    QVERIFY(PostEvent(event, control, thread));
    QVERIFY(WaitForProgramThreads());
}
} // namespace

class TestFrameworkEvents : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aPostReachesTheFormOverTheList()
    {
        ListAndForm windows;
        const ThreadNumber thread = StartProcedureThread([&windows] { windows.Run(); });
        QVERIFY(WaitForProgramThreads());
        Post(Event::Accepted, 1, thread);
        Post(RefreshEvent, 0, thread);
        Post(Event::CloseWindow, 0, thread);
        Post(RefreshEvent + 1, 0, thread);
        QCOMPARE(windows.list, QStringList({"OpenWindow", "Accepted 1", "2134"}));
        QCOMPARE(windows.form, QStringList({"OpenWindow", "2133", "CloseWindow"}));
        Post(Event::CloseWindow, 0, thread);
        QVERIFY(!ThreadIsActive(thread));
    }

    void postsArriveInOrder_data()
    {
        QTest::addColumn<bool>("heldByABox");
        QTest::addColumn<QList<int>>("posts"); // pairs of event and control
        QTest::addColumn<QStringList>("arrived");
        const QList<int> three{RefreshEvent, 0, Event::Accepted, 5, RefreshEvent + 7, 0};
        const QStringList threeArrived{"2133", "Accepted 5", "2140"};
        QTest::newRow("three posts arrive in order") << false << three << threeArrived;
        QTest::newRow("posts to a thread in a message box arrive after it, in order")
            << true << three << (QStringList{"box closed"} + threeArrived);
        QTest::newRow("Size and Timer held back do not pile up")
            << true << QList<int>{Event::Size,  0, Event::Timer,    0, Event::Size, 0,
                                  Event::Timer, 0, Event::Accepted, 5, Event::Size, 0}
            << QStringList{"box closed", "Size", "Timer", "Accepted 5"};
        QTest::newRow("presses held back all arrive")
            << true << QList<int>{Event::Accepted, 5, Event::Accepted, 5, Event::Accepted, 6}
            << QStringList{"box closed", "Accepted 5", "Accepted 5", "Accepted 6"};
    }

    void postsArriveInOrder()
    {
        QFETCH(bool, heldByABox);
        QFETCH(QList<int>, posts);
        QFETCH(QStringList, arrived);
        ListAndForm windows;
        const ThreadNumber thread = StartProcedureThread([&windows] { windows.Run(); });
        QVERIFY(WaitForProgramThreads());
        Post(Event::Accepted, 1, thread);
        if (heldByABox) {
            Post(Event::Accepted, 2, thread);
            QVERIFY(VisibleWindow<QMessageBox>(QStringLiteral("Held")));
        }
        windows.form.clear();
        for (qsizetype i = 0; i < posts.size(); i += 2)
            QVERIFY(PostEvent(posts[i], posts[i + 1], thread));
        QVERIFY(WaitForProgramThreads());
        if (heldByABox) {
            QCOMPARE(windows.form, QStringList());
            AnswerHeldBox();
        }
        QCOMPARE(windows.form, arrived);
        Post(Event::CloseWindow, 0, thread);
        Post(Event::CloseWindow, 0, thread);
        QVERIFY(!ThreadIsActive(thread));
    }

    void theWindowTimerDoesNotPileUpWhileHeld()
    {
        ListAndForm windows;
        const ThreadNumber thread = StartProcedureThread([&windows] { windows.Run(); });
        QVERIFY(WaitForProgramThreads());
        Post(Event::Accepted, 1, thread);
        Post(Event::Accepted, 3, thread);
        windows.form.clear();
        QTest::qWait(100); // ten intervals of the form's timer
        AnswerHeldBox();
        QCOMPARE(windows.form, QStringList({"box closed", "Timer"}));
        Post(Event::CloseWindow, 0, thread);
        Post(Event::CloseWindow, 0, thread);
    }

    void aPostToAnEndedThreadIsDropped()
    {
        const ThreadNumber ended = StartProcedureThread([] {});
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!PostEvent(RefreshEvent, 0, ended));
        QVERIFY(!PostEvent(Event::CloseWindow, 0, ended + 1000));
    }

    void postsBeforeTheFirstWindowWaitForIt()
    {
        QStringList log;
        const ThreadNumber thread = StartProcedureThread([&log] {
            YieldNow();
            QWidget widget;
            ProgramWindow window(&widget);
            for (;;) {
                const FrameworkEvent event = window.WaitEvent();
                log << Describe(event);
                if (event.event == Event::CloseWindow)
                    return;
            }
        });
        QVERIFY(PostEvent(Event::Size, 0, thread));
        QVERIFY(PostEvent(Event::Size, 0, thread));
        QVERIFY(PostEvent(Event::Accepted, 4, thread));
        QVERIFY(WaitForProgramThreads());
        Post(Event::CloseWindow, 0, thread);
        QCOMPARE(log, QStringList({"OpenWindow", "Size", "Accepted 4", "CloseWindow"}));
    }

    void windowSignalsBecomeEvents_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("arrived");
        QTest::newRow("a button press") << "click"
                                        << "Accepted 3";
        QTest::newRow("the close box asks the window") << "close"
                                                       << "CloseWindow";
        QTest::newRow("Escape in a dialog asks the window") << "escape"
                                                            << "CloseWindow";
        QTest::newRow("an armed key") << "F2"
                                      << "AlertKey F2";
        QTest::newRow("a press on a split bar gives the window's x") << "press"
                                                                     << "MouseDown 7 x45";
        QTest::newRow("an armed right click in the window") << "right click"
                                                            << "AlertKey mouse 2";
        QTest::newRow("an armed double click in the window") << "double click"
                                                             << "AlertKey mouse 5";
        QTest::newRow("a click that the left button is not armed for gives nothing") << "left click"
                                                                                     << "";
        QTest::newRow("another window taking the focus") << "other window"
                                                         << "LoseFocus";
    }

    void windowSignalsBecomeEvents()
    {
        QFETCH(QString, action);
        QFETCH(QString, arrived);
        QStringList log;
        QDialog* dialog = nullptr;
        QPushButton* button = nullptr;
        QFrame* bar = nullptr;
        const ThreadNumber thread = StartProcedureThread([&] {
            QDialog widget;
            widget.setWindowTitle(QStringLiteral("Signals"));
            widget.resize(200, 100);
            QPushButton ok(QStringLiteral("OK"), &widget);
            ok.setGeometry(100, 60, 80, 30);
            QFrame splitBar(&widget);
            splitBar.setGeometry(40, 0, 4, 100);
            dialog = &widget;
            button = &ok;
            bar = &splitBar;
            ProgramWindow window(&widget);
            window.PostOn(&ok, &QPushButton::clicked, Event::Accepted, 3);
            window.AddAlertKey(Qt::Key_F2);
            window.AddAlertKey(MouseKey::Right);
            window.AddAlertKey(MouseKey::LeftDouble);
            window.PostMouseEvents(&splitBar, 7);
            window.Show();
            for (;;) {
                const FrameworkEvent event = window.WaitEvent();
                if (event.event == Event::Accepted && event.control == 99)
                    return;
                if (event.event != Event::GainFocus && event.event != Event::Size &&
                    event.event != Event::Sized && event.event != Event::OpenWindow)
                    log << Describe(event);
            }
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        if (action == QLatin1String("click"))
            QTest::mouseClick(button, Qt::LeftButton);
        else if (action == QLatin1String("close"))
            dialog->close();
        else if (action == QLatin1String("escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (action == QLatin1String("F2"))
            QTest::keyClick(dialog, Qt::Key_F2);
        else if (action == QLatin1String("press"))
            QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        else if (action == QLatin1String("right click"))
            QTest::mouseClick(dialog, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        else if (action == QLatin1String("double click"))
            QTest::mouseDClick(dialog, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        else if (action == QLatin1String("left click"))
            QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QWidget other;
        if (action == QLatin1String("other window")) {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(log, arrived.isEmpty() ? QStringList() : QStringList{arrived});
        QVERIFY(dialog->isVisible()); // the window decides whether it closes
        Post(Event::Accepted, 99, thread);
        QVERIFY(!ThreadIsActive(thread));
    }

    // A window inside another, on a thread of its own (a child window in the frame), arms the key the outer
    // one arms too; a menu of the outer window counts as the outer window.
    void anArmedKeyGoesToTheInnermostWindowThatHasTheFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("arrived");
        QTest::newRow("in the inner window") << "inner" << QStringList{"inner AlertKey F2"};
        QTest::newRow("in the outer window") << "outer" << QStringList{"outer AlertKey F2"};
        QTest::newRow("in a menu of the outer window") << "menu" << QStringList{"outer AlertKey F2"};
    }
    void anArmedKeyGoesToTheInnermostWindowThatHasTheFocus()
    {
        QFETCH(QString, focus);
        QFETCH(QStringList, arrived);
        QWidget outer;
        outer.resize(300, 200);
        auto* outerEdit = new QLineEdit(&outer);
        auto* inner = new QFrame(&outer);
        inner->setGeometry(0, 50, 200, 100);
        auto* innerEdit = new QLineEdit(inner);
        auto* menu = new QMenu(&outer);
        menu->addAction(QStringLiteral("Item"));
        QStringList log;
        const auto run = [&log](QWidget* widget, const QString& name) {
            ProgramWindow window(widget);
            window.AddAlertKey(Qt::Key_F2);
            window.Show();
            for (;;) {
                const FrameworkEvent event = window.WaitEvent();
                if (event.event == Event::Accepted && event.control == 99)
                    return;
                if (event.event == Event::AlertKey)
                    log << name + QLatin1Char(' ') + Describe(event);
            }
        };
        const ThreadNumber outerThread = StartProcedureThread([&] { run(&outer, QStringLiteral("outer")); });
        QVERIFY(WaitForProgramThreads());
        const ThreadNumber innerThread = StartProcedureThread([&] { run(inner, QStringLiteral("inner")); });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(QTest::qWaitForWindowActive(&outer));
        QWidget* target = focus == QLatin1String("inner") ? innerEdit : outerEdit;
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);
        if (focus == QLatin1String("menu")) {
            menu->popup(outer.mapToGlobal(QPoint(5, 5)));
            QTRY_COMPARE(QApplication::activePopupWidget(), menu);
            target = menu;
        }
        QTest::keyClick(target, Qt::Key_F2);
        menu->hide();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(log, arrived);
        Post(Event::Accepted, 99, innerThread);
        Post(Event::Accepted, 99, outerThread);
        QVERIFY(!ThreadIsActive(innerThread) && !ThreadIsActive(outerThread));
    }

    // Qt tells every widget inside a top-level window of its activation; a window inside another (a child
    // window in the frame) hears nothing of it.
    void onlyATopLevelWindowGainsAndLosesTheFocus()
    {
        QWidget outer;
        outer.resize(300, 200);
        auto* inner = new QFrame(&outer);
        inner->setGeometry(0, 50, 200, 100);
        QStringList log;
        const auto run = [&log](QWidget* widget, const QString& name) {
            ProgramWindow window(widget);
            window.Show();
            for (;;) {
                const FrameworkEvent event = window.WaitEvent();
                if (event.event == Event::Accepted && event.control == 99)
                    return;
                if (event.event == Event::GainFocus || event.event == Event::LoseFocus)
                    log << name + QLatin1Char(' ') + Describe(event);
            }
        };
        const ThreadNumber outerThread = StartProcedureThread([&] { run(&outer, QStringLiteral("outer")); });
        QVERIFY(WaitForProgramThreads());
        const ThreadNumber innerThread = StartProcedureThread([&] { run(inner, QStringLiteral("inner")); });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(QTest::qWaitForWindowActive(&outer));
        QVERIFY(WaitForProgramThreads());
        log.clear();

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        outer.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&outer));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(log, (QStringList{"outer LoseFocus", "outer GainFocus"}));
        Post(Event::Accepted, 99, innerThread);
        Post(Event::Accepted, 99, outerThread);
        QVERIFY(!ThreadIsActive(innerThread) && !ThreadIsActive(outerThread));
    }
};

QTEST_MAIN(TestFrameworkEvents)
#include "tst_FrameworkEvents.moc"
