#include "platform/reportengine/ReportItems.h"

namespace jornix {

ReportItemKind KindOfType(quint32 type)
{
    // A stored code may combine bits: the rarer kinds are tested first.
    if (type & ReportItemType::Barcode)
        return ReportItemKind::Barcode;
    if (type & ReportItemType::Drawing)
        return ReportItemKind::Drawing;
    if (type & ReportItemType::Date)
        return ReportItemKind::Date;
    if (type & ReportItemType::Boolean)
        return ReportItemKind::Boolean;
    if (type & ReportItemType::Numeric)
        return ReportItemKind::Numeric;
    return ReportItemKind::Text;
}

bool ReportItems::Declare(const QString& name, const QString& value, quint32 type, QString* error)
{
    QString problem;
    if (name.trimmed().isEmpty())
        problem = QStringLiteral("An item needs a name.");
    else if (name.size() > MaxNameLength)
        problem = QStringLiteral("The item name \"%1...\" is longer than %2 characters.")
                      .arg(name.left(40))
                      .arg(MaxNameLength);
    else if (value.size() > MaxValueLength)
        problem = QStringLiteral("The value of the item \"%1\" is longer than %2 characters.")
                      .arg(name)
                      .arg(MaxValueLength);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    const QString key = name.toCaseFolded();
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        entries_.insert(key, {value, type});
        names_.append(name);
    } else {
        *found = {value, type};
    }
    return true;
}

void ReportItems::Clear()
{
    entries_.clear();
    names_.clear();
}

std::optional<ReportItemValue> ReportItems::Lookup(const QString& name) const
{
    const auto found = entries_.constFind(name.toCaseFolded());
    if (found == entries_.constEnd())
        return std::nullopt;
    return *found;
}

QString ReportItems::Value(const QString& name) const
{
    const auto found = entries_.constFind(name.toCaseFolded());
    return found == entries_.constEnd() ? QString() : found->value;
}

bool ReportItems::IsDeclared(const QString& name) const
{
    return entries_.contains(name.toCaseFolded());
}

} // namespace jornix
