#include "core/SavePreservedSettings.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"

#include <type_traits>

namespace jornix {

bool SavePreservedSettings()
{
    IniSettings::Entries entries;
    const auto write = [&entries](const char* key, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>)
            entries.emplace_back(QString::fromLatin1(key), value);
        else
            entries.emplace_back(QString::fromLatin1(key), QString::number(value));
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
    // One write of the file: a disk that is full keeps every earlier setting rather than a part of the new.
    return INIMgr.WriteValues(PreservedSection, entries);
}

} // namespace jornix
