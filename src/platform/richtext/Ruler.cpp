#include "platform/richtext/Ruler.h"

#include "platform/richtext/RichTextControl.h"

#include <QPainter>
#include <QTextFrame>

namespace jornix {

Ruler::Ruler(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Ruler::Attach(RichTextControl* control)
{
    if (control_)
        disconnect(control_, nullptr, this, nullptr);
    control_ = control;
    if (control)
        connect(control, &RichTextControl::PageChanged, this, qOverload<>(&QWidget::update));
    update();
}

void Ruler::SetScaleUnits(int unit)
{
    scaleUnits_ = (unit == Centimetres || unit == Inches) ? unit : Millimetres;
    update();
}

QSize Ruler::sizeHint() const
{
    return {400, fontMetrics().height() + 10};
}

void Ruler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!control_)
        return;
    const PageSettings page = control_->Page();
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const int textTwips = qMax(0, page.width - page.marginLeft - page.marginRight);
    const int textPixels = int(textTwips * pixelsPerTwip);
    // The text starts at the document's left margin: the page's margin in page view.
    const int left =
        control_->viewport()->x() + int(control_->document()->rootFrame()->frameFormat().leftMargin());
    painter.fillRect(QRect(left, 2, textPixels, height() - 4), palette().base());

    // Ticks: millimetres every millimetre and labelled every centimetre; centimetres labelled every
    // centimetre with halves; inches labelled every inch with eighths.
    const double unitTwips = scaleUnits_ == Inches ? 1440.0 : 567.0;
    const int ticksPerUnit = scaleUnits_ == Inches ? 8 : (scaleUnits_ == Centimetres ? 2 : 10);
    painter.setPen(palette().windowText().color());
    for (int tick = 0;; ++tick) {
        const double twips = tick * unitTwips / ticksPerUnit;
        if (twips > textTwips)
            break;
        const int x = left + int(twips * pixelsPerTwip);
        if (tick % ticksPerUnit == 0) {
            if (tick > 0)
                painter.drawText(QRect(x - 20, 0, 40, height()), Qt::AlignCenter,
                                 QString::number(tick / ticksPerUnit));
        } else {
            const int length = (tick * 2) % ticksPerUnit == 0 ? height() / 3 : height() / 5;
            painter.drawLine(x, height() - 2 - length, x, height() - 2);
        }
    }
}

} // namespace jornix
