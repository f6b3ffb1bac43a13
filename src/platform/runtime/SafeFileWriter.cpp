#include "platform/runtime/SafeFileWriter.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace jornix {

// Writes straight to the temporary file's descriptor, without Qt's buffer, so that every refused byte is seen
// when it is written, with the system's reason.
class SafeFileWriter::Output : public QIODevice
{
public:
    explicit Output(int descriptor) : descriptor_(descriptor) {}

    bool isSequential() const override { return false; }
    qint64 size() const override
    {
        struct stat status;
        return fstat(descriptor_, &status) == 0 ? qint64(status.st_size) : 0;
    }
    bool seek(qint64 position) override
    {
        if (position < 0 || !QIODevice::seek(position) || lseek(descriptor_, position, SEEK_SET) != position)
            return Refuse(errno ? errno : EINVAL);
        return true;
    }

    // The first reason a write was refused; empty while every byte was written.
    const QString& Failure() const { return failure_; }
    bool Refuse(int error)
    {
        if (failure_.isEmpty())
            failure_ = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (!failure_.isEmpty())
            return -1;
        qint64 written = 0;
        while (written < size) {
            const ssize_t n = ::write(descriptor_, data + written, std::size_t(size - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                Refuse(n < 0 ? errno : ENOSPC);
                return -1;
            }
            written += n;
        }
        return written;
    }

private:
    int descriptor_;
    QString failure_;
};

SafeFileWriter::SafeFileWriter(const QString& path) : path_(path), file_(path) {}

SafeFileWriter::~SafeFileWriter()
{
    Cancel();
}

bool SafeFileWriter::WriteWhole(const QString& path, const QByteArray& bytes, QString& reason)
{
    SafeFileWriter writer(path);
    if (writer.Open() && writer.Write(bytes) && writer.Commit())
        return true;
    reason = writer.Error();
    return false;
}

bool SafeFileWriter::Open()
{
    failed_ = false;
    error_.clear();
    if (path_.isEmpty())
        return Fail(QStringLiteral("No file name was given"));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(file_.errorString());
    output_ = std::make_unique<Output>(file_.handle());
    output_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

QIODevice& SafeFileWriter::Device()
{
    // A writer that was never opened gets a device that refuses everything.
    if (!output_)
        output_ = std::make_unique<Output>(-1);
    return *output_;
}

bool SafeFileWriter::Write(const QByteArray& bytes)
{
    return Write(bytes.constData(), bytes.size());
}

bool SafeFileWriter::Write(const char* data, qint64 size)
{
    if (failed_)
        return false;
    if (!file_.isOpen())
        return Fail(QStringLiteral("The file is not open"));
    if (size > 0 && output_->write(data, size) != size)
        return Fail(output_->Failure());
    return true;
}

bool SafeFileWriter::Commit()
{
    if (!failed_ && !file_.isOpen())
        Fail(QStringLiteral("The file is not open"));
    if (!failed_ && !output_->Failure().isEmpty())
        Fail(output_->Failure());
    // A file system that reports a full disk only when the data is flushed to it reports it here; one that
    // cannot sync at all is no failure.
    if (!failed_ && fsync(file_.handle()) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
        Fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (failed_) {
        Cancel();
        return false;
    }
    output_.reset();
    if (!file_.commit())
        return Fail(file_.errorString());
    return true;
}

void SafeFileWriter::Cancel()
{
    if (!file_.isOpen())
        return;
    // What the device refused is kept as the reason, for a writer that only knows that it failed.
    if (output_ && !output_->Failure().isEmpty())
        Fail(output_->Failure());
    Fail(QStringLiteral("The file was not finished"));
    output_.reset();
    // A cancelled commit removes the temporary file and leaves the target alone.
    file_.cancelWriting();
    file_.commit();
}

QString SafeFileWriter::Error() const
{
    if (failed_ || !output_)
        return error_;
    return output_->Failure();
}

bool SafeFileWriter::Fail(const QString& reason)
{
    if (!failed_) {
        failed_ = true;
        error_ = reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
    }
    return false;
}

} // namespace jornix
