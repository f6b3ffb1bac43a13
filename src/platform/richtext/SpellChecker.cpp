#include "platform/richtext/SpellChecker.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBoundaryFinder>

#include <hunspell.hxx>
#include <unicode/ucnv.h>

namespace jornix {
namespace {

// Converts between UTF-16 and a dictionary's encoding other than UTF-8 (ISO8859-1, KOI8-R, ...); ICU
// matches the names without regard to case and punctuation.
QByteArray fromUtf16(const QByteArray& encoding, QStringView text)
{
    UErrorCode status = U_ZERO_ERROR;
    QByteArray bytes(int(text.size()) * 4 + 4, Qt::Uninitialized);
    const int32_t length =
        ucnv_convert(encoding.constData(), "UTF-16LE", bytes.data(), int32_t(bytes.size()),
                     reinterpret_cast<const char*>(text.utf16()), int32_t(text.size() * 2), &status);
    if (U_FAILURE(status))
        return text.toString().toLatin1();
    bytes.truncate(length);
    return bytes;
}

QString toUtf16(const QByteArray& encoding, const std::string& bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    QString text(qsizetype(bytes.size()) * 2 + 2, Qt::Uninitialized);
    const int32_t length =
        ucnv_convert("UTF-16LE", encoding.constData(), reinterpret_cast<char*>(text.data()),
                     int32_t(text.size() * 2), bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    text.truncate(length / 2);
    return text;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'\'' || c == u'\u2019';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar::Nbsp;
}

} // namespace

QString SpellChecker::DefaultFolder()
{
    return QStringLiteral("/usr/share/hunspell");
}

SpellChecker::SpellChecker(QString language, QString folder, QObject* parent)
    : QObject(parent), language_(std::move(language)), folder_(std::move(folder))
{
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::Open(QString* error)
{
    if (hunspell_)
        return true;
    const QDir folder(folder_);
    const QString aff = folder.filePath(language_ + QStringLiteral(".aff"));
    const QString dic = folder.filePath(language_ + QStringLiteral(".dic"));
    if (!QFileInfo(aff).isFile() || !QFileInfo(dic).isFile()) {
        if (error)
            *error = QStringLiteral("The spelling dictionary \"%1\" was not found in %2 (the files %1.aff "
                                    "and %1.dic are needed). Install the dictionary, for English the "
                                    "package hunspell-en-us, and try again.")
                         .arg(language_, QDir::toNativeSeparators(folder_));
        return false;
    }
    hunspell_ =
        std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    encoding_ = QByteArray::fromStdString(hunspell_->get_dict_encoding()).toUpper();
    if (encoding_.isEmpty() || encoding_ == "UTF8")
        encoding_ = "UTF-8";
    return true;
}

QByteArray SpellChecker::encode(QStringView word) const
{
    return encoding_ == "UTF-8" ? word.toUtf8() : fromUtf16(encoding_, word);
}

QString SpellChecker::decode(const std::string& bytes) const
{
    return encoding_ == "UTF-8" ? QString::fromStdString(bytes) : toUtf16(encoding_, bytes);
}

bool SpellChecker::knownAsWritten(QStringView word) const
{
    return !hunspell_ || hunspell_->spell(encode(word).toStdString());
}

bool SpellChecker::IsKnown(QStringView word) const
{
    return ignored_.contains(word.toString()) || knownAsWritten(word);
}

QStringList SpellChecker::Suggestions(QStringView word) const
{
    QStringList suggestions;
    if (!hunspell_ || IsKnown(word))
        return suggestions;
    for (const std::string& suggestion : hunspell_->suggest(encode(word).toStdString()))
        suggestions << decode(suggestion);
    return suggestions;
}

void SpellChecker::IgnoreAll(const QString& word)
{
    ignored_.insert(word);
}

SpellChecker::Finding SpellChecker::NextProblem(QStringView text, int from) const
{
    from = qBound(0, from, int(text.size()));
    // Start at the word before, so that a word repeated right at from is seen.
    int start = from;
    while (start > 0 && isBlank(text[start - 1]))
        --start;
    while (start > 0 && isWordCharacter(text[start - 1]))
        --start;
    // Line by line: no word goes past a line's end, and a check costs what it reads, not the whole text.
    for (;;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (Finding finding = problemInLine(text.mid(start, end - start), start, from);
            finding.problem != Problem::None)
            return finding;
        if (end == text.size())
            return {};
        start = int(end) + 1;
    }
}

SpellChecker::Finding SpellChecker::problemInLine(QStringView line, int lineOffset, int from) const
{
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, line.constData(), int(line.size()));
    QStringView previous;
    int previousEnd = -1;
    for (int begin = 0, end; (end = int(words.toNextBoundary())) >= 0; begin = end) {
        const QStringView word = line.mid(begin, end - begin);
        if (std::none_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        Finding finding{Problem::None, lineOffset + begin, end - begin, word.toString()};
        if (!IsKnown(word)) {
            if (std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
                finding.problem = Problem::WordWithDigits;
            else if (knownAsWritten(word.toString().toLower()) ||
                     knownAsWritten(word.left(1).toString().toUpper() + word.mid(1).toString().toLower()))
                finding.problem = Problem::Capitalization;
            else
                finding.problem = Problem::Misspelled;
        } else if (previousEnd >= 0 && word.compare(previous, Qt::CaseInsensitive) == 0 &&
                   std::all_of(line.begin() + previousEnd, line.begin() + begin, isBlank)) {
            finding.problem = Problem::Doubled;
        }
        if (finding.problem != Problem::None && finding.offset >= from)
            return finding;
        previous = word;
        previousEnd = end;
    }
    return {};
}

} // namespace jornix
