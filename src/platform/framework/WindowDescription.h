#pragma once

#include "platform/framework/Picture.h"
#include "platform/framework/ValueBinding.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAbstractItemModel;
class QAction;
class QMainWindow;
class QMdiArea;
class QMenuBar;
class QToolBar;
class QWidget;

// A window described once in C++: its controls in the order of the description, each with its control number
// (positive in description order from 1, negative for menus, menu items, the toolbar and its buttons from -1,
// 0 for the window itself) and an object name from its use-name. The description builds Qt widgets in layouts
// that resize with the window:
//
//     WindowDescription window("Change Password");
//     window.Prompt("Current Login ID:");                                       // 1
//     window.Display(Bind(loginId), "@s30");                                    // 2
//     window.Group("Password", [&] {                                            // 3
//         window.Prompt("&Old Password:");                                      // 4
//         oldEntry = window.Entry(Bind(oldPassword), "@s20").Password();       // 5
//     });
//     window.Buttons([&] {
//         okButton = window.Button("OK", "OKButton.gif").Name("OK");            // 6
//         cancelButton = window.Button("Cancel", "CancelButton.gif");           // 7
//     });
//
// Inside the window, a column, a group, a tab or a panel, a prompt and the control after it share a row;
// every other control takes a row of its own. Row() and Buttons() line their controls up side by side.
//
// Entries, text boxes and combo boxes are bound to a variable or a record field: they show its value when the
// window shows its values, and write it (read through the picture) when they lose the focus or Enter is
// pressed, and when the window writes its values. Check boxes, radio buttons and drop lists write their
// binding when the user changes them. The controls only give the Accepted event; the window controller writes
// the control's value when its thread takes the event (WriteValues), so that a record field is written in the
// buffer of the window's own thread. A text that does not fit the picture writes nothing, and the window
// takes the event as Rejected.
namespace jornix {

enum class WindowType
{
    Dialog, // a top-level dialog over the frame (forms, select lists, dialogs)
    Child,  // a child window inside the frame (list windows); top-level when there is no frame
    Frame,  // the application frame: menus, toolbar and the area of the child windows
    Pane    // a window docked at the right side of the frame
};

enum class ControlKind
{
    Window,
    Prompt,
    Text,
    Entry,
    Display,
    TextBox,
    Check,
    Options,
    Radio,
    DropList,
    Combo,
    List,
    Sheet,
    Tab,
    Group,
    Panel,
    Image,
    Button,
    Spin,
    Progress,
    ClickText,
    Custom,
    Menu,
    Item,
    Toolbar,
    Tool,
    Separator
};

struct ListColumn
{
    QString title;
    QString picture;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ListItem
{
    QString text;
    QVariant value;
};

// How a widget that the window makes shows a value and gives it back, for a custom control with a binding.
struct WidgetValue
{
    std::function<QVariant()> read;
    std::function<void(const QVariant&)> show;
};

// The style of a control's font; the flags combine.
namespace FontStyle {
enum : int
{
    Normal = 0,
    Bold = 1,
    Italic = 2,
    Underline = 4,
    StrikeOut = 8
};
}

class WindowDescription;

// One control of a description: its number, with the settings a description gives it. Converts to its number.
class Control
{
public:
    Control(WindowDescription& window, int number) : window_(&window), number_(number) {}
    int Number() const { return number_; }
    operator int() const { return number_; }
    QWidget* Widget() const;

    Control& Name(const QString& useName); // the object name tests and code find it by
    Control& Tip(const QString& tip);
    Control& Icon(const QString& image);
    Control& Disable(bool disabled = true);
    Control& Hide(bool hidden = true);
    Control& ReadOnly(bool readOnly = true);
    Control& Password();                      // an entry that shows its characters masked
    Control& Default();                       // the button that Enter presses
    Control& Stretch(int factor = 1);         // takes spare room of its row (in a column: spare height)
    Control& StatusText(const QString& text); // menu items: the text the frame's status bar shows
    // A blank face keeps the window's face, 0 points its size.
    Control& Font(const QString& face, int points = 0, int style = FontStyle::Normal);
    Control& TextColor(const QColor& color);
    Control& FillColor(const QColor& color);
    Control& HideTabs(); // a sheet whose tabs do not show (the pages of a wizard): the program picks the page

private:
    WindowDescription* window_;
    int number_;
};

class WindowDescription
{
public:
    // The sink of the events that the controls give (Accepted, NewSelection, Selected, Rejected,
    // TabChanging); the window controller passes them to the window's thread. Events before a sink is set are
    // dropped.
    using EventSink = std::function<void(int event, int control)>;

    // A child window or a pane opens inside the frame given; without one, a child window is a window of its
    // own and a pane stands alone.
    explicit WindowDescription(const QString& caption, WindowType kind = WindowType::Dialog,
                               WindowDescription* frame = nullptr);
    ~WindowDescription();
    WindowDescription(const WindowDescription&) = delete;
    WindowDescription& operator=(const WindowDescription&) = delete;

    WindowType Kind() const { return kind_; }
    void SetCaption(const QString& caption);
    QString Caption() const;

    // Layout of the controls that the body describes; no control numbers.
    void Column(const std::function<void()>& body);
    void Row(const std::function<void()>& body);
    void Buttons(const std::function<void()>& body); // a row aligned to the right, as under a form
    void Spacer();                                   // spare room at this place of a row or column

    // Controls, numbered from 1 in the order described.
    Control Prompt(const QString& text);
    Control Text(const QString& text); // a text of several lines, wrapped
    Control Entry(ValueBinding binding, const QString& picture);
    Control Display(ValueBinding binding, const QString& picture); // shows a value; not typed into
    Control TextBox(ValueBinding binding, int maxLength = 0);      // text of several lines
    Control Check(const QString& text, ValueBinding binding, const QVariant& trueValue = 1,
                  const QVariant& falseValue = 0);
    // A radio group: the body describes its radio buttons; the binding takes the chosen button's value.
    Control Options(const QString& text, ValueBinding binding, const std::function<void()>& body);
    Control Radio(const QString& text, const QVariant& value);
    Control DropList(ValueBinding binding, std::vector<ListItem> items);
    Control Combo(ValueBinding binding, const QString& picture, const QStringList& items);
    Control List(std::vector<ListColumn> columns);
    Control Sheet(const std::function<void()>& body); // the body describes its tabs
    Control Tab(const QString& text, const std::function<void()>& body);
    Control Group(const QString& text, const std::function<void()>& body);
    Control Panel(const std::function<void()>& body);
    Control Image(const QString& image);
    Control Button(const QString& text, const QString& image = {});
    // A spin box of whole numbers between minimum and maximum; with a date picture its value is a day number
    // and it steps by days. It writes its binding when it is stepped or left.
    Control Spin(ValueBinding binding, const QString& picture, int minimum, int maximum, int step = 1);
    Control Progress(ValueBinding binding, int maximum = 100); // shows the bound value from 0 to maximum
    Control ClickText(const QString& text); // text that gives Accepted when clicked (or Space or Enter)
    // A widget that the window makes (a calendar grid, a rich-text editor, a preview), which the description
    // takes over. It takes a row of its own or joins the prompt before it, and the spare room. With a
    // binding, `value` says how the widget shows and gives the value, written as an entry's is; the window
    // connects the widget's signals to Notify, so that its events reach the window's thread as every
    // control's do.
    Control Custom(QWidget* widget, ValueBinding binding = {}, WidgetValue value = {});
    void Notify(int event, int control);

    // Menus, their items, the toolbar and its buttons, numbered from -1 in the order described. A separator
    // takes a number in a menu and in the toolbar.
    Control Menu(const QString& text, const std::function<void()>& body);
    Control Item(const QString& text);
    Control Toolbar(const std::function<void()>& body);
    Control Tool(const QString& tip, const QString& image);
    Control Separator();

    // Controls created at run time: the body describes them at the end of a group, tab, panel or radio group
    // (0: the window), and they take the next free numbers. Remove destroys a control, and every control
    // inside it; its number is not given again.
    void Into(int container, const std::function<void()>& body);
    void Remove(int control);

    // The controls.
    QWidget* Root() const;              // the window itself: the dialog, child window, frame or pane
    QWidget* Widget(int control) const; // 0: the window itself; nullptr for an unknown number
    QAction* Action(int control) const; // menu items, menus and toolbar buttons
    ControlKind KindOf(int control) const;
    QString BoundField(int control) const; // the record field a control is bound to; empty for none
    bool Exists(int control) const;
    int ControlNumber(const QString& useName) const; // 0 when no control has that name
    int ControlOf(const QObject* object) const;      // the control a widget or action belongs to; 0 for none
    int FocusedControl() const; // the control that has the focus (in an open menu, its item); 0 for none
    int LastControl() const { return lastPositive_; }
    std::vector<int> Controls() const; // every number, in ascending order
    QMdiArea* ChildArea() const;       // the frame's area of the child windows; nullptr but for a frame

    // The settings of a control at run time.
    void Enable(int control, bool enabled = true);
    void Disable(int control) { Enable(control, false); }
    bool IsEnabled(int control) const;
    void Show(int control, bool visible = true);
    void Hide(int control) { Show(control, false); }
    bool IsHidden(int control) const;
    void SetReadOnly(int control, bool readOnly = true); // a read-only spin box steps by 0
    // The picture of an entry, combo box or display; the control shows its value through it at once.
    void SetPicture(int control, const QString& picture);
    void SetLabel(int control,
                  const QString& text); // the text of a prompt, button, check box, tab, menu item
    QString Label(int control) const;
    void Select(int control); // gives the control the focus
    void SetFont(int control, const QString& face, int points = 0, int style = FontStyle::Normal);
    void SetTextColor(int control, const QColor& color); // an invalid colour: the usual one
    void SetFillColor(int control, const QColor& color); // an invalid colour: no fill
    // An image control shows a picture file, scaled down to fit within `fit` when that is given; a file that
    // cannot be read leaves the control empty and gives false.
    bool SetImageFile(int control, const QString& file, const QSize& fit = {});
    // Sheets: the selected tab, by its place from 1; lists: the highlighted row from 0, -1 for none.
    int SelectedTab(int sheet) const;
    void SelectTab(int sheet, int position);
    int SelectedRow(int list) const;
    void SelectRow(int list, int row);
    // A list shows the rows of a model; the description gives each list an empty model with its columns.
    void SetListModel(int list, QAbstractItemModel* model);
    // The column of a list that holds its main text and takes the width the list has to spare; the other
    // columns fit their titles, pictures and rows.
    void SetMainColumn(int list, int column);
    QAbstractItemModel* ListModel(int list) const;

    // Values of bound controls: shows the bound values (0: every control), writes what the controls hold into
    // the bindings (0: every control). Writing an entry whose text does not fit its picture gives false.
    void ShowValues(int control = 0);
    bool WriteValues(int control = 0);

    void SetEventSink(EventSink sink);

    // Where images named by descriptions are found. An image name matches a file name without regard to case,
    // or a PNG or SVG file of the same base name ("DateViewS.gif" finds "DateViewS.png"); a name that starts
    // with "~" (an image linked into the program) also finds the file of the name without it.
    static void SetImageFolder(const QString& folder);
    static QString ImagePath(const QString& image);
    // Hears every image name that ImagePath is asked for, with the path it found (empty: none), so that a test
    // can check that the images the windows really ask for are in the folder. An empty listener stops it.
    using ImageListener = std::function<void(const QString& image, const QString& path)>;
    static void SetImageListener(ImageListener listener);

private:
    friend class Control;
    struct Container;
    struct Record;
    enum class Placement
    {
        None,
        Alone,
        Field
    }; // Field: joins the prompt before it
    Record& Add(ControlKind kind, QWidget* widget, Placement placement);
    Record* Find(int control) const;
    void Place(QWidget* widget, bool field, int stretch = 0);
    void Nest(int control, std::unique_ptr<Container> container, const std::function<void()>& body);
    void Post(int event, int control);
    void ConnectList(Record& record);
    QString UniqueName(const QString& base) const;
    void ShowValue(Record& record);
    bool WriteValue(Record& record);
    void Finish(Record& record);
    void AddAction(Record& record, QAction* action);
    void ApplyColors(Record& record);

    WindowType kind_;
    QWidget* root_ = nullptr;    // deleted with the description
    QWidget* content_ = nullptr; // where the controls are laid out
    QMainWindow* frame_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QMdiArea* area_ = nullptr;
    std::map<int, std::unique_ptr<Record>> controls_;
    std::vector<Container*> nesting_; // innermost last
    std::vector<QObject*> menus_;     // the menu being described, innermost last
    int options_ = 0;                 // the radio group being described
    int lastPositive_ = 0;
    int lastNegative_ = 0;
    bool quiet_ = false; // values are being shown: the controls' signals are the program's, not the user's
    EventSink sink_;
};

} // namespace jornix
