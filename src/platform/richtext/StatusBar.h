#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace jornix {

class RichTextControl;

// The control's status bar: the caret's line and column.
class StatusBar : public QWidget
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Called by RichTextControl::SetStatusBar; nullptr detaches.
    void Attach(RichTextControl* control);
    RichTextControl* Control() const { return control_; }
    QString Text() const;

private:
    void showPosition();

    QPointer<RichTextControl> control_;
    QLabel* position_;
};

} // namespace jornix
