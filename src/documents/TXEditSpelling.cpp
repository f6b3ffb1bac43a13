#include "documents/SpellCheckDialog.h"
#include "documents/SpellCheckEvents.h"
#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/SpellChecker.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include "platform/runtime/TrailingBlanks.h"

#include <QMenu>

#include <algorithm>

namespace jornix {
namespace {

const QString Caption = QStringLiteral("TX Text");

} // namespace

void TXEdit::SetSpellChecker(SpellChecker* checker)
{
    spellChecker_ = checker;
}

bool TXEdit::openChecker(SpellChecker& checker)
{
    QString error;
    if (checker.Open(&error))
        return true;
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, Caption, error);
    return false;
}

void TXEdit::SetCheckTyping()
{
    if (!text_ || !spellChecker_ || !openChecker(*spellChecker_))
        return;
    text_->SetTypingChecker(spellChecker_);
}

bool TXEdit::runSpellCheck(SpellChecker* checker)
{
    if (!text_ || !checker || !openChecker(*checker))
        return false;
    const QPointer<RichTextControl> control = text_;
    const bool hideSelection = control->HideSelection();
    control->SetHideSelection(false);
    SpellCheckDialog dialog(
        *checker, control->Text(),
        [control](const SpellCheckEvent& event) {
            if (control)
                SpellCheckEvents(*control, event);
        },
        !control->isReadOnly());
    if (dialog.Start())
        RunThreadModal(dialog);
    if (control)
        control->SetHideSelection(hideSelection);
    return true;
}

void TXEdit::SpellCheck()
{
    if (text_ && runSpellCheck(&text_->OwnSpellChecker()))
        ShowMessageBox(MessageButton::Ok, MessageIcon::Information, Caption,
                       QStringLiteral("Spell Check Complete!"));
}

void TXEdit::CheckSpellingLinked(SpellChecker* checker)
{
    runSpellCheck(checker);
}

void TXEdit::CheckSpellingText(SpellChecker* checker)
{
    runSpellCheck(checker);
}

void TXEdit::SpellingSuggestions(qint32 start, qint32 length, qint16 maximum)
{
    if (!text_ || !spellChecker_ || !openChecker(*spellChecker_) || start < 0 || length <= 0)
        return;
    const QString word = StripTrailingBlanks(text_->Text().mid(start, length));
    const QStringList suggestions = spellChecker_->Suggestions(word);
    if (suggestions.size() <= 1)
        return;
    // Suggestions 0 to the maximum, never past the last one nor the table's end.
    const int last = std::min({int(maximum), int(suggestions.size()) - 1, SuggestionTableSize - 1});
    if (last < 0)
        return;

    const QPointer<RichTextControl> control = text_;
    auto* popup = new QMenu(control);
    popup->setObjectName(QStringLiteral("SpellingSuggestions"));
    QObject::connect(popup, &QMenu::aboutToHide, popup, &QObject::deleteLater);
    QString heading = word + QStringLiteral(" (not in dictionary)");
    popup->addAction(heading)->setEnabled(false);
    popup->addSeparator();
    // The popup's text, items ending in "|", holds at most 512 characters: the items that fit.
    qsizetype popupLength = heading.size() + 1;
    for (int i = 0; i <= last; ++i) {
        const QString suggestion = StripTrailingBlanks(suggestions[i]).left(SuggestionLength);
        popupLength += suggestion.size() + 1;
        if (popupLength > SuggestionPopupLength)
            break;
        QObject::connect(popup->addAction(suggestion), &QAction::triggered, control,
                         [control, start, length, suggestion] {
                             if (!control || control->isReadOnly())
                                 return;
                             control->SetSelStart(start);
                             control->SetSelLength(length);
                             control->SetSelText(suggestion);
                         });
    }
    popup->popup(control->viewport()->mapToGlobal(control->cursorRect().bottomLeft()));
}

} // namespace jornix
