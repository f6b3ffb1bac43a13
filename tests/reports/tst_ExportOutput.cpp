#include "reports/ExportOutput.h"

#include <QTest>

using namespace jornix;

class TestExportOutput : public QObject
{
    Q_OBJECT

private slots:
    void outputFileSplitsIntoFolderAndName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("folder and name") << "/home/ann/Out/report.pdf"
                                         << "/home/ann/Out"
                                         << "report.pdf";
        QTest::newRow("no folder") << "report.pdf"
                                   << ""
                                   << "report.pdf";
        QTest::newRow("the root folder") << "/report.pdf"
                                         << "/"
                                         << "report.pdf";
        QTest::newRow("trailing blanks") << "/tmp/report.pdf  "
                                         << "/tmp"
                                         << "report.pdf";
        const QString deep = "/home/ann/" + QString(200, 'x') + "/Out";
        QTest::newRow("a long folder") << deep + "/report.pdf" << deep << "report.pdf";
    }
    void outputFileSplitsIntoFolderAndName()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QCOMPARE(OutputFolder(path), folder);
        QCOMPARE(GetFileName(path), name);
    }

    void formatsAndTargetsByOutput_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("target");
        QTest::newRow("preview") << 2 << ""
                                 << "PRV";
        QTest::newRow("printer") << 3 << ""
                                 << "PRN";
        QTest::newRow("RTF") << 4 << "RTF"
                             << "RTF";
        QTest::newRow("JPG") << 6 << "PICTURE_JPEG"
                             << "JPG";
        QTest::newRow("EMF") << 7 << "PICTURE_EMF"
                             << "EMF";
        QTest::newRow("BMP") << 8 << "PICTURE_BMP"
                             << "BMP";
        QTest::newRow("TXT") << 13 << "TXT"
                             << "TXT";
        QTest::newRow("not an output") << 14 << ""
                                       << "";
        QTest::newRow("none") << 0 << ""
                              << "";
    }
    void formatsAndTargetsByOutput()
    {
        QFETCH(int, output);
        QFETCH(QString, format);
        QFETCH(QString, target);
        QCOMPARE(ExportFormatOf(output), format);
        QCOMPARE(PrintTargetOf(output), target);
    }
};

QTEST_MAIN(TestExportOutput)
#include "tst_ExportOutput.moc"
