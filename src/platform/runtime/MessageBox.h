#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The one way the program shows a message box.
namespace jornix {

enum class MessageIcon
{
    None,
    Stop,
    Question,
    Exclamation,
    Information
};

// Standard buttons; a box shows those whose bits are set, in this order.
namespace MessageButton {
enum : int
{
    Ok = 1,
    Yes = 2,
    No = 4,
    Abort = 8,
    Retry = 16,
    Ignore = 32,
    Cancel = 64,
    Help = 128
};
}

struct MessageBoxRequest
{
    int buttons = MessageButton::Ok; // mask of MessageButton values, when customButtons is empty
    QStringList customButtons;       // texts like "&Replace", answered by their number from 1
    MessageIcon icon = MessageIcon::None;
    QString caption; // empty: a box without a caption
    QString text;
    int defaultButton = 0; // a MessageButton value, or a custom button's number
};

// Shows the box and returns the button pressed: a MessageButton value.
int ShowMessageBox(int buttons, MessageIcon icon, const QString& caption, const QString& text,
                   int defaultButton = 0);
// Custom buttons given as "&Replace|&Append|&Cancel"; returns the number of the button pressed, from 1.
int ShowMessageBox(const QString& buttonTexts, MessageIcon icon, const QString& caption, const QString& text,
                   int defaultButton = 1);

// Tests replace the box with a sink that records the request and answers it.
using MessageBoxSink = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxSink(MessageBoxSink sink); // an empty sink restores the real box

} // namespace jornix
