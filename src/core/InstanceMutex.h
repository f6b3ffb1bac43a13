#pragma once

#include "core/CheckSingleInstance.h"

#include <QLocalServer>
#include <QLockFile>
#include <QString>

#include <memory>

// The state of the single-instance test: the name it was given and, in the first copy, the lock it holds and
// the server through which later copies reach it.
namespace jornix {

struct InstanceMutex
{
    QString name;
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
    ActivateInstanceHandler activate;

    // Where the lock file and the server's socket of the name lie, per user.
    QString LockFileName() const;
    QString ServerName() const;
};

InstanceMutex& TheInstanceMutex();

// The request a later copy sends and the answers of the first copy.
inline constexpr char ActivateRequest[] = "activate ";
inline constexpr char ActivatedAnswer[] = "1\n";
inline constexpr char NotActivatedAnswer[] = "0\n";

} // namespace jornix
