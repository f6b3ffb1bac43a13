#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/SpellChecker.h"
#include "platform/richtext/SpellingHighlighter.h"

#include <QScopedValueRollback>

namespace jornix {

void RichTextControl::SetHideSelection(bool hide)
{
    if (hide == hideSelection_)
        return;
    // Without the focus the control draws its selection in the inactive colours: hiding it draws the
    // selected text like the rest.
    QPalette colours = palette();
    if (hide) {
        shownHighlight_ = colours.brush(QPalette::Inactive, QPalette::Highlight);
        shownHighlightedText_ = colours.brush(QPalette::Inactive, QPalette::HighlightedText);
        colours.setBrush(QPalette::Inactive, QPalette::Highlight,
                         colours.brush(QPalette::Inactive, QPalette::Base));
        colours.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                         colours.brush(QPalette::Inactive, QPalette::Text));
    } else {
        colours.setBrush(QPalette::Inactive, QPalette::Highlight, shownHighlight_);
        colours.setBrush(QPalette::Inactive, QPalette::HighlightedText, shownHighlightedText_);
    }
    setPalette(colours);
    hideSelection_ = hide;
}

SpellChecker& RichTextControl::OwnSpellChecker()
{
    if (!ownSpellChecker_) {
        static const std::shared_ptr<SpellChecker> shared = std::make_shared<SpellChecker>();
        ownSpellChecker_ = shared;
    }
    return *ownSpellChecker_;
}

void RichTextControl::SetOwnSpellChecker(std::shared_ptr<SpellChecker> checker)
{
    ownSpellChecker_ = std::move(checker);
}

void RichTextControl::SetTypingChecker(SpellChecker* checker)
{
    delete typingMarker_.data();
    if (!checker)
        return;
    typingMarker_ = new SpellingHighlighter(document(), checker);
    // Marking the whole document at once, here, instead of at the highlighter's next turn: Qt reports it
    // as a change of the text, which it is not.
    const QScopedValueRollback<bool> noChange(loading_, true);
    typingMarker_->rehighlight();
}

} // namespace jornix
