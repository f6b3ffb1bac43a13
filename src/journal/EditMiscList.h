#pragma once

#include <QString>
#include <QStringList>

// The items of a drop list or combo box of a user-defined field, kept as one text with the items separated
// by "|", and the window "Update Misc List" that edits them one per line.
namespace jornix {

// Runs "Update Misc List" on the caller's thread over the items given. OK answers "completed" and gives the
// edited items; Cancel (or the close box) answers "cancelled" and gives a blank text. The response is also
// left in the thread's GlobalResponseCode.
QString EditMiscList(const QString& list);

// The items of a list, each without its trailing blanks; a blank list has none.
QStringList MiscListItems(const QString& list);
// The items one per line ("\n"); an empty item gives an empty line.
QString MiscListLines(const QString& list);
// Back from lines: each line one item without its trailing blanks, joined with "|"; blank lines at the end
// are dropped, blank lines between items give empty items.
QString MiscListFromLines(const QString& lines);

} // namespace jornix
