#pragma once

// The data folder of a reports test with its tables open, and the rows a print run reads: layouts, their
// files, user-field definitions and the records of each area.

#include "core/DataFolder.h"
#include "documents/TXEdit.h"
#include "platform/reportengine/ReportRuns.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/ProgramThreads.h"
#include "reports/PrintProcess.h"

#include <QTextBlockFormat>
#include <QTextCursor>

#include <functional>

namespace jornix::test {

struct LayoutRow
{
    qint32 ref = 1;
    int area = 2;
    int type = 1; // 1 List, 2 Card, 3 Label
    QString description = QStringLiteral("Test Report");
    int outputFormat = 9;
    int wmfLoop = 0;
    double wmfWidth = 0;
    double wmfHeight = 0;
    int printCoverPage = 1;
};

class ReportFixture
{
public:
    ReportFixture()
    {
        DataPathText = data.Path();
        for (FileManager* access : Tables())
            access->Open();
    }
    ~ReportFixture()
    {
        for (FileManager* access : Tables())
            access->Close();
    }
    ReportFixture(const ReportFixture&) = delete;
    ReportFixture& operator=(const ReportFixture&) = delete;

    static std::vector<FileManager*> Tables()
    {
        return {AccessLOG, AccessTSK, AccessCON, AccessREM, AccessSTK, AccessSCR, AccessMSC, AccessLLL_};
    }

    // A row of LLL_: and, unless told otherwise, its file "jx_<ref>.rpt" in the data folder.
    void AddLayout(const LayoutRow& row, const std::optional<ReportLayout>& file = std::nullopt) const
    {
        Table& table = AccessLLL_->GetTable();
        table.ClearBuffer();
        Record& layout = table.Buffer();
        layout.SetValue("LLL_:Ref", row.ref);
        layout.SetValue("LLL_:AreaRef", row.area);
        layout.SetValue("LLL_:Description", row.description);
        layout.SetValue("LLL_:FileName", QStringLiteral("jx_%1").arg(row.ref));
        layout.SetValue("LLL_:Type", row.type);
        layout.SetValue("LLL_:Style", 1);
        layout.SetValue("LLL_:OutputFormat", row.outputFormat);
        layout.SetValue("LLL_:WMFSpecialLoop", row.wmfLoop);
        layout.SetValue("LLL_:WMFWidth", row.wmfWidth);
        layout.SetValue("LLL_:WMFHeight", row.wmfHeight);
        layout.SetValue("LLL_:PrintCoverPage", row.printCoverPage);
        Require(table.Insert());
        if (file)
            Write(*file, data.FilePath(QStringLiteral("jx_%1.rpt").arg(row.ref)));
    }

    // A definition row of user-defined fields with the given fields shown, each with its report type.
    void AddDefinitions(int miscType, const QMap<int, quint32>& shown) const
    {
        Table& table = AccessMSC->GetTable();
        table.ClearBuffer();
        Record& row = table.Buffer();
        row.SetValue("MSC:MiscType", miscType);
        for (int i = 1; i <= 6; ++i) {
            const QString f = QStringLiteral("MSC:F%1").arg(i);
            row.SetValue(f + "Show", shown.contains(i) ? 1 : 0);
            row.SetValue(f + "Prompt", QStringLiteral("Field %1:").arg(i));
            row.SetValue(f + "ReportType", shown.value(i, 0x10000000));
            row.SetValue(f + "Len", 20 + i);
        }
        Require(table.Insert());
    }

    // Writes a record of the table with the given values (names with their prefix).
    static void Add(FileManager* access, const QVariantMap& values)
    {
        Table& table = access->GetTable();
        table.ClearBuffer();
        for (auto value = values.begin(); value != values.end(); ++value)
            table.Buffer().SetValue(value.key(), value.value());
        Require(table.Insert());
    }

    // Runs PrintProcess on a program thread of its own until it has ended.
    static void Print(const std::function<void()>& run, int timeoutMs = 60000)
    {
        const ThreadNumber thread = StartProcedureThread(run);
        const bool idle = WaitForProgramThreads(timeoutMs);
        if (!idle || ThreadIsActive(thread))
            qFatal("the print run did not end");
    }

    DataFolder data;

private:
    static void Require(const Status& status)
    {
        if (!status)
            qFatal("a test row was not written: %s", qPrintable(status.Message()));
    }
};

// A stored document of the given pages, each its own words, every page after the first on a new page.
inline QByteArray StoredDocument(const QStringList& pages)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    QTextCursor cursor(control.document());
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    for (int page = 0; page < pages.size(); ++page) {
        if (page > 0)
            cursor.insertBlock(newPage);
        cursor.insertText(pages[page]);
    }
    QByteArray blob;
    edit.SaveToBlob(blob);
    return blob;
}

// A list layout with one line per record: the given formulas in columns.
inline ReportLayout ListLayout(const QStringList& cells)
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    LayoutObject table;
    table.kind = ObjectKind::Table;
    table.frame = QRectF(0, 0, 190, 270);
    for (int column = 0; column < cells.size(); ++column)
        table.table.columns.push_back({QStringLiteral("Column %1").arg(column + 1), 190.0 / cells.size()});
    table.table.dataLines = {Line(cells)};
    layout.Layer(LayoutLayer::EveryPage) = {table};
    return layout;
}

} // namespace jornix::test
