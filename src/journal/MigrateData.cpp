#include "journal/MigrateData.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/StandardWizard.h"
#include "documents/TXEdit.h"
#include "platform/framework/FormUpdate.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Rtf.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/FileSnapshot.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/RecordFile.h"
#include "platform/store/TextValues.h"
#include "platform/store/Transaction.h"

#include <QProgressBar>
#include <QWidget>

#include <functional>
#include <memory>

namespace jornix {
namespace {

// The fields that keep their names from the old log to the new one.
const char* const SameFields[] = {"LOGDATE",     "LOGTYPE",    "LOGRANK",     "LOGDESCRIPTION", "LOGLOCATION",
                                  "LOGDURATION", "LOGDOCLINK", "LOGFOLLOWUP", "LOGIMPORTANT",   "LOGMISC1",
                                  "LOGMISC2",    "LOGMISC3",   "LOGMININOTES"};

void Exclaim(const QString& caption, const QString& text)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption, text);
}

void CorruptFile()
{
    Exclaim(QStringLiteral("Corrupt File"),
            QStringLiteral(
                "The Jornix 1.0 Database file appears to be corrupt or in use. Please close Jornix 1.0 "
                "or select a different file."));
}

// The version-1.0 log of the file: read-only, its table's columns checked, held against writers while it
// is open; nullptr for any file that is not such a log.
std::unique_ptr<FileSnapshot> OpenOldLog(const QString& file)
{
    Status status;
    return FileSnapshot::Open(AccessOLD10->GetTable(), file, status);
}

// Lets the primed rows of a failed add go without a refresh of the lists: the one broadcast comes on Finish.
class QuietRefresh
{
public:
    QuietRefresh() : before_(RefreshSuppressed) { RefreshSuppressed = 1; }
    ~QuietRefresh() { RefreshSuppressed = before_; }

private:
    quint8 before_;
};

enum WizardPage
{
    Welcome = 1,
    SelectDatabase,
    OwnerOptions,
    Ready
};

class MigrateDataWizard : public StandardWizard
{
public:
    MigrateDataWizard()
        : StandardWizard(QStringLiteral("MigrateData"), QStringLiteral("Migrate Data from Jornix 1.0"))
    {
        DescribeWizard([&] { DescribePages(); }, QStringLiteral("migrate10.htm"));
        // Wide enough that the pages' texts read as paragraphs, not as a column of words.
        QWidget* sheet = window.Widget(sheet_);
        sheet->setMinimumWidth(sheet->fontMetrics().averageCharWidth() * 80);
        // The rich-text control that turns the old notes into documents is never shown: the panel that
        // holds it stays hidden, also when the document component shows its control.
        textControl_ = new RichTextControl;
        window.Panel([&] { window.Custom(textControl_).Name(QStringLiteral("Notes")); })
            .Name(QStringLiteral("NotesPanel"))
            .Hide();
        UseTable(*RelationsLOG);
    }

    int Kill() override
    {
        const int level = StandardWindow::Kill();
        if (level == Level::GoOn)
            txEdit_.Kill();
        return level;
    }

protected:
    // Both gates come before any window opens.
    int SetUpForm() override
    {
        if (!CurrentUserIsAdmin) {
            Exclaim(
                QStringLiteral("Access Denied"),
                QStringLiteral("You are not allowed to use the Jornix 1.0 migration utility. Please contact "
                               "your system administrator to request access."));
            return Level::Stop;
        }
        if (CurrentUserAccess[AccessArea::LogEvents] != 2) {
            Exclaim(
                QStringLiteral("Access Denied"),
                QStringLiteral("You do not have full access to Log Events so you can not run the Jornix 1.0 "
                               "migration utility. Please contact your system administrator to request "
                               "access."));
            return Level::Stop;
        }
        return Level::GoOn;
    }

    void SetUpWindow() override
    {
        oldFile_.clear();
        shownFile_.clear();
        txEdit_.Init(textControl_);
        GoTo(Welcome);
    }

    // Once the events are in, the close box finishes; while they go in, it does nothing.
    bool WorkDone() const override { return finished_; }
    bool Working() const override { return migrating_; }
    void FinishDone() override { Finish(); }

private:
    void DescribePages()
    {
        AddPage(QStringLiteral("Migrate Log Events from Jornix 1.0"), [&] {
            window.Text(QStringLiteral(
                "Jornix 2.0 uses a slightly different database structure so you must use this migration "
                "utility to convert the older data format into the new format. This migration wizard will "
                "walk "
                "you through the steps."));
            window.Text(QStringLiteral(
                "Since Jornix 2.0 is now multi-user aware, be sure to login as the user you want to own the "
                "1.0 "
                "log events. You also have the option to mark the migrated log events as private."));
            window.Text(QStringLiteral(
                "Jornix 1.0 had six miscellaneous fields. Three were text and three were numeric. Jornix 2.0 "
                "has enhanced the miscellaneous fields by giving you the ability to hide fields that are not "
                "used."));
            window.Text(QStringLiteral(
                "The miscellaneous field information will be migrated from 1.0, but you must access to the "
                "setup area to enable the miscellaneous fields to see the information. For more information, "
                "please refer to the online help."));
            window.Text(QStringLiteral(
                "This migration wizard will not migrate Jornix 1.0 report layouts. Please refer to the "
                "online "
                "help for information on how to convert custom report layouts to the new format."));
        });
        AddPage(QStringLiteral("Select Jornix 1.0 Database"), [&] {
            window.Text(QStringLiteral("Select the Jornix 1.0 database that you wish to migrate to the new "
                                       "Jornix 2.0 format."));
            window.Text(
                QStringLiteral("No information will be changed in the Jornix 1.0 database and you can "
                               "continue to use Jornix 1.0 after doing the migration."));
            window.Text(
                QStringLiteral("However we encourage you uninstall Jornix 1.0 after you have confirmed "
                               "that all information has been successfully migrated."));
            window.Row([&] {
                // The whole path shows, however long: the entry scrolls.
                fileEntry_ = window.Entry(Bind(shownFile_), QStringLiteral("@s4096"))
                                 .Name(QStringLiteral("FileName"))
                                 .ReadOnly()
                                 .Stretch();
                browse_ = window.Button(QStringLiteral("...")).Name(QStringLiteral("Browse"));
            });
        });
        AddPage(QStringLiteral("Log Event Owner/Private Options"), [&] {
            window.Text(
                QStringLiteral("The Jornix Migration Wizard will import the 1.0 log events and set the "
                               "created by fields as the following user:"));
            window.Row([&] {
                window.Prompt(QStringLiteral("Login ID:"));
                window.Display(Bind(UsrAccess::LoginID), QStringLiteral("@s30"))
                    .Name(QStringLiteral("LoginID"));
                window.Spacer();
            });
            window.Row([&] {
                window.Prompt(QStringLiteral("User Name:"));
                window.Display(Bind(UsrAccess::Name), QStringLiteral("@s255"))
                    .Name(QStringLiteral("UserName"));
                window.Spacer();
            });
            window.Text(QStringLiteral("If you wish to use a different user, please cancel the migration "
                                       "wizard and login with the correct user."));
            window.Text(QStringLiteral("Jornix 2.0 is multi-user aware. You can optionally mark the migrated "
                                       "log events as private so "
                                       "no one else can see them. Note that the user listed above is the "
                                       "only one that can see the log "
                                       "events."));
            window.Check(QStringLiteral("Mark Migrated Log Events as &Private"), Bind(private_))
                .Name(QStringLiteral("Private"))
                .Tip(QStringLiteral("Mark Migrated Log Events as Private"));
        });
        readyTitle_ = AddPage(QStringLiteral("Ready to Migrate"), [&] {
            readyNote_ = window
                             .Text(QStringLiteral("The Jornix Migration Wizard is ready to migrate the 1.0 "
                                                  "information. Click the Next Button to start the migration "
                                                  "process."))
                             .Name(QStringLiteral("ReadyNote"));
            doneNote_ = window
                            .Text(QStringLiteral("The migration process is complete. Please click the Finish "
                                                 "button to close the Jornix Migration Wizard."))
                            .Name(QStringLiteral("DoneNote"));
            progressPrompt_ = window.Text(QStringLiteral("Migration is in progress"))
                                  .Name(QStringLiteral("ProgressPrompt"));
            progress_ = window.Progress(Bind(count_));
        });
    }

    void GoTo(WizardPage page)
    {
        page_ = page;
        TurnTo(page);
    }

    void Browse() override
    {
        const QString chosen = AskOpenFileName(QStringLiteral("Select Jornix 1.0 Database"),
                                               QStringLiteral("Jornix 1.0 File|LogFile.TPS"), ProgramFolder);
        if (chosen.isEmpty())
            return;
        oldFile_ = chosen;
        shownFile_ = chosen;
        if (!OpenOldLog(oldFile_)) { // a test only: closed again at once
            CorruptFile();
            oldFile_.clear();
            shownFile_.clear();
        }
        window.ShowValues(fileEntry_);
    }

    void Next() override
    {
        switch (page_) {
        case Welcome:
            return GoTo(SelectDatabase);
        case SelectDatabase:
            if (StripTrailingBlanks(oldFile_).isEmpty()) {
                Exclaim(
                    QStringLiteral("Select File"),
                    QStringLiteral("You must select the Jornix 1.0 database file that will be migrated."));
                return window.Select(browse_);
            }
            return GoTo(OwnerOptions);
        case OwnerOptions:
            window.SetLabel(readyTitle_, QStringLiteral("Ready to Migrate"));
            window.Hide(doneNote_);
            window.Hide(progressPrompt_);
            window.Hide(progress_);
            return GoTo(Ready);
        case Ready:
            return finished_ ? Finish() : Migrate();
        }
    }

    void Cancel() override
    {
        const int answer = ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Question, QStringLiteral("Cancel?"),
            QStringLiteral("Are you sure you want to cancel the migration wizard?"), MessageButton::Yes);
        if (answer == MessageButton::Yes)
            Close(Response::Cancelled);
    }

    void Finish()
    {
        BroadcastRefresh();
        Close(Response::Completed);
    }

    void Migrate()
    {
        std::unique_ptr<FileSnapshot> old = OpenOldLog(oldFile_);
        if (!old) {
            CorruptFile();
            return Close(Response::Cancelled);
        }
        migrating_ = true;
        count_ = 0;
        auto* bar = static_cast<QProgressBar*>(window.Widget(progress_));
        bar->setRange(0, int(qMin<qint64>(old->RecordCount(), INT_MAX)));
        window.SetLabel(readyTitle_, QStringLiteral("Migrating..."));
        window.Hide(readyNote_);
        window.Hide(doneNote_);
        window.Show(progressPrompt_);
        window.ShowValues(progress_);
        window.Show(progress_);
        window.Disable(next_);
        window.Disable(cancel_);

        Record record(AccessOLD10->GetTable());
        Status read;
        bool more = true, failed = false;
        while (more && !failed) {
            // The events go in groups, one transaction each, rather than two transactions an event: the
            // bar paints and the other windows go on between the groups.
            int added = 0;
            failed = !AddGroup(*old, record, read, added, more);
            count_ += added;
            window.ShowValues(progress_);
            if (failed)
                Exclaim(QStringLiteral("Error"),
                        QStringLiteral("There was a problem adding the migrated Log Event Record. Please try "
                                       "again."));
            else
                YieldNow();
        }
        if (!read)
            CorruptFile(); // damaged past its start: what was read before stays
        old.reset();

        window.SetLabel(readyTitle_, QStringLiteral("Migration Completed"));
        window.Show(doneNote_);
        window.Hide(progressPrompt_);
        window.Show(progress_, bar->maximum() > 0); // an empty bar would show as busy
        window.SetLabel(next_, QStringLiteral("Finish"));
        window.Enable(next_);
        window.Hide(cancel_);
        window.Select(next_);
        migrating_ = false;
        finished_ = true;
    }

    // The events migrated in one transaction.
    static constexpr int EventsPerGroup = 50;

    // Adds the next group of old records in one transaction; `added` of them were added and kept. False when
    // one could not be added: no row of it is left, the ones before it are kept, and the run stops.
    bool AddGroup(FileSnapshot& old, Record& record, Status& read, int& added, bool& more)
    {
        Table& log = AccessLOG->GetTable();
        RecordFile& file = *log.File();
        Transaction group(log);
        if (!group.Begin())
            return false;
        bool failed = false;
        while (added < EventsPerGroup && (more = old.Next(record, read))) {
            // Each event can be undone alone, so that a failure keeps the events before it.
            if (!file.Execute(QStringLiteral("SAVEPOINT migrated_event"))) {
                failed = true;
                break;
            }
            if (!AddEvent(record)) {
                failed = true;
                file.Execute(QStringLiteral("ROLLBACK TO migrated_event"));
                file.Execute(QStringLiteral("RELEASE migrated_event"));
                break;
            }
            file.Execute(QStringLiteral("RELEASE migrated_event"));
            ++added;
        }
        if (!group.Commit()) {
            added = 0;
            return false;
        }
        return !failed;
    }

    // Adds the old record as a new event of the signed-in user; false when it could not be added, and then
    // no row of it is left.
    bool AddEvent(const Record& old)
    {
        FileManager& log = *AccessLOG;
        if (log.PrepareRecord() != Severity::Benign)
            return false;
        const qint64 primedRow = log.PrimedRow();
        const QVariant primedNumber = FormUpdate::PrimedNumber(log);

        txEdit_.NewDocument(1);
        const QString notes = old.Value(QStringLiteral("OLD10:LOGNOTES")).toString();
        if (IsRtf(notes.toUtf8()))
            txEdit_.SetRTFSelText(notes);
        else // notes kept as plain text are taken as they are
            textControl_->SetSelText(QString(notes)
                                         .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                         .replace(QLatin1Char('\r'), QLatin1Char('\n')));
        txEdit_.SaveToBlob(log.GetTable(), 2);

        Record& event = log.Buffer();
        for (const char* field : SameFields)
            event.SetValue(QStringLiteral("LOG:") + QLatin1String(field),
                           old.Value(QStringLiteral("OLD10:") + QLatin1String(field)));
        for (int i = 1; i <= 3; ++i)
            event.SetValue(QStringLiteral("LOG:LOGMISC%1").arg(i + 3),
                           QString::number(old.Value(QStringLiteral("OLD10:LOGNUM%1").arg(i)).toInt()));
        const int today = Today();
        event.SetValue(QStringLiteral("LOG:LogDocEditDate"), today);
        event.SetValue(QStringLiteral("LOG:LogDocEditTime"), Clock());
        event.SetValue(QStringLiteral("LOG:LogCreateDate"), today);
        event.SetValue(QStringLiteral("LOG:LogCreateLoginID"), UsrAccess::LoginID);
        event.SetValue(QStringLiteral("LOG:LogLastEditDate"), today);
        event.SetValue(QStringLiteral("LOG:LogLastEditLoginID"), UsrAccess::LoginID);
        event.SetValue(QStringLiteral("LOG:LogPrivate"), private_);
        event.SetValue(QStringLiteral("LOG:LogUniqueID"), CurrentUserUniqueID);
        if (log.InsertQuiet() == Severity::Benign)
            return true;
        const QuietRefresh quiet;
        FormUpdate::UndoPrimedRow(log, primedRow, primedNumber);
        return false;
    }

    // The wizard's state, as its controls show it.
    QString oldFile_;   // the version-1.0 log chosen
    QString shownFile_; // as page 2 shows it
    int private_ = 0;
    int count_ = 0; // events migrated
    bool migrating_ = false;
    bool finished_ = false;
    WizardPage page_ = Welcome;

    TXEdit txEdit_;
    RichTextControl* textControl_ = nullptr; // the window's

    int fileEntry_ = 0, readyTitle_ = 0, readyNote_ = 0, doneNote_ = 0, progressPrompt_ = 0, progress_ = 0;
};

} // namespace

void MigrateData()
{
    MigrateDataWizard wizard;
    wizard.Run();
}

} // namespace jornix
