#include "reports/ReportLayoutList.h"

#include "core/PreservedSettings.h"
#include "platform/store/Table.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>

namespace jornix {
namespace {

const int OutputCodes[] = {2, 3, 9, 4, 5, 10, 8, 6, 7, 11, 12, 13};
const char* const OutputNames[] = {"Preview", "Printer", "PDF", "RTF", "HTML", "MHTML",
                                   "BMP",     "JPG",     "EMF", "XML", "XLS",  "TXT"};

QString Named(int code, std::initializer_list<const char*> names)
{
    if (code < 1 || code > int(names.size()))
        return {};
    return QString::fromLatin1(names.begin()[code - 1]);
}

const QSize PreviewSize(180, 120);

} // namespace

QString LayoutTypeText(int type)
{
    return Named(type, {"List", "Card", "Label"});
}

QString LayoutStyleText(int style)
{
    return Named(style, {"Summary", "Detail", "One Rec"});
}

QString OutputFormatText(int format)
{
    for (std::size_t i = 0; i < std::size(OutputCodes); ++i)
        if (OutputCodes[i] == format)
            return QString::fromLatin1(OutputNames[i]);
    return {};
}

std::vector<ListItem> OutputFormatItems()
{
    std::vector<ListItem> items;
    for (std::size_t i = 0; i < std::size(OutputCodes); ++i)
        items.push_back({QString::fromLatin1(OutputNames[i]), OutputCodes[i]});
    return items;
}

int ReportLayoutList::Describe(WindowDescription& window)
{
    const int list = window
                         .List({{QStringLiteral("Lock"), {}, Qt::AlignLeft},
                                {QStringLiteral("Description"), {}, Qt::AlignLeft},
                                {QStringLiteral("Type"), {}, Qt::AlignLeft},
                                {QStringLiteral("Output"), {}, Qt::AlignLeft},
                                {QStringLiteral("Style"), {}, Qt::AlignLeft}})
                         .Tip(QStringLiteral("Browsing Records"))
                         .Name(QStringLiteral("List"))
                         .Stretch();
    QWidget* widget = window.Widget(list);
    widget->setMinimumSize(widget->fontMetrics().averageCharWidth() * 64, widget->fontMetrics().height() * 6);
    return list;
}

int DescribeLayoutPreview(WindowDescription& window, const QString& promptName)
{
    window.Text(QStringLiteral("Report Layout Preview")).Name(promptName);
    const int image = window.Image(QStringLiteral("nopreview.gif")).Name(QStringLiteral("DESIGNSKETCHIMAGE"));
    if (auto* label = qobject_cast<QLabel*>(window.Widget(image))) {
        label->setMinimumSize(PreviewSize + QSize(8, 8));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
    }
    return image;
}

void ReportLayoutList::SetUpColumns()
{
    const Table& table = ListView().ViewTable();
    AddOrder(table.KeyIndex(QStringLiteral("LLL_:AreaRefKey")));
    SetLocator(locator_);
    locator_.Init(0, QStringLiteral("LLL_:AreaRef"), true, *this);
    factoryDefault_ = table.RequireField(QStringLiteral("LLL_:FactoryDefault"));
    type_ = table.RequireField(QStringLiteral("LLL_:Type"));
    outputFormat_ = table.RequireField(QStringLiteral("LLL_:OutputFormat"));
    style_ = table.RequireField(QStringLiteral("LLL_:Style"));
    SetIcons({QStringLiteral("~DesignLck.gif")});
    MapIcon({}, 0);
    MapField(QStringLiteral("LLL_:Description"), 1);
}

void ReportLayoutList::FillRow(ListRow& row)
{
    StandardBrowseList::FillRow(row);
    while (row.texts.size() < 5)
        row.texts << QString();
    row.icons.resize(5);
    row.icons[0] = row.record.Long(factoryDefault_) != 0 ? 1 : 0;
    row.texts[2] = LayoutTypeText(row.record.Long(type_));
    row.texts[3] = OutputFormatText(row.record.Long(outputFormat_));
    row.texts[4] = LayoutStyleText(row.record.Long(style_));
}

qint32 ReportLayoutList::Value(const QString& field) const
{
    const ListRow* row = Selected();
    return row ? row->record.Value(field).toInt() : 0;
}

QString ReportLayoutList::Text(const QString& field) const
{
    const ListRow* row = Selected();
    return row ? row->record.Value(field).toString() : QString();
}

void ShowLayoutPreview(WindowDescription& window, int image, const QString& layoutFileName)
{
    const QString name = layoutFileName.trimmed();
    const QString picture = GLO.DataPath + name + QStringLiteral(".bmp");
    // Read from the file each time, so that a picture the designer has just written shows.
    QString shown = picture;
    if (name.isEmpty() || !QFileInfo(picture).isFile() || !window.SetImageFile(image, picture, PreviewSize)) {
        shown = WindowDescription::ImagePath(QStringLiteral("~nopreview.gif"));
        window.SetImageFile(image, shown, PreviewSize);
    }
    if (QWidget* widget = window.Widget(image))
        widget->setProperty(PreviewFileProperty, shown);
}

} // namespace jornix
