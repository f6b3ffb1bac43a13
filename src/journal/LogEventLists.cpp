#include "journal/LogEventLists.h"

#include "core/StandardWindow.h"
#include "platform/framework/WindowDescription.h"

#include <QLabel>
#include <QHeaderView>
#include <QTreeView>

namespace jornix {

void LogEventRows::FillRow(ListRow& row)
{
    StandardBrowseList::FillRow(row);
    row.icons[0] = row.record.Value(QStringLiteral("LOG:LogPrivate")).toInt() != 0 ? 1 : 0;
}

void DescribeLogEventHeading(WindowDescription& window, const QString& text)
{
    auto* heading = static_cast<QLabel*>(window.Prompt(text)
                                             .Name(QStringLiteral("TopPanelText"))
                                             .Font({}, StandardWindow::HeadingPoints, FontStyle::Bold)
                                             .Widget());
    heading->setContentsMargins(2, 0, 12, 0);
}

int DescribeEventList(WindowDescription& window, const QStringList& furtherColumns, const QString& tip)
{
    std::vector<ListColumn> columns{{QString(), {}, Qt::AlignLeft},
                                    {QStringLiteral("Log Date"), QStringLiteral("@d17"), Qt::AlignHCenter},
                                    {QStringLiteral("Log Description"), {}, Qt::AlignLeft}};
    for (const QString& title : furtherColumns)
        columns.push_back({title, QStringLiteral("@s20"), Qt::AlignLeft});
    const int list = window.List(std::move(columns)).Tip(tip).Name(QStringLiteral("List")).Stretch();
    // Room for a screen of events with their descriptions.
    QWidget* widget = window.Widget(list);
    const QFontMetrics metrics = widget->fontMetrics();
    widget->setMinimumSize(metrics.averageCharWidth() * (furtherColumns.isEmpty() ? 70 : 90),
                           metrics.height() * 16);
    return list;
}

int ListButton(WindowDescription& window, const char* text, const char* image, const char* tip,
                const char* name)
{
    Control button =
        window.Button(QString::fromLatin1(text), QString::fromLatin1(image)).Name(QString::fromLatin1(name));
    if (tip)
        button.Tip(QString::fromLatin1(tip));
    return button;
}

} // namespace jornix
