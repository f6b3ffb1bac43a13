#include "journal/EventEditorCommands.h"

#include "documents/TXEdit.h"
#include "platform/framework/WindowDescription.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramPrinter.h"

#include <QAction>
#include <QComboBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>

#include <algorithm>

namespace jornix {

namespace {

using C = EditorCommand;

const int ZoomItems[] = {25, 50, 75, 100, 200, 400};
const int ZoomListValues[] = {10, 20, 25, 50, 75, 100, 150, 200, 250, 300, 400};

// Whether every character of the selection (or the caret's format without one) has the attribute.
bool SelectionHas(RichTextControl& text, const std::function<bool(const QTextCharFormat&)>& has)
{
    const QTextCursor cursor = text.textCursor();
    if (!cursor.hasSelection())
        return has(text.currentCharFormat());
    const int start = cursor.selectionStart(), end = cursor.selectionEnd();
    for (QTextBlock block = text.document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() > start && fragment.position() < end &&
                !has(fragment.charFormat()))
                return false;
        }
    return true;
}

} // namespace

const std::vector<EditorCommandRow>& EditorCommandTable()
{
    static const std::vector<EditorCommandRow> table = {
        {C::New, false},
        {C::Import, false},
        {C::Export, true},
        {C::PageSetup, false},
        {C::PrinterSetup, true},
        {C::PrintDocument, true},
        {C::Exit, true},
        {C::Undo, false},
        {C::Redo, false},
        {C::Cut, false},
        {C::Copy, true},
        {C::Paste, false},
        {C::SelectAll, true},
        {C::Find, true},
        {C::Replace, false},
        {C::SpellCheck, false},
        {C::ShowHide, true},
        {C::Zoom, true},
        {C::InsertDateTime, false},
        {C::InsertImage, false},
        {C::InsertObject, false},
        {C::InsertTextFile, false},
        {C::Font, false},
        {C::Paragraph, false},
        {C::BulletsAndNumbering, false},
        {C::Tabs, false},
        {C::AlignLeft, false},
        {C::AlignCenter, false},
        {C::AlignRight, false},
        {C::AlignJustified, false},
        {C::FormatImage, false},
        {C::EditStyles, false},
        {C::InsertTable, false},
        {C::InsertColumnLeft, false},
        {C::InsertColumnRight, false},
        {C::InsertRowAbove, false},
        {C::InsertRowBelow, false},
        {C::DeleteTable, false},
        {C::DeleteColumns, false},
        {C::DeleteRows, false},
        {C::SelectTable, false},
        {C::TableProperties, false},
        {C::GridLines, true},
        {C::ForeColor, false},
        {C::BackColor, false},
        {C::DecreaseIndent, false},
        {C::IncreaseIndent, false},
        {C::SelectScrap, false},
        {C::Help, true},
    };
    return table;
}

bool EnabledInViewMode(EditorCommand command)
{
    const auto& table = EditorCommandTable();
    const auto row = std::find_if(table.begin(), table.end(),
                                  [command](const EditorCommandRow& r) { return r.command == command; });
    return row != table.end() && row->inViewMode;
}

EventEditorCommands::EventEditorCommands(WindowDescription& window, std::function<TXEdit*()> txEdit)
    : window_(window), txEdit_(std::move(txEdit))
{
}

void EventEditorCommands::add(int control, EditorCommand command, int value)
{
    commands_[control] = {command, value};
}

void EventEditorCommands::Describe()
{
    WindowDescription& w = window_;
    auto item = [&](const QString& text, EditorCommand command, int value = 0) {
        add(w.Item(text), command, value);
    };
    auto tool = [&](const QString& tip, const QString& image, EditorCommand command) {
        add(w.Tool(tip, image).Name(QString(tip).remove(QLatin1Char(' ')).remove(QLatin1Char('/')) +
                                    QStringLiteral("Tool")),
            command);
    };
    w.Menu(QStringLiteral("&File"), [&] {
        item(QStringLiteral("&New"), C::New);
        item(QStringLiteral("&Import..."), C::Import);
        item(QStringLiteral("&Export..."), C::Export);
        item(QStringLiteral("Pa&ge Setup"), C::PageSetup);
        item(QStringLiteral("Printer &Setup"), C::PrinterSetup);
        item(QStringLiteral("&Print Document"), C::PrintDocument);
        item(QStringLiteral("E&xit"), C::Exit);
    });
    w.Menu(QStringLiteral("&Edit"), [&] {
        item(QStringLiteral("&Undo"), C::Undo);
        item(QStringLiteral("&Redo"), C::Redo);
        item(QStringLiteral("Cu&t"), C::Cut);
        item(QStringLiteral("&Copy"), C::Copy);
        item(QStringLiteral("&Paste"), C::Paste);
        item(QStringLiteral("Select A&ll"), C::SelectAll);
        item(QStringLiteral("&Find..."), C::Find);
        item(QStringLiteral("R&eplace..."), C::Replace);
        item(QStringLiteral("&Spell Check"), C::SpellCheck);
    });
    w.Menu(QStringLiteral("&View"), [&] {
        item(QStringLiteral("&Show/Hide"), C::ShowHide);
        w.Menu(QStringLiteral("&Zoom"), [&] {
            for (const int percent : ZoomItems)
                item(QStringLiteral("%1 %").arg(percent), C::Zoom, percent);
        });
    });
    w.Menu(QStringLiteral("&Insert"), [&] {
        item(QStringLiteral("&Date Time..."), C::InsertDateTime);
        item(QStringLiteral("&Image..."), C::InsertImage);
        item(QStringLiteral("&Object..."), C::InsertObject);
        item(QStringLiteral("&Text File..."), C::InsertTextFile);
    });
    w.Menu(QStringLiteral("F&ormat"), [&] {
        item(QStringLiteral("&Font..."), C::Font);
        item(QStringLiteral("&Paragraph"), C::Paragraph);
        item(QStringLiteral("&Bullets and Numbering..."), C::BulletsAndNumbering);
        item(QStringLiteral("&Tabs..."), C::Tabs);
        w.Menu(QStringLiteral("&Alignment"), [&] {
            item(QStringLiteral("&Left"), C::AlignLeft);
            item(QStringLiteral("&Center"), C::AlignCenter);
            item(QStringLiteral("&Right"), C::AlignRight);
            item(QStringLiteral("&Justified"), C::AlignJustified);
        });
        item(QStringLiteral("&Image"), C::FormatImage);
        item(QStringLiteral("&Edit Styles..."), C::EditStyles);
    });
    w.Menu(QStringLiteral("T&able"), [&] {
        w.Menu(QStringLiteral("&Insert"), [&] {
            item(QStringLiteral("&Table..."), C::InsertTable);
            item(QStringLiteral("Column to the &Left"), C::InsertColumnLeft);
            item(QStringLiteral("Column to the &Right"), C::InsertColumnRight);
            item(QStringLiteral("Row &Above"), C::InsertRowAbove);
            item(QStringLiteral("Row &Below"), C::InsertRowBelow);
        });
        w.Menu(QStringLiteral("&Delete"), [&] {
            item(QStringLiteral("&Table"), C::DeleteTable);
            item(QStringLiteral("&Columns"), C::DeleteColumns);
            item(QStringLiteral("&Rows"), C::DeleteRows);
        });
        w.Menu(QStringLiteral("&Select"), [&] { item(QStringLiteral("&Table"), C::SelectTable); });
        item(QStringLiteral("&Properties..."), C::TableProperties);
        w.Separator();
        item(QStringLiteral("Show/Hide &Grid Lines"), C::GridLines);
    });
    const int toolbar = w.Toolbar([&] {
        tool(QStringLiteral("New"), QStringLiteral("RTFNew.gif"), C::New);
        tool(QStringLiteral("Import"), QStringLiteral("RTFOpen.gif"), C::Import);
        tool(QStringLiteral("Export"), QStringLiteral("RTFSave.gif"), C::Export);
        w.Separator();
        tool(QStringLiteral("Print Document"), QStringLiteral("RTFPrint.gif"), C::PrintDocument);
        tool(QStringLiteral("Spell Check"), QStringLiteral("RTFSpell.gif"), C::SpellCheck);
        w.Separator();
        tool(QStringLiteral("Find"), QStringLiteral("RTFFind.gif"), C::Find);
        tool(QStringLiteral("Replace"), QStringLiteral("RTFReplace.gif"), C::Replace);
        w.Separator();
        tool(QStringLiteral("Cut"), QStringLiteral("RTFCut.gif"), C::Cut);
        tool(QStringLiteral("Copy"), QStringLiteral("RTFCopy.gif"), C::Copy);
        tool(QStringLiteral("Paste"), QStringLiteral("RTFPaste.gif"), C::Paste);
        w.Separator();
        tool(QStringLiteral("Undo"), QStringLiteral("RTFUndo.gif"), C::Undo);
        tool(QStringLiteral("Redo"), QStringLiteral("RTFRedo.gif"), C::Redo);
        w.Separator();
        tool(QStringLiteral("Insert Table"), QStringLiteral("RTFTable.gif"), C::InsertTable);
        tool(QStringLiteral("Fore Color"), QStringLiteral("RTFForeColor.gif"), C::ForeColor);
        tool(QStringLiteral("Background Color"), QStringLiteral("RTFBackColor.gif"), C::BackColor);
        tool(QStringLiteral("Paragraph Settings"), QStringLiteral("RTFParaDlg.gif"), C::Paragraph);
        tool(QStringLiteral("Font Settings"), QStringLiteral("RTFFontDlg.gif"), C::Font);
        tool(QStringLiteral("Insert Image"), QStringLiteral("RTFInsertImage.gif"), C::InsertImage);
        tool(QStringLiteral("Insert Object"), QStringLiteral("RTFInsertObject.gif"), C::InsertObject);
        tool(QStringLiteral("Decrease Indent"), QStringLiteral("RTFLeftDent.gif"), C::DecreaseIndent);
        tool(QStringLiteral("Increase Indent"), QStringLiteral("RTFRightDent.gif"), C::IncreaseIndent);
        tool(QStringLiteral("Insert Date/Time"), QStringLiteral("RTFDateTime.gif"), C::InsertDateTime);
        tool(QStringLiteral("Select Scrap"), QStringLiteral("scrapS.gif"), C::SelectScrap);
        tool(QStringLiteral("Help"), QStringLiteral("help.gif"), C::Help);
    });
    // The zoom list stands at the end of the toolbar; its choice reaches the window as a program event.
    auto* bar = qobject_cast<QToolBar*>(w.Widget(toolbar));
    bar->setIconSize(QSize(16, 16)); // the whole row fits the editor's width
    zoomList_ = new QComboBox;
    zoomList_->setObjectName(QStringLiteral("Zoom"));
    zoomList_->setToolTip(QStringLiteral("Zoom"));
    for (const int percent : ZoomListValues)
        zoomList_->addItem(QStringLiteral("%1 %").arg(percent), percent);
    zoomList_->setCurrentIndex(zoomList_->findData(zoomPercent_));
    bar->addSeparator();
    bar->addWidget(zoomList_);
    bar->setMinimumWidth(bar->sizeHint().width()); // every button shows, none behind the extension arrow
    QObject::connect(zoomList_, &QComboBox::activated, zoomList_,
                     [this, toolbar] { window_.Notify(ZoomChosenEvent, toolbar); });
}

void EventEditorCommands::SetViewMode(bool viewOnly)
{
    viewOnly_ = viewOnly;
    for (const auto& [control, command] : commands_)
        window_.Enable(control, !viewOnly || EnabledInViewMode(command.first));
}

void EventEditorCommands::UpdateUndoRedo()
{
    TXEdit* txEdit = txEdit_();
    if (!txEdit || viewOnly_)
        return;
    for (const int control : ControlsOf(C::Undo))
        window_.Enable(control, txEdit->CanUndo() == 1);
    for (const int control : ControlsOf(C::Redo))
        window_.Enable(control, txEdit->CanRedo() == 1);
}

int EventEditorCommands::ControlOf(EditorCommand command) const
{
    const std::vector<int> controls = ControlsOf(command);
    return controls.empty() ? 0 : controls.front();
}

std::vector<int> EventEditorCommands::ControlsOf(EditorCommand command) const
{
    std::vector<int> controls;
    for (const auto& [control, row] : commands_)
        if (row.first == command)
            controls.push_back(control);
    return controls;
}

void EventEditorCommands::setZoom(int percent)
{
    zoomPercent_ = percent;
    if (zoomList_) {
        const int index = zoomList_->findData(percent);
        zoomList_->setCurrentIndex(index);
    }
    if (TXEdit* txEdit = txEdit_())
        txEdit->SetZoom(percent);
}

void EventEditorCommands::ChooseZoom()
{
    if (zoomList_ && zoomList_->currentIndex() >= 0)
        setZoom(zoomList_->currentData().toInt());
}

bool EventEditorCommands::Run(int control)
{
    const auto found = commands_.find(control);
    TXEdit* txEdit = txEdit_();
    if (found == commands_.end() || !txEdit)
        return false;
    if (!window_.IsEnabled(control))
        return true;
    RichTextControl* text = txEdit->TextControl();
    switch (found->second.first) {
    case C::New:
        if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                           QStringLiteral("Clear Log Notes?"),
                           QStringLiteral("Do you want to clear the contents of the Log Notes?"),
                           MessageButton::Yes) == MessageButton::Yes)
            txEdit->NewDocument(1);
        break;
    case C::Import:
        if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                           QStringLiteral("Replace Log Notes?"),
                           QStringLiteral("Importing a file will replace the exiting Log Note. Do you want "
                                          "to lose the current contents of the Log Note?"),
                           MessageButton::Yes) == MessageButton::Yes) {
            txEdit->LoadFile({}, {}, 1, 1);
            if (onImported)
                onImported(); // also after Cancel in the file dialog
        }
        break;
    case C::Export:
        txEdit->SaveAs(QStringLiteral("RTF Format (*.rtf)|*.RTF|TX Format (*.tx,*.txd))|*.TX;*.TXD|Text "
                                      "Document (*.txt)|*.TXT"),
                       0);
        break;
    case C::PageSetup:
        txEdit->PageSetup();
        break;
    case C::PrinterSetup:
        AskPrinter(ProgramPrinter(), QStringLiteral("Printer Setup"));
        break;
    case C::PrintDocument:
        txEdit->PrintDocument(0);
        break;
    case C::Exit:
        if (onExit)
            onExit();
        break;
    case C::Undo:
        txEdit->Undo();
        break;
    case C::Redo:
        txEdit->Redo();
        break;
    case C::Cut:
        txEdit->Cut();
        break;
    case C::Copy:
        txEdit->Copy();
        break;
    case C::Paste:
        txEdit->Paste();
        break;
    case C::SelectAll:
        txEdit->SelectAll();
        break;
    case C::Find:
        txEdit->FindDialog();
        break;
    case C::Replace:
        txEdit->ReplaceDialog();
        break;
    case C::SpellCheck:
        txEdit->SpellCheck();
        break;
    case C::ShowHide:
        txEdit->SetControlChars(0, 1);
        break;
    case C::Zoom:
        setZoom(found->second.second);
        break;
    case C::InsertDateTime:
        txEdit->InsertDateTime();
        break;
    case C::InsertImage:
        txEdit->InsertImage(1, 1);
        break;
    case C::InsertObject:
        txEdit->InsertObject(1);
        break;
    case C::FormatImage:
        txEdit->ImageAttributes();
        break;
    case C::InsertTextFile:
        txEdit->InsertTextFile();
        break;
    case C::Font:
        txEdit->FontDialog();
        break;
    case C::Paragraph:
        txEdit->ParagraphDialog();
        break;
    case C::BulletsAndNumbering:
        txEdit->BulletsAndNumbering();
        break;
    case C::Tabs:
        txEdit->TabDialog();
        break;
    case C::EditStyles:
        txEdit->StyleDialog();
        break;
    case C::AlignLeft:
        text->SetAlignment(0);
        break;
    case C::AlignCenter:
        text->SetAlignment(2);
        break;
    case C::AlignRight:
        text->SetAlignment(1);
        break;
    case C::AlignJustified:
        text->SetAlignment(3);
        break;
    case C::InsertTable:
        txEdit->InsertTable();
        break;
    case C::InsertColumnLeft:
        txEdit->InsertColumnLeft();
        break;
    case C::InsertColumnRight:
        txEdit->InsertColumnRight();
        break;
    case C::InsertRowAbove:
        txEdit->InsertRowAbove();
        break;
    case C::InsertRowBelow:
        txEdit->InsertRowBelow();
        break;
    case C::DeleteTable:
        txEdit->DeleteTable(text->TableAtInputPos());
        break;
    case C::DeleteColumns:
        txEdit->DeleteColumns();
        break;
    case C::DeleteRows:
        txEdit->DeleteRows();
        break;
    case C::SelectTable:
        txEdit->SelectTable(text->TableAtInputPos());
        break;
    case C::TableProperties:
        txEdit->TableProperties();
        break;
    case C::GridLines:
        txEdit->SetGridLines(0, 1);
        break;
    case C::ForeColor:
        txEdit->ChooseForeColor();
        break;
    case C::BackColor:
        txEdit->ChooseBackColor();
        break;
    case C::DecreaseIndent:
        txEdit->DecreaseIndent();
        break;
    case C::IncreaseIndent:
        txEdit->IncreaseIndent();
        break;
    default:
        // Select Scrap and Help are the form's.
        return false;
    }
    return true;
}

void EventEditorCommands::ToggleBold()
{
    TXEdit* txEdit = txEdit_();
    if (!txEdit || viewOnly_)
        return;
    RichTextControl& text = *txEdit->TextControl();
    const bool bold = SelectionHas(text, [](const QTextCharFormat& f) { return f.fontWeight() >= QFont::Bold; });
    text.setFontWeight(bold ? QFont::Normal : QFont::Bold);
}

void EventEditorCommands::ToggleItalic()
{
    TXEdit* txEdit = txEdit_();
    if (!txEdit || viewOnly_)
        return;
    RichTextControl& text = *txEdit->TextControl();
    text.setFontItalic(!SelectionHas(text, [](const QTextCharFormat& f) { return f.fontItalic(); }));
}

void EventEditorCommands::ToggleUnderline()
{
    TXEdit* txEdit = txEdit_();
    if (!txEdit || viewOnly_)
        return;
    RichTextControl& text = *txEdit->TextControl();
    text.setFontUnderline(!SelectionHas(text, [](const QTextCharFormat& f) { return f.fontUnderline(); }));
}

} // namespace jornix
