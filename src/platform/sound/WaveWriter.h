#pragma once

#include "platform/sound/SoundError.h"
#include "platform/sound/WaveFormat.h"

#include <QString>
#include <QtGlobal>

#include <memory>

struct sf_private_tag;

// Writes a wave file through a temporary file beside it: the file itself changes only when Commit has written
// every byte and puts the temporary file in its place, so a recording that is discarded, fails, never ends or
// meets a full disk leaves the file as it was.
namespace jornix {

class SafeFileWriter;

class WaveWriter
{
public:
    WaveWriter();
    ~WaveWriter(); // discards what was not committed
    WaveWriter(const WaveWriter&) = delete;
    WaveWriter& operator=(const WaveWriter&) = delete;

    // A new file of the format: unsigned 8-bit or 16-bit samples.
    bool Create(const QString& path, const WaveFormat& format, SoundError& error);
    // More of the existing file: its samples first, in its own format, then what is written.
    bool Append(const QString& path, SoundError& error);

    bool IsOpen() const { return file_ != nullptr; }
    const WaveFormat& Format() const { return format_; }
    qint64 FramesWritten() const { return frames_; }

    // Interleaved 16-bit samples of the format's channels; the file keeps its own sample size.
    bool Write(const qint16* samples, qint64 frames);
    bool Commit(SoundError& error);
    void Discard();

private:
    bool Open(const QString& path, int fileFormat, const WaveFormat& format, SoundError& error);
    void Close();

    QString path_;
    std::unique_ptr<SafeFileWriter> temporary_;
    sf_private_tag* file_ = nullptr;
    WaveFormat format_;
    qint64 frames_ = 0;
    SoundError writeError_;
};

} // namespace jornix
