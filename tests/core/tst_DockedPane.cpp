#include "core/DockedPane.h"
#include "core/SharedState.h"

#include "platform/framework/WindowDriver.h"

#include <QTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

class TestPane : public DockedPane
{
public:
    TestPane()
        : DockedPane(QStringLiteral("TestPane"), QStringLiteral("Overdue Reminders"),
                     QStringLiteral("You are about to close the pane. Close the window?"))
    {
        window.Text("Nothing is overdue.");
        SetCancelButton(window.Button("Close").Name("Close").Hide());
        NoHelp();
    }
};

} // namespace

class DockedPaneTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowDescription> frame;

private slots:
    void initTestCase()
    {
        frame = std::make_unique<WindowDescription>(QStringLiteral("Jornix"), WindowType::Frame);
        ProgramFrame = frame.get();
        frame->Root()->show();
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        ProgramFrame = nullptr;
        frame.reset();
    }

    void theBannersXAsksBeforeThePaneCloses_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Yes closes") << int(MessageButton::Yes) << true;
        QTest::newRow("No keeps the pane") << int(MessageButton::No) << false;
    }
    void theBannersXAsksBeforeThePaneCloses()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        Start([] { RunProcedure<TestPane>(); });
        WindowController* pane = FindWindow(QStringLiteral("TestPane"));
        QVERIFY(pane);
        QCOMPARE(pane->window.Label(ControlNumber(*pane, QStringLiteral("CloseX"))), QStringLiteral("X"));
        test::MessageRecorder boxes;
        boxes.answers = {answer};
        Press(*pane, QStringLiteral("CloseX"));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Close the window?"));
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("You are about to close the pane. Close the window?"));
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Question);
        QCOMPARE(boxes.boxes[0].defaultButton, int(MessageButton::Yes));
        QCOMPARE(!FindWindow(QStringLiteral("TestPane")), closes);
        if (!closes) {
            boxes.answers = {MessageButton::Yes};
            Press(*pane, QStringLiteral("CloseX"));
            QVERIFY(!FindWindow(QStringLiteral("TestPane")));
        }
    }
};

QTEST_MAIN(DockedPaneTest)
#include "tst_DockedPane.moc"
