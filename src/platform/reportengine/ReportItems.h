#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The named values a layout sees: the variables and the fields that the program declares to a job. A name
// has at most MaxNameLength characters and is found without regard to case; declaring a name again replaces
// its value and type but keeps its place in the order of declaration. A name never declared reads as an
// empty text, which is never an error: layouts are shared between program versions and name what they like.
namespace jornix {

// Type codes of items, as the program passes them. The engine looks only at these bits; a code with none of
// them is treated as text.
namespace ReportItemType {
constexpr quint32 Text = 0x10000000;
constexpr quint32 Numeric = 0x08000000;
constexpr quint32 Date = 0x04000000; // the value is a Julian day number, its fraction the time of day
constexpr quint32 Boolean = 0x02000000;
constexpr quint32 Drawing = 0x20000000; // the value names a picture file
constexpr quint32 Barcode = 0x40000000;
} // namespace ReportItemType

enum class ReportItemKind
{
    Text,
    Numeric,
    Date,
    Boolean,
    Drawing,
    Barcode
};

// The kind a type code stands for; codes without a known bit are text.
ReportItemKind KindOfType(quint32 type);

struct ReportItemValue
{
    QString value;
    quint32 type = ReportItemType::Text;
    bool operator==(const ReportItemValue&) const = default;
};

class ReportItems
{
public:
    static constexpr int MaxNameLength = 120;
    // Memos and the plain text of a long document fit easily; a value beyond this is a caller's error.
    static constexpr int MaxValueLength = 4 * 1024 * 1024;

    // Declares or replaces an item. An empty or overlong name or an overlong value is refused with a message
    // in `error`, and nothing changes.
    bool Declare(const QString& name, const QString& value, quint32 type, QString* error = nullptr);
    void Clear();

    // The item's value and type; nothing for a name never declared.
    std::optional<ReportItemValue> Lookup(const QString& name) const;
    // The item's value text; empty for a name never declared.
    QString Value(const QString& name) const;
    bool IsDeclared(const QString& name) const;

    // Names as first declared, in the order of declaration.
    const QStringList& Names() const { return names_; }
    int Count() const { return int(names_.size()); }

private:
    QHash<QString, ReportItemValue> entries_; // by case-folded name
    QStringList names_;
};

} // namespace jornix
