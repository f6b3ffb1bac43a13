#include "platform/framework/WindowDescription.h"

#include <QIcon>
#include <QImageReader>
#include <QtTest>

using namespace jornix;

// The icon set linked into the program holds a picture for every image the windows name.
class IconSetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WindowDescription::SetImageFolder(QStringLiteral(":/icons")); }

    void everyImageTheWindowsNameHasAPicture_data()
    {
        QTest::addColumn<QString>("image");
        const char* const images[] = {
            // the program, the splash and the logo
            "~Jornix.ico", "Jornix.ico", "splash.bmp", "~jornix.svg",
            // the frame's toolbar and the panes of the side menu bar
            "DateViewS.gif", "AllLogViewS.gif", "remindS.gif", "searchS.gif", "taskS.gif", "contactS.gif",
            "stickyS.gif", "repdesS.gif", "setupS.gif", "MigrateS.gif", "DateView.gif", "AllLogView.gif",
            "Report.GIF", "search.gif", "remind.gif", "task.gif", "sticky.gif", "contact.gif", "scrap.gif",
            "scrapS.gif", "repdes.gif", "setup.gif", "users.gif", "Migrate.gif",
            // buttons of the forms, lists and dialogs
            "OKButton.gif", "CancelButton.gif", "help.gif", "cancel.ico", "ChangePwd.gif", "WIZINS.gif",
            "WIZEDIT.gif", "WIZDEL.gif", "WIZDITTO.gif", "wizprint.gif", "pickdate.gif",
            "dismissreminder.gif", "newlink.gif", "viewlink.gif", "dellink.gif", "web_link.gif", "mail2.gif",
            "play.gif", "record.gif", "stop.gif", "~zoomdown.gif", "~zoomup.gif",
            // the month and year arrows of Date View and the date picker, the mail merge's toolbar
            "PrevYear.png", "PrevMonth.png", "NextMonth.png", "NextYear.png", "MergeField.gif", "MergeScreen.gif",
            "MergePrinter.gif", "MergeFirst.gif", "MergePrevious.gif", "MergeNext.gif", "MergeLast.gif",
            // icons of list rows and pictures
            "~private.bmp", "~reminder.bmp", "~DesignLck.gif", "~nopreview.gif",
            // the event editor's toolbar
            "RTFNew.gif", "RTFOpen.gif", "RTFSave.gif", "RTFPrint.gif", "RTFCut.gif", "RTFCopy.gif",
            "RTFPaste.gif", "RTFUndo.gif", "RTFRedo.gif", "RTFFind.gif", "RTFReplace.gif", "RTFFontDlg.gif",
            "RTFForeColor.gif", "RTFBackColor.gif", "RTFParaDlg.gif", "RTFLeftDent.gif", "RTFRightDent.gif",
            "RTFDateTime.gif", "RTFInsertImage.gif", "RTFInsertObject.gif", "RTFSpell.gif", "RTFTable.gif"};
        for (const char* image : images)
            QTest::newRow(image) << QString::fromLatin1(image);
    }
    void everyImageTheWindowsNameHasAPicture()
    {
        QFETCH(QString, image);
        const QString path = WindowDescription::ImagePath(image);
        QVERIFY2(!path.isEmpty(), qPrintable(image));
        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(path));
        QVERIFY(!reader.read().isNull());
        QVERIFY(!QIcon(path).pixmap(16).isNull());
    }

    void aToolbarImageIsTheSetsPictureOfTheSameName()
    {
        QCOMPARE(WindowDescription::ImagePath(QStringLiteral("DateViewS.gif")), ":/icons/DateViewS.png");
        QCOMPARE(WindowDescription::ImagePath(QStringLiteral("splash.bmp")), ":/icons/splash.svg");
        QCOMPARE(QImageReader(QStringLiteral(":/icons/splash.svg")).size(), QSize(400, 246));
    }
};

QTEST_MAIN(IconSetTest)
#include "tst_IconSet.moc"
