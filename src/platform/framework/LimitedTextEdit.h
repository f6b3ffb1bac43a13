#pragma once

#include <QPlainTextEdit>

// A text box that holds at most a number of characters. What is typed, pasted or dropped beyond that is
// refused whole, never cut, and a tip at the box says why.
namespace jornix {

class LimitedTextEdit : public QPlainTextEdit
{
public:
    explicit LimitedTextEdit(int maxLength, QWidget* parent = nullptr);

    int MaxLength() const { return maxLength_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Whether the text still fits when `inserted` characters take the place of the selection.
    bool Fits(qsizetype inserted) const;
    void TellLimit();

    int maxLength_;
};

} // namespace jornix
