#pragma once

#include <QString>
#include <QtGlobal>

// The kept settings: process-wide values kept in the section "Preserved" of the settings file, each under the
// key "GLO:" and its name. The initial values are the built-in defaults; a missing entry leaves them.
// Colours are 32 bits with red in the low byte.
namespace jornix {

struct PreservedSettings
{
    QString DefFont = QStringLiteral("Times New Roman");
    qint32 DefFontSize = 12;
    qint32 DefFontColor = 0;
    qint32 DefFontStyle = 400;
    quint8 StartupView = 1;
    quint8 LLDebug = 0;
    quint8 AllowLayoutEdit = 0;
    qint32 SelectDayFillColor = 0x808080;
    qint32 ReminderDayColor = 0xFF0000;
    qint32 CurrentDayColor = 0;
    qint32 StickyNoteFGColor = 0;
    qint32 StickyNoteBGColor = 0x00FFFF;
    qint32 DefaultLogType = 0;
    quint8 ShowJornixMenuBar = 1;
    qint32 JornixMenuBarWidth = 100; // at least 100
    qint32 JornixMenuBarBGColor = 0x808080;
    qint32 JornixMenuBarTextColor = 0xFFFFFF;
    quint8 ShowJornixToolBar = 1;
    quint8 ShowMiniStickyNotes = 0;
    quint8 ShowOverdueReminders = 1;
    quint8 ShowScrapBook = 0;
    QString DataPath;       // the data folder; after start it ends in "/"
    quint8 DebugSwitch = 0; // read, never written
    quint8 VoiceMessageBitsPerSample = 8;
    qint32 VoiceMessageSamplesPerSec = 11025;
    quint8 TXRulerScaleMode = 1;
    quint8 TXShowControlChars = 0;
    quint8 TXShowGridLines = 1;
    quint8 RemeberLastLoginID = 1;
    QString LastLoginID;          // blank when not remembered
    qint32 GlobalRefreshTime = 0; // hundredths of a second; 0: no refresh timer

    bool operator==(const PreservedSettings&) const = default;
};

// The section that holds them.
inline const QString PreservedSection = QStringLiteral("Preserved");

// The program's kept settings, shared by every thread.
extern PreservedSettings GLO;

} // namespace jornix
