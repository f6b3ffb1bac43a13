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

// A use-name made from a control's text: "&Insert" gives "Insert", "Change Password at &Next Login" gives
// "ChangePasswordatNextLogin".
QString NameFromText(const QString& text);

} // namespace jornix
