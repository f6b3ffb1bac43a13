#pragma once

#include <QString>

// Type-ahead in a list: the characters typed into the list (or into the locator's own entry) build a text,
// and the list moves to the first row whose value of the order's first key field reaches it. Backspace takes
// the last character back; changing the order starts a new text. The text compares as the order's key
// compares its values, so a key without regard to case finds without regard to case; the flag is kept for
// the callers that state it.
namespace jornix {

class BrowseList;

class ListLocator
{
public:
    // entryControl 0: the list takes the characters itself.
    void Init(int entryControl, const QString& fieldName, bool caseInsensitive, BrowseList& list);

    void TakeCharacter(QChar character);
    void Locate(const QString& text); // moves the list to the first row that reaches the text
    void Clear() { text_.clear(); }
    const QString& Text() const { return text_; }
    int EntryControl() const { return entry_; }

private:
    BrowseList* list_ = nullptr;
    int entry_ = 0;
    int field_ = -1;
    bool caseInsensitive_ = true;
    QString text_;
};

} // namespace jornix
