#pragma once

#include "core/StandardWindow.h"

#include <QString>

#include <functional>

namespace jornix {

// A wizard: a sheet of pages whose tabs do not show (the program turns the pages), each page headed by its
// title, and the buttons "Next >>", "Cancel" and Help under it. A wizard describes its pages in its
// constructor with DescribeWizard and AddPage, and answers Next and Cancel. The headings are named "Title1",
// "Title2" ..., the sheet "Sheet" and the buttons "Next", "Cancel" and "Help", so that tests find them.
class StandardWizard : public StandardWindow
{
public:
    StandardWizard(const QString& procedureName, const QString& caption);

protected:
    // The pages (described with AddPage), beside the image when one is given, then the buttons; Help shows
    // the topic and the focus starts on "Next >>".
    void DescribeWizard(const std::function<void()>& pages, const QString& helpTopic,
                        const QString& image = {});
    // A page headed by its title; gives the heading's control.
    int AddPage(const QString& title, const std::function<void()>& body);
    void TurnTo(int page); // selects the page (from 1) and shows the values again
    // Ends the wizard with the response; the close box that this posts then closes the window.
    void Close(int response);
    bool Closing() const { return closing_; }

    // The buttons, once the controls have written their values: Next and Cancel, the "..." button beside a
    // page's file or folder entry (browse_, when the wizard has one), and any other control of the pages that
    // gives Accepted.
    virtual void Next() = 0;
    virtual void Cancel() = 0;
    virtual void Browse() {}
    virtual void Pressed(int control);

    // The close box asks as Cancel does, but not while the wizard is at its work; once the work is done it
    // finishes as the last page's button does.
    virtual bool WorkDone() const = 0;
    virtual bool Working() const { return false; }
    virtual void FinishDone() = 0;

    int OnAccepted(int control) override;
    int OnCloseRequest() override;

    int sheet_ = 0, next_ = 0, cancel_ = 0, help_ = 0, browse_ = 0;

private:
    int pageCount_ = 0;
    bool closing_ = false;
};

} // namespace jornix
