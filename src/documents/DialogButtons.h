#pragma once

class QDialog;
class QDialogButtonBox;

namespace jornix {

// The OK and Cancel buttons of the document component's windows, named "OK" and "Cancel", wired to the
// dialog's accept() and reject().
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

} // namespace jornix
