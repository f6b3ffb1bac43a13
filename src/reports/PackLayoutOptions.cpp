#include "reports/PackLayoutOptions.h"

#include "platform/runtime/TrailingBlanks.h"

namespace jornix {

std::vector<int> InitialLayoutOptions(int area)
{
    switch (area) {
    case 1: // sort order, log type, date range, from, to
        return {1, 0, 1, 0, 0};
    case 2: // sort order; due, close and start date ranges with their dates; completed; priority
        return {1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1};
    case 3:
    case 5:
    case 6: // the sort order alone
        return {1};
    case 4: // sort order, show reminder, dismiss, link type, date range, from, to
        return {1, 1, 1, 1, 1, 0, 0};
    default:
        return {};
    }
}

QString PackLayoutOptions(int area, const std::vector<int>& options)
{
    const std::size_t count = InitialLayoutOptions(area).size();
    if (count == 0)
        return {};
    QString memo = QString::number(count) + QLatin1Char('|');
    for (std::size_t position = 0; position < count; ++position)
        memo += QString::number(position < options.size() ? options[position] : 0) + QLatin1Char('|');
    return memo;
}

std::vector<int> UnpackLayoutOptions(int area, const QString& memo)
{
    std::vector<int> options = InitialLayoutOptions(area);
    const QString text = StripTrailingBlanks(memo);
    qsizetype start = text.indexOf(QLatin1Char('|'));
    if (start < 0)
        return options;
    ++start;
    for (std::size_t position = 0;; ++position) {
        const qsizetype end = text.indexOf(QLatin1Char('|'), start);
        if (end < 0)
            break;
        if (position < options.size())
            options[position] = text.mid(start, end - start).trimmed().toInt(); // 0 when not a number
        start = end + 1;
    }
    return options;
}

} // namespace jornix
