#include "platform/richtext/OwnFormat.h"

#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/ParagraphFrames.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QtEndian>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

#include <cstring>

namespace jornix {
namespace {

constexpr char HtmlTag[4] = {'H', 'T', 'M', 'L'};
constexpr char ImageTag[4] = {'I', 'M', 'G', ' '};
constexpr char FramesTag[4] = {'F', 'R', 'M', 'S'};
constexpr char ImageAttributesTag[4] = {'I', 'M', 'G', 'A'};

void appendU16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendSection(QByteArray& out, const char (&tag)[4], const QByteArray& payload)
{
    out.append(tag, 4);
    appendU32(out, quint32(payload.size()));
    out.append(payload);
}

struct Section
{
    const char* tag;
    QByteArrayView payload;
};

// Walks the container; false when the prefix or any section length does not fit the bytes.
template <typename Visit> bool walkSections(const QByteArray& bytes, Visit visit)
{
    if (bytes.size() < OwnFormat::PrefixSize || std::memcmp(bytes.constData(), OwnFormat::Magic, 4) != 0)
        return false;
    if (qFromLittleEndian<quint16>(bytes.constData() + 4) != OwnFormat::MajorVersion)
        return false;
    qsizetype at = OwnFormat::PrefixSize;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8)
            return false;
        const char* tag = bytes.constData() + at;
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        at += 8;
        if (length > quint64(bytes.size() - at))
            return false;
        if (!visit(Section{tag, QByteArrayView(bytes.constData() + at, qsizetype(length))}))
            return false;
        at += length;
    }
    return true;
}

bool isTag(const Section& section, const char (&tag)[4])
{
    return std::memcmp(section.tag, tag, 4) == 0;
}

} // namespace

QByteArray EncodeOwnFormat(const OwnFormatContent& content)
{
    QByteArray out(OwnFormat::Magic, 4);
    appendU16(out, OwnFormat::MajorVersion);
    appendU16(out, OwnFormat::MinorVersion);
    appendSection(out, HtmlTag, content.html.toUtf8());
    for (const OwnFormatImage& image : content.images) {
        const QByteArray name = image.name.toUtf8().left(0xFFFF);
        QByteArray payload;
        appendU16(payload, quint16(name.size()));
        payload.append(name);
        payload.append(image.png);
        appendSection(out, ImageTag, payload);
    }
    if (!content.frames.isEmpty())
        appendSection(out, FramesTag, content.frames);
    if (!content.imageAttributes.isEmpty())
        appendSection(out, ImageAttributesTag, content.imageAttributes);
    return out;
}

std::optional<OwnFormatContent> DecodeOwnFormat(const QByteArray& bytes)
{
    OwnFormatContent content;
    int htmlSections = 0;
    const bool wellFormed = walkSections(bytes, [&](const Section& section) {
        if (isTag(section, HtmlTag)) {
            ++htmlSections;
            content.html = QString::fromUtf8(section.payload);
        } else if (isTag(section, ImageTag)) {
            if (section.payload.size() < 2)
                return false;
            const quint16 nameLength = qFromLittleEndian<quint16>(section.payload.data());
            if (nameLength > section.payload.size() - 2)
                return false;
            content.images.append({QString::fromUtf8(section.payload.sliced(2, nameLength)),
                                   section.payload.sliced(2 + nameLength).toByteArray()});
        } else if (isTag(section, FramesTag)) {
            content.frames = section.payload.toByteArray();
        } else if (isTag(section, ImageAttributesTag)) {
            content.imageAttributes = section.payload.toByteArray();
        }
        return true;
    });
    if (!wellFormed || htmlSections != 1)
        return std::nullopt;
    return content;
}

bool IsOwnFormat(const QByteArray& bytes)
{
    int htmlSections = 0;
    const bool wellFormed = walkSections(bytes, [&](const Section& section) {
        if (isTag(section, HtmlTag))
            ++htmlSections;
        return true;
    });
    return wellFormed && htmlSections == 1;
}

QByteArray WriteOwnFormat(const QTextDocument& document)
{
    OwnFormatContent content;
    content.html = document.toHtml();
    for (const QString& name : ImageNames(document)) {
        const QImage image = ImageResource(document, name);
        if (!image.isNull())
            content.images.append({name, PngBytes(image)});
    }
    content.frames = ParagraphFramesPayload(document);
    content.imageAttributes = ImageAttributesPayload(document);
    return EncodeOwnFormat(content);
}

// The names of the images that HTML shows, read from a document of its own that is never laid out, so that
// reading them loads nothing.
static QStringList imageNames(const QString& html)
{
    QTextDocument probe;
    probe.setHtml(html);
    return ImageNames(probe);
}

bool ReadOwnFormat(const QByteArray& bytes, QTextDocument& document)
{
    document.clear();
    const std::optional<OwnFormatContent> content = DecodeOwnFormat(bytes);
    if (!content)
        return false;
    QList<std::pair<QUrl, QImage>> images;
    for (const OwnFormatImage& stored : content->images) {
        QImage image;
        if (!image.loadFromData(stored.png, "PNG"))
            return false;
        images.append({QUrl(stored.name), image});
    }
    // Laying out the HTML finds every picture among the document's resources and never looks for a file: an
    // image that the container does not hold shows as an empty picture, so that a stored document can never
    // make the program read a file it names (and carry that file into the next save). A null picture would be
    // looked for on disk.
    QImage missing(1, 1, QImage::Format_ARGB32);
    missing.fill(Qt::transparent);
    for (const QString& name : imageNames(content->html))
        document.addResource(QTextDocument::ImageResource, QUrl(name), missing);
    for (const auto& [url, image] : images)
        document.addResource(QTextDocument::ImageResource, url, image);
    document.setHtml(content->html);
    // What HTML cannot carry goes onto the paragraphs and pictures it made; that is no edit to undo.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    const bool applied = (content->frames.isEmpty() || ApplyParagraphFramesPayload(content->frames, document)) &&
                         (content->imageAttributes.isEmpty() ||
                          ApplyImageAttributesPayload(content->imageAttributes, document));
    document.setUndoRedoEnabled(undo);
    if (!applied) {
        document.clear();
        return false;
    }
    return true;
}

} // namespace jornix
