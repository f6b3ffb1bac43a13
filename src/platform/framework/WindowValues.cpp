// Bound controls: showing the bound values and writing what the controls hold into the bindings.

#include "platform/framework/WindowDescriptionParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>

namespace jornix {

// Values ----------------------------------------------------------------------------------------------------

void WindowDescription::ShowValue(Record& record)
{
    if (!record.binding)
        return;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    const QVariant value = record.binding.read();
    switch (record.kind) {
    case ControlKind::Entry:
        static_cast<QLineEdit*>(record.widget.data())->setText(record.picture.Format(value));
        break;
    case ControlKind::Display:
        static_cast<QLabel*>(record.widget.data())->setText(record.picture.Format(value));
        break;
    case ControlKind::TextBox:
        static_cast<QPlainTextEdit*>(record.widget.data())->setPlainText(value.toString());
        break;
    case ControlKind::Check:
        static_cast<QCheckBox*>(record.widget.data())->setChecked(value == record.trueValue);
        break;
    case ControlKind::Options:
        for (QAbstractButton* button : record.radios->buttons()) {
            Record* radio = Find(record.radios->id(button));
            button->setChecked(radio && radio->value == value);
        }
        break;
    case ControlKind::DropList: {
        auto* combo = static_cast<QComboBox*>(record.widget.data());
        int index = -1;
        for (int i = 0; i < int(record.items.size()); ++i)
            if (record.items[i].value == value)
                index = i;
        combo->setCurrentIndex(index);
        break;
    }
    case ControlKind::Combo:
        static_cast<QComboBox*>(record.widget.data())->setEditText(record.picture.Format(value));
        break;
    case ControlKind::Spin:
        static_cast<QSpinBox*>(record.widget.data())->setValue(value.toInt());
        break;
    case ControlKind::Progress:
        static_cast<QProgressBar*>(record.widget.data())->setValue(value.toInt());
        break;
    case ControlKind::Custom:
        if (record.widgetValue.show)
            record.widgetValue.show(value);
        break;
    default:
        break;
    }
    quiet_ = wasQuiet;
}

bool WindowDescription::WriteValue(Record& record)
{
    if (!record.binding || !record.binding.write)
        return true;
    QVariant value;
    switch (record.kind) {
    case ControlKind::Entry:
    case ControlKind::Combo: {
        const QString text = record.kind == ControlKind::Entry
                                 ? static_cast<QLineEdit*>(record.widget.data())->text()
                                 : static_cast<QComboBox*>(record.widget.data())->currentText();
        if (!record.picture.Parse(text, value))
            return false;
        break;
    }
    case ControlKind::TextBox:
        if (!record.picture.Parse(static_cast<QPlainTextEdit*>(record.widget.data())->toPlainText(), value))
            return false;
        break;
    case ControlKind::Check:
        value =
            static_cast<QCheckBox*>(record.widget.data())->isChecked() ? record.trueValue : record.falseValue;
        break;
    case ControlKind::Options: {
        Record* radio = Find(record.radios->checkedId());
        if (!radio)
            return true;
        value = radio->value;
        break;
    }
    case ControlKind::DropList: {
        const int index = static_cast<QComboBox*>(record.widget.data())->currentIndex();
        if (index < 0)
            return true;
        value = record.items[index].value;
        break;
    }
    case ControlKind::Spin: {
        auto* spin = static_cast<QSpinBox*>(record.widget.data());
        // A text it cannot read stays as typed, for the user to put right; the field keeps its value.
        if (!record.picture.ReadsWithin(spin->text(), spin->minimum(), spin->maximum()))
            return false;
        // Takes in what was typed and not yet left; the value the spin box then gives is the program's.
        const bool wasQuiet = quiet_;
        quiet_ = true;
        spin->interpretText();
        quiet_ = wasQuiet;
        value = spin->value();
        break;
    }
    case ControlKind::Custom:
        if (!record.widgetValue.read)
            return true;
        value = record.widgetValue.read();
        break;
    default:
        return true;
    }
    record.binding.write(value);
    // The field may keep less than was typed (its width, its type): the control shows what it keeps.
    ShowValue(record);
    return true;
}

void WindowDescription::ShowValues(int control)
{
    for (auto& [number, record] : controls_)
        if (control == 0 || number == control)
            ShowValue(*record);
}

bool WindowDescription::WriteValues(int control)
{
    bool ok = true;
    for (auto& [number, record] : controls_)
        if ((control == 0 || number == control) && record->kind != ControlKind::Display &&
            record->kind != ControlKind::Progress)
            ok = WriteValue(*record) && ok;
    return ok;
}

} // namespace jornix
