#pragma once

#include "platform/richtext/PageSettings.h"

#include <QList>
#include <QString>

namespace jornix {

struct PaperSize
{
    QString name;
    int width = 0;  // twips
    int height = 0; // twips
};

// What the Document Properties window shows and changes: the paper and the four margins in the unit, with
// the paper picked by size. No widgets, so that its rules are tested on their own.
class DocumentPropertiesModel
{
public:
    enum Value
    {
        Width,
        Height,
        Left,
        Right,
        Top,
        Bottom
    };

    DocumentPropertiesModel(const PageSettings& page, int unit);

    // "A4", "A5", "B5", "Letter", "Legal" and last "User Defined", which has no size.
    static const QList<PaperSize>& PaperTable();
    static QString UserDefined();

    int Unit() const { return unit_; }
    QString PaperName() const { return paperName_; }
    // Width and height take the paper's size; "User Defined" keeps the values shown.
    void ChoosePaper(const QString& name);

    // Values as shown, in the unit with two decimals. Typing a size leaves the paper name alone.
    double Get(Value value) const { return values_[value]; }
    void Set(Value value, double shown) { values_[value] = shown; }

    // The values shown, back in twips (rounded to whole twips).
    PageSettings Page() const;

private:
    int unit_;
    QString paperName_;
    double values_[6];
};

} // namespace jornix
