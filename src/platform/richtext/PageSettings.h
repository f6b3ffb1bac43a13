#pragma once

// The page of a rich-text document, every value in twips (1/1440 inch).
namespace jornix {

// Lengths inside a document (indents, spacing, tab stops, picture and column sizes) are in layout units of
// 1/96 inch, as the editor shows them; a layout unit is 15 twips.
constexpr int TwipsPerLayoutUnit = 15;

struct PageSettings
{
    int width = 0;
    int height = 0;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;

    bool operator==(const PageSettings&) const = default;
};

} // namespace jornix
