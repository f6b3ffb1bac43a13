#pragma once

#include "platform/reportengine/LayoutDocument.h"
#include "platform/reportengine/ReportJob.h"

#include <QDialog>

#include <deque>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;

// The designer of the report engine: a window over one layout file of one project type, with the page at a
// zoom, rulers and a snap grid, the layers, the objects (text, line, rectangle, picture, barcode, table),
// their properties and conditions, formulas checked as they are typed, page set-up, the printer, a preview
// with the job's sample values, undo and redo of every change, and Save, which writes through a temporary
// file, keeps the previous file with "~" before its extension and writes the sketch of the first page.
//
// A missing layout file starts an empty layout of the project type; a file that cannot be read is named in a
// message and left as it is unless the user saves the new layout. Closing with changes asks whether to save
// them (Yes, No, Cancel).
//
// The caller's thread waits in the designer as in a dialog (RunThreadModal): its own windows take no input
// and its events wait, while other threads' windows go on. The designer's commands that need a dialog of
// their own (message boxes, file and colour dialogs, the formula editor, page set-up, the preview) run on a
// program thread of the designer, which holds the designer as its window, so that the designer takes no
// input while such a dialog is open.
//
// Every command is an action with an object name ("actionSave", "actionInsertTable" ...). The actions that a
// job can prohibit (LlDesignerProhibitAction) are those that would leave the given file or the program:
//   515  New       (actionNew, Ctrl+N)         starts an empty layout in place of the given one
//   519  Open      (actionOpen, Ctrl+O)        opens another layout file
//   524  Save As   (actionSaveAs, Ctrl+Shift+S) saves the layout under another name and goes on there
//   990  Exit      (actionExit, Ctrl+Q)        ends the designer; when it is prohibited, Close (actionClose,
//                                              Ctrl+W) takes its place and returns to the caller the same way
// A prohibited action is not made at all: it is in no menu, no toolbar and has no shortcut.
namespace jornix {

class LayoutCanvas;
class ObjectPropertiesPanel;
class ReportJobs;

namespace DesignerAction {
constexpr int New = 515;
constexpr int Open = 519;
constexpr int SaveAs = 524;
constexpr int Exit = 990;
} // namespace DesignerAction

class LayoutDesigner : public QDialog
{
    Q_OBJECT

public:
    // `job` is the design job as the caller set it up (its items, extensions and prohibited actions);
    // `engine` runs the preview. `layoutPath` is the layout file with its extension.
    LayoutDesigner(ReportJobs& engine, const ReportJob& job, const QString& title, ProjectType type,
                   const QString& layoutPath);
    ~LayoutDesigner() override;

    LayoutDocument& Document() { return document_; }
    LayoutCanvas& Canvas() { return *canvas_; }
    const QString& LayoutPath() const { return layoutPath_; }
    const QString& PrinterPath() const { return printerPath_; }
    const QString& SketchPath() const { return sketchPath_; }
    const PrinterSettings& Printer() const { return job_.printer; }
    bool IsModified() const { return document_.IsModified() || printerChanged_; }
    // The reason the file could not be read, empty when it was read or did not exist.
    const QString& LoadProblem() const { return loadProblem_; }

    // Runs on the designer's thread: its commands, until the designer closes; then the dialog is done.
    void Interact();

    // Runs `task` on the designer's thread, after the tasks before it.
    void RunTask(std::function<void()> task);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Load();
    ReportLayout EmptyLayout() const;        // of the project type
    void SetLayoutPath(const QString& path); // with the printer settings and the sketch beside it
    void BuildActions();
    void BuildMenus();
    void BuildWindow();
    QAction* Action(const QString& name, const QString& text, const QKeySequence& key, const QIcon& icon,
                    int prohibitedBy = 0);
    QAction* Task(const QString& name, const QString& text, const QKeySequence& key, const QIcon& icon,
                  std::function<void()> task, int prohibitedBy = 0);
    void Insert(ObjectKind kind);
    void Nudge(double dx, double dy, bool resize);
    void UpdateState();
    void RefreshObjectList();
    void SetZoom(double zoom);

    // The commands that run on the designer's thread.
    bool Save();
    bool SaveAs();
    void NewLayout();
    void OpenLayout();
    void PageSetUp();
    void ChoosePrinter();
    void Preview();
    // Asks about unsaved changes: true when the designer may go on (saved, or the user said No).
    bool SaveChangesFirst();
    void RequestClose();

    ReportJobs& engine_;
    ReportJob job_;
    QString title_;
    QString layoutPath_;
    QString printerPath_;
    QString sketchPath_;
    QString loadProblem_;
    bool printerChanged_ = false;
    bool closing_ = false;
    bool firstShow_ = true;
    LayoutDocument document_;

    std::deque<std::function<void()>> tasks_;
    class ProgramWindow* window_ = nullptr;

    LayoutCanvas* canvas_ = nullptr;
    ObjectPropertiesPanel* properties_ = nullptr;
    QListWidget* layers_ = nullptr;
    QListWidget* objects_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QLabel* positionLabel_ = nullptr;
    QLabel* stateLabel_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QList<QAction*> selectionActions_;
};

// LlDefineLayoutA: runs the designer on the calling program thread and returns when it has closed.
int RunLayoutDesigner(ReportJobs& engine, const ReportJob& job, const QString& title, ProjectType type,
                      const QString& layoutPath);

} // namespace jornix
