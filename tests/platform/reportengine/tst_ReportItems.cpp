#include "platform/reportengine/ReportItems.h"

#include <QTest>

using namespace jornix;

namespace {
struct Declaration
{
    QString name;
    QString value;
    quint32 type;
};
} // namespace
Q_DECLARE_METATYPE(QList<Declaration>)

class TestReportItems : public QObject
{
    Q_OBJECT

private slots:
    void anItemIsFoundByItsNameInAnyCase_data()
    {
        QTest::addColumn<QList<Declaration>>("declared");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("value");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QStringList>("names");

        const QString longest = QStringLiteral("ReportOptions.") + QString(106, QLatin1Char('x'));
        QTest::newRow("an undeclared name reads empty")
            << QList<Declaration>{{"Task.Num", "5", ReportItemType::Numeric}} << "Task.Description" << false
            << "" << quint32(0) << QStringList{"Task.Num"};
        QTest::newRow("a name in another case finds the item")
            << QList<Declaration>{{"Contacts.LName", "Smith  ", ReportItemType::Text}} << "CONTACTS.lname"
            << true << "Smith  " << quint32(ReportItemType::Text) << QStringList{"Contacts.LName"};
        QTest::newRow("a name declared again has its new value and keeps its place")
            << QList<Declaration>{{"Flags.PageType", "0", ReportItemType::Numeric},
                                  {"Flags.PageOverFlow", "0", ReportItemType::Numeric},
                                  {"flags.pagetype", "2", ReportItemType::Text}}
            << "Flags.PageType" << true << "2" << quint32(ReportItemType::Text)
            << QStringList{"Flags.PageType", "Flags.PageOverFlow"};
        QTest::newRow("a name of 120 characters")
            << QList<Declaration>{{longest, "1", ReportItemType::Boolean}} << longest.toUpper() << true << "1"
            << quint32(ReportItemType::Boolean) << QStringList{longest};
        QTest::newRow("a name of 121 characters is refused")
            << QList<Declaration>{{longest + "y", "1", ReportItemType::Boolean}} << longest + "y" << false
            << "" << quint32(0) << QStringList();
        QTest::newRow("an empty name is refused") << QList<Declaration>{{"", "1", ReportItemType::Text}} << ""
                                                  << false << "" << quint32(0) << QStringList();
        QTest::newRow("an overlong value is refused and the old one stays")
            << QList<Declaration>{{"ScrapBook.Scrap", "old", ReportItemType::Text},
                                  {"ScrapBook.Scrap",
                                   QString(ReportItems::MaxValueLength + 1, QLatin1Char('a')),
                                   ReportItemType::Text}}
            << "ScrapBook.Scrap" << true << "old" << quint32(ReportItemType::Text)
            << QStringList{"ScrapBook.Scrap"};
    }

    void anItemIsFoundByItsNameInAnyCase()
    {
        QFETCH(QList<Declaration>, declared);
        QFETCH(QString, asked);
        QFETCH(bool, found);
        QFETCH(QString, value);
        QFETCH(quint32, type);
        QFETCH(QStringList, names);

        ReportItems items;
        for (const Declaration& declaration : declared) {
            QString error;
            const bool accepted =
                items.Declare(declaration.name, declaration.value, declaration.type, &error);
            // A refusal always says why; an acceptance says nothing.
            QCOMPARE(error.isEmpty(), accepted);
        }
        QCOMPARE(items.IsDeclared(asked), found);
        QCOMPARE(items.Value(asked), value);
        const auto lookup = items.Lookup(asked);
        QCOMPARE(lookup.has_value(), found);
        if (lookup) {
            QCOMPARE(lookup->value, value);
            QCOMPARE(lookup->type, type);
        }
        QCOMPARE(items.Names(), names);
    }

    void typeCodesGiveTheirKind_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<int>("kind");
        QTest::newRow("text") << quint32(ReportItemType::Text) << int(ReportItemKind::Text);
        QTest::newRow("numeric") << quint32(ReportItemType::Numeric) << int(ReportItemKind::Numeric);
        QTest::newRow("date") << quint32(ReportItemType::Date) << int(ReportItemKind::Date);
        QTest::newRow("boolean") << quint32(ReportItemType::Boolean) << int(ReportItemKind::Boolean);
        QTest::newRow("drawing") << quint32(ReportItemType::Drawing) << int(ReportItemKind::Drawing);
        QTest::newRow("barcode") << quint32(ReportItemType::Barcode) << int(ReportItemKind::Barcode);
        QTest::newRow("barcode with the text bit")
            << quint32(ReportItemType::Barcode | ReportItemType::Text) << int(ReportItemKind::Barcode);
        QTest::newRow("no known bit is text") << quint32(0) << int(ReportItemKind::Text);
    }

    void typeCodesGiveTheirKind()
    {
        QFETCH(quint32, type);
        QFETCH(int, kind);
        QCOMPARE(int(KindOfType(type)), kind);
    }
};

QTEST_APPLESS_MAIN(TestReportItems)
#include "tst_ReportItems.moc"
