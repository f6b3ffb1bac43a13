#include "documents/TXEdit.h"

#include "documents/MailMerge.h"

#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"

#include <QPrinter>

namespace jornix {

TXEdit::TXEdit() : mail_(std::make_unique<MailMergeFields>(this)) {}

TXEdit::~TXEdit()
{
    // A merge window never outlives its object, even when the creator did not kill it.
    closeMailMergeWindow();
}

RichTextControl* TXEdit::TextControl() const
{
    return text_;
}

void TXEdit::Init(RichTextControl* textControl, ButtonBar* buttonBar, Ruler* ruler, StatusBar* statusBar)
{
    text_ = nullptr;
    if (!textControl) {
        ShowMessageBox(
            MessageButton::Abort | MessageButton::Ignore, MessageIcon::Stop, QString(),
            QStringLiteral("TXEdit: The FEQ was not passed into constructor, the control will not be "
                           "created!"));
        return;
    }
    text_ = textControl;
    buttonBar_ = buttonBar;
    ruler_ = ruler;
    statusBar_ = statusBar;
    text_->SetButtonBar(buttonBar);
    text_->SetRuler(ruler);
    text_->SetStatusBar(statusBar);

    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text_->SetPage({DefaultPageWidth, DefaultPageHeight, DefaultPageMargin, DefaultPageMargin,
                    DefaultPageMargin, DefaultPageMargin});
    SetViewMode(0);
    threadId_ = CurrentThread();
    workFileName_.clear();
    initialised_ = true;
    Activate();
}

void TXEdit::Kill()
{
    closeMailMergeWindow();
    mail_->MAILFILEQUEUE.clear();
    // The controls stay with their window; the object lets go of them.
    if (text_) {
        text_->SetButtonBar(nullptr);
        text_->SetRuler(nullptr);
        text_->SetStatusBar(nullptr);
    }
    text_ = nullptr;
    buttonBar_ = nullptr;
    ruler_ = nullptr;
    statusBar_ = nullptr;
    initialised_ = false;
    tokens_.clear();
    CloseMergeTable();
}

void TXEdit::Activate()
{
    if (!text_)
        return;
    text_->show();
    text_->setFocus();
    if (ruler_)
        ruler_->SetScaleUnits(measurements_);
}

void TXEdit::SetViewMode(int mode)
{
    pageView_ = (mode == 1 || mode == 2) ? mode : 0;
    if (text_)
        text_->SetViewMode(RichTextControl::ViewMode(pageView_));
}

void TXEdit::SetRulerUnits(int unit)
{
    measurements_ = unit;
    if (ruler_)
        ruler_->SetScaleUnits(unit);
}

void TXEdit::SetPageWidth(qint32 twips)
{
    if (text_)
        text_->SetPageWidth(twips);
}

void TXEdit::SetPageHeight(qint32 twips)
{
    if (text_)
        text_->SetPageHeight(twips);
}

} // namespace jornix
