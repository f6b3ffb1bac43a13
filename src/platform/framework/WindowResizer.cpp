#include "platform/framework/WindowResizer.h"

#include <QLayout>
#include <QWidget>

namespace jornix {
namespace {

QLayout* LayoutOf(QWidget* widget)
{
    return widget && widget->parentWidget() ? widget->parentWidget()->layout() : nullptr;
}

} // namespace

void WindowResizer::Init(WindowDescription& window, bool keepMinimum)
{
    window_ = &window;
    if (keepMinimum) {
        QWidget* root = window.Root();
        root->setMinimumSize(root->size().expandedTo(root->minimumSizeHint()));
    }
}

void WindowResizer::SetControlStrategy(int control, int position, int size)
{
    QWidget* widget = window_ ? window_->Widget(control) : nullptr;
    if (!widget || control == 0)
        return;
    QSizePolicy policy = widget->sizePolicy();
    policy.setHorizontalPolicy(size & Sizing::Width ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    policy.setVerticalPolicy(size & Sizing::Height ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    widget->setSizePolicy(policy);
    Qt::Alignment alignment;
    if (!(size & Sizing::Width))
        alignment |= position & Anchor::Centre  ? Qt::AlignHCenter
                     : position & Anchor::Right ? Qt::AlignRight
                                                  : Qt::AlignLeft;
    if (!(size & Sizing::Height))
        alignment |= position & Anchor::Bottom ? Qt::AlignBottom : Qt::AlignTop;
    if (QLayout* layout = LayoutOf(widget))
        layout->setAlignment(widget, alignment);
}

void WindowResizer::RemoveControl(int control)
{
    QWidget* widget = window_ ? window_->Widget(control) : nullptr;
    if (!widget || control == 0)
        return;
    widget->setFixedSize(widget->size().expandedTo(widget->sizeHint()));
    if (QLayout* layout = LayoutOf(widget))
        layout->setAlignment(widget, Qt::AlignLeft | Qt::AlignTop);
}

void WindowResizer::Resize()
{
    if (window_ && window_->Root()->layout())
        window_->Root()->layout()->activate();
}

int WindowResizer::TakeEvent(const FrameworkEvent& event)
{
    if (event.event == Event::Sized && event.control == 0)
        Resize();
    return Level::GoOn;
}

QSize WindowResizer::MinimumSize() const
{
    return window_ ? window_->Root()->minimumSize() : QSize();
}

} // namespace jornix
