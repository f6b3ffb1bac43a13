#include "platform/store/ExpressionTree.h"

namespace jornix {

QString AtPosition(qsizetype position)
{
    return QStringLiteral("at position %1").arg(position + 1);
}

bool IsNumberLiteral(const ExpressionNode& node, qlonglong value)
{
    bool ok = false;
    return node.kind == ExpressionNode::Kind::Number && node.text.toLongLong(&ok) == value && ok;
}

Status ExpressionProblem(const QString& source, ExpressionDialect dialect, const QString& reason)
{
    return Status(StoreError::BadExpression,
                  QStringLiteral("The %1 \"%2\" is not valid: %3.")
                      .arg(dialect == ExpressionDialect::Formula ? QStringLiteral("formula")
                                                                 : QStringLiteral("expression"),
                           source, reason));
}

namespace {

using Kind = ExpressionNode::Kind;

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
    Minus,
    Star,
    Slash,
    Ampersand
};

struct Token
{
    TokenKind kind = TokenKind::End;
    QString text; // as written; for a Text token, its value
    qsizetype position = 0;
};

struct ParseError
{
    QString reason;
};

class Parser
{
public:
    Parser(const QString& text, ExpressionDialect dialect) : text_(text), dialect_(dialect) {}

    template <typename Body> Status Run(Body body)
    {
        // Parsing stays inside this function; no exception leaves the store.
        try {
            Tokenize();
            body();
            return {};
        } catch (const ParseError& error) {
            return ExpressionProblem(text_, dialect_, error.reason);
        }
    }

    ExpressionNode Whole()
    {
        ExpressionNode node = Or();
        ExpectEnd();
        return node;
    }

    std::vector<ExpressionSortTerm> SortTerms()
    {
        std::vector<ExpressionSortTerm> terms;
        do {
            bool descending = false;
            if (Peek().kind == TokenKind::Plus || Peek().kind == TokenKind::Minus)
                descending = Next().kind == TokenKind::Minus;
            terms.push_back({Or(), descending});
        } while (Accept(TokenKind::Comma));
        ExpectEnd();
        return terms;
    }

private:
    bool Formula() const { return dialect_ == ExpressionDialect::Formula; }

    [[noreturn]] static void Fail(const QString& reason) { throw ParseError{reason}; }

    static QString Unexpected(const Token& token)
    {
        if (token.kind == TokenKind::End)
            return QStringLiteral("it ends too early %1").arg(AtPosition(token.position));
        return QStringLiteral("\"%1\" %2 is not expected")
            .arg(token.kind == TokenKind::Text ? QStringLiteral("'") + token.text + QStringLiteral("'")
                                               : token.text,
                 AtPosition(token.position));
    }

    void ExpectEnd()
    {
        if (Peek().kind == TokenKind::Close)
            Fail(QStringLiteral("a closing parenthesis %1 has no opening one")
                     .arg(AtPosition(Peek().position)));
        if (Peek().kind != TokenKind::End)
            Fail(Unexpected(Peek()));
    }

    bool NameStart(qsizetype at) const
    {
        return at < text_.size() && (text_.at(at).isLetter() || text_.at(at) == QLatin1Char('_'));
    }
    bool NameChar(qsizetype at) const
    {
        return at < text_.size() && (text_.at(at).isLetterOrNumber() || text_.at(at) == QLatin1Char('_'));
    }

    // A text in quotes starting at `at`; a quote doubled inside stands for itself.
    qsizetype QuotedText(qsizetype at, QString& value) const
    {
        const QChar quote = text_.at(at);
        qsizetype end = at + 1;
        while (true) {
            if (end >= text_.size())
                Fail(QStringLiteral("the text starting %1 has no closing quote").arg(AtPosition(at)));
            if (text_.at(end) == quote) {
                if (end + 1 < text_.size() && text_.at(end + 1) == quote) {
                    value += quote;
                    end += 2;
                    continue;
                }
                return end + 1;
            }
            value += text_.at(end++);
        }
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
            } else if (c == QLatin1Char('\'') || (Formula() && c == QLatin1Char('"'))) {
                token.kind = TokenKind::Text;
                at = QuotedText(at, token.text);
            } else if (NameStart(at)) {
                qsizetype end = at;
                while (NameChar(end))
                    ++end;
                if (text_.mid(end, 1) == QLatin1String(":") && NameStart(end + 1)) {
                    ++end;
                    while (NameChar(end))
                        ++end;
                }
                // Prefix.Field names and function names such as Date$.
                while (Formula() && text_.mid(end, 1) == QLatin1String(".") && NameStart(end + 1)) {
                    ++end;
                    while (NameChar(end))
                        ++end;
                }
                if (Formula() && text_.mid(end, 1) == QLatin1String("$"))
                    ++end;
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
                static const QString singles = QStringLiteral("(),~+-*/&");
                static const TokenKind kinds[] = {TokenKind::Open,  TokenKind::Close, TokenKind::Comma,
                                                  TokenKind::Tilde, TokenKind::Plus,  TokenKind::Minus,
                                                  TokenKind::Star,  TokenKind::Slash, TokenKind::Ampersand};
                const qsizetype which = singles.indexOf(c);
                // Filters know no arithmetic and no joining.
                if (which < 0 || (!Formula() && which > 5))
                    Fail(QStringLiteral("the character \"%1\" %2 is not allowed").arg(c).arg(AtPosition(at)));
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
    static bool IsWord(const Token& token, const char* word)
    {
        return token.kind == TokenKind::Name &&
               token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    // Counts one level of nesting for as long as it lives.
    class Level
    {
    public:
        Level(Parser& parser, qsizetype position) : parser_(parser)
        {
            if (++parser_.depth_ > MaxExpressionDepth)
                Fail(QStringLiteral("it nests deeper than %1 levels %2")
                         .arg(MaxExpressionDepth)
                         .arg(AtPosition(position)));
        }
        ~Level() { --parser_.depth_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        Parser& parser_;
    };

    static ExpressionNode Make(Kind kind, qsizetype position, QString text = {},
                               std::vector<ExpressionNode> operands = {})
    {
        ExpressionNode node;
        node.kind = kind;
        node.position = position;
        node.text = std::move(text);
        node.operands = std::move(operands);
        return node;
    }

    // Operands joined by one operator, gathered into one node so that long chains stay flat.
    template <typename Operand, typename IsOperator>
    ExpressionNode Chain(Kind kind, Operand operand, IsOperator isOperator)
    {
        ExpressionNode first = operand();
        if (!isOperator(Peek()))
            return first;
        ExpressionNode node = Make(kind, first.position);
        node.operators = QStringLiteral(" ");
        node.operands.push_back(std::move(first));
        while (isOperator(Peek())) {
            node.operators += Next().text.left(1);
            node.operands.push_back(operand());
        }
        return node;
    }

    ExpressionNode Or()
    {
        const Level level(*this, Peek().position);
        return Chain(
            Kind::Or, [this] { return And(); }, [](const Token& t) { return IsWord(t, "OR"); });
    }

    ExpressionNode And()
    {
        return Chain(
            Kind::And, [this] { return Not(); }, [](const Token& t) { return IsWord(t, "AND"); });
    }

    ExpressionNode Not()
    {
        if (IsWord(Peek(), "NOT") || Peek().kind == TokenKind::Tilde) {
            const Token token = Next();
            const Level level(*this, token.position);
            return Make(Kind::Not, token.position, {}, {Not()});
        }
        return Comparison();
    }

    ExpressionNode Comparison()
    {
        ExpressionNode left = Join();
        if (Peek().kind == TokenKind::Tilde) {
            const Token token = Next();
            return Make(Kind::Contains, token.position, token.text, {std::move(left), Join()});
        }
        if (Peek().kind != TokenKind::Compare)
            return left;
        const Token token = Next();
        return Make(Kind::Compare, token.position, token.text, {std::move(left), Join()});
    }

    ExpressionNode Join()
    {
        return Chain(
            Kind::Join, [this] { return Sum(); },
            [](const Token& t) { return t.kind == TokenKind::Ampersand; });
    }

    ExpressionNode Sum()
    {
        // In a filter, + and - only ever stand in front (sort terms, negative numbers).
        return Chain(
            Kind::Arithmetic, [this] { return Product(); },
            [this](const Token& t) {
                return Formula() && (t.kind == TokenKind::Plus || t.kind == TokenKind::Minus);
            });
    }

    ExpressionNode Product()
    {
        return Chain(
            Kind::Arithmetic, [this] { return Unary(); },
            [](const Token& t) { return t.kind == TokenKind::Star || t.kind == TokenKind::Slash; });
    }

    ExpressionNode Unary()
    {
        if (Formula() && Peek().kind == TokenKind::Minus) {
            const Token token = Next();
            const Level level(*this, token.position);
            return Make(Kind::Negate, token.position, {}, {Unary()});
        }
        return Operand();
    }

    ExpressionNode Operand()
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
            number.toDouble(&ok);
            if (!ok)
                Fail(QStringLiteral("\"%1\" %2 is not a number").arg(number, AtPosition(token.position)));
            return Make(Kind::Number, token.position, number);
        }
        case TokenKind::Text:
            return Make(Kind::Text, token.position, token.text);
        case TokenKind::Open: {
            ExpressionNode inner = Or();
            if (Peek().kind != TokenKind::Close)
                Fail(Peek().kind == TokenKind::End ? QStringLiteral("a closing parenthesis is missing %1")
                                                         .arg(AtPosition(Peek().position))
                                                   : Unexpected(Peek()));
            Next();
            return inner;
        }
        case TokenKind::Name:
            if (Peek().kind == TokenKind::Open)
                return Call(token);
            if (IsWord(token, "AND") || IsWord(token, "OR") || IsWord(token, "NOT"))
                Fail(Unexpected(token));
            return Make(Kind::Name, token.position, token.text);
        default:
            Fail(Unexpected(token));
        }
    }

    ExpressionNode Call(const Token& function)
    {
        Next(); // the opening parenthesis
        ExpressionNode node = Make(Kind::Call, function.position, function.text);
        if (Accept(TokenKind::Close))
            return node;
        do
            node.operands.push_back(Or());
        while (Accept(TokenKind::Comma));
        if (Peek().kind != TokenKind::Close)
            Fail(Peek().kind == TokenKind::End
                     ? QStringLiteral("a closing parenthesis is missing %1").arg(AtPosition(Peek().position))
                     : Unexpected(Peek()));
        Next();
        return node;
    }

    const QString& text_;
    const ExpressionDialect dialect_;
    std::vector<Token> tokens_;
    size_t next_ = 0;
    int depth_ = 0;
};

} // namespace

Status ParseExpression(const QString& text, ExpressionDialect dialect, ExpressionTree& tree)
{
    ExpressionTree parsed;
    parsed.source = text;
    parsed.dialect = dialect;
    Parser parser(text, dialect);
    if (Status status = parser.Run([&] { parsed.root = parser.Whole(); }); !status)
        return status;
    tree = std::move(parsed);
    return {};
}

Status ParseSortTerms(const QString& text, std::vector<ExpressionSortTerm>& terms)
{
    Parser parser(text, ExpressionDialect::Filter);
    std::vector<ExpressionSortTerm> parsed;
    if (Status status = parser.Run([&] { parsed = parser.SortTerms(); }); !status)
        return status;
    terms = std::move(parsed);
    return {};
}

} // namespace jornix
