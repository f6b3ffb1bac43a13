#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/WildcardPattern.h"
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/WorkerRead.h"

#include <QtTest>

#include <mutex>

// A word index only prunes a long read: the rows a read narrowed by it finds are exactly those that a read of
// every row finds, for every pattern, after every kind of write, also in a file made before the index.
using namespace jornix;

namespace {

// A diary of one enciphered file; with the index or, as an older program made it, without.
struct Diary
{
    Catalogue catalogue;
    Table& entries;

    Diary(const QString& folder, bool indexed)
        : entries(
              catalogue.AddTable("DRY:", "Diary", "Entries", FileAttribute::Encrypt | FileAttribute::Create))
    {
        SetOwnerPassword(QString::fromLatin1(test::TestPassword), "salt of the tests key");
        entries.AddLong("Num").AddString("Title", 40).AddMemo("Body", 2000).AddLong("Day");
        entries.AddKey("NumK", {"Num"}, KeyFlag::Primary, "by Number");
        if (indexed)
            entries.AddWordIndex({"Title", "Body"});
        catalogue.SetFolder(folder);
    }

    Status Add(qint32 num, const QString& title, const QString& body)
    {
        entries.ClearBuffer();
        entries.Buffer().SetValue("DRY:Num", num);
        entries.Buffer().SetValue("DRY:Title", title);
        entries.Buffer().SetValue("DRY:Body", body);
        entries.Buffer().SetValue("DRY:Day", num % 3);
        return entries.Insert();
    }
    Status Fetch(qint32 num)
    {
        entries.ClearBuffer();
        entries.Buffer().SetValue("DRY:Num", num);
        return entries.Fetch(entries.KeyIndex("NumK"));
    }
};

// The numbers of the entries whose title or body the pattern matches, read with the word index or without.
struct Found
{
    QList<qint32> numbers;
    bool narrowed = false;
    Status status;
};

Found Search(Table& entries, const QString& pattern, int mode, bool withIndex)
{
    Found found;
    StartProcedureThread([&] {
        const WildcardPattern match(pattern, mode);
        WorkerRead read(entries);
        read.SetWorkers(3);
        if (withIndex)
            read.SetTextFragments(match.Fragments());
        std::mutex taking;
        found.status = read.Run([&](const Record& entry, qint64) {
            if (match.Matches(entry.Text(1)) || match.Matches(entry.Text(2))) {
                std::lock_guard lock(taking);
                found.numbers << entry.Long(0);
            }
            return true;
        });
        found.narrowed = read.Narrowed();
    });
    WaitForProgramThreads(30000);
    std::sort(found.numbers.begin(), found.numbers.end());
    return found;
}

} // namespace

class WordIndexTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    std::unique_ptr<Diary> diary_;

private slots:
    void initTestCase()
    {
        diary_ = std::make_unique<Diary>(folder_.path(), true);
        Diary& diary = *diary_;
        QVERIFY(diary.entries.Open());
        QVERIFY(diary.Add(1, "Buy milk, and bread.", "Call Mother about the weekend"));
        QVERIFY(diary.Add(2, "Meeting", "The budget for next quarter; see ÜBER-report"));
        QVERIFY(diary.Add(3, "garden", "water the plants\u2014twice"));
        QVERIFY(diary.Add(4, "Lab", "a temperature of 300 \u212A")); // the Kelvin sign folds to k
        QVERIFY(diary.Add(5, "Straße", "Grüße aus München"));
        QVERIFY(diary.Add(6, "Birds", "a pelican on the pier"));
        QVERIFY(diary.Add(7, "More birds", "an albatross at sea"));
        QVERIFY(diary.Add(8, "Code", "snake_case names"));
        for (int n = 9; n <= 40; ++n) // rows that hold none of the words searched for
            QVERIFY(diary.Add(n, QStringLiteral("Entry %1").arg(n), QStringLiteral("filler text")));
        // A changed and a deleted entry, and writes that bypass the store: the index follows every one.
        QVERIFY(diary.Fetch(6));
        diary.entries.Buffer().SetValue("DRY:Body", QStringLiteral("a flamingo in the lake"));
        QVERIFY(diary.entries.Update());
        QVERIFY(diary.Fetch(7));
        QVERIFY(diary.entries.Delete());
        RecordFile& file = *diary.entries.File();
        QVERIFY(
            file.Execute("INSERT INTO Entries (Num, Title, Body) VALUES (41, 'Shell', 'written by hand')"));
        QVERIFY(file.Execute("UPDATE Entries SET Body = 'kestrel overhead' WHERE Num = 9"));
        QVERIFY(file.Execute("DELETE FROM Entries WHERE Num = 10"));
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        diary_->entries.Close();
        diary_.reset();
    }

    void theIndexFindsWhatEveryRowFinds_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<qint32>>("found");
        QTest::addColumn<bool>("narrows");
        const int exact = WildcardPattern::Wildcard;
        const int anyCase = exact | WildcardPattern::IgnoreCase;
        using L = QList<qint32>;
        QTest::newRow("words across punctuation") << "*milk, and*" << anyCase << L{1} << true;
        QTest::newRow("a whole text") << "buy milk, and bread." << anyCase << L{1} << true;
        QTest::newRow("case ignored") << "*MILK*" << anyCase << L{1} << true;
        QTest::newRow("case kept") << "*MILK*" << exact << L{} << true;
        QTest::newRow("stars inside words") << "*mi*k*" << anyCase << L{1, 6} << true;
        QTest::newRow("a question mark inside a word") << "*br?ad*" << anyCase << L{1} << true;
        QTest::newRow("a part of a word") << "*udge*" << anyCase << L{2} << true;
        QTest::newRow("letters beyond ASCII, case ignored") << "*MÜNCHEN*" << anyCase << L{5} << true;
        QTest::newRow("letters beyond ASCII, case kept") << "*münchen*" << exact << L{} << true;
        QTest::newRow("folded into ASCII") << "*300 k*" << anyCase << L{4} << true;
        QTest::newRow("a word joined by a dash beyond ASCII") << "*twice*" << anyCase << L{3} << true;
        QTest::newRow("across a word and punctuation") << "*quarter; see über*" << anyCase << L{2} << true;
        QTest::newRow("a character that is no word's") << "*e_c*" << anyCase << L{8} << true;
        QTest::newRow("one letter") << "*k*" << anyCase << L{1, 4, 6, 8, 9} << true;
        QTest::newRow("only wildcards") << "*?*" << anyCase << L{} << false;
        QTest::newRow("only punctuation") << "*; *" << anyCase << L{2} << false;
        QTest::newRow("a changed text's old word") << "*pelican*" << anyCase << L{} << true;
        QTest::newRow("a changed text's new word") << "*flamingo*" << anyCase << L{6} << true;
        QTest::newRow("a deleted row's word") << "*albatross*" << anyCase << L{} << true;
        QTest::newRow("a row written by hand") << "*by hand*" << anyCase << L{41} << true;
        QTest::newRow("a row changed by hand") << "*kestrel*" << anyCase << L{9} << true;
        QTest::newRow("a row deleted by hand") << "Entry 10" << anyCase << L{} << true;
        QTest::newRow("no row") << "*nowhere*" << anyCase << L{} << true;
    }
    void theIndexFindsWhatEveryRowFinds()
    {
        QFETCH(QString, pattern);
        QFETCH(int, mode);
        QFETCH(QList<qint32>, found);
        QFETCH(bool, narrows);
        const Found everyRow = Search(diary_->entries, pattern, mode, false);
        const Found indexed = Search(diary_->entries, pattern, mode, true);
        QVERIFY2(everyRow.status.Ok(), qPrintable(everyRow.status.Message()));
        QVERIFY2(indexed.status.Ok(), qPrintable(indexed.status.Message()));
        if (pattern != "*?*") // every text of the fixture but the blank ones
            QCOMPARE(everyRow.numbers, found);
        QCOMPARE(indexed.numbers, everyRow.numbers);
        QCOMPARE(indexed.narrowed, narrows);
    }

    void aFileMadeBeforeTheIndexGetsItWhenItIsOpened()
    {
        QTemporaryDir folder;
        {
            Diary older(folder.path(), false);
            QVERIFY(older.entries.Open());
            QVERIFY(older.Add(1, "Old", "a heron by the river"));
            QVERIFY(older.Add(2, "Older", "a swan"));
            older.entries.Close();
        }
        Diary diary(folder.path(), true);
        QVERIFY(diary.entries.Open());
        QVERIFY(diary.Add(3, "New", "another heron"));
        const Found found = Search(diary.entries, "*heron*", WildcardPattern::Wildcard, true);
        diary.entries.Close();
        QVERIFY2(found.status.Ok(), qPrintable(found.status.Message()));
        QVERIFY(found.narrowed);
        QCOMPARE(found.numbers, (QList<qint32>{1, 3}));
    }
};

QTEST_GUILESS_MAIN(WordIndexTest)
#include "tst_WordIndex.moc"
