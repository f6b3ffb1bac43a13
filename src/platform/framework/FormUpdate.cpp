#include "platform/framework/FormUpdate.h"

#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Table.h"

#include <QWidget>

namespace jornix {

QVariant FormUpdate::PrimedNumber(const FileManager& access)
{
    Table& table = access.GetTable();
    const int key = table.AutoNumberKey();
    return key < 0 ? QVariant() : table.Buffer().Value(table.Key(key).components.front());
}

void FormUpdate::UndoPrimedRow(FileManager& access, qint64 row, const QVariant& number)
{
    if (row == 0)
        return;
    // Only the row that was added for this record's number: never another record that took its place.
    if (!access.GetTable().FetchRow(row) || PrimedNumber(access) != number)
        return;
    access.DeleteRecord();
}

int FormUpdate::PrepareUpdate()
{
    FileManager* access = window_.UpdateTable();
    if (!access)
        return Level::GoOn;
    switch (window_.REQUEST) {
    case Request::Insert:
        // Only a row that priming added for this record goes again if the form is cancelled: the current
        // row may be a record written before (a table without an auto-numbered key adds no row).
        primedRow_ = access->PrimedRow();
        primedNumber_ = PrimedNumber(*access);
        window_.SetFieldDefaults();
        access->SaveBuffer();
        recall_ = access->Buffer();
        return Level::GoOn;
    case Request::Change:
        access->SaveBuffer();
        // What the change is checked against when it is written: the record as stored now.
        access->Watch();
        recall_ = access->Buffer();
        return Level::GoOn;
    case Request::Delete: {
        const bool deleted =
            window_.PRIMARY && window_.PRIMARY->Delete(window_.DELETEACTION == 2) == Level::GoOn;
        window_.RESPONSE = deleted ? Response::Completed : Response::Cancelled;
        return Level::Stop;
    }
    default:
        return Level::GoOn;
    }
}

int FormUpdate::Complete()
{
    FileManager* access = window_.UpdateTable();
    if (!access)
        return Level::GoOn;
    int level = Level::GoOn;
    if (window_.REQUEST == Request::Insert) {
        level = access->Insert();
    } else if (window_.REQUEST == Request::Change) {
        // Nothing changed, nothing written: what other windows saved meanwhile stays as they saved it.
        if (!access->BufferUnchanged())
            level = window_.PRIMARY ? window_.PRIMARY->Update() : access->Update();
    } else {
        return Level::GoOn;
    }
    if (level != Level::GoOn) {
        // Told by the error reporter; the form stays open with what was entered, or with what another
        // window stored meanwhile.
        if (access->LastStatus().Code() == StoreError::Changed)
            ShowStoredRecord();
        return Level::Handled;
    }
    if (window_.REQUEST == Request::Change)
        access->Unwatch();
    primedRow_ = 0;
    window_.SetResponse(Response::Completed);
    return Level::GoOn;
}

int FormUpdate::CloseRequest()
{
    FileManager* access = window_.UpdateTable();
    const int request = window_.REQUEST;
    if (window_.RESPONSE == Response::Completed || !access || !window_.PRIMARY || window_.CANCELACTION == 0 ||
        (request != Request::Insert && request != Request::Change))
        return Level::GoOn;
    window_.window.WriteValues(); // what is typed counts, even in the entry that still has the focus
    if (access->BufferUnchanged())
        return Level::GoOn;
    const bool offerSave = window_.CANCELACTION & 1;
    const bool askFirst = window_.CANCELACTION & 2;
    if (offerSave && askFirst) {
        const int answer = ShowMessageBox(MessageButton::Yes | MessageButton::No | MessageButton::Cancel,
                                          MessageIcon::Question, QStringLiteral("Save Record"),
                                          QStringLiteral("Do you want to save the changes to this record?"),
                                          MessageButton::Cancel);
        if (answer == MessageButton::No)
            return Level::GoOn;
        if (answer == MessageButton::Yes) {
            // As if OK were pressed: a save that succeeds closes the window, one that fails keeps it.
            window_.Post(Event::Completed);
            return Level::Handled;
        }
        if (window_.FIRSTFIELD)
            window_.window.Select(window_.FIRSTFIELD);
        return Level::Handled;
    }
    if (offerSave) {
        window_.Post(Event::Completed);
        return Level::Handled;
    }
    const int answer = ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                                      QStringLiteral("Changes will be lost!"),
                                      QStringLiteral("Are you sure you want to cancel?"), MessageButton::No);
    return answer == MessageButton::Yes ? Level::GoOn : Level::Handled;
}

void FormUpdate::ShowStoredRecord()
{
    FileManager* access = window_.UpdateTable();
    Table& table = access->GetTable();
    const Record mine = access->Buffer();
    if (!table.FetchRow(table.CurrentRow()))
        return;           // gone meanwhile: the next OK tells so
    access->SaveBuffer(); // what the form now compares with: the stored record
    access->Watch();
    recall_ = mine;
    window_.window.ShowValues();
}

bool FormUpdate::Recall(int control)
{
    FileManager* access = window_.UpdateTable();
    const int request = window_.REQUEST;
    if (!access || (request != Request::Insert && request != Request::Change) || !recall_.Owner() ||
        control <= 0 || !window_.window.IsEnabled(control))
        return false;
    // The field of the control or of the nearest bound control around it (a radio button stands for its
    // group).
    const Table& table = access->GetTable();
    QWidget* focused = window_.window.Widget(control);
    for (QWidget* widget = focused; widget && widget != window_.window.Root();
         widget = widget->parentWidget()) {
        const int bound = window_.window.ControlOf(widget);
        const QString field = bound > 0 ? window_.window.BoundField(bound) : QString();
        if (field.isEmpty() || table.FieldIndex(field) < 0)
            continue;
        access->Buffer().SetValue(field, recall_.Value(field));
        window_.window.ShowValues(bound);
        return true;
    }
    return false;
}

void FormUpdate::Release()
{
    if (FileManager* access = window_.UpdateTable(); access && window_.REQUEST == Request::Change)
        access->Unwatch();
}

void FormUpdate::UndoInsert()
{
    FileManager* access = window_.UpdateTable();
    const qint64 row = primedRow_;
    primedRow_ = 0;
    if (access)
        UndoPrimedRow(*access, row, primedNumber_);
}

} // namespace jornix
