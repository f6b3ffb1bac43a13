#include "platform/richtext/CodePages.h"
#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/Rtf.h"

#include <QColor>
#include <QCryptographicHash>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <optional>
#include <utility>

namespace jornix {
namespace {

// Groups deeper than this are read as if they were not there (their text goes to the group around them), so
// that no input can exhaust the memory.
constexpr int MaxGroupDepth = 2000;

enum class Destination
{
    Text,
    FontTable,
    ColourTable,
    ListTable,
    ListOverrideTable,
    OldList, // \pn: the list of the paragraph, in the older form
    Picture,
    Skip
};

struct CharacterState
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int foreground = 0;
    int background = 0;
    int vertical = 0; // 1 superscript, -1 subscript

    bool operator==(const CharacterState&) const = default;
};

struct ParagraphState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    bool inTable = false;
    bool pageBreakBefore = false;
    int list = 0;         // \ls
    int level = 0;        // \ilvl
    int oldListStyle = 0; // a QTextListFormat::Style of \pn, 0 none
};

struct GroupState
{
    Destination destination = Destination::Text;
    CharacterState character;
    ParagraphState paragraph;
    int unicodeSkip = 1;  // \uc
    bool starred = false; // "\*": skip the group unless its first word is a destination read here
};

struct FontEntry
{
    QString name;
    int codePage = 0;
};

struct ListDefinition
{
    int id = 0;
    QList<int> levelFormats; // \levelnfc per level
};

struct ListOverride
{
    int number = 0; // \ls
    int id = 0;     // \listid
};

struct Picture
{
    QByteArray data;
    QByteArray format; // "png", "jpg", empty for kinds not read
    int widthGoal = 0;
    int heightGoal = 0;
    int scaleX = 100;
    int scaleY = 100;
    int pendingNibble = -1;
};

QTextListFormat::Style listStyleOf(int levelFormat)
{
    switch (levelFormat) {
    case 0:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDisc;
    }
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The character a control word stands for; 0 for other words.
char16_t specialCharacter(QByteArrayView word)
{
    static const QList<std::pair<QByteArrayView, char16_t>> characters = {{"line", QChar::LineSeparator},
                                                                          {"tab", u'\t'},
                                                                          {"nestcell", u'\t'},
                                                                          {"bullet", 0x2022},
                                                                          {"emdash", 0x2014},
                                                                          {"endash", 0x2013},
                                                                          {"lquote", 0x2018},
                                                                          {"rquote", 0x2019},
                                                                          {"ldblquote", 0x201C},
                                                                          {"rdblquote", 0x201D},
                                                                          {"emspace", 0x2003},
                                                                          {"enspace", 0x2002},
                                                                          {"qmspace", 0x2005}};
    for (const auto& [name, character] : characters)
        if (name == word)
            return character;
    return 0;
}

// Destinations that are skipped whether or not "\*" marks them.
bool isSkippedDestination(QByteArrayView word)
{
    static const QList<QByteArrayView> words = {"stylesheet",
                                                "info",
                                                "header",
                                                "headerl",
                                                "headerr",
                                                "headerf",
                                                "footer",
                                                "footerl",
                                                "footerr",
                                                "footerf",
                                                "footnote",
                                                "pntext",
                                                "listtext",
                                                "fldinst",
                                                "nonshppict",
                                                "xe",
                                                "tc",
                                                "txe",
                                                "bkmkstart",
                                                "bkmkend",
                                                "leveltext",
                                                "levelnumbers",
                                                "annotation",
                                                "atnid",
                                                "atnauthor",
                                                "comment",
                                                "private",
                                                "revtbl",
                                                "filetbl",
                                                "objdata",
                                                "themedata",
                                                "datastore",
                                                "pgdsctbl",
                                                "rsidtbl",
                                                "generator",
                                                "xmlnstbl",
                                                "colorschememapping",
                                                "latentstyles",
                                                "listpicture"};
    return words.contains(word);
}

class RtfReader
{
public:
    RtfReader(const QByteArray& bytes, QTextDocument& document, PageSettings* page)
        : bytes_(bytes), document_(document), cursor_(&document), page_(page)
    {
    }

    void Read();

private:
    GroupState& state() { return groups_.back(); }

    void pushGroup();
    void popGroup();
    void controlWord(QByteArrayView word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    void textByte(char byte);
    void unicodeCharacter(QChar character);
    bool skippingFallback();

    void flushBytes();
    void flushRun();
    void enterParagraph();
    void startPendingBlock();
    void finishTable();
    void endParagraph();
    void endCell();
    void endRow();
    void pageBreak();
    void insertPicture();
    void applyParagraph();
    QTextCharFormat characterFormat(const CharacterState& character) const;
    void joinList(const ParagraphState& paragraph);
    int codePage(const CharacterState& character) const;

    const QByteArray& bytes_;
    QTextDocument& document_;
    QTextCursor cursor_;
    PageSettings* page_;
    qsizetype at_ = 0;

    QList<GroupState> groups_;
    int ignoredDepth_ = 0;
    int documentCodePage_ = 1252;
    int defaultFont_ = -1;
    int pendingFallback_ = 0;
    bool finished_ = false;

    QHash<int, FontEntry> fonts_;
    int fontEntry_ = -1;
    QByteArray fontNameBytes_;
    QList<std::optional<QColor>> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;
    QList<ListDefinition> lists_;
    QList<ListOverride> overrides_;
    QHash<QPair<int, int>, QTextList*> textLists_;
    Picture picture_;

    // The run of text waiting to be inserted with one format: code-page bytes not yet decoded and text.
    CharacterState runCharacter_;
    QByteArray runBytes_;
    QString runText_;
    bool paragraphHasContent_ = false;
    bool breakBeforeNext_ = false;
    bool blockPending_ = false;

    // The border and background of each cell of the row being defined, and of the next \\cellx.
    struct CellDefinition
    {
        bool bordered = false;
        int borderWidth = 0; // twips
        int borderColour = 0;
        int background = 0;
    };
    QList<CellDefinition> cellDefinitions_;
    CellDefinition nextCell_;
    bool inCellBorder_ = false;
    int rowGap_ = -1; // the padding of the row's cells in twips, -1 when not given
    std::optional<QColor> colourAt(int index) const;
    void applyCellBackgrounds();

    QTextTable* table_ = nullptr;
    QList<int> cellBoundaries_;
    int row_ = 0;
    int column_ = 0;
    bool cellEnded_ = false;
    bool rowEnded_ = false;
};

void RtfReader::Read()
{
    groups_.append(GroupState());
    // One edit: the cursor does not lay out each line it writes, and the document tells of one change.
    cursor_.beginEditBlock();
    const qsizetype size = bytes_.size();
    const char* data = bytes_.constData();
    while (at_ < size && !finished_) {
        const char c = data[at_++];
        switch (c) {
        case '{':
            pushGroup();
            break;
        case '}':
            popGroup();
            break;
        case '\\': {
            if (at_ >= size)
                break;
            const char next = data[at_];
            if (!isLetter(next)) {
                ++at_;
                if (next == '\'') {
                    const int high = at_ < size ? hexValue(data[at_]) : -1;
                    const int low = at_ + 1 < size ? hexValue(data[at_ + 1]) : -1;
                    if (high >= 0 && low >= 0) {
                        at_ += 2;
                        textByte(char(high * 16 + low));
                    }
                } else {
                    controlSymbol(next);
                }
                break;
            }
            const qsizetype start = at_;
            while (at_ < size && isLetter(data[at_]) && at_ - start < 32)
                ++at_;
            const QByteArrayView word(data + start, at_ - start);
            bool hasParameter = false;
            qint64 parameter = 0;
            bool negative = false;
            if (at_ < size && data[at_] == '-' && at_ + 1 < size && isDigit(data[at_ + 1])) {
                negative = true;
                ++at_;
            }
            const qsizetype digits = at_;
            while (at_ < size && isDigit(data[at_]) && at_ - digits < 10) {
                parameter = parameter * 10 + (data[at_] - '0');
                hasParameter = true;
                ++at_;
            }
            if (at_ < size && data[at_] == ' ')
                ++at_;
            parameter = qBound(qint64(-2147483647), negative ? -parameter : parameter, qint64(2147483647));
            if (word == "bin" && hasParameter) {
                // Raw bytes: they belong to a picture or are skipped, never read as RTF.
                const qsizetype length = qBound<qsizetype>(0, parameter, size - at_);
                if (state().destination == Destination::Picture)
                    picture_.data.append(data + at_, length);
                at_ += length;
                break;
            }
            controlWord(word, hasParameter, int(parameter));
            break;
        }
        case '\r':
        case '\n':
            break;
        default:
            textByte(c);
            break;
        }
    }
    // Cut RTF: the groups still open end here.
    while (groups_.size() > 2)
        popGroup();
    flushRun();
    if (table_)
        finishTable();
    // The last paragraph has no \par; in a table it ended with its cell.
    if (groups_.size() == 2 && !blockPending_ && !(table_ && (rowEnded_ || cellEnded_)))
        applyParagraph();
    cursor_.endEditBlock();
}

void RtfReader::pushGroup()
{
    if (groups_.size() >= MaxGroupDepth) {
        ++ignoredDepth_;
        return;
    }
    GroupState inner = state();
    inner.starred = false;
    groups_.append(inner);
    pendingFallback_ = 0;
}

void RtfReader::popGroup()
{
    if (ignoredDepth_ > 0) {
        --ignoredDepth_;
        return;
    }
    if (groups_.size() <= 2) {
        finished_ = groups_.size() == 2; // the end of the document's own group; what follows is no RTF
        return;
    }
    const Destination ended = state().destination;
    groups_.removeLast();
    pendingFallback_ = 0;
    if (ended == Destination::Picture && state().destination != Destination::Picture)
        insertPicture();
    if (ended == Destination::FontTable && state().destination != Destination::FontTable)
        fontNameBytes_.clear();
}

bool RtfReader::skippingFallback()
{
    if (pendingFallback_ <= 0)
        return false;
    --pendingFallback_;
    return true;
}

int RtfReader::codePage(const CharacterState& character) const
{
    const auto font = fonts_.constFind(character.font >= 0 ? character.font : defaultFont_);
    if (font != fonts_.constEnd() && font->codePage > 0)
        return font->codePage;
    return documentCodePage_;
}

void RtfReader::textByte(char byte)
{
    if (skippingFallback())
        return;
    GroupState& group = state();
    switch (group.destination) {
    case Destination::Text:
        if (group.character.hidden)
            return;
        enterParagraph();
        // The code page follows from the font, which is part of the character state.
        if (!(group.character == runCharacter_)) {
            flushRun();
            runCharacter_ = group.character;
        }
        runBytes_.append(byte);
        paragraphHasContent_ = true;
        break;
    case Destination::FontTable:
        if (byte == ';') {
            if (fontEntry_ >= 0) {
                FontEntry& entry = fonts_[fontEntry_];
                entry.name =
                    DecodeCodePage(entry.codePage > 0 ? entry.codePage : documentCodePage_, fontNameBytes_)
                        .trimmed();
            }
            fontNameBytes_.clear();
        } else {
            fontNameBytes_.append(byte);
        }
        break;
    case Destination::ColourTable:
        if (byte == ';') {
            colours_.append(colourGiven_ ? std::optional<QColor>(QColor(red_, green_, blue_)) : std::nullopt);
            red_ = green_ = blue_ = 0;
            colourGiven_ = false;
        }
        break;
    case Destination::Picture: {
        const int nibble = hexValue(byte);
        if (nibble < 0)
            break;
        if (picture_.pendingNibble < 0) {
            picture_.pendingNibble = nibble;
        } else {
            picture_.data.append(char(picture_.pendingNibble * 16 + nibble));
            picture_.pendingNibble = -1;
        }
        break;
    }
    default:
        break;
    }
}

void RtfReader::unicodeCharacter(QChar character)
{
    GroupState& group = state();
    if (group.destination != Destination::Text || group.character.hidden)
        return;
    enterParagraph();
    if (!(group.character == runCharacter_)) {
        flushRun();
        runCharacter_ = group.character;
    }
    flushBytes();
    runText_.append(character);
    paragraphHasContent_ = true;
}

void RtfReader::flushBytes()
{
    if (runBytes_.isEmpty())
        return;
    runText_ += DecodeCodePage(codePage(runCharacter_), runBytes_);
    runBytes_.clear();
}

void RtfReader::flushRun()
{
    flushBytes();
    if (runText_.isEmpty())
        return;
    cursor_.insertText(runText_, characterFormat(runCharacter_));
    runText_.clear();
}

QTextCharFormat RtfReader::characterFormat(const CharacterState& character) const
{
    QTextCharFormat format;
    const auto font = fonts_.constFind(character.font >= 0 ? character.font : defaultFont_);
    if (font != fonts_.constEnd() && !font->name.isEmpty())
        format.setFontFamilies({font->name});
    format.setFontPointSize(qBound(1, character.halfPoints, 3276) / 2.0);
    if (character.bold)
        format.setFontWeight(QFont::Bold);
    if (character.italic)
        format.setFontItalic(true);
    if (character.underline)
        format.setFontUnderline(true);
    if (character.strike)
        format.setFontStrikeOut(true);
    if (character.foreground > 0 && character.foreground < colours_.size() && colours_[character.foreground])
        format.setForeground(*colours_[character.foreground]);
    if (character.background > 0 && character.background < colours_.size() && colours_[character.background])
        format.setBackground(*colours_[character.background]);
    if (character.vertical > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (character.vertical < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

// Before anything goes into a paragraph: into the table's next cell or row, or out of the table.
void RtfReader::enterParagraph()
{
    const ParagraphState& paragraph = state().paragraph;
    if (paragraph.inTable) {
        const int columns = qMax(1, int(cellBoundaries_.size()));
        if (!table_) {
            flushRun();
            QTextTableFormat format;
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            // A table has the border of its first cell with one; without, none (its grid lines show).
            format.setBorder(0);
            for (const CellDefinition& cell : cellDefinitions_)
                if (cell.bordered) {
                    format.setBorder(qMax(1, cell.borderWidth) / double(TwipsPerLayoutUnit));
                    format.setBorderBrush(colourAt(cell.borderColour).value_or(QColor(Qt::black)));
                    break;
                }
            format.setBorderCollapse(true);
            format.setCellPadding(rowGap_ >= 0 ? rowGap_ / double(TwipsPerLayoutUnit) : 4);
            format.setCellSpacing(0);
            QList<QTextLength> widths;
            int left = 0;
            for (int boundary : cellBoundaries_) {
                widths << QTextLength(QTextLength::FixedLength,
                                      qMax(1, boundary - left) / double(TwipsPerLayoutUnit));
                left = boundary;
            }
            format.setColumnWidthConstraints(widths);
            // After a paragraph's \par the table follows that paragraph: no empty one comes between.
            blockPending_ = false;
            table_ = cursor_.insertTable(1, columns, format);
            row_ = column_ = 0;
            cursor_ = table_->cellAt(0, 0).firstCursorPosition();
        } else if (rowEnded_) {
            flushRun();
            // Each added row makes the document go over all its frames: rows are added in doubling
            // numbers, and those left over go when the table ends.
            if (row_ + 1 >= table_->rows())
                table_->appendRows(table_->rows());
            ++row_;
            column_ = 0;
            if (columns > table_->columns())
                table_->appendColumns(columns - table_->columns());
            cursor_ = table_->cellAt(row_, 0).firstCursorPosition();
        } else if (cellEnded_) {
            flushRun();
            ++column_;
            if (column_ >= table_->columns())
                table_->appendColumns(1);
            cursor_ = table_->cellAt(row_, column_).firstCursorPosition();
        } else {
            startPendingBlock(); // the next paragraph of the same cell
        }
        rowEnded_ = cellEnded_ = false;
        blockPending_ = false;
        return;
    }
    if (table_) {
        // The paragraph after a table goes into the block that always follows it.
        flushRun();
        finishTable();
        cursor_.setPosition(table_->lastPosition() + 1);
        table_ = nullptr;
        rowEnded_ = cellEnded_ = blockPending_ = false;
        return;
    }
    startPendingBlock();
}

void RtfReader::finishTable()
{
    if (table_->rows() > row_ + 1)
        table_->removeRows(row_ + 1, table_->rows() - row_ - 1);
}

// A paragraph ended by \par gets the block after it only when something follows, so that the last \par of
// the text (or of text put in at a selection) adds no empty paragraph and a table follows its paragraph.
void RtfReader::startPendingBlock()
{
    if (!blockPending_)
        return;
    blockPending_ = false;
    cursor_.insertBlock(QTextBlockFormat(), characterFormat(state().character));
}

// The paragraph joins its list: the one it names (\ls, or an older \pn of that style) at its level, made
// when the list starts.
void RtfReader::joinList(const ParagraphState& paragraph)
{
    const bool current = paragraph.list > 0;
    if (!current && paragraph.oldListStyle == 0)
        return;
    const int level = qBound(0, paragraph.level, 8);
    // List numbers are positive and the styles of the older lists negative, so their keys never meet.
    const QPair<int, int> key(current ? paragraph.list : paragraph.oldListStyle, level);
    if (QTextList* list = textLists_.value(key)) {
        list->add(cursor_.block());
        return;
    }
    QTextListFormat::Style style = QTextListFormat::Style(paragraph.oldListStyle);
    if (current) {
        style = QTextListFormat::ListDisc;
        for (const ListOverride& override : overrides_)
            if (override.number == paragraph.list)
                for (const ListDefinition& definition : lists_)
                    if (definition.id == override.id && level < definition.levelFormats.size())
                        style = listStyleOf(definition.levelFormats[level]);
    }
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(level + 1);
    textLists_.insert(key, cursor_.createList(format));
}

void RtfReader::applyParagraph()
{
    const ParagraphState& paragraph = state().paragraph;
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    format.setLeftMargin(paragraph.leftIndent / double(TwipsPerLayoutUnit));
    format.setRightMargin(paragraph.rightIndent / double(TwipsPerLayoutUnit));
    format.setTextIndent(paragraph.firstIndent / double(TwipsPerLayoutUnit));
    format.setTopMargin(paragraph.spaceBefore / double(TwipsPerLayoutUnit));
    format.setBottomMargin(paragraph.spaceAfter / double(TwipsPerLayoutUnit));
    if (!paragraph.tabs.isEmpty())
        format.setTabPositions(paragraph.tabs);
    if (paragraph.pageBreakBefore || breakBeforeNext_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    breakBeforeNext_ = false;
    cursor_.setBlockFormat(format);
    joinList(paragraph);
}

void RtfReader::endParagraph()
{
    enterParagraph();
    flushRun();
    applyParagraph();
    blockPending_ = true;
    paragraphHasContent_ = false;
}

void RtfReader::endCell()
{
    if (!table_ || rowEnded_ || cellEnded_) {
        // A cell with nothing in it still takes its place.
        ParagraphState& paragraph = state().paragraph;
        const bool inTable = paragraph.inTable;
        paragraph.inTable = true;
        enterParagraph();
        paragraph.inTable = inTable;
    } else {
        startPendingBlock(); // "\par\cell": the cell ends with an empty paragraph
    }
    flushRun();
    applyParagraph();
    cellEnded_ = true;
    paragraphHasContent_ = false;
}

std::optional<QColor> RtfReader::colourAt(int index) const
{
    return index > 0 && index < colours_.size() ? colours_[index] : std::nullopt;
}

// The cells of the row that ends take the backgrounds their definitions give.
void RtfReader::applyCellBackgrounds()
{
    for (int column = 0; column < cellDefinitions_.size() && column < table_->columns(); ++column)
        if (const std::optional<QColor> colour = colourAt(cellDefinitions_[column].background)) {
            QTextTableCell cell = table_->cellAt(row_, column);
            QTextCharFormat format = cell.format();
            format.setBackground(*colour);
            cell.setFormat(format);
        }
}

void RtfReader::endRow()
{
    if (!table_)
        return;
    flushRun();
    applyCellBackgrounds();
    rowEnded_ = true;
    cellEnded_ = false;
    paragraphHasContent_ = false;
}

void RtfReader::pageBreak()
{
    // A break inside a paragraph ends it; the next paragraph starts on a new page.
    if (paragraphHasContent_)
        endParagraph();
    breakBeforeNext_ = true;
}

void RtfReader::insertPicture()
{
    Picture picture = std::exchange(picture_, Picture());
    if (picture.format.isEmpty() || picture.data.isEmpty() || state().destination != Destination::Text)
        return;
    // A picture cut short (the RTF ends inside it) is left out, not half shown.
    const bool whole = picture.format == "png"
                           ? picture.data.size() >= 12 &&
                                 picture.data.right(12).startsWith(QByteArrayView("\0\0\0\0IEND", 8))
                           : picture.data.endsWith("\xff\xd9");
    QImage image;
    if (!whole || !image.loadFromData(picture.data, picture.format.constData()))
        return;
    enterParagraph();
    flushRun();
    const QString name =
        QStringLiteral("rtf-%1.%2")
            .arg(
                QString::fromLatin1(QCryptographicHash::hash(picture.data, QCryptographicHash::Sha1).toHex()),
                QString::fromLatin1(picture.format));
    document_.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    const double width =
        picture.widthGoal > 0 ? picture.widthGoal / double(TwipsPerLayoutUnit) : image.width();
    const double height =
        picture.heightGoal > 0 ? picture.heightGoal / double(TwipsPerLayoutUnit) : image.height();
    format.setWidth(qBound(1.0, width * qBound(1, picture.scaleX, 1000) / 100.0, 20000.0));
    format.setHeight(qBound(1.0, height * qBound(1, picture.scaleY, 1000) / 100.0, 20000.0));
    cursor_.insertImage(format);
    paragraphHasContent_ = true;
}

void RtfReader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        state().starred = true;
        return;
    case '\\':
    case '{':
    case '}':
        textByte(symbol);
        return;
    case '~':
        unicodeCharacter(QChar(0x00A0));
        return;
    case '_':
        unicodeCharacter(QChar(0x2011));
        return;
    case '-':
        unicodeCharacter(QChar(0x00AD));
        return;
    case '\n':
    case '\r':
        if (state().destination == Destination::Text)
            endParagraph();
        return;
    case '\t':
        unicodeCharacter(QLatin1Char('\t'));
        return;
    default:
        return;
    }
}

void RtfReader::controlWord(QByteArrayView word, bool hasParameter, int parameter)
{
    GroupState& group = state();
    const bool starred = std::exchange(group.starred, false);
    const int value = hasParameter ? parameter : 1;
    const bool on = !hasParameter || parameter != 0;

    // Destinations first: they decide where the group's text goes.
    if (group.destination == Destination::Skip)
        return;
    if (word == "fonttbl") {
        group.destination = Destination::FontTable;
        return;
    }
    if (word == "colortbl") {
        group.destination = Destination::ColourTable;
        return;
    }
    if (word == "listtable") {
        group.destination = Destination::ListTable;
        return;
    }
    if (word == "listoverridetable") {
        group.destination = Destination::ListOverrideTable;
        return;
    }
    if (word == "pict") {
        group.destination = Destination::Picture;
        picture_ = Picture();
        return;
    }
    if (word == "pn") {
        // The list belongs to the paragraph around the group; bullets unless the group says otherwise.
        group.destination = Destination::OldList;
        groups_[qMax(0, int(groups_.size()) - 2)].paragraph.oldListStyle = QTextListFormat::ListDisc;
        return;
    }
    if (word == "shppict" || word == "fldrslt" || word == "field")
        return;
    if (starred || isSkippedDestination(word)) {
        group.destination = Destination::Skip;
        return;
    }

    switch (group.destination) {
    case Destination::FontTable:
        if (word == "f")
            fontEntry_ = value;
        else if (word == "fcharset" && fontEntry_ >= 0)
            fonts_[fontEntry_].codePage = CodePageOfCharset(value);
        else if (word == "cpg" && fontEntry_ >= 0)
            fonts_[fontEntry_].codePage = value;
        return;
    case Destination::ColourTable:
        if (word == "red")
            red_ = qBound(0, value, 255);
        else if (word == "green")
            green_ = qBound(0, value, 255);
        else if (word == "blue")
            blue_ = qBound(0, value, 255);
        else
            return;
        colourGiven_ = true;
        return;
    case Destination::ListTable:
        if (word == "list")
            lists_.append(ListDefinition());
        else if (word == "listlevel" && !lists_.isEmpty())
            lists_.back().levelFormats.append(0);
        else if ((word == "levelnfc" || word == "levelnfcn") && !lists_.isEmpty() &&
                 !lists_.back().levelFormats.isEmpty())
            lists_.back().levelFormats.back() = value;
        else if (word == "listid" && !lists_.isEmpty())
            lists_.back().id = value;
        return;
    case Destination::ListOverrideTable:
        if (word == "listoverride")
            overrides_.append(ListOverride());
        else if (word == "listid" && !overrides_.isEmpty())
            overrides_.back().id = value;
        else if (word == "ls" && !overrides_.isEmpty())
            overrides_.back().number = value;
        return;
    case Destination::OldList: {
        ParagraphState& paragraph = groups_[qMax(0, int(groups_.size()) - 2)].paragraph;
        if (word == "pnlvlblt")
            paragraph.oldListStyle = QTextListFormat::ListDisc;
        else if (word == "pndec")
            paragraph.oldListStyle = QTextListFormat::ListDecimal;
        else if (word == "pnlcltr")
            paragraph.oldListStyle = QTextListFormat::ListLowerAlpha;
        else if (word == "pnucltr")
            paragraph.oldListStyle = QTextListFormat::ListUpperAlpha;
        else if (word == "pnlcrm")
            paragraph.oldListStyle = QTextListFormat::ListLowerRoman;
        else if (word == "pnucrm")
            paragraph.oldListStyle = QTextListFormat::ListUpperRoman;
        else if (word == "pnlvl")
            paragraph.level = qBound(1, value, 9) - 1;
        return;
    }
    case Destination::Picture:
        if (word == "pngblip")
            picture_.format = "png";
        else if (word == "jpegblip")
            picture_.format = "jpg";
        else if (word == "picwgoal")
            picture_.widthGoal = value;
        else if (word == "pichgoal")
            picture_.heightGoal = value;
        else if (word == "picscalex")
            picture_.scaleX = value;
        else if (word == "picscaley")
            picture_.scaleY = value;
        else if (word.endsWith("blip") || word == "wmetafile" || word == "macpict" || word == "dibitmap" ||
                 word == "wbitmap")
            picture_.format.clear();
        return;
    default:
        break;
    }

    CharacterState& character = group.character;
    ParagraphState& paragraph = group.paragraph;
    // Document and page.
    if (word == "ansicpg" || word == "ansi" || word == "mac" || word == "pc" || word == "pca")
        flushBytes(); // bytes before it are of the code page before it
    if (word == "ansicpg") {
        documentCodePage_ = value > 0 ? value : 1252;
    } else if (word == "ansi") {
        documentCodePage_ = 1252;
    } else if (word == "mac") {
        documentCodePage_ = 10000;
    } else if (word == "pc") {
        documentCodePage_ = 437;
    } else if (word == "pca") {
        documentCodePage_ = 850;
    } else if (word == "deff") {
        defaultFont_ = value;
    } else if (word == "uc") {
        group.unicodeSkip = qBound(0, value, 10);
    } else if (word == "u" && hasParameter) {
        unicodeCharacter(QChar(char16_t(parameter < 0 ? parameter + 65536 : parameter)));
        pendingFallback_ = group.unicodeSkip;
        return;
    } else if (page_ && (word == "paperw" || word == "paperh" || word == "margl" || word == "margr" ||
                         word == "margt" || word == "margb")) {
        const int twips = qBound(0, value, 1440 * 200);
        if (word == "paperw")
            page_->width = twips;
        else if (word == "paperh")
            page_->height = twips;
        else if (word == "margl")
            page_->marginLeft = twips;
        else if (word == "margr")
            page_->marginRight = twips;
        else if (word == "margt")
            page_->marginTop = twips;
        else
            page_->marginBottom = twips;
    }
    // Characters.
    else if (word == "plain") {
        character = CharacterState();
    } else if (word == "f") {
        character.font = value;
    } else if (word == "fs") {
        character.halfPoints = hasParameter ? parameter : 24;
    } else if (word == "b") {
        character.bold = on;
    } else if (word == "i") {
        character.italic = on;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulth" ||
               word == "uldash") {
        character.underline = on;
    } else if (word == "ulnone") {
        character.underline = false;
    } else if (word == "strike" || word == "striked") {
        character.strike = on;
    } else if (word == "v") {
        character.hidden = on;
    } else if (word == "cf") {
        character.foreground = value;
    } else if (word == "cb" || word == "highlight" || word == "chcbpat") {
        character.background = value;
    } else if (word == "super") {
        character.vertical = 1;
    } else if (word == "sub") {
        character.vertical = -1;
    } else if (word == "nosupersub") {
        character.vertical = 0;
    } else if (word == "up") {
        character.vertical = value != 0 ? 1 : 0;
    } else if (word == "dn") {
        character.vertical = value != 0 ? -1 : 0;
    }
    // Paragraphs.
    else if (word == "pard") {
        paragraph = ParagraphState();
    } else if (word == "ql") {
        paragraph.alignment = Qt::AlignLeft;
    } else if (word == "qc") {
        paragraph.alignment = Qt::AlignHCenter;
    } else if (word == "qr") {
        paragraph.alignment = Qt::AlignRight;
    } else if (word == "qj") {
        paragraph.alignment = Qt::AlignJustify;
    } else if (word == "li") {
        paragraph.leftIndent = value;
    } else if (word == "ri") {
        paragraph.rightIndent = value;
    } else if (word == "fi") {
        paragraph.firstIndent = value;
    } else if (word == "sb") {
        paragraph.spaceBefore = qMax(0, value);
    } else if (word == "sa") {
        paragraph.spaceAfter = qMax(0, value);
    } else if (word == "tqr") {
        paragraph.nextTabType = QTextOption::RightTab;
    } else if (word == "tqc") {
        paragraph.nextTabType = QTextOption::CenterTab;
    } else if (word == "tqdec") {
        paragraph.nextTabType = QTextOption::DelimiterTab;
    } else if (word == "tx" || word == "tb") {
        if (paragraph.tabs.size() < 64)
            paragraph.tabs.append(QTextOption::Tab(
                qMax(0, value) / double(TwipsPerLayoutUnit), paragraph.nextTabType,
                paragraph.nextTabType == QTextOption::DelimiterTab ? QLatin1Char('.') : QChar()));
        paragraph.nextTabType = QTextOption::LeftTab;
    } else if (word == "pagebb") {
        paragraph.pageBreakBefore = on;
    } else if (word == "ls") {
        paragraph.list = value;
    } else if (word == "ilvl") {
        paragraph.level = value;
    } else if (word == "intbl") {
        paragraph.inTable = on;
    }
    // Tables.
    else if (word == "trowd") {
        cellBoundaries_.clear();
        cellDefinitions_.clear();
        nextCell_ = {};
        inCellBorder_ = false;
        rowGap_ = -1;
    } else if (word == "trgaph") {
        rowGap_ = qBound(0, value, 1440);
    } else if (word == "clcbpat") {
        nextCell_.background = value;
    } else if (word == "clbrdrt" || word == "clbrdrl" || word == "clbrdrb" || word == "clbrdrr") {
        inCellBorder_ = true;
    } else if (word.startsWith("brdr") && inCellBorder_) {
        if (word == "brdrw")
            nextCell_.borderWidth = qMax(nextCell_.borderWidth, qBound(0, value, 255));
        else if (word == "brdrcf")
            nextCell_.borderColour = value;
        else if (word != "brdrnone" && word != "brdrtbl")
            nextCell_.bordered = true;
    } else if (word == "cellx") {
        if (cellBoundaries_.size() < 63) {
            cellBoundaries_.append(qMax(cellBoundaries_.isEmpty() ? 0 : cellBoundaries_.back(),
                                        qBound(0, value, MaxRtfTableTwips)));
            cellDefinitions_.append(nextCell_);
        }
        nextCell_ = {};
        inCellBorder_ = false;
    } else if (word == "cell") {
        endCell();
    } else if (word == "row") {
        endRow();
    }
    // Special characters.
    else if (word == "par") {
        endParagraph();
    } else if (word == "sect") {
        endParagraph();
    } else if (word == "page") {
        pageBreak();
    } else if (const char16_t special = specialCharacter(word)) {
        unicodeCharacter(QChar(special));
    }
    pendingFallback_ = 0;
}

} // namespace

bool IsRtf(const QByteArray& bytes)
{
    qsizetype at = 0;
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    // RTF starts with its group and a control word; "\rtf1" itself is left out by some writers.
    return at + 1 < bytes.size() && bytes[at] == '{' && bytes[at + 1] == '\\';
}

bool ReadRtf(const QByteArray& bytes, QTextDocument& document, PageSettings* page)
{
    if (!IsRtf(bytes))
        return false;
    document.clear();
    RtfReader(bytes, document, page).Read();
    return true;
}

bool InsertRtf(const QByteArray& bytes, QTextCursor& cursor)
{
    QTextDocument inserted;
    if (!ReadRtf(bytes, inserted))
        return false;
    InsertWithImages(cursor, inserted, QTextDocumentFragment(&inserted));
    return true;
}

} // namespace jornix
