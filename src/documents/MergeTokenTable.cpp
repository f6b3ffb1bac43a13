#include "documents/MergeTokenTable.h"

#include "platform/store/TextValues.h"

namespace jornix {

MergeTokenTable::MergeTokenTable() : table_(Declare(catalogue_, 0)) {}

MergeTokenTable::~MergeTokenTable()
{
    Close();
}

Table& MergeTokenTable::Declare(Catalogue& catalogue, int fileAttributes)
{
    const int searchKey = KeyFlag::Dup | KeyFlag::Opt | KeyFlag::NoCase;
    return catalogue
        .AddTable(QStringLiteral("MRG:"), QString(), QStringLiteral("MergeTokens"), fileAttributes)
        .AddString(QStringLiteral("Description"), 50)
        .AddString(QStringLiteral("ReplacementText"), 500)
        .AddString(QStringLiteral("Token"), 100)
        .AddString(QStringLiteral("FieldName"), 100)
        .AddByte(QStringLiteral("IsDeveloperOnly"))
        .AddKey(QStringLiteral("K_Description"), {QStringLiteral("Description")},
                KeyFlag::Dup | KeyFlag::NoCase, QStringLiteral("by Description"))
        .AddKey(QStringLiteral("K_Token"), {QStringLiteral("Token")}, searchKey, QStringLiteral("by Token"))
        .AddKey(QStringLiteral("K_FieldName"), {QStringLiteral("FieldName")}, searchKey,
                QStringLiteral("by Field Name"));
}

Status MergeTokenTable::Open(const QString& fileName)
{
    Close();
    table_.SetFilePath(StripTrailingBlanks(fileName));
    return table_.Open();
}

void MergeTokenTable::Close()
{
    if (table_.OpenCount() > 0)
        table_.Close();
}

bool MergeTokenTable::IsOpen() const
{
    return table_.OpenCount() > 0;
}

bool MergeTokenTable::ReplacementText(const QString& token, QString& text)
{
    if (!IsOpen())
        return false;
    table_.ClearBuffer();
    table_.Buffer().SetValue(QStringLiteral("MRG:Token"), token);
    if (!table_.Fetch(table_.KeyIndex(QStringLiteral("MRG:K_Token"))))
        return false;
    text = table_.Buffer().Text(table_.RequireField(QStringLiteral("MRG:ReplacementText")));
    return true;
}

} // namespace jornix
