#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;
using Problem = SpellChecker::Problem;

namespace {

// "kind word offset" for each problem of the text from the position on.
QStringList problemsOf(const SpellChecker& checker, const QString& text, int from)
{
    QStringList problems;
    for (SpellChecker::Finding finding = checker.NextProblem(text, from); finding.problem != Problem::None;
         finding = checker.NextProblem(text, finding.offset + finding.length))
        problems
            << QStringLiteral("%1 %2 %3").arg(int(finding.problem)).arg(finding.word).arg(finding.offset);
    return problems;
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Whether a grab of the control, which has not the focus, shows the colour anywhere.
bool shows(RichTextControl& control, const QColor& colour)
{
    const QImage image = control.viewport()->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class SpellCheckerTest : public QObject
{
    Q_OBJECT

private slots:
    void theCheckFindsEachKindOfProblem_data()
    {
        const auto row = [](Problem problem, const char* word, int offset) {
            return QStringLiteral("%1 %2 %3").arg(int(problem)).arg(QString::fromUtf8(word)).arg(offset);
        };
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("correct text") << "The cat's whiskers, don't they twitch?" << 0 << QStringList();
        QTest::newRow("typographic apostrophe") << QString::fromUtf8("don’t") << 0 << QStringList();
        QTest::newRow("misspelt words")
            << "I recieve teh mail." << 0
            << QStringList{row(Problem::Misspelled, "recieve", 2), row(Problem::Misspelled, "teh", 10)};
        QTest::newRow("from a position on")
            << "I recieve teh mail." << 3 << QStringList{row(Problem::Misspelled, "teh", 10)};
        QTest::newRow("repeated word")
            << "Look at the The cat" << 0 << QStringList{row(Problem::Doubled, "The", 12)};
        QTest::newRow("repeated word right at the position")
            << "the the" << 4 << QStringList{row(Problem::Doubled, "the", 4)};
        QTest::newRow("the same word on the next line is no repetition") << "cat\ncat" << 0 << QStringList();
        QTest::newRow("capitalization")
            << "Say hEllo" << 0 << QStringList{row(Problem::Capitalization, "hEllo", 4)};
        QTest::newRow("digits: numbers and known ordinals pass")
            << "123 2nd abc123" << 0 << QStringList{row(Problem::WordWithDigits, "abc123", 8)};
        QTest::newRow("letters outside ASCII")
            << QString::fromUtf8("Zürich and café") << 0
            << QStringList{row(Problem::Misspelled, "Zürich", 0), row(Problem::Misspelled, "café", 11)};
    }

    void theCheckFindsEachKindOfProblem()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(QStringList, problems);
        SpellChecker checker;
        QVERIFY(checker.Open());
        QCOMPARE(problemsOf(checker, text, from), problems);
    }

    void suggestionsAndIgnoredWords()
    {
        SpellChecker checker;
        QVERIFY(checker.Open());
        QCOMPARE(checker.Suggestions(QStringLiteral("recieve")).first(), QStringLiteral("receive"));
        QCOMPARE(checker.Suggestions(QString::fromUtf8("Zürich")), QStringList{QStringLiteral("Zurich")});
        QVERIFY(checker.Suggestions(QStringLiteral("receive")).isEmpty());
        checker.IgnoreAll(QStringLiteral("recieve"));
        QVERIFY(checker.IsKnown(QStringLiteral("recieve")));
        QVERIFY(checker.Suggestions(QStringLiteral("recieve")).isEmpty());
        // Another checker of the same dictionary still finds it.
        SpellChecker other;
        QVERIFY(other.Open());
        QVERIFY(!other.IsKnown(QStringLiteral("recieve")));
    }

    void aDictionaryInAnotherEncodingIsReadAndAnswered()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(QStringLiteral("fr_TEST.aff")), "SET ISO8859-1\nTRY e\xe9\xefiaucfnv\n");
        writeFile(folder.filePath(QStringLiteral("fr_TEST.dic")), "2\ncaf\xe9\nna\xefve\n");
        SpellChecker checker(QStringLiteral("fr_TEST"), folder.path());
        QVERIFY(checker.Open());
        QVERIFY(checker.IsKnown(QString::fromUtf8("café")));
        QVERIFY(checker.IsKnown(QString::fromUtf8("naïve")));
        QVERIFY(!checker.IsKnown(QStringLiteral("cafe")));
        QVERIFY(checker.Suggestions(QStringLiteral("cafe")).contains(QString::fromUtf8("café")));
    }

    void aMissingDictionaryLeavesTheCheckerClosed()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath(QStringLiteral("en_US.aff")), "SET UTF-8\n"); // the .dic is missing
        SpellChecker checker(QStringLiteral("en_US"), folder.path());
        QString error;
        QVERIFY(!checker.Open(&error));
        QVERIFY(!checker.IsOpen());
        QVERIFY(error.contains(QStringLiteral("\"en_US\" was not found")));
        QVERIFY(error.contains(folder.path()));
        QCOMPARE(checker.NextProblem(QStringLiteral("teh"), 0).problem, Problem::None);
    }

    void hideSelectionHidesTheSelectionOnlyWithoutTheFocus_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::newRow("shown") << false;
        QTest::newRow("hidden") << true;
    }

    void hideSelectionHidesTheSelectionOnlyWithoutTheFocus()
    {
        QFETCH(bool, hide);
        RichTextControl control;
        control.resize(300, 120);
        control.setPlainText(QStringLiteral("A selected word"));
        control.SetSelStart(2);
        control.SetSelLength(8);
        const QColor selection = control.palette().color(QPalette::Inactive, QPalette::Highlight);
        control.SetHideSelection(hide);
        QCOMPARE(control.HideSelection(), hide);
        QCOMPARE(shows(control, selection), !hide);
        control.SetHideSelection(false);
        QVERIFY(shows(control, selection));
    }
};

QTEST_MAIN(SpellCheckerTest)
#include "tst_SpellChecker.moc"
