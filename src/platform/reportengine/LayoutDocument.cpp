#include "platform/reportengine/LayoutDocument.h"

#include "platform/reportengine/LayoutFile.h"

#include <QUndoCommand>

#include <algorithm>

namespace jornix {

QString ObjectKindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text:
        return QStringLiteral("Text");
    case ObjectKind::Line:
        return QStringLiteral("Line");
    case ObjectKind::Rectangle:
        return QStringLiteral("Rectangle");
    case ObjectKind::Picture:
        return QStringLiteral("Picture");
    case ObjectKind::Barcode:
        return QStringLiteral("Barcode");
    case ObjectKind::Table:
        return QStringLiteral("Table");
    }
    return {};
}

// One step of the history: the layout, layer and selection before and after.
class LayoutStep : public QUndoCommand
{
public:
    struct State
    {
        ReportLayout layout;
        LayoutLayer layer;
        QList<int> selection;
    };

    LayoutStep(LayoutDocument& document, const QString& text, State before, State after, int merge,
               int mergeKey)
        : QUndoCommand(text), document_(document), before_(std::move(before)), after_(std::move(after)),
          merge_(merge), mergeKey_(mergeKey)
    {
    }

    void undo() override { document_.Apply(before_.layout, before_.layer, before_.selection); }
    void redo() override { document_.Apply(after_.layout, after_.layer, after_.selection); }
    int id() const override { return merge_; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const LayoutStep*>(other);
        if (next->mergeKey_ != mergeKey_ || next->before_.layer != after_.layer)
            return false;
        after_ = next->after_;
        return true;
    }

private:
    LayoutDocument& document_;
    State before_;
    State after_;
    int merge_;
    int mergeKey_;
};

LayoutDocument::LayoutDocument(ProjectType type, QObject* parent) : QObject(parent)
{
    layout_.projectType = type;
}

void LayoutDocument::Reset(const ReportLayout& layout, bool modified)
{
    undo_.clear();
    Apply(layout, LayoutLayer::EveryPage, {});
    if (modified) {
        // A step that cannot be undone past: the layout differs from its file from the start.
        undo_.resetClean();
    }
}

void LayoutDocument::Change(const QString& text, const ReportLayout& after, int merge, int mergeKey)
{
    if (after == layout_)
        return;
    LayoutStep::State before{layout_, layer_, selection_};
    LayoutStep::State next{after, layer_, selection_};
    // Indexes that the change removed leave the selection.
    const int count = int(after.Layer(layer_).size());
    next.selection.removeIf([count](int index) { return index >= count; });
    undo_.push(new LayoutStep(*this, text, std::move(before), std::move(next), merge, mergeKey));
}

void LayoutDocument::Apply(const ReportLayout& layout, LayoutLayer layer, const QList<int>& selection)
{
    const bool layerChanged = layer != layer_;
    layout_ = layout;
    layer_ = layer;
    selection_ = selection;
    emit LayoutChanged();
    if (layerChanged)
        emit LayerChanged();
    emit SelectionChanged();
}

void LayoutDocument::SetCurrentLayer(LayoutLayer layer)
{
    if (layer == layer_)
        return;
    layer_ = layer;
    selection_.clear();
    emit LayerChanged();
    emit SelectionChanged();
}

void LayoutDocument::Select(QList<int> indexes)
{
    const int count = int(Objects().size());
    indexes.removeIf([count](int index) { return index < 0 || index >= count; });
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes == selection_)
        return;
    selection_ = indexes;
    emit SelectionChanged();
}

void LayoutDocument::SelectAll()
{
    QList<int> all;
    for (int index = 0; index < int(Objects().size()); ++index)
        all << index;
    Select(all);
}

const LayoutObject* LayoutDocument::SelectedObject() const
{
    return selection_.size() == 1 ? &Objects()[std::size_t(selection_.front())] : nullptr;
}

void LayoutDocument::AddObject(LayoutObject object)
{
    const QString text = QStringLiteral("Add %1").arg(object.name);
    ReportLayout after = layout_;
    after.Layer(layer_).push_back(std::move(object));
    LayoutStep::State before{layout_, layer_, selection_};
    LayoutStep::State next{after, layer_, {int(after.Layer(layer_).size()) - 1}};
    undo_.push(new LayoutStep(*this, text, std::move(before), std::move(next), NoMerge, 0));
}

void LayoutDocument::ChangeObject(int index, const LayoutObject& after, const QString& text, int merge)
{
    if (index < 0 || index >= int(Objects().size()))
        return;
    ReportLayout changed = layout_;
    changed.Layer(layer_)[std::size_t(index)] = after;
    Change(text, changed, merge, index);
}

void LayoutDocument::MoveSelection(QPointF by)
{
    QList<QRectF> frames;
    for (int index : selection_)
        frames << Objects()[std::size_t(index)].frame.translated(by);
    SetFrames(frames, QStringLiteral("Move"), MergeKeyMove);
}

void LayoutDocument::ResizeSelection(QSizeF by)
{
    QList<QRectF> frames;
    for (int index : selection_) {
        QRectF frame = Objects()[std::size_t(index)].frame;
        const bool flat = Objects()[std::size_t(index)].kind == ObjectKind::Line;
        frame.setWidth(std::max(frame.width() + by.width(), flat ? 0.0 : MinimumSize));
        frame.setHeight(std::max(frame.height() + by.height(), flat ? 0.0 : MinimumSize));
        frames << frame;
    }
    SetFrames(frames, QStringLiteral("Resize"), MergeKeyResize);
}

void LayoutDocument::SetFrames(const QList<QRectF>& frames, const QString& text, int merge)
{
    if (frames.size() != selection_.size() || frames.isEmpty())
        return;
    ReportLayout after = layout_;
    for (qsizetype at = 0; at < frames.size(); ++at)
        after.Layer(layer_)[std::size_t(selection_[at])].frame = frames[at];
    // Key presses of one kind on one selection make one step.
    Change(text, after, merge, int(qHash(selection_)));
}

void LayoutDocument::DeleteSelection()
{
    if (selection_.isEmpty())
        return;
    ReportLayout after = layout_;
    std::vector<LayoutObject>& objects = after.Layer(layer_);
    for (auto index = selection_.rbegin(); index != selection_.rend(); ++index)
        objects.erase(objects.begin() + *index);
    LayoutStep::State before{layout_, layer_, selection_};
    LayoutStep::State next{after, layer_, {}};
    undo_.push(
        new LayoutStep(*this, QStringLiteral("Delete"), std::move(before), std::move(next), NoMerge, 0));
}

void LayoutDocument::Reorder(const QString& text, bool forward, bool allTheWay)
{
    if (selection_.isEmpty())
        return;
    std::vector<LayoutObject> objects = Objects();
    std::vector<bool> chosen(objects.size(), false);
    for (int index : selection_)
        chosen[std::size_t(index)] = true;
    // Objects later in the layer are drawn over earlier ones.
    std::vector<std::size_t> order(objects.size());
    for (std::size_t at = 0; at < order.size(); ++at)
        order[at] = at;
    if (allTheWay) {
        std::stable_partition(order.begin(), order.end(),
                              [&](std::size_t index) { return forward ? !chosen[index] : chosen[index]; });
    } else if (forward) {
        for (std::size_t at = order.size() - 1; at-- > 0;)
            if (chosen[order[at]] && !chosen[order[at + 1]])
                std::swap(order[at], order[at + 1]);
    } else {
        for (std::size_t at = 1; at < order.size(); ++at)
            if (chosen[order[at]] && !chosen[order[at - 1]])
                std::swap(order[at], order[at - 1]);
    }
    ReportLayout after = layout_;
    QList<int> selection;
    for (std::size_t at = 0; at < order.size(); ++at) {
        after.Layer(layer_)[at] = objects[order[at]];
        if (chosen[order[at]])
            selection << int(at);
    }
    if (after == layout_)
        return;
    LayoutStep::State before{layout_, layer_, selection_};
    LayoutStep::State next{after, layer_, selection};
    undo_.push(new LayoutStep(*this, text, std::move(before), std::move(next), NoMerge, 0));
}

void LayoutDocument::BringToFront()
{
    Reorder(QStringLiteral("Bring to Front"), true, true);
}

void LayoutDocument::SendToBack()
{
    Reorder(QStringLiteral("Send to Back"), false, true);
}

void LayoutDocument::BringForward()
{
    Reorder(QStringLiteral("Bring Forward"), true, false);
}

void LayoutDocument::SendBackward()
{
    Reorder(QStringLiteral("Send Backward"), false, false);
}

QByteArray LayoutDocument::CopySelection() const
{
    ReportLayout copied;
    copied.projectType = layout_.projectType;
    for (int index : selection_)
        copied.Layer(LayoutLayer::EveryPage).push_back(Objects()[std::size_t(index)]);
    QByteArray data;
    QString error;
    return SerializeLayout(copied, data, error) ? data : QByteArray();
}

bool LayoutDocument::Paste(const QByteArray& data)
{
    ReportLayout pasted;
    QString error;
    if (!ParseLayout(data, pasted, error) || pasted.Layer(LayoutLayer::EveryPage).empty())
        return false;
    ReportLayout after = layout_;
    std::vector<LayoutObject>& objects = after.Layer(layer_);
    QList<int> selection;
    for (LayoutObject object : pasted.Layer(LayoutLayer::EveryPage)) {
        const bool covers = std::any_of(objects.begin(), objects.end(), [&](const LayoutObject& other) {
            return other.frame == object.frame;
        });
        if (covers)
            object.frame.translate(5, 5);
        selection << int(objects.size());
        objects.push_back(std::move(object));
    }
    LayoutStep::State before{layout_, layer_, selection_};
    LayoutStep::State next{after, layer_, selection};
    undo_.push(
        new LayoutStep(*this, QStringLiteral("Paste"), std::move(before), std::move(next), NoMerge, 0));
    return true;
}

QString LayoutDocument::FreeName(ObjectKind kind) const
{
    const QString base = ObjectKindName(kind);
    for (int number = 1;; ++number) {
        const QString name = base + QLatin1Char(' ') + QString::number(number);
        bool used = false;
        for (const auto& layer : layout_.layers)
            for (const LayoutObject& object : layer)
                used = used || object.name == name;
        if (!used)
            return name;
    }
}

LayoutObject LayoutDocument::NewObject(ObjectKind kind, QPointF at, const QString& name)
{
    LayoutObject object;
    object.kind = kind;
    object.name = name;
    switch (kind) {
    case ObjectKind::Text:
        object.frame = QRectF(at, QSizeF(60, 8));
        object.lines = QStringList{QStringLiteral("\"Text\"")};
        break;
    case ObjectKind::Line:
        object.frame = QRectF(at, QSizeF(60, 0));
        break;
    case ObjectKind::Rectangle:
        object.frame = QRectF(at, QSizeF(40, 20));
        break;
    case ObjectKind::Picture:
        object.frame = QRectF(at, QSizeF(30, 30));
        break;
    case ObjectKind::Barcode:
        object.frame = QRectF(at, QSizeF(50, 15));
        object.barcodeFormula = QStringLiteral("\"12345678\"");
        break;
    case ObjectKind::Table:
        object.frame = QRectF(at, QSizeF(150, 0));
        // Columns bring their cells with them.
        object.table.headerLines.resize(1);
        object.table.dataLines.resize(1);
        break;
    }
    return object;
}

} // namespace jornix
