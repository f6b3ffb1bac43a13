#include "platform/richtext/DocumentImages.h"

#include <QBuffer>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

namespace jornix {

QStringList ImageNames(const QTextDocument& document)
{
    QStringList names;
    QSet<QString> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (!name.isEmpty() && !seen.contains(name)) {
                seen.insert(name);
                names << name;
            }
        }
    return names;
}

QImage ImageResource(const QTextDocument& document, const QString& name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.metaType().id() == QMetaType::QImage)
        return resource.value<QImage>();
    if (resource.metaType().id() == QMetaType::QPixmap)
        return resource.value<QPixmap>().toImage();
    if (resource.metaType().id() == QMetaType::QByteArray)
        return QImage::fromData(resource.toByteArray());
    return {};
}

QByteArray PngBytes(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

void TakeImagesIn(QTextDocument& document)
{
    for (const QString& name : ImageNames(document)) {
        const QImage image = ImageResource(document, name);
        if (!image.isNull())
            document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
}

void CopyImages(const QTextDocument& source, QTextDocument& target)
{
    for (const QString& name : ImageNames(source)) {
        const QImage image = ImageResource(source, name);
        if (!image.isNull())
            target.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
}

void InsertWithImages(QTextCursor& cursor, const QTextDocument& source, const QTextDocumentFragment& fragment)
{
    CopyImages(source, *cursor.document());
    cursor.insertFragment(fragment);
}

} // namespace jornix
