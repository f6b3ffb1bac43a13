#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// The guide to writing a window quotes the program's files by name and line range; each quoted block still
// reads as those lines, so the guide shows the code as it is.
class WindowsGuideTest : public QObject
{
    Q_OBJECT

    static QStringList Lines(const QString& path)
    {
        QFile file(QStringLiteral(JORNIX_SOURCE_DIR "/") + path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }

private slots:
    void eachQuotedBlockReadsAsTheLinesItNames()
    {
        const QStringList guide = Lines(QStringLiteral("docs/windows.md"));
        QVERIFY(!guide.isEmpty());
        static const QRegularExpression quoteHead(QStringLiteral("^// (\\S+), lines (\\d+)-(\\d+)$"));
        int quotes = 0;
        for (int i = 0; i + 1 < guide.size(); ++i) {
            if (guide[i] != QLatin1String("```cpp"))
                continue;
            const QRegularExpressionMatch head = quoteHead.match(guide[i + 1]);
            if (!head.hasMatch())
                continue;
            ++quotes;
            const QString path = head.captured(1);
            const int first = head.captured(2).toInt();
            const int last = head.captured(3).toInt();
            const QStringList file = Lines(path);
            QVERIFY2(!file.isEmpty(), qPrintable(path));
            QVERIFY2(first >= 1 && first <= last && last <= file.size(), qPrintable(guide[i + 1]));
            QStringList quoted;
            for (int j = i + 2; j < guide.size() && guide[j] != QLatin1String("```"); ++j)
                quoted << guide[j];
            QCOMPARE(quoted.join(QLatin1Char('\n')), file.mid(first - 1, last - first + 1).join(QLatin1Char('\n')));
        }
        QVERIFY(quotes > 0); // the guide quotes the contact list, its form and a test
    }
};

QTEST_MAIN(WindowsGuideTest)
#include "tst_WindowsGuide.moc"
