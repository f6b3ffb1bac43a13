#pragma once

#include <QString>

#include <functional>

// What the reminder form and the overdue-reminders pane share about a reminder's link to a log event, a
// contact or a task: the words of the link types, following a link to the linked record's form, and
// rewriting one reminder by its number.
namespace jornix {

class Record;

namespace LinkType {
enum : int
{
    None = 0,
    LogEvent = 1,
    Contact = 2,
    Task = 3
};
}

// "None", "Log Event", "Contact" or "Task"; blank for a code without words.
QString ReminderTypeText(int linkType);

// What following a link came to.
enum class LinkResult
{
    Shown,       // the linked record's form ran on it
    Missing,     // no such record: "Link Missing" was shown
    Refused,     // private to another user: "Access Denied" was shown
    Failed,      // the read failed; the data layer said why
    InvalidType, // no link type: "Invalid Link Type" was shown
};

// Reads the linked record into its table's buffer on this thread and runs its form with the request
// change (the form decides what the user may do there).
LinkResult FollowLink(int linkType, qint32 linkNumber);

// Runs the select list of the link type with the request select; a record chosen there gives its number,
// anything else leaves the number as it was (false).
bool SelectLinkedRecord(int linkType, qint32& linkNumber);

// "Invalid Link Type" / "The Link Type is invalid."
void ShowInvalidLinkType();

// Reads the reminder by its number afresh (a list row may be older than the table), lets change alter it
// and writes it back through the relation manager. A reminder deleted meanwhile is not written; false
// when it was not written.
bool RewriteReminder(qint32 number, const std::function<void(Record&)>& change);

} // namespace jornix
