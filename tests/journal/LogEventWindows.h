#pragma once

// What the tests of the log-event lists share: their start, events written into the table, the rows of a list
// as the user reads them, and the windows closed again after each test.

#include "core/StandInWindows.h"
#include "core/BroadcastRefresh.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "journal/JournalProcedures.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include "core/WindowTest.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QtTest>

#include <utility>
#include <vector>

namespace jornix::test {

constexpr qint32 Me = 701;
constexpr qint32 Another = 702;

struct LogEvent
{
    QString description;
    QDate date;
    int type = 0;
    int privateFlag = 0;
    qint32 creator = Me;
    std::vector<std::pair<QString, QVariant>> more = {};
};

// Written as the event editor writes it, with a number of its own; its number.
inline qint32 AddEvent(const LogEvent& event)
{
    FileManager& access = *AccessLOG;
    if (access.PrepareRecord() != 0)
        qWarning("No number for the event %s", qPrintable(event.description));
    Record& buffer = access.Buffer();
    buffer.SetValue(QStringLiteral("LOG:LogDescription"), event.description);
    buffer.SetValue(QStringLiteral("LOG:LogDate"), DayNumberFromDate(event.date));
    buffer.SetValue(QStringLiteral("LOG:LogType"), event.type);
    buffer.SetValue(QStringLiteral("LOG:LogPrivate"), event.privateFlag);
    buffer.SetValue(QStringLiteral("LOG:LogUniqueID"), event.creator);
    buffer.SetValue(QStringLiteral("LOG:LogCreateLoginID"), event.creator == Me ? "me" : "other");
    for (const auto& [name, value] : event.more)
        buffer.SetValue(name, value);
    if (access.Insert() != 0)
        qWarning("The event %s was not written", qPrintable(event.description));
    return buffer.Long(access.GetTable().FieldIndex(QStringLiteral("LOG:LogNum")));
}

inline void RemoveEvents()
{
    RemoveAll(*AccessLOG);
}

// The start of a log-event list test, once its tables are held: the list icons and the procedures of the core
// and the journal, with `eventForm` in the place of the event editor.
inline void StartJournalTest(ProcedureBody eventForm)
{
    WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    RegisterStandInWindows();
    RegisterCoreProcedures();
    RegisterJournalProcedures();
    RegisterProcedure(QStringLiteral("UpdateLogTX"), std::move(eventForm));
}

// Each case starts with "me" signed in with full access, no refresh posted for the test's own writes and the
// log empty.
inline void StartJournalCase()
{
    SignInWithFullAccess(Me);
    RefreshSuppressed = 1;
    RemoveEvents();
}

// The rows of a list: per row its texts joined by "|", "*" for an icon column that shows an icon.
inline QStringList Rows(WindowController& window, const QString& list = QStringLiteral("List"))
{
    QAbstractItemModel* model = window.window.ListModel(window.window.ControlNumber(list));
    QStringList rows;
    for (int row = 0; model && row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            cells << (text.isEmpty() && !index.data(Qt::DecorationRole).isNull() ? QStringLiteral("*") : text);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The descriptions of a list's rows (its third column), in their order.
inline QStringList Descriptions(WindowController& window)
{
    QStringList descriptions;
    for (const QString& row : Rows(window))
        descriptions << row.section(QLatin1Char('|'), 2, 2);
    return descriptions;
}

// Every visible control lies inside the window.
inline void VerifyControlsInside(WindowController& window)
{
    QWidget* root = window.window.Root();
    for (const int control : window.window.Controls()) {
        QWidget* widget = window.window.Widget(control);
        if (control <= 0 || !widget || !widget->isVisibleTo(root))
            continue;
        const QRect box(widget->mapTo(root, QPoint(0, 0)), widget->size());
        QVERIFY2(root->rect().contains(box), qPrintable(widget->objectName()));
    }
}

// Closes the open windows, the last opened first; refreshes are posted again.
inline void CloseWindows()
{
    using namespace jornix::testing;
    RefreshSuppressed = 0;
    while (!WindowController::OpenWindows().empty()) {
        WindowController* window = WindowController::OpenWindows().back();
        window->Post(jornix::Event::CloseWindow);
        WaitIdle();
        if (!WindowController::OpenWindows().empty() && WindowController::OpenWindows().back() == window)
            break;
    }
    QVERIFY(WindowController::OpenWindows().empty());
}

} // namespace jornix::test
