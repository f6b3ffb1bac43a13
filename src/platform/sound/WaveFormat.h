#pragma once

// The layout of the samples of a recording: channels, samples per second and bits per sample.
namespace jornix {

struct WaveFormat
{
    int channels = 1;
    int samplesPerSecond = 11025;
    int bitsPerSample = 8;

    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

} // namespace jornix
