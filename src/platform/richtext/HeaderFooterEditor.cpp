#include "platform/richtext/HeaderFooterEditor.h"

#include <QKeyEvent>

namespace jornix {

HeaderFooterEditor::HeaderFooterEditor(QWidget* viewport) : QTextEdit(viewport)
{
    setObjectName(QStringLiteral("HeaderFooterEditor"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    // The page shows through: the editor draws only the part's text and its caret.
    setAttribute(Qt::WA_TranslucentBackground);
    QTextEdit::viewport()->setAutoFillBackground(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Qt::black);
    setPalette(palette);
    viewport->installEventFilter(this);
}

void HeaderFooterEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        emit Left();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool HeaderFooterEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::MouseButtonPress)
        emit Left(); // the click goes on to the page's text
    return QTextEdit::eventFilter(watched, event);
}

} // namespace jornix
