#pragma once

namespace jornix {

class RichTextControl;
struct SpellCheckEvent;

// Follows a spelling check in the text window: selects each word the check stops at, and makes the
// replacements, deletions and undos it reports, so that the document changes as the check's text did.
void SpellCheckEvents(RichTextControl& text, const SpellCheckEvent& event);

} // namespace jornix
