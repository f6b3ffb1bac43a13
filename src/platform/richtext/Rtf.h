#pragma once

#include "platform/richtext/PageSettings.h"

#include <QByteArray>

class QTextCursor;
class QTextDocument;

// Rich Text Format, read and written over a QTextDocument.
//
// The subset both ways: font and colour tables, the code page (\ansicpg, \'hh) and Unicode (\uN with its
// fallback), character formats (font, size, bold, italic, underline, strike-through, colours, super- and
// subscript), paragraph formats (alignment, indents, spacing, tab stops, page break before), \tab, \line,
// \page, bullet and numbered lists (\listtable with \ls and \ilvl), tables (\trowd, \cellx, \intbl, \cell,
// \row), PNG and JPEG pictures (\pict), and the paper size and margins of the page. The reader also takes
// field results (\fldrslt), the older \pn lists and the pictures of \shppict; it skips destinations it does
// not know when they are marked with "\*", and headers, footers, footnotes, style sheet and document
// information. Damaged or cut RTF reads as far as it goes; it never fails for that.
namespace jornix {

// The widest a table may be, in twips: 22 inches, the widest page RTF writers make. Cell boundaries beyond it
// are taken as this, so that no sum of them can overflow.
constexpr int MaxRtfTableTwips = 31680;

// Whether the bytes start as RTF does: a group that opens with a control word ("{\rtf1", though some
// writers leave that out), blanks before it allowed.
bool IsRtf(const QByteArray& bytes);

// Replaces the document's content with the RTF. The page values the RTF gives (\paperw, \paperh, \margl,
// \margr, \margt, \margb) go into page when it is given; the others stay. Bytes that are no RTF leave the
// document as it was and give false.
bool ReadRtf(const QByteArray& bytes, QTextDocument& document, PageSettings* page = nullptr);

// The RTF in place of the cursor's selection, its pictures brought along; false, and nothing changed, for
// bytes that are no RTF.
bool InsertRtf(const QByteArray& bytes, QTextCursor& cursor);

// The document, or with selection given the cursor's selection alone, as RTF: 7-bit text, everything
// outside ASCII as \uN with "?" for readers that do not know it. The page goes into the document's
// paper size and margins (a page of zero width writes none).
QByteArray WriteRtf(const QTextDocument& document, const PageSettings& page);
QByteArray WriteRtf(const QTextCursor& selection);

// A text as RTF data, never as control words: "\", "{" and "}" escaped, tabs and line breaks as \tab and
// \line, the no-break space and hyphens as their control symbols, other control characters left out, and
// everything outside ASCII as \uN with "?" after it.
QByteArray RtfText(const QString& text);

} // namespace jornix
