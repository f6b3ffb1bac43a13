#include "platform/richtext/StatusBar.h"

#include "platform/richtext/RichTextControl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextBlock>

namespace jornix {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("position"));
    layout->addWidget(position_);
    layout->addStretch();
}

void StatusBar::Attach(RichTextControl* control)
{
    if (control_)
        disconnect(control_, nullptr, this, nullptr);
    control_ = control;
    if (control)
        connect(control, &QTextEdit::cursorPositionChanged, this, &StatusBar::showPosition);
    showPosition();
}

QString StatusBar::Text() const
{
    return position_->text();
}

void StatusBar::showPosition()
{
    if (!control_) {
        position_->clear();
        return;
    }
    const QTextCursor cursor = control_->textCursor();
    position_->setText(
        QStringLiteral("Line %1, Column %2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1));
}

} // namespace jornix
