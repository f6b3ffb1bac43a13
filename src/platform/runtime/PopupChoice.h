#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QMenu;

// A popup menu that waits for the user's choice, like a message box: the running thread gives way while it
// is open and gets the number of the item chosen.
//
// The menu is given as text: items separated by "|", "-" alone a separator line, "{" after a text opens a
// submenu under that text and "}" closes it; in front of an item "~" shows it disabled, "+" with a check
// mark and "-" checkable without one. "Table{Properties...|-|~Delete Table}|Cut" has the submenu
// "Table" with two items and a separator, then "Cut". Items count from 1 in the order of the text,
// submenu items included, submenu titles and separators not.
namespace jornix {

struct PopupEntry
{
    int number = 0; // the item's number from 1; 0 for separators and submenu titles
    int depth = 0;  // 0 in the menu itself, 1 in a submenu, ...
    QString text;   // empty for a separator
    bool separator = false;
    bool submenu = false; // a title that opens the entries that follow at depth + 1
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

// The entries of a menu text in order. Empty items (a trailing "|", blanks) are left out.
std::vector<PopupEntry> ParsePopupText(const QString& text);

// Fills the menu with the entries; each item's action carries its number as data.
void FillPopupMenu(QMenu& menu, const std::vector<PopupEntry>& entries);

// Opens the menu at the screen position and waits; the number of the item chosen, 0 when the menu was
// closed without a choice. Must run on a program thread.
int ShowPopup(const QString& text, const QPoint& screenPosition);

// Tests replace the menu with a sink that gets the entries and answers with an item number.
using PopupSink = std::function<int(const std::vector<PopupEntry>& entries)>;
void SetPopupSink(PopupSink sink); // an empty sink restores the real menu

} // namespace jornix
