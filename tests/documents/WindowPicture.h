#pragma once

#include "platform/framework/WindowController.h"

#include <QRect>
#include <QtTest>
#include <QWidget>

// Checks that every control shown lies inside its window and grabs the window to a PNG in the folder named by
// JORNIX_PICTURES, to be looked at.
inline void CheckWindowPicture(jornix::WindowController& window, const QString& name)
{
    QWidget* root = window.window.Root();
    for (QWidget* child : root->findChildren<QWidget*>())
        if (child->isVisible())
            QVERIFY2(
                QRect(QPoint(), root->size()).contains(QRect(child->mapTo(root, QPoint()), child->size())),
                qPrintable(child->objectName()));
    const QString folder = qEnvironmentVariable("JORNIX_PICTURES");
    if (!folder.isEmpty())
        root->grab().save(folder + "/" + name + ".png");
}
