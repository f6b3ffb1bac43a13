#pragma once

#include "platform/framework/WindowDescription.h"

#include <QString>

#include <functional>

namespace jornix {

struct FormButtons
{
    int help = 0, ok = 0, cancel = 0;
};

// The row under a form or a select list: the help button at the left end and what `more` describes after
// it; at the right the button that completes (the default one, "OK" unless named otherwise) and "Cancel".
FormButtons DescribeFormButtons(WindowDescription& window, const std::function<void()>& more = {},
                                const QString& okText = QStringLiteral("OK"));

} // namespace jornix
