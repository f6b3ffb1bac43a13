#include "platform/framework/WindowDescription.h"

#include "platform/runtime/FrameworkEvents.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace jornix {
namespace {

QString& ImageFolder()
{
    static QString folder;
    return folder;
}

WindowDescription*& Frame()
{
    static WindowDescription* frame = nullptr;
    return frame;
}

// A use-name made from a control's text: "&Insert" gives "Insert", "Change Password at &Next Login" gives
// "ChangePasswordatNextLogin".
QString NameFromText(const QString& text)
{
    QString name;
    for (const QChar c : text)
        if (c.isLetterOrNumber() || c == QLatin1Char('_'))
            name += c;
    return name;
}

} // namespace

// A place where controls are laid out: a grid whose rows hold a prompt and its control, or a row.
struct WindowDescription::Container
{
    QWidget* widget = nullptr;
    QGridLayout* grid = nullptr;
    QBoxLayout* box = nullptr;
    int row = 0;
    QLabel* prompt = nullptr; // the prompt waiting for its control
    int promptRow = -1;
};

struct WindowDescription::Record
{
    int number = 0;
    ControlKind kind = ControlKind::Window;
    QPointer<QWidget> widget;
    QPointer<QAction> action;
    ValueBinding binding;
    Picture picture;
    QVariant trueValue, falseValue; // check boxes
    QVariant value;                 // radio buttons
    int options = 0;                // radio buttons: their group
    QButtonGroup* radios = nullptr; // radio groups
    std::vector<ListItem> items;    // drop lists
    std::unique_ptr<Container> container;
};

// Control ---------------------------------------------------------------------------------------------------

QWidget* Control::Widget() const
{
    return window_->Widget(number_);
}

Control& Control::Name(const QString& useName)
{
    WindowDescription::Record* record = window_->Find(number_);
    if (record->widget)
        record->widget->setObjectName(useName);
    if (record->action)
        record->action->setObjectName(useName);
    return *this;
}

Control& Control::Tip(const QString& tip)
{
    WindowDescription::Record* record = window_->Find(number_);
    if (record->widget)
        record->widget->setToolTip(tip);
    if (record->action)
        record->action->setToolTip(tip);
    return *this;
}

Control& Control::Icon(const QString& image)
{
    const QIcon icon(WindowDescription::ImagePath(image));
    WindowDescription::Record* record = window_->Find(number_);
    if (auto* button = qobject_cast<QAbstractButton*>(record->widget.data()))
        button->setIcon(icon);
    if (record->action)
        record->action->setIcon(icon);
    return *this;
}

Control& Control::Disable(bool disabled)
{
    window_->Enable(number_, !disabled);
    return *this;
}

Control& Control::Hide(bool hidden)
{
    window_->Show(number_, !hidden);
    return *this;
}

Control& Control::ReadOnly(bool readOnly)
{
    window_->SetReadOnly(number_, readOnly);
    return *this;
}

Control& Control::Password()
{
    if (auto* edit = qobject_cast<QLineEdit*>(Widget()))
        edit->setEchoMode(QLineEdit::Password);
    return *this;
}

Control& Control::Default()
{
    if (auto* button = qobject_cast<QPushButton*>(Widget()))
        button->setDefault(true);
    return *this;
}

Control& Control::Stretch(int factor)
{
    QWidget* widget = Widget();
    if (!widget || !widget->parentWidget() || !widget->parentWidget()->layout())
        return *this;
    QLayout* layout = widget->parentWidget()->layout();
    if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        box->setStretchFactor(widget, factor);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const int index = grid->indexOf(widget);
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        if (index >= 0) {
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            grid->setRowStretch(row, factor);
        }
    }
    return *this;
}

Control& Control::StatusText(const QString& text)
{
    if (QAction* action = window_->Action(number_))
        action->setStatusTip(text);
    return *this;
}

// WindowDescription -----------------------------------------------------------------------------------------

WindowDescription::WindowDescription(const QString& caption, WindowType kind) : kind_(kind)
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
        if (WindowDescription* frame = Frame(); frame && frame->area_) {
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
        outer->addWidget(area_, 1);
        frame_->setCentralWidget(content_);
        root_ = frame_;
        Frame() = this;
        break;
    }
    case WindowType::Pane: {
        auto* dock = new QDockWidget;
        dock->setWidget(content_);
        dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        // Panes dock at the right edge; the left one is kept for a bar that runs the whole height of the frame.
        if (WindowDescription* frame = Frame(); frame && frame->frame_)
            frame->frame_->addDockWidget(Qt::RightDockWidgetArea, dock);
        root_ = dock;
        break;
    }
    }
    if (root_ != content_)
        content_->setObjectName(QStringLiteral("content"));
    top->widget = root_;
    nesting_.push_back(top->container.get());
    controls_.emplace(0, std::move(top));
    SetCaption(caption);
}

WindowDescription::~WindowDescription()
{
    if (Frame() == this)
        Frame() = nullptr;
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

// Layout ----------------------------------------------------------------------------------------------------

void WindowDescription::Place(QWidget* widget, bool field, int stretch)
{
    Container& here = *nesting_.back();
    if (here.box) {
        here.box->addWidget(widget, stretch);
        if (here.prompt && field)
            here.prompt->setBuddy(widget);
        here.prompt = nullptr;
        return;
    }
    if (field && here.prompt) {
        here.grid->addWidget(widget, here.promptRow, 1);
        here.prompt->setBuddy(widget);
    } else {
        here.grid->addWidget(widget, here.row++, 0, 1, 2);
    }
    if (stretch > 0)
        here.grid->setRowStretch(field && here.prompt ? here.promptRow : here.row - 1, stretch);
    here.prompt = nullptr;
}

void WindowDescription::Column(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.grid = new QGridLayout(widget);
    container.grid->setContentsMargins(0, 0, 0, 0);
    container.grid->setColumnStretch(1, 1);
    Place(widget, false);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Row(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.box = new QHBoxLayout(widget);
    container.box->setContentsMargins(0, 0, 0, 0);
    Place(widget, true);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Buttons(const std::function<void()>& body)
{
    auto* widget = new QWidget;
    Container container;
    container.widget = widget;
    container.box = new QHBoxLayout(widget);
    container.box->setContentsMargins(0, 0, 0, 0);
    container.box->addStretch(1);
    Place(widget, false);
    nesting_.push_back(&container);
    body();
    nesting_.pop_back();
}

void WindowDescription::Spacer()
{
    Container& here = *nesting_.back();
    if (here.box)
        here.box->addStretch(1);
    else
        here.grid->setRowStretch(here.row++, 1);
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
        const bool stretches =
            kind == ControlKind::List || kind == ControlKind::TextBox || kind == ControlKind::Sheet;
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

Control WindowDescription::Prompt(const QString& text)
{
    auto* label = new QLabel(text);
    Record& record = Add(ControlKind::Prompt, label, Placement::None);
    // The prompt waits in its row for the control after it.
    Container& here = *nesting_.back();
    if (here.box) {
        here.box->addWidget(label);
    } else {
        here.promptRow = here.row++;
        here.grid->addWidget(label, here.promptRow, 0);
    }
    here.prompt = label;
    Finish(record);
    if (!record.widget->objectName().isEmpty())
        record.widget->setObjectName(UniqueName(record.widget->objectName() + QStringLiteral(":Prompt")));
    return Control(*this, record.number);
}

Control WindowDescription::Text(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    Record& record = Add(ControlKind::Text, label, Placement::Alone);
    return Control(*this, record.number);
}

Control WindowDescription::Entry(ValueBinding binding, const QString& picture)
{
    auto* edit = new QLineEdit;
    Record& record = Add(ControlKind::Entry, edit, Placement::Field);
    record.binding = std::move(binding);
    record.picture = jornix::Picture(picture);
    if (record.picture.PictureKind() == jornix::Picture::Kind::Text && record.picture.Width() > 0)
        edit->setMaxLength(record.picture.Width());
    if (record.picture.PictureKind() == jornix::Picture::Kind::Number)
        edit->setAlignment(Qt::AlignRight);
    const int number = record.number;
    QObject::connect(edit, &QLineEdit::editingFinished, edit,
                     [this, number] { Post(Event::Accepted, number); });
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::Display(ValueBinding binding, const QString& picture)
{
    auto* label = new QLabel;
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Record& record = Add(ControlKind::Display, label, Placement::Field);
    record.binding = std::move(binding);
    record.picture = jornix::Picture(picture);
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::TextBox(ValueBinding binding, int maxLength)
{
    auto* edit = new QPlainTextEdit;
    Record& record = Add(ControlKind::TextBox, edit, Placement::Field);
    record.binding = std::move(binding);
    record.picture = jornix::Picture(maxLength > 0 ? QStringLiteral("@s%1").arg(maxLength) : QString());
    // A text box writes when it loses the focus, as an entry does.
    class FocusOut : public QObject
    {
    public:
        FocusOut(WindowDescription* window, int number, QObject* parent)
            : QObject(parent), window_(window), number_(number)
        {
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::FocusOut)
                window_->Post(Event::Accepted, number_);
            return false;
        }

    private:
        WindowDescription* window_;
        int number_;
    };
    edit->installEventFilter(new FocusOut(this, record.number, edit));
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::Check(const QString& text, ValueBinding binding, const QVariant& trueValue,
                                 const QVariant& falseValue)
{
    auto* box = new QCheckBox(text);
    Record& record = Add(ControlKind::Check, box, Placement::Field);
    record.binding = std::move(binding);
    record.trueValue = trueValue;
    record.falseValue = falseValue;
    const int number = record.number;
    QObject::connect(box, &QCheckBox::clicked, box, [this, number] { Post(Event::Accepted, number); });
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::Options(const QString& text, ValueBinding binding,
                                   const std::function<void()>& body)
{
    auto* group = new QGroupBox(text);
    auto container = std::make_unique<Container>();
    container->widget = group;
    container->grid = new QGridLayout(group);
    container->grid->setColumnStretch(1, 1);
    Record& record = Add(ControlKind::Options, group, Placement::Alone);
    record.binding = std::move(binding);
    record.radios = new QButtonGroup(group);
    const int number = record.number;
    QObject::connect(record.radios, &QButtonGroup::idClicked, group,
                     [this, number](int) { Post(Event::Accepted, number); });
    Finish(record);
    const int outer = options_;
    options_ = number;
    Nest(number, std::move(container), body);
    options_ = outer;
    ShowValue(*Find(number));
    return Control(*this, number);
}

Control WindowDescription::Radio(const QString& text, const QVariant& value)
{
    auto* radio = new QRadioButton(text);
    Record& record = Add(ControlKind::Radio, radio, Placement::Alone);
    record.value = value;
    record.options = options_;
    if (Record* group = Find(options_))
        group->radios->addButton(radio, record.number);
    Finish(record);
    return Control(*this, record.number);
}

Control WindowDescription::DropList(ValueBinding binding, std::vector<ListItem> items)
{
    auto* combo = new QComboBox;
    for (const ListItem& item : items)
        combo->addItem(item.text, item.value);
    Record& record = Add(ControlKind::DropList, combo, Placement::Field);
    record.binding = std::move(binding);
    record.items = std::move(items);
    const int number = record.number;
    QObject::connect(combo, &QComboBox::activated, combo, [this, number] {
        Post(Event::NewSelection, number);
        Post(Event::Accepted, number);
    });
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::Combo(ValueBinding binding, const QString& picture, const QStringList& items)
{
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->addItems(items);
    combo->setInsertPolicy(QComboBox::NoInsert);
    Record& record = Add(ControlKind::Combo, combo, Placement::Field);
    record.binding = std::move(binding);
    record.picture = jornix::Picture(picture);
    const int number = record.number;
    const auto accept = [this, number] { Post(Event::Accepted, number); };
    QObject::connect(combo->lineEdit(), &QLineEdit::editingFinished, combo, accept);
    QObject::connect(combo, &QComboBox::activated, combo, accept);
    Finish(record);
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::List(std::vector<ListColumn> columns)
{
    auto* view = new QTreeView;
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* model = new QStandardItemModel(0, int(columns.size()), view);
    for (int column = 0; column < int(columns.size()); ++column) {
        model->setHeaderData(column, Qt::Horizontal, columns[column].title);
        model->setHeaderData(column, Qt::Horizontal, QVariant::fromValue(columns[column].alignment),
                             Qt::TextAlignmentRole);
    }
    Record& record = Add(ControlKind::List, view, Placement::Alone);
    view->setModel(model);
    const int number = record.number;
    QObject::connect(view, &QTreeView::activated, view, [this, number] { Post(Event::Accepted, number); });
    ConnectList(record);
    view->setObjectName(UniqueName(QStringLiteral("List")));
    return Control(*this, number);
}

void WindowDescription::ConnectList(Record& record)
{
    auto* view = qobject_cast<QTreeView*>(record.widget.data());
    const int number = record.number;
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [this, number] { Post(Event::NewSelection, number); });
}

void WindowDescription::Nest(int control, std::unique_ptr<Container> container,
                             const std::function<void()>& body)
{
    Record* record = Find(control);
    record->container = std::move(container);
    nesting_.push_back(record->container.get());
    if (body)
        body();
    nesting_.pop_back();
}

Control WindowDescription::Sheet(const std::function<void()>& body)
{
    auto* tabs = new QTabWidget;
    Record& record = Add(ControlKind::Sheet, tabs, Placement::Alone);
    const int number = record.number;
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this, number] {
        Post(Event::TabChanging, number);
        Post(Event::NewSelection, number);
    });
    tabs->setObjectName(UniqueName(QStringLiteral("Sheet")));
    auto container = std::make_unique<Container>();
    container->widget = tabs;
    Nest(number, std::move(container), body);
    return Control(*this, number);
}

Control WindowDescription::Tab(const QString& text, const std::function<void()>& body)
{
    auto* tabs = qobject_cast<QTabWidget*>(nesting_.back()->widget);
    Q_ASSERT_X(tabs, "WindowDescription::Tab", "a tab stands in a sheet");
    auto* page = new QWidget;
    auto container = std::make_unique<Container>();
    container->widget = page;
    container->grid = new QGridLayout(page);
    container->grid->setColumnStretch(1, 1);
    Record& record = Add(ControlKind::Tab, page, Placement::None);
    tabs->addTab(page, text);
    record.widget->setObjectName(UniqueName(NameFromText(text)));
    const int number = record.number;
    Nest(number, std::move(container), body);
    return Control(*this, number);
}

Control WindowDescription::Group(const QString& text, const std::function<void()>& body)
{
    auto* group = new QGroupBox(text);
    auto container = std::make_unique<Container>();
    container->widget = group;
    container->grid = new QGridLayout(group);
    container->grid->setColumnStretch(1, 1);
    Record& record = Add(ControlKind::Group, group, Placement::Alone);
    Finish(record);
    const int number = record.number;
    Nest(number, std::move(container), body);
    return Control(*this, number);
}

Control WindowDescription::Panel(const std::function<void()>& body)
{
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto container = std::make_unique<Container>();
    container->widget = panel;
    container->grid = new QGridLayout(panel);
    container->grid->setColumnStretch(1, 1);
    Record& record = Add(ControlKind::Panel, panel, Placement::Alone);
    const int number = record.number;
    panel->setObjectName(UniqueName(QStringLiteral("Panel")));
    Nest(number, std::move(container), body);
    return Control(*this, number);
}

Control WindowDescription::Image(const QString& image)
{
    auto* label = new QLabel;
    label->setPixmap(QPixmap(ImagePath(image)));
    Record& record = Add(ControlKind::Image, label, Placement::Alone);
    label->setObjectName(UniqueName(QFileInfo(image).completeBaseName()));
    return Control(*this, record.number);
}

Control WindowDescription::Button(const QString& text, const QString& image)
{
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    Record& record = Add(ControlKind::Button, button, Placement::Field);
    const int number = record.number;
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, number] { Post(Event::Accepted, number); });
    Finish(record);
    if (!image.isEmpty()) {
        Control(*this, number).Icon(image);
        if (button->objectName().isEmpty())
            button->setObjectName(UniqueName(QFileInfo(image).completeBaseName()));
    }
    return Control(*this, number);
}

// Menus and toolbar -----------------------------------------------------------------------------------------

void WindowDescription::AddAction(Record& record, QAction* action)
{
    record.action = action;
    const int number = record.number;
    QObject::connect(action, &QAction::triggered, action, [this, number] { Post(Event::Accepted, number); });
    const QString name = NameFromText(action->text());
    action->setObjectName(UniqueName(name.isEmpty() ? QStringLiteral("Item") : name));
}

Control WindowDescription::Menu(const QString& text, const std::function<void()>& body)
{
    QMenu* menu = nullptr;
    if (!menus_.empty()) {
        auto* outer = qobject_cast<QMenu*>(menus_.back());
        menu = outer->addMenu(text);
    } else {
        if (!menuBar_) {
            if (frame_) {
                menuBar_ = frame_->menuBar();
            } else {
                menuBar_ = new QMenuBar(content_);
                if (auto* layout = qobject_cast<QBoxLayout*>(content_->layout()))
                    layout->setMenuBar(menuBar_);
            }
        }
        menu = menuBar_->addMenu(text);
    }
    Record& record = Add(ControlKind::Menu, nullptr, Placement::None);
    record.action = menu->menuAction();
    record.action->setObjectName(UniqueName(NameFromText(text)));
    menus_.push_back(menu);
    body();
    menus_.pop_back();
    return Control(*this, record.number);
}

Control WindowDescription::Item(const QString& text)
{
    auto* menu = qobject_cast<QMenu*>(menus_.empty() ? nullptr : menus_.back());
    Q_ASSERT_X(menu, "WindowDescription::Item", "an item stands in a menu");
    QAction* action = menu->addAction(text);
    Record& record = Add(ControlKind::Item, nullptr, Placement::None);
    AddAction(record, action);
    return Control(*this, record.number);
}

Control WindowDescription::Toolbar(const std::function<void()>& body)
{
    auto* toolbar = new QToolBar;
    toolbar->setMovable(false);
    if (frame_) {
        frame_->addToolBar(toolbar);
    } else if (auto* layout = qobject_cast<QBoxLayout*>(content_->layout())) {
        layout->insertWidget(0, toolbar);
    }
    Record& record = Add(ControlKind::Toolbar, toolbar, Placement::None);
    toolbar->setObjectName(UniqueName(QStringLiteral("Toolbar")));
    menus_.push_back(toolbar);
    body();
    menus_.pop_back();
    return Control(*this, record.number);
}

Control WindowDescription::Tool(const QString& tip, const QString& image)
{
    auto* toolbar = qobject_cast<QToolBar*>(menus_.empty() ? nullptr : menus_.back());
    Q_ASSERT_X(toolbar, "WindowDescription::Tool", "a tool stands in the toolbar");
    QAction* action = toolbar->addAction(QIcon(ImagePath(image)), tip);
    action->setToolTip(tip);
    Record& record = Add(ControlKind::Tool, nullptr, Placement::None);
    AddAction(record, action);
    return Control(*this, record.number);
}

Control WindowDescription::Separator()
{
    QAction* action = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(menus_.empty() ? nullptr : menus_.back()))
        action = menu->addSeparator();
    else if (auto* toolbar = qobject_cast<QToolBar*>(menus_.empty() ? nullptr : menus_.back()))
        action = toolbar->addSeparator();
    Q_ASSERT_X(action, "WindowDescription::Separator", "a separator stands in a menu or the toolbar");
    Record& record = Add(ControlKind::Separator, nullptr, Placement::None);
    record.action = action;
    return Control(*this, record.number);
}

// Run time --------------------------------------------------------------------------------------------------

void WindowDescription::Into(int container, const std::function<void()>& body)
{
    Record* record = Find(container);
    if (!record || !record->container)
        return;
    nesting_.push_back(record->container.get());
    body();
    nesting_.pop_back();
    ShowValues();
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

void WindowDescription::Enable(int control, bool enabled)
{
    if (Record* record = Find(control)) {
        if (record->widget && control != 0)
            record->widget->setEnabled(enabled);
        if (record->action)
            record->action->setEnabled(enabled);
    }
}

bool WindowDescription::IsEnabled(int control) const
{
    Record* record = Find(control);
    if (!record)
        return false;
    if (record->action)
        return record->action->isEnabled();
    return record->widget && record->widget->isEnabledTo(root_);
}

void WindowDescription::Show(int control, bool visible)
{
    if (Record* record = Find(control); record && control != 0) {
        if (record->kind == ControlKind::Tab) {
            if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
                tabs->setTabVisible(tabs->indexOf(record->widget), visible);
            return;
        }
        if (record->widget)
            record->widget->setVisible(visible);
        if (record->action)
            record->action->setVisible(visible);
    }
}

bool WindowDescription::IsHidden(int control) const
{
    Record* record = Find(control);
    if (!record)
        return true;
    if (record->action)
        return !record->action->isVisible();
    return record->widget && record->widget->isHidden();
}

void WindowDescription::SetReadOnly(int control, bool readOnly)
{
    Record* record = Find(control);
    if (!record)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(record->widget.data()))
        edit->setReadOnly(readOnly);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(record->widget.data()))
        text->setReadOnly(readOnly);
    else if (record->widget && (record->kind == ControlKind::Check || record->kind == ControlKind::Options ||
                                record->kind == ControlKind::DropList || record->kind == ControlKind::Combo))
        record->widget->setEnabled(!readOnly);
}

void WindowDescription::SetLabel(int control, const QString& text)
{
    Record* record = Find(control);
    if (!record)
        return;
    if (record->action) {
        record->action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(record->widget.data())) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(record->widget.data())) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(record->widget.data())) {
        group->setTitle(text);
    } else if (record->kind == ControlKind::Tab) {
        if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
            tabs->setTabText(tabs->indexOf(record->widget), text);
    } else if (control == 0) {
        SetCaption(text);
    }
}

QString WindowDescription::Label(int control) const
{
    Record* record = Find(control);
    if (!record)
        return {};
    if (record->action)
        return record->action->text();
    if (auto* button = qobject_cast<QAbstractButton*>(record->widget.data()))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(record->widget.data()))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(record->widget.data()))
        return group->title();
    if (record->kind == ControlKind::Tab) {
        if (auto* tabs = qobject_cast<QTabWidget*>(record->widget->parentWidget()->parentWidget()))
            return tabs->tabText(tabs->indexOf(record->widget));
    }
    return control == 0 ? Caption() : QString();
}

void WindowDescription::Select(int control)
{
    if (QWidget* widget = Widget(control); widget && control != 0)
        widget->setFocus(Qt::OtherFocusReason);
}

int WindowDescription::SelectedTab(int sheet) const
{
    auto* tabs = qobject_cast<QTabWidget*>(Widget(sheet));
    return tabs ? tabs->currentIndex() + 1 : 0;
}

void WindowDescription::SelectTab(int sheet, int position)
{
    if (auto* tabs = qobject_cast<QTabWidget*>(Widget(sheet)))
        tabs->setCurrentIndex(position - 1);
}

int WindowDescription::SelectedRow(int list) const
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    return view && view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

void WindowDescription::SelectRow(int list, int row)
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    if (!view || !view->model())
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

void WindowDescription::SetListModel(int list, QAbstractItemModel* model)
{
    Record* record = Find(list);
    auto* view = record ? qobject_cast<QTreeView*>(record->widget.data()) : nullptr;
    if (!view)
        return;
    view->setModel(model);
    ConnectList(*record);
}

QAbstractItemModel* WindowDescription::ListModel(int list) const
{
    auto* view = qobject_cast<QTreeView*>(Widget(list));
    return view ? view->model() : nullptr;
}

// Values ----------------------------------------------------------------------------------------------------

void WindowDescription::ShowValue(Record& record)
{
    if (!record.binding)
        return;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    const QVariant value = record.binding.read();
    switch (record.kind) {
    case ControlKind::Entry:
        static_cast<QLineEdit*>(record.widget.data())->setText(record.picture.Format(value));
        break;
    case ControlKind::Display:
        static_cast<QLabel*>(record.widget.data())->setText(record.picture.Format(value));
        break;
    case ControlKind::TextBox:
        static_cast<QPlainTextEdit*>(record.widget.data())->setPlainText(value.toString());
        break;
    case ControlKind::Check:
        static_cast<QCheckBox*>(record.widget.data())->setChecked(value == record.trueValue);
        break;
    case ControlKind::Options:
        for (QAbstractButton* button : record.radios->buttons()) {
            Record* radio = Find(record.radios->id(button));
            button->setChecked(radio && radio->value == value);
        }
        break;
    case ControlKind::DropList: {
        auto* combo = static_cast<QComboBox*>(record.widget.data());
        int index = -1;
        for (int i = 0; i < int(record.items.size()); ++i)
            if (record.items[i].value == value)
                index = i;
        combo->setCurrentIndex(index);
        break;
    }
    case ControlKind::Combo:
        static_cast<QComboBox*>(record.widget.data())->setEditText(record.picture.Format(value));
        break;
    default:
        break;
    }
    quiet_ = wasQuiet;
}

bool WindowDescription::WriteValue(Record& record)
{
    if (!record.binding || !record.binding.write)
        return true;
    QVariant value;
    switch (record.kind) {
    case ControlKind::Entry:
    case ControlKind::Combo: {
        const QString text = record.kind == ControlKind::Entry
                                 ? static_cast<QLineEdit*>(record.widget.data())->text()
                                 : static_cast<QComboBox*>(record.widget.data())->currentText();
        if (!record.picture.Parse(text, value))
            return false;
        break;
    }
    case ControlKind::TextBox:
        if (!record.picture.Parse(static_cast<QPlainTextEdit*>(record.widget.data())->toPlainText(), value))
            return false;
        break;
    case ControlKind::Check:
        value =
            static_cast<QCheckBox*>(record.widget.data())->isChecked() ? record.trueValue : record.falseValue;
        break;
    case ControlKind::Options: {
        Record* radio = Find(record.radios->checkedId());
        if (!radio)
            return true;
        value = radio->value;
        break;
    }
    case ControlKind::DropList: {
        const int index = static_cast<QComboBox*>(record.widget.data())->currentIndex();
        if (index < 0)
            return true;
        value = record.items[index].value;
        break;
    }
    default:
        return true;
    }
    record.binding.write(value);
    // The field may keep less than was typed (its width, its type): the control shows what it keeps.
    ShowValue(record);
    return true;
}

void WindowDescription::ShowValues(int control)
{
    for (auto& [number, record] : controls_)
        if (control == 0 || number == control)
            ShowValue(*record);
}

bool WindowDescription::WriteValues(int control)
{
    bool ok = true;
    for (auto& [number, record] : controls_)
        if ((control == 0 || number == control) && record->kind != ControlKind::Display)
            ok = WriteValue(*record) && ok;
    return ok;
}

void WindowDescription::SetEventSink(EventSink sink)
{
    sink_ = std::move(sink);
}

void WindowDescription::SetImageFolder(const QString& folder)
{
    ImageFolder() = folder;
}

QString WindowDescription::ImagePath(const QString& image)
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

WindowDescription* WindowDescription::CurrentFrame()
{
    return Frame();
}

} // namespace jornix
