#include "documents/DocumentPropertiesModel.h"

#include "documents/MeasurementUnits.h"

#include <cmath>

namespace jornix {

const QList<PaperSize>& DocumentPropertiesModel::PaperTable()
{
    static const QList<PaperSize> table = {
        {QStringLiteral("A4"), 11906, 16837},    {QStringLiteral("A5"), 8418, 11906},
        {QStringLiteral("B5"), 9978, 14174},     {QStringLiteral("Letter"), 12240, 15840},
        {QStringLiteral("Legal"), 12240, 20160}, {UserDefined(), 0, 0},
    };
    return table;
}

QString DocumentPropertiesModel::UserDefined()
{
    return QStringLiteral("User Defined");
}

DocumentPropertiesModel::DocumentPropertiesModel(const PageSettings& page, int unit)
    : unit_(unit), paperName_(UserDefined())
{
    values_[Width] = TwipsToUnits(page.width, unit);
    values_[Height] = TwipsToUnits(page.height, unit);
    values_[Left] = TwipsToUnits(page.marginLeft, unit);
    values_[Right] = TwipsToUnits(page.marginRight, unit);
    values_[Top] = TwipsToUnits(page.marginTop, unit);
    values_[Bottom] = TwipsToUnits(page.marginBottom, unit);

    // The paper whose size the shown values, back in twips, are within 5 twips of; the first one wins.
    const double width = UnitsToTwips(values_[Width], unit);
    const double height = UnitsToTwips(values_[Height], unit);
    for (const PaperSize& paper : PaperTable()) {
        if (paper.name != UserDefined() && std::abs(width - paper.width) < 5 &&
            std::abs(height - paper.height) < 5) {
            paperName_ = paper.name;
            break;
        }
    }
}

void DocumentPropertiesModel::ChoosePaper(const QString& name)
{
    for (const PaperSize& paper : PaperTable()) {
        if (paper.name != name)
            continue;
        paperName_ = name;
        if (name != UserDefined()) {
            values_[Width] = TwipsToUnits(paper.width, unit_);
            values_[Height] = TwipsToUnits(paper.height, unit_);
        }
        return;
    }
}

PageSettings DocumentPropertiesModel::Page() const
{
    auto twips = [this](Value value) { return int(std::lround(UnitsToTwips(values_[value], unit_))); };
    return {twips(Width), twips(Height), twips(Left), twips(Top), twips(Right), twips(Bottom)};
}

} // namespace jornix
