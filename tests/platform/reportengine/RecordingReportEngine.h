#pragma once

#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportItems.h"

#include <QHash>
#include <QList>

#include <functional>

// Stands in for the report engine in the tests of its callers: records every call as text (CallText) and
// answers with the next scripted result for that call, or with the usual result when none is left: the next
// handle from LlJobOpen, Ok from the rest. It keeps the items declared, as a job does.
namespace jornix::test {

class RecordingReportEngine final : public ReportEngine
{
public:
    RecordingReportEngine() { SetReportEngine(this); }
    ~RecordingReportEngine() override { SetReportEngine(nullptr); }
    RecordingReportEngine(const RecordingReportEngine&) = delete;
    RecordingReportEngine& operator=(const RecordingReportEngine&) = delete;

    // The calls whose text starts with `prefix` ("LlPrint(" for the print calls alone).
    QStringList Calls(const QString& prefix) const
    {
        QStringList matching;
        for (const QString& call : calls)
            if (call.startsWith(prefix))
                matching << call;
        return matching;
    }

    QStringList calls;
    QHash<QString, QList<int>> answers; // by call name: {"LlPrintFields", {RecordDidNotFit, Ok}}
    int nextJob = 1;
    QStringList filesWritten; // what option string 20 gives
    ReportItems variables;
    ReportItems fields;
    std::function<void(const QString& call)> onCall; // runs as each call is recorded

    int LlJobOpen(int language) override
    {
        return Record(CallText("LlJobOpen", language), "LlJobOpen", nextJob++);
    }
    int LlJobClose(int job) override { return Record(CallText("LlJobClose", job), "LlJobClose"); }
    int LlSetDebug(int flag) override { return Record(CallText("LlSetDebug", flag), "LlSetDebug"); }
    int LlSetOption(int job, int option, qint64 value) override
    {
        return Record(CallText("LlSetOption", job, option, value), "LlSetOption");
    }
    int LlSetOptionStringA(int job, int option, const QString& value) override
    {
        return Record(CallText("LlSetOptionStringA", job, option, value), "LlSetOptionStringA");
    }
    int LlGetOptionStringA(int job, int option, QString& buffer, int bufferSize) override
    {
        buffer = option == ReportOptionString::FilesWritten ? filesWritten.join(QLatin1Char(';')) : QString();
        return Record(CallText("LlGetOptionStringA", job, option, bufferSize), "LlGetOptionStringA");
    }
    int LlSetFileExtensionsA(int job, int projectType, const QString& layoutExtension,
                             const QString& printerExtension, const QString& sketchExtension) override
    {
        return Record(CallText("LlSetFileExtensionsA", job, projectType, layoutExtension, printerExtension,
                               sketchExtension),
                      "LlSetFileExtensionsA");
    }
    int LlSetDlgboxMode(int mode) override
    {
        return Record(CallText("LlSetDlgboxMode", mode), "LlSetDlgboxMode");
    }
    int LlDefineVariableStart(int job) override
    {
        variables.Clear();
        return Record(CallText("LlDefineVariableStart", job), "LlDefineVariableStart");
    }
    int LlDefineFieldStart(int job) override
    {
        fields.Clear();
        return Record(CallText("LlDefineFieldStart", job), "LlDefineFieldStart");
    }
    int LlDefineVariableExtA(int job, const QString& name, const QString& value, quint32 type,
                             int parameter) override
    {
        variables.Declare(name, value, type);
        return Record(CallText("LlDefineVariableExtA", job, name, value, type, parameter),
                      "LlDefineVariableExtA");
    }
    int LlDefineFieldExtA(int job, const QString& name, const QString& value, quint32 type,
                          int parameter) override
    {
        fields.Declare(name, value, type);
        return Record(CallText("LlDefineFieldExtA", job, name, value, type, parameter), "LlDefineFieldExtA");
    }
    int LlDesignerProhibitAction(int job, int action) override
    {
        return Record(CallText("LlDesignerProhibitAction", job, action), "LlDesignerProhibitAction");
    }
    int LlDefineLayoutA(int job, QWidget* window, const QString& title, int projectType,
                        const QString& layoutFile) override
    {
        return Record(CallText("LlDefineLayoutA", job, window, title, projectType, layoutFile),
                      "LlDefineLayoutA");
    }
    int LlSetPrinterToDefaultA(int job, int projectType, const QString& layoutFile) override
    {
        return Record(CallText("LlSetPrinterToDefaultA", job, projectType, layoutFile),
                      "LlSetPrinterToDefaultA");
    }
    int LlPrintWithBoxStartA(int job, int projectType, const QString& layoutFile, int mode, int boxType,
                             QWidget* window, const QString& boxTitle) override
    {
        return Record(
            CallText("LlPrintWithBoxStartA", job, projectType, layoutFile, mode, boxType, window, boxTitle),
            "LlPrintWithBoxStartA");
    }
    int LlPrintSetOptionStringA(int job, int option, const QString& value) override
    {
        return Record(CallText("LlPrintSetOptionStringA", job, option, value), "LlPrintSetOptionStringA");
    }
    int LlPrintOptionsDialogA(int job, QWidget* window, const QString& text) override
    {
        return Record(CallText("LlPrintOptionsDialogA", job, window, text), "LlPrintOptionsDialogA");
    }
    int LlPrint(int job) override { return Record(CallText("LlPrint", job), "LlPrint"); }
    int LlPrintFields(int job) override { return Record(CallText("LlPrintFields", job), "LlPrintFields"); }
    int LlPrintSetBoxTextA(int job, const QString& text, int percent) override
    {
        return Record(CallText("LlPrintSetBoxTextA", job, text, percent), "LlPrintSetBoxTextA");
    }
    int LlPrintFieldsEnd(int job) override
    {
        return Record(CallText("LlPrintFieldsEnd", job), "LlPrintFieldsEnd");
    }
    int LlPrintEnd(int job, int flags) override
    {
        return Record(CallText("LlPrintEnd", job, flags), "LlPrintEnd");
    }
    int LlPreviewDisplayA(int job, const QString& layoutFile, const QString& previewFolder,
                          QWidget* window) override
    {
        return Record(CallText("LlPreviewDisplayA", job, layoutFile, previewFolder, window),
                      "LlPreviewDisplayA");
    }
    int LlPreviewDeleteFilesA(int job, const QString& layoutFile, const QString& previewFolder) override
    {
        return Record(CallText("LlPreviewDeleteFilesA", job, layoutFile, previewFolder),
                      "LlPreviewDeleteFilesA");
    }
    int LlXSetParameterA(int job, int extensionType, const QString& format, const QString& key,
                         const QString& value) override
    {
        return Record(CallText("LlXSetParameterA", job, extensionType, format, key, value),
                      "LlXSetParameterA");
    }

private:
    int Record(const QString& call, const char* name, int usual = ReportResult::Ok)
    {
        calls << call;
        if (onCall)
            onCall(call);
        QList<int>& scripted = answers[QLatin1String(name)];
        return scripted.isEmpty() ? usual : scripted.takeFirst();
    }
};

} // namespace jornix::test
