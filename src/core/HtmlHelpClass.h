#pragma once

#include "platform/help/HelpViewer.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>

// Connects a window to the help file: remembers the window's topic page and the topics of single controls,
// and shows a topic, the contents or the keyword index. Every operation but Init does nothing until Init and
// after Kill; a blank help file name makes every show operation do nothing.
namespace jornix {

class HtmlHelpClass
{
public:
    static constexpr int F1Key = 0x70; // acts as the help key throughout the program

    // helpKey: the key code that asks for help (every window passes F12, 0x7B); helpFile: "Jornix.chm".
    int Init(int helpKey, const QString& helpFile);
    int Kill();

    void SetTopic(const QString& topic);
    void SetControlTopic(int control, const QString& topic);

    void ShowTopic(); // the window's topic, or the help file alone when the window has none
    void ShowTopic(const QString& topic);
    void ShowContents();
    void ShowIndex();
    void ShowIndex(const QString& keyword);

    // The focused control's topic, else the contents when the window has no topic, else the window's topic.
    int ContextHelp(int control);

    // The window framework calls this for each alerted key of the window: the help key (or F1) asks for
    // context help on the focused control. Returns what ContextHelp returns, 0 for every other key.
    int KeyHandler(int keyCode, int focusedControl);

    int HelpKey() const { return helpKey_; } // the key the window alerts
    // The help window the last show operation opened, while it is open.
    QWidget* ShownHelpWindow() const { return helpWindow_; }

private:
    void Show(HelpCommand command, const QString& path, const QString& keyword);

    std::map<int, QString> controlTopics_;
    bool initDone_ = false;
    QString helpFile_;
    QString topic_;
    int helpKey_ = 0;
    QPointer<QWidget> helpWindow_; // gone once the user closes it
};

} // namespace jornix
