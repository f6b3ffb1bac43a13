#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace jornix {

// Severities of the error reporter's messages, which are also the results of the data layer's operations
// (FileManager, TableRelations). Apart from the window operations' results (Level in WindowController.h):
// the same numbers mean other things there.
namespace Severity {
enum : int
{
    Benign = 0,  // success, or a question answered Yes
    User = 1,    // a question to the user (Yes or No)
    Program = 2, // a fault of the program: the program ends after the message
    Fatal = 3,   // a fault that leaves the program unable to go on: it ends after the message
    Cancel = 4,  // the user declined
    Notify = 5   // the operation failed; the user was told and the window stays as it was
};
}

// One entry of the table of messages. The text may hold the placeholders %File, %ErrorText, %Field and
// %Message, and "|" where a line breaks.
struct ErrorMessage
{
    int id = 0;
    int severity = Severity::Notify;
    QString caption;
    QString text;
};

// What fills the placeholders of a message.
struct ErrorValues
{
    QString file;
    QString errorText;
    QString field;
    QString message;
};

// Ids of the messages that data operations show.
namespace ErrorId {
enum : int
{
    RecordRetrieval = 1,
    RecordInsert = 4,
    FileCreation = 10,
    RecordNotDeleted = 11,
    DuplicateKey = 13,
    FieldNotInList = 15,
    TransactionCancelled = 21,
    FileAccess = 23,
    RecordNotUpdated = 25,
    AutoIncrement = 32,
    RecordChanged = 38 // a form's record was changed by another window or program since the form read it
};
}

// A message of the standard table by its number (an empty message for a number it does not hold), for
// windows that show the framework's words through their own boxes.
ErrorMessage StandardMessage(int id);

// Shows the framework's errors from one table of messages. Each error is looked up by its number; its
// severity decides the box (a question for User, a stop box for Program and Fatal) and the result level.
// Program and fatal errors end the program after the message.
//
// While a thread holds its messages (a transaction is open), errors are kept and shown when the hold ends,
// so that no message box waits inside a transaction; a question asked meanwhile counts as declined.
class ErrorReporter
{
public:
    void Init(); // the standard table of messages
    void Kill();
    // Adds messages, replacing those with the same number.
    void AddErrors(const std::vector<ErrorMessage>& messages);
    const ErrorMessage* Find(int id) const;

    // Shows the error and returns its result level.
    int Throw(int id, const ErrorValues& values = {});
    // The text of an error with its placeholders filled and its line breaks made.
    QString MessageText(int id, const ErrorValues& values) const;

    // The name of the procedure running on this thread: flag 0 records it, flag 1 removes the last recorded.
    void SetProcedure(const QString& name, int flag = 0);
    QString Procedure() const;

    void HoldMessages();    // counted per thread
    void ReleaseMessages(); // the last release shows what was held, in order

private:
    int Show(const ErrorMessage& message, const ErrorValues& values);
    std::vector<ErrorMessage> messages_;
};

// What ends the program after a program or fatal error: by default the event loop is told to quit (the
// process ends when it is not running). Tests set their own to observe it; an empty handler restores it.
using ProgramEndHandler = std::function<void(int level)>;
void SetProgramEndHandler(ProgramEndHandler handler);

} // namespace jornix
