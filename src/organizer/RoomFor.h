#pragma once

#include <QFontMetrics>
#include <QWidget>

namespace jornix {

// Opens a list or a text box large enough for a number of average characters across and lines down, in the
// widget's own font.
inline void SetRoomFor(QWidget* widget, int characters, int lines)
{
    const QFontMetrics metrics = widget->fontMetrics();
    widget->setMinimumSize(metrics.averageCharWidth() * characters, metrics.lineSpacing() * lines);
}

} // namespace jornix
