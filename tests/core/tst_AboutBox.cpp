#include "core/AboutBox.h"
#include "core/StandardWindow.h"
#include "platform/help/HelpViewer.h"
#include "platform/runtime/ShellOpen.h"

#include "platform/framework/WindowDriver.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::MessageRecorder;

namespace {

// The window that asks for About, as the frame's Help menu does: About runs on its thread, and the window
// goes on once About has closed.
class Caller : public StandardWindow
{
public:
    int aboutButton = 0;
    int aboutsReturned = 0;

    Caller() : StandardWindow(QStringLiteral("Caller"), QStringLiteral("Caller"))
    {
        aboutButton = window.Button(QStringLiteral("&About Jornix"));
        NoHelp();
    }
    int OnAccepted(int control) override
    {
        if (control == aboutButton) {
            AboutBox();
            ++aboutsReturned;
        }
        return StandardWindow::OnAccepted(control);
    }
};

Caller* CallerWindow()
{
    return static_cast<Caller*>(FindWindow(QStringLiteral("Caller")));
}

WindowController* About()
{
    return FindWindow(QStringLiteral("AboutBox"));
}

QString Text(int control)
{
    return About()->window.Label(control);
}

// Clicks a link where its address stands.
void ClickAddress(const QString& region, const QString& address)
{
    WindowDescription& window = About()->window;
    QWidget* link = window.Widget(window.ControlNumber(region));
    QWidget* text = window.Widget(window.ControlNumber(address));
    QVERIFY(link && text);
    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, text->geometry().center());
    WaitIdle();
}

} // namespace

class AboutBoxTest : public QObject
{
    Q_OBJECT

    QStringList opened;
    int openResult = 0;

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        SetShellOpenRunner([this](const QString& argument) {
            opened << argument;
            return openResult;
        });
    }
    void cleanupTestCase()
    {
        SetShellOpenRunner({});
        EndProgramThreads();
    }
    void init()
    {
        opened.clear();
        openResult = 0;
        Start([] { RunProcedure<Caller>(); });
        QVERIFY(CallerWindow());
        Press(*CallerWindow(), CallerWindow()->aboutButton);
        QVERIFY(About());
    }
    void cleanup()
    {
        if (About())
            PostEvent(Event::CloseWindow, 0, About()->Thread());
        WaitIdle();
        if (Caller* caller = CallerWindow())
            PostEvent(Event::CloseWindow, 0, caller->Thread());
        WaitIdle();
        QVERIFY(!About());
        QVERIFY(!CallerWindow());
    }

    void theWindowShowsEveryTextInOrder_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("the product") << 2 << "Jornix 2.0";
        QTest::newRow("the description") << 3 << "Your personal journal of the events of your life.";
        QTest::newRow("the version") << 4 << "Version: 2.0.1.0";
        QTest::newRow("E-Mail") << 5 << "E-Mail:";
        QTest::newRow("the e-mail address") << 7 << "support@jornix.example";
        QTest::newRow("Web") << 8 << "Web:";
        QTest::newRow("the web address") << 10 << "https://www.jornix.example/";
        QTest::newRow("the legal notice, set at open")
            << 12
            << "Copyright \u00a9 Jornix. All rights reserved. This program is protected by copyright law and "
               "international treaties.";
        QTest::newRow("the report engine") << 13 << "Reports and printing: Jornix Report Engine, version 9.0";
        QTest::newRow("Continue, at the bottom") << 14 << "Continue";
    }
    void theWindowShowsEveryTextInOrder()
    {
        QFETCH(int, control);
        QFETCH(QString, text);
        QCOMPARE(Text(control), text);
        QVERIFY(About()->window.Widget(control)->isVisible());
    }

    void theWindowShowsTheLogoTheLinksAndTheLine()
    {
        WindowDescription& window = About()->window;
        QCOMPARE(window.Caption(), "About Jornix");
        QCOMPARE(window.LastControl(), 14);
        QVERIFY(!qobject_cast<QLabel*>(window.Widget(1))->pixmap().isNull());
        QVERIFY(!qobject_cast<QPushButton*>(window.Widget(14))->icon().isNull());
        for (const auto& [region, address] : {std::pair{6, 7}, std::pair{9, 10}}) {
            QCOMPARE(window.Widget(region)->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(window.Widget(region)->isAncestorOf(window.Widget(address))); // the region lies over it
        }
        QCOMPARE(qobject_cast<QFrame*>(window.Widget(11))->frameShape(), QFrame::HLine);
    }

    void continueClosesTheWindowAndTheCallerGoesOn()
    {
        QVERIFY(!CallerWindow()->window.Root()->isEnabled()); // About is modal on the caller's thread
        Press(*About(), "Continue");
        QVERIFY(!About());
        QCOMPARE(CallerWindow()->aboutsReturned, 1);
        QVERIFY(CallerWindow()->window.Root()->isEnabled());
    }

    void theLinksOpenANewMailAndTheWebPage_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("link");
        QTest::newRow("the e-mail address") << "EmailLink"
                                            << "EmailAddress"
                                            << "mailto:support@jornix.example";
        QTest::newRow("the web address") << "WebLink"
                                         << "WebAddress"
                                         << "https://www.jornix.example/";
    }
    void theLinksOpenANewMailAndTheWebPage()
    {
        QFETCH(QString, region);
        QFETCH(QString, address);
        QFETCH(QString, link);
        MessageRecorder boxes;
        ClickAddress(region, address);
        QCOMPARE(opened, QStringList(link));
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(About());
    }

    void aLinkThatCannotBeOpenedIsReportedAndTheWindowStaysOpen_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::newRow("nothing handles it") << 3;
        QTest::newRow("the opener could not start") << -1;
    }
    void aLinkThatCannotBeOpenedIsReportedAndTheWindowStaysOpen()
    {
        QFETCH(int, exitCode);
        openResult = exitCode;
        MessageRecorder boxes;
        ClickAddress("WebLink", "WebAddress");
        QCOMPARE(opened, QStringList("https://www.jornix.example/"));
        QCOMPARE(boxes.Captions(), QStringList("Error Launching Document"));
        QCOMPARE(boxes.boxes[0].text,
                 "There are no associated programs installed that can run this document.");
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(About());
    }

    void theHelpKeyShowsTheAboutPage()
    {
        std::vector<HelpRequest> asked;
        SetHelpSink([&](const HelpRequest& request) -> QWidget* {
            asked.push_back(request);
            return nullptr;
        });
        PressKey(*About(), Qt::Key_F1);
        SetHelpSink({});
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].path, "Jornix.chm::/aboutbox.htm");
    }
};

QTEST_MAIN(AboutBoxTest)
#include "tst_AboutBox.moc"
