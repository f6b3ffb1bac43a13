#pragma once

#include "platform/richtext/NamedStyles.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/richtext/TextFields.h"

#include <optional>

class QTextDocument;

// The rich-text control's own document format: a small versioned container.
//
//   offset 0   magic "JXRT" (as a little-endian 32-bit number 0x5452584A, so it can never be mistaken for
//              the value 23 that marks the page header of a stored document)
//   offset 4   major version, 16-bit little-endian (1); a reader refuses a major version it does not know
//   offset 6   minor version, 16-bit little-endian (1); newer minors only add sections
//   offset 8   sections up to the end of the bytes: a 4-byte tag, a 32-bit little-endian payload length,
//              the payload. Nothing may follow the last section.
//
// Sections of version 1.0:
//   "HTML"  exactly one: the document as Qt rich-text HTML, UTF-8
//   "IMG "  one per image the HTML names: 16-bit little-endian name length, the name (UTF-8), then the image
//           as PNG bytes. Images travel as data, never as references to files.
//   "HDFT"  at most one, only when the document has headers or footers (HeadersFooters.h): for each one
//           switched on, its kind (8-bit: 1 first header, 2 header, 3 first footer, 4 footer), a 32-bit
//           little-endian length and that many bytes of its Qt rich-text HTML, UTF-8. Its pictures are
//           among the "IMG " sections. A kind this reader does not know is passed over.
//   "FRMS"  at most one: the paragraphs' frames (ParagraphFramesPayload, ParagraphFrames.h)
//   "IMGA"  at most one: the pictures' attributes (ImageAttributesPayload, ImageObjects.h)
// A reader skips sections it does not know, so documents of later minor versions still load, and documents
// without "HDFT" have no headers or footers.
//
// Added in version 1.1:
//   "STYL"  at most one, only when the document has named styles: EncodeNamedStyles (NamedStyles.h). A
//           document without it has none; a section that cannot be read gives none and the text loads.
//   "FLDS"  at most one, only when the document has text fields: a 32-bit count, then per field its id
//           (32-bit), type (8-bit), attribute and value (32-bit signed each), start and length (32-bit,
//           counted in characters of the document) and three texts, each a 32-bit byte length and UTF-8:
//           data, type data and the characters the field shows (so that a reader can find the field
//           should its position have moved), all numbers little-endian. Documents without it load as
//           having no fields.
namespace jornix {

struct OwnFormatImage
{
    QString name;
    QByteArray png;
};

struct OwnFormatHeaderFooter
{
    int kind = 0;
    QString html;
};

struct OwnFormatContent
{
    QString html;
    QList<OwnFormatImage> images;
    QList<OwnFormatHeaderFooter> headersFooters;

    // Paragraph frames and picture attributes; empty when the document has none.
    QByteArray frames;
    QByteArray imageAttributes;
    QList<NamedStyle> styles;
    QList<TextField> fields;
};

namespace OwnFormat {
constexpr char Magic[4] = {'J', 'X', 'R', 'T'};
constexpr quint16 MajorVersion = 1;
constexpr quint16 MinorVersion = 1;
constexpr int PrefixSize = 8;
} // namespace OwnFormat

QByteArray EncodeOwnFormat(const OwnFormatContent& content);
// Checks every length against the bytes; gives nothing for damaged or foreign bytes.
std::optional<OwnFormatContent> DecodeOwnFormat(const QByteArray& bytes);
// Whether the bytes are a well-formed container of a version this reader knows (no HTML is parsed).
bool IsOwnFormat(const QByteArray& bytes);

// The whole document with the images it shows, its headers and footers, its named styles and the text
// fields given.
QByteArray WriteOwnFormat(const QTextDocument& document, const QList<NamedStyle>& styles = {},
                          const QList<TextField>& fields = {});
// Replaces the document's content and, when asked, gives its named styles and its stored text fields
// (marking these in the document is TextFields::Restore). False, with the document left empty and no styles,
// when the bytes are no document (damaged, foreign, or an image that does not decode).
bool ReadOwnFormat(const QByteArray& bytes, QTextDocument& document, QList<NamedStyle>* styles = nullptr,
                   QList<TextField>* fields = nullptr);

} // namespace jornix
