#pragma once

#include "core/StandardWindow.h"

#include <QString>

#include <functional>
#include <vector>

// The panes of the side menu bar's groups. Each group's pane runs on a thread of its own from the group's
// first header press until the program ends; its window is hidden, and the bar's item buttons copy the looks
// of the pane's buttons and relay presses to them, so that the group's windows are started from the pane's
// thread. The eight panes are one class, configured per group.
namespace jornix {

struct MenuBarPaneButton
{
    QString text;
    QString image;
    std::function<void()> action;
};

struct MenuBarPaneDescription
{
    QString procedure;
    int group = 0;
    std::vector<MenuBarPaneButton> buttons; // in control order, from 1
    int firstButton = 1;                    // pressed when the pane first opens
    std::vector<qint16> items;              // by item of the group: the button the item mirrors
};

class MenuBarPane : public StandardWindow
{
public:
    explicit MenuBarPane(MenuBarPaneDescription description);

    int Init() override;
    int Kill() override;
    void Open() override;
    int DispatchEvent(const FrameworkEvent& event) override;
    int OnWindowEvent(const FrameworkEvent& event) override;
    int OnAccepted(int control) override;

    int Group() const { return description_.group; }

protected:
    void SetUpWindow() override;

private:
    MenuBarPaneDescription description_;
    bool paneRegistered_ = false;
};

// The panes, group 1 to 8.
void JornixTAB();
void ReminderTAB();
void TasksTAB();
void StickyNotesTAB();
void ContactsTAB();
void ScrapBookTAB();
void ReportsTAB();
void SetupTAB();

} // namespace jornix
