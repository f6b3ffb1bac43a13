#include "core/HtmlHelpClass.h"

#include "platform/help/HelpViewer.h"
#include "platform/help/HelpWindow.h"

#include <QDir>
#include <QTextBrowser>
#include <QtTest>

using namespace jornix;

namespace {
constexpr int HelpKey = 0x7B; // F12, as every window passes it
const QString HelpFile = QStringLiteral("Jornix.chm");
} // namespace

class HtmlHelpClassTest : public QObject
{
    Q_OBJECT

    std::vector<HelpRequest> asked_;

private slots:
    void init()
    {
        asked_.clear();
        SetHelpSink([this](const HelpRequest& request) -> QWidget* {
            asked_.push_back(request);
            return nullptr;
        });
    }
    void cleanup() { SetHelpSink({}); }

    void theHelpKeyAsksForTheBestTopic_data()
    {
        QTest::addColumn<QString>("windowTopic");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("focusedControl");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("path");
        QTest::newRow("F1 in the sign-in window")
            << "LoginScreen.htm" << HtmlHelpClass::F1Key << 3 << int(HelpCommand::DisplayTopic)
            << "Jornix.chm::/LoginScreen.htm";
        QTest::newRow("the help key in the sign-in window")
            << "LoginScreen.htm" << HelpKey << 3 << int(HelpCommand::DisplayTopic)
            << "Jornix.chm::/LoginScreen.htm";
        QTest::newRow("F1 in the main frame, which has no topic")
            << "" << HtmlHelpClass::F1Key << 3 << int(HelpCommand::DisplayContents) << "Jornix.chm";
        QTest::newRow("F1 on a control with a topic of its own")
            << "" << HtmlHelpClass::F1Key << -4 << int(HelpCommand::DisplayTopic)
            << "Jornix.chm::/Exit Program";
        QTest::newRow("another key asks for nothing") << "LoginScreen.htm" << 0x71 << 3 << -1 << "";
    }
    void theHelpKeyAsksForTheBestTopic()
    {
        QFETCH(QString, windowTopic);
        QFETCH(int, key);
        QFETCH(int, focusedControl);
        QFETCH(int, command);
        QFETCH(QString, path);
        HtmlHelpClass help;
        QCOMPARE(help.Init(HelpKey, HelpFile), 1);
        help.SetTopic(windowTopic);
        help.SetControlTopic(-4, QStringLiteral("Exit Program"));
        QCOMPARE(help.KeyHandler(key, focusedControl), 0);
        if (command < 0) {
            QVERIFY(asked_.empty());
            return;
        }
        QCOMPARE(asked_.size(), std::size_t(1));
        QCOMPARE(int(asked_[0].command), command);
        QCOMPARE(asked_[0].path, path);
    }

    void theHelpMenuAsksForContentsIndexAndTopic()
    {
        HtmlHelpClass help;
        help.Init(HelpKey, HelpFile);
        help.ShowContents();
        help.ShowIndex(QStringLiteral("How do I"));
        help.ShowIndex();
        help.ShowTopic();
        help.ShowTopic(QStringLiteral("tasks.htm"));
        QCOMPARE(asked_.size(), std::size_t(5));
        QCOMPARE(int(asked_[0].command), int(HelpCommand::DisplayContents));
        QCOMPARE(asked_[0].path, HelpFile);
        QCOMPARE(int(asked_[1].command), int(HelpCommand::DisplayIndex));
        QCOMPARE(asked_[1].keyword, QStringLiteral("How do I"));
        QCOMPARE(asked_[2].keyword, QString());
        QCOMPARE(asked_[3].path, HelpFile);
        QCOMPARE(asked_[4].path, QStringLiteral("Jornix.chm::/tasks.htm"));
    }

    void nothingHappensBeforeInitAfterKillOrWithoutAHelpFile_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("before Init") << "new";
        QTest::newRow("after Kill") << "killed";
        QTest::newRow("with a blank help file") << "blank";
    }
    void nothingHappensBeforeInitAfterKillOrWithoutAHelpFile()
    {
        QFETCH(QString, state);
        HtmlHelpClass help;
        if (state != "new") {
            help.Init(HelpKey, state == "blank" ? QStringLiteral("   ") : HelpFile);
            help.SetTopic(QStringLiteral("tasks.htm"));
        }
        if (state == "killed")
            QCOMPARE(help.Kill(), 1);
        help.ShowTopic();
        help.ShowTopic(QStringLiteral("tasks.htm"));
        help.ShowContents();
        help.ShowIndex(QStringLiteral("How do I"));
        QCOMPARE(help.ContextHelp(0), 0);
        QCOMPARE(help.KeyHandler(HelpKey, 0), 0);
        QVERIFY(asked_.empty());
        QCOMPARE(help.Kill(), 1);
    }

    // The topics of the windows, and every other page the contents lead to.
    void everyWindowTopicIsAPageOfTheHelp_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("title");
        const std::pair<const char*, const char*> topics[] = {
            {"aboutbox.htm", "About Jornix"},
            {"dateview.htm", "Date View"},
            {"alleventsview.htm", "All Events View"},
            {"searchlogevents.htm", "Search Log Events"},
            {"printinglogevents.htm", "Printing"},
            {"designreports.htm", "Designing Reports"},
            {"editingreportlayoutsoptions.htm", "Editing Report Layouts"},
            {"programsetup.htm", "Program Setup"},
            {"updatingmiscfields.htm", "Updating Misc Fields"},
            {"reminders.htm", "Reminders"},
            {"editingreminders.htm", "Editing Reminders"},
            {"tasks.htm", "Tasks"},
            {"editingtasks.htm", "Editing Tasks"},
            {"contacts.htm", "Contacts"},
            {"editingcontacts.htm", "Editing Contacts"},
            {"scrapbook.htm", "Scrap Book"},
            {"editingscrap.htm", "Editing Scraps"},
            {"stickynotes.htm", "Sticky Notes"},
            {"editingstickynotes.htm", "Editing Sticky Notes"},
            {"editinglogevents.htm", "Editing Log Events"},
            {"LoginScreen.htm", "Signing In"},
            {"password.htm", "Changing Your Password"},
            {"manageuser.htm", "Managing Users"},
            {"updatingusersettings.htm", "Updating User Settings"},
            {"firsttimesetup.htm", "First-Time Setup"},
            {"migrate10.htm", "Migrating Version 1.0 Data"},
            {"mainframe.htm", "The Jornix Window"},
            {"howdoi.htm", "How Do I..."},
        };
        for (const auto& [topic, title] : topics)
            QTest::newRow(topic) << topic << title;
    }
    void everyWindowTopicIsAPageOfTheHelp()
    {
        QFETCH(QString, topic);
        QFETCH(QString, title);
        SetHelpSink({});
        SetHelpFolder(QStringLiteral(JORNIX_SOURCE_DIR "/resources/help"));
        HtmlHelpClass help;
        help.Init(HelpKey, HelpFile);
        help.SetTopic(topic);
        help.KeyHandler(HtmlHelpClass::F1Key, 1);

        auto* window = qobject_cast<HelpWindow*>(help.ShownHelpWindow());
        QVERIFY(window);
        QCOMPARE(window->CurrentPage(), topic);
        const auto* page = window->findChild<QTextBrowser*>(QStringLiteral("page"));
        QCOMPARE(page->documentTitle(), title);
        // Real content: more than a heading, and no page left unwritten.
        const QString text = page->toPlainText();
        QVERIFY2(text.size() > title.size() + 100, qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("being written")));
        help.Kill();
    }

    // The Exit item's topic is no page: the index leads it to the section on closing.
    void theExitItemsTopicLeadsToClosingJornix()
    {
        SetHelpSink({});
        SetHelpFolder(QStringLiteral(JORNIX_SOURCE_DIR "/resources/help"));
        HtmlHelpClass help;
        help.Init(HelpKey, HelpFile);
        help.SetControlTopic(-4, QStringLiteral("Exit Program"));
        help.KeyHandler(HtmlHelpClass::F1Key, -4);
        auto* window = qobject_cast<HelpWindow*>(help.ShownHelpWindow());
        QVERIFY(window);
        QCOMPARE(window->CurrentPage(), QStringLiteral("mainframe.htm"));
        QCOMPARE(window->findChild<QTextBrowser*>(QStringLiteral("page"))->source().fragment(),
                 QStringLiteral("exit"));
        help.Kill();
    }

    void theContentsAndTheIndexLeadToPagesOfTheHelp_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("contents") << "Jornix.contents";
        QTest::newRow("keyword index") << "Jornix.index";
    }
    void theContentsAndTheIndexLeadToPagesOfTheHelp()
    {
        QFETCH(QString, file);
        const QDir folder(QStringLiteral(JORNIX_SOURCE_DIR "/resources/help"));
        QFile lines(folder.filePath(file));
        QVERIFY(lines.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList keywords;
        for (const QString& line : QString::fromUtf8(lines.readAll()).split('\n')) {
            if (line.trimmed().isEmpty() || line.trimmed().startsWith('#'))
                continue;
            QVERIFY2(line.count('|') == 1, qPrintable(line));
            keywords += line.section('|', 0, 0).trimmed();
            const QString page = line.section('|', 1).trimmed().section('#', 0, 0); // a page or its section
            QVERIFY2(QFileInfo(folder.filePath(page)).isFile(), qPrintable(line));
        }
        if (file.endsWith(".index"))
            QVERIFY(keywords.contains(QStringLiteral("How do I")));
    }

    void cleanupTestCase()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->close();
    }
};

QTEST_MAIN(HtmlHelpClassTest)
#include "tst_HtmlHelpClass.moc"
