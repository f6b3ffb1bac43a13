#pragma once

#include "platform/sound/WaveWriter.h"

#include <QFile>

#include <vector>

// Small wave files for tests, and what a file holds.
namespace jornix::test {

// Interleaved samples that rise by the step: one recording is told apart from another.
inline std::vector<qint16> Ramp(qint64 frames, int channels, int step = 100)
{
    std::vector<qint16> samples(std::size_t(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = qint16((qint64(i) * step) % 30000);
    return samples;
}

inline bool WriteWave(const QString& path, const WaveFormat& format, qint64 frames)
{
    WaveWriter writer;
    SoundError error;
    const std::vector<qint16> samples = Ramp(frames, format.channels);
    return writer.Create(path, format, error) && writer.Write(samples.data(), frames) && writer.Commit(error);
}

inline QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace jornix::test
