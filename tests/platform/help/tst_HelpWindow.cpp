#include "platform/help/HelpViewer.h"
#include "platform/help/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

using namespace jornix;

// A help file "Guide.chm" of three pages in a folder of its own.
class HelpWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;

    void Write(const QString& name, const QByteArray& text)
    {
        QFile file(folder_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    static QString Title(QWidget* window)
    {
        return window->findChild<QTextBrowser*>(QStringLiteral("page"))->documentTitle();
    }

private slots:
    void initTestCase()
    {
        for (const char* page : {"Start", "Tasks", "Notes"})
            Write(QString::fromLatin1(page).toLower() + ".htm", QByteArray("<html><head><title>") + page +
                                                                    "</title></head><body>" + page +
                                                                    "</body></html>");
        Write("Guide.contents", "# contents\nStart|start.htm\nOrganizer|tasks.htm\n  Tasks|tasks.htm\n"
                                "  Notes|notes.htm\n");
        Write("Guide.index",
              "Tasks|tasks.htm\nHow do I|start.htm\nnotes, sticky|notes.htm\nNotebook|notes.htm\n"
              "Leaving the Guide|start.htm#leaving\n");
        SetHelpFolder(folder_.path());
    }
    void cleanup()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->close();
        QTest::qWait(0);
    }

    void aHelpPathOpensItsPage_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("page");
        QTest::newRow("a topic") << int(HelpCommand::DisplayTopic) << "Guide.chm::/tasks.htm"
                                 << "tasks.htm";
        QTest::newRow("a topic in other case") << int(HelpCommand::DisplayTopic) << "guide.CHM::/Notes.HTM"
                                               << "notes.htm";
        QTest::newRow("the help file alone") << int(HelpCommand::DisplayTopic) << "Guide.chm"
                                             << "start.htm";
        QTest::newRow("the contents") << int(HelpCommand::DisplayContents) << "Guide.chm"
                                      << "start.htm";
        QTest::newRow("a page that is not there")
            << int(HelpCommand::DisplayTopic) << "Guide.chm::/Exit Program"
            << "";
        QTest::newRow("a section of a page") << int(HelpCommand::DisplayTopic) << "Guide.chm::/tasks.htm#due"
                                             << "tasks.htm";
        QTest::newRow("a topic named by a keyword of the index")
            << int(HelpCommand::DisplayTopic) << "Guide.chm::/Leaving the Guide"
            << "start.htm";
        QTest::newRow("no way out of the folder")
            << int(HelpCommand::DisplayTopic) << "Guide.chm::/../x/notes.htm"
            << "notes.htm";
    }
    void aHelpPathOpensItsPage()
    {
        QFETCH(int, command);
        QFETCH(QString, path);
        QFETCH(QString, page);
        auto* window = qobject_cast<HelpWindow*>(ShowHelp({HelpCommand(command), path, {}}));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->CurrentPage(), page);
    }

    void theContentsListTheEntriesInTheirLevels()
    {
        QWidget* window = ShowHelp({HelpCommand::DisplayContents, QStringLiteral("Guide.chm"), {}});
        auto* contents = window->findChild<QTreeWidget*>(QStringLiteral("contents"));
        QCOMPARE(contents->topLevelItemCount(), 2);
        QCOMPARE(contents->topLevelItem(1)->text(0), QStringLiteral("Organizer"));
        QCOMPARE(contents->topLevelItem(1)->childCount(), 2);
        QCOMPARE(contents->topLevelItem(1)->child(1)->text(0), QStringLiteral("Notes"));
        emit contents->itemActivated(contents->topLevelItem(1)->child(1), 0);
        QCOMPARE(Title(window), QStringLiteral("Notes"));
    }

    // The contents show where the page being read stands: its entry chosen, its parents open.
    void theContentsShowThePageBeingRead()
    {
        QWidget* window = ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/start.htm"), {}});
        auto* contents = window->findChild<QTreeWidget*>(QStringLiteral("contents"));
        QTreeWidgetItem* organizer = contents->topLevelItem(1);
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Start"));
        organizer->setExpanded(false);
        ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/NOTES.htm#top"), {}});
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Notes"));
        QVERIFY(organizer->isExpanded());
        if (const QString pictures = qEnvironmentVariable("JORNIX_PICTURES"); !pictures.isEmpty())
            window->grab().save(QDir(pictures).filePath(QStringLiteral("HelpWindow.png")));
        // Chosen in the contents, an entry that shares its page with another stays chosen.
        contents->setCurrentItem(organizer->child(0));
        emit contents->itemClicked(organizer->child(0), 0);
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Tasks"));
        // A page reached through the index is shown in the contents too.
        ShowHelp({HelpCommand::DisplayIndex, QStringLiteral("Guide.chm"), QStringLiteral("How do I")});
        QTest::keyClick(window->findChild<QLineEdit*>(QStringLiteral("keyword")), Qt::Key_Return);
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Start"));
    }

    void escapeClosesTheHelp()
    {
        QPointer<QWidget> window =
            ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/tasks.htm"), {}});
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->findChild<QTextBrowser*>(QStringLiteral("page")), Qt::Key_Escape);
        QTRY_VERIFY(window.isNull() || !window->isVisible());
    }

    // The help opens centred over the program's main window, inside the screen.
    void theHelpOpensOverTheProgramsWindow()
    {
        QMainWindow frame;
        const QRect screen = frame.screen()->availableGeometry();
        frame.setGeometry(screen.x() + screen.width() / 3, screen.y() + screen.height() / 4, screen.width() / 2,
                          screen.height() / 2);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QWidget* window = ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/tasks.htm"), {}});
        QVERIFY(window);
        const QPoint offset = window->frameGeometry().center() - frame.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        window->close();
    }

    void theIndexFollowsWhatIsTyped_data()
    {
        QTest::addColumn<QString>("keyword"); // given with the index call
        QTest::addColumn<QString>("typed");   // then typed into the keyword entry
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("title"); // after Enter
        QTest::newRow("the keyword of the call") << "How do I"
                                                 << ""
                                                 << "How do I"
                                                 << "Start";
        QTest::newRow("typed without regard to case") << ""
                                                      << "NOTE"
                                                      << "Notebook"
                                                      << "Notes";
        QTest::newRow("the first of several") << ""
                                              << "no"
                                              << "Notebook"
                                              << "Notes";
        QTest::newRow("nothing fits") << "How do I"
                                      << "zebra"
                                      << "How do I"
                                      << "Start";
    }
    void theIndexFollowsWhatIsTyped()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        QFETCH(QString, title);
        QWidget* window = ShowHelp({HelpCommand::DisplayIndex, QStringLiteral("Guide.chm"), keyword});
        auto* entry = window->findChild<QLineEdit*>(QStringLiteral("keyword"));
        auto* keywords = window->findChild<QListWidget*>(QStringLiteral("keywords"));
        QCOMPARE(entry->text(), keyword);
        if (!typed.isEmpty()) {
            entry->clear();
            QTest::keyClicks(entry, typed);
        }
        QCOMPARE(keywords->currentItem()->text(), selected);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(Title(window), title);
    }

    void oneWindowServesTheHelpFileUntilItIsClosed()
    {
        QPointer<QWidget> first =
            ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/tasks.htm"), {}});
        QCOMPARE(ShowHelp({HelpCommand::DisplayContents, QStringLiteral("Guide.chm"), {}}), first.data());
        first->close();
        QTRY_VERIFY(first.isNull());
        QWidget* next = ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("Guide.chm::/tasks.htm"), {}});
        QVERIFY(next);
        QVERIFY(next->isVisible());
    }

    void aSinkHearsWhatWasAsked()
    {
        std::vector<HelpRequest> asked;
        SetHelpSink([&](const HelpRequest& request) -> QWidget* {
            asked.push_back(request);
            return nullptr;
        });
        QCOMPARE(
            ShowHelp({HelpCommand::DisplayIndex, QStringLiteral("Guide.chm"), QStringLiteral("How do I")}),
            nullptr);
        SetHelpSink({});
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].keyword, QStringLiteral("How do I"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void aBlankHelpFileShowsNothing()
    {
        QCOMPARE(ShowHelp({HelpCommand::DisplayContents, QString(), {}}), nullptr);
        QCOMPARE(ShowHelp({HelpCommand::DisplayTopic, QStringLiteral("::/tasks.htm"), {}}), nullptr);
    }
};

QTEST_MAIN(HelpWindowTest)
#include "tst_HelpWindow.moc"
