#include "documents/SpellCheckEvents.h"

#include "documents/SpellCheckDialog.h"
#include "platform/richtext/RichTextControl.h"

namespace jornix {
namespace {

void select(RichTextControl& text, int offset, int length)
{
    text.SetSelStart(offset);
    text.SetSelLength(length);
    text.ensureCursorVisible();
}

} // namespace

void SpellCheckEvents(RichTextControl& text, const SpellCheckEvent& event)
{
    static const QStringList wordShown{QStringLiteral("MisspelledWord"), QStringLiteral("DoubledWord"),
                                       QStringLiteral("Capitalization"), QStringLiteral("WordWithDigits")};
    if (wordShown.contains(event.name)) {
        select(text, event.wordOffset, int(event.misspelledWord.size()));
    } else if (event.name == QLatin1String("ReplaceWord")) {
        select(text, event.wordOffset, int(event.misspelledWord.size()));
        text.SetSelText(event.replacementWord);
    } else if (event.name == QLatin1String("DeleteWord")) {
        select(text, event.wordOffset, int(event.misspelledWord.size()));
        text.SetSelText(QString());
    } else if (event.name == QLatin1String("UndoChange")) {
        select(text, event.undoOffset, int(event.undoNewText.size()));
        text.SetSelText(event.undoOldText);
    }
}

} // namespace jornix
