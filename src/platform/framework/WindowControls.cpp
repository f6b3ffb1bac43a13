// The controls a description builds, with their settings and the events they give.

#include "platform/framework/WindowDescriptionParts.h"

#include "platform/framework/FittedList.h"
#include "platform/framework/LimitedTextEdit.h"
#include "platform/runtime/FrameworkEvents.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>

namespace jornix {
namespace {

// A spin box that shows and reads its value through a picture: numbers as the picture formats them, dates as
// day numbers in the desktop's short date.
class PictureSpinBox : public QSpinBox
{
public:
    explicit PictureSpinBox(const Picture& picture) : picture_(picture) {}

    // Called when the box keeps a text that it cannot read, after it has said so.
    void SetRefused(std::function<void()> refused) { refused_ = std::move(refused); }

protected:
    QString textFromValue(int value) const override { return picture_.Format(value); }
    int valueFromText(const QString& text) const override
    {
        QVariant value;
        return picture_.Parse(text, value) ? value.toInt() : this->value();
    }
    QValidator::State validate(QString& text, int&) const override
    {
        return picture_.ReadsWithin(text, minimum(), maximum()) ? QValidator::Acceptable
                                                                 : QValidator::Intermediate;
    }
    // A text that the box cannot read is never put back silently to the last value: it stays to be put
    // right, and the box beeps and says why.
    void focusOutEvent(QFocusEvent* event) override
    {
        const QString typed = lineEdit()->text();
        if (picture_.ReadsWithin(typed, minimum(), maximum())) {
            QSpinBox::focusOutEvent(event);
            return;
        }
        QSpinBox::focusOutEvent(event);
        lineEdit()->setText(typed);
        // Another window or a menu taking the focus is no leaving of the box: the text waits quietly.
        if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
            Refuse(typed);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            !picture_.ReadsWithin(lineEdit()->text(), minimum(), maximum())) {
            Refuse(lineEdit()->text());
            return;
        }
        QSpinBox::keyPressEvent(event);
    }

private:
    void Refuse(const QString& typed)
    {
        QApplication::beep();
        QToolTip::showText(mapToGlobal(QPoint(0, height())), picture_.NotValidText(typed), this);
        if (refused_)
            refused_();
    }

    Picture picture_;
    std::function<void()> refused_;
};

// Text that acts when it is clicked, or when it has the focus and Space or Enter is pressed.
class ClickLabel : public QLabel
{
public:
    ClickLabel(const QString& text, std::function<void()> clicked)
        : QLabel(text), clicked_(std::move(clicked))
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setForegroundRole(QPalette::Link);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            clicked_();
        QLabel::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            clicked_();
        else
            QLabel::keyPressEvent(event);
    }

private:
    std::function<void()> clicked_;
};

// A group's title sits in the line of its frame, as a group box's does on most desktops, rather than above
// the frame as a separate line of text.
const QString GroupStyle = QStringLiteral(
    "QGroupBox { border: 1px solid palette(mid); border-radius: 4px; margin-top: 0.7em; padding-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
    " padding: 0px 3px; }");

// A group whose frame is at least as wide as its title, with room for the frame's rounded corner after it: the
// style sheet's title does not count in the group box's own size hints.
class GroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;
    QSize minimumSizeHint() const override { return QGroupBox::minimumSizeHint().expandedTo(TitleSize()); }
    QSize sizeHint() const override { return QGroupBox::sizeHint().expandedTo(TitleSize()); }

private:
    QSize TitleSize() const
    {
        if (title().isEmpty())
            return {};
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
        QString text = title(); // without the mnemonic's marker
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
        text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        const int textWidth = fontMetrics().horizontalAdvance(text);
        // As much room after the title as before it.
        return {2 * std::max(label.left(), 0) + std::max(label.width(), textWidth), 0};
    }
};

// The least width of a column: its title, or what its picture shows, whichever is wider; a long text column
// takes the room of twenty characters at least.
int ColumnWidth(const QFontMetrics& metrics, const ListColumn& column)
{
    const int padding = 3 * metrics.averageCharWidth();
    const int title = metrics.horizontalAdvance(column.title);
    int content = 0;
    if (!column.picture.isEmpty()) {
        const jornix::Picture picture(column.picture);
        switch (picture.PictureKind()) {
        case jornix::Picture::Kind::Text:
            content = metrics.averageCharWidth() * std::min(picture.Width() > 0 ? picture.Width() : 20, 20);
            break;
        case jornix::Picture::Kind::Number:
            content = metrics.horizontalAdvance(QLatin1Char('0')) * std::max(picture.Width(), 1);
            break;
        case jornix::Picture::Kind::Date:
            content =
                metrics.horizontalAdvance(QLocale().toString(QDate(2000, 12, 28), QLocale::ShortFormat));
            break;
        case jornix::Picture::Kind::Time:
            content = metrics.horizontalAdvance(QLocale().toString(QTime(23, 59), QLocale::ShortFormat));
            break;
        }
    }
    return std::max(title, content) + padding;
}

} // namespace

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

Control& Control::Font(const QString& face, int points, int style)
{
    window_->SetFont(number_, face, points, style);
    return *this;
}

Control& Control::TextColor(const QColor& color)
{
    window_->SetTextColor(number_, color);
    return *this;
}

Control& Control::FillColor(const QColor& color)
{
    window_->SetFillColor(number_, color);
    return *this;
}

Control& Control::HideTabs()
{
    if (auto* tabs = qobject_cast<QTabWidget*>(Widget())) {
        tabs->tabBar()->hide();
        tabs->setDocumentMode(true); // no frame around a page that has no tab
    }
    return *this;
}

// Controls --------------------------------------------------------------------------------------------------

Control WindowDescription::Prompt(const QString& text)
{
    auto* label = new QLabel(text);
    Record& record = Add(ControlKind::Prompt, label, Placement::None);
    // The prompt waits in its row for the control after it.
    Container& here = *nesting_.back();
    if (here.box && here.hostGrid && here.box->count() == 0) {
        // A prompt at the start of a row of its own stands in the prompt column, the rest of the row beside it
        // where the other entries of the column start.
        here.hostGrid->removeWidget(here.widget);
        here.hostGrid->addWidget(label, here.hostRow, 0);
        here.hostGrid->addWidget(here.widget, here.hostRow, 1);
    } else if (here.box) {
        here.box->addWidget(label);
    } else {
        // Alone it takes the whole row; the control that joins it takes the second column (Place).
        here.promptRow = here.row++;
        here.grid->addWidget(label, here.promptRow, 0, 1, 2);
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
    const int number = record.number;
    QObject::connect(edit, &QLineEdit::editingFinished, edit,
                     [this, number] { Post(Event::Accepted, number); });
    Finish(record);
    SetPicture(number, picture);
    return Control(*this, record.number);
}

void WindowDescription::SetPicture(int control, const QString& picture)
{
    Record* record = Find(control);
    if (!record || (record->kind != ControlKind::Entry && record->kind != ControlKind::Combo &&
                    record->kind != ControlKind::Display))
        return;
    record->picture = jornix::Picture(picture);
    if (record->kind == ControlKind::Entry) {
        auto* edit = static_cast<QLineEdit*>(record->widget.data());
        const bool text = record->picture.PictureKind() == jornix::Picture::Kind::Text;
        edit->setMaxLength(text && record->picture.Width() > 0 ? record->picture.Width() : 32767);
        edit->setAlignment(record->picture.PictureKind() == jornix::Picture::Kind::Number ? Qt::AlignRight
                                                                                          : Qt::AlignLeft);
    }
    ShowValue(*record);
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
    // A box with a length takes no more than that: nothing typed or pasted is cut when it is written.
    QPlainTextEdit* edit = maxLength > 0 ? new LimitedTextEdit(maxLength) : new QPlainTextEdit;
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
    auto* group = new GroupBox(text);
    group->setStyleSheet(GroupStyle);
    auto container = std::make_unique<Container>();
    container->widget = group;
    MarkPlace(group);
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
    auto* view = new FittedList;
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
    std::vector<int> least;
    for (const ListColumn& column : columns)
        least.push_back(ColumnWidth(view->fontMetrics(), column));
    view->setModel(model);
    view->SetLeastWidths(std::move(least));
    // Until the list says which column holds its main text, the first one with a title takes the room.
    const auto titled = std::find_if(columns.begin(), columns.end(),
                                     [](const ListColumn& column) { return !column.title.isEmpty(); });
    view->SetMainColumn(titled == columns.end() ? 0 : int(titled - columns.begin()));
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

// A sheet whose tabs hold no controls chooses what the controls after it show (the order or the filter of a
// list): it shows only its tab bar, without empty pages under it.
static void KeepToTabBar(QTabWidget* tabs)
{
    for (int tab = 0; tab < tabs->count(); ++tab)
        if (const QLayout* layout = tabs->widget(tab)->layout(); layout && layout->count() > 0)
            return;
    tabs->setDocumentMode(true);
    for (int tab = 0; tab < tabs->count(); ++tab)
        tabs->widget(tab)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    tabs->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    tabs->setFixedHeight(tabs->tabBar()->sizeHint().height());
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
    KeepToTabBar(tabs);
    return Control(*this, number);
}

Control WindowDescription::Tab(const QString& text, const std::function<void()>& body)
{
    auto* tabs = qobject_cast<QTabWidget*>(nesting_.back()->widget);
    Q_ASSERT_X(tabs, "WindowDescription::Tab", "a tab stands in a sheet");
    auto* page = new QWidget;
    auto container = std::make_unique<Container>();
    container->widget = page;
    MarkPlace(page);
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
    auto* group = new GroupBox(text);
    group->setStyleSheet(GroupStyle);
    auto container = std::make_unique<Container>();
    container->widget = group;
    MarkPlace(group);
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
    MarkPlace(panel);
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
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop); // beside taller controls, a picture sits at their top
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

Control WindowDescription::Spin(ValueBinding binding, const QString& picture, int minimum, int maximum,
                                int step)
{
    auto* spin = new PictureSpinBox(jornix::Picture(picture));
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    spin->setKeyboardTracking(false); // a value while it is typed is no value yet
    spin->setAlignment(Qt::AlignRight);
    Record& record = Add(ControlKind::Spin, spin, Placement::Field);
    record.binding = std::move(binding);
    record.step = step;
    record.picture = jornix::Picture(picture);
    const int number = record.number;
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [this, number] { Post(Event::Accepted, number); });
    // A text it cannot read comes to the window as an entry that it refuses (WriteValue).
    spin->SetRefused([this, number] { Post(Event::Accepted, number); });
    Finish(record);
    ShowValue(record);
    return Control(*this, number);
}

Control WindowDescription::Progress(ValueBinding binding, int maximum)
{
    auto* bar = new QProgressBar;
    bar->setRange(0, maximum);
    Record& record = Add(ControlKind::Progress, bar, Placement::Field);
    record.binding = std::move(binding);
    bar->setObjectName(UniqueName(QStringLiteral("Progress")));
    ShowValue(record);
    return Control(*this, record.number);
}

Control WindowDescription::ClickText(const QString& text)
{
    const int number = lastPositive_ + 1;
    auto* label = new ClickLabel(text, [this, number] { Post(Event::Accepted, number); });
    Record& record = Add(ControlKind::ClickText, label, Placement::Alone);
    Q_ASSERT(record.number == number);
    Finish(record);
    return Control(*this, record.number);
}

Control WindowDescription::Custom(QWidget* widget, ValueBinding binding, WidgetValue value)
{
    Record& record = Add(ControlKind::Custom, widget, Placement::Field);
    record.binding = std::move(binding);
    record.widgetValue = std::move(value);
    widget->setObjectName(
        UniqueName(record.binding.fieldName.isEmpty()
                       ? (widget->objectName().isEmpty() ? QStringLiteral("Custom") : widget->objectName())
                       : record.binding.fieldName));
    ShowValue(record);
    return Control(*this, record.number);
}

void WindowDescription::Notify(int event, int control)
{
    Post(event, control);
}

// Controls added at run time.
void WindowDescription::Into(int container, const std::function<void()>& body)
{
    Record* record = Find(container);
    if (!record || !record->container)
        return;
    nesting_.push_back(record->container.get());
    body();
    nesting_.pop_back();
    if (root_->testAttribute(Qt::WA_WState_Polished)) // else the polish lines them up
        AlignPromptColumns(Find(0)->container->grid);
    ShowValues();
}

void WindowDescription::Remove(int control)
{
    Record* record = Find(control);
    if (!record || control == 0)
        return;
    QWidget* widget = record->widget;
    std::vector<int> gone{control};
    if (widget) {
        for (const auto& [number, inner] : controls_)
            if (number != control && inner->widget && widget->isAncestorOf(inner->widget))
                gone.push_back(number);
    }
    for (const int number : gone)
        controls_.erase(number);
    delete widget;
}

} // namespace jornix
