#pragma once

#include "core/StandardWindow.h"

#include <QString>

// A pane docked at a side of the frame: a banner with the pane's icon and name and a small "X" that asks
// "Close the window?" with the pane's own question before the pane closes. A pane built on it describes its
// own controls after the banner, in its constructor, and may end with a hidden button that closes it
// (SetCancelButton): the "X" presses that button once the user says Yes. Closing a pane changes no setting,
// so the frame's next start opens it again where the settings say so.
namespace jornix {

class DockedPane : public StandardWindow
{
public:
    DockedPane(const QString& procedureName, const QString& paneText, const QString& closeQuestion,
               const QString& bannerImage = {});

    int OnAccepted(int control) override;

    int BannerControl() const { return banner_; }
    int CloseControl() const { return closeButton_; }
    const QString& PaneText() const { return paneText_; }

protected:
    // The pane's cancel action: pressing the button ends the pane with "cancelled".
    void SetCancelButton(int button) { cancelButton_ = button; }
    int SetUpForm() override;

private:
    QString paneText_;
    QString closeQuestion_;
    int banner_ = 0;
    int closeButton_ = 0;
    int cancelButton_ = 0;
};

} // namespace jornix
