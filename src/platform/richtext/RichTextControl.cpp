#include "platform/richtext/RichTextControl.h"

#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QUrl>

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

QString withoutObjects(QString text)
{
    return text.remove(QChar::ObjectReplacementCharacter);
}

// A document of its own holding the selection, with the images it shows.
void copySelection(const QTextDocument& source, const QTextCursor& selection, QTextDocument& target)
{
    QTextCursor(&target).insertFragment(selection.selection());
    for (QTextBlock block = target.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QUrl url(it.fragment().charFormat().toImageFormat().name());
                target.addResource(QTextDocument::ImageResource, url,
                                   source.resource(QTextDocument::ImageResource, url));
            }
}

} // namespace

RichTextControl::RichTextControl(QWidget* parent) : QTextEdit(parent)
{
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!loading_)
            emit Changed();
    });
}

RichTextControl::~RichTextControl() = default;

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
    // In page view the lines wrap at the page's text width; otherwise at the window's width.
    if (viewMode_ == ViewMode::Page) {
        const int textWidth = page_.width - page_.marginLeft - page_.marginRight;
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(qMax(1, textWidth * logicalDpiX() / 1440));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
    emit PageChanged();
}

void RichTextControl::loadWithoutChange(const std::function<void()>& load)
{
    const bool wasLoading = loading_;
    loading_ = true;
    load();
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    loading_ = wasLoading;
}

bool RichTextControl::Load(const QByteArray& bytes, int format, QString* error)
{
    if (!IsSupportedTextFormat(format)) {
        if (error)
            *error = UnsupportedTextFormatMessage(format);
        return false;
    }
    bool loaded = true;
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
            break;
        }
        case TextFormat::OwnFormat:
            loaded = ReadOwnFormat(bytes, *document());
            break;
        }
    });
    if (!loaded && error)
        *error = QStringLiteral("The bytes are no document of this format.");
    return loaded;
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
                           : (withoutObjects(document()->toPlainText()) + QLatin1Char('\n')).toUtf8();
        return result;
    }
    QTextDocument selection;
    if (selectionOnly)
        copySelection(*document(), textCursor(), selection);
    const QTextDocument& source = selectionOnly ? selection : *document();
    result.bytes = format == TextFormat::Html ? source.toHtml().toUtf8() : WriteOwnFormat(source);
    return result;
}

qint32 RichTextControl::SaveLength(int format, bool selectionOnly) const
{
    return qint32(Save(format, selectionOnly).bytes.size());
}

bool RichTextControl::LoadFile(const QString& fileName, int format, QString* error)
{
    if (!IsSupportedTextFormat(format)) {
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
    // Images of an HTML file are named relative to its folder; the own format carries its images.
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(fileName).absolutePath() + QLatin1Char('/')));
    return Load(bytes, format, error);
}

bool RichTextControl::SaveFile(const QString& fileName, int format, QString* error) const
{
    const Conversion conversion = Save(format);
    if (!conversion.ok()) {
        if (error)
            *error = conversion.error;
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(conversion.bytes) != conversion.bytes.size() ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
    document()->clear();
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
    const QString text = event->text();
    if (!text.isEmpty()) {
        KeyPressEvent press{text.at(0).unicode()};
        emit KeyPress(&press);
        if (press.character == 0) {
            event->accept();
            return;
        }
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
    emit MouseDown(button, shiftStateOf(event->modifiers()), event->position().toPoint());
    QTextEdit::mousePressEvent(event);
}

} // namespace jornix
