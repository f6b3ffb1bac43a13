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

    // Places an item of the bar: "PosFontName", "PosFontSize", "PosFontBold", "PosFontItalic",
    // "PosFontUnderline", "PosParaLeft", "PosParaCentered", "PosParaRight", "PosParaJustified",
    // "PosListNumbered", "PosListBulleted", "PosStyle" (the list of the document's named styles; choosing
    // one puts it on the selection). The value's last three digits give its place from the left, 0
    // hides it; a value of 2000 or more puts a separator in front of it. Items the bar does not have are
    // passed over.
    void SetPosition(const QString& item, int value);

private:
    void showFormat(const QTextCharFormat& format);
    void showAlignment();
    void mergeFormat(const QTextCharFormat& format);
    void setAlignment(Qt::Alignment alignment);
    QToolButton* addButton(const QString& name, const QString& text, const QString& tip);
    void arrange();
    void toggleList(int listType);
    void showStyles();

    QPointer<RichTextControl> control_;
    QFontComboBox* font_;
    QComboBox* size_;
    QToolButton* bold_;
    QToolButton* italic_;
    QToolButton* underline_;
    QList<std::pair<QToolButton*, Qt::Alignment>> alignments_;
    QToolButton* numbered_;
    QToolButton* bulleted_;
    QComboBox* style_;
    struct Item
    {
        QString name;
        QWidget* widget;
        int position;
        QWidget* separator = nullptr;
    };
    QList<Item> items_; // in the order they were made
};

} // namespace jornix
