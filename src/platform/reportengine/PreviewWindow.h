#pragma once

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

// The preview of a print run: one page at a time from the run's page file, with page navigation, zoom,
// print and close. The caller runs it thread-modal; Print finishes it with PrintRequested, and the caller
// prints and shows it again.
namespace jornix {

class PageSpool;

class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PrintRequested = 2;

    PreviewWindow(PageSpool& spool, const QString& title);

    int CurrentPage() const { return page_; } // from 1
    void ShowPage(int page);
    // Zoom in percent; 0 fits the whole page, -1 the page's width.
    void SetZoom(int percent);
    // The page as drawn at the zoom.
    QImage PageImage() const { return image_; }

protected:
    // The fitting zooms follow the view's own size, which is known only once the view is laid out: when the
    // window shows and at each new size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Render();

    PageSpool& spool_;
    int page_ = 1;
    int zoom_ = 0;
    QImage image_;
    QPushButton* first_;
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* last_;
    QLabel* pageLabel_;
    QComboBox* zoomBox_;
    QScrollArea* scroll_;
    QLabel* view_;
};

} // namespace jornix
