#include "documents/FindReplaceDialog.h"

#include "platform/richtext/RichTextControl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace jornix {

FindReplaceDialog::FindReplaceDialog(RichTextControl* control, bool replace, QWidget* parent)
    : QDialog(parent), control_(control), findText_(new QLineEdit), matchCase_(new QCheckBox),
      message_(new QLabel)
{
    setObjectName(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    findText_->setObjectName(QStringLiteral("FindWhat"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    matchCase_->setText(QStringLiteral("Match &case"));
    message_->setObjectName(QStringLiteral("Message"));
    findText_->setMinimumWidth(260);
    if (control && control->textCursor().hasSelection())
        findText_->setText(control->textCursor().selectedText());

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Fi&nd what:"), findText_);
    if (replace) {
        replaceText_ = new QLineEdit;
        replaceText_->setObjectName(QStringLiteral("ReplaceWith"));
        fields->addRow(QStringLiteral("Re&place with:"), replaceText_);
    }
    fields->addRow(QString(), matchCase_);
    fields->addRow(QString(), message_);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const QString& text, const QString& name) {
        auto* button = new QPushButton(text);
        button->setObjectName(name);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* findNext = addButton(QStringLiteral("&Find Next"), QStringLiteral("FindNext"));
    findNext->setDefault(true);
    connect(findNext, &QPushButton::clicked, this, [this] { FindNext(); });
    if (replace) {
        connect(addButton(QStringLiteral("&Replace"), QStringLiteral("ReplaceOne")), &QPushButton::clicked,
                this, [this] { ReplaceOne(); });
        connect(addButton(QStringLiteral("Replace &All"), QStringLiteral("ReplaceAll")),
                &QPushButton::clicked, this, [this] { ReplaceAll(); });
    }
    connect(addButton(QStringLiteral("Close"), QStringLiteral("Close")), &QPushButton::clicked, this,
            &QDialog::accept);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

bool FindReplaceDialog::FindNext()
{
    if (!control_ || findText_->text().isEmpty())
        return false;
    const QString text = findText_->text();
    const bool matchCase = matchCase_->isChecked();
    int at = control_->Find(text, control_->textCursor().selectionEnd(), matchCase);
    if (at < 0)
        at = control_->Find(text, 0, matchCase);
    if (at < 0) {
        say(QStringLiteral("\"%1\" was not found.").arg(text));
        return false;
    }
    say({});
    control_->SetSelStart(at);
    control_->SetSelLength(int(text.size()));
    control_->ensureCursorVisible();
    return true;
}

bool FindReplaceDialog::selectionMatches() const
{
    const QString selected = control_->textCursor().selectedText();
    return !selected.isEmpty() &&
           selected.compare(findText_->text(),
                            matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

void FindReplaceDialog::ReplaceOne()
{
    if (!control_ || !replaceText_ || control_->isReadOnly())
        return;
    if (selectionMatches())
        control_->SetSelText(replaceText_->text());
    FindNext();
}

int FindReplaceDialog::ReplaceAll()
{
    if (!control_ || !replaceText_ || control_->isReadOnly() || findText_->text().isEmpty())
        return 0;
    const int count =
        control_->ReplaceAll(findText_->text(), replaceText_->text(), matchCase_->isChecked());
    say(count == 0 ? QStringLiteral("\"%1\" was not found.").arg(findText_->text())
                   : QStringLiteral("%1 replaced.").arg(count));
    return count;
}

void FindReplaceDialog::say(const QString& text)
{
    message_->setText(text);
}

} // namespace jornix
