#include "core/Banner.h"

#include <QColor>

namespace jornix {

BannerControls DescribeBanner(WindowDescription& window, const QString& text, const QString& image,
                              const std::function<void()>& more)
{
    BannerControls banner;
    banner.panel = window
                       .Panel([&] {
                           window.Row([&] {
                               if (!image.isEmpty())
                                   banner.image = window.Image(image).Name(QStringLiteral("BannerIcon"));
                               banner.text = window.Prompt(text)
                                                 .Name(QStringLiteral("Banner"))
                                                 .Font(QStringLiteral("Arial"), 0, FontStyle::Bold)
                                                 .TextColor(Qt::white);
                               window.Spacer();
                               if (more)
                                   more();
                           });
                       })
                       .Name(QStringLiteral("TopPanel"))
                       .FillColor(QColor(128, 128, 128));
    return banner;
}

} // namespace jornix
