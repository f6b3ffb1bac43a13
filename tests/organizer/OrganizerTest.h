#pragma once

// What the organizer's window tests share: their start, a list column as the user reads it and the check of
// a window's picture, besides what every window test shares.

#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/Clock.h"

#include "core/WindowTest.h"
#include "platform/framework/WindowDriver.h"

#include "platform/runtime/DayNumbers.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDir>
#include <QTest>

namespace jornix::test {

// The signed-in user's unique id, another user's, and the day the tests' fixed clock shows.
constexpr qint32 Me = 501;
constexpr qint32 Another = 502;
inline const QDate TheDate(2026, 3, 14);
inline const qint32 TodayNumber = DayNumberFromDate(TheDate);

// What Print Rec was asked for; a stand-in takes its place and answers "cancelled".
inline std::vector<PrintRecValues> printed;

// The start of an organizer window test, once its tables are held: the list icons, the clock at TheDate 9:30,
// the procedures of the core, the journal when asked for, and the organizer, and the stand-in of Print Rec.
inline void StartOrganizerTest(bool withJournal = false)
{
    WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    SetFixedClock(QDateTime(TheDate, QTime(9, 30)));
    RegisterStandInWindows();
    RegisterCoreProcedures();
    if (withJournal)
        RegisterJournalProcedures();
    RegisterOrganizerProcedures();
    RegisterProcedure(QStringLiteral("PrintRec"), [] {
        printed.push_back(PrintRecRequest);
        CurrentContext().GlobalResponseCode = Response::Cancelled;
    });
}

// Each case starts with "me" signed in with full access, the settings at their defaults and nothing printed.
inline void StartOrganizerCase()
{
    SignInWithFullAccess(Me);
    GLO = PreservedSettings();
    printed.clear();
}

// The texts of one column of the window's list (the control named "List"), top to bottom.
inline QStringList Column(WindowController& window, int column)
{
    QStringList texts;
    const QAbstractItemModel* model = window.window.ListModel(testing::ControlNumber(window, "List"));
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->data(model->index(row, column)).toString();
    return texts;
}

// Every shown control must lie inside the window; with JORNIX_PICTURES set, the window's picture goes to
// that folder, to be looked at.
inline void CheckPicture(WindowController& window, const QString& name)
{
    QWidget* root = window.window.Root();
    testing::WaitIdle();
    for (const int control : window.window.Controls()) {
        QWidget* widget = window.window.Widget(control);
        if (!widget || control <= 0 || !widget->isVisibleTo(root))
            continue;
        const QRect inRoot(widget->mapTo(root, QPoint(0, 0)), widget->size());
        QVERIFY2(root->rect().contains(inRoot), qPrintable(name + ": " + widget->objectName()));
    }
    const QString pictures = qEnvironmentVariable("JORNIX_PICTURES");
    if (!pictures.isEmpty()) {
        QDir().mkpath(pictures);
        QVERIFY(root->grab().save(QDir(pictures).filePath(name + ".png")));
    }
}

} // namespace jornix::test
