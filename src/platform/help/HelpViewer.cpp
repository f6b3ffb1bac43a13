#include "platform/help/HelpViewer.h"
#include "platform/help/HelpWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <map>

namespace jornix {
namespace {

HelpSink sink;
QString folder;
// One window per help file; a window the user closed is gone and forgotten.
std::map<QString, QPointer<HelpWindow>> windows;

const QLatin1String pageSeparator("::/");

// A new help window opens centred over the program's main window (the frame), or over the window that is
// active when the program has none, and inside the screen.
void PlaceOverProgram(QWidget* help)
{
    QWidget* over = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!over && window != help && window->isVisible() && qobject_cast<QMainWindow*>(window))
            over = window;
    if (!over)
        over = QApplication::activeWindow();
    QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // No larger than the window it opens over, nor than the screen.
    QRect place(QPoint(), over ? help->size().boundedTo(over->size() * 0.9) : help->size());
    place.moveCenter(over ? over->frameGeometry().center() : area.center());
    if (area.isValid()) {
        place.setSize(place.size().boundedTo(area.size()));
        place.moveLeft(std::clamp(place.left(), area.left(), area.right() - place.width() + 1));
        place.moveTop(std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1));
    }
    help->resize(place.size());
    help->move(place.topLeft());
}

} // namespace

void SetHelpSink(HelpSink newSink)
{
    sink = std::move(newSink);
}

void SetHelpFolder(const QString& newFolder)
{
    folder = newFolder;
}

QString HelpFolder()
{
    if (!folder.isEmpty())
        return folder;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

QWidget* ShowHelp(const HelpRequest& request)
{
    if (sink)
        return sink(request);
    const qsizetype separator = request.path.indexOf(pageSeparator);
    const QString helpFile = separator < 0 ? request.path : request.path.left(separator);
    const QString page = separator < 0 ? QString() : request.path.mid(separator + pageSeparator.size());
    const QString baseName = QFileInfo(helpFile.trimmed()).completeBaseName();
    if (baseName.isEmpty())
        return nullptr;

    QPointer<HelpWindow>& window = windows[baseName.toLower()];
    if (!window) {
        window = new HelpWindow(HelpFolder(), baseName);
        window->setAttribute(Qt::WA_DeleteOnClose);
        PlaceOverProgram(window);
    }
    switch (request.command) {
    case HelpCommand::DisplayTopic:
        if (page.isEmpty())
            window->ShowContents();
        else
            window->ShowTopic(page);
        break;
    case HelpCommand::DisplayContents:
        window->ShowContents();
        break;
    case HelpCommand::DisplayIndex:
        window->ShowIndex(request.keyword);
        break;
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace jornix
