#include "core/SplashScreen.h"
#include "platform/framework/WindowController.h"
#include "platform/help/HelpViewer.h"
#include "platform/runtime/ProgramWindow.h"

#include "platform/framework/WindowDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

// The splash runs as the program start runs it: on a thread that goes on once the splash has closed. Its
// timer runs ten times fast: a hundredth of a second lasts a millisecond.
class SplashScreenTest : public QObject
{
    Q_OBJECT

    bool returned = false;
    QElapsedTimer shown;

    static WindowController* Splash() { return FindWindow(QStringLiteral("SplashScreen")); }
    static QLabel* Picture() { return qobject_cast<QLabel*>(Splash()->window.Widget(1)); }

    void startSplash()
    {
        returned = false;
        shown.start();
        Start([this] {
            SplashScreen();
            returned = true;
        });
        QVERIFY(Splash());
        QVERIFY(!returned);
    }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        SetTimerTick(1);
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void theSplashShowsThePictureWithoutACaption()
    {
        startSplash();
        QWidget* root = Splash()->window.Root();
        QVERIFY(root->isVisible());
        QVERIFY(root->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(root->windowTitle().isEmpty());
        QVERIFY(Picture());
        QCOMPARE(Picture()->pixmap().size(), QSize(400, 246));
        QCOMPARE(Splash()->TimerInterval(), 300);
        PostEvent(Event::CloseWindow, 0, Splash()->Thread());
        WaitIdle();
        QVERIFY(returned);
    }

    void theSplashClosesByItselfAfterThreeSeconds()
    {
        startSplash();
        QTRY_VERIFY_WITH_TIMEOUT(returned, 6000);
        QVERIFY(shown.elapsed() >= 280); // 300 hundredths; a window timer may fire up to 5 % early
        QVERIFY(!Splash());
    }

    void aClickOnThePictureClosesItAtOnce_data()
    {
        QTest::addColumn<QString>("click");
        QTest::newRow("a click") << "left";
        QTest::newRow("a right click") << "right";
        QTest::newRow("a double click") << "double";
    }
    void aClickOnThePictureClosesItAtOnce()
    {
        QFETCH(QString, click);
        startSplash();
        QLabel* picture = Picture();
        const QPoint at(picture->width() / 2, picture->height() / 2);
        if (click == QLatin1String("left")) {
            QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, at);
        } else if (click == QLatin1String("right")) {
            QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, at);
        } else {
            // The double click alone, without the press before it, so that it closes the window by itself.
            QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, picture->mapToGlobal(at), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(picture, &doubleClick);
        }
        WaitIdle();
        QVERIFY(returned);
        QVERIFY(shown.elapsed() < 2800);
    }

    void anotherWindowTakingTheFocusClosesIt()
    {
        startSplash();
        QVERIFY(QTest::qWaitForWindowActive(Splash()->window.Root()));
        WaitIdle();
        QVERIFY(!returned); // the focus it gained does not close it
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        WaitIdle();
        QVERIFY(returned);
        QVERIFY(shown.elapsed() < 2800);
    }

    void theHelpKeyShowsTheHelpContents()
    {
        std::vector<HelpRequest> asked;
        SetHelpSink([&](const HelpRequest& request) -> QWidget* {
            asked.push_back(request);
            return nullptr;
        });
        startSplash();
        PressKey(*Splash(), Qt::Key_F1);
        SetHelpSink({});
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].command, HelpCommand::DisplayContents);
        PostEvent(Event::CloseWindow, 0, Splash()->Thread());
        WaitIdle();
        QVERIFY(returned);
    }
};

QTEST_MAIN(SplashScreenTest)
#include "tst_SplashScreen.moc"
