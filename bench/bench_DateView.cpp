// Date View over 100,000 log events and 20,000 reminders of an enciphered data folder (ten years of days,
// one event in twenty private to another user, and one day with 2,000 events):
//   1. the calendar's fill after a move to other months (the marks of three months read again);
//   2. a refresh when nothing has changed (nothing is read);
//   3. the first screen of the day lists after a day is clicked, on an ordinary day and on the full day.
// Each figure is the time from the event posted to the window until the program threads are idle again.
#include "core/BroadcastRefresh.h"

#include <QCoreApplication>
#include <QEvent>
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "journal/DateView.h"
#include "journal/MonthGrid.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include "BenchData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace jornix;

namespace {

constexpr int Events = 100000;
constexpr int Reminders = 20000;
constexpr int FullDayEvents = 2000;
constexpr qint32 Viewer = 11;
constexpr qint32 Other = 12;
const QDate FirstDay(2017, 1, 1);
constexpr int Days = 3650;
const QDate FullDay(2024, 5, 15);
const QDate TheToday(2024, 6, 12);

void Report(const char* what, const std::vector<double>& times)
{
    bench::Report(what, times, 3);
}

double TimeUntilIdle(const std::function<void()>& action)
{
    return bench::TimeUntilIdle(action, 60000);
}

void Click(MonthGrid& grid, int place)
{
    const QPointF at = grid.CellRect(place).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &press);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::BenchDataFolder folder;
    SetFixedClock(QDateTime(TheToday, QTime(10, 0)));
    CurrentUserAccess.fill(2);
    CurrentUserUniqueID = Viewer;
    RefreshSuppressed = 1;
    if (RelationsLOG->Open() != 0 || RelationsREM->Open() != 0)
        return 1;

    const int first = DayNumberFromDate(FirstDay);
    const int full = DayNumberFromDate(FullDay);
    QElapsedTimer setUp;
    setUp.start();
    const bool filled =
        bench::Fill(
            *AccessLOG, Events + FullDayEvents,
            [&](Record& record, int i) {
                record.SetValue(QStringLiteral("LOG:LogNum"), i + 1);
                record.SetValue(QStringLiteral("LOG:LogDate"), i < Events ? first + i * Days / Events : full);
                record.SetValue(QStringLiteral("LOG:LogType"), i % 4);
                record.SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Log event %1").arg(i));
                record.SetValue(QStringLiteral("LOG:LogCreateLoginID"), QStringLiteral("viewer"));
                const bool hidden = i % 20 == 0;
                record.SetValue(QStringLiteral("LOG:LogPrivate"), hidden ? 1 : 0);
                record.SetValue(QStringLiteral("LOG:LogUniqueID"), hidden ? Other : Viewer);
            }) &&
        bench::Fill(*AccessREM, Reminders, [&](Record& record, int i) {
            record.SetValue(QStringLiteral("REM:Num"), i + 1);
            record.SetValue(QStringLiteral("REM:ReminderDate"), first + i * Days / Reminders);
            record.SetValue(QStringLiteral("REM:Description"), QStringLiteral("Reminder %1").arg(i));
            record.SetValue(QStringLiteral("REM:ShowReminder"), 1);
            record.SetValue(QStringLiteral("REM:UniqueID"), Viewer);
        });
    if (!filled)
        return 1;
    std::printf("%d log events and %d reminders written in %.0f ms\n", Events + FullDayEvents, Reminders,
                double(setUp.elapsed()));

    StartProcedureThread(DateView);
    WaitForProgramThreads(60000);
    WindowController* view = WindowController::Find(QStringLiteral("DateView"));
    if (!view)
        return 1;
    const auto control = [&](const char* name) {
        return view->window.ControlNumber(QString::fromLatin1(name));
    };
    auto* middle = dynamic_cast<MonthGrid*>(view->window.Widget(control("M2")));
    // Warm up: the statements are prepared and the pages of the file read once.
    for (int i = 0; i < 3; ++i) {
        TimeUntilIdle([&] { view->Post(Event::Accepted, control("NextMonth")); });
        TimeUntilIdle([&] { view->Post(Event::Accepted, control("PrevMonth")); });
    }

    std::vector<double> moves, refreshes, posted, days, fullDays;
    for (int i = 0; i < 20; ++i)
        moves.push_back(
            TimeUntilIdle([&] { view->Post(Event::Accepted, control(i % 2 ? "PrevMonth" : "NextMonth")); }));
    for (int i = 0; i < 20; ++i)
        refreshes.push_back(TimeUntilIdle([&] { view->Post(RefreshEvent); }));
    // Baseline: an event posted to the grid and delivered with nothing to do.
    for (int i = 0; i < 20; ++i)
        posted.push_back(TimeUntilIdle([&] { QCoreApplication::postEvent(middle, new QEvent(QEvent::User)); }));
    for (int i = 0; i < 20; ++i)
        days.push_back(TimeUntilIdle([&] { Click(*middle, middle->PlaceOf(1 + i)); }));
    // The full day lies in the left month.
    auto* left = dynamic_cast<MonthGrid*>(view->window.Widget(control("M1")));
    for (int i = 0; i < 20; ++i) {
        fullDays.push_back(TimeUntilIdle([&] { Click(*left, left->PlaceOf(i % 2 ? 14 : FullDay.day())); }));
    }
    std::vector<double> fullOnly;
    for (std::size_t i = 0; i < fullDays.size(); i += 2)
        fullOnly.push_back(fullDays[i]);

    std::printf("\nDate View over %d log events and %d reminders\n", Events + FullDayEvents, Reminders);
    Report("1. fill after a month move (marks read again)", moves);
    Report("2. refresh with nothing changed (nothing read)", refreshes);
    Report("   baseline: a posted event delivered", posted);
    Report("3a. day lists' first screen, an ordinary day", days);
    Report("3b. day lists' first screen, a day of 2,000 events", fullOnly);

    view->Post(Event::CloseWindow);
    WaitForProgramThreads(60000);
    EndProgramThreads();
    RelationsLOG->Close();
    RelationsREM->Close();
    return 0;
}
