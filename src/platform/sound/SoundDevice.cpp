#include "platform/sound/SoundDevice.h"

#include "platform/sound/DesktopSoundDevice.h"

namespace jornix {
namespace {

SoundDeviceFactory& Factory()
{
    static SoundDeviceFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<SoundDevice> MakeSoundDevice()
{
    if (Factory())
        return Factory()();
    return std::make_unique<DesktopSoundDevice>();
}

void SetSoundDeviceFactory(SoundDeviceFactory factory)
{
    Factory() = std::move(factory);
}

} // namespace jornix
