#pragma once

#include "core/HtmlHelpClass.h"
#include "platform/framework/ToolbarController.h"
#include "platform/framework/WindowController.h"

#include <QString>

#include <memory>
#include <vector>

// The standard Init and Kill of Jornix's windows. A window says in its constructor which steps it needs (its
// area and access words, its registry entry, whether it keeps its placement, its help topic) and fills the
// hooks of the steps that are its own; Init and Kill run every step in the one order all windows follow:
//
//   Init:  1 record the procedure name   2 REQUEST := GlobalRequestCode   3 the framework's Init
//          4 FIRSTFIELD, VCRREQUEST, ERRORS   5 access check   6 one window per kind   7 clear both codes
//          8 the toolbar   9 form set-up   10 open the tables   11 prepare the form's record   12 lists
//          13 open the window   14 window-specific set-up ("View", minimum size)   15 list orders
//          16 resizer   17 restore the placement   18 alert keys   19 popup menu   20 help   21 the result
// The procedure name goes to the error reporter as the thread's procedure (steps 1 and Kill 5). The lists a
// window holds (AddList) take part in steps 12, 14 and 19 and are read when Init is done.
//
//   Kill:  1 the framework's Kill   2 close the tables   3 save the placement   4 leave the registry
//          5 remove the procedure name   6 end the help object
namespace jornix {

class StandardBrowseList;

class StandardWindow : public WindowController
{
public:
    static constexpr int HelpKey = 123;      // F12; F1 acts as the help key too
    static constexpr int HeadingPoints = 14; // the size of a window's heading ("Welcome to Jornix")
    static inline const QString HelpFile = QStringLiteral("Jornix.chm");

    StandardWindow(const QString& procedureName, const QString& caption,
                   WindowType type = WindowType::Dialog);
    ~StandardWindow() override;

    int Init() override;
    int Kill() override;
    int OnAccepted(int control) override;
    int OnNewSelection(int control) override;
    int OnWindowEvent(const FrameworkEvent& event) override;
    // The form of the list whose form number is given; "cancelled" when the window itself may only view.
    int RunSubProcedure(int number, int request) override;

    ToolbarController toolbar;

    HtmlHelpClass* Help() const { return help_.get(); }
    bool Registered() const { return registered_; }
    int AccessLevel() const { return accessLevel_ ? *accessLevel_ : 2; }

protected:
    // The steps a window needs, set in its constructor.
    // Step 5: the user's level for the window's area and the area's words in the "Access Denied" text. A form
    // whose user may only view opens view-only.
    void CheckAccess(const quint8& level, const QString& areaWords, bool formViewOnly = false);
    // Step 6: the window's entry of the registry of window kinds; a second start brings the first forward.
    void RegisterKind(ThreadNumber& registryEntry);
    void KeepPlacement();                                   // steps 17 and Kill 3
    void SetHelp(const QString& topic, int helpButton = 0); // step 20; a blank topic shows the contents
    void NoHelp();
    void SetFirstField(int control);          // step 4; 1 unless set
    void KeepMinimumSize();                   // step 14: never smaller than it opened
    void UseTable(TableRelations& relations); // steps 10 and Kill 2: opened in Init, closed in Kill
    // A list of the window (steps 12, 14, 19; read at the end of Init and again on the refresh event). The
    // n-th list added runs the window's sub-procedure n as its form. The toolbar acts on the list that has
    // the focus, or on the first one.
    void AddList(StandardBrowseList& list);
    // The heading of a list window: its name in bold in a panel across the top ("Manage Users").
    int DescribeHeading(const QString& text);

    // The hooks of the steps that are the window's own; each does nothing here.
    virtual int SetUpForm();        // step 9: update table, Cancel button
    virtual int PrepareRecord();    // step 11: non-zero keeps the window from opening (Init gives 5)
    virtual void SetUpLists();      // step 12
    virtual void SetUpWindow();     // step 14
    virtual void SetUpListOrders(); // step 15
    virtual void SetUpResizer();    // step 16
    virtual void SetUpPopupMenu();  // step 19

private:
    void StartHelp();

    const quint8* accessLevel_ = nullptr;
    QString areaWords_;
    bool formViewOnly_ = false;
    ThreadNumber* registryEntry_ = nullptr;
    bool registered_ = false;
    bool keepsPlacement_ = false;
    bool hasHelp_ = true;
    QString helpTopic_;
    int helpButton_ = 0;
    int firstField_ = 1;
    bool keepMinimumSize_ = false;
    std::unique_ptr<HtmlHelpClass> help_;
    std::unique_ptr<WindowComponent> helpKeys_;
    std::vector<TableRelations*> tables_;
    std::vector<StandardBrowseList*> lists_;
    std::unique_ptr<ToolbarTarget> focusedList_;
};

} // namespace jornix
