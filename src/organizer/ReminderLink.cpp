#include "organizer/ReminderLink.h"

#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <array>

namespace jornix {
namespace {

struct LinkedTable
{
    FileManager* access = nullptr; // nullptr: the type has no table
    QString numberField, key, form, select;
};

LinkedTable LinkedTableOf(int linkType)
{
    switch (linkType) {
    case LinkType::LogEvent:
        return {AccessLOG, QStringLiteral("LOG:LogNum"), QStringLiteral("LOG:LogNumK"),
                QStringLiteral("UpdateLogTX"), QStringLiteral("SelectLogEvent")};
    case LinkType::Contact:
        return {AccessCON, QStringLiteral("CON:Num"), QStringLiteral("CON:NumK"),
                QStringLiteral("UpdateContact"), QStringLiteral("SelectContact")};
    case LinkType::Task:
        return {AccessTSK, QStringLiteral("TSK:Num"), QStringLiteral("TSK:NumK"),
                QStringLiteral("UpdateTask"), QStringLiteral("SelectTask")};
    default:
        return {};
    }
}

// Reads the record whose number field holds the number; the store's answer.
StoreError ReadByNumber(FileManager& access, const QString& numberField, const QString& key, qint32 number)
{
    Table& table = access.GetTable();
    table.ClearBuffer();
    access.Buffer().SetValue(numberField, number);
    access.FetchQuiet(table.KeyIndex(key));
    return access.LastStatus().Code();
}

bool IsPrivateToAnother(Table& table)
{
    const Record& record = table.Buffer();
    return table.HasPrivateFields() && record.Long(table.PrivateFlagField()) != 0 &&
           record.Long(table.PrivateOwnerField()) != CurrentUserUniqueID;
}

} // namespace

QString ReminderTypeText(int linkType)
{
    static const std::array<const char*, 4> words{"None", "Log Event", "Contact", "Task"};
    return linkType >= 0 && linkType < int(words.size()) ? QString::fromLatin1(words[std::size_t(linkType)])
                                                         : QString();
}

void ShowInvalidLinkType()
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Invalid Link Type"),
                   QStringLiteral("The Link Type is invalid."));
}

LinkResult FollowLink(int linkType, qint32 linkNumber)
{
    const LinkedTable linked = LinkedTableOf(linkType);
    if (!linked.access) {
        ShowInvalidLinkType();
        return LinkResult::InvalidType;
    }
    FileManager& access = *linked.access;
    const StoreError read = ReadByNumber(access, linked.numberField, linked.key, linkNumber);
    if (read == StoreError::NotFound) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Link Missing"),
                       QStringLiteral("The object that was linked is no longer available. It may have been "
                                      "deleted or there is a problem with the database. Please setup the "
                                      "link again."));
        return LinkResult::Missing;
    }
    if (read != StoreError::None) {
        access.Fetch(access.GetTable().KeyIndex(linked.key)); // read again, this time telling why it fails
        return LinkResult::Failed;
    }
    if (IsPrivateToAnother(access.GetTable())) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Access Denied"),
                       QStringLiteral("You are not allowed to view or edit this record. It is private to the "
                                      "user who created it."));
        return LinkResult::Refused;
    }
    CurrentContext().GlobalRequestCode = quint8(Request::Change);
    CallProcedure(linked.form);
    return LinkResult::Shown;
}

bool SelectLinkedRecord(int linkType, qint32& linkNumber)
{
    const LinkedTable linked = LinkedTableOf(linkType);
    if (!linked.access) {
        ShowInvalidLinkType();
        return false;
    }
    ThreadContext& thread = CurrentContext();
    thread.GlobalRequestCode = quint8(Request::Select);
    CallProcedure(linked.select);
    if (thread.GlobalResponseCode != Response::Completed)
        return false;
    linkNumber = linked.access->Buffer().Value(linked.numberField).toInt();
    return true;
}

bool RewriteReminder(qint32 number, const std::function<void(Record&)>& change)
{
    const StoreError read =
        ReadByNumber(*AccessREM, QStringLiteral("REM:Num"), QStringLiteral("REM:NumK"), number);
    if (read == StoreError::NotFound)
        return false;
    if (read != StoreError::None) {
        AccessREM->Fetch(AccessREM->GetTable().KeyIndex(QStringLiteral("REM:NumK")));
        return false;
    }
    change(AccessREM->Buffer());
    return RelationsREM->Update() == Level::GoOn;
}

} // namespace jornix
