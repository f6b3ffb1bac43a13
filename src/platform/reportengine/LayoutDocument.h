#pragma once

#include "platform/reportengine/ReportLayout.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QUndoStack>

// The layout the designer edits, with its undo history and its selection. Every change is one step of the
// undo stack that keeps the layout before and after it, so undo gives back exactly the layout that was there;
// successive steps of one gesture (a key held down, a drag) merge into one. The selection is a set of object
// indexes in the current layer; it is part of each step, so undo also selects what it brings back.
namespace jornix {

class LayoutDocument : public QObject
{
    Q_OBJECT

public:
    // Merges successive steps of the same kind into one step.
    enum Merge
    {
        NoMerge = -1,
        MergeKeyMove = 1,
        MergeKeyResize,
        MergeProperty // the same property of the same object, typed character by character
    };

    explicit LayoutDocument(ProjectType type, QObject* parent = nullptr);

    const ReportLayout& Layout() const { return layout_; }
    QUndoStack& UndoStack() { return undo_; }
    bool IsModified() const { return !undo_.isClean(); }
    void MarkSaved() { undo_.setClean(); }

    // Starts over with this layout: no history, no selection, nothing to save unless `modified`.
    void Reset(const ReportLayout& layout, bool modified = false);
    // One undoable step from the current layout to `after`.
    void Change(const QString& text, const ReportLayout& after, int merge = NoMerge, int mergeKey = 0);

    LayoutLayer CurrentLayer() const { return layer_; }
    void SetCurrentLayer(LayoutLayer layer);
    const std::vector<LayoutObject>& Objects() const { return layout_.Layer(layer_); }

    const QList<int>& Selection() const { return selection_; }
    void Select(QList<int> indexes);
    void SelectAll();
    // The one selected object, or nullptr.
    const LayoutObject* SelectedObject() const;

    // Edits of the current layer. New objects are selected.
    void AddObject(LayoutObject object);
    void ChangeObject(int index, const LayoutObject& after, const QString& text, int merge = NoMerge);
    // The arrow keys: successive presses make one step.
    void MoveSelection(QPointF by);
    void ResizeSelection(QSizeF by);
    // Sets the frames of the selected objects, in the order of the selection.
    void SetFrames(const QList<QRectF>& frames, const QString& text, int merge = NoMerge);
    void DeleteSelection();
    void BringToFront();
    void SendToBack();
    void BringForward();
    void SendBackward();

    // The selected objects as clipboard data, and objects pasted from it (shifted when they would lie
    // exactly over the objects they were copied from). False for data that holds no objects.
    QByteArray CopySelection() const;
    bool Paste(const QByteArray& data);

    // A new object of the kind with its default content, placed at `at` (millimetres).
    static LayoutObject NewObject(ObjectKind kind, QPointF at, const QString& name);
    // A name for a new object of the kind that no object of the layout has yet: "Text 3".
    QString FreeName(ObjectKind kind) const;

    static constexpr double MinimumSize = 1; // millimetres; a line may be flat

signals:
    void LayoutChanged();
    void SelectionChanged();
    void LayerChanged();

private:
    friend class LayoutStep;
    void Apply(const ReportLayout& layout, LayoutLayer layer, const QList<int>& selection);
    void Reorder(const QString& text, bool forward, bool allTheWay);

    ReportLayout layout_;
    QUndoStack undo_;
    LayoutLayer layer_ = LayoutLayer::EveryPage;
    QList<int> selection_;
};

// The clipboard's type for objects of a layout.
inline const QString LayoutObjectsMimeType = QStringLiteral("application/x-jornix-layout-objects");

QString ObjectKindName(ObjectKind kind);

} // namespace jornix
