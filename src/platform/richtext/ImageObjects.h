#pragma once

#include <QByteArray>
#include <QString>
#include <QTextFormat>

#include <optional>

class QTextCursor;
class QTextDocument;
class QTextImageFormat;

// Pictures as objects of a rich-text document. A picture is one character of the text (Qt places images
// only in the text flow, never at a point of the page); its data is a resource of the document, so that it
// is kept in the document and never read again from the file it came from. Each picture carries the
// attributes below as properties of its character format.
namespace jornix {

namespace ImageProperty {
enum : int
{
    DisplayMode = QTextFormat::UserProperty + 0x4A10, // "ImageDisplayMode": 1 fast display
    SaveMode,                                         // "ImageSaveMode": 1 saved as data
    Textflow,                                         // "ObjectTextflow": 0 a character of the text
    DistanceLeft,                                     // "ObjectDistance(1)" to (4), in twips
    DistanceTop,
    DistanceRight,
    DistanceBottom
};
}

// The text flow of a picture placed where the user clicked: the text runs round it.
constexpr int TextflowAround = 3;

struct ObjectAttributes
{
    int displayMode = 0;
    int saveMode = 1;
    int textflow = 0;
    int distances[4] = {0, 0, 0, 0}; // "ObjectDistance(1)" to (4): left, top, right, bottom in twips
    bool operator==(const ObjectAttributes&) const = default;
};

ObjectAttributes AttributesOf(const QTextImageFormat& format);
void SetAttributes(QTextImageFormat& format, const ObjectAttributes& attributes);

// The file dialog's filters for every picture format Qt reads: "Images|*.bmp;*.png;...|All Files|*.*".
QString ImageFilters();

// Inserts the picture file at the position (-1 the caret, replacing the selection) as one step to undo,
// at its own size but never wider than the text width given in layout units (0 for no limit). False, with
// nothing inserted and the reason in error, for a file that is missing or no picture Qt can read.
bool InsertImageFile(QTextCursor& cursor, const QString& fileName, const ObjectAttributes& attributes,
                     qreal textWidth, QString* error = nullptr);

// Gives each picture of the document the font of the text before it in its paragraph (or after it, for a
// picture that starts one), so that text typed after a picture of a loaded document goes on in the font of the
// text around it: the formats keep no font with a picture, and load it with the control's own.
void GiveImagesTheFontOfTheirText(QTextDocument& document);

// A cursor that selects the picture at the caret: the one selected alone, else the one before the caret,
// else the one after it; nothing when there is none.
std::optional<QTextCursor> ImageAt(const QTextCursor& caret);

// The attributes of the document's pictures in document order, for the own format; a picture with the
// default attributes is left out. Applying them to a document read from the same bytes restores them;
// damaged bytes are refused (false) and change nothing.
QByteArray ImageAttributesPayload(const QTextDocument& document);
bool ApplyImageAttributesPayload(QByteArrayView payload, QTextDocument& document);

} // namespace jornix
