#include "documents/SampleDocuments.h"
#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;

class SampleDocumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void theProgramFolderHoldsTheSamplesAsStoredDocuments_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("sample1.tx") << "sample1.tx"
                                    << "Welcome to Jornix";
        QTest::newRow("sample2.tx") << "sample2.tx"
                                    << "Notes can hold more than text";
    }
    void theProgramFolderHoldsTheSamplesAsStoredDocuments()
    {
        QFETCH(QString, sample);
        QFETCH(QString, firstLine);
        QString error;
        const std::optional<QByteArray> bytes =
            LoadSampleDocument(QStringLiteral(JORNIX_PROGRAM_DIR), sample, &error);
        QVERIFY2(bytes, qPrintable(error));
        QCOMPARE(TXEdit::IsTXDocument(*bytes), 1);

        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        edit.LoadFromBlob(*bytes);
        QCOMPARE(control.Text().section(QLatin1Char('\n'), 0, 0), firstLine);
        QCOMPARE(control.Page(),
                 (PageSettings{TXEdit::DefaultPageWidth, TXEdit::DefaultPageHeight, 720, 720, 720, 720}));
    }

    void aSampleThatIsNoStoredDocumentIsReported_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("error");

        QTest::newRow("missing") << "sample1.tx" << QByteArray() << "No such file or directory";
        QTest::newRow("plain text") << "sample1.tx" << QByteArray("Welcome, in plain text.")
                                    << "is not a stored document.";
        QTest::newRow("a document without its page header")
            << "sample1.tx" << QByteArray("JXRT\1\0\0\0HTML\0\0\0\0", 16) << "is not a stored document.";
        QTest::newRow("a name that leaves the folder")
            << "../sample1.tx" << QByteArray("x") << "is not the name";
    }
    void aSampleThatIsNoStoredDocumentIsReported()
    {
        QFETCH(QString, sample);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QTemporaryDir programFolder;
        QVERIFY(QDir(programFolder.path()).mkpath(QStringLiteral("DefaultData")));
        if (!content.isEmpty()) {
            QFile file(programFolder.filePath(QStringLiteral("DefaultData/sample1.tx")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QString reported;
        QVERIFY(!LoadSampleDocument(programFolder.path(), sample, &reported));
        QVERIFY2(reported.contains(error), qPrintable(reported));
    }
};

QTEST_MAIN(SampleDocumentsTest)
#include "tst_SampleDocuments.moc"
