#include "platform/store/Expression.h"

#include "platform/runtime/Clock.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <memory>

namespace jornix {

void ExpressionNames::Bind(const QString& name, std::function<QVariant()> value)
{
    values_.insert(name.toCaseFolded(), std::move(value));
}

void ExpressionNames::Unbind(const QString& name)
{
    values_.remove(name.toCaseFolded());
}

const std::function<QVariant()>* ExpressionNames::Find(const QString& name) const
{
    auto found = values_.constFind(name.toCaseFolded());
    return found == values_.constEnd() ? nullptr : &found.value();
}

namespace {

enum class TokenKind
{
    End,
    Number,
    Text,
    Name,
    Open,
    Close,
    Comma,
    Compare,
    Tilde,
    Plus,
    Minus
};

struct Token
{
    TokenKind kind = TokenKind::End;
    QString text; // as written; for a Text token, its value
    qsizetype position = 0;
};

enum class ValueType
{
    Number,
    Text,
    Condition
};

// One node of the parsed expression, already in SQL form.
struct Node
{
    ValueType type = ValueType::Number;
    SqlExpression sql;
};

class ParseError
{
public:
    QString reason;
};

class Parser
{
public:
    Parser(const QString& text, const Table& table, const ExpressionNames& names)
        : text_(text), table_(table), names_(names)
    {
    }

    bool Run(const std::function<void()>& body, Status& status)
    {
        // Parsing stays inside this function; no exception leaves the store.
        try {
            Tokenize();
            body();
            return true;
        } catch (const ParseError& error) {
            status =
                Status(StoreError::BadExpression,
                       QStringLiteral("The expression \"%1\" is not valid: %2.").arg(text_, error.reason));
            return false;
        }
    }

    Node Condition()
    {
        Node node = Or();
        return AsCondition(node);
    }

    void ExpectEnd()
    {
        if (Peek().kind == TokenKind::Close)
            Fail(QStringLiteral("a closing parenthesis at position %1 has no opening one")
                     .arg(Peek().position + 1));
        if (Peek().kind != TokenKind::End)
            Fail(Unexpected(Peek()));
    }

    std::vector<SqlSortTerm> SortTerms()
    {
        std::vector<SqlSortTerm> terms;
        do {
            bool descending = false;
            if (Peek().kind == TokenKind::Plus || Peek().kind == TokenKind::Minus)
                descending = Next().kind == TokenKind::Minus;
            Node term = Or();
            terms.push_back({term.sql, descending});
        } while (Accept(TokenKind::Comma));
        ExpectEnd();
        return terms;
    }

private:
    [[noreturn]] void Fail(const QString& reason) { throw ParseError{reason}; }

    QString Unexpected(const Token& token) const
    {
        if (token.kind == TokenKind::End)
            return QStringLiteral("it ends too early");
        return QStringLiteral("\"%1\" at position %2 is not expected")
            .arg(token.kind == TokenKind::Text ? QStringLiteral("'") + token.text + QStringLiteral("'")
                                               : token.text)
            .arg(token.position + 1);
    }

    void Tokenize()
    {
        qsizetype at = 0;
        const qsizetype size = text_.size();
        while (true) {
            while (at < size && text_.at(at).isSpace())
                ++at;
            Token token;
            token.position = at;
            if (at >= size) {
                tokens_.push_back(token);
                return;
            }
            const QChar c = text_.at(at);
            if (c.isDigit() || (c == QLatin1Char('.') && at + 1 < size && text_.at(at + 1).isDigit())) {
                qsizetype end = at;
                while (end < size && (text_.at(end).isDigit() || text_.at(end) == QLatin1Char('.')))
                    ++end;
                token.kind = TokenKind::Number;
                token.text = text_.mid(at, end - at);
                at = end;
            } else if (c == QLatin1Char('\'')) {
                QString value;
                qsizetype end = at + 1;
                while (true) {
                    if (end >= size)
                        Fail(QStringLiteral("the text starting at position %1 has no closing quote")
                                 .arg(at + 1));
                    if (text_.at(end) == QLatin1Char('\'')) {
                        if (end + 1 < size && text_.at(end + 1) == QLatin1Char('\'')) {
                            value += QLatin1Char('\'');
                            end += 2;
                            continue;
                        }
                        break;
                    }
                    value += text_.at(end++);
                }
                token.kind = TokenKind::Text;
                token.text = value;
                at = end + 1;
            } else if (c.isLetter() || c == QLatin1Char('_')) {
                qsizetype end = at;
                auto nameChar = [&](qsizetype i) {
                    return text_.at(i).isLetterOrNumber() || text_.at(i) == QLatin1Char('_');
                };
                while (end < size && nameChar(end))
                    ++end;
                if (end + 1 < size && text_.at(end) == QLatin1Char(':') &&
                    (text_.at(end + 1).isLetter() || text_.at(end + 1) == QLatin1Char('_'))) {
                    ++end;
                    while (end < size && nameChar(end))
                        ++end;
                }
                token.kind = TokenKind::Name;
                token.text = text_.mid(at, end - at);
                at = end;
            } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
                qsizetype end = at + 1;
                if (c != QLatin1Char('=') && end < size &&
                    (text_.at(end) == QLatin1Char('=') ||
                     (c == QLatin1Char('<') && text_.at(end) == QLatin1Char('>'))))
                    ++end;
                token.kind = TokenKind::Compare;
                token.text = text_.mid(at, end - at);
                at = end;
            } else {
                static const QString singles = QStringLiteral("(),~+-");
                static const TokenKind kinds[] = {TokenKind::Open,  TokenKind::Close, TokenKind::Comma,
                                                  TokenKind::Tilde, TokenKind::Plus,  TokenKind::Minus};
                const qsizetype which = singles.indexOf(c);
                if (which < 0)
                    Fail(QStringLiteral("the character \"%1\" at position %2 is not allowed")
                             .arg(c)
                             .arg(at + 1));
                token.kind = kinds[which];
                token.text = c;
                ++at;
            }
            tokens_.push_back(token);
        }
    }

    const Token& Peek() const { return tokens_[next_]; }
    Token Next()
    {
        const Token token = tokens_[next_];
        if (token.kind != TokenKind::End)
            ++next_;
        return token;
    }
    bool Accept(TokenKind kind)
    {
        if (Peek().kind != kind)
            return false;
        Next();
        return true;
    }
    bool IsWord(const Token& token, const char* word) const
    {
        return token.kind == TokenKind::Name &&
               token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    void Expect(TokenKind kind, const QString& what)
    {
        if (Peek().kind != kind)
            Fail(Peek().kind == TokenKind::End ? what + QStringLiteral(" is missing") : Unexpected(Peek()));
        Next();
    }

    static Node Combine(ValueType type, const QString& pattern, std::initializer_list<const Node*> parts)
    {
        // pattern holds %1, %2 ... for the parts; their parameters follow in the order the parts appear.
        Node node;
        node.type = type;
        QString sql = pattern;
        std::vector<std::pair<qsizetype, const Node*>> order;
        int number = 1;
        for (const Node* part : parts) {
            const QString mark = QLatin1Char('%') + QString::number(number++);
            for (qsizetype at = pattern.indexOf(mark); at >= 0; at = pattern.indexOf(mark, at + 1))
                order.emplace_back(at, part);
        }
        std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, part] : order)
            node.sql.parameters.insert(node.sql.parameters.end(), part->sql.parameters.begin(),
                                       part->sql.parameters.end());
        number = 1;
        for (const Node* part : parts)
            sql.replace(QLatin1Char('%') + QString::number(number++), part->sql.sql);
        node.sql.sql = sql;
        return node;
    }

    static Node AsCondition(const Node& node)
    {
        switch (node.type) {
        case ValueType::Condition:
            return node;
        case ValueType::Text:
            return Combine(ValueType::Condition, QStringLiteral("(%1 <> '')"), {&node});
        case ValueType::Number:
            break;
        }
        return Combine(ValueType::Condition, QStringLiteral("(%1 <> 0)"), {&node});
    }

    static Node AsText(const Node& node)
    {
        if (node.type == ValueType::Text)
            return node;
        return Combine(ValueType::Text, QStringLiteral("CAST(%1 AS TEXT)"), {&node});
    }

    Node Or()
    {
        Node left = And();
        while (IsWord(Peek(), "OR")) {
            Next();
            const Node a = AsCondition(left), b = AsCondition(And());
            left = Combine(ValueType::Condition, QStringLiteral("(%1 OR %2)"), {&a, &b});
        }
        return left;
    }

    Node And()
    {
        Node left = Not();
        while (IsWord(Peek(), "AND")) {
            Next();
            const Node a = AsCondition(left), b = AsCondition(Not());
            left = Combine(ValueType::Condition, QStringLiteral("(%1 AND %2)"), {&a, &b});
        }
        return left;
    }

    Node Not()
    {
        if (IsWord(Peek(), "NOT") || Peek().kind == TokenKind::Tilde) {
            Next();
            const Node operand = AsCondition(Not());
            return Combine(ValueType::Condition, QStringLiteral("(NOT %1)"), {&operand});
        }
        return Comparison();
    }

    Node Comparison()
    {
        Node left = Operand();
        if (Peek().kind == TokenKind::Tilde) {
            Next();
            const Node a = AsText(left), b = AsText(Operand());
            return Combine(ValueType::Condition, QStringLiteral("jornix_contains(%1, %2)"), {&a, &b});
        }
        if (Peek().kind != TokenKind::Compare)
            return left;
        const QString op = Next().text;
        Node right = Operand();
        // A text compared with a number is read as a number.
        if (left.type == ValueType::Text && right.type != ValueType::Text)
            left = Combine(ValueType::Number, QStringLiteral("CAST(%1 AS REAL)"), {&left});
        if (right.type == ValueType::Text && left.type != ValueType::Text)
            right = Combine(ValueType::Number, QStringLiteral("CAST(%1 AS REAL)"), {&right});
        return Combine(ValueType::Condition, QStringLiteral("(%1 ") + op + QStringLiteral(" %2)"),
                       {&left, &right});
    }

    static Node Value(ValueType type, SqlParameter parameter)
    {
        Node node;
        node.type = type;
        node.sql.sql = QStringLiteral("?");
        node.sql.parameters.push_back(std::move(parameter));
        return node;
    }

    Node Operand()
    {
        const Token token = Next();
        switch (token.kind) {
        case TokenKind::Number:
        case TokenKind::Minus: {
            QString number = token.text;
            if (token.kind == TokenKind::Minus) {
                if (Peek().kind != TokenKind::Number)
                    Fail(Unexpected(token));
                number = QLatin1Char('-') + Next().text;
            }
            bool ok = false;
            const qlonglong whole = number.toLongLong(&ok);
            if (ok)
                return Value(ValueType::Number, {QVariant(whole), {}});
            const double real = number.toDouble(&ok);
            if (!ok)
                Fail(QStringLiteral("\"%1\" at position %2 is not a number")
                         .arg(number)
                         .arg(token.position + 1));
            return Value(ValueType::Number, {QVariant(real), {}});
        }
        case TokenKind::Text:
            // Trailing blanks never count in comparisons: stored texts have none.
            return Value(ValueType::Text, {QVariant(StripTrailingBlanks(token.text)), {}});
        case TokenKind::Open: {
            Node inner = Or();
            if (Peek().kind != TokenKind::Close)
                Fail(Peek().kind == TokenKind::End ? QStringLiteral("a closing parenthesis is missing")
                                                   : Unexpected(Peek()));
            Next();
            return inner;
        }
        case TokenKind::Name:
            return NameOrFunction(token);
        default:
            Fail(Unexpected(token));
        }
    }

    std::vector<Node> Arguments(const Token& function)
    {
        Expect(TokenKind::Open, QStringLiteral("the opening parenthesis of ") + function.text.toUpper());
        std::vector<Node> arguments;
        if (Accept(TokenKind::Close))
            return arguments;
        do
            arguments.push_back(Or());
        while (Accept(TokenKind::Comma));
        Expect(TokenKind::Close, QStringLiteral("a closing parenthesis"));
        return arguments;
    }

    void CheckCount(const Token& function, const std::vector<Node>& arguments, size_t least, size_t most)
    {
        if (arguments.size() < least || arguments.size() > most)
            Fail(QStringLiteral("%1 at position %2 takes %3 arguments")
                     .arg(function.text.toUpper())
                     .arg(function.position + 1)
                     .arg(least == most
                              ? QString::number(least)
                              : QString::number(least) + QStringLiteral(" to ") + QString::number(most)));
    }

    Node NameOrFunction(const Token& token)
    {
        if (Peek().kind == TokenKind::Open) {
            if (IsWord(token, "UPPER") || IsWord(token, "CLIP")) {
                std::vector<Node> arguments = Arguments(token);
                CheckCount(token, arguments, 1, 1);
                const Node text = AsText(arguments[0]);
                return Combine(ValueType::Text,
                               IsWord(token, "UPPER") ? QStringLiteral("jornix_upper(%1)")
                                                      : QStringLiteral("rtrim(%1, ' ')"),
                               {&text});
            }
            if (IsWord(token, "TODAY")) {
                CheckCount(token, Arguments(token), 0, 0);
                return Value(ValueType::Number, {{}, [] { return QVariant(Today()); }});
            }
            if (IsWord(token, "INSTRING")) {
                std::vector<Node> arguments = Arguments(token);
                CheckCount(token, arguments, 2, 4);
                const Node part = AsText(arguments[0]), text = AsText(arguments[1]);
                if (arguments.size() >= 3 && !IsLiteral(arguments[2], 1))
                    Fail(QStringLiteral("INSTRING at position %1 steps only by 1").arg(token.position + 1));
                if (arguments.size() < 4 || IsLiteral(arguments[3], 1))
                    return Combine(ValueType::Number, QStringLiteral("instr(%2, %1)"), {&part, &text});
                const Node& start = arguments[3];
                return Combine(ValueType::Number,
                               QStringLiteral("(CASE WHEN instr(substr(%2, %3), %1) > 0 "
                                              "THEN instr(substr(%2, %3), %1) + %3 - 1 ELSE 0 END)"),
                               {&part, &text, &start});
            }
            Fail(QStringLiteral("the function %1 at position %2 is not known")
                     .arg(token.text)
                     .arg(token.position + 1));
        }
        if (IsWord(token, "AND") || IsWord(token, "OR") || IsWord(token, "NOT"))
            Fail(Unexpected(token));
        if (const auto* bound = names_.Find(token.text)) {
            const QVariant sample = (*bound)();
            const bool text = sample.typeId() == QMetaType::QString;
            std::function<QVariant()> provider = *bound;
            if (text)
                provider = [provider] { return QVariant(StripTrailingBlanks(provider().toString())); };
            return Value(text ? ValueType::Text : ValueType::Number, {{}, provider});
        }
        const qsizetype colon = token.text.indexOf(QLatin1Char(':'));
        const int field =
            colon > 0 && token.text.left(colon).compare(table_.Prefix(), Qt::CaseInsensitive) == 0
                ? table_.FieldIndex(token.text)
                : -1;
        if (field < 0)
            Fail(QStringLiteral("the name %1 is not known").arg(token.text));
        if (table_.Field(field).type == FieldType::Blob)
            Fail(QStringLiteral("the field %1 holds bytes and cannot be used").arg(token.text));
        Node node;
        node.type = table_.Field(field).IsText() ? ValueType::Text : ValueType::Number;
        node.sql.sql = table_.ColumnSql(field);
        return node;
    }

    static bool IsLiteral(const Node& node, qlonglong value)
    {
        return node.sql.sql == QLatin1String("?") && node.sql.parameters.size() == 1 &&
               !node.sql.parameters[0].provider && node.sql.parameters[0].value.toLongLong() == value;
    }

    const QString& text_;
    const Table& table_;
    const ExpressionNames& names_;
    std::vector<Token> tokens_;
    size_t next_ = 0;
};

} // namespace

Status CompileFilter(const QString& text, const Table& table, const ExpressionNames& names,
                     SqlExpression& result)
{
    result = {};
    if (StripTrailingBlanks(text).trimmed().isEmpty())
        return {};
    Parser parser(text, table, names);
    Status status;
    SqlExpression compiled;
    if (!parser.Run(
            [&] {
                compiled = parser.Condition().sql;
                parser.ExpectEnd();
            },
            status))
        return status;
    result = std::move(compiled);
    return {};
}

Status CompileSort(const QString& text, const Table& table, const ExpressionNames& names,
                   std::vector<SqlSortTerm>& result)
{
    result.clear();
    if (text.trimmed().isEmpty())
        return {};
    Parser parser(text, table, names);
    Status status;
    std::vector<SqlSortTerm> compiled;
    if (!parser.Run([&] { compiled = parser.SortTerms(); }, status))
        return status;
    result = std::move(compiled);
    return {};
}

} // namespace jornix
