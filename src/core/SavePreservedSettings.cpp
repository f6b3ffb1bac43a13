#include "core/SavePreservedSettings.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"

namespace jornix {

void SavePreservedSettings()
{
    auto write = [](const char* key, const auto& value) {
        INIMgr.WriteValue(PreservedSection, QString::fromLatin1(key), value);
    };
    write("GLO:DefFont", GLO.DefFont);
    write("GLO:DefFontSize", GLO.DefFontSize);
    write("GLO:DefFontColor", GLO.DefFontColor);
    write("GLO:DefFontStyle", GLO.DefFontStyle);
    write("GLO:StartupView", GLO.StartupView);
    write("GLO:SelectDayFillColor", GLO.SelectDayFillColor);
    write("GLO:ReminderDayColor", GLO.ReminderDayColor);
    write("GLO:CurrentDayColor", GLO.CurrentDayColor);
    write("GLO:StickyNoteFGColor", GLO.StickyNoteFGColor);
    write("GLO:StickyNoteBGColor", GLO.StickyNoteBGColor);
    write("GLO:DefaultLogType", GLO.DefaultLogType);
    write("GLO:ShowJornixMenuBar", GLO.ShowJornixMenuBar);
    write("GLO:JornixMenuBarWidth", GLO.JornixMenuBarWidth);
    write("GLO:JornixMenuBarBGColor", GLO.JornixMenuBarBGColor);
    write("GLO:JornixMenuBarTextColor", GLO.JornixMenuBarTextColor);
    write("GLO:ShowJornixToolBar", GLO.ShowJornixToolBar);
    write("GLO:ShowMiniStickyNotes", GLO.ShowMiniStickyNotes);
    write("GLO:ShowOverdueReminders", GLO.ShowOverdueReminders);
    write("GLO:ShowScrapBook", GLO.ShowScrapBook);
    write("GLO:DataPath", GLO.DataPath);
    write("GLO:AllowLayoutEdit", GLO.AllowLayoutEdit);
    write("GLO:LLDebug", GLO.LLDebug);
    write("GLO:VoiceMessageBitsPerSample", GLO.VoiceMessageBitsPerSample);
    write("GLO:VoiceMessageSamplesPerSec", GLO.VoiceMessageSamplesPerSec);
    write("GLO:TXRulerScaleMode", GLO.TXRulerScaleMode);
    write("GLO:TXShowControlChars", GLO.TXShowControlChars);
    write("GLO:TXShowGridLines", GLO.TXShowGridLines);
    write("GLO:RemeberLastLoginID", GLO.RemeberLastLoginID);
    if (GLO.RemeberLastLoginID == 0)
        GLO.LastLoginID.clear();
    write("GLO:LastLoginID", GLO.LastLoginID);
    write("GLO:GlobalRefreshTime", GLO.GlobalRefreshTime);
}

} // namespace jornix
