#pragma once

#include "core/StandardWindow.h"

#include <QString>

// A pane docked at a side of the frame: a banner with the pane's text and a small "X" that asks
// "Close the window?" before the pane closes. A pane built on it describes its own controls after the
// banner, in its constructor.
namespace jornix {

class DockedPane : public StandardWindow
{
public:
    DockedPane(const QString& procedureName, const QString& paneText);

    int OnAccepted(int control) override;

    int BannerControl() const { return banner_; }
    int CloseControl() const { return closeButton_; }
    const QString& PaneText() const { return paneText_; }

private:
    QString paneText_;
    int banner_ = 0;
    int closeButton_ = 0;
};

} // namespace jornix
