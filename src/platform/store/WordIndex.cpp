#include "platform/store/WordIndex.h"

#include "platform/runtime/WildcardPattern.h"
#include "platform/store/ReadTally.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <algorithm>
#include <string_view>

namespace jornix::WordIndex {
namespace {

// The characters that FTS4's "simple" tokenizer keeps in its words: ASCII letters and digits and every
// byte beyond ASCII (so every UTF-16 unit beyond it). It lowers ASCII letters only; the rest compares
// folded here.
bool IsWordUnit(char16_t c)
{
    return c >= 0x80 || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QString Folded(QString text)
{
    for (QChar& c : text)
        c = QChar(FoldUnit(c.unicode()));
    return text;
}

// The last trigger that the schema makes: the mark that the index is complete. Files made before the list
// of word endings have the one before it, which the schema drops.
constexpr const char* LastTrigger = "_Words_updated";
constexpr const char* FormerLastTrigger = "_Words_update_new";

// ASCII words up to this length are found by their endings; longer ones, and words beyond ASCII (which are
// compared folded), are kept in a short list that is read whole.
constexpr int LongestEndedWord = 64;

QString Name(const Table& table, const char* suffix)
{
    return Table::QuotedName(table.TableName() + QLatin1String(suffix));
}

// The texts of a row ("new" or "old" in a trigger, an alias in a select) as one input of the tokenizer.
QString WordsOf(const Table& table, const std::vector<int>& fields, const QString& row)
{
    QStringList texts;
    for (const int field : fields)
        texts << QStringLiteral("ifnull(%1.%2, '')").arg(row, table.ColumnSql(field));
    return texts.join(QStringLiteral(" || ' ' || "));
}

// A piece of a fragment (its run of word characters, folded) and the words of the index that hold it.
struct Piece
{
    QString text;
    QByteArray ascii; // the piece in UTF-8 when it is all ASCII
    std::vector<QByteArray> words;
    bool broad = false; // part of too many words
};

std::vector<Piece> PiecesOf(const QStringList& fragments)
{
    std::vector<Piece> pieces;
    const auto add = [&pieces](const QString& text) {
        if (text.isEmpty() ||
            std::any_of(pieces.begin(), pieces.end(), [&](const Piece& piece) { return piece.text == text; }))
            return;
        Piece piece{text, {}, {}, false};
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
            piece.ascii = text.toLatin1();
        pieces.push_back(std::move(piece));
    };
    for (const QString& fragment : fragments) {
        const QString folded = Folded(fragment);
        qsizetype start = 0;
        for (qsizetype at = 0; at <= folded.size(); ++at) {
            if (at < folded.size() && IsWordUnit(folded[at].unicode()))
                continue;
            add(folded.mid(start, at - start));
            start = at + 1;
        }
    }
    return pieces;
}

class Query
{
public:
    Query(sqlite3* db, const QString& sql, Status& status) : db_(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement_, nullptr) != SQLITE_OK)
            status = Failed();
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    sqlite3_stmt* operator->() const { return statement_; }
    sqlite3_stmt* Handle() const { return statement_; }
    explicit operator bool() const { return statement_ != nullptr; }
    Status Failed() const
    {
        return Status(StoreError::Failed, QStringLiteral("The word index could not be read: ") +
                                              QString::fromUtf8(sqlite3_errmsg(db_)) + QLatin1Char('.'));
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// Whether a word of the index holds a piece, compared case-folded.
bool Holds(std::string_view word, QString& folded, const Piece& piece)
{
    const bool ascii = std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii) // ASCII words are lowered already, and no character beyond ASCII folds into them
        return !piece.ascii.isEmpty() &&
               word.find(std::string_view(piece.ascii.constData(), std::size_t(piece.ascii.size()))) !=
                   std::string_view::npos;
    if (folded.isNull())
        folded = Folded(QString::fromUtf8(word.data(), qsizetype(word.size())));
    return folded.contains(piece.text);
}

void AddWord(Piece& piece, std::string_view word)
{
    if (piece.broad)
        return;
    piece.words.emplace_back(word.data(), qsizetype(word.size()));
    if (int(piece.words.size()) > MostWordsPerPiece) {
        piece.broad = true;
        piece.words.clear();
    }
}

std::string_view WordOf(sqlite3_stmt* statement)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    return {bytes ? bytes : "", std::size_t(sqlite3_column_bytes(statement, 0))};
}

// Finds the pieces' words: an ASCII piece by the endings of the words that start with it, so that only the
// words that hold it are read, and every piece in the short list of the other words; a piece that too many
// words hold is broad.
Status FindWords(sqlite3* db, const Table& table, std::vector<Piece>& pieces)
{
    Status status;
    Query endings(db,
                  QStringLiteral("SELECT DISTINCT \"Term\" FROM %1 WHERE \"Ending\" >= ?1 AND \"Ending\" < ?2 "
                                 "LIMIT %2")
                      .arg(Name(table, "_Endings"))
                      .arg(MostWordsPerPiece + 1),
                  status);
    Query others(db, QStringLiteral("SELECT \"Term\" FROM %1").arg(Name(table, "_OtherTerms")), status);
    if (!endings || !others)
        return status;
    qint64 endingsRead = 0, othersRead = 0;
    int result = SQLITE_DONE;
    for (Piece& piece : pieces) {
        if (piece.ascii.isEmpty())
            continue;
        const QByteArray past = piece.ascii + '\x7f'; // after every ending that starts with the piece
        sqlite3_bind_text(endings.Handle(), 1, piece.ascii.constData(), int(piece.ascii.size()), SQLITE_STATIC);
        sqlite3_bind_text(endings.Handle(), 2, past.constData(), int(past.size()), SQLITE_STATIC);
        while ((result = sqlite3_step(endings.Handle())) == SQLITE_ROW) {
            ++endingsRead;
            AddWord(piece, WordOf(endings.Handle()));
        }
        sqlite3_reset(endings.Handle());
        if (result != SQLITE_DONE)
            return endings.Failed();
    }
    while ((result = sqlite3_step(others.Handle())) == SQLITE_ROW) {
        ++othersRead;
        const std::string_view word = WordOf(others.Handle());
        QString folded; // of a word beyond ASCII, made when first needed
        for (Piece& piece : pieces)
            if (!piece.broad && Holds(word, folded, piece))
                AddWord(piece, word);
    }
    ReadTally::Add(table.TableName() + QLatin1String("_Endings"), endingsRead);
    ReadTally::Add(table.TableName() + QLatin1String("_OtherTerms"), othersRead);
    return result == SQLITE_DONE ? Status() : others.Failed();
}

// The rows that hold one of the words, ascending.
Status RowsOfWords(Query& match, const std::vector<QByteArray>& words, std::vector<qint64>& rows)
{
    rows.clear();
    for (const QByteArray& word : words) {
        const QByteArray phrase = '"' + word + '"';
        sqlite3_bind_text(match.Handle(), 1, phrase.constData(), int(phrase.size()), SQLITE_TRANSIENT);
        int result;
        while ((result = sqlite3_step(match.Handle())) == SQLITE_ROW)
            rows.push_back(sqlite3_column_int64(match.Handle(), 0));
        sqlite3_reset(match.Handle());
        if (result != SQLITE_DONE)
            return match.Failed();
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return {};
}

// Whether the file has the whole index, up to its last trigger (a table dropped and made again has none).
bool HasIndex(sqlite3* db, const Table& table)
{
    Status status;
    Query present(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?"),
                  status);
    const QByteArray name = SchemaName(table).toUtf8();
    sqlite3_bind_text(present.Handle(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    return present && sqlite3_step(present.Handle()) == SQLITE_ROW;
}

} // namespace

bool Decides(const QStringList& fragments)
{
    return fragments.size() == 1 && !fragments.front().isEmpty() &&
           std::all_of(fragments.front().begin(), fragments.front().end(),
                       [](QChar c) { return IsWordUnit(c.unicode()); });
}

QString SchemaName(const Table& table)
{
    return table.TableName() + QLatin1String(LastTrigger);
}

QString SchemaSql(const Table& table, const std::vector<int>& fields)
{
    QStringList columns;
    for (const int field : fields)
        columns << table.ColumnSql(field);
    const QString words = Name(table, "_Words"), terms = Name(table, "_Terms"),
                  tokens = Name(table, "_Tokens"), endings = Name(table, "_Endings"),
                  others = Name(table, "_OtherTerms"), places = Name(table, "_Places");
    const QString content = table.TableSql();
    // A row's words go into both tables; the FTS table reads the words it takes out of the row itself,
    // so a row leaves the index before it changes or goes.
    const auto add = [&](const QString& row) {
        QStringList values;
        for (const QString& column : columns)
            values << row + QLatin1Char('.') + column;
        return QStringLiteral("INSERT INTO %1 (docid, %2) VALUES (%3.rowid, %4); "
                              "INSERT OR IGNORE INTO %5 SELECT token FROM %6 WHERE input = %7;")
            .arg(words, columns.join(QStringLiteral(", ")), row, values.join(QStringLiteral(", ")), terms,
                 tokens, WordsOf(table, fields, row));
    };
    const QString remove = QStringLiteral("DELETE FROM %1 WHERE docid = old.rowid;").arg(words);
    const auto trigger = [&](const char* name, const char* when, const QString& body) {
        return QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 %2 ON %3 BEGIN %4 END;")
            .arg(Name(table, name), QLatin1String(when), content, body);
    };
    // Every word of the list of words goes also into the list of its endings (an ASCII word up to
    // LongestEndedWord characters: a piece lies in it where one of its endings starts with the piece) or
    // into the short list of the other words. The places 1 to LongestEndedWord cut the endings.
    QStringList placeValues;
    for (int place = 1; place <= LongestEndedWord; ++place)
        placeValues << QStringLiteral("(%1)").arg(place);
    const auto ascii = [](const QString& word) {
        return QStringLiteral("(length(%1) = length(CAST(%1 AS BLOB)) AND length(%1) <= %2)")
            .arg(word)
            .arg(LongestEndedWord);
    };
    const auto fillEndings = [&](const QString& from, const QString& word) {
        return QStringLiteral("INSERT OR IGNORE INTO %1 SELECT substr(%2, \"Place\"), %2 FROM %3, %4 "
                              "WHERE %5 AND \"Place\" <= length(%2); "
                              "INSERT OR IGNORE INTO %6 SELECT %2 FROM %3 WHERE NOT %5; ")
            .arg(endings, word, from, places, ascii(word), others);
    };
    const QString endingsSql =
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Place\" INTEGER PRIMARY KEY); "
                       "INSERT OR IGNORE INTO %1 VALUES %2; "
                       "CREATE TABLE IF NOT EXISTS %3 (\"Ending\" TEXT, \"Term\" TEXT, "
                       "PRIMARY KEY (\"Ending\", \"Term\")) WITHOUT ROWID; "
                       "CREATE TABLE IF NOT EXISTS %4 (\"Term\" TEXT PRIMARY KEY) WITHOUT ROWID; ")
            .arg(places, placeValues.join(QStringLiteral(", ")), endings, others) +
        fillEndings(terms, QStringLiteral("\"Term\"")) +
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER INSERT ON %2 BEGIN %3 END; ")
            .arg(Name(table, "_Terms_insert"), terms,
                 fillEndings(QStringLiteral("(SELECT 1)"), QStringLiteral("new.\"Term\"")));
    return QStringLiteral("DROP TRIGGER IF EXISTS %1; ").arg(Name(table, FormerLastTrigger)) +
           QStringLiteral(
               "CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts3tokenize(simple); "
               "CREATE VIRTUAL TABLE IF NOT EXISTS %2 USING fts4(content=%3, %4, tokenize=simple); "
               "INSERT INTO %2 (%2) VALUES ('rebuild'); "
               "CREATE TABLE IF NOT EXISTS %5 (\"Term\" TEXT PRIMARY KEY) WITHOUT ROWID; "
               "INSERT OR IGNORE INTO %5 SELECT token FROM %3 AS content_row, %1 WHERE input = %6; ")
               .arg(tokens, words, content, columns.join(QStringLiteral(", ")), terms,
                    WordsOf(table, fields, QStringLiteral("content_row"))) +
           endingsSql + trigger("_Words_insert", "AFTER INSERT", add(QStringLiteral("new"))) +
           trigger("_Words_delete", "BEFORE DELETE", remove) +
           trigger("_Words_update_old", "BEFORE UPDATE", remove) +
           trigger(LastTrigger, "AFTER UPDATE", add(QStringLiteral("new")));
}

std::optional<std::vector<qint64>> Candidates(sqlite3* db, const Table& table, const QStringList& fragments,
                                              qint64 most, Status& status)
{
    status = {};
    std::vector<Piece> pieces = PiecesOf(fragments);
    if (pieces.empty() || !HasIndex(db, table))
        return std::nullopt;
    if (status = FindWords(db, table, pieces); !status)
        return std::nullopt;
    std::erase_if(pieces, [](const Piece& piece) { return piece.broad; });
    if (pieces.empty())
        return std::nullopt;
    // The pieces held by fewest words first: their rows are likely fewest.
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.words.size() < b.words.size(); });
    const QString words = Name(table, "_Words");
    Query match(db, QStringLiteral("SELECT docid FROM %1 WHERE %1 MATCH ?").arg(words), status);
    if (!match)
        return std::nullopt;
    std::vector<qint64> found, rows, both;
    for (std::size_t n = 0; n < pieces.size(); ++n) {
        if (status = RowsOfWords(match, pieces[n].words, rows); !status)
            return std::nullopt;
        if (n == 0) {
            found.swap(rows);
        } else {
            both.clear();
            std::set_intersection(found.begin(), found.end(), rows.begin(), rows.end(),
                                  std::back_inserter(both));
            found.swap(both);
        }
        if (found.empty())
            break;
    }
    if (qint64(found.size()) > most)
        return std::nullopt;
    return found;
}

} // namespace jornix::WordIndex
