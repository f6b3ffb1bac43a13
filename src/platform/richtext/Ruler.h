#pragma once

#include <QPointer>
#include <QWidget>

namespace jornix {

class RichTextControl;

// The control's ruler: the page's text width between its margins, marked in the scale unit.
class Ruler : public QWidget
{
    Q_OBJECT

public:
    enum ScaleUnit
    {
        Millimetres = 0,
        Centimetres = 1,
        Inches = 2
    };

    explicit Ruler(QWidget* parent = nullptr);

    // Called by RichTextControl::SetRuler; nullptr detaches.
    void Attach(RichTextControl* control);
    RichTextControl* Control() const { return control_; }

    int ScaleUnits() const { return scaleUnits_; }
    void SetScaleUnits(int unit); // 0 millimetres, 1 centimetres, 2 inches; anything else millimetres

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<RichTextControl> control_;
    int scaleUnits_ = Millimetres;
};

} // namespace jornix
