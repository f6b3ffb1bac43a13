#include "platform/sound/WaveWriter.h"

#include "platform/sound/WaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace jornix {
namespace {

SoundError SndfileError(SNDFILE* file)
{
    return {sf_error(file) ? sf_error(file) : SF_ERR_SYSTEM, QString::fromLocal8Bit(sf_strerror(file))};
}

} // namespace

WaveWriter::WaveWriter() = default;

WaveWriter::~WaveWriter()
{
    Discard();
}

bool WaveWriter::Create(const QString& path, const WaveFormat& format, SoundError& error)
{
    const int coding = format.bitsPerSample == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16;
    WaveFormat written = format;
    written.bitsPerSample = format.bitsPerSample == 8 ? 8 : 16;
    return Open(path, SF_FORMAT_WAV | coding, written, error);
}

bool WaveWriter::Append(const QString& path, SoundError& error)
{
    WaveInfo info;
    std::vector<qint16> samples;
    if (!ReadWaveSamples(path, info, samples, error))
        return false;
    if (!Open(path, info.fileFormat, info.format, error))
        return false;
    if (!Write(samples.data(), qint64(samples.size()) / info.format.channels)) {
        error = writeError_;
        Discard();
        return false;
    }
    frames_ = 0;
    return true;
}

bool WaveWriter::Open(const QString& path, int fileFormat, const WaveFormat& format, SoundError& error)
{
    Discard();
    // The temporary file lies in the file's own folder, so that the rename never crosses file systems.
    const QFileInfo target(path);
    temporary_ = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                  target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary_->open()) {
        error = {int(temporary_->error()), temporary_->errorString()};
        temporary_.reset();
        return false;
    }
    SF_INFO info{};
    info.channels = format.channels;
    info.samplerate = format.samplesPerSecond;
    info.format = fileFormat;
    if (!sf_format_check(&info)) {
        error = {SF_ERR_UNSUPPORTED_ENCODING, QStringLiteral("The sound format cannot be written.")};
        Discard();
        return false;
    }
    file_ = sf_open_fd(temporary_->handle(), SFM_WRITE, &info, SF_FALSE);
    if (!file_) {
        error = SndfileError(nullptr);
        Discard();
        return false;
    }
    path_ = target.absoluteFilePath();
    format_ = format;
    frames_ = 0;
    writeError_ = {};
    return true;
}

bool WaveWriter::Write(const qint16* samples, qint64 frames)
{
    if (!file_ || writeError_)
        return false;
    if (frames <= 0)
        return true;
    if (sf_writef_short(file_, samples, frames) != frames) {
        writeError_ = SndfileError(file_);
        return false;
    }
    frames_ += frames;
    return true;
}

bool WaveWriter::Commit(SoundError& error)
{
    if (!file_) {
        error = {SF_ERR_SYSTEM, QStringLiteral("Nothing was recorded.")};
        return false;
    }
    if (writeError_) {
        error = writeError_;
        Discard();
        return false;
    }
    Close();
    if (!temporary_->flush()) {
        error = {int(temporary_->error()), temporary_->errorString()};
        Discard();
        return false;
    }
    // The new file keeps the old one's permissions; rename() replaces the old file in one step, so a reader
    // sees the old file or the new one, never half of either.
    if (QFileInfo::exists(path_))
        temporary_->setPermissions(QFile::permissions(path_));
    else
        temporary_->setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::ReadOther);
    if (std::rename(QFile::encodeName(temporary_->fileName()).constData(),
                    QFile::encodeName(path_).constData()) != 0) {
        error = {errno, QString::fromLocal8Bit(std::strerror(errno))};
        Discard();
        return false;
    }
    temporary_->setAutoRemove(false);
    temporary_.reset();
    return true;
}

void WaveWriter::Discard()
{
    Close();
    temporary_.reset(); // removes the temporary file
    frames_ = 0;
}

void WaveWriter::Close()
{
    if (file_) {
        sf_close(file_);
        file_ = nullptr;
    }
}

} // namespace jornix
