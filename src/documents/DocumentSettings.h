#pragma once

#include <QString>

class QWidget;

// What the program hands the document component at start: the settings manager, in whose file the component's
// windows keep their placement, and the data folder in use, where the component keeps its own tables. The
// component links no part of the program, so the program tells it once, after it has chosen its folders.
namespace jornix {

class IniSettings;

void SetDocumentSettings(IniSettings* settings, const QString& dataFolder);
IniSettings* DocumentSettings(); // nullptr until the program has set it
QString DocumentDataFolder();    // ends in "/"; empty until the program has set it

// A window's placement in the section of the settings file named after its procedure: "Maximize" ("Yes" or
// "No"), "XPosit", "YPosit", "Width" and "Height". Restoring places the window only when "XPosit" and
// "YPosit" are both set and not 0, and sizes it only when it is resizable and both sizes are set; then
// maximizes it when "Maximize" is "Yes". Saving writes nothing for a minimized window.
void RestorePlacement(const QString& section, QWidget* window, bool resizable);
void SavePlacement(const QString& section, const QWidget* window);

} // namespace jornix
