#pragma once

#include "platform/framework/WindowController.h"
#include "platform/store/Record.h"

#include <QString>

#include <array>

// The user-defined fields of a form: the six MISC fields of its record, defined for its record type by one
// row of the definitions (MSC:). Each form that has them (the event editor, the reminder, task and contact
// forms) owns one, configured with its record type, its table and the common start of the six field names,
// and the tab where the fields go. The form runs the routines in its own order:
//
//     misc.FetchMiscDefinitions();   // in Init, before anything below
//     misc.SetMiscDefaults();        // a new record: the default values into its blank fields
//     misc.CreateMiscControls();     // once the window is open: one row per shown field
//
// The controls are destroyed when the form ends. A form whose record type has no definitions creates none
// and fills no defaults.
namespace jornix {

class FileManager;

namespace MiscRecordType {
enum : int
{
    LogEvent = 1,
    Reminder = 2,
    Task = 3,
    Contact = 4
};
}

// The control kinds of a user-defined field (MSC:F<i>Type).
namespace MiscControlType {
enum : int
{
    TextBox = 1,
    DropList = 2,
    ComboBox = 3,
    CheckBox = 4
};
}

class MiscFieldControls : public WindowComponent
{
public:
    static constexpr int FieldCount = 6;

    // fieldPrefix: the fields are the prefix followed by 1 to 6 ("LOG:LogMisc" gives "LOG:LogMisc1").
    MiscFieldControls(WindowController& form, int recordType, FileManager& record,
                      const QString& fieldPrefix);

    void SetMiscTab(int tab); // the tab (or group) whose layout takes the rows

    // Reads the definitions of the record type; false when there are none (MiscDefinitionsFound).
    bool FetchMiscDefinitions();
    bool MiscDefinitionsFound() const { return found_; }
    const Record& Definitions() const { return definitions_; }

    // Copies the default value of every shown field whose value in the record is blank.
    void SetMiscDefaults();
    // A prompt and a control for each shown field, in the order of the fields, bound to its record field;
    // read-only when the form only views the record.
    void CreateMiscControls();
    void DestroyMiscControls();

    // The prompt and the control of field i (1 to 6); 0 when none was created.
    int PromptOf(int field) const { return controls_[std::size_t(2 * (field - 1))]; }
    int ControlOf(int field) const { return controls_[std::size_t(2 * (field - 1) + 1)]; }

    void Kill() override;

private:
    QString Definition(int field, const char* name) const;
    QString FieldName(int field) const;
    void CreateRow(int field);

    WindowController& form_;
    const int recordType_;
    FileManager& record_;
    const QString fieldPrefix_;
    int tab_ = 0;
    bool found_ = false;
    Record definitions_;
    std::array<int, 2 * FieldCount> controls_{};
};

} // namespace jornix
