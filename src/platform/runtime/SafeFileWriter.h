#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace jornix {

// The one way the program writes a file that replaces another: the bytes go to a temporary file beside the
// target, every byte is checked to have reached it, it is synced, and only then does it take the target's place
// in one rename. A write that fails anywhere (a full disk, a file-size limit, a folder that cannot be written)
// removes the temporary file and leaves the old file byte for byte as it was; Error() then says why, in the
// system's words ("No space left on device").
//
// QSaveFile alone is not enough: its commit() answers true when the last buffered bytes could not be written
// out, a short write without an error is not remembered, and the target is then replaced by a cut file.
class SafeFileWriter
{
public:
    explicit SafeFileWriter(const QString& path);
    ~SafeFileWriter(); // removes the temporary file unless committed
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Writes the whole file at once; false with the reason in `reason`.
    static bool WriteWhole(const QString& path, const QByteArray& bytes, QString& reason);

    bool Open();
    // The temporary file, for writers that stream into a device (a PDF writer, an image, a sound file). It
    // may be seeked; a write it refuses, in whole or in part, makes Commit fail even when the writer that
    // streams into it does not look at the answer.
    QIODevice& Device();
    bool Write(const QByteArray& bytes);
    bool Write(const char* data, qint64 size);
    // Checks that every byte reached the file and replaces the target with it.
    bool Commit();
    // Gives the file up: the target stays as it was.
    void Cancel();

    const QString& Path() const { return path_; }
    // Why the write failed; also, before Commit, why the device refused a write.
    QString Error() const;

private:
    class Output;

    bool Fail(const QString& reason);

    QString path_;
    QSaveFile file_;
    std::unique_ptr<Output> output_;
    QString error_;
    bool failed_ = false;
};

} // namespace jornix
