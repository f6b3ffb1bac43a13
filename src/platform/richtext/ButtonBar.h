#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QToolButton;

namespace jornix {

class RichTextControl;

// The control's button bar: font, size, bold, italic, underline and paragraph alignment of the selection.
// It follows the format at the caret of the control it is attached to.
class ButtonBar : public QWidget
{
    Q_OBJECT

public:
    explicit ButtonBar(QWidget* parent = nullptr);

    // Called by RichTextControl::SetButtonBar; nullptr detaches.
    void Attach(RichTextControl* control);
    RichTextControl* Control() const { return control_; }

private:
    void showFormat(const QTextCharFormat& format);
    void showAlignment();
    void mergeFormat(const QTextCharFormat& format);
    void setAlignment(Qt::Alignment alignment);
    QToolButton* addButton(const QString& name, const QString& text, const QString& tip);

    QPointer<RichTextControl> control_;
    QFontComboBox* font_;
    QComboBox* size_;
    QToolButton* bold_;
    QToolButton* italic_;
    QToolButton* underline_;
    QList<std::pair<QToolButton*, Qt::Alignment>> alignments_;
};

} // namespace jornix
