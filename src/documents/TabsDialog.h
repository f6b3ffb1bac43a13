#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QTextOption>

class QComboBox;
class QDoubleSpinBox;
class QListWidget;

namespace jornix {

class RichTextControl;

// "Tabs": the tab stops of the paragraphs of the selection, starting from those of the paragraph at the
// caret, each at a position in the unit with its alignment. Set adds a stop (or changes the one at that
// position), Clear removes the highlighted one, Clear All every one. OK applies them; Cancel changes nothing.
class TabsDialog : public QDialog
{
    Q_OBJECT

public:
    TabsDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    const QList<QTextOption::Tab>& Tabs() const { return tabs_; } // positions in layout units
    void accept() override;

private:
    void setStop();
    void clearStop();
    void showTabs();

    QPointer<RichTextControl> control_;
    int unit_;
    QList<QTextOption::Tab> tabs_;
    QDoubleSpinBox* position_;
    QComboBox* type_;
    QListWidget* list_;
};

} // namespace jornix
