#pragma once

// What the organizer's window tests share: a table emptied between cases, a list column as the user reads it,
// and the check of a window's picture.

#include "platform/framework/FileManager.h"
#include "platform/framework/WindowController.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

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

// Deletes every record of the table, which the test has opened.
inline void RemoveAll(FileManager& access)
{
    Table& table = access.GetTable();
    View all(table);
    std::vector<ViewRow> rows;
    all.Read({}, Direction::Forward, 100000, rows);
    for (const ViewRow& row : rows) {
        QVERIFY(table.FetchRow(row.position.rowId));
        QVERIFY(table.Delete());
    }
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
