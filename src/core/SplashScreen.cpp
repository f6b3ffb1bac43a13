#include "core/SplashScreen.h"

#include "core/StandardWindow.h"

#include <QWidget>

namespace jornix {
namespace {

constexpr int ShowFor = 300; // hundredths of a second

class SplashScreenWindow : public StandardWindow
{
public:
    SplashScreenWindow() : StandardWindow(QStringLiteral("SplashScreen"), QString())
    {
        window.Image(QStringLiteral("splash.bmp")).Name(QStringLiteral("Splash"));
        window.Root()->setWindowFlag(Qt::FramelessWindowHint);
        SetHelp(QString());
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        SetTimer(ShowFor);
        AlertKey(MouseKey::Left);
        AlertKey(MouseKey::LeftDouble);
        AlertKey(MouseKey::Right);
        return Level::GoOn;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        const int level = StandardWindow::OnWindowEvent(event);
        switch (event.event) {
        case Event::GainFocus:
            hadFocus_ = true;
            break;
        case Event::LoseFocus:
            // Only a focus it had can be taken from it: a window that was never active stays for its time.
            if (hadFocus_)
                Post(Event::CloseWindow);
            break;
        case Event::AlertKey:
            if (event.key == MouseKey::Left || event.key == MouseKey::LeftDouble ||
                event.key == MouseKey::Right)
                Post(Event::CloseWindow);
            break;
        case Event::Timer:
            Post(Event::CloseWindow);
            break;
        default:
            break;
        }
        return level;
    }

private:
    bool hadFocus_ = false;
};

} // namespace

void SplashScreen()
{
    RunProcedure<SplashScreenWindow>();
}

} // namespace jornix
