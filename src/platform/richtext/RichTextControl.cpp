#include "platform/runtime/SafeFileWriter.h"
#include "platform/richtext/RichTextControl.h"

#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/HeaderFooterEditor.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/PagePainter.h"
#include "platform/richtext/ParagraphFrames.h"
#include "platform/richtext/Rtf.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"
#include "platform/richtext/TextFields.h"
#include "platform/richtext/WordConverter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextTable>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

#include <memory>

namespace jornix {
namespace {

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= ShiftState::Shift;
    if (modifiers & Qt::ControlModifier)
        state |= ShiftState::Ctrl;
    if (modifiers & Qt::AltModifier)
        state |= ShiftState::Alt;
    return state;
}

QString noDocumentMessage()
{
    return QStringLiteral("The bytes are no document of this format.");
}

QString withoutObjects(QString text)
{
    return text.remove(QChar::ObjectReplacementCharacter);
}

// A document of its own holding the selection, with the images it shows.
void copySelection(const QTextDocument& source, const QTextCursor& selection, QTextDocument& target)
{
    target.setDefaultFont(source.defaultFont());
    QTextCursor cursor(&target);
    InsertWithImages(cursor, source, selection.selection());
}

// Text in which everything outside ASCII is written as RTF's Unicode characters, for the reader.
QByteArray rtfBytesOf(const QString& rtf)
{
    QByteArray bytes;
    bytes.reserve(rtf.size());
    for (const QChar c : rtf) {
        if (c.unicode() < 0x80)
            bytes += char(c.unicode());
        else
            bytes += "{\\uc0\\u" + QByteArray::number(qint16(c.unicode())) + '}';
    }
    return bytes;
}

bool writeFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    QString reason;
    if (SafeFileWriter::WriteWhole(fileName, bytes, reason))
        return true;
    if (error)
        *error = reason;
    return false;
}

} // namespace

RichTextControl::RichTextControl(QWidget* parent)
    : QTextEdit(parent), fields_(std::make_unique<TextFields>(*document()))
{
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!loading_)
            emit Changed();
    });
    HeadersFooters& headers = HeadersFooters::Ensure(*document());
    connect(&headers, &HeadersFooters::Changed, this, &RichTextControl::headersFootersChanged);
    connect(&headers, &HeadersFooters::Removing, this, &RichTextControl::headerFooterRemoving);
    // The editor lays the document out again without a page height when its scroll bars come or go (after a
    // zoom, say): the pages are given back their height.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, [this] {
        if (paged())
            applyPageLayout();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextControl::keepTypingOutsideFields);
}

TextFields& RichTextControl::Fields() const
{
    // A document set in place of the control's own starts without fields.
    if (&fields_->Document() != document())
        fields_ = std::make_unique<TextFields>(*document());
    return *fields_;
}

void RichTextControl::inputMethodEvent(QInputMethodEvent* event)
{
    keepTypingOutsideFields();
    QTextEdit::inputMethodEvent(event);
}

void RichTextControl::insertFromMimeData(const QMimeData* source)
{
    keepTypingOutsideFields(); // plain text takes the caret's format
    QTextEdit::insertFromMimeData(source);
}

// The editor sets the caret's format again after some moves (up and down), so this runs before every
// insertion as well as after every move.
void RichTextControl::keepTypingOutsideFields()
{
    const QTextCursor caret = textCursor();
    if (caret.hasSelection() || !caret.charFormat().hasProperty(TextFields::IdProperty) ||
        TextFields::TypingJoins(caret))
        return;
    setCurrentCharFormat(TextFields::WithoutField(caret.charFormat()));
}

RichTextControl::~RichTextControl()
{
    // The document goes before the widgets on the view: nothing of it may call back or be shown meanwhile.
    closeHeaderFooterEditor();
    document()->documentLayout()->disconnect(this);
    HeadersFooters::Ensure(*document()).disconnect(this);
    // The editor's own cursor may still move while the base class goes; the fields go first.
    disconnect(this, &QTextEdit::cursorPositionChanged, this, &RichTextControl::keepTypingOutsideFields);
}

void RichTextControl::SetPageWidth(int twips)
{
    page_.width = twips;
    applyPage();
}

void RichTextControl::SetPageHeight(int twips)
{
    page_.height = twips;
    applyPage();
}

void RichTextControl::SetPageMarginL(int twips)
{
    page_.marginLeft = twips;
    applyPage();
}

void RichTextControl::SetPageMarginT(int twips)
{
    page_.marginTop = twips;
    applyPage();
}

void RichTextControl::SetPageMarginR(int twips)
{
    page_.marginRight = twips;
    applyPage();
}

void RichTextControl::SetPageMarginB(int twips)
{
    page_.marginBottom = twips;
    applyPage();
}

void RichTextControl::SetPage(const PageSettings& page)
{
    page_ = page;
    applyPage();
}

void RichTextControl::applyPage()
{
    // In page view the document is laid out on pages of its size, each with its margins, as the page
    // painter lays it out; otherwise the lines wrap at the window's width.
    applyPageLayout();
    if (viewMode_ == ViewMode::Page) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(qMax(1, page_.width * zoom_ / (100 * TwipsPerLayoutUnit)));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
    applyPageLayout(); // the editor sets the document's width again, without a page height
    placeHeaderFooterEditor();
    viewport()->update();
    emit PageChanged();
}

void RichTextControl::applyPageLayout()
{
    QTextDocument* doc = document();
    const bool paged = this->paged();
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    const qreal margin = doc->documentMargin();
    // The text keeps clear of the headers and footers, as on the printed page.
    const PageSettings text = paged ? headerFooterLayout().TextPage() : page_;
    const qreal left = paged ? qreal(text.marginLeft) / TwipsPerLayoutUnit : margin;
    const qreal top = paged ? qreal(text.marginTop) / TwipsPerLayoutUnit : margin;
    const qreal right = paged ? qreal(text.marginRight) / TwipsPerLayoutUnit : margin;
    const qreal bottom = paged ? qreal(text.marginBottom) / TwipsPerLayoutUnit : margin;
    if (root.leftMargin() != left || root.topMargin() != top || root.rightMargin() != right ||
        root.bottomMargin() != bottom) {
        // The margins are no edit of the text: no Changed, nothing to undo, the document as modified as it
        // was.
        const bool wasLoading = loading_;
        const bool modified = doc->isModified();
        loading_ = true;
        root.setLeftMargin(left);
        root.setTopMargin(top);
        root.setRightMargin(right);
        root.setBottomMargin(bottom);
        doc->rootFrame()->setFrameFormat(root);
        doc->clearUndoRedoStacks();
        doc->setModified(modified);
        loading_ = wasLoading;
    }
    const QSizeF pageSize(qreal(page_.width) * zoom_ / (100 * TwipsPerLayoutUnit),
                          qreal(page_.height) * zoom_ / (100 * TwipsPerLayoutUnit));
    if (paged && doc->pageSize() != pageSize)
        doc->setPageSize(pageSize);
}

// The editor lays the document out again without a page height when it is resized or its font changes.
void RichTextControl::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (viewMode_ == ViewMode::Page)
        applyPageLayout();
}

void RichTextControl::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (viewMode_ == ViewMode::Page)
        applyPageLayout();
}

void RichTextControl::paintEvent(QPaintEvent* event)
{
    if (viewMode_ == ViewMode::Page && document()->pageSize().height() > 0) {
        // The pages on a grey ground, a gap between them inside their margins; the text goes on top.
        QPainter painter(viewport());
        painter.fillRect(event->rect(), QColor(0x9a, 0x9a, 0x9a));
        const QSizeF page = document()->pageSize();
        const qreal gap =
            qMin<qreal>(PageGap, qMin(page_.marginTop, page_.marginBottom) / TwipsPerLayoutUnit);
        const QPointF origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
        painter.setPen(QColor(0x60, 0x60, 0x60));
        for (int index = 0; index < document()->pageCount(); ++index) {
            const QRectF sheet(origin + QPointF(0, index * page.height() + gap / 2),
                               QSizeF(page.width(), page.height() - gap));
            if (!sheet.intersects(event->rect()))
                continue;
            painter.fillRect(sheet, Qt::white);
            painter.drawRect(sheet.adjusted(-0.5, -0.5, 0.5, 0.5));
            paintHeadersFooters(painter, origin + QPointF(0, index * page.height()), index);
        }
    }
    QTextEdit::paintEvent(event);
    {
        QPainter painter(viewport());
        const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
        painter.translate(-scrolled);
        PaintParagraphFrames(painter, *document(), zoom_ / 100.0, QRectF(event->rect().translated(scrolled)));
    }
    if (gridLines_) {
        QPainter painter(viewport());
        paintGridLines(painter);
    }
}

int RichTextControl::ReplaceAll(const QString& text, const QString& replacement, bool matchCase)
{
    int count = 0;
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (int from = Find(text, 0, matchCase); from >= 0; from = Find(text, from, matchCase)) {
        edit.setPosition(from);
        edit.setPosition(from + int(text.size()), QTextCursor::KeepAnchor);
        edit.insertText(replacement);
        from = edit.position(); // after the replacement, so one that holds the text never loops
        ++count;
    }
    edit.endEditBlock();
    return count;
}

void RichTextControl::SetZoomFactor(int percent)
{
    zoom_ = qBound(10, percent, 400);
    applyZoom();
}

void RichTextControl::applyZoom()
{
    // The layout measures the document on a device of the zoomed resolution: points, pictures, indents and
    // margins grow and shrink together, while the document keeps its own sizes for saving and printing.
    const qreal dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    zoomDevice_ = QImage(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(dpi * zoom_ / 100.0 / 0.0254);
    zoomDevice_.setDotsPerMeterX(dotsPerMetre);
    zoomDevice_.setDotsPerMeterY(dotsPerMetre);
    document()->documentLayout()->setPaintDevice(zoom_ == 100 ? nullptr : &zoomDevice_);
    applyPage();
}

void RichTextControl::SetControlChars(bool show)
{
    controlChars_ = show;
    QTextOption option = document()->defaultTextOption();
    option.setFlags(show ? option.flags() | QTextOption::ShowTabsAndSpaces |
                               QTextOption::ShowLineAndParagraphSeparators
                         : option.flags() & ~(QTextOption::ShowTabsAndSpaces |
                                              QTextOption::ShowLineAndParagraphSeparators));
    document()->setDefaultTextOption(option);
    Refresh();
}

void RichTextControl::SetTableGridLines(bool show)
{
    gridLines_ = show;
    viewport()->update();
}

void RichTextControl::SetEditMode(int mode)
{
    editMode_ = mode;
    setReadOnly(mode != 0);
    // Text that can only be read can still be selected and copied.
    setTextInteractionFlags(mode != 0 ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                      : Qt::TextEditorInteraction);
}

int RichTextControl::ListType() const
{
    const QTextList* list = textCursor().currentList();
    if (!list)
        return 1;
    return list->format().style() == QTextListFormat::ListDecimal ? NumberedList : BulletList;
}

void RichTextControl::SetListType(int listType)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (listType == BulletList || listType == NumberedList) {
        const QTextListFormat::Style style =
            listType == BulletList ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal;
        if (QTextList* list = cursor.currentList()) {
            QTextListFormat format = list->format();
            format.setStyle(style);
            list->setFormat(format);
        } else {
            QTextListFormat format;
            format.setStyle(style);
            format.setIndent(1);
            cursor.createList(format);
        }
    } else {
        // Each paragraph of the selection leaves its list, with the indent of a paragraph outside lists.
        const int end = cursor.selectionEnd();
        for (QTextBlock block = document()->findBlock(cursor.selectionStart());
             block.isValid() && block.position() <= end; block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextCursor at(block);
                QTextBlockFormat format = at.blockFormat();
                format.setIndent(0);
                at.setBlockFormat(format);
            }
        }
    }
    cursor.endEditBlock();
}

int RichTextControl::Alignment() const
{
    const Qt::Alignment alignment = this->alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        return 1;
    if (alignment & Qt::AlignHCenter)
        return 2;
    if (alignment & Qt::AlignJustify)
        return 3;
    return 0;
}

Qt::Alignment RichTextControl::AlignmentOf(int alignment)
{
    static constexpr Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignRight,
                                                   Qt::AlignHCenter, Qt::AlignJustify};
    return alignments[alignment >= 0 && alignment <= 3 ? alignment : 0];
}

void RichTextControl::SetAlignment(int alignment)
{
    setAlignment(AlignmentOf(alignment));
}

bool RichTextControl::CanUndo() const
{
    return document()->isUndoAvailable();
}

bool RichTextControl::CanRedo() const
{
    return document()->isRedoAvailable();
}

void RichTextControl::Clip(int operation)
{
    switch (operation) {
    case 1:
        cut();
        break;
    case 2:
        copy();
        break;
    case 3:
        paste();
        break;
    case 4:
        if (!isReadOnly())
            textCursor().removeSelectedText();
        break;
    default:
        break;
    }
}

int RichTextControl::Find(const QString& text, int from, bool matchCase) const
{
    if (text.isEmpty())
        return -1;
    const QTextCursor found = document()->find(
        text, qMax(0, from), matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
    return found.isNull() ? -1 : found.selectionStart();
}

void RichTextControl::loadWithoutChange(const std::function<void()>& load)
{
    const bool wasLoading = loading_;
    loading_ = true;
    HeadersFooters::Remove(*document()); // a document without them has none
    Fields().RemoveAll();
    load();
    applyPageLayout(); // a new document has the plain margins
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    loading_ = wasLoading;
}

bool RichTextControl::Load(const QByteArray& bytes, int format, QString* error)
{
    if (!IsLoadableTextFormat(format)) {
        if (error)
            *error = UnsupportedTextFormatMessage(format);
        return false;
    }
    bool loaded = true;
    QList<NamedStyle> styles;
    loadWithoutChange([&] {
        switch (format) {
        case TextFormat::PlainText: {
            QString text = QString::fromUtf8(bytes);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (text.endsWith(QLatin1Char('\n')))
                text.chop(1);
            document()->clear();
            setPlainText(text);
            break;
        }
        case TextFormat::Html: {
            QStringDecoder decoder(QStringConverter::encodingForHtml(bytes).value_or(QStringConverter::Utf8));
            document()->clear();
            setHtml(decoder.decode(bytes));
            TakeImagesIn(*document());
            break;
        }
        case TextFormat::OwnFormat: {
            QList<TextField> fields;
            loaded = ReadOwnFormat(bytes, *document(), &styles, &fields);
            Fields().Restore(fields);
            break;
        }
        case TextFormat::Rtf: {
            // Read apart and put in whole, so that the editor lays the document out once.
            QTextDocument read;
            PageSettings page = page_;
            loaded = ReadRtf(bytes, read, &page);
            document()->clear();
            QTextCursor cursor(document());
            InsertWithImages(cursor, read, QTextDocumentFragment(&read));
            if (page != page_)
                SetPage(page);
            break;
        }
        }
        GiveImagesTheFontOfTheirText(*document());
    });
    if (namedStyles_ != styles) {
        namedStyles_ = styles;
        emit NamedStylesChanged();
    }
    if (!loaded && error)
        *error = noDocumentMessage();
    return loaded;
}

QByteArray RichTextControl::PlainTextOf(const QTextDocument& document)
{
    return (withoutObjects(document.toPlainText()) + QLatin1Char('\n')).toUtf8();
}

Conversion RichTextControl::Save(int format, bool selectionOnly) const
{
    Conversion result;
    if (!IsSupportedTextFormat(format)) {
        result.error = UnsupportedTextFormatMessage(format);
        return result;
    }
    if (format == TextFormat::PlainText) {
        // Every paragraph of the document ends with a line break, so an empty document is one byte long.
        result.bytes = selectionOnly
                           ? withoutObjects(textCursor().selection().toPlainText()).toUtf8()
                           : PlainTextOf(*document());
        return result;
    }
    // The page margins of page view belong to the view, not to the document: a copy without them is saved.
    std::unique_ptr<QTextDocument> copy;
    if (selectionOnly) {
        copy = std::make_unique<QTextDocument>();
        copySelection(*document(), textCursor(), *copy);
    } else if (viewMode_ == ViewMode::Page) {
        copy.reset(document()->clone());
        QTextFrameFormat root = copy->rootFrame()->frameFormat();
        root.setMargin(copy->documentMargin());
        copy->rootFrame()->setFrameFormat(root);
        HeadersFooters::Copy(*document(), *copy);
    }
    const QTextDocument& source = copy ? *copy : *document();
    switch (format) {
    case TextFormat::Html:
        result.bytes = html(source, QString(), QString(), nullptr);
        break;
    case TextFormat::Rtf:
        result.bytes = WriteRtf(source, page_);
        break;
    case TextFormat::Word:
        result.error = ConvertRtfToWord(WriteRtf(source, page_), result.bytes);
        if (!result.ok())
            result.bytes.clear();
        break;
    case TextFormat::Pdf:
        result.bytes = WritePdf(source, page_);
        break;
    default:
        result.bytes =
            WriteOwnFormat(source, namedStyles_, selectionOnly ? Fields().In(*copy) : Fields().All());
        break;
    }
    return result;
}

qint32 RichTextControl::SaveLength(int format, bool selectionOnly) const
{
    return qint32(Save(format, selectionOnly).bytes.size());
}

bool RichTextControl::LoadFile(const QString& fileName, int format, QString* error)
{
    if (!IsLoadableTextFormat(format)) {
        if (error)
            *error = UnsupportedTextFormatMessage(format);
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if ((format == TextFormat::OwnFormat && !IsOwnFormat(bytes)) ||
        (format == TextFormat::Rtf && !IsRtf(bytes))) {
        if (error)
            *error = noDocumentMessage();
        return false;
    }
    // The pictures of an HTML page are files named relative to its folder: only while it loads do names point
    // there, and loading takes them into the document. Every other picture is a resource of the document under
    // a relative name, which a base URL left in place would send to a file that does not exist.
    if (format != TextFormat::Html)
        return Load(bytes, format, error);
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(fileName).absolutePath() + QLatin1Char('/')));
    const bool loaded = Load(bytes, format, error);
    document()->setBaseUrl(QUrl());
    return loaded;
}

bool RichTextControl::SaveFile(const QString& fileName, int format, QString* error) const
{
    if (format == TextFormat::Html && imageSaveMode_ == 0) {
        const QFileInfo info(fileName);
        QList<std::pair<QString, QImage>> images;
        const QByteArray bytes = html(*document(), info.absolutePath(), info.completeBaseName(), &images);
        for (const auto& [path, image] : images)
            if (!writeFile(path, PngBytes(image), error))
                return false;
        return writeFile(fileName, bytes, error);
    }
    const Conversion conversion = Save(format);
    if (!conversion.ok()) {
        if (error)
            *error = conversion.error;
        return false;
    }
    return writeFile(fileName, conversion.bytes, error);
}

QByteArray RichTextControl::html(const QTextDocument& source, const QString& imageFolder,
                                 const QString& imageBase,
                                 QList<std::pair<QString, QImage>>* imageFiles) const
{
    // Embedded, a picture is named by its data; beside the file, by the file it is written to.
    QHash<QString, QString> sources;
    for (const QString& name : ImageNames(source)) {
        const QImage image = ImageResource(source, name);
        if (image.isNull())
            continue;
        if (imageFiles) {
            const QString file = QStringLiteral("%1-%2.png").arg(imageBase).arg(imageFiles->size() + 1);
            imageFiles->append({QDir(imageFolder).filePath(file), image});
            sources.insert(name, file);
        } else if (imageSaveMode_ == 1) {
            sources.insert(name, QStringLiteral("data:image/png;base64,") +
                                     QString::fromLatin1(PngBytes(image).toBase64()));
        }
    }
    if (sources.isEmpty())
        return source.toHtml().toUtf8();
    std::unique_ptr<QTextDocument> copy(source.clone());
    QList<std::pair<QTextFragment, QTextImageFormat>> renamed;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            if (format.isValid() && sources.contains(format.name())) {
                format.setName(sources.value(format.name()));
                renamed.append({it.fragment(), format});
            }
        }
    for (const auto& [fragment, format] : renamed) {
        QTextCursor cursor(copy.get());
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    return copy->toHtml().toUtf8();
}

QString RichTextControl::RTFSelText() const
{
    return QString::fromLatin1(WriteRtf(textCursor()));
}

void RichTextControl::SetRTFSelText(const QString& rtf)
{
    QTextCursor cursor = textCursor();
    if (InsertRtf(rtfBytesOf(rtf), cursor))
        setTextCursor(cursor);
}

int RichTextControl::TextLength() const
{
    return document()->characterCount() - 1;
}

QString RichTextControl::Text() const
{
    return document()->toPlainText();
}

int RichTextControl::SelStart() const
{
    return textCursor().selectionStart();
}

void RichTextControl::SetSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, TextLength()));
    setTextCursor(cursor);
}

int RichTextControl::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextControl::SetSelLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = length < 0 ? TextLength() : qBound(start, start + length, TextLength());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextControl::SelText() const
{
    return textCursor().selectedText();
}

void RichTextControl::SetSelText(const QString& text)
{
    keepTypingOutsideFields();
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

void RichTextControl::SelectAll()
{
    SetSelStart(0);
    SetSelLength(-1);
}

void RichTextControl::ClearDocument()
{
    HeadersFooters::Remove(*document());
    Fields().RemoveAll();
    document()->clear();
    applyPageLayout();
    document()->clearUndoRedoStacks();
    setCurrentCharFormat(QTextCharFormat());
}

void RichTextControl::Refresh()
{
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

void RichTextControl::SetViewMode(ViewMode mode)
{
    viewMode_ = mode;
    applyPage();
}

void RichTextControl::SetNamedStyles(const QList<NamedStyle>& styles)
{
    if (styles == namedStyles_)
        return;
    namedStyles_ = styles;
    document()->setModified(true);
    emit NamedStylesChanged();
    if (!loading_)
        emit Changed();
}

bool RichTextControl::ApplyNamedStyle(const QString& name)
{
    const int index = FindNamedStyle(namedStyles_, name);
    if (index < 0 || isReadOnly())
        return false;
    QTextCursor cursor = textCursor();
    jornix::ApplyNamedStyle(cursor, namedStyles_.at(index));
    setTextCursor(cursor);
    return true;
}

void RichTextControl::SetButtonBar(ButtonBar* bar)
{
    if (buttonBar_)
        buttonBar_->Attach(nullptr);
    buttonBar_ = bar;
    if (bar)
        bar->Attach(this);
}

void RichTextControl::SetRuler(Ruler* ruler)
{
    if (ruler_)
        ruler_->Attach(nullptr);
    ruler_ = ruler;
    if (ruler)
        ruler->Attach(this);
}

void RichTextControl::SetStatusBar(StatusBar* bar)
{
    if (statusBar_)
        statusBar_->Attach(nullptr);
    statusBar_ = bar;
    if (bar)
        bar->Attach(this);
}

ButtonBar* RichTextControl::GetButtonBar() const
{
    return buttonBar_;
}

Ruler* RichTextControl::GetRuler() const
{
    return ruler_;
}

StatusBar* RichTextControl::GetStatusBar() const
{
    return statusBar_;
}

void RichTextControl::keyPressEvent(QKeyEvent* event)
{
    const int state = shiftStateOf(event->modifiers());
    emit KeyDown(event->key(), state);
    // In a table Tab goes from cell to cell, and Ctrl+Tab types the tab character.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (state & ~ShiftState::Shift) == 0 &&
        moveToNeighbourCell(event->key() == Qt::Key_Tab && state == 0)) {
        event->accept();
        return;
    }
    const bool tabInCell = tab && state == ShiftState::Ctrl && !isReadOnly() && textCursor().currentTable();
    const QString text = event->text();
    if (!text.isEmpty()) {
        KeyPressEvent press{text.at(0).unicode()};
        emit KeyPress(&press);
        if (press.character == 0) {
            event->accept();
            return;
        }
        keepTypingOutsideFields();
    }
    if (tabInCell) {
        QTextCursor cursor = textCursor();
        cursor.insertText(QStringLiteral("\t"));
        setTextCursor(cursor);
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextControl::keyReleaseEvent(QKeyEvent* event)
{
    emit KeyUp(event->key(), shiftStateOf(event->modifiers()));
    QTextEdit::keyReleaseEvent(event);
}

void RichTextControl::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    if (event->button() == Qt::LeftButton)
        button = 1;
    else if (event->button() == Qt::RightButton)
        button = 2;
    else if (event->button() == Qt::MiddleButton)
        button = 4;
    lastClick_ = event->position().toPoint() + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    if (button == 2) {
        // A right click outside the selection puts the caret where it was made, so that the commands it
        // leads to work there (in the table cell clicked, for one).
        const int at = cursorForPosition(event->position().toPoint()).position();
        const QTextCursor cursor = textCursor();
        if (!cursor.hasSelection() || at < cursor.selectionStart() || at > cursor.selectionEnd()) {
            QTextCursor moved = cursor;
            moved.setPosition(at);
            setTextCursor(moved);
        }
    }
    emit MouseDown(button, shiftStateOf(event->modifiers()), event->position().toPoint());
    QTextEdit::mousePressEvent(event);
}

int RichTextControl::PositionNearestLastClick() const
{
    if (!lastClick_)
        return textCursor().position();
    return cursorForPosition(*lastClick_ - QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()))
        .position();
}

bool RichTextControl::InsertImageFile(const QString& fileName, const ObjectAttributes& attributes,
                                      QString* error)
{
    const qreal textWidth = qreal(page_.width - page_.marginLeft - page_.marginRight) / TwipsPerLayoutUnit;
    QTextCursor cursor = textCursor();
    if (!jornix::InsertImageFile(cursor, fileName, attributes, textWidth, error))
        return false;
    setTextCursor(cursor);
    return true;
}

} // namespace jornix
