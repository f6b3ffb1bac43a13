#include "core/HtmlHelpClass.h"

#include "platform/help/HelpViewer.h"
#include "platform/runtime/TrailingBlanks.h"

namespace jornix {
namespace {

const QString pageSeparator = QStringLiteral("::/");

} // namespace

int HtmlHelpClass::Init(int helpKey, const QString& helpFile)
{
    initDone_ = false;
    helpFile_ = StripTrailingBlanks(helpFile);
    helpKey_ = helpKey;
    helpWindow_ = nullptr;
    controlTopics_.clear();
    initDone_ = true;
    return 1;
}

int HtmlHelpClass::Kill()
{
    if (initDone_) {
        initDone_ = false;
        helpFile_.clear();
        helpKey_ = 0;
        controlTopics_.clear();
    }
    return 1;
}

void HtmlHelpClass::SetTopic(const QString& topic)
{
    if (initDone_)
        topic_ = StripTrailingBlanks(topic);
}

void HtmlHelpClass::SetControlTopic(int control, const QString& topic)
{
    if (initDone_)
        controlTopics_[control] = StripTrailingBlanks(topic);
}

void HtmlHelpClass::Show(HelpCommand command, const QString& path, const QString& keyword)
{
    if (!initDone_ || helpFile_.isEmpty())
        return;
    helpWindow_ = ShowHelp({command, path, keyword});
}

void HtmlHelpClass::ShowTopic()
{
    Show(HelpCommand::DisplayTopic, topic_.isEmpty() ? helpFile_ : helpFile_ + pageSeparator + topic_, {});
}

void HtmlHelpClass::ShowTopic(const QString& topic)
{
    Show(HelpCommand::DisplayTopic, helpFile_ + pageSeparator + StripTrailingBlanks(topic), {});
}

void HtmlHelpClass::ShowContents()
{
    Show(HelpCommand::DisplayContents, helpFile_, {});
}

void HtmlHelpClass::ShowIndex()
{
    Show(HelpCommand::DisplayIndex, helpFile_, {});
}

void HtmlHelpClass::ShowIndex(const QString& keyword)
{
    Show(HelpCommand::DisplayIndex, helpFile_, StripTrailingBlanks(keyword).left(127));
}

int HtmlHelpClass::ContextHelp(int control)
{
    if (!initDone_)
        return 0;
    const auto found = controlTopics_.find(control);
    if (found != controlTopics_.end())
        ShowTopic(found->second);
    else if (topic_.isEmpty())
        ShowContents();
    else
        ShowTopic();
    return 0;
}

int HtmlHelpClass::KeyHandler(int keyCode, int focusedControl)
{
    if (!initDone_ || (keyCode != helpKey_ && keyCode != F1Key))
        return 0;
    return ContextHelp(focusedControl);
}

} // namespace jornix
