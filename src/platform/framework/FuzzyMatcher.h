#pragma once

#include <QString>

// A small word matcher: a pattern matches a text when each of the pattern's words occurs in the text, in any
// order. Option IgnoreCase compares without regard to case; option WholeWords lets a pattern word match only
// a whole word of the text.
namespace jornix {

class FuzzyMatcher
{
public:
    enum Option
    {
        IgnoreCase = 1,
        WholeWords = 2
    };

    void Init(); // both options off
    void SetOption(int option, bool on);
    bool Option(int option) const;
    void Kill() { Init(); }

    bool Match(const QString& pattern, const QString& text) const;

private:
    bool ignoreCase_ = false;
    bool wholeWords_ = false;
};

} // namespace jornix
