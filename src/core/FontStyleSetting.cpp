#include "core/FontStyleSetting.h"

namespace jornix {
namespace {

constexpr qint32 NormalWeight = 400;
constexpr qint32 BoldWeight = 700;
constexpr qint32 WeightMask = 4095;
constexpr qint32 ItalicFlag = 4096;
constexpr qint32 UnderlineFlag = 8192;
constexpr qint32 StrikeOutFlag = 16384;

} // namespace

FontStyleSetting FontStyleSetting::Decode(qint32 kept)
{
    return {(kept & WeightMask) >= BoldWeight, (kept & ItalicFlag) != 0, (kept & UnderlineFlag) != 0,
            (kept & StrikeOutFlag) != 0};
}

qint32 FontStyleSetting::Encode() const
{
    return (bold ? BoldWeight : NormalWeight) | (italic ? ItalicFlag : 0) | (underline ? UnderlineFlag : 0) |
           (strikeOut ? StrikeOutFlag : 0);
}

} // namespace jornix
