#include "core/LoadPreservedSettings.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"

#include <algorithm>

namespace jornix {

void LoadPreservedSettings()
{
    auto read = [](const char* key, auto& variable) {
        INIMgr.ReadInto(PreservedSection, QString::fromLatin1(key), variable);
    };
    read("GLO:DefFont", GLO.DefFont);
    read("GLO:DefFontSize", GLO.DefFontSize);
    read("GLO:DefFontColor", GLO.DefFontColor);
    read("GLO:DefFontStyle", GLO.DefFontStyle);
    read("GLO:StartupView", GLO.StartupView);
    read("GLO:LLDebug", GLO.LLDebug);
    read("GLO:AllowLayoutEdit", GLO.AllowLayoutEdit);
    read("GLO:SelectDayFillColor", GLO.SelectDayFillColor);
    read("GLO:ReminderDayColor", GLO.ReminderDayColor);
    read("GLO:CurrentDayColor", GLO.CurrentDayColor);
    read("GLO:StickyNoteFGColor", GLO.StickyNoteFGColor);
    read("GLO:StickyNoteBGColor", GLO.StickyNoteBGColor);
    read("GLO:DefaultLogType", GLO.DefaultLogType);
    read("GLO:ShowJornixMenuBar", GLO.ShowJornixMenuBar);
    read("GLO:JornixMenubarWidth", GLO.JornixMenuBarWidth);
    GLO.JornixMenuBarWidth = std::max(GLO.JornixMenuBarWidth, qint32(100));
    read("GLO:JornixMenuBarBGColor", GLO.JornixMenuBarBGColor);
    read("GLO:JornixMenuBarTextColor", GLO.JornixMenuBarTextColor);
    read("GLO:ShowJornixToolBar", GLO.ShowJornixToolBar);
    read("GLO:ShowMiniStickyNotes", GLO.ShowMiniStickyNotes);
    read("GLO:ShowOverdueReminders", GLO.ShowOverdueReminders);
    read("GLO:ShowScrapBook", GLO.ShowScrapBook);
    read("GLO:DataPath", GLO.DataPath);
    read("GLO:DebugSwitch", GLO.DebugSwitch);
    read("GLO:VoiceMessageBitsPerSample", GLO.VoiceMessageBitsPerSample);
    read("GLO:VoiceMessageSamplesPerSec", GLO.VoiceMessageSamplesPerSec);
    read("GLO:TXRulerScaleMode", GLO.TXRulerScaleMode);
    read("GLO:TXShowControlChars", GLO.TXShowControlChars);
    read("GLO:TXShowGridLines", GLO.TXShowGridLines);
    read("GLO:RemeberLastLoginID", GLO.RemeberLastLoginID);
    read("GLO:LastLoginID", GLO.LastLoginID);
    read("GLO:GlobalRefreshTime", GLO.GlobalRefreshTime);
}

} // namespace jornix
