#include "platform/runtime/WildcardPattern.h"

#include "platform/runtime/TrailingBlanks.h"

#include <QChar>

namespace jornix {
WildcardPattern::WildcardPattern(const QString& pattern, int mode) : ignoreCase_(mode & IgnoreCase)
{
    QString text = StripTrailingBlanks(pattern);
    if (ignoreCase_)
        for (QChar& c : text)
            c = QChar(Fold(c.unicode()));
    const QStringList parts = text.split(QLatin1Char('*'));
    starred_ = parts.size() > 1;
    head_ = parts.front();
    if (!starred_)
        return;
    tail_ = parts.back();
    for (qsizetype n = 1; n + 1 < parts.size(); ++n) {
        if (parts[n].isEmpty())
            continue; // "**" is one star
        Piece piece;
        piece.chars = parts[n];
        const int length = int(piece.chars.size());
        piece.words = (length + 63) / 64;
        const auto words = std::size_t(piece.words);
        piece.any.assign(words, 0);
        for (int at = 0; at < length; ++at)
            if (piece.chars[at] == QLatin1Char('?'))
                piece.any[std::size_t(at / 64)] |= quint64(1) << (at % 64);
        piece.latin.resize(256 * words);
        for (int c = 0; c < 256; ++c)
            for (std::size_t w = 0; w < words; ++w)
                piece.latin[std::size_t(c) * words + w] = piece.any[w];
        for (int at = 0; at < length; ++at) {
            const char16_t c = piece.chars[at].unicode();
            if (c == u'?')
                continue;
            const quint64 bit = quint64(1) << (at % 64);
            const std::size_t w = std::size_t(at / 64);
            // A text character fits where its folded form is the piece's; for 0-255 that is looked up by
            // the character itself, so that the scan folds only characters beyond them.
            for (int t = 0; t < 256; ++t)
                if (Fold(char16_t(t)) == c)
                    piece.latin[std::size_t(t) * words + w] |= bit;
            {
                auto found = piece.others.find(c);
                if (found == piece.others.end())
                    found = piece.others.insert(c, piece.any);
                (*found)[w] |= bit;
            }
        }
        pieces_.push_back(std::move(piece));
    }
}

char16_t WildcardPattern::Fold(char16_t c) const
{
    return ignoreCase_ ? FoldUnit(c) : c;
}

QStringList WildcardPattern::Fragments() const
{
    QStringList fragments;
    const auto add = [&fragments](const QString& part) {
        for (const QString& fragment : part.split(QLatin1Char('?'), Qt::SkipEmptyParts))
            fragments << fragment;
    };
    add(head_);
    for (const Piece& piece : pieces_)
        add(piece.chars);
    if (starred_)
        add(tail_);
    return fragments;
}

bool WildcardPattern::AsksOnlyForFragment() const
{
    return starred_ && head_.isEmpty() && tail_.isEmpty() && pieces_.size() == 1 &&
           !pieces_.front().chars.contains(QLatin1Char('?'));
}

bool WildcardPattern::FitsAt(const QString& piece, QStringView text, qsizetype at) const
{
    if (at < 0 || at + piece.size() > text.size())
        return false;
    for (qsizetype n = 0; n < piece.size(); ++n)
        if (piece[n] != QLatin1Char('?') && piece[n].unicode() != Fold(text[at + n].unicode()))
            return false;
    return true;
}

// The end of the first place at or after `from` where the piece fits wholly before `end`; -1 when none.
qsizetype WildcardPattern::Find(const Piece& piece, QStringView text, qsizetype from, qsizetype end) const
{
    const int length = int(piece.chars.size());
    const auto words = std::size_t(piece.words);
    const int lastWord = (length - 1) / 64;
    const quint64 lastBit = quint64(1) << ((length - 1) % 64);
    const auto maskOf = [&](char16_t c) -> const quint64* {
        if (c < 256)
            return &piece.latin[std::size_t(c) * words];
        const auto found = piece.others.constFind(Fold(c));
        return found == piece.others.constEnd() ? piece.any.data() : found->data();
    };
    if (words == 1) {
        quint64 state = 0;
        for (qsizetype at = from; at < end; ++at) {
            state = ((state << 1) | 1) & *maskOf(text[at].unicode());
            if (state & lastBit)
                return at + 1;
        }
        return -1;
    }
    std::vector<quint64> state(words, 0);
    for (qsizetype at = from; at < end; ++at) {
        const quint64* mask = maskOf(text[at].unicode());
        quint64 carry = 1;
        for (std::size_t w = 0; w < words; ++w) {
            const quint64 next = state[w] >> 63;
            state[w] = ((state[w] << 1) | carry) & mask[w];
            carry = next;
        }
        if (state[std::size_t(lastWord)] & lastBit)
            return at + 1;
    }
    return -1;
}

bool WildcardPattern::Matches(QStringView text) const
{
    text = StripTrailingBlanks(text);
    if (!starred_)
        return text.size() == head_.size() && FitsAt(head_, text, 0);
    if (head_.size() + tail_.size() > text.size() || !FitsAt(head_, text, 0) ||
        !FitsAt(tail_, text, text.size() - tail_.size()))
        return false;
    qsizetype at = head_.size();
    const qsizetype end = text.size() - tail_.size();
    for (const Piece& piece : pieces_) {
        at = Find(piece, text, at, end);
        if (at < 0)
            return false;
    }
    return true;
}

} // namespace jornix
