#include "platform/runtime/SafeFileWriter.h"

#include "FileSizeLimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// How the bytes reach the writer: in one piece, in small pieces, or through its device with a seek back (as
// a sound file's header is written last).
QByteArray WriteAs(const QString& how, const QString& path, const QByteArray& bytes)
{
    if (how == "whole") {
        QString reason;
        return SafeFileWriter::WriteWhole(path, bytes, reason) ? "ok" : reason.toUtf8();
    }
    SafeFileWriter writer(path);
    bool ok = writer.Open();
    if (how == "pieces") {
        for (qsizetype at = 0; ok && at < bytes.size(); at += 7)
            ok = writer.Write(bytes.mid(at, 7));
    } else if (how == "device") {
        QIODevice& device = writer.Device();
        device.write(QByteArray(4, ' '));
        device.write(bytes.mid(4));
        device.seek(0);
        device.write(bytes.left(4));
    }
    ok = writer.Commit() && ok;
    return ok ? "ok" : writer.Error().toUtf8();
}
} // namespace

class TestSafeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesTheWholeFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("in one piece") << "whole";
        QTest::newRow("in pieces") << "pieces";
        QTest::newRow("through its device with a seek back") << "device";
    }

    void writesTheWholeFile()
    {
        QFETCH(QString, how);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("file.txt"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const QByteArray bytes = QByteArray("new bytes of the file ").repeated(50);
        QCOMPARE(WriteAs(how, path, bytes), QByteArray("ok"));
        QCOMPARE(ReadAll(path), bytes);
        QCOMPARE(FilesIn(folder.path()), QStringList{QStringLiteral("file.txt")});
    }

    // A disk that fills up while the file is written: the old file stays as it was and nothing is left
    // beside it. Small files fail only when the buffer is written out, large ones while they are written.
    void aWriteThatFailsKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("size");
        QTest::newRow("a small file in one piece") << "whole" << 100;
        QTest::newRow("a large file in one piece") << "whole" << 100000;
        QTest::newRow("a small file in pieces") << "pieces" << 100;
        QTest::newRow("a large file in pieces") << "pieces" << 100000;
        QTest::newRow("a small file through its device") << "device" << 100;
        QTest::newRow("a large file through its device") << "device" << 100000;
    }

    void aWriteThatFailsKeepsTheOldFile()
    {
        QFETCH(QString, how);
        QFETCH(int, size);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("file.txt"));
        const QByteArray oldBytes("the old content, which must survive");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldBytes);
        old.close();
        const QByteArray answer =
            RunWithFileSizeLimit(40, [&] { return WriteAs(how, path, QByteArray(size, 'x')); });
        QCOMPARE(answer, QByteArray("File too large"));
        QCOMPARE(ReadAll(path), oldBytes);
        QCOMPARE(FilesIn(folder.path()), QStringList{QStringLiteral("file.txt")});
    }

    void aFileThatCannotBeOpenedSaysWhy()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("missing folder/file.txt"));
        QString reason;
        QVERIFY(!SafeFileWriter::WriteWhole(path, "bytes", reason));
        QVERIFY2(!reason.isEmpty(), qPrintable(reason));
        QVERIFY(!QFile::exists(path));
        SafeFileWriter writer(path);
        QVERIFY(!writer.Open());
        QVERIFY(!writer.Write("bytes"));
        QVERIFY(!writer.Commit());
        QCOMPARE(writer.Error(), reason);
    }
};

QTEST_GUILESS_MAIN(TestSafeFileWriter)

#include "tst_SafeFileWriter.moc"
