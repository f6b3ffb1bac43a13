#include "core/AboutBox.h"

#include "core/OpenLink.h"
#include "core/StandardWindow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace jornix {
namespace {

const QString LegalNotice =
    QStringLiteral("Copyright \u00a9 Jornix. All rights reserved. This program is protected by copyright law "
                   "and international treaties.");

class AboutBoxWindow : public StandardWindow
{
public:
    AboutBoxWindow() : StandardWindow(QStringLiteral("AboutBox"), QStringLiteral("About Jornix"))
    {
        // The product beside the logo as the window's heading, the addresses under it, the notices under a
        // line, and Continue at the bottom right.
        window.Row([&] {
            window.Image(QStringLiteral("~jornix.svg")).Name(QStringLiteral("Logo")); // 1
            window.Column([&] {
                product_ = window
                               .Prompt(QStringLiteral("Jornix 2.0")) // 2
                               .Name(QStringLiteral("Product"))
                               .Font({}, HeadingPoints, FontStyle::Bold);
                window
                    .Prompt(QStringLiteral("Your personal journal of the events of your life.")) // 3
                    .Name(QStringLiteral("Description"));
                window.Prompt(QStringLiteral("Version: 2.0.1.0")).Name(QStringLiteral("Version"));  // 4
                window.Prompt(QStringLiteral("E-Mail:"));                                           // 5
                emailRegion_ = window.Button({}).Name(QStringLiteral("EmailLink"));                 // 6
                emailText_ = window.Prompt(MakerEmailAddress).Name(QStringLiteral("EmailAddress")); // 7
                window.Prompt(QStringLiteral("Web:"));                                              // 8
                webRegion_ = window.Button({}).Name(QStringLiteral("WebLink"));                     // 9
                webText_ = window.Prompt(MakerWebAddress).Name(QStringLiteral("WebAddress"));       // 10
            });
            window.Spacer();
        });
        line_ = window.Panel([] {}).Name(QStringLiteral("Line")); // 11
        legal_ = window.Text({}).Name(QStringLiteral("Legal"));   // 12
        window
            .Text(QStringLiteral("Reports and printing: Jornix Report Engine, version 9.0")) // 13
            .Name(QStringLiteral("ReportEngine"));
        window.Buttons([&] {
            continue_ =
                window.Button(QStringLiteral("Continue"), QStringLiteral("OKButton.gif")).Default(); // 14
        });
        LayOver(emailRegion_, emailText_);
        LayOver(webRegion_, webText_);
        auto* line = static_cast<QFrame*>(window.Widget(line_));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedHeight(3);
        SetHelp(QStringLiteral("aboutbox.htm"));
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        window.SetLabel(legal_, LegalNotice);
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (control == continue_)
            Post(Event::CloseWindow);
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        if (control == emailRegion_)
            OpenLink(window.Root(), QStringLiteral("mailto:") + MakerEmailAddress);
        else if (control == webRegion_)
            OpenLink(window.Root(), MakerWebAddress);
        return Level::GoOn;
    }

private:
    // A region lies over its address: it holds the address, which leaves the clicks to it, and shows the
    // hand.
    void LayOver(int region, int text)
    {
        auto* button = static_cast<QPushButton*>(window.Widget(region));
        auto* label = static_cast<QLabel*>(window.Widget(text));
        label->setWordWrap(false);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        auto* layout = new QHBoxLayout(button);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(label);
        button->setMinimumSize(label->sizeHint());
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // the address stays beside its prompt
        button->setFlat(true);
        button->setStyleSheet(QStringLiteral("border: none; text-align: left;"));
        button->setCursor(Qt::PointingHandCursor);
    }

    int emailRegion_ = 0;
    int emailText_ = 0;
    int webRegion_ = 0;
    int webText_ = 0;
    int continue_ = 0;
    int product_ = 0;
    int line_ = 0;
    int legal_ = 0;
};

} // namespace

void AboutBox()
{
    RunProcedure<AboutBoxWindow>();
}

} // namespace jornix
