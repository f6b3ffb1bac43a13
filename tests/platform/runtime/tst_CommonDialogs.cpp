#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramThreads.h"

#include "platform/runtime/TopLevelWindows.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;
using Kind = CommonDialogRequest::Kind;

Q_DECLARE_METATYPE(jornix::CommonDialogRequest::Kind)

namespace {
// The names the file dialog lists in its folder.
QStringList ListedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!view)
        return {};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}
} // namespace

class TestCommonDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void filterTextsBecomeNameFilters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("one kind") << "Documents|*.tx" << QStringList{"Documents (*.tx)"};
        QTest::newRow("two kinds") << "Wave Files|*.wav|All Files|*.*"
                                   << QStringList{"Wave Files (*.wav)", "All Files (*.*)"};
        QTest::newRow("several patterns")
            << "Pictures|*.bmp;*.gif; *.ico" << QStringList{"Pictures (*.bmp *.gif *.ico)"};
        QTest::newRow("no filter") << QString() << QStringList{};
        QTest::newRow("a name without patterns") << "Documents" << QStringList{};
    }

    void filterTextsBecomeNameFilters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(NameFiltersFromText(text), nameFilters);
    }

    void theOpenDialogMatchesNamesWithoutRegardToCase()
    {
        QTemporaryDir folder;
        for (const char* name : {"NOTES.TX", "other.tx", "readme.txt"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QString chosen = QStringLiteral("not answered");
        StartProcedureThread([&] {
            chosen = AskOpenFileName(QStringLiteral("Open Document"), QStringLiteral("Documents|*.tx"),
                                     folder.path());
        });
        QVERIFY(WaitForProgramThreads());
        QFileDialog* dialog = VisibleWindow<QFileDialog>(QStringLiteral("Open Document"));
        QVERIFY(dialog);
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QTRY_COMPARE(ListedNames(dialog), QStringList({"NOTES.TX", "other.tx"}));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("NOTES.TX"));
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(chosen, folder.filePath(QStringLiteral("NOTES.TX")));
    }

    void aCancelledColourDialogKeepsTheColour_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QColor>("result");
        QTest::newRow("accepted") << true << QColor(Qt::red);
        QTest::newRow("cancelled") << false << QColor(Qt::blue);
    }

    void aCancelledColourDialogKeepsTheColour()
    {
        QFETCH(bool, accept);
        QFETCH(QColor, result);
        QColor colour(Qt::blue);
        bool accepted = !accept;
        StartProcedureThread([&] { accepted = AskColour(colour, QStringLiteral("Note Colour")); });
        QVERIFY(WaitForProgramThreads());
        QColorDialog* dialog = VisibleWindow<QColorDialog>(QStringLiteral("Note Colour"));
        QVERIFY(dialog);
        QCOMPARE(dialog->currentColor(), QColor(Qt::blue));
        dialog->setCurrentColor(Qt::red);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(accepted, accept);
        QCOMPARE(colour, result);
    }

    // The font dialog that asks a text colour too: it starts at the font and colour given (a colour of its
    // own list, or one added to the list) and changes both only when accepted.
    void theFontDialogWithAColour_data()
    {
        QTest::addColumn<QColor>("start");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("startItem");
        QTest::newRow("accepted") << QColor(0, 0, 128) << true << "Navy";
        QTest::newRow("cancelled") << QColor(0, 0, 128) << false << "Navy";
        QTest::newRow("a colour of no name, accepted") << QColor(10, 20, 30) << true << "Custom";
    }

    void theFontDialogWithAColour()
    {
        QFETCH(QColor, start);
        QFETCH(bool, accept);
        QFETCH(QString, startItem);
        QFont font(QStringLiteral("Sans"), 12);
        QColor colour = start;
        bool accepted = !accept;
        StartProcedureThread([&] { accepted = AskFont(font, colour, QStringLiteral("Text Font")); });
        QVERIFY(WaitForProgramThreads());
        QDialog* dialog = VisibleWindow<QDialog>(QStringLiteral("Text Font"));
        QVERIFY(dialog);
        auto* fonts = dialog->findChild<QFontDialog*>();
        auto* colours = dialog->findChild<QComboBox*>(QStringLiteral("TextColour"));
        QVERIFY(fonts && colours);
        QCOMPARE(colours->currentText(), startItem);
        QCOMPARE(colours->currentData().value<QColor>(), start);
        QCOMPARE(fonts->currentFont().pointSize(), 12);
        fonts->setCurrentFont(QFont(QStringLiteral("Serif"), 14));
        const QFont chosen = fonts->currentFont(); // as near as the installed fonts come
        colours->setCurrentIndex(colours->findText(QStringLiteral("Red")));
        if (accept)
            dialog->accept();
        else
            dialog->reject();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(accepted, accept);
        QCOMPARE(colour, accept ? QColor(Qt::red) : start);
        QCOMPARE(font.pointSize(), accept ? 14 : 12);
        QCOMPARE(font.family(), accept ? chosen.family() : QStringLiteral("Sans"));
    }

    void aScriptedDialogRecordsTheRequest_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("result");
        QTest::newRow("open accepted") << Kind::OpenFile << true << "/data/a.tx";
        QTest::newRow("open cancelled") << Kind::OpenFile << false << "";
        QTest::newRow("save accepted") << Kind::SaveFile << true << "/data/a.tx";
        QTest::newRow("folder accepted") << Kind::Folder << true << "/data/a.tx";
        QTest::newRow("colour accepted") << Kind::Colour << true << "#00ff00";
        QTest::newRow("colour cancelled") << Kind::Colour << false << "#0000ff";
        QTest::newRow("font accepted") << Kind::Font << true << "Serif";
        QTest::newRow("font cancelled") << Kind::Font << false << "Sans";
        QTest::newRow("printer accepted") << Kind::Printer << true << "true";
        QTest::newRow("printer cancelled") << Kind::Printer << false << "false";
    }

    void aScriptedDialogRecordsTheRequest()
    {
        QFETCH(Kind, kind);
        QFETCH(bool, accept);
        QFETCH(QString, result);
        QList<CommonDialogRequest> requests;
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            requests << request;
            CommonDialogAnswer answer;
            answer.accepted = accept;
            answer.path = QStringLiteral("/data/a.tx");
            answer.colour = Qt::green;
            answer.font = QFont(QStringLiteral("Serif"));
            return answer;
        });
        QString got;
        StartProcedureThread([&] {
            const QString title = QStringLiteral("Choose");
            const QString filters = QStringLiteral("Documents|*.tx");
            const QString start = QStringLiteral("/data");
            QColor colour(Qt::blue);
            QFont font(QStringLiteral("Sans"));
            QPrinter printer;
            switch (kind) {
            case Kind::OpenFile:
                got = AskOpenFileName(title, filters, start);
                break;
            case Kind::SaveFile:
                got = AskSaveFileName(title, filters, start);
                break;
            case Kind::Folder:
                got = AskFolder(title, start);
                break;
            case Kind::Colour:
                AskColour(colour, title);
                got = colour.name();
                break;
            case Kind::Font:
                AskFont(font, title);
                got = font.family();
                break;
            case Kind::Printer:
                got = AskPrinter(printer, title) ? QStringLiteral("true") : QStringLiteral("false");
                break;
            }
        });
        QVERIFY(WaitForProgramThreads());
        SetCommonDialogSink({});
        QCOMPARE(got, result);
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].kind, kind);
        QCOMPARE(requests[0].title, QStringLiteral("Choose"));
        if (kind == Kind::OpenFile || kind == Kind::SaveFile)
            QCOMPARE(requests[0].filters, QStringLiteral("Documents|*.tx"));
        if (kind == Kind::OpenFile || kind == Kind::SaveFile || kind == Kind::Folder)
            QCOMPARE(requests[0].path, QStringLiteral("/data"));
        if (kind == Kind::Colour)
            QCOMPARE(requests[0].colour, QColor(Qt::blue));
        if (kind == Kind::Font)
            QCOMPARE(requests[0].font.family(), QStringLiteral("Sans"));
    }
};

QTEST_MAIN(TestCommonDialogs)
#include "tst_CommonDialogs.moc"
