#include "platform/sound/WaveFile.h"

#include <QFile>

#include <sndfile.h>

namespace jornix {
namespace {

int BitsOf(int fileFormat)
{
    switch (fileFormat & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return 8;
    case SF_FORMAT_PCM_16:
        return 16;
    case SF_FORMAT_PCM_24:
        return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 32;
    case SF_FORMAT_DOUBLE:
        return 64;
    default:
        return 0;
    }
}

SNDFILE* OpenForReading(const QString& path, SF_INFO& info, SoundError* error)
{
    info = SF_INFO{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file && error)
        *error = {sf_error(nullptr), QString::fromLocal8Bit(sf_strerror(nullptr))};
    return file;
}

} // namespace

std::optional<WaveInfo> ReadWaveInfo(const QString& path, SoundError* error)
{
    SF_INFO info;
    SNDFILE* file = OpenForReading(path, info, error);
    if (!file)
        return std::nullopt;
    sf_close(file);
    return WaveInfo{{info.channels, info.samplerate, BitsOf(info.format)}, info.frames, info.format};
}

bool ReadWaveSamples(const QString& path, WaveInfo& wave, std::vector<qint16>& samples, SoundError& error)
{
    SF_INFO info;
    SNDFILE* file = OpenForReading(path, info, &error);
    if (!file)
        return false;
    wave = {{info.channels, info.samplerate, BitsOf(info.format)}, info.frames, info.format};
    samples.assign(std::size_t(info.frames) * std::size_t(info.channels), 0);
    const sf_count_t read = sf_readf_short(file, samples.data(), info.frames);
    samples.resize(std::size_t(std::max<sf_count_t>(read, 0)) * std::size_t(info.channels));
    sf_close(file);
    return true;
}

} // namespace jornix
