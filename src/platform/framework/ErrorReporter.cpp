#include "platform/framework/ErrorReporter.h"

#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace jornix {
namespace {

// What one program thread keeps of the reporter: its procedure names and the messages it holds.
struct ReporterThreadState
{
    QStringList procedures;
    int holds = 0;
    std::vector<std::pair<ErrorMessage, ErrorValues>> held;
};

ReporterThreadState& ThreadState()
{
    return CurrentContext().Slot<ReporterThreadState>();
}

ProgramEndHandler& EndHandler()
{
    static ProgramEndHandler handler;
    return handler;
}

void EndProgram(int level)
{
    if (EndHandler()) {
        EndHandler()(level);
        return;
    }
    if (QCoreApplication::instance())
        QCoreApplication::exit(1);
    else
        std::exit(1);
}

const std::vector<ErrorMessage>& StandardMessages()
{
    static const std::vector<ErrorMessage> messages{
        {ErrorId::RecordRetrieval, Severity::Notify, QStringLiteral("Record Retrieval Error"),
         QStringLiteral("A record could not be read from %File.|Error: %ErrorText.")},
        {ErrorId::RecordInsert, Severity::Notify, QStringLiteral("Record Insert Error"),
         QStringLiteral("The record could not be added to %File.|Error: %ErrorText.")},
        {ErrorId::FileCreation, Severity::Fatal, QStringLiteral("File Creation Error"),
         QStringLiteral("File %File could not be created.  Error: %ErrorText.")},
        {ErrorId::RecordNotDeleted, Severity::Notify, QStringLiteral("Record was not deleted"),
         QStringLiteral("The record could not be deleted from %File.|Error: %ErrorText.")},
        {ErrorId::DuplicateKey, Severity::Notify, QStringLiteral("Duplicate Key Error"),
         QStringLiteral("Adding this record creates a duplicate entry for the key: %Message")},
        {ErrorId::FieldNotInList, Severity::Notify, QStringLiteral("Value Error"),
         QStringLiteral("The value of %Field must be in the list : %Message.")},
        {ErrorId::TransactionCancelled, Severity::Notify, QStringLiteral("Transaction cancelled"),
         QStringLiteral("The changes to %File were cancelled.|Error: %ErrorText.")},
        {ErrorId::FileAccess, Severity::Fatal, QStringLiteral("File Access Error"),
         QStringLiteral("File %File could not be opened.  Error: %ErrorText.")},
        {ErrorId::RecordNotUpdated, Severity::Notify, QStringLiteral("Record was not updated"),
         QStringLiteral("The record could not be changed in %File.|Error: %ErrorText.")},
        {ErrorId::AutoIncrement, Severity::User, QStringLiteral("Auto Increment Error"),
         QStringLiteral("Attempts to automatically number this record have failed.|File: %File|Error: "
                        "%ErrorText.|Try Again?")},
        {ErrorId::RecordChanged, Severity::Notify, QStringLiteral("Record Was Not Updated"),
         QStringLiteral("This record was changed by another station. Those changes will now be displayed. "
                        "Use the Ditto Button or Ctrl+' to recall your changes.")},
    };
    return messages;
}

QString Fill(const ErrorMessage& message, const ErrorValues& values)
{
    // One pass over the message's own text: a value that holds a placeholder or a bar is shown as it is.
    const std::pair<QLatin1String, const QString*> placeholders[] = {
        {QLatin1String("%File"), &values.file},
        {QLatin1String("%ErrorText"), &values.errorText},
        {QLatin1String("%Field"), &values.field},
        {QLatin1String("%Message"), &values.message}};
    const QStringView source(message.text);
    QString text;
    for (qsizetype at = 0; at < source.size();) {
        if (source.at(at) == QLatin1Char('|')) {
            text += QLatin1Char('\n');
            ++at;
            continue;
        }
        const auto placeholder =
            std::find_if(std::begin(placeholders), std::end(placeholders),
                         [&](const auto& entry) { return source.sliced(at).startsWith(entry.first); });
        if (placeholder == std::end(placeholders)) {
            text += source.at(at++);
        } else {
            text += *placeholder->second;
            at += placeholder->first.size();
        }
    }
    return text;
}

} // namespace

ErrorMessage StandardMessage(int id)
{
    for (const ErrorMessage& message : StandardMessages())
        if (message.id == id)
            return message;
    return {};
}

void ErrorReporter::Init()
{
    messages_.clear();
    AddErrors(StandardMessages());
}

void ErrorReporter::Kill()
{
    messages_.clear();
}

void ErrorReporter::AddErrors(const std::vector<ErrorMessage>& messages)
{
    for (const ErrorMessage& message : messages) {
        bool replaced = false;
        for (ErrorMessage& known : messages_) {
            if (known.id == message.id) {
                known = message;
                replaced = true;
            }
        }
        if (!replaced)
            messages_.push_back(message);
    }
}

const ErrorMessage* ErrorReporter::Find(int id) const
{
    for (const ErrorMessage& message : messages_) {
        if (message.id == id)
            return &message;
    }
    return nullptr;
}

QString ErrorReporter::MessageText(int id, const ErrorValues& values) const
{
    const ErrorMessage* message = Find(id);
    return message ? Fill(*message, values) : QString();
}

int ErrorReporter::Throw(int id, const ErrorValues& values)
{
    ErrorMessage message;
    if (const ErrorMessage* known = Find(id)) {
        message = *known;
    } else {
        // A number missing from the table is a fault of the program, shown with what is known of it.
        message = {id, Severity::Program, QStringLiteral("Unknown Error"),
                   QStringLiteral("Error %1 is not in the table of messages.|%ErrorText").arg(id)};
    }
    ReporterThreadState& state = ThreadState();
    if (state.holds > 0) {
        state.held.emplace_back(message, values);
        return message.severity == Severity::User ? Severity::Cancel : message.severity;
    }
    return Show(message, values);
}

int ErrorReporter::Show(const ErrorMessage& message, const ErrorValues& values)
{
    const QString text = Fill(message, values);
    switch (message.severity) {
    case Severity::User: {
        const int answer = ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                                          message.caption, text, MessageButton::Yes);
        return answer == MessageButton::Yes ? Severity::Benign : Severity::Cancel;
    }
    case Severity::Program:
    case Severity::Fatal:
        ShowMessageBox(MessageButton::Ok, MessageIcon::Stop, message.caption, text, MessageButton::Ok);
        EndProgram(message.severity);
        return message.severity;
    case Severity::Benign:
        ShowMessageBox(MessageButton::Ok, MessageIcon::Information, message.caption, text, MessageButton::Ok);
        return Severity::Benign;
    default:
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, message.caption, text, MessageButton::Ok);
        return message.severity;
    }
}

void ErrorReporter::SetProcedure(const QString& name, int flag)
{
    QStringList& procedures = ThreadState().procedures;
    if (flag == 0)
        procedures.append(name);
    else if (!procedures.isEmpty())
        procedures.removeLast();
}

QString ErrorReporter::Procedure() const
{
    const QStringList& procedures = ThreadState().procedures;
    return procedures.isEmpty() ? QString() : procedures.last();
}

void ErrorReporter::HoldMessages()
{
    ++ThreadState().holds;
}

void ErrorReporter::ReleaseMessages()
{
    ReporterThreadState& state = ThreadState();
    if (state.holds == 0 || --state.holds > 0)
        return;
    // Taken out first: showing a message gives way to other threads.
    auto held = std::move(state.held);
    state.held.clear();
    for (auto& [message, values] : held) {
        // The question was answered No for the user while the transaction ran: tell it as a failure.
        if (message.severity == Severity::User)
            message.severity = Severity::Notify;
        Show(message, values);
    }
}

void SetProgramEndHandler(ProgramEndHandler handler)
{
    EndHandler() = std::move(handler);
}

} // namespace jornix
