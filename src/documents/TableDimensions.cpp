#include "documents/TableDimensions.h"

#include "platform/framework/WindowDescription.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace jornix {

namespace {

constexpr int OkControl = 1;
constexpr int CancelControl = 2;

QSpinBox* dimensionEntry(const QString& name)
{
    auto* entry = new QSpinBox;
    entry->setObjectName(name);
    entry->setRange(0, 999); // three digits; the window checks the range itself, so that it can say so
    entry->setValue(2);
    entry->setButtonSymbols(QAbstractSpinBox::NoButtons);
    entry->setAlignment(Qt::AlignRight);
    entry->setFixedWidth(entry->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    return entry;
}

bool inRange(int value)
{
    return value >= 1 && value <= RichTextControl::MaxTableDimension;
}

} // namespace

TableDimensions::TableDimensions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TableDimensions"));
    setWindowTitle(QStringLiteral("Table Dimensions"));
    rows_ = dimensionEntry(QStringLiteral("Rows"));
    columns_ = dimensionEntry(QStringLiteral("Columns"));
    auto* entries = new QFormLayout;
    for (const auto& [prompt, entry] :
         {std::pair{QStringLiteral("&Rows:"), rows_}, {QStringLiteral("&Columns:"), columns_}}) {
        auto* label = new QLabel(prompt);
        label->setBuddy(entry);
        entries->addRow(label, entry);
    }
    auto* buttons = new QDialogButtonBox;
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setIcon(QIcon(WindowDescription::ImagePath(QStringLiteral("OKButton.gif"))));
    ok_->setDefault(true);
    cancel_ = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    cancel_->setIcon(QIcon(WindowDescription::ImagePath(QStringLiteral("CancelButton.gif"))));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entries);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TableDimensions::Confirmed(int rows, int columns)
{
    return QStringLiteral("1%1%2").arg(rows, 3, 10, QLatin1Char('0')).arg(columns, 3, 10, QLatin1Char('0'));
}

QString TableDimensions::Run()
{
    TableDimensions window;
    return window.run();
}

QString TableDimensions::run()
{
    ProgramWindow window(this);
    window.PostOn(ok_, &QPushButton::clicked, Event::Accepted, OkControl);
    window.PostOn(cancel_, &QPushButton::clicked, Event::Accepted, CancelControl);
    window.Show();
    rows_->setFocus();
    rows_->selectAll();
    for (;;) {
        const FrameworkEvent event = window.WaitEvent();
        if (event.event == Event::CloseWindow ||
            (event.event == Event::Accepted && event.control == CancelControl))
            break;
        if (event.event != Event::Accepted || event.control != OkControl)
            continue;
        QSpinBox* wrong = !inRange(rows_->value()) ? rows_ : !inRange(columns_->value()) ? columns_ : nullptr;
        if (!wrong) {
            hide();
            return Confirmed(rows_->value(), columns_->value());
        }
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Table Dimensions"),
                       QStringLiteral("A table has from 1 to 255 rows and from 1 to 255 columns."));
        wrong->setFocus();
        wrong->selectAll();
    }
    hide();
    return Cancelled();
}

} // namespace jornix
