#pragma once

#include "platform/store/Record.h"

#include <QVariant>

// The framework's part of a form that saves one record of its update table (WindowController::AddUpdateTable)
// through its relation manager (PRIMARY). The form's overrides of PrepareUpdate, OnCompleted and
// OnCloseRequest hand over to it:
//   PrepareUpdate  insert: the window's SetFieldDefaults, then the buffer is saved to compare with;
//                  change: the buffer is saved and the stored record held on to (FileManager::Watch);
//                  delete: the record is deleted at once (after "Confirm Delete" when DELETEACTION is 2),
//                  RESPONSE tells whether it was, and Level::Stop keeps the window from opening.
//   Complete       writes the record by the request; a write that succeeds ends the window "completed", one
//                  that fails leaves it open with the values entered. A change that changed nothing writes
//                  nothing. A record that another window or another copy of the program changed since the
//                  form read it is never overwritten: the notice RecordChanged is shown, the form shows the
//                  stored record, and the history key puts back the user's own values field by field.
//   CloseRequest   asks about unsaved changes by CANCELACTION.
//   Recall         the history key (WindowController::HistoryKey) in a field: puts back the value the field
//                  had when the form opened or, after the notice, the value the user had given it.
//   UndoInsert     removes the row that priming added for a new record that was never saved.
namespace jornix {

class FileManager;
class WindowController;

class FormUpdate
{
public:
    explicit FormUpdate(WindowController& window) : window_(window) {}

    int PrepareUpdate();
    int Complete();
    int CloseRequest();
    // The history key in the control given (the focused one); false when the control is bound to no field
    // of the record or the form edits no record.
    bool Recall(int control);
    void UndoInsert();
    // The form ends: later writes of its thread (its list's, say) no longer hold on to what it read.
    void Release();

    // Removes the row that priming added for a new record, when it still holds that record's number;
    // nothing when it is gone or another record took its place.
    static void UndoPrimedRow(FileManager& access, qint64 row, const QVariant& number);
    // The value of the table's auto-numbered field in its buffer; invalid for a table without one.
    static QVariant PrimedNumber(const FileManager& access);

private:
    void ShowStoredRecord(); // after the notice: the stored record, the user's values to recall

    WindowController& window_;
    Record recall_;        // what the history key puts back
    qint64 primedRow_ = 0; // the row added for the new record's number
    QVariant primedNumber_;
};

} // namespace jornix
