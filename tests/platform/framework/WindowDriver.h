#pragma once

// Drives windows in tests as a user would: starts procedures on program threads, finds their windows by
// procedure name, presses controls by number or name, types into entries, picks list rows and tabs, answers
// message boxes (MessageRecorder) and common dialogs by script, and waits until every program thread is idle
// again.

#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <deque>
#include <functional>
#include <vector>

namespace jornix::testing {

// Waits until every program thread has ended or waits for an event or an answer.
inline bool WaitIdle(int timeoutMs = 5000)
{
    return WaitForProgramThreads(timeoutMs);
}

// Starts the procedure on a new program thread and waits until the threads are idle.
inline ThreadNumber Start(std::function<void()> procedure)
{
    const ThreadNumber thread = StartProcedureThread(std::move(procedure));
    WaitIdle();
    return thread;
}

inline WindowController* FindWindow(const QString& procedureName)
{
    return WindowController::Find(procedureName);
}

inline int ControlNumber(WindowController& window, const QString& useName)
{
    const int number = window.window.ControlNumber(useName);
    if (!number)
        qWarning("No control is named %s in %s", qPrintable(useName), qPrintable(window.ProcedureName()));
    return number;
}

// Presses a control: a button is clicked (the focus moves to it first, so the entry that had it is left),
// a menu item or toolbar button triggered, a list's row activated; any other control gets Accepted posted.
inline void Press(WindowController& window, int control)
{
    QWidget* widget = window.window.Widget(control);
    if (QAction* action = window.window.Action(control)) {
        action->trigger();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setFocus(Qt::MouseFocusReason);
        button->click();
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        emit view->activated(view->currentIndex());
    } else {
        PostEvent(Event::Accepted, control, window.Thread());
    }
    WaitIdle();
}

inline void Press(WindowController& window, const QString& useName)
{
    Press(window, ControlNumber(window, useName));
}

// Types the text over what an entry, combo box, spin box or text box holds and leaves it, as a user who types
// and moves on.
inline void Type(WindowController& window, int control, const QString& text)
{
    QWidget* widget = window.window.Widget(control);
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        edit = combo->lineEdit();
    if (edit) {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
        emit edit->editingFinished();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
        spin->setFocus(Qt::TabFocusReason);
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Return);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        box->setFocus(Qt::TabFocusReason);
        box->clear();
        QTest::keyClicks(box, text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    } else {
        qWarning("Control %d of %s takes no typing", control, qPrintable(window.ProcedureName()));
    }
    WaitIdle();
}

inline void Type(WindowController& window, const QString& useName, const QString& text)
{
    Type(window, ControlNumber(window, useName), text);
}

// Picks a drop list's or combo box's item by its place from 0, as a user who chooses it.
inline void Choose(WindowController& window, int control, int item)
{
    if (auto* combo = qobject_cast<QComboBox*>(window.window.Widget(control))) {
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    WaitIdle();
}

// Highlights a list row (from 0) and picks a sheet's tab (from 1).
inline void PickRow(WindowController& window, int list, int row)
{
    window.window.SelectRow(list, row);
    WaitIdle();
}

inline void PickTab(WindowController& window, int sheet, int position)
{
    window.window.SelectTab(sheet, position);
    WaitIdle();
}

// Presses a key in the window, at the control that has the focus (or the window itself).
inline void PressKey(WindowController& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* root = window.window.Root();
    root->activateWindow();
    QWidget* target = root->focusWidget() ? root->focusWidget() : root;
    QTest::keyClick(target, key, modifiers);
    WaitIdle();
}

// Message boxes are answered by script with MessageRecorder.
// Answers the common dialogs (file, folder, colour, font, printer) in order and records what each asked. A
// dialog beyond the script is cancelled.
class DialogScript
{
public:
    explicit DialogScript(std::vector<CommonDialogAnswer> answers = {})
        : answers_(answers.begin(), answers.end())
    {
        SetCommonDialogSink([this](const CommonDialogRequest& request) {
            asked.push_back(request);
            if (answers_.empty())
                return CommonDialogAnswer{};
            const CommonDialogAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~DialogScript() { SetCommonDialogSink({}); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void Answer(const CommonDialogAnswer& answer) { answers_.push_back(answer); }

    std::vector<CommonDialogRequest> asked;

private:
    std::deque<CommonDialogAnswer> answers_;
};

} // namespace jornix::testing
