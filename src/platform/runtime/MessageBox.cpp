#include "platform/runtime/MessageBox.h"

// Stand-in until the program threads arrive: answers through the sink, or with the default button.
namespace jornix {
namespace {
MessageBoxSink sink;

int show(const MessageBoxRequest& request)
{
    if (sink)
        return sink(request);
    return request.defaultButton;
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
    return show(request);
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
    return show(request);
}

void SetMessageBoxSink(MessageBoxSink newSink)
{
    sink = std::move(newSink);
}

} // namespace jornix
