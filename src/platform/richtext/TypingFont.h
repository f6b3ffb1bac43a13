#pragma once

#include <QTextCharFormat>

class QTextCursor;

namespace jornix {

// The font and text colour of the text at the caret, as text typed there takes them. A picture or a table cell
// inserted at the caret is given them, so that text typed beside the picture or into the cell goes on in the
// font of the text around it rather than in the control's own.
QTextCharFormat TypingFont(const QTextCursor& caret);

} // namespace jornix
