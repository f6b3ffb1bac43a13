#include "platform/runtime/PopupChoice.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace jornix;

namespace {

// Each entry as depth markers, "~" when disabled, "[x]" or "[ ]" when checkable, "{" for a submenu title,
// its number after "=", and "-" for a separator.
QStringList described(const std::vector<PopupEntry>& entries)
{
    QStringList lines;
    for (const PopupEntry& entry : entries) {
        QString line(entry.depth, QLatin1Char('>'));
        if (entry.separator) {
            lines << line + QLatin1Char('-');
            continue;
        }
        if (!entry.enabled)
            line += QLatin1Char('~');
        if (entry.checkable)
            line += entry.checked ? QStringLiteral("[x]") : QStringLiteral("[ ]");
        line += entry.text;
        line += entry.submenu ? QStringLiteral("{") : QStringLiteral("=%1").arg(entry.number);
        lines << line;
    }
    return lines;
}

} // namespace

class PopupChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void theMenuTextGivesItsEntries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("plain items") << "Cut|Copy|Paste" << QStringList({"Cut=1", "Copy=2", "Paste=3"});
        QTest::newRow("disabled and separator") << "~Cut|-|Paste|" << QStringList({"~Cut=1", "-", "Paste=2"});
        QTest::newRow("checks") << "+Grid|-Marks" << QStringList({"[x]Grid=1", "[ ]Marks=2"});
        QTest::newRow("submenus count their items")
            << "Table{~Properties...|-|+Show Grid}|Image{Insert...}|Cut"
            << QStringList({"Table{", ">~Properties...=1", ">-", ">[x]Show Grid=2", "Image{", ">Insert...=3",
                            "Cut=4"});
        QTest::newRow("several prefixes") << "~+Grid" << QStringList({"~[x]Grid=1"});
        QTest::newRow("nothing") << "" << QStringList();
    }
    void theMenuTextGivesItsEntries()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QCOMPARE(described(ParsePopupText(text)), entries);
    }

    void thePopupWaitsForTheChoice_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("chosen");
        QTest::newRow("the third item, passing the disabled one")
            << QList<int>({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) << 3;
        QTest::newRow("closed without a choice") << QList<int>({Qt::Key_Escape}) << 0;
    }
    void thePopupWaitsForTheChoice()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, chosen);
        int answer = -1;
        StartProcedureThread([&] { answer = ShowPopup(QStringLiteral("One|~Two|Three"), QPoint(20, 20)); });
        WaitForProgramThreads(5000);
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(answer, -1); // the thread waits
        QCOMPARE(menu->actions().size(), 3);
        QVERIFY(!menu->actions().at(1)->isEnabled());
        for (const int key : keys)
            QTest::keyClick(menu, Qt::Key(key));
        WaitForProgramThreads(5000);
        QCOMPARE(answer, chosen);
        QVERIFY(!QApplication::activePopupWidget());
    }
};

QTEST_MAIN(PopupChoiceTest)
#include "tst_PopupChoice.moc"
