#pragma once

#include <QByteArray>
#include <QDir>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `work` in a child copy of the test program in which no file can grow beyond `limit` bytes: a write
// past it fails with "File too large" as a write to a full disk fails, and needs no root and no small disk.
// Answers what `work` answered in the child, or "child ended abnormally" when it did not end normally.
inline QByteArray RunWithFileSizeLimit(qint64 limit, const std::function<QByteArray()>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rule{rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_FSIZE, &rule);
        const QByteArray answer = work();
        qint64 sent = 0;
        while (sent < answer.size()) {
            const ssize_t n = write(channel[1], answer.constData() + sent, std::size_t(answer.size() - sent));
            if (n <= 0)
                break;
            sent += n;
        }
        close(channel[1]);
        _exit(0);
    }
    close(channel[1]);
    QByteArray answer;
    char block[4096];
    ssize_t n = 0;
    while ((n = read(channel[0], block, sizeof block)) > 0)
        answer.append(block, qsizetype(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended abnormally";
    return answer;
}

// The names in a folder, hidden ones too, so that a temporary file left behind shows.
inline QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
