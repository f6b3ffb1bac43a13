#pragma once

// The page of a rich-text document, every value in twips (1/1440 inch).
namespace jornix {

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
