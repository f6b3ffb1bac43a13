#include "platform/runtime/FileFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <map>

namespace jornix {
namespace {

std::map<FileKind, QString>& LastFolders()
{
    static std::map<FileKind, QString> folders;
    return folders;
}

QString UsersFolder(FileKind kind)
{
    QStandardPaths::StandardLocation location = QStandardPaths::DocumentsLocation;
    switch (kind) {
    case FileKind::Pictures:
        location = QStandardPaths::PicturesLocation;
        break;
    case FileKind::Music:
        location = QStandardPaths::MusicLocation;
        break;
    default:
        break;
    }
    const QString folder = QStandardPaths::writableLocation(location);
    // A desktop without the folder (no xdg-user-dirs, the folder removed) starts in the home folder.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

QString FileFolders::StartFolder(FileKind kind)
{
    if (kind == FileKind::Any)
        return {};
    const auto last = LastFolders().find(kind);
    if (last != LastFolders().end() && QFileInfo(last->second).isDir())
        return last->second;
    return UsersFolder(kind);
}

QString FileFolders::StartPath(FileKind kind, const QString& path)
{
    const QString given = path.trimmed();
    if (kind == FileKind::Any || (!given.isEmpty() && given.contains(QLatin1Char('/'))))
        return path;
    const QDir folder(StartFolder(kind));
    return given.isEmpty() ? folder.path() : folder.filePath(given);
}

void FileFolders::Remember(FileKind kind, const QString& chosen)
{
    if (kind == FileKind::Any || chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    LastFolders()[kind] = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

void FileFolders::Forget()
{
    LastFolders().clear();
}

} // namespace jornix
