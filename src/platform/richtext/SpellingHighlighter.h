#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>

namespace jornix {

class SpellChecker;

// Marks the words that the checker finds fault with, as they are typed, with a wavy red underline. The
// marks are only drawn: the document, its undo steps and its modified state stay as they are.
class SpellingHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellingHighlighter(QTextDocument* document, SpellChecker* checker);

protected:
    void highlightBlock(const QString& text) override;

private:
    QPointer<SpellChecker> checker_;
};

} // namespace jornix
