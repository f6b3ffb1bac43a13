#include "core/SignInRules.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

namespace jornix {

bool FetchUser(const QString& loginId)
{
    Table& users = AccessUSR->GetTable();
    users.ClearBuffer();
    users.Buffer().SetValue(QStringLiteral("USR:LoginID"), loginId);
    return AccessUSR->FetchQuiet(users.KeyIndex(QStringLiteral("USR:LoginIDK"))) == 0;
}

bool PasswordChangeDue(const Record& user, int today)
{
    if (user.Value(QStringLiteral("USR:ChngPwdAtNextLogin")).toInt() != 0)
        return true;
    const int expireCount = user.Value(QStringLiteral("USR:ExpirePasswordCount")).toInt();
    return expireCount > 0 && today - user.Value(QStringLiteral("USR:LastPwdChange")).toInt() > expireCount;
}

void FillSignedInUser(const Record& user)
{
    static const char* const accessFields[AccessArea::Count] = {
        "USR:LogEventAccess", "USR:ReminderAccess",  "USR:TaskAccess",           "USR:StickyNotesAccess",
        "USR:ContactAccess",  "USR:ScrapBookAccess", "USR:ReportDesignerAccess", "USR:MiscFieldAccess"};
    for (int area = 0; area < AccessArea::Count; ++area)
        CurrentUserAccess[area] = quint8(user.Value(QLatin1String(accessFields[area])).toUInt());
    UsrAccess::LoginID = user.Value(QStringLiteral("USR:LoginID")).toString();
    UsrAccess::Name = user.Value(QStringLiteral("USR:Name")).toString();
    CurrentUserUniqueID = user.Value(QStringLiteral("USR:UniqueID")).toInt();
    CurrentUserIsAdmin = quint8(user.Value(QStringLiteral("USR:Administrator")).toUInt());
}

void StampLastLogin()
{
    if (!FetchUser(UsrAccess::LoginID))
        return;
    AccessUSR->Buffer().SetValue(QStringLiteral("USR:LastLogin"), Today());
    AccessUSR->Update();
}

void RememberLastLoginID()
{
    if (GLO.RemeberLastLoginID == 0)
        return;
    GLO.LastLoginID = UsrAccess::LoginID;
    INIMgr.WriteValue(PreservedSection, QStringLiteral("GLO:LastLoginID"), GLO.LastLoginID);
}

} // namespace jornix
