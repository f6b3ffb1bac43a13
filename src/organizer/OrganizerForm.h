#pragma once

#include "core/StandardForm.h"
#include "journal/MiscFieldControls.h"

#include <QString>

#include <functional>

// The task and contact forms: a sheet whose second tab, "Misc", shows the user-defined fields of the record
// type under a note on where to define them; under the sheet the record's stamps, the private box with the
// record's number, and Help, OK and Cancel. The form reads the definitions before the record is prepared,
// fills their defaults into a new record and creates the fields' rows once the window is open.
namespace jornix {

class FileManager;

class OrganizerForm : public StandardForm
{
public:
    MiscFieldControls misc;
    int sheet = 0, miscTab = 0, privateBox = 0, okButton = 0, cancelButton = 0, helpButton = 0;

protected:
    // prefix: the table's, "TSK:".
    OrganizerForm(const QString& procedureName, const QString& caption, int recordType, FileManager& record,
                  const QString& prefix);

    // The sheet: "General" as `general` describes it, "Misc", then the tabs that `more` describes.
    void DescribeSheet(const std::function<void()>& general, const std::function<void()>& more = {});
    // What goes under the sheet, after SetRecord; createdPrompt words the creation stamp.
    void DescribeFoot(const QString& createdPrompt = QStringLiteral("Created on"));

    int PrepareRecord() override;
    void SetFieldDefaults() override;
    void SetUpWindow() override;

private:
    FileManager& record_;
    QString prefix_;
};

} // namespace jornix
