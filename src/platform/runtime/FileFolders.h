#pragma once

#include <QString>

// Where the file dialogs of a kind of file start: in the folder of the kind where the user last chose a file,
// else in the user's own folder for the kind (the desktop's pictures, documents or music folder), else in the
// home folder; never in the program's current folder, which holds the program's own data.
namespace jornix {

enum class FileKind
{
    Any,       // no folder of its own: the dialog starts where the caller says
    Pictures,  // pictures put into documents
    Documents, // text and rich-text files, report output
    Music      // voice messages
};

class FileFolders
{
public:
    // The folder a dialog for the kind starts in (Any: empty).
    static QString StartFolder(FileKind kind);
    // The path a dialog starts at: a path that names a folder stays; a bare file name (or none) is put into
    // the kind's start folder.
    static QString StartPath(FileKind kind, const QString& path);
    // Remembers the folder of a file (or the folder) the user chose, for the next dialog of the kind.
    static void Remember(FileKind kind, const QString& chosen);
    // Forgets what was chosen (tests).
    static void Forget();
};

} // namespace jornix
