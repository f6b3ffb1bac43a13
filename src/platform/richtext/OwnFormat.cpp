#include "platform/richtext/OwnFormat.h"

#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/ParagraphFrames.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QtEndian>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

#include <climits>
#include <cstring>
#include <memory>

namespace jornix {
namespace {

constexpr char HtmlTag[4] = {'H', 'T', 'M', 'L'};
constexpr char ImageTag[4] = {'I', 'M', 'G', ' '};
constexpr char FieldsTag[4] = {'F', 'L', 'D', 'S'};
constexpr char HeaderFooterTag[4] = {'H', 'D', 'F', 'T'};
constexpr char FramesTag[4] = {'F', 'R', 'M', 'S'};
constexpr char ImageAttributesTag[4] = {'I', 'M', 'G', 'A'};
constexpr char StylesTag[4] = {'S', 'T', 'Y', 'L'};

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

void appendText(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    appendU32(out, quint32(utf8.size()));
    out.append(utf8);
}

QByteArray fieldsPayload(const QList<TextField>& fields)
{
    QByteArray out;
    appendU32(out, quint32(fields.size()));
    for (const TextField& field : fields) {
        appendU32(out, field.id);
        out.append(char(quint8(field.type)));
        appendU32(out, quint32(field.attribute));
        appendU32(out, quint32(field.value));
        appendU32(out, quint32(field.start));
        appendU32(out, quint32(field.length));
        appendText(out, field.data);
        appendText(out, field.typeData);
        appendText(out, field.text);
    }
    return out;
}

// Reads the payload front to back; every read checks that the bytes hold it.
class PayloadReader
{
public:
    explicit PayloadReader(QByteArrayView bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    quint32 u32()
    {
        if (!take(4))
            return 0;
        return qFromLittleEndian<quint32>(bytes_.data() + at_ - 4);
    }
    quint8 u8() { return take(1) ? quint8(bytes_[at_ - 1]) : 0; }
    QString text()
    {
        const quint32 length = u32();
        if (!ok_ || !take(length))
            return {};
        return QString::fromUtf8(bytes_.sliced(at_ - qsizetype(length), qsizetype(length)));
    }

private:
    bool take(quint64 count)
    {
        if (!ok_ || count > quint64(bytes_.size() - at_)) {
            ok_ = false;
            return false;
        }
        at_ += qsizetype(count);
        return true;
    }
    QByteArrayView bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

bool readFields(QByteArrayView payload, QList<TextField>& fields)
{
    PayloadReader reader(payload);
    const quint32 count = reader.u32();
    // Each field takes at least 33 bytes, so a damaged count cannot make the reader reserve much.
    for (quint32 i = 0; reader.ok() && i < count; ++i) {
        TextField field;
        field.id = reader.u32();
        field.type = reader.u8();
        field.attribute = qint32(reader.u32());
        field.value = qint32(reader.u32());
        field.start = int(std::min<quint32>(reader.u32(), INT_MAX));
        field.length = int(std::min<quint32>(reader.u32(), INT_MAX));
        field.data = reader.text();
        field.typeData = reader.text();
        field.text = reader.text();
        if (reader.ok())
            fields.append(field);
    }
    return reader.ok();
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
    if (!content.fields.isEmpty())
        appendSection(out, FieldsTag, fieldsPayload(content.fields));
    if (!content.headersFooters.isEmpty()) {
        QByteArray payload;
        for (const OwnFormatHeaderFooter& part : content.headersFooters) {
            const QByteArray html = part.html.toUtf8();
            payload.append(char(quint8(part.kind)));
            appendU32(payload, quint32(html.size()));
            payload.append(html);
        }
        appendSection(out, HeaderFooterTag, payload);
    }
    if (!content.frames.isEmpty())
        appendSection(out, FramesTag, content.frames);
    if (!content.imageAttributes.isEmpty())
        appendSection(out, ImageAttributesTag, content.imageAttributes);
    if (!content.styles.isEmpty())
        appendSection(out, StylesTag, EncodeNamedStyles(content.styles));
    return out;
}

std::optional<OwnFormatContent> DecodeOwnFormat(const QByteArray& bytes)
{
    OwnFormatContent content;
    int htmlSections = 0;
    int fieldSections = 0;
    const bool wellFormed = walkSections(bytes, [&](const Section& section) {
        if (isTag(section, FieldsTag))
            return ++fieldSections == 1 && readFields(section.payload, content.fields);
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
        } else if (isTag(section, HeaderFooterTag)) {
            const QByteArrayView payload = section.payload;
            for (qsizetype at = 0; at < payload.size();) {
                if (payload.size() - at < 5)
                    return false;
                const int kind = quint8(payload[at]);
                const quint32 length = qFromLittleEndian<quint32>(payload.data() + at + 1);
                at += 5;
                if (length > quint64(payload.size() - at))
                    return false;
                if (HeaderFooter::IsKind(kind))
                    content.headersFooters.append({kind, QString::fromUtf8(payload.sliced(at, length))});
                at += length;
            }
        } else if (isTag(section, FramesTag)) {
            content.frames = section.payload.toByteArray();
        } else if (isTag(section, ImageAttributesTag)) {
            content.imageAttributes = section.payload.toByteArray();
        } else if (isTag(section, StylesTag)) {
            content.styles = DecodeNamedStyles(section.payload);
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

namespace {

// HTML does not keep positions: Qt reads it back with a paragraph more after some tables. So the characters
// that bound the fields carry a named anchor in the HTML, which comes back on the same character, and the
// reader takes these anchors off again. The name lists what the character bounds: "s7" the first character
// of field 7, "e7" its last, "b7" and "a7" the characters before and after which the empty field 7 stands.
// A character that is an anchor of its own keeps it, and the stored position serves for its fields.
const QString FieldAnchor = QStringLiteral("jornix-fields:");

// The character of the same paragraph on which an empty field at the position is marked, and the mark.
std::optional<std::pair<int, QChar>> emptyFieldMark(const QTextDocument& document, int position)
{
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    if (position < block.position() + block.length() - 1)
        return std::pair{position, QLatin1Char('b')};
    if (position > block.position())
        return std::pair{position - 1, QLatin1Char('a')};
    return std::nullopt;
}

QString htmlWithFieldAnchors(const QTextDocument& document, const QList<TextField>& fields)
{
    QMap<int, QStringList> marks;
    for (const TextField& field : fields) {
        const QString id = QString::number(field.id);
        if (field.length > 0) {
            marks[field.start].append(QLatin1Char('s') + id);
            marks[field.start + field.length - 1].append(QLatin1Char('e') + id);
        } else if (const auto mark = emptyFieldMark(document, field.start)) {
            marks[mark->first].append(mark->second + id);
        }
    }
    if (marks.isEmpty())
        return document.toHtml();
    std::unique_ptr<QTextDocument> copy(document.clone());
    QTextCursor cursor(copy.get());
    for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
        cursor.setPosition(it.key() + 1);
        if (cursor.charFormat().isAnchor())
            continue;
        cursor.setPosition(it.key(), QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({FieldAnchor + it->join(QLatin1Char(','))});
        cursor.mergeCharFormat(format);
    }
    return copy->toHtml();
}

// Takes the field anchors off the document and moves the fields to where they came back.
void placeFieldsByAnchors(QTextDocument& document, QList<TextField>& fields)
{
    QHash<QString, int> marked; // "s7" and the like: the position of the character they came back on
    QList<std::pair<QTextFragment, QTextCharFormat>> named;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QStringList names = format.anchorNames();
            if (!format.isAnchor() || names.size() != 1 || !format.anchorHref().isEmpty() ||
                !names.first().startsWith(FieldAnchor))
                continue;
            for (const QString& mark : names.first().mid(FieldAnchor.size()).split(QLatin1Char(',')))
                marked.insert(mark, fragment.position());
            QTextCharFormat plain = format;
            plain.clearProperty(QTextFormat::IsAnchor);
            plain.clearProperty(QTextFormat::AnchorName);
            named.append({fragment, plain});
        }
    QTextCursor cursor(&document);
    for (const auto& [fragment, format] : named) {
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    if (marked.isEmpty())
        return;
    const QString raw = document.toRawText();
    for (TextField& field : fields) {
        const QString id = QString::number(field.id);
        if (field.length > 0) {
            const int start = marked.value(QLatin1Char('s') + id, -1);
            const int last = marked.value(QLatin1Char('e') + id, -1);
            if (start < 0 || last < start)
                continue;
            field.start = start;
            field.length = last - start + 1;
            field.text = raw.mid(start, field.length);
        } else if (const int before = marked.value(QLatin1Char('b') + id, -1); before >= 0) {
            field.start = before;
        } else if (const int after = marked.value(QLatin1Char('a') + id, -1); after >= 0) {
            field.start = after + 1;
        }
    }
}

} // namespace

static void setHtmlWithImages(QTextDocument& document, const QString& html,
                              const QList<std::pair<QUrl, QImage>>& images);

namespace {

// Qt reads the HTML back with a paragraph more behind some tables (one followed by a list item), so that
// paragraph numbers after such a table move on. The frames are stored under the numbers their paragraphs
// have once the document is read back: a copy with every paragraph marked by its number (a paragraph's
// user state, which the HTML keeps) is read back once to see where each paragraph comes to stand. Should an
// added paragraph carry the mark of its neighbour, the paragraph itself is the one with the same text.
QList<int> blockNumbersAsRead(const QTextDocument& document)
{
    std::unique_ptr<QTextDocument> marked(document.clone());
    for (QTextBlock block = marked->begin(); block.isValid(); block = block.next())
        block.setUserState(block.blockNumber());
    QTextDocument probe;
    setHtmlWithImages(probe, marked->toHtml(), {});
    QList<int> numbers(document.blockCount(), -1);
    for (QTextBlock block = probe.begin(); block.isValid(); block = block.next()) {
        const int original = block.userState();
        if (original < 0 || original >= numbers.size())
            continue;
        const bool sameText = block.text() == document.findBlockByNumber(original).text();
        if (numbers[original] < 0 || (sameText && probe.findBlockByNumber(numbers[original]).text() !=
                                                      block.text()))
            numbers[original] = block.blockNumber();
    }
    // A paragraph whose mark the HTML does not keep (an empty table cell) follows the one before it.
    for (qsizetype number = 0; number < numbers.size(); ++number)
        if (numbers[number] < 0)
            numbers[number] = number > 0 ? numbers[number - 1] + 1 : 0;
    return numbers;
}

bool hasParagraphFrames(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().hasProperty(FrameProperty::Style))
            return true;
    return false;
}

} // namespace

QByteArray WriteOwnFormat(const QTextDocument& document, const QList<NamedStyle>& styles,
                          const QList<TextField>& fields)
{
    OwnFormatContent content;
    content.html = htmlWithFieldAnchors(document, fields);
    content.styles = styles;
    content.fields = fields;
    QList<const QTextDocument*> withImages{&document};
    if (const HeadersFooters* headers = HeadersFooters::Find(document))
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
            if (const QTextDocument* part = headers->Part(kind)) {
                content.headersFooters.append({kind, part->toHtml()});
                withImages << part;
            }
    // One picture of a name, the document's own before those of its headers and footers.
    QSet<QString> stored;
    for (const QTextDocument* source : std::as_const(withImages))
        for (const QString& name : ImageNames(*source)) {
            const QImage image = ImageResource(*source, name);
            if (!image.isNull() && !stored.contains(name)) {
                stored.insert(name);
                content.images.append({name, PngBytes(image)});
            }
        }
    if (hasParagraphFrames(document))
        content.frames = ParagraphFramesPayload(document, blockNumbersAsRead(document));
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

// Laying out the HTML finds every picture among the document's resources and never looks for a file: an
// image that the container does not hold shows as an empty picture, so that a stored document can never
// make the program read a file it names (and carry that file into the next save). A null picture would be
// looked for on disk.
static void setHtmlWithImages(QTextDocument& document, const QString& html,
                              const QList<std::pair<QUrl, QImage>>& images)
{
    QImage missing(1, 1, QImage::Format_ARGB32);
    missing.fill(Qt::transparent);
    for (const QString& name : imageNames(html))
        document.addResource(QTextDocument::ImageResource, QUrl(name), missing);
    for (const auto& [url, image] : images)
        document.addResource(QTextDocument::ImageResource, url, image);
    document.setHtml(html);
}

bool ReadOwnFormat(const QByteArray& bytes, QTextDocument& document, QList<NamedStyle>* styles,
                   QList<TextField>* fields)
{
    document.clear();
    HeadersFooters::Remove(document);
    if (styles)
        styles->clear();
    if (fields)
        fields->clear();
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
    setHtmlWithImages(document, content->html, images);
    QList<TextField> stored = content->fields;
    placeFieldsByAnchors(document, stored);
    for (const OwnFormatHeaderFooter& part : content->headersFooters)
        setHtmlWithImages(HeadersFooters::Ensure(document).SwitchOn(part.kind), part.html, images);
    // What HTML cannot carry goes onto the paragraphs and pictures it made; that is no edit to undo.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    const bool applied = (content->frames.isEmpty() || ApplyParagraphFramesPayload(content->frames, document)) &&
                         (content->imageAttributes.isEmpty() ||
                          ApplyImageAttributesPayload(content->imageAttributes, document));
    document.setUndoRedoEnabled(undo);
    if (!applied) {
        document.clear();
        HeadersFooters::Remove(document);
        return false;
    }
    if (styles)
        *styles = content->styles;
    if (fields)
        *fields = stored;
    return true;
}

} // namespace jornix
