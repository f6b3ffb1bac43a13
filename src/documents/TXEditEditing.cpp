#include "documents/TXEdit.h"

#include "documents/BulletsAndNumberingDialog.h"
#include "documents/DateTimeList.h"
#include "documents/DocumentPropertiesDialog.h"
#include "documents/FindReplaceDialog.h"
#include "documents/ParagraphDialog.h"
#include "documents/StylesDialog.h"
#include "documents/TabsDialog.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/StatusBar.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"
#include "platform/runtime/TrailingBlanks.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace jornix {

namespace {


// A character code of 32 or less separates words.
bool isSeparator(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

void TXEdit::Cut()
{
    if (text_)
        text_->Clip(1);
}

void TXEdit::Copy()
{
    if (text_ && HasSelection())
        text_->Clip(2);
}

void TXEdit::Paste()
{
    if (text_ && CanPaste())
        text_->Clip(3);
}

int TXEdit::HasSelection() const
{
    return text_ && text_->SelLength() != 0 ? 1 : 0;
}

int TXEdit::CanPaste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && !data->formats().isEmpty() ? 1 : 0;
}

void TXEdit::Undo()
{
    if (!text_)
        return;
    if (text_->CanUndo())
        text_->undo();
    else
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("TX TEXT"),
                       QStringLiteral("Nothing to undo!"));
}

void TXEdit::Redo()
{
    if (!text_)
        return;
    if (text_->CanRedo())
        text_->redo();
    else
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("TX TEXT"),
                       QStringLiteral("Nothing to redo!"));
}

int TXEdit::CanUndo() const
{
    return text_ && text_->CanUndo() ? 1 : 0;
}

int TXEdit::CanRedo() const
{
    return text_ && text_->CanRedo() ? 1 : 0;
}

void TXEdit::SelectAll()
{
    if (!text_)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    text_->SelectAll();
    QApplication::restoreOverrideCursor();
}

void TXEdit::ChooseForeColor()
{
    chooseColour(QStringLiteral("Foreground color"), false);
}

void TXEdit::ChooseBackColor()
{
    chooseColour(QStringLiteral("Background color"), true);
}

void TXEdit::chooseColour(const QString& title, bool background)
{
    if (!text_)
        return;
    const QTextCharFormat current = text_->currentCharFormat();
    QColor colour = background ? current.background().color() : current.foreground().color();
    if (!colour.isValid())
        colour = background ? QColor(Qt::white) : QColor(Qt::black);
    if (!AskColour(colour, title))
        return;
    QTextCharFormat change;
    if (background)
        change.setBackground(colour);
    else
        change.setForeground(colour);
    text_->mergeCurrentCharFormat(change);
}

void TXEdit::FontDialog()
{
    if (!text_)
        return;
    const QTextCharFormat current = text_->currentCharFormat();
    QFont font = current.font();
    QColor colour = current.foreground().style() == Qt::NoBrush ? QColor(Qt::black) : current.foreground().color();
    if (!AskFont(font, colour))
        return;
    QTextCharFormat change;
    change.setForeground(colour);
    change.setFontFamilies({font.family()});
    change.setFontPointSize(font.pointSizeF());
    change.setFontWeight(font.weight());
    change.setFontItalic(font.italic());
    change.setFontUnderline(font.underline());
    change.setFontStrikeOut(font.strikeOut());
    text_->mergeCurrentCharFormat(change);
}

void TXEdit::ParagraphDialog()
{
    if (!text_)
        return;
    jornix::ParagraphDialog dialog(text_, measurements_);
    RunThreadModal(dialog);
    text_->Refresh();
}

void TXEdit::BulletsAndNumbering()
{
    if (!text_)
        return;
    BulletsAndNumberingDialog dialog(text_);
    RunThreadModal(dialog);
}

void TXEdit::TabDialog()
{
    if (!text_)
        return;
    TabsDialog dialog(text_, measurements_);
    RunThreadModal(dialog);
}

void TXEdit::StyleDialog()
{
    if (!text_)
        return;
    StylesDialog dialog(text_, measurements_);
    RunThreadModal(dialog);
}

int TXEdit::ListType() const
{
    return text_ ? text_->ListType() : 0;
}

void TXEdit::SetListType(qint32 listType)
{
    if (text_ && !text_->isReadOnly())
        text_->SetListType(listType);
}

void TXEdit::SetNumbering(qint32 firstNumber)
{
    // The numbering starts where the list starts; this platform's lists always count from 1, so the first
    // number is taken as the request for numbers.
    Q_UNUSED(firstNumber);
    SetListType(RichTextControl::NumberedList);
}

void TXEdit::IncreaseIndent()
{
    changeIndent(1);
}

void TXEdit::DecreaseIndent()
{
    changeIndent(-1);
}

void TXEdit::changeIndent(int step)
{
    if (!text_ || text_->isReadOnly())
        return;
    QTextList* list = text_->textCursor().currentList();
    if (!list)
        return;
    QTextListFormat format = list->format();
    const int level = qMax(1, format.indent() + step); // never out of the first level
    if (level == format.indent())
        return;
    format.setIndent(level);
    list->setFormat(format);
}

void TXEdit::SetControlChars(int show, int toggle)
{
    controlChars_ = toggle ? !controlChars_ : (show ? 1 : 0);
    if (text_)
        text_->SetControlChars(controlChars_);
}

void TXEdit::SetGridLines(int show, int toggle)
{
    if (text_)
        text_->SetTableGridLines(toggle ? !text_->TableGridLines() : show != 0);
}

void TXEdit::SetEditMode(qint32 mode)
{
    if (text_)
        text_->SetEditMode(mode);
}

void TXEdit::SetZoom(qint32 percent)
{
    if (!text_)
        return;
    text_->SetZoomFactor(percent);
    text_->Refresh();
}

qint32 TXEdit::WordCount() const
{
    if (!text_)
        return 0;
    const QString text = text_->Text();
    int first = 0, last = int(text.size());
    while (first < last && isSeparator(text.at(first)))
        ++first;
    while (last > first && isSeparator(text.at(last - 1)))
        --last;
    if (first == last)
        return 0;
    qint32 count = 1;
    for (int i = first + 1; i < last; ++i)
        if (isSeparator(text.at(i - 1)) && !isSeparator(text.at(i)))
            ++count;
    return count;
}

void TXEdit::SelectWord(qint32& start, qint32& end)
{
    if (!text_)
        return;
    // The word runs from the blank before the caret to the blank after it, within the caret's line.
    const QString text = text_->Text();
    const QTextBlock block = text_->textCursor().block();
    const int lineStart = block.position();
    const int lineEnd = block.position() + block.length() - 1;
    const int caret = text_->textCursor().position();
    int from = caret, to = caret;
    while (from > lineStart && text.at(from - 1) != QLatin1Char(' '))
        --from;
    while (to < lineEnd && text.at(to) != QLatin1Char(' '))
        ++to;
    start = from;
    end = to;
    text_->SetSelStart(start);
    text_->SetSelLength(end - start);
}

void TXEdit::ReplaceAll(const QString& find, const QString& replacement)
{
    if (text_ && !text_->isReadOnly())
        text_->ReplaceAll(find, replacement);
}

void TXEdit::PlaceStatusBar()
{
    // The status bar sits under the text in the editor's layout; only a hidden one needs showing.
    if (statusBar_)
        statusBar_->show();
}

void TXEdit::SetSelText(const QString& text)
{
    if (!text_)
        return;
    QString clean = text;
    clean.remove(QChar(0));
    text_->SetSelText(clean);
}

void TXEdit::InsertDateTime()
{
    if (!text_)
        return;
    DateTimeList list(QDateTime::currentDateTime());
    if (RunThreadModal(list) == QDialog::Accepted && !list.Chosen().isEmpty())
        SetSelText(list.Chosen());
}

void TXEdit::InsertTextFile()
{
    if (!text_)
        return;
    const QString name = AskOpenFileName(QStringLiteral("Insert Text"),
                                         QStringLiteral("Rich Text|*.RTF|Text (*.txt)|*.txt"), {},
                                         FileKind::Documents);
    if (!name.isEmpty()) {
        QString error;
        if (!ImportTextFile(name, &error))
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Insert Text"),
                           QStringLiteral("The file %1 cannot be imported: %2").arg(name, error));
    }
    text_->Refresh();
}

bool TXEdit::ImportTextFile(const QString& fileName, QString* error)
{
    if (!text_)
        return false;
    const QString trimmed = StripTrailingBlanks(fileName);
    QFile file(trimmed);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (trimmed.right(3).toUpper() == QLatin1String("RTF")) {
        if (!bytes.startsWith("{\\rtf")) {
            if (error)
                *error = QStringLiteral("it holds no rich text.");
            return false;
        }
        text_->SetRTFSelText(QString::fromLatin1(bytes));
    } else {
        SetSelText(QString::fromUtf8(bytes));
    }
    return true;
}

void TXEdit::FindDialog()
{
    runFindReplace(false);
}

void TXEdit::ReplaceDialog()
{
    runFindReplace(true);
}

void TXEdit::runFindReplace(bool replace)
{
    if (!text_)
        return;
    FindReplaceDialog dialog(text_, replace);
    RunThreadModal(dialog);
    text_->Refresh();
}

int TXEdit::DocumentProperties()
{
    if (!text_)
        return 0;
    DocumentPropertiesDialog dialog(text_, measurements_);
    return RunThreadModal(dialog) == QDialog::Accepted ? 1 : 0;
}

void TXEdit::PageSetup()
{
    if (DocumentProperties() == 1)
        text_->Refresh();
}

} // namespace jornix
