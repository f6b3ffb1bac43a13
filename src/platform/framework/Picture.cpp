#include "platform/framework/Picture.h"

#include "platform/runtime/DayNumbers.h"

#include <QLocale>
#include <QRegularExpression>

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
        QDate date = QLocale().toDate(typed, DateFormat());
        if (!date.isValid())
            date = QDate::fromString(typed, Qt::ISODate);
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

} // namespace jornix
