#pragma once

#include <QDir>
#include <QWidget>

// Saves a picture of a window into the folder that JORNIX_PICTURES names, to look at how it appears; nothing
// when the variable is not set.
namespace jornix::test {

inline void SavePicture(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("JORNIX_PICTURES");
    if (folder.isEmpty() || !window)
        return;
    QDir().mkpath(folder);
    window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace jornix::test
