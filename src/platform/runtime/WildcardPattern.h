#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The runtime's pattern match (modes 1 and 17): a text matches when the pattern, with trailing blanks taken
// from both, covers the whole text; "*" stands for any run of characters (also none) and "?" for exactly
// one; every other character stands for itself. Mode 17 (1 + IgnoreCase) compares case-folded characters.
//
// The pattern is prepared once and then matched against many texts, each in time linear in the text's
// length (times the length of the longest run between stars, counted in 64-character words): the pieces
// between stars are found left to right, each at its first place, by a bit-parallel scan that never steps
// back, so no pattern, however many stars it holds, makes a match slow.
namespace jornix {

// The case folding of the case-ignoring mode: each UTF-16 unit on its own.
inline char16_t FoldUnit(char16_t c)
{
    return QChar::toCaseFolded(c);
}

class WildcardPattern
{
public:
    static constexpr int Wildcard = 1;
    static constexpr int IgnoreCase = 16;

    WildcardPattern(const QString& pattern, int mode);
    bool Matches(QStringView text) const;
    // The stretches of the pattern that hold neither "*" nor "?": every text that matches holds each of them
    // (folded when case is ignored, so compared by FoldUnit). An index may use them to pass over texts that
    // cannot match.
    QStringList Fragments() const;
    // Whether a text matches exactly when it holds the pattern's one fragment: the pattern is a star, a
    // stretch without "*" or "?", and a star. An index that finds every text holding a fragment then
    // decides the match alone.
    bool AsksOnlyForFragment() const;
    bool IgnoresCase() const { return ignoreCase_; }

private:
    // A run of the pattern between stars; '?' matches any character.
    struct Piece
    {
        QString chars;              // folded when case is ignored
        int words = 0;              // 64-bit words of the scan's state
        std::vector<quint64> latin; // 256 * words: the positions that each character 0-255 fits
        QHash<char16_t, std::vector<quint64>> others; // the same for characters beyond 255, by folded form
        std::vector<quint64> any;                     // the positions of '?'
    };
    char16_t Fold(char16_t c) const;
    bool FitsAt(const QString& piece, QStringView text, qsizetype at) const;
    qsizetype Find(const Piece& piece, QStringView text, qsizetype from, qsizetype end) const;

    bool ignoreCase_ = false;
    bool starred_ = false; // the pattern holds a star: a head, pieces, a tail
    QString head_, tail_;  // before the first star and after the last (the whole pattern without stars)
    std::vector<Piece> pieces_;
};

} // namespace jornix
