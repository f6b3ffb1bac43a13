#pragma once

#include "platform/framework/WindowDescription.h"

#include <QString>

#include <functional>

// The banner across the top of a list window or a docked pane: the window's name in white bold letters on a
// grey band, with the window's small icon before it where it has one. `more` describes further controls at
// the band's right end (a pane's "X").
namespace jornix {

struct BannerControls
{
    int image = 0; // 0: no icon
    int panel = 0;
    int text = 0;
};

BannerControls DescribeBanner(WindowDescription& window, const QString& text, const QString& image = {},
                              const std::function<void()>& more = {});

} // namespace jornix
