// A window description: its window (dialog, child window, frame or pane), the records of its controls and
// the look-ups by number, name and widget.

#include "platform/framework/WindowDescriptionParts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace jornix {

namespace {

QString& ImageFolder()
{
    static QString folder;
    return folder;
}

WindowDescription::ImageListener& ImageListenerOf()
{
    static WindowDescription::ImageListener listener;
    return listener;
}

QString FindImage(const QString& image);

// A pane that opens beside others in the frame's column of panes shares the column's height evenly with them,
// rather than taking only the little room its controls ask for, so that the list of each shows its rows.
class PaneColumn : public QObject
{
public:
    explicit PaneColumn(QDockWidget* pane) : QObject(pane), pane_(pane) { pane->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Once the frame has placed the pane that shows.
        if (watched == pane_ && event->type() == QEvent::Show)
            QMetaObject::invokeMethod(this, [this] { Share(); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    void Share()
    {
        auto* frame = qobject_cast<QMainWindow*>(pane_->parentWidget());
        if (!frame || !pane_->isVisible() || pane_->isFloating())
            return;
        const Qt::DockWidgetArea area = frame->dockWidgetArea(pane_);
        QList<QDockWidget*> panes;
        int height = 0;
        for (QDockWidget* dock : frame->findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (dock->isVisible() && !dock->isFloating() && frame->dockWidgetArea(dock) == area) {
                panes << dock;
                height += dock->height();
            }
        if (panes.size() > 1)
            frame->resizeDocks(panes, QList<int>(panes.size(), height / int(panes.size())), Qt::Vertical);
    }

    QDockWidget* pane_;
};

} // namespace

QString NameFromText(const QString& text)
{
    QString name;
    for (const QChar c : text)
        if (c.isLetterOrNumber() || c == QLatin1Char('_'))
            name += c;
    return name;
}

// WindowDescription -----------------------------------------------------------------------------------------

WindowDescription::WindowDescription(const QString& caption, WindowType kind, WindowDescription* frame)
    : kind_(kind)
{
    auto top = std::make_unique<Record>();
    top->kind = ControlKind::Window;
    top->container = std::make_unique<Container>();
    Container& container = *top->container;

    content_ = new QWidget;
    container.widget = content_;
    container.grid = new QGridLayout;
    container.grid->setColumnStretch(1, 1);

    auto* outer = new QVBoxLayout(content_);
    outer->addLayout(container.grid);

    switch (kind) {
    case WindowType::Dialog: {
        auto* dialog = new QDialog;
        auto* layout = new QVBoxLayout(dialog);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content_);
        root_ = dialog;
        break;
    }
    case WindowType::Child:
        if (frame && frame->area_) {
            QMdiSubWindow* child = frame->area_->addSubWindow(content_);
            child->setAttribute(Qt::WA_DeleteOnClose, false);
            // The area gave it a size before its controls were described; it opens at the size they need.
            child->setAttribute(Qt::WA_Resized, false);
            root_ = child;
        } else {
            root_ = content_;
        }
        break;
    case WindowType::Frame: {
        frame_ = new QMainWindow;
        area_ = new QMdiArea;
        // A child window larger than the area (on a small screen) is scrolled to, never squeezed.
        area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        outer->addWidget(area_, 1);
        frame_->setCentralWidget(content_);
        root_ = frame_;
        break;
    }
    case WindowType::Pane: {
        auto* dock = new QDockWidget;
        dock->setWidget(content_);
        dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        // Panes dock at the right edge; the left one is kept for a bar that runs the whole height of the
        // frame.
        if (frame && frame->frame_) {
            frame->frame_->addDockWidget(Qt::RightDockWidgetArea, dock);
            new PaneColumn(dock);
        }
        root_ = dock;
        break;
    }
    }
    if (root_ != content_)
        content_->setObjectName(QStringLiteral("content"));
    MarkPlace(content_);
    KeepPromptColumnsAligned(root_, content_, container.grid);
    top->widget = root_;
    nesting_.push_back(top->container.get());
    controls_.emplace(0, std::move(top));
    SetCaption(caption);
}

WindowDescription::~WindowDescription()
{
    // A child window belongs to the frame's area, which may already have deleted it.
    QPointer<QWidget> root = root_;
    delete root.data();
}

void WindowDescription::SetCaption(const QString& caption)
{
    root_->setWindowTitle(caption);
    if (root_ != content_)
        content_->setWindowTitle(caption);
}

QString WindowDescription::Caption() const
{
    return root_->windowTitle();
}

// Controls --------------------------------------------------------------------------------------------------

WindowDescription::Record& WindowDescription::Add(ControlKind kind, QWidget* widget, Placement placement)
{
    auto record = std::make_unique<Record>();
    const bool negative = kind == ControlKind::Menu || kind == ControlKind::Item ||
                          kind == ControlKind::Toolbar || kind == ControlKind::Tool ||
                          kind == ControlKind::Separator;
    record->number = negative ? --lastNegative_ : ++lastPositive_;
    record->kind = kind;
    record->widget = widget;
    Record& added = *record;
    controls_.emplace(added.number, std::move(record));
    if (widget && placement != Placement::None) {
        const bool stretches = kind == ControlKind::List || kind == ControlKind::TextBox ||
                               kind == ControlKind::Sheet || kind == ControlKind::Custom;
        Place(widget, placement == Placement::Field, stretches ? 1 : 0);
    }
    return added;
}

WindowDescription::Record* WindowDescription::Find(int control) const
{
    auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : found->second.get();
}

QString WindowDescription::UniqueName(const QString& base) const
{
    if (base.isEmpty() || !ControlNumber(base))
        return base;
    for (int n = 2;; ++n) {
        const QString name = base + QLatin1Char(':') + QString::number(n);
        if (!ControlNumber(name))
            return name;
    }
}

void WindowDescription::Post(int event, int control)
{
    if (sink_ && !quiet_)
        sink_(event, control);
}

// A control that a description names: its object name, and the Selected event when it gets the focus.
void WindowDescription::Finish(Record& record)
{
    if (!record.widget)
        return;
    QString name = record.binding.fieldName;
    if (name.isEmpty()) {
        if (auto* button = qobject_cast<QAbstractButton*>(record.widget.data()))
            name = NameFromText(button->text());
        else if (auto* label = qobject_cast<QLabel*>(record.widget.data()))
            name = NameFromText(label->text());
        else if (auto* group = qobject_cast<QGroupBox*>(record.widget.data()))
            name = NameFromText(group->title());
    }
    record.widget->setObjectName(UniqueName(name));
}

QWidget* WindowDescription::Root() const
{
    return root_;
}

QWidget* WindowDescription::Widget(int control) const
{
    Record* record = Find(control);
    return record ? record->widget.data() : nullptr;
}

QAction* WindowDescription::Action(int control) const
{
    Record* record = Find(control);
    return record ? record->action.data() : nullptr;
}

ControlKind WindowDescription::KindOf(int control) const
{
    Record* record = Find(control);
    return record ? record->kind : ControlKind::Window;
}

QString WindowDescription::BoundField(int control) const
{
    Record* record = Find(control);
    return record ? record->binding.fieldName : QString();
}

bool WindowDescription::Exists(int control) const
{
    return Find(control) != nullptr;
}

int WindowDescription::ControlNumber(const QString& useName) const
{
    if (useName.isEmpty())
        return 0;
    for (const auto& [number, record] : controls_) {
        if (number == 0)
            continue;
        if ((record->widget && record->widget->objectName() == useName) ||
            (record->action && record->action->objectName() == useName))
            return number;
    }
    return 0;
}

int WindowDescription::ControlOf(const QObject* object) const
{
    for (; object; object = object->parent()) {
        for (const auto& [number, record] : controls_) {
            if (number == 0)
                continue;
            if (record->widget == object || record->action == object)
                return number;
        }
        if (object == root_)
            return 0;
    }
    return 0;
}

int WindowDescription::FocusedControl() const
{
    // While a menu of the window is open, its highlighted item has the focus.
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (ControlOf(menu->menuAction()) != 0)
            return menu->activeAction() ? ControlOf(menu->activeAction()) : ControlOf(menu->menuAction());
    }
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != root_->window())
        return 0;
    return ControlOf(focus);
}

std::vector<int> WindowDescription::Controls() const
{
    std::vector<int> numbers;
    for (const auto& [number, record] : controls_)
        numbers.push_back(number);
    return numbers;
}

QMdiArea* WindowDescription::ChildArea() const
{
    return area_;
}

void WindowDescription::SetEventSink(EventSink sink)
{
    sink_ = std::move(sink);
}

void WindowDescription::SetImageFolder(const QString& folder)
{
    ImageFolder() = folder;
}

void WindowDescription::SetImageListener(ImageListener listener)
{
    ImageListenerOf() = std::move(listener);
}

QString WindowDescription::ImagePath(const QString& image)
{
    const QString path = FindImage(image);
    if (ImageListenerOf() && !image.isEmpty())
        ImageListenerOf()(image, path);
    return path;
}

namespace {

QString FindImage(const QString& image)
{
    if (image.isEmpty() || ImageFolder().isEmpty())
        return {};
    const QDir folder(ImageFolder());
    if (folder.exists(image))
        return folder.filePath(image);
    const QStringList entries = folder.entryList(QDir::Files);
    // The name as given; then, for a name that starts with "~" (the image linked into the program), the name
    // without it. Each is found as spelled or as a PNG or SVG file of the same base name, so that the icon
    // set keeps the names the windows use in its own formats.
    for (const QString& name : {image, image.startsWith(QLatin1Char('~')) ? image.mid(1) : QString()}) {
        if (name.isEmpty())
            continue;
        const QString base = QFileInfo(name).completeBaseName();
        QString sameBase;
        for (const QString& entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return folder.filePath(entry);
            const QFileInfo file(entry);
            if (sameBase.isEmpty() && file.completeBaseName().compare(base, Qt::CaseInsensitive) == 0 &&
                (file.suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0 ||
                 file.suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0))
                sameBase = entry;
        }
        if (!sameBase.isEmpty())
            return folder.filePath(sameBase);
    }
    return {};
}

} // namespace

} // namespace jornix
