#include "documents/TXEdit.h"

#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/store/Expression.h"
#include "platform/store/ExpressionEvaluator.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <QSet>
#include <QTextCursor>

namespace jornix {
namespace {

bool isMarker(const TextField& field)
{
    return StripTrailingBlanks(field.data) == QLatin1String(TXEdit::FirstTokenMarker);
}

bool isMergeField(const TextField& field)
{
    return field.type == 0 && !isMarker(field);
}

QString tokenName(const QString& data)
{
    return StripTrailingBlanks(data).toUpper().left(TXEdit::TokenNameWidth);
}

// Tokens in these brackets name a row of the merge token table.
bool namesTableRow(const QString& token)
{
    return token.startsWith(QLatin1String("<<")) || token.startsWith(QLatin1String("{{")) ||
           token.startsWith(QLatin1String("(("));
}

} // namespace

void TXEdit::InsertMergeToken(const QString& token, const QString& displayText)
{
    if (!text_)
        return;
    TextFields& fields = text_->Fields();
    bool first = true;
    for (const TextField& field : fields.All())
        first = first && field.type != 0;
    QTextCursor cursor = text_->textCursor();
    cursor.beginEditBlock();
    quint32 marker = 0;
    if (first) {
        marker = fields.Insert(cursor, QStringLiteral(" "));
        fields.SetData(marker, QLatin1String(FirstTokenMarker));
    }
    fields.SetData(fields.Insert(cursor, StripTrailingBlanks(displayText)), token);
    if (marker)
        fields.Remove(marker); // its blank stays
    cursor.endEditBlock();
    text_->setTextCursor(cursor);
    text_->setFocus();
}

void TXEdit::CollectTokens()
{
    tokens_.clear();
    if (!text_)
        return;
    QSet<QString> seen;
    for (const TextField& field : text_->Fields().All()) {
        if (!isMergeField(field))
            continue;
        const QString name = tokenName(field.data);
        if (!seen.contains(name)) {
            seen.insert(name);
            tokens_.append({name, QString()});
        }
    }
}

QString TXEdit::GetTokenName(int row) const
{
    return row >= 1 && row <= tokens_.size() ? tokens_[row - 1].name : QStringLiteral("0");
}

QString TXEdit::GetTokenValue(int row) const
{
    return row >= 1 && row <= tokens_.size() ? tokens_[row - 1].value : QStringLiteral("0");
}

void TXEdit::setMergeFieldTexts(const std::function<std::optional<QString>(const TextField&)>& textOf)
{
    if (!text_)
        return;
    TextFields& fields = text_->Fields();
    const bool updates = text_->updatesEnabled();
    text_->setUpdatesEnabled(false);
    QTextCursor edit(text_->document());
    edit.beginEditBlock();
    for (const TextField& field : fields.All()) {
        if (!isMergeField(field))
            continue;
        if (const std::optional<QString> text = textOf(field); text && *text != field.text)
            fields.SetText(field.id, *text);
    }
    edit.endEditBlock();
    text_->setUpdatesEnabled(updates);
}

void TXEdit::ShowTokenNames()
{
    setMergeFieldTexts([](const TextField& field) -> std::optional<QString> {
        return QStringLiteral("<<") + StripTrailingBlanks(field.data) + QStringLiteral(">>");
    });
}

void TXEdit::SetMergeFieldText(const QString& token, const QString& text)
{
    const QString wanted = StripTrailingBlanks(token);
    setMergeFieldTexts([&](const TextField& field) -> std::optional<QString> {
        if (StripTrailingBlanks(field.data).compare(wanted, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return text;
    });
}

void TXEdit::ReplaceFieldText(const QString& oldText, const QString& newText)
{
    setMergeFieldTexts([&](const TextField& field) -> std::optional<QString> {
        if (field.text.compare(oldText, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return newText;
    });
}

void TXEdit::EvaluateMergeTokens()
{
    CollectTokens();
    const Record noRecord;
    const Record& record = mailFileName_ ? mailFileName_->Buffer() : noRecord;
    const ExpressionNames names;
    const ExpressionEvaluator evaluator(RecordNames(record, names), ExpressionFunctions::Filter());
    for (MergeToken& token : tokens_) {
        QString expression = token.name;
        if (namesTableRow(token.name) && !mergeTable_.ReplacementText(token.name, expression))
            continue;
        ExpressionTree tree;
        ExpressionValue value;
        if (!ParseExpression(expression, ExpressionDialect::Formula, tree) ||
            !evaluator.Evaluate(tree, value))
            continue;
        const QString text = (value.IsText() ? value.text : value.AsText()).left(MergeTextWidth);
        token.value = text.left(TokenValueWidth);
        SetMergeFieldText(token.name, text);
    }
}

bool TXEdit::OpenMergeTable(const QString& fileName, QString* error)
{
    const Status status = mergeTable_.Open(fileName);
    if (!status && error)
        *error = status.Message();
    return status.Ok();
}

void TXEdit::CloseMergeTable()
{
    mergeTable_.Close();
}

} // namespace jornix
