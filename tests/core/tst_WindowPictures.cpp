#include "core/StandInWindows.h"
#include "core/AboutBox.h"
#include "core/ChangePassword.h"
#include "core/CoreProcedures.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/ManageUsers.h"
#include "core/MenuBarState.h"
#include "core/OneTimeSetup.h"
#include "core/PasswordHash.h"
#include "core/Procedures.h"
#include "core/SplashScreen.h"

#include "DataFolder.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// What a user would see as unfinished in a window: a control cut off by its window or by the control it
// stands in, a text or button squeezed below the size it needs, a list whose columns run behind a scroll bar,
// a window that lies partly outside the screen or, inside the frame, outside the frame's visible area.
QStringList Flaws(QWidget* window)
{
    QStringList flaws;
    const auto name = [](const QWidget* widget) {
        return QStringLiteral("%1 \"%2\"")
            .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
    };
    if (auto* child = qobject_cast<QMdiSubWindow*>(window)) {
        if (!child->mdiArea()->viewport()->rect().contains(child->geometry()))
            flaws << QStringLiteral("the window lies outside the frame's area");
    } else if (!window->screen()->availableGeometry().contains(window->frameGeometry())) {
        flaws << QStringLiteral("the window lies outside the screen");
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->isWindow())
            continue;
        // The rows of a list and the windows in the frame are laid out by their owner, and the side menu bar
        // places its controls by its own measures, which its tests check.
        bool owned = false;
        for (QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(up) || qobject_cast<QMdiArea*>(up) ||
                up->objectName() == QLatin1String("MenuBar"))
                owned = true;
        if (owned)
            continue;
        const QWidget* parent = widget->parentWidget();
        if (!parent->rect().contains(widget->geometry()))
            flaws << name(widget) + QStringLiteral(" is cut off");
        const bool measured = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                              qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget);
        if (measured) {
            const QSize needed = widget->minimumSizeHint();
            int height = needed.height();
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
                height = label->heightForWidth(label->width());
            if (widget->width() < needed.width() || widget->height() < height)
                flaws << name(widget) + QStringLiteral(" is squeezed: %1x%2 for %3x%4")
                                            .arg(widget->width())
                                            .arg(widget->height())
                                            .arg(needed.width())
                                            .arg(height);
        }
        if (auto* list = qobject_cast<QAbstractItemView*>(widget);
            list && list->horizontalScrollBar()->isVisible())
            flaws << name(widget) + QStringLiteral(" has columns behind a scroll bar");
    }
    return flaws;
}

} // namespace

// A picture of each window of the sign-in, the users, the first-run setup, the frame, About, the splash and
// each tab of Program Setup, as a new user first sees it, with nothing cut off, nothing outside the screen and
// a picture for every image the window asks for.
class WindowPicturesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    std::unique_ptr<test::TestFrame> frame;
    QStringList missingImages; // images a window asked for that the icon set does not have

    // Opens the window of the row and gives it.
    WindowController* Open(const QString& window)
    {
        if (window == QLatin1String("Login")) {
            Start([] { Login(); });
            return FindWindow(QStringLiteral("Login"));
        }
        if (window == QLatin1String("ChangePassword")) {
            Start([] { ChangePassword(); });
            return FindWindow(QStringLiteral("ChangePassword"));
        }
        if (window == QLatin1String("AboutBox")) {
            Start([] { AboutBox(); });
            return FindWindow(QStringLiteral("AboutBox"));
        }
        if (window == QLatin1String("SplashScreen")) {
            Start([] { SplashScreen(); });
            return FindWindow(QStringLiteral("SplashScreen"));
        }
        if (window.startsWith(QLatin1String("OneTimeSetup"))) {
            Start([] { OneTimeSetup(); });
            WindowController* wizard = FindWindow(QStringLiteral("OneTimeSetup"));
            if (wizard) // the page, picked as the wizard picks it
                wizard->window.SelectTab(wizard->window.ControlNumber(QStringLiteral("Sheet")),
                                         window.mid(12).toInt());
            return wizard;
        }
        if (window == QLatin1String("Main")) {
            Start([] { Main(); });
            return FindWindow(QStringLiteral("Main"));
        }
        frame = std::make_unique<test::TestFrame>();
        if (window == QLatin1String("ManageUsers") || window == QLatin1String("UpdateUser")) {
            Start([] { ManageUsers(); });
            WindowController* list = FindWindow(QStringLiteral("ManageUsers"));
            if (window == QLatin1String("ManageUsers") || !list)
                return list;
            Press(*list, QStringLiteral("Insert"));
            return FindWindow(QStringLiteral("UpdateUser"));
        }
        if (window.startsWith(QLatin1String("SetupProgram"))) {
            StartProcedure(QStringLiteral("SetupProgram"));
            WaitIdle();
            WindowController* setup = FindWindow(QStringLiteral("SetupProgram"));
            if (setup)
                setup->window.SelectTab(setup->window.ControlNumber(QStringLiteral("Sheet")),
                                        window.mid(12).toInt());
            return setup;
        }
        // A window still to come, as a list window of the frame.
        StartProcedure(window);
        WaitIdle();
        return FindWindow(window);
    }

    static void CloseEverything()
    {
        for (int round = 0; round < 10 && !WindowController::OpenWindows().empty(); ++round) {
            WindowController* top = WindowController::OpenWindows().back();
            PostEvent(Event::CloseWindow, 0, top->Thread());
            WaitIdle();
        }
    }

private slots:
    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        WindowDescription::SetImageListener([this](const QString& image, const QString& path) {
            if (path.isEmpty() && !missingImages.contains(image))
                missingImages << image;
        });
        RegisterStandInWindows();
        RegisterCoreProcedures();
    }
    void init()
    {
        missingImages.clear();
        folder = std::make_unique<test::DataFolder>();
        QVERIFY(test::SignInAdministrator(Me));
        MenuBarState = MenuBarStateRecord();
        boxes = std::make_unique<test::MessageRecorder>();
        boxes->answers = {MessageButton::Yes};
    }
    void cleanup()
    {
        CloseEverything();
        QVERIFY(WindowController::OpenWindows().empty());
        frame.reset();
        boxes.reset();
        RelationsUSR->Close();
        folder.reset();
        MenuBarThread = 0;
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        WindowDescription::SetImageListener({});
    }

    void theWindowLooksFinished_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("sign-in") << "Login";
        QTest::newRow("password change") << "ChangePassword";
        QTest::newRow("users") << "ManageUsers";
        QTest::newRow("a user") << "UpdateUser";
        for (int page = 1; page <= 6; ++page)
            QTest::newRow(qPrintable(QStringLiteral("first-run setup, page %1").arg(page)))
                << QStringLiteral("OneTimeSetup%1").arg(page);
        QTest::newRow("frame") << "Main";
        QTest::newRow("About") << "AboutBox";
        QTest::newRow("splash") << "SplashScreen";
        for (int tab = 1; tab <= 6; ++tab)
            QTest::newRow(qPrintable(QStringLiteral("Program Setup, tab %1").arg(tab)))
                << QStringLiteral("SetupProgram%1").arg(tab);
    }
    void theWindowLooksFinished()
    {
        QFETCH(QString, window);
        WindowController* opened = Open(window);
        QVERIFY(opened);
        QWidget* root = opened->window.Root();
        QVERIFY(root->isVisible());
        test::SavePicture(window == QLatin1String("Main") ? root : root->window(), window);
        const QStringList flaws = Flaws(root);
        QVERIFY2(flaws.isEmpty(),
                 qPrintable(window + QStringLiteral(": ") + flaws.join(QStringLiteral("; "))));
        // Every image the window asked for is in the icon set.
        QVERIFY2(missingImages.isEmpty(),
                 qPrintable(window + QStringLiteral(" has no picture for ") +
                            missingImages.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(WindowPicturesTest)
#include "tst_WindowPictures.moc"
