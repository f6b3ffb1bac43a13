#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include "platform/runtime/TopLevelWindows.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace jornix;

namespace {
// A thread's window with a button; the button opens the thread's dialog (a framework dialog or a message box)
// and, when the dialog has closed, the thread notes what it sees of itself.
struct ThreadWithDialog
{
    QString name;
    bool messageBox = false;
    quint8 request = 0;
    ThreadNumber number = 0;
    QWidget* window = nullptr;
    QPushButton* button = nullptr;
    int presses = 0;
    QStringList* resumed = nullptr;

    void Run()
    {
        CurrentContext().GlobalRequestCode = request;
        QWidget widget;
        widget.setWindowTitle(name);
        QPushButton open(QStringLiteral("Open"), &widget);
        window = &widget;
        button = &open;
        ProgramWindow programWindow(&widget);
        programWindow.PostOn(&open, &QPushButton::clicked, Event::Accepted, 1);
        programWindow.Show();
        for (;;) {
            const FrameworkEvent event = programWindow.WaitEvent();
            if (event.event == Event::CloseWindow)
                return;
            if (event.event != Event::Accepted)
                continue;
            ++presses;
            if (messageBox)
                ShowMessageBox(MessageButton::Ok, MessageIcon::Information, name + QStringLiteral(" dialog"),
                               QStringLiteral("Thread-modal"));
            else
                RunFrameworkDialog();
            *resumed << QStringLiteral("%1 thread %2 request %3")
                            .arg(name)
                            .arg(CurrentThread() == number ? QStringLiteral("own") : QStringLiteral("other"))
                            .arg(CurrentContext().GlobalRequestCode);
        }
    }

    void RunFrameworkDialog()
    {
        QDialog dialog;
        dialog.setWindowTitle(name + QStringLiteral(" dialog"));
        ProgramWindow dialogWindow(&dialog);
        dialogWindow.Show();
        while (dialogWindow.WaitEvent().event != Event::CloseWindow) {
        }
    }
};

void CloseDialog(const QString& title, bool messageBox)
{
    if (messageBox) {
        QMessageBox* box = VisibleWindow<QMessageBox>(title);
        QVERIFY(box);
        box->button(QMessageBox::Ok)->click();
    } else {
        QDialog* dialog = VisibleWindow<QDialog>(title);
        QVERIFY(dialog);
        dialog->close(); // the close box: CloseWindow to the dialog's thread
    }
    QVERIFY(WaitForProgramThreads());
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(WaitForProgramThreads());
}
} // namespace

class TestThreadModal : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void dialogsOnTwoThreadsCompleteOutOfOrder_data()
    {
        QTest::addColumn<bool>("messageBox");
        QTest::newRow("framework dialogs") << false;
        QTest::newRow("message boxes") << true;
    }

    void dialogsOnTwoThreadsCompleteOutOfOrder()
    {
        QFETCH(bool, messageBox);
        QStringList resumed;
        ThreadWithDialog a{QStringLiteral("A"), messageBox, 11};
        ThreadWithDialog b{QStringLiteral("B"), messageBox, 22};
        a.resumed = b.resumed = &resumed;
        a.number = StartProcedureThread([&a] { a.Run(); });
        b.number = StartProcedureThread([&b] { b.Run(); });
        QVERIFY(WaitForProgramThreads());

        // A's dialog blocks A's window only: B's window still takes input and opens B's dialog.
        Click(a.button);
        QVERIFY(VisibleWindow<QWidget>(QStringLiteral("A dialog")));
        QVERIFY(!a.window->isEnabled());
        QVERIFY(b.window->isEnabled());
        Click(a.button);
        QCOMPARE(a.presses, 1);
        Click(b.button);
        QCOMPARE(b.presses, 1);
        QVERIFY(!b.window->isEnabled());

        // B's dialog closes first: B goes on at once, with its own context, while A's dialog stays open.
        CloseDialog(QStringLiteral("B dialog"), messageBox);
        QCOMPARE(resumed, QStringList({"B thread own request 22"}));
        QVERIFY(b.window->isEnabled());
        QVERIFY(!a.window->isEnabled());
        CloseDialog(QStringLiteral("A dialog"), messageBox);
        QCOMPARE(resumed, QStringList({"B thread own request 22", "A thread own request 11"}));
        QVERIFY(a.window->isEnabled());

        QVERIFY(PostEvent(Event::CloseWindow, 0, a.number));
        QVERIFY(PostEvent(Event::CloseWindow, 0, b.number));
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ThreadIsActive(a.number) && !ThreadIsActive(b.number));
    }

    void theFrameBlocksItsMenusInsteadOfItself()
    {
        QList<bool> handlerCalls;
        QWidget* frame = nullptr;
        const ThreadNumber thread = StartProcedureThread([&] {
            QWidget frameWidget;
            frame = &frameWidget;
            ProgramWindow frameWindow(&frameWidget);
            frameWindow.SetBlockHandler([&handlerCalls](bool blocked) { handlerCalls << blocked; });
            for (;;) {
                const FrameworkEvent event = frameWindow.WaitEvent();
                if (event.event == Event::CloseWindow)
                    return;
                if (event.event == Event::Accepted && event.control == 1) {
                    QDialog form;
                    ProgramWindow formWindow(&form);
                    while (formWindow.WaitEvent().event != Event::CloseWindow) {
                    }
                }
                if (event.event == Event::Accepted && event.control == 2)
                    ShowMessageBox(MessageButton::Ok, MessageIcon::None, QStringLiteral("Frame box"),
                                   QString());
            }
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(PostEvent(Event::Accepted, 1, thread));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(handlerCalls, QList<bool>({true}));
        QVERIFY(frame->isEnabled());
        QVERIFY(PostEvent(Event::CloseWindow, 0, thread)); // reaches the form, the top window
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(handlerCalls, QList<bool>({true, false}));

        QVERIFY(PostEvent(Event::Accepted, 2, thread));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(handlerCalls, QList<bool>({true, false, true}));
        CloseDialog(QStringLiteral("Frame box"), true);
        QCOMPARE(handlerCalls, QList<bool>({true, false, true, false}));
        QVERIFY(PostEvent(Event::CloseWindow, 0, thread));
        QVERIFY(WaitForProgramThreads());
    }

    void aWindowTheProgramDisabledStaysDisabled()
    {
        QWidget* list = nullptr;
        const ThreadNumber thread = StartProcedureThread([&list] {
            QWidget listWidget;
            listWidget.setEnabled(false);
            list = &listWidget;
            ProgramWindow listWindow(&listWidget);
            listWindow.WaitEvent();
            ShowMessageBox(MessageButton::Ok, MessageIcon::None, QStringLiteral("Over a disabled list"),
                           QString());
            listWindow.WaitEvent();
        });
        QVERIFY(WaitForProgramThreads());
        CloseDialog(QStringLiteral("Over a disabled list"), true);
        QVERIFY(!list->isEnabled());
        QVERIFY(PostEvent(Event::CloseWindow, 0, thread));
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ThreadIsActive(thread));
    }
};

QTEST_MAIN(TestThreadModal)
#include "tst_ThreadModal.moc"
