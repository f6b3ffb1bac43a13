#include "platform/framework/LimitedTextEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolTip>

namespace jornix {

LimitedTextEdit::LimitedTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength)
{
}

bool LimitedTextEdit::Fits(qsizetype inserted) const
{
    const QTextCursor cursor = textCursor();
    const qsizetype length = document()->characterCount() - 1; // without the closing paragraph mark
    return length - (cursor.selectionEnd() - cursor.selectionStart()) + inserted <= maxLength_;
}

void LimitedTextEdit::TellLimit()
{
    QApplication::beep();
    QToolTip::showText(mapToGlobal(cursorRect().bottomLeft()),
                       QStringLiteral("This text can hold at most %1 characters.").arg(maxLength_), this);
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool inserts =
        newLine || event->key() == Qt::Key_Tab || (!text.isEmpty() && text.front().isPrint());
    if (inserts && !isReadOnly() && !Fits(newLine ? 1 : text.size())) {
        TellLimit();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() && !Fits(event->commitString().size())) {
        TellLimit();
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText() && !Fits(source->text().size())) {
        TellLimit();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace jornix
