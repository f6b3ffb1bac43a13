#pragma once

#include "core/StandardBrowseList.h"
#include "core/StandardWindow.h"

#include <QString>

// The list window of one area of records: a child window of the frame with one list (StandardBrowseList: its
// buttons Insert, Change, Delete, Copy and Print, its form and its access rules). A window built on it says
// in its constructor what it shows (SetArea, RegisterKind, UseTable, SetHelp ... and SetList,
// list_->SetButtons, SetForm) and sets its list's orders and columns in SetUpListOrders. A window of several
// lists, or a pane with a list, adds each list with StandardWindow::AddList instead.
namespace jornix {

class StandardList : public StandardWindow
{
public:
    using FormProcedure = StandardBrowseList::FormProcedure;
    using PrintProcedure = StandardBrowseList::PrintProcedure;

    StandardList(const QString& procedureName, const QString& caption, WindowType type = WindowType::Child);

protected:
    // The area: its access level (the window's and the list's) and its words in the "Access Denied" text.
    void SetArea(const quint8& level, const QString& areaWords);
    // The list and its view; then its sheet of order tabs, its form and print procedure. Its buttons are set
    // on the list itself (list_->SetButtons).
    void SetList(StandardBrowseList& list, View& view, TableRelations& relations, int listControl);
    void SetSheet(int sheet) { list_->SetOrderTabs(sheet); }
    void SetForm(FormProcedure form) { list_->SetForm(std::move(form)); }
    void SetPrint(PrintProcedure print) { list_->SetPrint(std::move(print)); }

    StandardBrowseList* list_ = nullptr;

private:
    const quint8* areaLevel_ = nullptr;
};

} // namespace jornix
