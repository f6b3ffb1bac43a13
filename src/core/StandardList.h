#pragma once

#include "core/StandardBrowseList.h"
#include "core/StandardWindow.h"

#include <QString>

#include <functional>

// The list window of one area of records: a child window of the frame with its list, the buttons Insert,
// Change, Delete, Copy and Print and a form to call. A window built on it says in its constructor what it
// shows (SetArea, RegisterKind, UseTable, SetHelp ... and SetListButtons, SetForm) and sets its list's
// orders and columns in SetUpListOrders. The base does the rest the same way for every area:
// - the list is read once the window is open, again on the refresh event, and after every form it called;
// - a user who may only view the area reads "View" on Change, gets no Insert, Delete or Copy and no Copy or
//   Print in the popup menu;
// - Copy primes the next insert from the highlighted record; Print hands the highlighted record's number to
//   the print procedure the window names.
namespace jornix {

class StandardList : public StandardWindow
{
public:
    // The form: a procedure called on the window's own thread with the request in GlobalRequestCode, that
    // leaves its response in GlobalResponseCode. Print: the highlighted record's number.
    using FormProcedure = std::function<void()>;
    using PrintProcedure = std::function<void(qint32 number)>;

    StandardList(const QString& procedureName, const QString& caption, WindowType type = WindowType::Child);

    int Init() override;
    int OnAccepted(int control) override;
    int OnNewSelection(int control) override;
    int OnWindowEvent(const FrameworkEvent& event) override;
    int RunSubProcedure(int number, int request) override;

protected:
    // The area: its access level and its words in the "Access Denied" text.
    void SetArea(const quint8& level, const QString& areaWords);
    // The list and its view; the buttons (0: the window has none).
    void SetList(StandardBrowseList& list, View& view, TableRelations& relations, int listControl);
    void SetListButtons(int insertButton, int changeButton, int deleteButton, int copyButton = 0,
                        int printButton = 0);
    void SetSheet(int sheet);
    void SetForm(FormProcedure form) { form_ = std::move(form); }
    void SetPrint(PrintProcedure print) { print_ = std::move(print); }

    void SetUpLists() override;
    void SetUpPopupMenu() override;

    StandardBrowseList* list_ = nullptr;

private:
    View* view_ = nullptr;
    TableRelations* relations_ = nullptr;
    int listControl_ = 0;
    int insertButton_ = 0, changeButton_ = 0, deleteButton_ = 0, copyButton_ = 0, printButton_ = 0;
    int sheet_ = 0;
    const quint8* areaLevel_ = nullptr;
    FormProcedure form_;
    PrintProcedure print_;
};

} // namespace jornix
