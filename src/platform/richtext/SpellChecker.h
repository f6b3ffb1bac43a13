#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

class Hunspell;

namespace jornix {

// A spelling checker over a hunspell dictionary ("en_US" is the files en_US.aff and en_US.dic in the
// folder). The dictionary is read at the first use; missing files leave the checker closed, and Open says
// why. Words go to hunspell in the dictionary's own encoding (its SET line).
class SpellChecker : public QObject
{
    Q_OBJECT

public:
    static QString DefaultFolder(); // where Debian installs the hunspell dictionaries
    static constexpr const char* DefaultLanguage = "en_US";

    explicit SpellChecker(QString language = QString::fromLatin1(DefaultLanguage),
                          QString folder = DefaultFolder(), QObject* parent = nullptr);
    ~SpellChecker() override;

    // Reads the dictionary unless it is read already; false with a message for the user when it cannot.
    bool Open(QString* error = nullptr);
    bool IsOpen() const { return hunspell_ != nullptr; }
    QString Language() const { return language_; }
    QString Folder() const { return folder_; }

    // Whether the dictionary knows the word or it was ignored; a closed checker knows every word.
    bool IsKnown(QStringView word) const;
    // Hunspell's suggestions, best first; none for a known word.
    QStringList Suggestions(QStringView word) const;
    // The word counts as known for the rest of the program's run.
    void IgnoreAll(const QString& word);

    enum class Problem
    {
        None,
        Misspelled,     // not in the dictionary
        Capitalization, // known only in another case ("hEllo")
        WordWithDigits, // letters and digits the dictionary does not know ("abc123")
        Doubled         // the word right after the same word ("the the")
    };
    struct Finding
    {
        Problem problem = Problem::None;
        int offset = 0; // in the text, in UTF-16 units as QString and QTextDocument count
        int length = 0;
        QString word;
    };
    // The first problem that starts at or after from; Problem::None when there is none. A word right
    // before from still counts for a doubled word.
    Finding NextProblem(QStringView text, int from) const;

private:
    Finding problemInLine(QStringView line, int lineOffset, int from) const;
    bool knownAsWritten(QStringView word) const;
    QByteArray encode(QStringView word) const;
    QString decode(const std::string& bytes) const;

    QString language_;
    QString folder_;
    std::unique_ptr<Hunspell> hunspell_;
    QByteArray encoding_; // the dictionary's, upper case; "UTF-8" needs no converter
    QSet<QString> ignored_;
};

} // namespace jornix
