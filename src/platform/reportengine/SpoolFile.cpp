#include "platform/reportengine/SpoolFile.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace jornix {

bool AppendToSpool(QFile& file, const QByteArray& bytes, QString& reason)
{
    const int fd = file.handle();
    const off_t at = lseek(fd, 0, SEEK_END);
    if (at < 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t n =
            pwrite(fd, bytes.constData() + done, std::size_t(bytes.size() - done), at + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC));
            if (ftruncate(fd, at) != 0)
                file.close(); // the part written would read as a record: the spool is given up
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace jornix
