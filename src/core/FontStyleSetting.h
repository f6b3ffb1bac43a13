#pragma once

#include <QtGlobal>

namespace jornix {

// The style of the notes' default font as the settings keep it (GLO:DefFontStyle): the weight in the low
// twelve bits (400 plain, 700 bold, up to 1000), with a flag each for italic, underline and strike-through
// above them. Any weight from bold up reads as bold.
struct FontStyleSetting
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static FontStyleSetting Decode(qint32 kept);
    qint32 Encode() const;
    bool operator==(const FontStyleSetting&) const = default;
};

} // namespace jornix
