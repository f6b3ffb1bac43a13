#include "platform/framework/FuzzyMatcher.h"

#include <QStringList>

namespace jornix {
namespace {

QStringList Words(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words += word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words += word;
    return words;
}

} // namespace

void FuzzyMatcher::Init()
{
    ignoreCase_ = false;
    wholeWords_ = false;
}

void FuzzyMatcher::SetOption(int option, bool on)
{
    if (option == IgnoreCase)
        ignoreCase_ = on;
    else if (option == WholeWords)
        wholeWords_ = on;
}

bool FuzzyMatcher::Option(int option) const
{
    return option == IgnoreCase ? ignoreCase_ : option == WholeWords ? wholeWords_ : false;
}

bool FuzzyMatcher::Match(const QString& pattern, const QString& text) const
{
    const Qt::CaseSensitivity cs = ignoreCase_ ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QStringList textWords = Words(text);
    for (const QString& word : Words(pattern)) {
        const bool found = wholeWords_ ? textWords.contains(word, cs) : text.contains(word, cs);
        if (!found)
            return false;
    }
    return true;
}

} // namespace jornix
