#include "journal/UpdateMiscFields.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "journal/EditMiscList.h"
#include "journal/MiscFieldControls.h"

#include <QWidget>

#include <array>

namespace jornix {
namespace {

// The controls of one field's row.
struct FieldRow
{
    int show = 0, promptLabel = 0, prompt = 0, typeLabel = 0, type = 0, reportTypeLabel = 0, reportType = 0,
        lengthLabel = 0, length = 0, pictureLabel = 0, picture = 0, defaultLabel = 0, defaultValue = 0,
        list = 0;
};

class UpdateMiscFieldsWindow : public StandardForm
{
public:
    std::array<FieldRow, MiscFieldControls::FieldCount> rows;
    int miscType = 0, okButton = 0, cancelButton = 0, helpButton = 0;

    UpdateMiscFieldsWindow()
        : StandardForm(QStringLiteral("UpdateMiscFields"), QStringLiteral("Update Misc Fields"))
    {
        const std::vector<ListItem> types = {{QStringLiteral("Log Event"), MiscRecordType::LogEvent},
                                             {QStringLiteral("Reminder"), MiscRecordType::Reminder},
                                             {QStringLiteral("Task"), MiscRecordType::Task},
                                             {QStringLiteral("Contact"), MiscRecordType::Contact}};
        const std::vector<ListItem> controlTypes = {{QStringLiteral("Text Box"), MiscControlType::TextBox},
                                                    {QStringLiteral("Drop List"), MiscControlType::DropList},
                                                    {QStringLiteral("Combo Box"), MiscControlType::ComboBox},
                                                    {QStringLiteral("Check Box"), MiscControlType::CheckBox}};
        const std::vector<ListItem> reportTypes = {
            {QStringLiteral("String"), 268435456},   {QStringLiteral("Numeric"), 134217728},
            {QStringLiteral("Boolean"), 33554432},   {QStringLiteral("Date"), 67108864},
            {QStringLiteral("Barcode"), 1073741824}, {QStringLiteral("Image"), 536870912}};

        window.Row([&] {
            window.Prompt(QStringLiteral("Misc Type:"));
            miscType = window.DropList(BindField(*AccessMSC, "MSC:MiscType"), types)
                           .Name(QStringLiteral("MiscType"));
            window.Spacer();
        });
        for (int i = 1; i <= MiscFieldControls::FieldCount; ++i) {
            FieldRow& row = rows[std::size_t(i - 1)];
            const QString f = QStringLiteral("MSC:F%1").arg(i);
            const QString name = QStringLiteral("F%1").arg(i);
            window.Group({}, [&] {
                window.Row([&] {
                    row.show = window.Check(QStringLiteral("Show"), BindField(*AccessMSC, f + "Show"))
                                   .Name(name + "Show");
                    row.promptLabel = window.Prompt(QStringLiteral("Misc %1:").arg(i));
                    row.prompt = window.Entry(BindField(*AccessMSC, f + "Prompt"), QStringLiteral("@s255"))
                                     .Name(name + "Prompt")
                                     .Stretch();
                    row.typeLabel = window.Prompt(QStringLiteral("Type:"));
                    row.type = window.DropList(BindField(*AccessMSC, f + "Type"), controlTypes)
                                   .Tip(QStringLiteral("Type"))
                                   .Name(name + "Type");
                    row.reportTypeLabel = window.Prompt(QStringLiteral("Report Type:"));
                    row.reportType = window.DropList(BindField(*AccessMSC, f + "ReportType"), reportTypes)
                                         .Tip(QStringLiteral("Report Type"))
                                         .Name(name + "ReportType");
                });
                window.Row([&] {
                    row.lengthLabel = window.Prompt(QStringLiteral("Len:"));
                    // A length the report engine can take; the field keeps no more than 255.
                    row.length = window.Spin(BindField(*AccessMSC, f + "Len"), QStringLiteral("@n3"), 0, 255)
                                     .Tip(QStringLiteral("Length"))
                                     .Name(name + "Len");
                    row.pictureLabel = window.Prompt(QStringLiteral("Picture:"));
                    row.picture = window.Entry(BindField(*AccessMSC, f + "Picture"), QStringLiteral("@s255"))
                                      .Tip(QStringLiteral("Picture"))
                                      .Name(name + "Picture");
                    row.defaultLabel = window.Prompt(QStringLiteral("Default Val:"));
                    row.defaultValue =
                        window.Entry(BindField(*AccessMSC, f + "DefVal"), QStringLiteral("@s255"))
                            .Tip(QStringLiteral("Default Value"))
                            .Name(name + "DefVal")
                            .Stretch();
                    row.list = window.Button(QStringLiteral("...")).Name(name + "List");
                });
            });
            window.Widget(row.prompt)->setMinimumWidth(160);
            window.Widget(row.length)->setFixedWidth(64);
        }
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("OK"));
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        SetFirstField(miscType);
        CheckAccess(CurrentUserAccess[AccessArea::MiscFields], QStringLiteral("Misc Fields"), true);
        SetRecord(*RelationsMSC, false);
        SetButtons(okButton, cancelButton);
        KeepCaption();
        KeepPlacement();
        SetHelp(QStringLiteral("updatingmiscfields.htm"), helpButton);
    }

    int OnAccepted(int control) override
    {
        for (int i = 1; i <= MiscFieldControls::FieldCount; ++i) {
            if (control == rows[std::size_t(i - 1)].list) {
                EditList(i);
                return Level::Handled;
            }
        }
        if (const int level = StandardForm::OnAccepted(control))
            return level;
        EnableRows();
        return Level::GoOn;
    }

protected:
    void SetUpWindow() override
    {
        StandardForm::SetUpWindow();
        EnableRows();
    }

private:
    // Only the parts of a shown field that apply to its control kind can be edited; the default value is
    // typed through the field's picture.
    // A form that only views keeps its drop lists and the "..." buttons disabled.
    void EnableRows()
    {
        const bool viewOnly = REQUEST == Request::ViewOnly;
        const auto enable = [&](int control, bool enabled) {
            const ControlKind kind = window.KindOf(control);
            window.Enable(control, enabled && !(viewOnly && (kind == ControlKind::DropList ||
                                                             kind == ControlKind::Button)));
        };
        for (int i = 1; i <= MiscFieldControls::FieldCount; ++i) {
            const FieldRow& row = rows[std::size_t(i - 1)];
            const QString f = QStringLiteral("MSC:F%1").arg(i);
            const bool shown = Field(f + "Show").toInt() != 0;
            const int type = Field(f + "Type").toInt();
            for (const int control :
                 {row.promptLabel, row.prompt, row.typeLabel, row.type, row.reportTypeLabel, row.reportType,
                  row.pictureLabel, row.picture, row.defaultLabel, row.defaultValue})
                enable(control, shown);
            for (const int control : {row.lengthLabel, row.length})
                enable(control, shown && type != MiscControlType::CheckBox);
            enable(row.list,
                   shown && (type == MiscControlType::DropList || type == MiscControlType::ComboBox));
            // Only a new picture redisplays the entry, which would lose what is typed there.
            const QString picture = Field(f + "Picture").toString();
            if (picture != defaultPictures_[std::size_t(i - 1)]) {
                defaultPictures_[std::size_t(i - 1)] = picture;
                window.SetPicture(row.defaultValue, picture);
            }
        }
    }

    void EditList(int field)
    {
        Update();
        const QString name = QStringLiteral("MSC:F%1List").arg(field);
        const QString list = EditMiscList(Field(name).toString());
        if (CurrentContext().GlobalResponseCode == Response::Completed)
            SetField(name, list);
    }

    std::array<QString, MiscFieldControls::FieldCount> defaultPictures_; // as the entries have them
};

} // namespace

void UpdateMiscFields()
{
    RunProcedure<UpdateMiscFieldsWindow>();
}

} // namespace jornix
