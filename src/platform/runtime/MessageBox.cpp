#include "platform/runtime/MessageBox.h"

#include "platform/runtime/ProgramWindow.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

// A real box is a QMessageBox shown non-modal over the calling thread's windows; the thread waits for it.
namespace jornix {
namespace {
MessageBoxSink sink;

struct StandardButton
{
    int ours;
    QMessageBox::StandardButton qt;
};
constexpr StandardButton standardButtons[] = {
    {MessageButton::Ok, QMessageBox::Ok},         {MessageButton::Yes, QMessageBox::Yes},
    {MessageButton::No, QMessageBox::No},         {MessageButton::Abort, QMessageBox::Abort},
    {MessageButton::Retry, QMessageBox::Retry},   {MessageButton::Ignore, QMessageBox::Ignore},
    {MessageButton::Cancel, QMessageBox::Cancel}, {MessageButton::Help, QMessageBox::Help},
};

QMessageBox::Icon QtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int ShowRealBox(const MessageBoxRequest& request)
{
    QMessageBox box;
    box.setIcon(QtIcon(request.icon));
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    // The answer of each button: a MessageButton value, or a custom button's number.
    std::vector<std::pair<QAbstractButton*, int>> answers;
    if (!request.customButtons.isEmpty()) {
        for (const QString& text : request.customButtons) {
            QPushButton* button = box.addButton(text, QMessageBox::ActionRole);
            answers.emplace_back(button, int(answers.size()) + 1);
            if (request.defaultButton == int(answers.size()))
                box.setDefaultButton(button);
        }
        box.setEscapeButton(answers.back().first);
    } else {
        for (const StandardButton& standard : standardButtons) {
            if (!(request.buttons & standard.ours))
                continue;
            QPushButton* button = box.addButton(standard.qt);
            answers.emplace_back(button, standard.ours);
            if (request.defaultButton == standard.ours)
                box.setDefaultButton(button);
        }
        if (answers.empty())
            answers.emplace_back(box.addButton(QMessageBox::Ok), MessageButton::Ok);
    }
    RunThreadModal(box);
    for (const auto& [button, answer] : answers)
        if (button == box.clickedButton())
            return answer;
    return request.defaultButton;
}

int Show(const MessageBoxRequest& request)
{
    if (sink)
        return sink(request);
    return ShowRealBox(request);
}
} // namespace

int ShowMessageBox(int buttons, MessageIcon icon, const QString& caption, const QString& text,
                   int defaultButton)
{
    MessageBoxRequest request;
    request.buttons = buttons;
    request.icon = icon;
    request.caption = caption;
    request.text = text;
    request.defaultButton = defaultButton;
    return Show(request);
}

int ShowMessageBox(const QString& buttonTexts, MessageIcon icon, const QString& caption, const QString& text,
                   int defaultButton)
{
    MessageBoxRequest request;
    request.buttons = 0;
    request.customButtons = buttonTexts.split(QLatin1Char('|'));
    request.icon = icon;
    request.caption = caption;
    request.text = text;
    request.defaultButton = defaultButton;
    return Show(request);
}

void SetMessageBoxSink(MessageBoxSink newSink)
{
    sink = std::move(newSink);
}

} // namespace jornix
