#pragma once

#include <QString>

class QWidget;

namespace jornix {

// The maker's addresses that the program's links open.
inline const QString MakerWebAddress = QStringLiteral("https://www.jornix.example/");
inline const QString MakerEmailAddress = QStringLiteral("support@jornix.example");

// Opens a web address, a "mailto:" link or a document with the desktop's program for it. A link that nothing
// on this computer opens is said so ("Error Launching Document"); returns whether it opened.
bool OpenLink(QWidget* window, const QString& link);

} // namespace jornix
