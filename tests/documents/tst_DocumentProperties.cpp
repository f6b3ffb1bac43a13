#include "documents/DocumentPropertiesDialog.h"
#include "documents/DocumentPropertiesModel.h"
#include "documents/MeasurementUnits.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace jornix;
using Value = DocumentPropertiesModel::Value;

class DocumentPropertiesTest : public QObject
{
    Q_OBJECT

private slots:
    void thePaperIsPickedBySizeWithinFiveTwips_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("paper");

        using namespace MeasurementUnit;
        QTest::newRow("A4 in millimetres") << int(Millimetres) << 11906 << 16837 << "A4";
        QTest::newRow("3 twips off is still A4") << int(Millimetres) << 11903 << 16840 << "A4";
        QTest::newRow("5 twips off is User Defined") << int(Millimetres) << 11901 << 16837 << "User Defined";
        QTest::newRow("Letter in inches") << int(Inches) << 12240 << 15840 << "Letter";
        QTest::newRow("Legal in centimetres") << int(Centimetres) << 12240 << 20160 << "Legal";
        QTest::newRow("A5") << int(Millimetres) << 8418 << 11906 << "A5";
        QTest::newRow("B5") << int(Inches) << 9978 << 14174 << "B5";
        QTest::newRow("the default page is no paper of the list")
            << int(Millimetres) << 12626 << 17557 << "User Defined";
        QTest::newRow("A4 turned sideways is not A4") << int(Millimetres) << 16837 << 11906 << "User Defined";
    }
    void thePaperIsPickedBySizeWithinFiveTwips()
    {
        QFETCH(int, unit);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, paper);
        const DocumentPropertiesModel model({width, height, 720, 720, 720, 720}, unit);
        QCOMPARE(model.PaperName(), paper);
    }

    void choosingAPaperShowsItsSizeInTheUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QStringList>("papers"); // chosen in turn
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");

        using namespace MeasurementUnit;
        QTest::newRow("Letter in inches") << int(Inches) << QStringList{"Letter"} << 8.50 << 11.00;
        QTest::newRow("Letter in centimetres") << int(Centimetres) << QStringList{"Letter"} << 21.59 << 27.94;
        QTest::newRow("A4 in millimetres") << int(Millimetres) << QStringList{"A4"} << 209.98 << 296.95;
        QTest::newRow("User Defined after Legal keeps the Legal size")
            << int(Inches) << QStringList{"Legal", "User Defined"} << 8.50 << 14.00;
    }
    void choosingAPaperShowsItsSizeInTheUnit()
    {
        QFETCH(int, unit);
        QFETCH(QStringList, papers);
        QFETCH(double, width);
        QFETCH(double, height);
        DocumentPropertiesModel model({1000, 1000, 0, 0, 0, 0}, unit);
        for (const QString& paper : papers)
            model.ChoosePaper(paper);
        QCOMPARE(model.PaperName(), papers.last());
        QCOMPARE(model.Get(Value::Width), width);
        QCOMPARE(model.Get(Value::Height), height);
    }

    void typingASizeKeepsThePaperName()
    {
        DocumentPropertiesModel model({11906, 16837, 720, 720, 720, 720}, MeasurementUnit::Millimetres);
        model.Set(Value::Width, 100.0);
        QCOMPARE(model.PaperName(), QStringLiteral("A4"));
        QCOMPARE(model.Page().width, 5670);
    }

    void okWritesTheShownValuesToTheControl()
    {
        RichTextControl control;
        control.SetPage({12626, 17557, 720, 720, 720, 720});
        DocumentPropertiesDialog dialog(&control, MeasurementUnit::Inches);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Document Properties"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("marginLeftUnit"))->text(), QStringLiteral("Inch"));
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("marginTop"))->value(), 0.50);

        auto* paper = dialog.findChild<QComboBox*>(QStringLiteral("paperName"));
        QCOMPARE(paper->currentText(), QStringLiteral("User Defined"));
        paper->setCurrentIndex(paper->findText(QStringLiteral("Letter")));
        emit paper->activated(paper->currentIndex());
        QCOMPARE(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("paperWidth"))->value(), 8.50);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("marginLeft"))->setValue(1.25);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("marginBottom"))->setValue(0.75);

        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(control.Page(), (PageSettings{12240, 15840, 1800, 720, 720, 1080}));
    }

    void cancelChangesNothing()
    {
        RichTextControl control;
        const PageSettings page{11906, 16837, 1000, 1100, 1200, 1300};
        control.SetPage(page);
        DocumentPropertiesDialog dialog(&control, MeasurementUnit::Millimetres);
        auto* paper = dialog.findChild<QComboBox*>(QStringLiteral("paperName"));
        QCOMPARE(paper->currentText(), QStringLiteral("A4"));
        paper->setCurrentIndex(paper->findText(QStringLiteral("Legal")));
        emit paper->activated(paper->currentIndex());
        for (const char* name :
             {"paperWidth", "paperHeight", "marginLeft", "marginRight", "marginTop", "marginBottom"})
            dialog.findChild<QDoubleSpinBox*>(QLatin1String(name))->setValue(12.34);

        dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(control.Page(), page);
    }
};

QTEST_MAIN(DocumentPropertiesTest)
#include "tst_DocumentProperties.moc"
