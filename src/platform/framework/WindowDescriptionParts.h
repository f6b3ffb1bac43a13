#pragma once

#include "platform/framework/WindowDescription.h"

#include <QAction>
#include <QPointer>
#include <QWidget>

class QBoxLayout;
class QButtonGroup;
class QGridLayout;
class QLabel;

// What the source files of a window description share: the record of each control and the places where
// controls are laid out.
namespace jornix {

// A place where controls are laid out: a grid whose rows hold a prompt and its control, or a row.
struct WindowDescription::Container
{
    QWidget* widget = nullptr;
    QGridLayout* grid = nullptr;
    QBoxLayout* box = nullptr;
    int row = 0;
    QLabel* prompt = nullptr; // the prompt waiting for its control
    int promptRow = -1;
    // A row that takes a row of a grid alone: a prompt at its start moves to the grid's prompt column.
    QGridLayout* hostGrid = nullptr;
    int hostRow = -1;
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
    int step = 1;                   // spin boxes: the step while they may be changed
    QButtonGroup* radios = nullptr; // radio groups
    std::vector<ListItem> items;    // drop lists
    WidgetValue widgetValue;        // custom controls
    QColor textColor, fillColor;    // invalid: the usual ones
    std::unique_ptr<Container> container;
};

// Marks a widget as a place the description lays controls out in (a column, row, group, tab, panel, radio
// group or the window's own controls), so that the prompt columns of a form column are lined up.
void MarkPlace(QWidget* widget);

// Keeps the entries of each form column of the window in one line: the groups, panels and columns that stand
// one under the other share the width of their prompt column. Done when the window is polished, before it is
// first measured and shown, and again when controls are added at run time (Into).
void AlignPromptColumns(QGridLayout* grid);
void KeepPromptColumnsAligned(QWidget* root, QWidget* content, QGridLayout* grid);

// A use-name made from a control's text: "&Insert" gives "Insert", "Change Password at &Next Login" gives
// "ChangePasswordatNextLogin".
QString NameFromText(const QString& text);

} // namespace jornix
