#pragma once

#include <QImage>
#include <QStringList>

class QTextCursor;
class QTextDocument;
class QTextDocumentFragment;

// The pictures a rich-text document shows: QTextDocument keeps them as resources named by the image formats.
namespace jornix {

// The names of the pictures in document order, each once.
QStringList ImageNames(const QTextDocument& document);
// The picture of that name among the document's resources; a null image when it holds none.
QImage ImageResource(const QTextDocument& document, const QString& name);
// The picture as PNG bytes.
QByteArray PngBytes(const QImage& image);
// Puts every picture the document shows among its own resources, under the name it shows it by, read from
// wherever that name leads now (a file beside the HTML page, its base URL set; data written in the name).
// A picture kept so is data of the document: no later base URL or file can take it away.
void TakeImagesIn(QTextDocument& document);
// The pictures the source shows, put among the target's resources.
void CopyImages(const QTextDocument& source, QTextDocument& target);
// Inserts the source document (or its fragment) at the cursor, replacing its selection, and brings the
// pictures it shows along into the cursor's document.
void InsertWithImages(QTextCursor& cursor, const QTextDocument& source,
                      const QTextDocumentFragment& fragment);

} // namespace jornix
