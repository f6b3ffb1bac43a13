#include "platform/sound/WaveWriter.h"

#include "platform/runtime/SafeFileWriter.h"
#include "platform/sound/WaveFile.h"

#include <QFileInfo>
#include <QFileDevice>

#include <sndfile.h>

#include <vector>

namespace jornix {
namespace {

SoundError SndfileError(SNDFILE* file)
{
    return {sf_error(file) ? sf_error(file) : SF_ERR_SYSTEM, QString::fromLocal8Bit(sf_strerror(file))};
}

// libsndfile writes into the safe writer's device; it seeks back to fill in the header's sizes.
sf_count_t DeviceLength(void* device)
{
    return static_cast<QIODevice*>(device)->size();
}

sf_count_t DeviceSeek(sf_count_t offset, int whence, void* user)
{
    auto* device = static_cast<QIODevice*>(user);
    const qint64 base = whence == SEEK_CUR ? device->pos() : whence == SEEK_END ? device->size() : 0;
    if (offset < -base || !device->seek(base + offset))
        return -1;
    return device->pos();
}

sf_count_t DeviceRead(void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t DeviceWrite(const void* data, sf_count_t count, void* device)
{
    const qint64 written = static_cast<QIODevice*>(device)->write(static_cast<const char*>(data), count);
    return written < 0 ? 0 : written;
}

sf_count_t DeviceTell(void* device)
{
    return static_cast<QIODevice*>(device)->pos();
}

SF_VIRTUAL_IO deviceIo{DeviceLength, DeviceSeek, DeviceRead, DeviceWrite, DeviceTell};

SoundError WriteError(const QString& path, const QString& reason)
{
    return {int(QFileDevice::WriteError), QStringLiteral("\"%1\" cannot be written: %2").arg(path, reason)};
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
    const QString target = QFileInfo(path).absoluteFilePath();
    temporary_ = std::make_unique<SafeFileWriter>(target);
    if (!temporary_->Open()) {
        error = WriteError(target, temporary_->Error());
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
    file_ = sf_open_virtual(&deviceIo, SFM_WRITE, &info, &temporary_->Device());
    if (!file_) {
        error = SndfileError(nullptr);
        Discard();
        return false;
    }
    path_ = target;
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
        // A refusal of the file itself says more than libsndfile's "System error".
        const QString refused = temporary_->Error();
        writeError_ = refused.isEmpty() ? SndfileError(file_) : WriteError(path_, refused);
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
    if (!temporary_->Commit()) {
        error = WriteError(path_, temporary_->Error());
        Discard();
        return false;
    }
    temporary_.reset();
    return true;
}

void WaveWriter::Discard()
{
    Close();
    temporary_.reset(); // removes the temporary file unless it was committed
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
