// The settings of a control at run time: enabled, shown, read-only, its label, focus, tabs and list rows.

#include "platform/framework/WindowDescriptionParts.h"

#include "platform/framework/FittedList.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImageReader>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeView>

namespace jornix {

// The settings of a control at run time ---------------------------------------------------------------------

void WindowDescription::Enable(int control, bool enabled)
{
    if (Record* record = Find(control)) {
        // A tab is enabled on its sheet's tab bar: a disabled tab cannot be chosen.
        if (record->kind == ControlKind::Tab && record->widget) {
            if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
                tabs->setTabEnabled(tabs->indexOf(record->widget), enabled);
            return;
        }
        if (record->widget && control != 0)
            record->widget->setEnabled(enabled);
        if (record->action)
            record->action->setEnabled(enabled);
    }
}

bool WindowDescription::IsEnabled(int control) const
{
    Record* record = Find(control);
    if (!record)
        return false;
    if (record->action)
        return record->action->isEnabled();
    if (record->kind == ControlKind::Tab && record->widget) {
        if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
            return tabs->isTabEnabled(tabs->indexOf(record->widget));
    }
    return record->widget && record->widget->isEnabledTo(root_);
}

void WindowDescription::Show(int control, bool visible)
{
    if (Record* record = Find(control); record && control != 0) {
        if (record->kind == ControlKind::Tab) {
            if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
                tabs->setTabVisible(tabs->indexOf(record->widget), visible);
            return;
        }
        if (record->widget)
            record->widget->setVisible(visible);
        if (record->action)
            record->action->setVisible(visible);
    }
}

bool WindowDescription::IsHidden(int control) const
{
    Record* record = Find(control);
    if (!record)
        return true;
    if (record->action)
        return !record->action->isVisible();
    return record->widget && record->widget->isHidden();
}

void WindowDescription::SetReadOnly(int control, bool readOnly)
{
    Record* record = Find(control);
    if (!record)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(record->widget.data()))
        edit->setReadOnly(readOnly);
    else if (auto* spin = qobject_cast<QSpinBox*>(record->widget.data())) {
        spin->setReadOnly(readOnly);
        spin->setSingleStep(readOnly ? 0 : record->step); // neither the arrows nor the wheel step it
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(record->widget.data()))
        text->setReadOnly(readOnly);
    else if (record->widget && (record->kind == ControlKind::Check || record->kind == ControlKind::Options ||
                                record->kind == ControlKind::DropList || record->kind == ControlKind::Combo))
        record->widget->setEnabled(!readOnly);
}

void WindowDescription::SetLabel(int control, const QString& text)
{
    Record* record = Find(control);
    if (!record)
        return;
    if (record->action) {
        record->action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(record->widget.data())) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(record->widget.data())) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(record->widget.data())) {
        group->setTitle(text);
    } else if (record->kind == ControlKind::Tab) {
        if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
            tabs->setTabText(tabs->indexOf(record->widget), text);
    } else if (control == 0) {
        SetCaption(text);
    }
}

QString WindowDescription::Label(int control) const
{
    Record* record = Find(control);
    if (!record)
        return {};
    if (record->action)
        return record->action->text();
    if (auto* button = qobject_cast<QAbstractButton*>(record->widget.data()))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(record->widget.data()))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(record->widget.data()))
        return group->title();
    if (record->kind == ControlKind::Tab) {
        if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
            return tabs->tabText(tabs->indexOf(record->widget));
    }
    return control == 0 ? Caption() : QString();
}

void WindowDescription::Select(int control)
{
    if (QWidget* widget = Widget(control); widget && control != 0)
        widget->setFocus(Qt::OtherFocusReason);
}

int WindowDescription::SelectedTab(int sheet) const
{
    auto* tabs = qobject_cast<QTabWidget*>(Widget(sheet));
    return tabs ? tabs->currentIndex() + 1 : 0;
}

void WindowDescription::SelectTab(int sheet, int position)
{
    if (auto* tabs = qobject_cast<QTabWidget*>(Widget(sheet)))
        tabs->setCurrentIndex(position - 1);
}

int WindowDescription::SelectedRow(int list) const
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    return view && view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

void WindowDescription::SelectRow(int list, int row)
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    if (!view || !view->model())
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

void WindowDescription::SetListModel(int list, QAbstractItemModel* model)
{
    Record* record = Find(list);
    auto* view = record ? qobject_cast<QTreeView*>(record->widget.data()) : nullptr;
    if (!view)
        return;
    view->setModel(model); // the list fits its columns to the new model's rows
    ConnectList(*record);
}

void WindowDescription::SetMainColumn(int list, int column)
{
    Record* record = Find(list);
    if (auto* view = record ? dynamic_cast<FittedList*>(record->widget.data()) : nullptr)
        view->SetMainColumn(column);
}

QAbstractItemModel* WindowDescription::ListModel(int list) const
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    return view ? view->model() : nullptr;
}

void WindowDescription::SetFont(int control, const QString& face, int points, int style)
{
    Record* record = Find(control);
    if (!record)
        return;
    const auto apply = [&](QFont font) {
        if (!face.isEmpty())
            font.setFamily(face);
        if (points > 0)
            font.setPointSize(points);
        font.setBold(style & FontStyle::Bold);
        font.setItalic(style & FontStyle::Italic);
        font.setUnderline(style & FontStyle::Underline);
        font.setStrikeOut(style & FontStyle::StrikeOut);
        return font;
    };
    if (record->action)
        record->action->setFont(apply(record->action->font()));
    else if (record->widget)
        record->widget->setFont(apply(record->widget->font()));
}

void WindowDescription::SetTextColor(int control, const QColor& color)
{
    if (Record* record = Find(control)) {
        record->textColor = color;
        ApplyColors(*record);
    }
}

void WindowDescription::SetFillColor(int control, const QColor& color)
{
    if (Record* record = Find(control)) {
        record->fillColor = color;
        ApplyColors(*record);
    }
}

// A palette that sets only the roles given, so that the control takes every other colour from its window.
void WindowDescription::ApplyColors(Record& record)
{
    QWidget* widget = record.widget;
    if (!widget || record.number == 0)
        return;
    QPalette palette;
    palette.setResolveMask(0);
    if (record.textColor.isValid()) {
        palette.setColor(widget->foregroundRole(), record.textColor);
        palette.setColor(QPalette::Text, record.textColor);
    }
    if (record.fillColor.isValid()) {
        palette.setColor(widget->backgroundRole(), record.fillColor);
        palette.setColor(QPalette::Base, record.fillColor);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(record.fillColor.isValid());
}

bool WindowDescription::SetImageFile(int control, const QString& file, const QSize& fit)
{
    auto* label = qobject_cast<QLabel*>(Widget(control));
    if (!label || KindOf(control) != ControlKind::Image)
        return false;
    QImageReader reader(file);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        label->clear();
        return false;
    }
    if (fit.isValid() && (image.width() > fit.width() || image.height() > fit.height()))
        image = image.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(QPixmap::fromImage(image));
    return true;
}

} // namespace jornix
