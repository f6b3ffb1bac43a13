#pragma once

#include <QTextEdit>

namespace jornix {

// The caret's place in a header or footer of the page view: an editor without frame, scroll bars or ground
// of its own, laid over the part's place on its page and editing the part's text itself. Escape, or a click
// in the text of the pages around it, leaves it.
class HeaderFooterEditor : public QTextEdit
{
    Q_OBJECT

public:
    // viewport: the page view it sits on, whose clicks it watches.
    explicit HeaderFooterEditor(QWidget* viewport);

signals:
    void Left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace jornix
