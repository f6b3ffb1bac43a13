#pragma once

#include <QString>

#include <functional>
#include <map>
#include <vector>

class QComboBox;

namespace jornix {

class RichTextControl;
class TXEdit;
class WindowDescription;

// The commands of the event editor's menu bar and toolbar.
enum class EditorCommand
{
    New,
    Import,
    Export,
    PageSetup,
    PrinterSetup,
    PrintDocument,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    Find,
    Replace,
    SpellCheck,
    ShowHide,
    Zoom, // the View > Zoom items and the zoom list
    InsertDateTime,
    InsertImage,
    InsertObject,
    InsertTextFile,
    Font,
    Paragraph,
    BulletsAndNumbering,
    Tabs,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustified,
    FormatImage,
    EditStyles,
    InsertTable,
    InsertColumnLeft,
    InsertColumnRight,
    InsertRowAbove,
    InsertRowBelow,
    DeleteTable,
    DeleteColumns,
    DeleteRows,
    SelectTable,
    TableProperties,
    GridLines,
    ForeColor,
    BackColor,
    DecreaseIndent,
    IncreaseIndent,
    SelectScrap,
    Help
};

struct EditorCommandRow
{
    EditorCommand command;
    bool inViewMode; // still enabled when the editor only shows the event
};

// Every command with whether it works in view mode.
const std::vector<EditorCommandRow>& EditorCommandTable();
bool EnabledInViewMode(EditorCommand command);

// The menu bar and toolbar of the event editor over its document component: describes them into the
// window, says which control is which command, and carries the commands out. Select Scrap and Help are
// served by the form (their controls are given to it); Exit by the form's Cancel.
class EventEditorCommands
{
public:
    EventEditorCommands(WindowDescription& window, std::function<TXEdit*()> txEdit);

    void Describe();
    // The program events of the control's zoom list come back with this number.
    static constexpr int ZoomChosenEvent = 0x766;

    // Disables what view mode does not allow.
    void SetViewMode(bool viewOnly);
    // Undo and Redo enabled as the document can undo and redo.
    void UpdateUndoRedo();
    // Carries out the command of the control; false when the control is none of them.
    bool Run(int control);
    void ChooseZoom(); // the zoom list's choice
    // Toggles bold, italic or underline of the selection: set unless all of it has it.
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();

    int ControlOf(EditorCommand command) const; // the first control of the command
    std::vector<int> ControlsOf(EditorCommand command) const;
    int ZoomPercent() const { return zoomPercent_; }

    // What the editor does for New, Import and Exit: clear, load and mark changed, close as Cancel.
    std::function<void()> onImported;
    std::function<void()> onExit;

private:
    void add(int control, EditorCommand command, int value = 0);
    void setZoom(int percent);

    WindowDescription& window_;
    std::function<TXEdit*()> txEdit_;
    std::map<int, std::pair<EditorCommand, int>> commands_; // control: command and its value
    QComboBox* zoomList_ = nullptr;
    int zoomPercent_ = 100;
    bool viewOnly_ = false;
};

} // namespace jornix
