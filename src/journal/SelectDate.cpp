#include "journal/SelectDate.h"

#include "core/SharedFunctions.h"
#include "core/StandardWindow.h"
#include "platform/framework/Picture.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/TrailingBlanks.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace jornix {
namespace {

constexpr int FirstYear = 1801;
constexpr int LastYear = 2099;
constexpr int Weeks = 6;
constexpr int DayButtons = 7 * Weeks;
const QSize DaySize(36, 28);

class Calendar : public StandardWindow
{
public:
    Calendar(int date, const QString& title)
        : StandardWindow(QStringLiteral("SelectDate"), QStringLiteral("Calendar")), startDate_(date),
          title_(title)
    {
        window.Row([&] {
            previousYear_ = window.Button({}, QStringLiteral("PrevYear.png"))
                                .Tip(QStringLiteral("Previous Year"))
                                .Name(QStringLiteral("PreviousYear"));
            previousMonth_ = window.Button({}, QStringLiteral("PrevMonth.png"))
                                 .Tip(QStringLiteral("Previous month"))
                                 .Name(QStringLiteral("PreviousMonth"));
            header_ = window.Prompt(QStringLiteral("Month, Year")).Name(QStringLiteral("Header")).Stretch();
            nextMonth_ = window.Button({}, QStringLiteral("NextMonth.png"))
                             .Tip(QStringLiteral("Next month"))
                             .Name(QStringLiteral("NextMonth"));
            nextYear_ = window.Button({}, QStringLiteral("NextYear.png"))
                            .Tip(QStringLiteral("Next year"))
                            .Name(QStringLiteral("NextYear"));
        });
        window.Row([&] {
            for (const char* name : {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}) {
                auto* heading = static_cast<QLabel*>(window.Prompt(QString::fromLatin1(name)).Widget());
                heading->setAlignment(Qt::AlignCenter);
                heading->setFixedWidth(DaySize.width());
            }
        });
        for (int week = 0; week < Weeks; ++week) {
            window.Row([&] {
                for (int column = 0; column < 7; ++column) {
                    const int place = week * 7 + column;
                    days_[place] = window.Button({}).Name(QStringLiteral("Day%1").arg(place + 1));
                    // A hidden day keeps its place, so that every day stays in its weekday's column.
                    QWidget* button = window.Widget(days_[place]);
                    button->setFixedSize(DaySize);
                    QSizePolicy policy = button->sizePolicy();
                    policy.setRetainSizeWhenHidden(true);
                    button->setSizePolicy(policy);
                }
            });
        }
        window.Buttons([&] {
            today_ = window.Button(QStringLiteral("&Today")).Name(QStringLiteral("Today"));
            cancel_ = window.Button(QStringLiteral("Cancel"), QStringLiteral("cancel.ico"))
                          .Name(QStringLiteral("Cancel"));
        });
        QLabel* header = static_cast<QLabel*>(window.Widget(header_));
        header->setAlignment(Qt::AlignCenter);
        QFont bold = header->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.15);
        header->setFont(bold);
        NoHelp();
    }

    int Result() const { return result_; }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(cancel_, Response::Cancelled);
        result_ = startDate_;
        const QDate shown = DateFromDayNumber(startDate_ ? startDate_ : Today());
        month_ = shown.month();
        year_ = shown.year();
        focusDay_ = shown.day();
        const QString caption = StripTrailingBlanks(title_);
        window.SetCaption(caption.isEmpty() ? QStringLiteral("Select Date") : caption);
        FillMonth();
        window.Root()->setFixedSize(window.Root()->sizeHint());
        return Level::GoOn;
    }

    void Open() override
    {
        StandardWindow::Open();
        window.Select(ButtonOfDay(focusDay_));
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        if (control == today_) {
            const QDate today = DateFromDayNumber(Today());
            month_ = today.month();
            year_ = today.year();
            FillMonth();
            window.Select(ButtonOfDay(today.day()));
            Choose(Today());
        } else if (control == previousMonth_) {
            // January 1801 is the first month that has dates.
            if (year_ > FirstYear || month_ > 1)
                StepMonth(-1);
        } else if (control == nextMonth_) {
            StepMonth(1);
        } else if (control == previousYear_) {
            StepYear(-1);
        } else if (control == nextYear_) {
            StepYear(1);
        } else if (const int place = PlaceOf(control); place >= 0) {
            Choose(DayNumberFromDate(QDate(year_, month_, window.Label(control).toInt())));
        } else {
            return Level::GoOn;
        }
        return Level::Handled;
    }

private:
    void Choose(int date)
    {
        result_ = date;
        SetResponse(Response::Completed);
    }

    void StepMonth(int step)
    {
        Update();
        month_ += step;
        if (month_ < 1) {
            month_ = 12;
            --year_;
        } else if (month_ > 12) {
            month_ = 1;
            ++year_;
        }
        FillMonth();
    }

    void StepYear(int step)
    {
        Update();
        year_ += step;
        if (year_ < FirstYear)
            year_ = LastYear;
        else if (year_ > LastYear)
            year_ = FirstYear;
        FillMonth();
    }

    // The first of the month stands in the column of its weekday, Sunday first; the buttons before the first
    // and after the last day are hidden.
    void FillMonth()
    {
        const int first = DayNumberFromDate(QDate(year_, month_, 1));
        firstPlace_ = first % 7;
        const int length = DaysInMonth(first);
        const Picture shortDate(QStringLiteral("@d17"));
        const int today = Today();
        for (int place = 0; place < DayButtons; ++place) {
            const int day = place - firstPlace_ + 1;
            const bool used = day >= 1 && day <= length;
            QWidget* button = window.Widget(days_[place]);
            window.SetLabel(days_[place], used ? QString::number(day) : QString());
            button->setToolTip(used ? shortDate.Format(first + day - 1) : QString());
            // Today stands out, as on the desktop's own calendars, and the date the picker was opened with
            // is shown pressed in, so that the user sees which date is being changed.
            QFont font = button->font();
            font.setBold(used && first + day - 1 == today);
            button->setFont(font);
            auto* dayButton = static_cast<QPushButton*>(button);
            const bool opened = used && startDate_ != 0 && first + day - 1 == startDate_;
            dayButton->setCheckable(opened);
            dayButton->setChecked(opened);
            window.Enable(days_[place], used);
            window.Show(days_[place], used);
        }
        window.SetLabel(header_, MonthName(first) + QString::number(year_));
        window.ShowValues();
    }

    int ButtonOfDay(int day) const { return days_[firstPlace_ + day - 1]; }

    int PlaceOf(int control) const
    {
        for (int place = 0; place < DayButtons; ++place)
            if (days_[place] == control)
                return place;
        return -1;
    }

    const int startDate_;
    const QString title_;
    int result_ = 0;
    int month_ = 1;
    int year_ = FirstYear;
    int focusDay_ = 1;
    int firstPlace_ = 0;
    int header_ = 0;
    std::array<int, DayButtons> days_{};
    int today_ = 0, cancel_ = 0, previousYear_ = 0, previousMonth_ = 0, nextMonth_ = 0, nextYear_ = 0;
};

} // namespace

int SelectDate(int date, const QString& title)
{
    Calendar calendar(date, title);
    CurrentContext().GlobalResponseCode = quint8(calendar.Run());
    return calendar.Result();
}

} // namespace jornix
