#include "platform/framework/Picture.h"

#include "platform/runtime/DayNumbers.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace jornix {
namespace {

// The locale's short date with the year in four digits, so that a typed "26" is never read as 1926.
QString DateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The order in which a date picture shows its day (d), month (M) and year (y), as "Mdy". A picture that
// shows the month by its name reads typed numbers as month/day/year, the order of the program's own
// numeric dates.
QString FieldOrder(const QString& format)
{
    QString order;
    bool monthByName = false;
    for (qsizetype at = 0; at < format.size(); ++at) {
        const QChar c = format[at];
        if (c == QLatin1Char('\'')) { // quoted text is no field
            at = format.indexOf(QLatin1Char('\''), at + 1);
            if (at < 0)
                break;
            continue;
        }
        if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) && !order.contains(c)) {
            qsizetype run = at;
            while (run < format.size() && format[run] == c)
                ++run;
            if (c == QLatin1Char('d') && run - at > 2)
                continue; // the weekday's name
            if (c == QLatin1Char('M') && run - at > 2)
                monthByName = true;
            order += c;
        }
    }
    if (monthByName || order.size() != 3)
        return QStringLiteral("Mdy");
    return order;
}

// The month a word names: the locale's names or the English ones, in full or cut to three letters or more.
int MonthOfName(const QString& word)
{
    if (word.size() < 3)
        return 0;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale& locale : {QLocale(), english}) {
        for (int month = 1; month <= 12; ++month) {
            for (const QString& name : {locale.monthName(month, QLocale::LongFormat),
                                        locale.monthName(month, QLocale::ShortFormat)}) {
                QString plain = name;
                plain.remove(QLatin1Char('.'));
                if (plain.startsWith(word, Qt::CaseInsensitive))
                    return month;
            }
        }
    }
    return 0;
}

// A year typed in one or two digits lies between 1950 and 2049.
int FullYear(const QString& digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

// A date typed as three parts, numbers and perhaps a month's name, between any separators: "12/20/2026",
// "20.12.26", "Dec 20, 2026", "2026/12/20" (a year in front, in four digits, gives the ISO order).
QDate DateOfParts(const QString& typed, const QString& order)
{
    static const QRegularExpression parts(QStringLiteral("(\\d+|[^\\d\\W_]+)"));
    QStringList numbers;
    int month = 0;
    for (auto it = parts.globalMatch(typed); it.hasNext();) {
        const QString part = it.next().captured(1);
        if (part.front().isDigit())
            numbers << part;
        else if (month == 0 && (month = MonthOfName(part)) != 0)
            continue;
        else
            return {};
    }
    if (numbers.size() + (month ? 1 : 0) != 3 || std::any_of(numbers.begin(), numbers.end(), [](const QString& n) {
            return n.size() > 4;
        }))
        return {};
    QString fields = order;
    if (month == 0 && numbers.front().size() == 4)
        fields = QStringLiteral("yMd");
    if (month != 0)
        fields.remove(QLatin1Char('M'));
    int day = 0, year = 0;
    for (int at = 0; at < fields.size(); ++at) {
        const QString& number = numbers[at];
        switch (fields[at].unicode()) {
        case 'd':
            day = number.toInt();
            break;
        case 'M':
            month = number.toInt();
            break;
        default:
            year = FullYear(number);
            break;
        }
    }
    return QDate(year, month, day);
}

} // namespace

Picture::Picture(const QString& text)
{
    QString picture = text.trimmed().toLower();
    if (picture.startsWith(QLatin1Char('@')))
        picture.remove(0, 1);
    if (picture.isEmpty())
        return;
    const QChar kind = picture.front();
    QString rest = picture.mid(1);
    if (rest.endsWith(QLatin1Char('b'))) {
        blank_ = true;
        rest.chop(1);
    }
    switch (kind.unicode()) {
    case 'n': {
        kind_ = Kind::Number;
        if (rest.startsWith(QLatin1Char('-'))) {
            signed_ = true;
            rest.remove(0, 1);
        }
        static const QRegularExpression places(QStringLiteral("^[^0-9]*([0-9]*)(?:\\.([0-9]+))?"));
        const QRegularExpressionMatch match = places.match(rest);
        width_ = match.captured(1).toInt();
        decimals_ = match.captured(2).toInt();
        break;
    }
    case 'd':
        kind_ = Kind::Date;
        break;
    case 't':
        kind_ = Kind::Time;
        break;
    default:
        kind_ = Kind::Text;
        width_ = rest.toInt();
        break;
    }
}

QString Picture::Format(const QVariant& value) const
{
    switch (kind_) {
    case Kind::Text:
        return value.toString();
    case Kind::Number: {
        const double number = value.toDouble();
        if (blank_ && number == 0)
            return {};
        return decimals_ > 0 ? QString::number(number, 'f', decimals_) : QString::number(qint64(number));
    }
    case Kind::Date: {
        const qint32 day = value.toInt();
        if (day == 0 && blank_)
            return {};
        // Without B, day 0 too shows as the date it stands for, the day before day 1.
        const QDate date = day == 0 ? DateFromDayNumber(1).addDays(-1) : DateFromDayNumber(day);
        return QLocale().toString(date, DateFormat());
    }
    case Kind::Time: {
        const qint32 time = value.toInt();
        if (time == 0 && blank_)
            return {};
        return QLocale().toString(QTimeFromTime(time), QLocale::ShortFormat);
    }
    }
    return {};
}

bool Picture::Parse(const QString& text, QVariant& value) const
{
    const QString typed = text.trimmed();
    switch (kind_) {
    case Kind::Text:
        value = width_ > 0 ? text.left(width_) : text;
        return true;
    case Kind::Number: {
        if (typed.isEmpty()) {
            value = decimals_ > 0 ? QVariant(0.0) : QVariant(0);
            return true;
        }
        bool ok = false;
        const double number = QLocale().toDouble(typed, &ok);
        const double plain = ok ? number : typed.toDouble(&ok);
        if (!ok || (!signed_ && plain < 0))
            return false;
        value = decimals_ > 0 ? QVariant(plain) : QVariant(qint64(plain));
        return true;
    }
    case Kind::Date: {
        if (typed.isEmpty()) {
            value = 0;
            return true;
        }
        // What the picture shows, what the desktop writes as its short date, ISO, and numbers in the
        // picture's order.
        // (The parts first: the locale's parser would read the "26" of "12/20/26" as the year 26.)
        const QString format = DateFormat();
        QDate date = QDate::fromString(typed, Qt::ISODate);
        if (!date.isValid())
            date = DateOfParts(typed, FieldOrder(format));
        if (!date.isValid())
            date = QLocale().toDate(typed, format);
        if (!date.isValid())
            return false;
        value = DayNumberFromDate(date);
        return true;
    }
    case Kind::Time: {
        if (typed.isEmpty()) {
            value = 0;
            return true;
        }
        QTime time = QLocale().toTime(typed, QLocale::ShortFormat);
        if (!time.isValid())
            time = QTime::fromString(typed, Qt::ISODate);
        if (!time.isValid())
            return false;
        value = TimeFromQTime(time);
        return true;
    }
    }
    return false;
}

bool Picture::ReadsWithin(const QString& text, qint64 minimum, qint64 maximum) const
{
    QVariant value;
    if (!Parse(text, value))
        return false;
    if (kind_ == Kind::Text)
        return true;
    const qint64 number = value.toLongLong();
    return number >= minimum && number <= maximum;
}

QString Picture::NotValidText(const QString& typed) const
{
    const QString what = kind_ == Kind::Date   ? QStringLiteral("date")
                         : kind_ == Kind::Time ? QStringLiteral("time")
                                               : QStringLiteral("value");
    return QStringLiteral("\"%1\" is not a valid %2.").arg(typed.trimmed(), what);
}

} // namespace jornix
