#include "platform/reportengine/PreviewWindow.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace jornix {

namespace {

constexpr double ScreenDpi = 96;

QPushButton* Button(QWidget* parent, const QString& text, const QString& name, const QString& icon)
{
    auto* button = new QPushButton(QIcon::fromTheme(icon), text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

PreviewWindow::PreviewWindow(PageSpool& spool, const QString& title)
    : spool_(spool), first_(Button(this, tr("&First"), "firstPage", "go-first")),
      previous_(Button(this, tr("&Previous"), "previousPage", "go-previous")),
      next_(Button(this, tr("&Next"), "nextPage", "go-next")),
      last_(Button(this, tr("&Last"), "lastPage", "go-last")), pageLabel_(new QLabel(this)),
      zoomBox_(new QComboBox(this)), scroll_(new QScrollArea(this)), view_(new QLabel)
{
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    zoomBox_->setObjectName(QStringLiteral("zoomBox"));
    for (const auto& [text, percent] : QList<std::pair<QString, int>>{{tr("Whole page"), 0},
                                                                        {tr("Page width"), -1},
                                                                        {"50%", 50},
                                                                        {"75%", 75},
                                                                        {"100%", 100},
                                                                        {"150%", 150},
                                                                        {"200%", 200}})
        zoomBox_->addItem(text, percent);
    auto* print = Button(this, tr("P&rint..."), "printButton", "document-print");
    auto* close = Button(this, tr("&Close"), "closeButton", "window-close");

    auto* bar = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(first_), static_cast<QWidget*>(previous_),
                            static_cast<QWidget*>(pageLabel_), static_cast<QWidget*>(next_),
                            static_cast<QWidget*>(last_)})
        bar->addWidget(widget);
    bar->addSpacing(16);
    auto* zoomLabel = new QLabel(tr("&Zoom:"), this);
    zoomLabel->setBuddy(zoomBox_);
    bar->addWidget(zoomLabel);
    bar->addWidget(zoomBox_);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(close);

    view_->setObjectName(QStringLiteral("pageView"));
    view_->setAlignment(Qt::AlignCenter);
    scroll_->setObjectName(QStringLiteral("pageArea"));
    scroll_->setWidget(view_);
    scroll_->setWidgetResizable(true);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    connect(first_, &QPushButton::clicked, this, [this] { ShowPage(1); });
    connect(previous_, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(last_, &QPushButton::clicked, this, [this] { ShowPage(spool_.PageCount()); });
    connect(zoomBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { SetZoom(zoomBox_->itemData(index).toInt()); });
    connect(print, &QPushButton::clicked, this, [this] { done(PrintRequested); });
    // The keys of a document viewer.
    const QList<std::pair<QKeySequence, QPushButton*>> keys{{QKeySequence(Qt::Key_PageDown), next_},
                                                            {QKeySequence(Qt::Key_PageUp), previous_},
                                                            {QKeySequence(Qt::CTRL | Qt::Key_Home), first_},
                                                            {QKeySequence(Qt::CTRL | Qt::Key_End), last_},
                                                            {QKeySequence::Print, print}};
    for (const auto& [key, button] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, button, &QPushButton::click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    QSize size(760, 900);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    scroll_->viewport()->installEventFilter(this);
    resize(size);
    ShowPage(1);
}

void PreviewWindow::ShowPage(int page)
{
    page_ = std::clamp(page, 1, std::max(spool_.PageCount(), 1));
    const int count = spool_.PageCount();
    pageLabel_->setText(tr("Page %1 of %2").arg(page_).arg(count));
    first_->setEnabled(page_ > 1);
    previous_->setEnabled(page_ > 1);
    next_->setEnabled(page_ < count);
    last_->setEnabled(page_ < count);
    Render();
}

void PreviewWindow::SetZoom(int percent)
{
    zoom_ = percent;
    const int index = zoomBox_->findData(percent);
    if (index >= 0 && index != zoomBox_->currentIndex())
        zoomBox_->setCurrentIndex(index);
    Render();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && zoom_ <= 0)
        Render();
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::Render()
{
    Page page;
    if (!spool_.Read(page_ - 1, page)) {
        view_->setText(tr("This page cannot be shown."));
        image_ = QImage();
        return;
    }
    // The page's size in millimetres at the zoom, fitted to the view for the two fitting zooms.
    const QSize room = scroll_->viewport()->size() - QSize(24, 24);
    double dpi = ScreenDpi * zoom_ / 100.0;
    if (zoom_ == 0)
        dpi = std::min(room.width() / page.paper.width(), room.height() / page.paper.height()) * 25.4;
    else if (zoom_ < 0)
        dpi = (room.width() - scroll_->verticalScrollBar()->sizeHint().width()) / page.paper.width() * 25.4;
    dpi = std::clamp(dpi, 10.0, 600.0);
    const QSize pixels(qRound(page.paper.width() * dpi / 25.4), qRound(page.paper.height() * dpi / 25.4));
    image_ = QImage(pixels, QImage::Format_RGB32);
    image_.setDotsPerMeterX(qRound(dpi / 0.0254));
    image_.setDotsPerMeterY(qRound(dpi / 0.0254));
    image_.fill(Qt::white);
    QPainter painter(&image_);
    PaintPage(painter, page, spool_.PageCount());
    painter.setPen(Qt::darkGray);
    painter.drawRect(image_.rect().adjusted(0, 0, -1, -1));
    painter.end();
    view_->setPixmap(QPixmap::fromImage(image_));
}

} // namespace jornix
