#include "core/StandardWizard.h"

namespace jornix {

StandardWizard::StandardWizard(const QString& procedureName, const QString& caption)
    : StandardWindow(procedureName, caption)
{
}

void StandardWizard::DescribeWizard(const std::function<void()>& pages, const QString& helpTopic,
                                    const QString& image)
{
    window.Row([&] {
        if (!image.isEmpty())
            window.Image(image).Name(QStringLiteral("Logo"));
        sheet_ = window.Sheet(pages).HideTabs().Stretch();
    });
    window.Buttons([&] {
        next_ = window.Button(QStringLiteral("Next >>")).Name(QStringLiteral("Next")).Default();
        cancel_ = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                      .Name(QStringLiteral("Cancel"));
        help_ = window.Button(QString(), QStringLiteral("help.gif"))
                    .Name(QStringLiteral("Help"))
                    .Tip(QStringLiteral("Help"));
    });
    SetHelp(helpTopic, help_);
    SetFirstField(next_);
}

int StandardWizard::AddPage(const QString& title, const std::function<void()>& body)
{
    const int number = ++pageCount_;
    int heading = 0;
    window.Tab(title, [&] {
        heading = window.Text(title)
                      .Name(QStringLiteral("Title%1").arg(number))
                      .Font({}, HeadingPoints, FontStyle::Bold);
        body();
        window.Spacer(); // the page reads from the top
    });
    return heading;
}

void StandardWizard::TurnTo(int page)
{
    window.SelectTab(sheet_, page);
    window.ShowValues();
}

void StandardWizard::Close(int response)
{
    closing_ = true;
    SetResponse(response);
}

void StandardWizard::Pressed(int) {}

int StandardWizard::OnAccepted(int control)
{
    if (const int level = StandardWindow::OnAccepted(control))
        return level;
    Update();
    if (control == next_)
        Next();
    else if (control == cancel_)
        Cancel();
    else if (browse_ && control == browse_)
        Browse();
    else
        Pressed(control);
    return Level::GoOn;
}

int StandardWizard::OnCloseRequest()
{
    if (closing_)
        return Level::GoOn;
    Update();
    if (WorkDone())
        FinishDone();
    else if (!Working())
        Cancel();
    return Level::Stop;
}

} // namespace jornix
