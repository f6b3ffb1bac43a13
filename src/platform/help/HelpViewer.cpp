#include "platform/help/HelpViewer.h"
#include "platform/help/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <map>

namespace jornix {
namespace {

HelpSink sink;
QString folder;
// One window per help file; a window the user closed is gone and forgotten.
std::map<QString, QPointer<HelpWindow>> windows;

const QLatin1String pageSeparator("::/");

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
