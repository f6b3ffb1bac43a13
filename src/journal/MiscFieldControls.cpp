#include "journal/MiscFieldControls.h"

#include "core/DataLayer.h"
#include "core/StandardForm.h"
#include "journal/EditMiscList.h"
#include "platform/store/Table.h"

#include <QComboBox>
#include <QLabel>

namespace jornix {
namespace {

constexpr int DroppedRows = 5;
constexpr int ControlWidth = 250; // in dialog units: a quarter of the font's average character width

// A check box shows "1" ticked and anything else clear. It writes only when the user changed what it shows,
// so that a value it cannot show (a blank, a "5") stays as it was while the box is left alone.
ValueBinding CheckBinding(ValueBinding field)
{
    field.write = [read = field.read, write = field.write](const QVariant& value) {
        const bool ticked = value.toString() == QLatin1String("1");
        if (ticked != (read().toString() == QLatin1String("1")))
            write(value);
    };
    return field;
}

} // namespace

MiscFieldControls::MiscFieldControls(WindowController& form, int recordType, FileManager& record,
                                     const QString& fieldPrefix)
    : form_(form), recordType_(recordType), record_(record), fieldPrefix_(fieldPrefix)
{
    form_.AddComponent(*this);
}

void MiscFieldControls::SetMiscTab(int tab)
{
    tab_ = tab;
}

QString MiscFieldControls::FieldName(int field) const
{
    return fieldPrefix_ + QString::number(field);
}

QString MiscFieldControls::Definition(int field, const char* name) const
{
    return definitions_.Value(QStringLiteral("MSC:F%1").arg(field) + QLatin1String(name)).toString();
}

bool MiscFieldControls::FetchMiscDefinitions()
{
    found_ = false;
    if (RelationsMSC->Open() != 0)
        return false;
    Record& buffer = AccessMSC->Buffer();
    const Record before = buffer; // the thread's buffer is left as it was
    buffer.Clear();
    buffer.SetValue(QStringLiteral("MSC:MiscType"), recordType_);
    found_ = AccessMSC->FetchQuiet(AccessMSC->GetTable().KeyIndex(QStringLiteral("MSC:MiscTypeK"))) == 0;
    if (found_)
        definitions_ = buffer;
    buffer = before;
    RelationsMSC->Close();
    return found_;
}

void MiscFieldControls::SetMiscDefaults()
{
    if (!found_)
        return;
    Record& record = record_.Buffer();
    for (int field = 1; field <= FieldCount; ++field) {
        if (Definition(field, "Show").toInt() == 0)
            continue;
        if (record.Value(FieldName(field)).toString().trimmed().isEmpty())
            record.SetValue(FieldName(field), Definition(field, "DefVal"));
    }
}

void MiscFieldControls::CreateMiscControls()
{
    if (!found_ || !tab_)
        return;
    for (int field = 1; field <= FieldCount; ++field)
        if (Definition(field, "Show").toInt() != 0)
            CreateRow(field);
}

void MiscFieldControls::CreateRow(int field)
{
    WindowDescription& window = form_.window;
    const QString prompt = Definition(field, "Prompt");
    const QString picture = Definition(field, "Picture");
    const int type = Definition(field, "Type").toInt();
    const ValueBinding binding = BindField(record_, FieldName(field));
    int promptControl = 0, control = 0;
    window.Into(tab_, [&] {
        promptControl = window.Prompt(prompt);
        switch (type) {
        case MiscControlType::DropList: {
            std::vector<ListItem> items;
            for (const QString& item : MiscListItems(Definition(field, "List")))
                items.push_back({item, item});
            control = window.DropList(binding, std::move(items));
            break;
        }
        case MiscControlType::ComboBox:
            control = window.Combo(binding, picture, MiscListItems(Definition(field, "List")));
            break;
        case MiscControlType::CheckBox:
            control = window.Check(prompt, CheckBinding(binding), QStringLiteral("1"), QStringLiteral("0"));
            break;
        default:
            control = window.Entry(binding, picture);
            break;
        }
    });
    static_cast<QLabel*>(window.Widget(promptControl))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QWidget* widget = window.Widget(control);
    widget->setMinimumWidth(widget->fontMetrics().averageCharWidth() * ControlWidth / 4);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->setMaxVisibleItems(DroppedRows);
    // The check box shows the prompt itself.
    if (type == MiscControlType::CheckBox)
        window.Hide(promptControl);
    if (form_.REQUEST == Request::ViewOnly)
        SetControlViewOnly(window, control);
    controls_[std::size_t(2 * (field - 1))] = promptControl;
    controls_[std::size_t(2 * (field - 1) + 1)] = control;
}

void MiscFieldControls::DestroyMiscControls()
{
    for (int& control : controls_) {
        if (control > 0)
            form_.window.Remove(control);
        control = 0;
    }
}

void MiscFieldControls::Kill()
{
    DestroyMiscControls();
}

} // namespace jornix
