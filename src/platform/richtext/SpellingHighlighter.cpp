#include "platform/richtext/SpellingHighlighter.h"

#include "platform/richtext/SpellChecker.h"

#include <QTextCharFormat>

namespace jornix {

SpellingHighlighter::SpellingHighlighter(QTextDocument* document, SpellChecker* checker)
    : QSyntaxHighlighter(document), checker_(checker)
{
}

void SpellingHighlighter::highlightBlock(const QString& text)
{
    if (!checker_ || !checker_->IsOpen())
        return;
    QTextCharFormat mark;
    mark.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    mark.setUnderlineColor(Qt::red);
    for (SpellChecker::Finding finding = checker_->NextProblem(text, 0);
         finding.problem != SpellChecker::Problem::None;
         finding = checker_->NextProblem(text, finding.offset + finding.length))
        setFormat(finding.offset, finding.length, mark);
}

} // namespace jornix
