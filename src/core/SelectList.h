#pragma once

#include "core/StandardList.h"

// A list opened on its caller's thread to choose a record: Select (or a row chosen with a double click or
// Enter) leaves the highlighted record in the calling thread's buffer of the table and returns "completed";
// Cancel returns "cancelled" and leaves the buffer as the list last loaded it.
namespace jornix {

class SelectList : public StandardList
{
public:
    SelectList(const QString& procedureName, const QString& caption);

protected:
    // After SetList: the list's select button, and the button that cancels.
    void SetSelectButtons(int selectButton, int cancelButton);
    int SetUpForm() override;

private:
    int cancelButton_ = 0;
};

} // namespace jornix
