#include "core/ProgramStart.h"

#include "core/CheckSingleInstance.h"
#include "core/DataLayer.h"
#include "core/LoadPreservedSettings.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/OneTimeSetup.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetDataPaths.h"
#include "core/SharedFunctions.h"
#include "core/SplashScreen.h"
#include "platform/framework/WindowDescription.h"
#include "platform/runtime/MessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

namespace jornix {
namespace {

// The ending steps that every path runs; the path through the main frame also finalises the settings first.
int EndProgram(bool finalizeSettings)
{
    if (finalizeSettings)
        INIMgr.Finalize();
    INIMgr.Kill();
    GlobalFuzzyMatcher.Kill();
    KillDataLayer();
    GlobalErrorReporter.Kill();
    return 0;
}

// The settings file and the default data folder live in the program folder, so a start from a folder that
// cannot be written would lose every setting: say so plainly instead.
bool ProgramFolderIsWritable()
{
    const QFileInfo folder(ProgramFolder);
    if (folder.isDir() && folder.isWritable())
        return true;
    ShowMessageBox(
        MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Program Folder"),
        QStringLiteral("Jornix cannot write to its program folder %1. Jornix keeps its settings and, "
                       "by default, its data there. Please start Jornix from a folder you can write "
                       "to.")
            .arg(ProgramFolder));
    return false;
}

} // namespace

int ProgramStart(const ProgramStartOptions& options)
{
    // The images the windows name are the icon set linked into the program.
    WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    ProgramFolder = options.programFolder.isEmpty() ? GetFilePath(QCoreApplication::applicationFilePath())
                                                    : options.programFolder;
    IniFileName = ProgramFolder + QStringLiteral("Jornix.ini");

    GlobalErrorReporter.Init();
    InitDataLayer();
    GlobalFuzzyMatcher.Init();
    GlobalFuzzyMatcher.SetOption(FuzzyMatcher::IgnoreCase, true);
    GlobalFuzzyMatcher.SetOption(FuzzyMatcher::WholeWords, false);
    INIMgr.Init(IniFileName);

    if (CheckSingleInstance(QStringLiteral("Jornix"), options.instanceName)) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Information"),
                       QStringLiteral("Jornix is already running."));
        return EndProgram(false);
    }
    if (!ProgramFolderIsWritable())
        return EndProgram(false);

    LoadPreservedSettings();
    SetDataPaths();
    QApplication::setWindowIcon(QIcon(WindowDescription::ImagePath(QStringLiteral("~Jornix.ico"))));

    if (!QFileInfo::exists(GLO.DataPath + QStringLiteral("Jornix.tps")) && !OneTimeSetup())
        return EndProgram(false);
    if (!Login())
        return EndProgram(false);
    SplashScreen();
    Main();
    return EndProgram(true);
}

} // namespace jornix
