// The headers and footers of TXEdit.
#include "documents/TXEdit.h"

#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/MessageBox.h"

namespace jornix {
namespace {

constexpr int MaxHeaderFooterText = 512;

QString headerRefusal()
{
    return QStringLiteral("You need to be in a Page View Mode to insert a header.");
}

} // namespace

void TXEdit::InsertFirstHeader(int on, const QString& text)
{
    insertHeaderFooter(HeaderFooter::FirstHeader, on, text, headerRefusal());
}

void TXEdit::InsertHeader(int on, const QString& text)
{
    insertHeaderFooter(HeaderFooter::Header, on, text, headerRefusal());
}

void TXEdit::InsertFirstFooter(int on, const QString& text)
{
    insertHeaderFooter(HeaderFooter::FirstFooter, on, text,
                       QStringLiteral("You need to be in a Page View Mode to insert a footer."));
}

void TXEdit::InsertFooter(int on, const QString& text)
{
    insertHeaderFooter(HeaderFooter::Footer, on, text,
                       QStringLiteral("You need to be in a Page View Mode to insert a Footer."));
}

void TXEdit::insertHeaderFooter(int kind, int on, const QString& text, const QString& refusal)
{
    if (!text_)
        return;
    if (text_->GetViewMode() == RichTextControl::ViewMode::Normal) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::None, QStringLiteral("TX EDIT"), refusal);
        return;
    }
    if (!on) {
        text_->SetHeaderFooterOn(kind, false);
        return;
    }
    text_->SetHeaderFooterOn(kind, true);
    // The text goes to the control as a zero-terminated text: it ends at a NUL.
    text_->SetHeaderFooterText(kind, text.section(QChar(0), 0, 0).left(MaxHeaderFooterText));
    text_->HeaderFooterActivate(kind);
}

int TXEdit::ActivateHeaderFooter(int kind)
{
    return text_ ? text_->HeaderFooterActivate(kind) : 0;
}

} // namespace jornix
