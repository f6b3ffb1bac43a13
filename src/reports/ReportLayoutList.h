#pragma once

#include "core/StandardBrowseList.h"
#include "platform/framework/ListLocator.h"
#include "platform/framework/WindowDescription.h"

#include <QString>

#include <vector>

class QTreeView;

// The list of one area's report layouts in the print options: the lock of a factory layout, the
// description, and the texts of the layout's type, output and style (a blank for a code without text), in
// the order of area and description. Also the output formats of the drop list and the layout's preview.
namespace jornix {

class ReportLayoutList : public StandardBrowseList
{
public:
    // Describes the list control with its five columns.
    static int Describe(WindowDescription& window);
    // The order, the columns and the lock icon; after the window has opened its list.
    void SetUpColumns();
    void FillRow(ListRow& row) override;

    // The highlighted layout's values; 0 or blank while no layout is highlighted.
    qint32 Value(const QString& field) const;
    QString Text(const QString& field) const;

private:
    ListLocator locator_;
    int factoryDefault_ = -1, type_ = -1, outputFormat_ = -1, style_ = -1;
};

QString LayoutTypeText(int type);
QString OutputFormatText(int format);
QString LayoutStyleText(int style);
// "Preview" 2, "Printer" 3, "PDF" 9, ... in the order of the drop list.
std::vector<ListItem> OutputFormatItems();

// Describes the prompt "Report Layout Preview" and the picture under it, framed and as large as a preview.
int DescribeLayoutPreview(WindowDescription& window, const QString& promptName);
// Shows the layout's preview picture, the data folder's "<file name>.bmp" read afresh, or "~nopreview.gif"
// when the layout has no file name or no such picture. The image control keeps the file's path in the
// property PreviewFileProperty.
inline constexpr char PreviewFileProperty[] = "previewFile";
void ShowLayoutPreview(WindowDescription& window, int image, const QString& layoutFileName);

} // namespace jornix
