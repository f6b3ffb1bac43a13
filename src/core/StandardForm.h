#pragma once

#include "core/StandardWindow.h"
#include "platform/framework/FormUpdate.h"
#include "platform/store/Record.h"

#include <QString>

// The form of one record: a dialog called on its list's thread with the request in GlobalRequestCode. A form
// built on it says in its constructor what it edits (SetRecord, SetButtons, CheckAccess with formViewOnly,
// SetNameField, SetPrivateBox ...); the base runs the form the same way for every area:
// - insert: the record is stamped with its creation (date, login id, the creator's unique id) on top of the
//   defaults; a change stamps the last edit when the record changed;
// - view only (a user who may only view, or the request 6): entries read-only, OK hidden, the form returns
//   "cancelled";
// - the caption tells what the form does; the private check box is enabled for the record's creator only;
// - closing with unsaved changes asks first; a cancelled insert leaves no row behind;
// - a change never overwrites what another window saved meanwhile, and Ctrl+' in a field puts back its value
//   as the form opened, or after the notice of such a change, the user's own (FormUpdate).
namespace jornix {

// The fields that stamp a record, by name without the prefix.
struct RecordStamps
{
    QString createDate = QStringLiteral("CreateDate");
    QString createLoginId = QStringLiteral("CreateLoginID");
    QString creatorUniqueId = QStringLiteral("UniqueID");
    QString lastEditDate = QStringLiteral("LastEditDate");
    QString lastEditLoginId = QStringLiteral("LastEditLoginID");
};

// The words of a form's caption by its request; a change adds "  (" and the record's name and ")", an
// insert "  (New)".
struct FormCaptions
{
    QString view = QStringLiteral("View Record");
    QString insert = QStringLiteral("Record will be Added");
    QString change = QStringLiteral("Record will be Changed");
};

// A control of a form that may only be viewed: entries, text boxes, combo and spin boxes become read-only,
// check boxes, radio buttons and drop lists disabled; other controls stay as they are.
void SetControlViewOnly(WindowDescription& window, int control);

class StandardForm : public StandardWindow
{
public:
    StandardForm(const QString& procedureName, const QString& caption);

    int Kill() override;
    int Run() override;
    void SetFieldDefaults() override;
    int PrepareUpdate() override;
    int OnAccepted(int control) override;
    int OnCompleted() override;
    int OnCloseRequest() override;
    int OnWindowEvent(const FrameworkEvent& event) override;

protected:
    // The table of the record; stamps: the table carries record stamps with these fields.
    void SetRecord(TableRelations& relations, bool stamped = true, RecordStamps stamps = RecordStamps());
    void SetButtons(int okButton, int cancelButton);
    void SetNameField(const QString& fieldName); // the record's name in the caption of a change
    void SetPrivateBox(int checkBox);            // enabled only for the creator
    void SetCaptions(FormCaptions captions);     // the form's own words in place of the usual ones
    void KeepCaption();                          // the caption stays as described, whatever the request
    // The "Show &Scraps..." button: the scrap picker on the form's thread, so that the user can copy a
    // scrap's text and paste it into the form; the form then shows its values again.
    void SetShowScraps(int button);
    // After SetRecord: a panel with the record's stamps, "Created on" date "by" login id and "Edited on"
    // date "by" login id, each date blank while it is 0; a form may word the first prompt its own way.
    int DescribeStamps(const QString& createdPrompt = QStringLiteral("Created on"));

    // The window's own check of the record before it is written: Level::GoOn writes it; any other level
    // keeps the form open with the values entered.
    virtual int ValidateRecord();

    int SetUpForm() override;
    int PrepareRecord() override;
    void SetUpWindow() override;

    Record& Buffer() const;
    QVariant Field(const QString& name) const;
    void SetField(const QString& name, const QVariant& value);

private:
    TableRelations* relations_ = nullptr;
    bool stamped_ = false;
    RecordStamps stamps_;
    int okButton_ = 0;
    int cancelButton_ = 0;
    QString nameField_;
    FormCaptions captions_;
    int privateBox_ = 0;
    int showScraps_ = 0;
    bool viewOnly_ = false;
    bool keepsCaption_ = false;
    FormUpdate update_{*this};
};

} // namespace jornix
