#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace jornix {

// Opens a document, a web address or a "mailto:" link with the desktop's handler (xdg-open, started without a
// shell: the text is its one argument) and returns the result the callers test: above 32 success, 2 the file
// is missing (or the text is blank), 31 nothing handles it. Trailing blanks are removed; an address that
// starts with "www." gets "http://". The thread gives way until xdg-open has finished. The window is the one
// asking.
int ShellOpen(QWidget* window, const QString& document);

// The seam for tests: the runner gets xdg-open's argument and returns its exit code (-1 when it could not
// start). An empty runner restores xdg-open.
using ShellOpenRunner = std::function<int(const QString& argument)>;
void SetShellOpenRunner(ShellOpenRunner runner);

} // namespace jornix
