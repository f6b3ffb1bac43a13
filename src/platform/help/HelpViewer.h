#pragma once

#include <QString>

#include <functional>

class QWidget;

// The help of a program: a help file name such as "Guide.chm" stands for the pages in the help folder, with
// "Guide.contents" (the contents) and "Guide.index" (the keyword index) beside them. A path is the help
// file's name, optionally followed by "::/" and a page ("Guide.chm::/start.htm").
namespace jornix {

enum class HelpCommand
{
    DisplayTopic = 0,
    DisplayContents = 1,
    DisplayIndex = 2
};

struct HelpRequest
{
    HelpCommand command = HelpCommand::DisplayTopic;
    QString path;
    QString keyword; // DisplayIndex only; empty: no keyword
};

// Shows the help window as asked and returns it (nullptr when nothing was shown). The window is a plain
// top-level window: the call returns at once and the window stays until the user closes it.
QWidget* ShowHelp(const HelpRequest& request);

// Tests replace the help window with a sink that records what was asked; an empty sink restores the window.
using HelpSink = std::function<QWidget*(const HelpRequest&)>;
void SetHelpSink(HelpSink sink);

// The folder of the help pages; by default the "help" folder beside the executable.
void SetHelpFolder(const QString& folder);
QString HelpFolder();

} // namespace jornix
