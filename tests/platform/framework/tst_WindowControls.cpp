#include "platform/framework/WindowController.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"

#include "platform/framework/WindowDriver.h"

#include <QDate>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QApplication>

using namespace jornix;
using namespace jornix::testing;

namespace {

Table& EventTable()
{
    static Catalogue catalogue;
    static Table& table = catalogue
                              .AddTable(QStringLiteral("EVT"), QStringLiteral("Event"),
                                        QStringLiteral("EventTable"), FileAttribute::Create)
                              .AddLong(QStringLiteral("Rank"))
                              .AddLong(QStringLiteral("Date"))
                              .AddLong(QStringLiteral("Level"));
    return table;
}

QVariant FieldOfThisThread(const QString& field)
{
    return EventTable().Buffer().Value(field);
}

// A form with the controls that windows make or add: a slider the window makes, bound to a record field; spin
// boxes for a rank and a date bound to fields; a progress bar; clickable text; an image; a group for controls
// added at run time; a sheet with hidden tabs.
class ControlsWindow : public WindowController
{
public:
    int level = 0, rank = 0, date = 0, progress = 0, link = 0, image = 0, group = 0, sheet = 0,
        closeButton = 0;
    int progressValue = 40;
    std::vector<int> accepted;
    std::map<int, QVariant> fieldSeen; // by control: its field as the window's thread saw it when accepted
    ThreadNumber acceptedOn = 0;

    ControlsWindow() : WindowController(QStringLiteral("Controls"), QStringLiteral("Controls"))
    {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setRange(0, 10);
        window.Prompt(QStringLiteral("&Level:"));
        level = window
                    .Custom(slider, BindField(EventTable(), QStringLiteral("EVT:Level")),
                            {[slider] { return QVariant(slider->value()); },
                             [slider](const QVariant& value) { slider->setValue(value.toInt()); }})
                    .Name(QStringLiteral("LevelSlider"));
        QObject::connect(slider, &QSlider::valueChanged, slider,
                         [this] { window.Notify(Event::Accepted, level); });
        window.Prompt(QStringLiteral("&Rank:"));
        rank =
            window.Spin(BindField(EventTable(), QStringLiteral("EVT:Rank")), QStringLiteral("@n3"), 0, 999);
        window.Prompt(QStringLiteral("&Date:"));
        date = window.Spin(BindField(EventTable(), QStringLiteral("EVT:Date")), QStringLiteral("@d17"), 4,
                           DayNumberFromDate(QDate(2099, 12, 31)));
        progress = window.Progress(Bind(progressValue));
        link = window.ClickText(QStringLiteral("www.example.org")).Name(QStringLiteral("Web"));
        image = window.Image(QString()).Name(QStringLiteral("Picture"));
        group = window.Group(QStringLiteral("Misc"), [] {});
        sheet = window
                    .Sheet([&] {
                        window.Tab(QStringLiteral("One"), [&] { window.Text(QStringLiteral("Page one")); });
                        window.Tab(QStringLiteral("Two"), [&] { window.Text(QStringLiteral("Page two")); });
                    })
                    .HideTabs();
        window.Buttons([&] { closeButton = window.Button(QStringLiteral("Close")); });
    }
    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        AddButtonAction(closeButton, Response::Cancelled);
        ShowWindow();
        return Level::GoOn;
    }
    int OnAccepted(int control) override
    {
        accepted.push_back(control);
        acceptedOn = CurrentThread();
        if (control == level)
            fieldSeen[control] = FieldOfThisThread(QStringLiteral("EVT:Level"));
        else if (control == rank)
            fieldSeen[control] = FieldOfThisThread(QStringLiteral("EVT:Rank"));
        else if (control == date)
            fieldSeen[control] = FieldOfThisThread(QStringLiteral("EVT:Date"));
        return WindowController::OnAccepted(control);
    }
};

ControlsWindow* OpenWindow()
{
    return static_cast<ControlsWindow*>(FindWindow(QStringLiteral("Controls")));
}

ThreadNumber StartWindow()
{
    return Start([] { RunProcedure<ControlsWindow>(); });
}

} // namespace

class WindowControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }
    void cleanup()
    {
        if (ControlsWindow* window = OpenWindow())
            Press(*window, window->closeButton);
        QVERIFY(!OpenWindow());
        EventTable().ClearBuffer();
    }

    // The user changes the control on the screen; the window's own thread takes the event, writes the field
    // in its own record buffer and then handles the event. The buffer of any other thread stays as it was.
    void aCustomControlAndASpinBoxWriteTheirRecordFieldOnTheWindowsThread_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::newRow("a widget the window makes") << "level"
                                                   << "EVT:Level" << 7;
        QTest::newRow("a spin box of numbers") << "rank"
                                               << "EVT:Rank" << 12;
        QTest::newRow("a spin box of dates") << "date"
                                             << "EVT:Date" << DayNumberFromDate(QDate(2026, 3, 1));
    }
    void aCustomControlAndASpinBoxWriteTheirRecordFieldOnTheWindowsThread()
    {
        QFETCH(QString, control);
        QFETCH(QString, field);
        QFETCH(int, value);
        const ThreadNumber thread = StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        const int number = control == QLatin1String("level")  ? window->level
                           : control == QLatin1String("rank") ? window->rank
                                                              : window->date;
        QWidget* widget = window->window.Widget(number);
        if (auto* slider = qobject_cast<QSlider*>(widget))
            slider->setValue(value);
        else
            qobject_cast<QSpinBox*>(widget)->setValue(value);
        QVERIFY(WaitIdle());
        QCOMPARE(window->accepted, std::vector<int>{number});
        QCOMPARE(window->acceptedOn, thread);
        QCOMPARE(window->fieldSeen[number].toInt(), value);
        QCOMPARE(FieldOfThisThread(field).toInt(), 0);
    }

    // The date spin box shows its day number as the desktop's short date, steps by days, and reads a typed
    // date back.
    void aDateSpinBoxShowsTheShortDateAndStepsByDays()
    {
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        auto* spin = qobject_cast<QSpinBox*>(window->window.Widget(window->date));
        QVERIFY(spin);
        spin->setValue(DayNumberFromDate(QDate(2026, 2, 28)));
        QCOMPARE(spin->text(), QLocale().toString(QDate(2026, 2, 28), QLocale::ShortFormat));
        spin->stepUp();
        QVERIFY(WaitIdle());
        QCOMPARE(window->fieldSeen[window->date].toInt(), DayNumberFromDate(QDate(2026, 3, 1)));

        Type(*window, window->date, QLocale().toString(QDate(2030, 7, 4), QLocale::ShortFormat));
        window->Update();
        QCOMPARE(spin->value(), DayNumberFromDate(QDate(2030, 7, 4)));

        // Read-only, it steps by 0; writable again, by a day.
        window->window.SetReadOnly(window->date);
        QVERIFY(spin->isReadOnly());
        QCOMPARE(spin->singleStep(), 0);
        window->window.SetReadOnly(window->date, false);
        QCOMPARE(spin->singleStep(), 1);
    }

    // A date typed as the user writes it is read; a text that is no date stays in the box, which says so,
    // and the field keeps its date, whether the user presses Enter or leaves the box.
    void aDateSpinBoxKeepsAndRefusesAnUnreadableText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("leave"); // true: the box loses the focus; false: Enter
        QTest::addColumn<QDate>("read"); // invalid: refused
        QTest::newRow("month/day/year, Enter") << "12/20/2026" << false << QDate(2026, 12, 20);
        QTest::newRow("month/day/year, left") << "12/20/2026" << true << QDate(2026, 12, 20);
        QTest::newRow("ISO, left") << "2026-12-20" << true << QDate(2026, 12, 20);
        QTest::newRow("no such day, Enter") << "12/40/2026" << false << QDate();
        QTest::newRow("no such day, left") << "12/40/2026" << true << QDate();
        QTest::newRow("words, left") << "soon" << true << QDate();
        QTest::newRow("beyond the range, left") << "1/1/2150" << true << QDate();
    }
    void aDateSpinBoxKeepsAndRefusesAnUnreadableText()
    {
        QFETCH(QString, typed);
        QFETCH(bool, leave);
        QFETCH(QDate, read);
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        auto* spin = qobject_cast<QSpinBox*>(window->window.Widget(window->date));
        const int before = DayNumberFromDate(QDate(2026, 2, 28));
        spin->setValue(before);
        QVERIFY(WaitIdle());
        window->accepted.clear();
        window->window.Widget(window->rank)->setFocus(); // a control of the window to leave the box for
        spin->setFocus(Qt::TabFocusReason);
        spin->selectAll();
        QTest::keyClicks(spin, typed);
        if (leave) {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(spin, &out);
        } else {
            QTest::keyClick(spin, Qt::Key_Return);
        }
        QVERIFY(WaitIdle());
        if (read.isValid()) {
            QCOMPARE(spin->value(), DayNumberFromDate(read));
            QCOMPARE(window->fieldSeen[window->date].toInt(), DayNumberFromDate(read));
            return;
        }
        QCOMPARE(spin->text(), typed);
        QCOMPARE(spin->value(), before);
        QVERIFY(std::find(window->accepted.begin(), window->accepted.end(), window->date) ==
                window->accepted.end()); // refused, never accepted
        QCOMPARE(QToolTip::text(), QStringLiteral("\"%1\" is not a valid date.").arg(typed));
        QCOMPARE(QApplication::focusWidget(), spin);
    }

    void aProgressBarShowsItsBoundValue()
    {
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        auto* bar = qobject_cast<QProgressBar*>(window->window.Widget(window->progress));
        QVERIFY(bar);
        QCOMPARE(bar->value(), 40);
        window->progressValue = 75;
        window->window.ShowValues(window->progress);
        QCOMPARE(bar->value(), 75);
    }

    void clickedTextGivesAccepted_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("the mouse") << false;
        QTest::newRow("the space bar") << true;
    }
    void clickedTextGivesAccepted()
    {
        QFETCH(bool, byKey);
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        QWidget* text = window->window.Widget(window->link);
        QCOMPARE(window->window.ControlNumber(QStringLiteral("Web")), window->link);
        if (byKey)
            QTest::keyClick(text, Qt::Key_Space);
        else
            QTest::mouseClick(text, Qt::LeftButton);
        QVERIFY(WaitIdle());
        QCOMPARE(window->accepted, std::vector<int>{window->link});
    }

    void controlsAddedAtRunTimeAreRemovedAgain()
    {
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        WindowDescription& description = window->window;
        const int last = description.LastControl();
        QString misc;
        int prompt = 0, entry = 0, inner = 0;
        description.Into(window->group, [&] {
            prompt = description.Prompt(QStringLiteral("Misc 1:"));
            entry = description.Entry(Bind(misc), QStringLiteral("@s20")).Name(QStringLiteral("Misc1"));
            inner = description.Group(QStringLiteral("Inner"),
                                      [&] { description.Check(QStringLiteral("Yes"), {}); });
        });
        QCOMPARE(entry, last + 2);
        QPointer<QWidget> entryWidget = description.Widget(entry);
        QPointer<QWidget> checkWidget = description.Widget(inner + 1);
        QVERIFY(entryWidget && checkWidget);

        description.Remove(entry);
        description.Remove(prompt);
        QVERIFY(!entryWidget);
        QVERIFY(!description.Exists(entry));
        QCOMPARE(description.ControlNumber(QStringLiteral("Misc1")), 0);
        description.Remove(inner); // and the check box inside it
        QVERIFY(!checkWidget);
        QVERIFY(!description.Exists(inner + 1));
        description.ShowValues();
        QVERIFY(description.WriteValues());

        // Numbers are not given twice.
        int again = 0;
        description.Into(window->group,
                         [&] { again = description.Entry(Bind(misc), QStringLiteral("@s20")); });
        QCOMPARE(again, inner + 2);
    }

    void aControlTakesItsFontAndColours_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("style");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("fill");
        QTest::newRow("bold") << QString() << 0 << int(FontStyle::Bold) << QColor() << QColor();
        QTest::newRow("italic in a size")
            << QString() << 14 << int(FontStyle::Italic) << QColor() << QColor();
        QTest::newRow("a face, bold italic")
            << "Serif" << 9 << int(FontStyle::Bold | FontStyle::Italic) << QColor() << QColor();
        QTest::newRow("white on navy")
            << QString() << 0 << int(FontStyle::Normal) << QColor(Qt::white) << QColor(0, 0, 128);
        QTest::newRow("red text only")
            << QString() << 0 << int(FontStyle::Normal) << QColor(Qt::red) << QColor();
    }
    void aControlTakesItsFontAndColours()
    {
        QFETCH(QString, face);
        QFETCH(int, points);
        QFETCH(int, style);
        QFETCH(QColor, text);
        QFETCH(QColor, fill);
        WindowDescription window(QStringLiteral("Fonts"));
        QLabel* usual = qobject_cast<QLabel*>(window.Widget(window.Text(QStringLiteral("usual"))));
        const int number =
            window.Text(QStringLiteral("Heading")).Font(face, points, style).TextColor(text).FillColor(fill);
        QWidget* widget = window.Widget(number);
        const QFont font = widget->font();
        QCOMPARE(font.bold(), bool(style & FontStyle::Bold));
        QCOMPARE(font.italic(), bool(style & FontStyle::Italic));
        QCOMPARE(font.pointSize(), points > 0 ? points : usual->font().pointSize());
        if (!face.isEmpty())
            QCOMPARE(font.family(), face);
        QCOMPARE(widget->palette().color(QPalette::WindowText),
                 text.isValid() ? text : usual->palette().color(QPalette::WindowText));
        QCOMPARE(widget->autoFillBackground(), fill.isValid());
        if (fill.isValid())
            QCOMPARE(widget->palette().color(QPalette::Window), fill);

        // Back to the usual colours.
        window.SetTextColor(number, QColor());
        window.SetFillColor(number, QColor());
        QCOMPARE(widget->palette().color(QPalette::WindowText), usual->palette().color(QPalette::WindowText));
        QVERIFY(!widget->autoFillBackground());
    }

    void anImageIsLoadedFromAFileAtRunTime_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("fit");
        QTest::addColumn<QSize>("shown"); // empty: not readable
        QTest::newRow("as it is") << QSize(40, 30) << QSize() << QSize(40, 30);
        QTest::newRow("scaled down to fit") << QSize(400, 200) << QSize(100, 100) << QSize(100, 50);
        QTest::newRow("small enough already") << QSize(40, 30) << QSize(100, 100) << QSize(40, 30);
        QTest::newRow("not a picture") << QSize() << QSize() << QSize();
    }
    void anImageIsLoadedFromAFileAtRunTime()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, fit);
        QFETCH(QSize, shown);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("scrap.png"));
        if (picture.isValid()) {
            QImage image(picture, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            QVERIFY(image.save(file));
        } else {
            QFile bad(file);
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("no picture here");
        }
        WindowDescription window(QStringLiteral("Images"));
        const int image = window.Image(QString());
        QCOMPARE(window.SetImageFile(image, file, fit), shown.isValid());
        const QPixmap pixmap = qobject_cast<QLabel*>(window.Widget(image))->pixmap();
        QCOMPARE(pixmap.isNull(), !shown.isValid());
        if (shown.isValid())
            QCOMPARE(pixmap.size(), shown);
    }

    void aSheetWithHiddenTabsShowsThePageTheProgramPicks()
    {
        StartWindow();
        ControlsWindow* window = OpenWindow();
        QVERIFY(window);
        auto* tabs = qobject_cast<QTabWidget*>(window->window.Widget(window->sheet));
        QVERIFY(tabs);
        QVERIFY(!tabs->tabBar()->isVisible());
        window->window.SelectTab(window->sheet, 2);
        QCOMPARE(window->window.SelectedTab(window->sheet), 2);
        QVERIFY(tabs->currentWidget()->isVisible());
    }

    // A stretch given to a control of the window itself decides who takes the spare height.
    void aControlOfTheWindowTakesTheStretchGivenToIt()
    {
        QString notes, more;
        WindowDescription window(QStringLiteral("Stretch"));
        const int grows = window.TextBox(Bind(notes));
        const int stays = window.TextBox(Bind(more)).Stretch(0);
        window.Root()->show();
        QWidget* growing = window.Widget(grows);
        QWidget* staying = window.Widget(stays);
        const QSize before = window.Root()->size();
        const int growingHeight = growing->height(), stayingHeight = staying->height();
        window.Root()->resize(before + QSize(0, 200));
        QTRY_VERIFY(growing->height() > growingHeight);
        QCOMPARE(staying->height(), stayingHeight);
    }
};

QTEST_MAIN(WindowControlsTest)
#include "tst_WindowControls.moc"
