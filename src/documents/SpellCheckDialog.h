#pragma once

#include "platform/richtext/SpellChecker.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace jornix {

// What the check reports while it runs, for the text window to follow (SpellCheckEvents). Offsets are
// those of the text the check was given, with the changes reported so far applied.
struct SpellCheckEvent
{
    // "MisspelledWord", "DoubledWord", "Capitalization", "WordWithDigits": the word at wordOffset is the
    // one shown. "ReplaceWord": the word becomes replacementWord. "DeleteWord": the text misspelledWord at
    // wordOffset goes. "UndoChange": undoNewText at undoOffset becomes undoOldText again.
    QString name;
    int wordOffset = 0;
    QString misspelledWord;
    QString replacementWord;
    int undoOffset = 0;
    QString undoOldText;
    QString undoNewText;
};

// "Spelling": goes through a text word by word and stops at each word the checker finds fault with,
// showing the word, why, and the checker's suggestions. Ignore passes over it, Ignore All over it
// everywhere for the rest of the program's run, Change puts "Change to" in its place, Change All here and
// at every later occurrence, Delete removes it with the blanks before it, Undo takes the last change back
// and checks from there again. The dialog finishes (accepted) when the end of the text is reached;
// Cancel stops the check. Without editing allowed only Ignore, Ignore All and Cancel work.
class SpellCheckDialog : public QDialog
{
    Q_OBJECT

public:
    using Handler = std::function<void(const SpellCheckEvent&)>;

    SpellCheckDialog(SpellChecker& checker, QString text, Handler handler, bool editable,
                     QWidget* parent = nullptr);

    // Goes to the first word at fault; false when there is none (nothing to show).
    bool Start();

    void Ignore();
    void IgnoreAll();
    void Change();
    void ChangeAll();
    void Delete();
    void Undo();

    SpellChecker::Finding Current() const { return current_; }
    QString CheckedText() const { return text_; }

private:
    struct Edit
    {
        int offset = 0;
        QString oldText;
        QString newText;
    };
    // Reports the next word at fault from the position on and shows it, or finishes at the end.
    void findNext(int from);
    void present(const SpellChecker::Finding& finding);
    void edit(const QString& event, int offset, int length, const QString& newText);
    void updateButtons();

    QPointer<SpellChecker> checker_;
    QString text_;
    Handler handler_;
    bool editable_;
    SpellChecker::Finding current_;
    QList<Edit> edits_;
    QHash<QString, QString> changeAll_;

    QLabel* reason_;
    QLineEdit* word_;
    QLineEdit* changeTo_;
    QListWidget* suggestions_;
    QPushButton* change_ = nullptr;
    QPushButton* changeAllButton_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* undo_ = nullptr;
};

} // namespace jornix
