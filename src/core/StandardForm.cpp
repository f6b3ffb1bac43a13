#include "core/StandardForm.h"

#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/store/Table.h"

namespace jornix {

StandardForm::StandardForm(const QString& procedureName, const QString& caption)
    : StandardWindow(procedureName, caption, WindowType::Dialog)
{
}

void StandardForm::SetRecord(TableRelations& relations, bool stamped, RecordStamps stamps)
{
    relations_ = &relations;
    stamped_ = stamped;
    stamps_ = std::move(stamps);
    UseTable(relations);
}

void StandardForm::SetButtons(int okButton, int cancelButton)
{
    okButton_ = okButton;
    cancelButton_ = cancelButton;
}

void StandardForm::SetNameField(const QString& fieldName)
{
    nameField_ = fieldName;
}

void StandardForm::SetPrivateBox(int checkBox)
{
    privateBox_ = checkBox;
}

void StandardForm::SetCaptions(FormCaptions captions)
{
    captions_ = std::move(captions);
}

void StandardForm::SetShowScraps(int button)
{
    showScraps_ = button;
}

int StandardForm::DescribeStamps(const QString& createdPrompt)
{
    FileManager& access = relations_->Access();
    const QString prefix = access.GetTable().Prefix() + QLatin1Char(':');
    const auto stamp = [&](const QString& prompt, const QString& date, const QString& loginId) {
        window.Row([&] {
            window.Prompt(prompt);
            window.Display(BindField(access, prefix + date), QStringLiteral("@D17B"));
            window.Prompt(QStringLiteral("by"));
            window.Display(BindField(access, prefix + loginId), QStringLiteral("@s30")).Stretch();
        });
    };
    return window
        .Panel([&] {
            stamp(createdPrompt, stamps_.createDate, stamps_.createLoginId);
            stamp(QStringLiteral("Edited on"), stamps_.lastEditDate, stamps_.lastEditLoginId);
        })
        .Name(QStringLiteral("CreatePanel"));
}

void StandardForm::KeepCaption()
{
    keepsCaption_ = true;
}

void SetControlViewOnly(WindowDescription& window, int control)
{
    switch (window.KindOf(control)) {
    case ControlKind::Entry:
    case ControlKind::TextBox:
    case ControlKind::Combo:
    case ControlKind::Spin:
        window.SetReadOnly(control);
        break;
    case ControlKind::Check:
    case ControlKind::Options:
    case ControlKind::Radio:
    case ControlKind::DropList:
        window.Disable(control);
        break;
    default:
        break;
    }
}

Record& StandardForm::Buffer() const
{
    return relations_->Access().Buffer();
}

QVariant StandardForm::Field(const QString& name) const
{
    return Buffer().Value(name);
}

void StandardForm::SetField(const QString& name, const QVariant& value)
{
    Buffer().SetValue(name, value);
}

int StandardForm::SetUpForm()
{
    if (!relations_)
        return Level::GoOn;
    AddUpdateTable(relations_->Access());
    if (cancelButton_)
        AddButtonAction(cancelButton_, Response::Cancelled);
    PRIMARY = relations_;
    return Level::GoOn;
}

int StandardForm::PrepareRecord()
{
    viewOnly_ = REQUEST == Request::ViewOnly;
    if (viewOnly_) {
        INSERTACTION = 1;
        DELETEACTION = 1;
        CHANGEACTION = 0;
        CANCELACTION = 0;
        OKCONTROL = 0;
        return Level::GoOn;
    }
    OKCONTROL = okButton_;
    return PrepareUpdate();
}

void StandardForm::SetUpWindow()
{
    if (viewOnly_) {
        for (const int control : window.Controls())
            SetControlViewOnly(window, control);
        if (okButton_)
            window.Hide(okButton_);
    }
    if (!keepsCaption_) {
        if (viewOnly_) {
            window.SetCaption(captions_.view);
        } else if (REQUEST == Request::Insert) {
            window.SetCaption(captions_.insert + QStringLiteral("  (New)"));
        } else if (REQUEST == Request::Change) {
            const QString name =
                nameField_.isEmpty() ? QString() : StripTrailingBlanks(Field(nameField_).toString());
            window.SetCaption(captions_.change + QStringLiteral("  (") + name + QStringLiteral(")"));
        }
    }
    if (privateBox_ && stamped_ && Field(stamps_.creatorUniqueId).toInt() != CurrentUserUniqueID)
        window.Disable(privateBox_);
    if (!viewOnly_ && relations_)
        AlertKey(HistoryKey);
    window.ShowValues();
}

void StandardForm::SetFieldDefaults()
{
    if (stamped_) {
        SetField(stamps_.createDate, Today());
        SetField(stamps_.createLoginId, UsrAccess::LoginID);
        SetField(stamps_.creatorUniqueId, CurrentUserUniqueID);
        SetField(stamps_.lastEditDate, 0);
        SetField(stamps_.lastEditLoginId, QString());
    }
    StandardWindow::SetFieldDefaults();
}

int StandardForm::PrepareUpdate()
{
    // In place of the framework's own, which only sets the defaults of a new record (FormUpdate does too).
    return update_.PrepareUpdate();
}

int StandardForm::ValidateRecord()
{
    return Level::GoOn;
}

int StandardForm::OnAccepted(int control)
{
    if (viewOnly_ && okButton_ && control == okButton_) {
        Update();
        Post(Event::CloseWindow);
        return Level::Handled;
    }
    if (showScraps_ && control == showScraps_) {
        Update();
        CallProcedure(QStringLiteral("SelectScrap"));
        Reset(false);
        return Level::Handled;
    }
    return StandardWindow::OnAccepted(control);
}

int StandardForm::OnCompleted()
{
    if (viewOnly_ || !relations_)
        return StandardWindow::OnCompleted();
    Update();
    if (stamped_ && !relations_->Access().BufferUnchanged()) {
        SetField(stamps_.lastEditDate, Today());
        SetField(stamps_.lastEditLoginId, UsrAccess::LoginID);
    }
    if (const int level = ValidateRecord(); level != Level::GoOn)
        return level;
    return update_.Complete();
}

int StandardForm::OnCloseRequest()
{
    if (const int level = StandardWindow::OnCloseRequest(); level != Level::GoOn)
        return level;
    return update_.CloseRequest();
}

int StandardForm::OnWindowEvent(const FrameworkEvent& event)
{
    if (event.event == Event::AlertKey && event.key == HistoryKey && !viewOnly_ &&
        update_.Recall(window.FocusedControl()))
        return Level::Handled;
    return StandardWindow::OnWindowEvent(event);
}

int StandardForm::Kill()
{
    // A new record that was never saved gives back the row added for its number while the table is open.
    if (REQUEST == Request::Insert && RESPONSE != Response::Completed)
        update_.UndoInsert();
    update_.Release();
    return StandardWindow::Kill();
}

int StandardForm::Run()
{
    const int response = StandardWindow::Run();
    return viewOnly_ ? int(Response::Cancelled) : response;
}

} // namespace jornix
