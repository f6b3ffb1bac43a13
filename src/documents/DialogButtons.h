#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QWidget;

namespace jornix {

// The OK and Cancel buttons of the document component's windows, named "OK" and "Cancel", wired to the
// dialog's accept() and reject().
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A row of a form: the prompt (its mnemonic reaching the entry) and the entry, followed by the unit's
// label when one is given.
void AddPromptRow(QFormLayout* rows, const QString& prompt, QWidget* entry, const QString& unit = {});

} // namespace jornix
