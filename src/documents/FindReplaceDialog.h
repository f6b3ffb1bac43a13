#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace jornix {

class RichTextControl;

// "Find" and "Replace" over the rich-text control: Find Next selects the next occurrence after the
// selection, from the start again at the end; Replace puts the replacement in place of a selected
// occurrence and finds the next; Replace All replaces every one. What was not found is said in the window.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    FindReplaceDialog(RichTextControl* control, bool replace, QWidget* parent = nullptr);

    bool FindNext();
    void ReplaceOne();
    int ReplaceAll(); // the number of replacements

private:
    bool selectionMatches() const;
    void say(const QString& text);

    QPointer<RichTextControl> control_;
    QLineEdit* findText_;
    QLineEdit* replaceText_ = nullptr;
    QCheckBox* matchCase_;
    QLabel* message_;
};

} // namespace jornix
