#pragma once

// The program folder of a core test: a temporary folder of its own that holds the settings file "Jornix.ini"
// and the record files, with the preserved settings at their defaults, the error reporter and the data layer
// started and every table pointed into it. Ends the data layer and the error reporter again; the test closes
// the tables it opened first.

#include "core/DataLayer.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/WindowDescription.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

namespace jornix::test {

class DataFolder
{
public:
    DataFolder()
    {
        ProgramFolder = folder_.path() + QLatin1Char('/');
        IniFileName = ProgramFolder + QStringLiteral("Jornix.ini");
        INIMgr.Init(IniFileName);
        GLO = PreservedSettings{};
        GlobalErrorReporter.Init();
        InitDataLayer();
        SetTableFileNames(ProgramFolder);
    }
    ~DataFolder()
    {
        KillDataLayer();
        GlobalErrorReporter.Kill();
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    QString Path() const { return ProgramFolder; } // ends with "/"
    QString FilePath(const QString& name) const { return ProgramFolder + name; }

    // The settings file as it stands on disk; empty when there is none.
    QString Settings() const
    {
        QFile file(IniFileName);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool WriteSettings(const QByteArray& text) const
    {
        QFile file(IniFileName);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
    }

private:
    QTemporaryDir folder_;
};

// Writes a user straight into the users table, which the test has opened; false when the insert failed.
inline bool AddUser(const QString& loginId, const QString& name, qint32 uniqueId,
                    const QString& password = QStringLiteral("Secret"))
{
    AccessUSR->GetTable().ClearBuffer();
    AccessUSR->SetFieldDefaults();
    Record& user = AccessUSR->Buffer();
    user.SetValue(QStringLiteral("USR:LoginID"), loginId);
    user.SetValue(QStringLiteral("USR:Name"), name);
    user.SetValue(QStringLiteral("USR:Password"), *HashPassword(password));
    user.SetValue(QStringLiteral("USR:UniqueID"), uniqueId);
    return AccessUSR->Insert() == 0;
}

// Signs in the administrator "as" (Ann Smith) with full access to every area, her user written into the
// users table, which this opens; the frame's tests start so. False when the user could not be written.
inline bool SignInAdministrator(qint32 uniqueId)
{
    if (RelationsUSR->Open() != 0 || !AddUser(QStringLiteral("as"), QStringLiteral("Ann Smith"), uniqueId))
        return false;
    UsrAccess::LoginID = QStringLiteral("as");
    UsrAccess::Name = QStringLiteral("Ann Smith");
    CurrentUserUniqueID = uniqueId;
    CurrentUserIsAdmin = 1;
    CurrentUserAccess.fill(2);
    return true;
}

// The program's frame as the list windows and panes of a test open in it, shown at a usual size.
class TestFrame
{
public:
    TestFrame()
    {
        ProgramFrame = &frame;
        frame.Root()->resize(900, 700);
        frame.Root()->show();
    }
    ~TestFrame()
    {
        if (ProgramFrame == &frame)
            ProgramFrame = nullptr;
    }
    TestFrame(const TestFrame&) = delete;
    TestFrame& operator=(const TestFrame&) = delete;

    WindowDescription frame{QStringLiteral("Jornix"), WindowType::Frame};
};

} // namespace jornix::test
