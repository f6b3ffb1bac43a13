#pragma once

#include "platform/sound/SoundError.h"
#include "platform/sound/WaveFormat.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Wave files as libsndfile reads them. A file it cannot read (no sound file, a damaged header) gives an error
// with libsndfile's own text, never a crash.
namespace jornix {

struct WaveInfo
{
    WaveFormat format;  // bitsPerSample is 0 for a coding without a fixed sample size
    qint64 frames = 0;  // samples per channel
    int fileFormat = 0; // libsndfile's container and coding, to write more of the same
};

std::optional<WaveInfo> ReadWaveInfo(const QString& path, SoundError* error = nullptr);

// Every sample of the file as 16-bit values, the channels interleaved.
bool ReadWaveSamples(const QString& path, WaveInfo& info, std::vector<qint16>& samples, SoundError& error);

} // namespace jornix
