#pragma once

#include <QApplication>
#include <QWidget>

// The visible top-level window of type T with the given title, or nullptr.
template <class T> T* VisibleWindow(const QString& title)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget);
            window && window->isVisible() && window->windowTitle() == title)
            return window;
    }
    return nullptr;
}
