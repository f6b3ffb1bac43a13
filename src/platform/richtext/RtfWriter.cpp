#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/Rtf.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace jornix {
namespace {

// A text width for tables whose columns have no fixed width and whose page gives none: 6.25 inches.
constexpr int FallbackTextWidth = 9000;

// Bounded before the conversion: a width of a document from outside may be any number.
int twipsOf(qreal layoutUnits)
{
    const qreal twips = layoutUnits * TwipsPerLayoutUnit;
    if (!(twips > -1e9))
        return twips < 0 ? -1000000000 : 0; // also NaN
    return twips < 1e9 ? qRound(twips) : 1000000000;
}

int levelFormatOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23;
    }
}

class RtfWriter
{
public:
    RtfWriter(const QTextDocument& document, const PageSettings& page) : document_(document), page_(page)
    {
        fontNumber(document.defaultFont().family());
    }

    QByteArray Write();

private:
    void writeFrame(const QTextFrame* frame, bool inTable);
    void writeTable(const QTextTable* table);
    void writeCellContent(QTextFrame::iterator begin, QTextFrame::iterator end, const char* ending);
    void writeBlock(const QTextBlock& block, bool inTable);
    void writeCharacterFormat(const QTextCharFormat& format);
    void writeText(const QString& text);
    void writeImage(const QTextImageFormat& format);
    int fontNumber(const QString& family);
    int colourNumber(const QColor& colour);
    int listNumber(const QTextList* list);
    void writeNumber(const char* word, int value);

    const QTextDocument& document_;
    PageSettings page_;
    QByteArray body_;
    QStringList fonts_;
    QList<QColor> colours_;
    QList<const QTextList*> lists_;
};

void RtfWriter::writeNumber(const char* word, int value)
{
    body_ += '\\';
    body_ += word;
    body_ += QByteArray::number(value);
}

int RtfWriter::fontNumber(const QString& family)
{
    const QString name = family.isEmpty() ? document_.defaultFont().family() : family;
    qsizetype at = fonts_.indexOf(name);
    if (at < 0) {
        at = fonts_.size();
        fonts_.append(name);
    }
    return int(at);
}

int RtfWriter::colourNumber(const QColor& colour)
{
    const QColor plain = colour.toRgb();
    qsizetype at = colours_.indexOf(plain);
    if (at < 0) {
        at = colours_.size();
        colours_.append(plain);
    }
    return int(at) + 1; // entry 0 of the table is the automatic colour
}

int RtfWriter::listNumber(const QTextList* list)
{
    qsizetype at = lists_.indexOf(list);
    if (at < 0) {
        at = lists_.size();
        lists_.append(list);
    }
    return int(at) + 1;
}

void RtfWriter::writeText(const QString& text)
{
    body_ += RtfText(text);
}

void RtfWriter::writeCharacterFormat(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    writeNumber("f", fontNumber(families.isEmpty() ? QString() : families.first()));
    qreal points = format.fontPointSize();
    if (points <= 0)
        points = document_.defaultFont().pointSizeF() > 0 ? document_.defaultFont().pointSizeF() : 12;
    writeNumber("fs", qRound(points * 2));
    if (format.fontWeight() > QFont::Medium)
        body_ += "\\b";
    if (format.fontItalic())
        body_ += "\\i";
    if (format.fontUnderline())
        body_ += "\\ul";
    if (format.fontStrikeOut())
        body_ += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        writeNumber("cf", colourNumber(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        writeNumber("highlight", colourNumber(format.background().color()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        body_ += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        body_ += "\\sub";
    body_ += ' ';
}

void RtfWriter::writeImage(const QTextImageFormat& format)
{
    const QImage image = ImageResource(document_, format.name());
    if (image.isNull())
        return;
    const QByteArray png = PngBytes(image);
    const qreal width = format.width() > 0 ? format.width() : image.width();
    const qreal height = format.height() > 0 ? format.height() : image.height();
    body_ += "{\\pict\\pngblip";
    writeNumber("picw", image.width());
    writeNumber("pich", image.height());
    writeNumber("picwgoal", twipsOf(width));
    writeNumber("pichgoal", twipsOf(height));
    const QByteArray hex = png.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 128) {
        body_ += '\n';
        body_ += hex.mid(at, 128);
    }
    body_ += "}";
}

void RtfWriter::writeBlock(const QTextBlock& block, bool inTable)
{
    const QTextBlockFormat format = block.blockFormat();
    body_ += "\\pard";
    if (inTable)
        body_ += "\\intbl";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        body_ += "\\qc";
    else if (alignment & Qt::AlignJustify)
        body_ += "\\qj";
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        body_ += "\\qr";
    if (int twips = twipsOf(format.leftMargin()))
        writeNumber("li", twips);
    if (int twips = twipsOf(format.rightMargin()))
        writeNumber("ri", twips);
    if (int twips = twipsOf(format.textIndent()))
        writeNumber("fi", twips);
    if (int twips = twipsOf(format.topMargin()))
        writeNumber("sb", twips);
    if (int twips = twipsOf(format.bottomMargin()))
        writeNumber("sa", twips);
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            body_ += "\\tqr";
        else if (tab.type == QTextOption::CenterTab)
            body_ += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab)
            body_ += "\\tqdec";
        writeNumber("tx", twipsOf(tab.position));
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        body_ += "\\pagebb";
    if (const QTextList* list = block.textList()) {
        writeNumber("ls", listNumber(list));
        writeNumber("ilvl", qBound(0, list->format().indent() - 1, 8));
    }
    body_ += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat charFormat = fragment.charFormat();
        if (charFormat.isImageFormat()) {
            // Each object character of the fragment is one picture.
            for (int i = 0; i < fragment.length(); ++i)
                writeImage(charFormat.toImageFormat());
            continue;
        }
        body_ += '{';
        writeCharacterFormat(charFormat);
        writeText(fragment.text());
        body_ += '}';
    }
}

void RtfWriter::writeCellContent(QTextFrame::iterator it, QTextFrame::iterator end, const char* ending)
{
    bool first = true;
    // Tables inside a cell are written as the cell's paragraphs.
    QList<QTextBlock> blocks;
    for (; it != end; ++it) {
        if (it.currentFrame()) {
            for (QTextBlock block = it.currentFrame()->firstCursorPosition().block();
                 block.isValid() && block.position() <= it.currentFrame()->lastPosition();
                 block = block.next())
                blocks << block;
        } else if (it.currentBlock().isValid()) {
            blocks << it.currentBlock();
        }
    }
    for (const QTextBlock& block : blocks) {
        if (!first)
            body_ += "\\par\n";
        writeBlock(block, true);
        first = false;
    }
    if (blocks.isEmpty())
        body_ += "\\pard\\intbl ";
    body_ += ending;
}

void RtfWriter::writeTable(const QTextTable* table)
{
    const QTextTableFormat format = table->format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    const int textWidth =
        page_.width > 0 ? page_.width - page_.marginLeft - page_.marginRight : FallbackTextWidth;
    // A table wider than any page is written as wide as the widest: its boundaries stay positive and rising.
    QList<int> boundaries;
    int right = 0;
    for (int column = 0; column < table->columns(); ++column) {
        int width = qMax(1, textWidth) / table->columns();
        if (column < constraints.size()) {
            const QTextLength length = constraints[column];
            if (length.type() == QTextLength::FixedLength)
                width = twipsOf(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength)
                width = int(qBound(0.0, textWidth * length.rawValue() / 100, double(MaxRtfTableTwips)));
        }
        right = qMin(right + qBound(1, width, MaxRtfTableTwips), MaxRtfTableTwips + column + 1);
        boundaries << right;
    }
    // Every cell carries the table's border; a cell's background is its own.
    QByteArray border;
    if (format.border() > 0) {
        const QByteArray width = QByteArray::number(qBound(1, twipsOf(format.border()), 255));
        const QBrush brush = format.borderBrush();
        const QByteArray colour =
            QByteArray::number(colourNumber(brush.style() == Qt::NoBrush ? QColor(Qt::black) : brush.color()));
        for (const char* side : {"t", "l", "b", "r"})
            border += QByteArray("\\clbrdr") + side + "\\brdrs\\brdrw" + width + "\\brdrcf" + colour;
    }
    for (int row = 0; row < table->rows(); ++row) {
        writeNumber("trowd\\trgaph", twipsOf(format.cellPadding()));
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue; // inside a cell that spans columns
            body_ += border;
            const QBrush background = cell.format().background();
            if (background.style() != Qt::NoBrush)
                writeNumber("clcbpat", colourNumber(background.color()));
            writeNumber("cellx", boundaries[qMin(column + cell.columnSpan(), table->columns()) - 1]);
        }
        body_ += '\n';
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue;
            if (cell.row() != row) {
                body_ += "\\pard\\intbl \\cell"; // a cell that spans rows shows its text in its first row
                continue;
            }
            writeCellContent(cell.begin(), cell.end(), "\\cell\n");
        }
        body_ += "\\row\n";
    }
}

void RtfWriter::writeFrame(const QTextFrame* frame, bool inTable)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextTable* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            writeTable(table);
        } else if (it.currentFrame()) {
            writeFrame(it.currentFrame(), inTable);
        } else if (it.currentBlock().isValid()) {
            writeBlock(it.currentBlock(), inTable);
            body_ += "\\par\n";
        }
    }
}

QByteArray RtfWriter::Write()
{
    writeFrame(document_.rootFrame(), false);

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil ";
        std::swap(out, body_);
        writeText(QString(fonts_[i]).remove(QLatin1Char(';')));
        std::swap(out, body_);
        out += ";}";
    }
    out += "}\n{\\colortbl ;";
    for (const QColor& colour : colours_)
        out += "\\red" + QByteArray::number(colour.red()) + "\\green" + QByteArray::number(colour.green()) +
               "\\blue" + QByteArray::number(colour.blue()) + ';';
    out += "}\n";
    if (!lists_.isEmpty()) {
        QByteArray overrides = "{\\*\\listoverridetable";
        out += "{\\*\\listtable";
        for (int i = 0; i < lists_.size(); ++i) {
            const QByteArray id = QByteArray::number(i + 1);
            const int levelFormat = levelFormatOf(lists_[i]->format().style());
            out += "{\\list\\listtemplateid" + id;
            for (int level = 0; level < 9; ++level) {
                out += "{\\listlevel\\levelnfc" + QByteArray::number(levelFormat) +
                       "\\leveljc0\\levelfollow0\\levelstartat1";
                if (levelFormat == 23)
                    out += "{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}";
                else
                    out += "{\\leveltext\\'02\\'0" + QByteArray::number(level) + ".;}{\\levelnumbers\\'01;}";
                out += "\\fi-360\\li" + QByteArray::number(720 * (level + 1)) + '}';
            }
            out += "\\listid" + id + "}\n";
            overrides += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + '}';
        }
        out += "}\n" + overrides + "}\n";
    }
    if (page_.width > 0 && page_.height > 0)
        out += "\\paperw" + QByteArray::number(page_.width) + "\\paperh" + QByteArray::number(page_.height) +
               "\\margl" + QByteArray::number(page_.marginLeft) + "\\margr" +
               QByteArray::number(page_.marginRight) + "\\margt" + QByteArray::number(page_.marginTop) +
               "\\margb" + QByteArray::number(page_.marginBottom) + '\n';
    out += body_;
    out += "}\n";
    return out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument& document, const PageSettings& page)
{
    return RtfWriter(document, page).Write();
}

QByteArray WriteRtf(const QTextCursor& selection)
{
    QTextDocument copy;
    copy.setDefaultFont(selection.document()->defaultFont());
    QTextCursor target(&copy);
    InsertWithImages(target, *selection.document(), selection.selection());
    return WriteRtf(copy, PageSettings());
}

QByteArray RtfText(const QString& text)
{
    QByteArray rtf;
    rtf.reserve(text.size() + 8);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            rtf += '\\';
            rtf += char(u);
        } else if (u == '\t') {
            rtf += "\\tab ";
        } else if (u == QChar::LineSeparator || u == '\n') {
            rtf += "\\line ";
        } else if (u == 0x00A0) {
            rtf += "\\~";
        } else if (u == 0x00AD) {
            rtf += "\\-";
        } else if (u == 0x2011) {
            rtf += "\\_";
        } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter || u == QChar::ParagraphSeparator) {
            continue;
        } else if (u < 0x7F) {
            rtf += char(u);
        } else {
            rtf += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return rtf;
}

} // namespace jornix
