#include "documents/DocumentSettings.h"

#include "platform/framework/IniSettings.h"
#include "platform/runtime/ProgramWindow.h"

#include <QWidget>

namespace jornix {
namespace {

IniSettings* settings_ = nullptr;
QString dataFolder_;

} // namespace

void SetDocumentSettings(IniSettings* settings, const QString& dataFolder)
{
    settings_ = settings;
    dataFolder_ = dataFolder;
    if (!dataFolder_.isEmpty() && !dataFolder_.endsWith(QLatin1Char('/')))
        dataFolder_ += QLatin1Char('/');
}

IniSettings* DocumentSettings()
{
    return settings_;
}

QString DocumentDataFolder()
{
    return dataFolder_;
}

void RestorePlacement(const QString& section, QWidget* window, bool resizable)
{
    if (!settings_ || !window)
        return;
    int x = 0, y = 0, width = 0, height = 0;
    settings_->ReadInto(section, QStringLiteral("XPosit"), x);
    if (x != 0 && !window->isMaximized()) {
        settings_->ReadInto(section, QStringLiteral("YPosit"), y);
        if (y != 0)
            window->move(x, y);
        settings_->ReadInto(section, QStringLiteral("Width"), width);
        settings_->ReadInto(section, QStringLiteral("Height"), height);
        if (resizable && width > 0 && height > 0)
            window->resize(width, height);
        // A placement kept on a larger screen comes back where it can be seen.
        KeepInsideVisibleArea(window);
    }
    if (settings_->ReadValue(section, QStringLiteral("Maximize"))
            .trimmed()
            .compare(QStringLiteral("Yes"), Qt::CaseInsensitive) == 0)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void SavePlacement(const QString& section, const QWidget* window)
{
    if (!settings_ || !window || window->isMinimized())
        return;
    // A maximized window keeps the placement it returns to.
    const bool maximized = window->isMaximized();
    // The position as move() takes it, the frame included, so that a restored window stands where it stood.
    const QRect placement = maximized && window->normalGeometry().isValid()
                                ? window->normalGeometry()
                                : QRect(window->pos(), window->size());
    settings_->WriteValue(section, QStringLiteral("Maximize"),
                          maximized ? QStringLiteral("Yes") : QStringLiteral("No"));
    settings_->WriteValue(section, QStringLiteral("XPosit"), placement.x());
    settings_->WriteValue(section, QStringLiteral("YPosit"), placement.y());
    settings_->WriteValue(section, QStringLiteral("Width"), placement.width());
    settings_->WriteValue(section, QStringLiteral("Height"), placement.height());
}

} // namespace jornix
