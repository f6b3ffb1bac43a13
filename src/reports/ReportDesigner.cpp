#include "reports/ReportDesigner.h"

#include "core/Banner.h"
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/store/Table.h"
#include "reports/ReportLayoutList.h"
#include "reports/ResetReportLayouts.h"
#include "reports/UpdateReportDesign.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeView>

namespace jornix {
namespace {

constexpr int AreaCount = 6;

QString TypeText(int type)
{
    static const char* const texts[] = {"List", "Card", "Label"};
    return type >= 1 && type <= 3 ? QString::fromLatin1(texts[type - 1]) : QString();
}

QString StyleText(int style)
{
    static const char* const texts[] = {"Summary", "Detail", "One Rec"};
    return style >= 1 && style <= 3 ? QString::fromLatin1(texts[style - 1]) : QString();
}

QString OutputText(int output)
{
    static const char* const texts[] = {"Preview", "Printer", "RTF",   "HTML", "JPG", "EMF",
                                        "BMP",     "PDF",     "MHTML", "XML",  "XLS", "TXT"};
    return output >= 2 && output <= 13 ? QString::fromLatin1(texts[output - 2]) : QString();
}

class ReportDesignerWindow;

// The layouts of the selected area: the lock icon and the texts of the codes; a new layout takes the
// next number as its file name "jx_" and number, and a copy takes its source's type and files.
class LayoutRows : public StandardBrowseList
{
public:
    explicit LayoutRows(ReportDesignerWindow& owner) : owner_(owner) {}

    void FillRow(ListRow& row) override
    {
        StandardBrowseList::FillRow(row);
        const Record& record = row.record;
        while (row.texts.size() < 5)
            row.texts.append(QString());
        row.icons.resize(std::max<std::size_t>(row.icons.size(), 5));
        row.icons[0] = record.Value(QStringLiteral("LLL_:FactoryDefault")).toInt() != 0 ? 1 : 0;
        row.texts[2] = TypeText(record.Value(QStringLiteral("LLL_:Type")).toInt());
        row.texts[3] = OutputText(record.Value(QStringLiteral("LLL_:OutputFormat")).toInt());
        row.texts[4] = StyleText(record.Value(QStringLiteral("LLL_:Style")).toInt());
    }

    int PrepareRecord() override
    {
        const bool copy = CopyPending();
        QString sourceFile;
        QVariant sourceType;
        if (copy && Selected()) {
            sourceFile =
                StripTrailingBlanks(Selected()->record.Value(QStringLiteral("LLL_:FileName")).toString());
            sourceType = Selected()->record.Value(QStringLiteral("LLL_:Type"));
        }
        if (const int failed = StandardBrowseList::PrepareRecord())
            return failed;
        Record& buffer = Relations().Access().Buffer();
        const QString name =
            QStringLiteral("jx_") + QString::number(buffer.Value(QStringLiteral("LLL_:Ref")).toInt());
        buffer.SetValue(QStringLiteral("LLL_:FileName"), name);
        buffer.SetValue(QStringLiteral("LLL_:FactoryDefault"), 0);
        if (copy) {
            buffer.SetValue(QStringLiteral("LLL_:Type"), sourceType);
            // The layout, its printer settings and its sketch; a file the source lacks is left out.
            for (const char* extension : {".rpt", ".prn", ".bmp"}) {
                const QString from = GLO.DataPath + sourceFile + QLatin1String(extension);
                const QString to = GLO.DataPath + name + QLatin1String(extension);
                if (!sourceFile.isEmpty() && QFile::exists(from)) {
                    QFile::remove(to);
                    QFile::copy(from, to);
                }
            }
        }
        return 0;
    }

    void RefreshControls() override;
    void ResetOrder() override;

private:
    ReportDesignerWindow& owner_;
};

class ReportDesignerWindow : public StandardList
{
public:
    int guidance = 0, list = 0, previewPrompt = 0, preview = 0, notes = 0, sheet = 0, lockLegend = 0,
        copyButton = 0, insertButton = 0, changeButton = 0, deleteButton = 0, helpButton = 0, resetButton = 0;
    View view;
    LayoutRows rows{*this};

    ReportDesignerWindow()
        : StandardList(QStringLiteral("ReportDesigner"), QStringLiteral("Report Designer")),
          view(AccessLLL_->GetTable())
    {
        DescribeBanner(window, QStringLiteral("Report Designer"), QStringLiteral("repdes.gif"));
        guidance =
            window
                .Text(QStringLiteral("From here you can create your own report layouts. Please refer to "
                                     "the Jornix User Manual for instructions on how to use the L&L Report "
                                     "Designer. The predefined report layouts have been locked to prevent "
                                     "accidental deletion or changes. Please use the copy feature. You can "
                                     "then modify the report layout to match your particular needs."))
                .Name(QStringLiteral("Guidance"));
        window.Row([&] {
            window.Column([&] {
                sheet = window
                            .Sheet([&] {
                                for (const char* tab : {"Log Events", "Task", "Contact", "Reminder",
                                                        "Sticky Notes", "Scrap Book"})
                                    window.Tab(QString::fromLatin1(tab), [] {});
                            })
                            .Name(QStringLiteral("Sheet"));
                list = window
                           .List({{QStringLiteral("Lock"), {}, Qt::AlignLeft},
                                  {QStringLiteral("Description"), {}, Qt::AlignLeft},
                                  {QStringLiteral("Type"), {}, Qt::AlignLeft},
                                  {QStringLiteral("Output"), {}, Qt::AlignLeft},
                                  {QStringLiteral("Style"), {}, Qt::AlignLeft}})
                           .Tip(QStringLiteral("Browsing Report Layouts"))
                           .Name(QStringLiteral("List"))
                           .Stretch();
                window.Row([&] {
                    lockLegend =
                        window.Image(QStringLiteral("DesignLck.gif")).Name(QStringLiteral("LockLegend"));
                    window.Prompt(QStringLiteral("Locked report layout"));
                    window.Spacer();
                });
            });
            window.Column([&] {
                previewPrompt = window.Prompt(QStringLiteral("Report Layout Preview"));
                preview = window.Image(QStringLiteral("nopreview.gif")).Name(QStringLiteral("Preview"));
                window.Widget(preview)->setMinimumSize(200, 150);
                window.Prompt(QStringLiteral("Notes:"));
                notes = window.Text(QString()).Name(QStringLiteral("Notes")).Stretch();
                // A layout's notes wrap under its preview rather than take width from the list.
                window.Widget(notes)->setMaximumWidth(window.Widget(preview)->minimumWidth());
            });
        });
        window.Buttons([&] {
            resetButton =
                window.Button(QStringLiteral("&Reset Report Layouts")).Name(QStringLiteral("Reset"));
            window.Spacer();
            copyButton = window.Button(QStringLiteral("&Copy"), QStringLiteral("WIZDITTO.gif"))
                             .Tip(QStringLiteral("Copy Selected Report Layout"));
            insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"))
                               .Tip(QStringLiteral("Insert New Report Layout"));
            changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"))
                               .Tip(QStringLiteral("Edit Selected Report Layout"));
            deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"))
                               .Tip(QStringLiteral("Delete Selected Report Layout"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        SetArea(CurrentUserAccess[AccessArea::ReportDesigns], QStringLiteral("Report Designs"));
        RegisterKind(WindowThreadRegistry[std::size_t(WindowKind::ReportDesigner)]);
        UseTable(*RelationsLOG);
        UseTable(*RelationsLLL_);
        SetHelp(QStringLiteral("designreports.htm"), helpButton);
        SetList(rows, view, *RelationsLLL_, list);
        list_->SetButtons(
            {.insert = insertButton, .change = changeButton, .remove = deleteButton, .copy = copyButton});
        QStringList filters;
        for (int area = 1; area <= AreaCount; ++area)
            filters << QStringLiteral("LLL_:AreaRef = %1").arg(area);
        rows.SetFilterTabs(sheet, filters);
        SetForm([] { CallProcedure(QStringLiteral("UpdateReportDesign")); });
    }

    int OnAccepted(int control) override
    {
        if (control == resetButton) {
            Update();
            ResetReportLayouts(1); // asks "Reset Report Layouts?" first and reports after
            Reset(true);
            return Level::Handled;
        }
        return StandardList::OnAccepted(control);
    }

    int OnNewSelection(int control) override
    {
        const int level = StandardList::OnNewSelection(control);
        if (control == list)
            RefreshPreview();
        return level;
    }

    // The selected layout's sketch, read afresh from its file each time, and its notes.
    void RefreshPreview()
    {
        const ListRow* row = rows.Selected();
        const QString name =
            row ? StripTrailingBlanks(row->record.Value(QStringLiteral("LLL_:FileName")).toString())
                : QString();
        window.SetPicture(preview, QStringLiteral("nopreview.gif"));
        const QString sketch = GLO.DataPath + name + QStringLiteral(".bmp");
        if (!name.isEmpty() && QFileInfo::exists(sketch) &&
            !window.SetImageFile(preview, sketch, window.Widget(preview)->size()))
            window.SetPicture(preview, QStringLiteral("nopreview.gif"));
        window.SetLabel(notes, row ? row->record.Value(QStringLiteral("LLL_:Notes")).toString() : QString());
    }

    void ApplyArea(int area)
    {
        if (area >= 1 && area <= AreaCount)
            DesignerArea = area;
    }

protected:
    void SetUpWindow() override
    {
        StandardList::SetUpWindow();
        // At least 407 by 260 dialog units of the window's font.
        QWidget* root = window.Root();
        const QFontMetrics metrics(root->font());
        root->setMinimumSize(metrics.averageCharWidth() * 407 / 4, metrics.height() * 260 / 8);
    }

    void SetUpListOrders() override
    {
        rows.AddOrder(view.ViewTable().KeyIndex(QStringLiteral("LLL_:AreaRefKey")));
        rows.SetLocator(locator_);
        locator_.Init(0, QStringLiteral("LLL_:AreaRef"), true, rows);
        rows.SetIcons({QStringLiteral("~DesignLck.gif")});
        rows.MapIcon({}, 0);
        rows.MapField(QStringLiteral("LLL_:Description"), 1, QStringLiteral("@s60"));
    }

private:
    ListLocator locator_;
};

void LayoutRows::RefreshControls()
{
    StandardBrowseList::RefreshControls();
    WindowDescription& window = Window().window;
    const ListRow* row = Selected();
    if (AccessLevel() == 2 && row && row->record.Value(QStringLiteral("LLL_:FactoryDefault")).toInt() != 0 &&
        GLO.AllowLayoutEdit == 0)
        window.Disable(owner_.deleteButton);
    owner_.RefreshPreview();
}

void LayoutRows::ResetOrder()
{
    StandardBrowseList::ResetOrder();
    if (Widget())
        owner_.ApplyArea(Window().window.SelectedTab(owner_.sheet));
}

} // namespace

void ReportDesigner()
{
    RunProcedure<ReportDesignerWindow>();
}

} // namespace jornix
