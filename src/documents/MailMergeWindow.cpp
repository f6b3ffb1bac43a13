#include "documents/MailMerge.h"
#include "documents/TXEdit.h"
#include "platform/framework/WindowController.h"

#include <QPushButton>

namespace jornix {
namespace {

// "Mail Merge": a row of icon buttons that run the merge of one TXEdit, reached through its link.
class MailMergeWindowController : public WindowController
{
public:
    int insertField = 0, mergeToScreen = 0, mergeToPrinter = 0, firstRecord = 0, previousRecord = 0,
        nextRecord = 0, lastRecord = 0, filterFields = 0, printCurrent = 0, saveCurrent = 0;

    MailMergeWindowController(std::shared_ptr<TXEditLink> link, bool ownThread)
        : WindowController(QStringLiteral("MailMergeWindow"), QStringLiteral("Mail Merge")),
          link_(std::move(link)), ownThread_(ownThread)
    {
        window.Row([&] {
            insertField = Tool("Insert mail field", "MergeField.gif", "InsertMailField");
            mergeToScreen = Tool("Merge to screen", "MergeScreen.gif", "MergeToScreen");
            mergeToPrinter = Tool("Merge to printer", "MergePrinter.gif", "MergeToPrinter");
            firstRecord = Tool("First field", "MergeFirst.gif", "FirstField");
            previousRecord = Tool("Previous field", "MergePrevious.gif", "PreviousField");
            nextRecord = Tool("Next field", "MergeNext.gif", "NextField");
            lastRecord = Tool("Last field", "MergeLast.gif", "LastField");
            filterFields = Tool("Filter merge fields", "RTFFind.gif", "FilterMergeFields");
            printCurrent = Tool("Print current document", "RTFPrint.gif", "PrintCurrentDocument");
            saveCurrent = Tool("Save current document", "RTFSave.gif", "SaveCurrentDocument");
        });
        if (auto* toggle = qobject_cast<QPushButton*>(window.Widget(mergeToScreen)))
            toggle->setCheckable(true);
        // A bar of buttons: as small as its icons.
        window.Root()->adjustSize();
        window.Root()->setFixedSize(window.Root()->sizeHint());
    }

    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        TXEdit* edit = link_->edit;
        if (!edit)
            return Level::Stop;
        MailMergeFields& mail = edit->Mail();
        if (ownThread_)
            mail.POPUPMAILMERGE = CurrentThread();
        if (const QString table = mail.JSMERGEFILENAME.trimmed(); !table.isEmpty())
            edit->OpenMergeTable(table);
        edit->RestoreFieldColours();
        edit->KeepFieldTexts();
        if (mail.POPUPFLATBUTTONS)
            for (QPushButton* button : window.Root()->findChildren<QPushButton*>())
                button->setFlat(true);
        ShowWindow();
        Refresh(*edit);
        return Level::GoOn;
    }

    int Kill() override
    {
        if (const int level = WindowController::Kill())
            return level;
        if (TXEdit* edit = link_->edit) {
            edit->OpenMergeData(0);
            edit->RestoreFieldTexts();
            edit->Mail().keptTexts.clear();
            edit->Activate();
            if (ownThread_)
                edit->Mail().POPUPMAILMERGE = 0;
        }
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = WindowController::OnAccepted(control))
            return level;
        TXEdit* edit = link_->edit;
        if (!edit) {
            Post(Event::CloseWindow);
            return Level::Handled;
        }
        if (!window.IsEnabled(control))
            return Level::Handled;
        if (control == insertField)
            edit->PickMergeField();
        else if (control == mergeToScreen)
            edit->OpenMergeData(edit->Mail().MAILFILEOPEN ? 0 : 1);
        else if (control == mergeToPrinter)
            edit->MergeToPrinter();
        else if (control == firstRecord || control == previousRecord || control == nextRecord ||
                 control == lastRecord)
            edit->MoveMergeRecord(control == firstRecord      ? 1
                                  : control == previousRecord ? 2
                                  : control == nextRecord     ? 3
                                                              : 4);
        else if (control == filterFields)
            edit->MergeFilterWindow();
        else if (control == printCurrent)
            edit->PrintDirect(1);
        else if (control == saveCurrent)
            edit->SaveAs({}, 1);
        else
            return Level::GoOn;
        Refresh(*edit);
        return Level::Handled;
    }

private:
    int Tool(const char* tip, const char* image, const char* name)
    {
        const Control button =
            window.Button({}, QLatin1String(image)).Tip(QLatin1String(tip)).Name(QLatin1String(name));
        button.Widget()->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return button;
    }

    // The buttons by the state of the merge data: the moves only while it is open and not at that end.
    void Refresh(TXEdit& edit)
    {
        edit.UpdateMergeInfo();
        const MergeInfo& info = edit.Mail().INFO;
        const bool open = info.MAILOPEN != 0;
        for (const int control : {insertField, mergeToPrinter, filterFields, printCurrent, saveCurrent})
            window.Enable(control, !open);
        for (const int control : {firstRecord, previousRecord})
            window.Enable(control, open && info.MAILFILEBOF == 0);
        for (const int control : {nextRecord, lastRecord})
            window.Enable(control, open && info.MAILFILEEOF == 0);
        if (auto* toggle = qobject_cast<QPushButton*>(window.Widget(mergeToScreen)))
            toggle->setChecked(open);
    }

    std::shared_ptr<TXEditLink> link_;
    const bool ownThread_;
};

} // namespace

void TXEdit::MailMergeWindow()
{
    MailMergeWindowController thisWindow(mail_->link, true);
    thisWindow.Run();
}

void TXEdit::MailMergeDialog()
{
    MailMergeWindowController thisWindow(mail_->link, false);
    thisWindow.Run();
}

} // namespace jornix
