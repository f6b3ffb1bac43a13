#include "platform/richtext/ImageObjects.h"

#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/RecordPayload.h"
#include "platform/richtext/TypingFont.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QImageReader>
#include <QIODevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

#include <vector>

namespace jornix {
namespace {

// A picture has no size of its own beyond this many layout units either way.
constexpr qreal LargestSide = 20000;

// Calls visit(position, format) for every picture character of the document, in document order.
template <typename Visit> void forEachImage(const QTextDocument& document, Visit visit)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            // Two equal pictures side by side are one fragment of two characters.
            for (int offset = 0; offset < fragment.length(); ++offset)
                visit(fragment.position() + offset, fragment.charFormat().toImageFormat());
        }
}

bool isImageCharacter(const QTextDocument& document, int position)
{
    if (position < 0 || position >= document.characterCount() - 1)
        return false;
    QTextCursor at(const_cast<QTextDocument*>(&document));
    at.setPosition(position + 1); // the format of the character before the cursor
    return at.charFormat().isImageFormat() && document.characterAt(position) == QChar::ObjectReplacementCharacter;
}

} // namespace

ObjectAttributes AttributesOf(const QTextImageFormat& format)
{
    ObjectAttributes attributes;
    auto read = [&format](int property, int fallback) {
        return format.hasProperty(property) ? format.intProperty(property) : fallback;
    };
    attributes.displayMode = read(ImageProperty::DisplayMode, attributes.displayMode);
    attributes.saveMode = read(ImageProperty::SaveMode, attributes.saveMode);
    attributes.textflow = read(ImageProperty::Textflow, attributes.textflow);
    for (int side = 0; side < 4; ++side)
        attributes.distances[side] = read(ImageProperty::DistanceLeft + side, 0);
    return attributes;
}

void SetAttributes(QTextImageFormat& format, const ObjectAttributes& attributes)
{
    format.setProperty(ImageProperty::DisplayMode, attributes.displayMode);
    format.setProperty(ImageProperty::SaveMode, attributes.saveMode);
    format.setProperty(ImageProperty::Textflow, attributes.textflow);
    for (int side = 0; side < 4; ++side)
        format.setProperty(ImageProperty::DistanceLeft + side, attributes.distances[side]);
}

QString ImageFilters()
{
    QStringList patterns;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
    patterns.removeDuplicates();
    std::sort(patterns.begin(), patterns.end());
    return QStringLiteral("Images|") + patterns.join(QLatin1Char(';')) + QStringLiteral("|All Files|*.*");
}

bool InsertImageFile(QTextCursor& cursor, const QString& fileName, const ObjectAttributes& attributes,
                     qreal textWidth, QString* error)
{
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = QFileInfo::exists(fileName) ? reader.errorString() : QStringLiteral("The file does not exist.");
        return false;
    }
    // The picture's data becomes a resource of the document, named by its content, so that the same picture
    // inserted twice is kept once.
    const QByteArray png = PngBytes(image);
    const QString name = QStringLiteral("image-%1.png")
                             .arg(QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex()));
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);

    // Its own size at its resolution (96 dots per inch when it names none), in layout units of 1/96 inch.
    const auto side = [](int pixels, int dotsPerMetre) {
        return dotsPerMetre > 0 ? pixels * 96.0 / (dotsPerMetre * 0.0254) : qreal(pixels);
    };
    qreal width = qBound<qreal>(1, side(image.width(), image.dotsPerMeterX()), LargestSide);
    qreal height = qBound<qreal>(1, side(image.height(), image.dotsPerMeterY()), LargestSide);
    if (textWidth > 0 && width > textWidth) {
        height = qMax<qreal>(1, height * textWidth / width);
        width = textWidth;
    }
    // The picture's character has the font of the text at the caret, which text typed after it takes.
    QTextImageFormat format;
    format.merge(TypingFont(cursor));
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    SetAttributes(format, attributes);
    cursor.insertImage(format);
    return true;
}

void GiveImagesTheFontOfTheirText(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // The fragments of the paragraph in order; a picture takes the font of the nearest text before it,
        // else of the first text after it.
        std::vector<QTextFragment> fragments;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            fragments.push_back(it.fragment());
        for (std::size_t at = 0; at < fragments.size(); ++at) {
            const QTextCharFormat format = fragments[at].charFormat();
            if (!format.isImageFormat())
                continue;
            // A cursor after a character of that text, whose format it then has.
            int textAt = -1;
            for (std::size_t before = at; before-- > 0 && textAt < 0;)
                if (!fragments[before].charFormat().isImageFormat())
                    textAt = fragments[before].position() + fragments[before].length();
            for (std::size_t after = at + 1; after < fragments.size() && textAt < 0; ++after)
                if (!fragments[after].charFormat().isImageFormat())
                    textAt = fragments[after].position() + 1;
            if (textAt < 0)
                continue;
            QTextCursor picture(&document);
            picture.setPosition(fragments[at].position());
            picture.setPosition(fragments[at].position() + fragments[at].length(), QTextCursor::KeepAnchor);
            QTextCursor around(&document);
            around.setPosition(textAt);
            picture.mergeCharFormat(TypingFont(around));
        }
    }
}

std::optional<QTextCursor> ImageAt(const QTextCursor& caret)
{
    const QTextDocument* document = caret.document();
    if (!document)
        return std::nullopt;
    auto select = [&](int position) {
        QTextCursor image(caret);
        image.setPosition(position);
        image.setPosition(position + 1, QTextCursor::KeepAnchor);
        return image;
    };
    if (caret.hasSelection() && caret.selectionEnd() - caret.selectionStart() == 1 &&
        isImageCharacter(*document, caret.selectionStart()))
        return select(caret.selectionStart());
    if (caret.hasSelection())
        return std::nullopt;
    if (isImageCharacter(*document, caret.position() - 1))
        return select(caret.position() - 1);
    if (isImageCharacter(*document, caret.position()))
        return select(caret.position());
    return std::nullopt;
}

// The payload: the number of records, then per record the picture's number in document order (from 0), its
// display mode, save mode and text flow (a byte each) and its four distances; all little-endian.
QByteArray ImageAttributesPayload(const QTextDocument& document)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    QList<std::pair<quint32, ObjectAttributes>> records;
    quint32 index = 0;
    forEachImage(document, [&](int, const QTextImageFormat& format) {
        const ObjectAttributes attributes = AttributesOf(format);
        if (!(attributes == ObjectAttributes()))
            records.append({index, attributes});
        ++index;
    });
    if (records.isEmpty())
        return {};
    out << quint32(records.size());
    for (const auto& [number, attributes] : records) {
        out << number << quint8(attributes.displayMode) << quint8(attributes.saveMode)
            << quint8(attributes.textflow);
        for (const int distance : attributes.distances)
            out << qint32(distance);
    }
    return payload;
}

bool ApplyImageAttributesPayload(QByteArrayView payload, QTextDocument& document)
{
    const QByteArray bytes = payload.toByteArray();
    QDataStream in(bytes);
    const std::optional<quint32> count = ReadRecordCount(in, bytes, 4 + 3 + 16);
    if (!count)
        return false;
    QList<int> positions;
    forEachImage(document, [&](int position, const QTextImageFormat&) { positions.append(position); });
    QList<std::pair<int, ObjectAttributes>> changes;
    for (quint32 record = 0; record < *count; ++record) {
        quint32 number = 0;
        quint8 displayMode = 0, saveMode = 0, textflow = 0;
        ObjectAttributes attributes;
        in >> number >> displayMode >> saveMode >> textflow;
        for (int& distance : attributes.distances) {
            qint32 value = 0;
            in >> value;
            distance = value;
        }
        if (number >= quint32(positions.size()))
            return false;
        attributes.displayMode = displayMode;
        attributes.saveMode = saveMode;
        attributes.textflow = textflow;
        changes.append({positions.at(int(number)), attributes});
    }
    for (const auto& [position, attributes] : changes) {
        QTextCursor image(&document);
        image.setPosition(position);
        image.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextImageFormat format = image.charFormat().toImageFormat();
        SetAttributes(format, attributes);
        image.setCharFormat(format);
    }
    return true;
}

} // namespace jornix
