#include "organizer/FormButtons.h"

namespace jornix {

FormButtons DescribeFormButtons(WindowDescription& window, const std::function<void()>& more,
                                const QString& okText)
{
    FormButtons buttons;
    window.Row([&] {
        buttons.help = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        if (more)
            more();
        window.Spacer();
        buttons.ok = window.Button(okText, QStringLiteral("OKButton.gif")).Default();
        buttons.cancel = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"));
    });
    return buttons;
}

} // namespace jornix
