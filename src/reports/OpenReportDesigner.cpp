#include "reports/OpenReportDesigner.h"

#include "core/PreservedSettings.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/runtime/TrailingBlanks.h"
#include "reports/ReportAreas.h"
#include "reports/ReportData.h"

#include <QApplication>
#include <QDir>

namespace jornix {
namespace {

// New, Open, Save As and Exit: the designer works on this one layout file.
constexpr int ProhibitedActions[] = {524, 519, 515, 990};

} // namespace

void OpenReportDesigner(const Record& layout, QWidget* window)
{
    ReportEngine& engine = TheReportEngine();
    const int area = layout.Value(QStringLiteral("LLL_:AreaRef")).toInt();
    const QString layoutFile =
        GLO.DataPath + StripTrailingBlanks(layout.Value(QStringLiteral("LLL_:FileName")).toString());
    const QString title = StripTrailingBlanks(layout.Value(QStringLiteral("LLL_:Description")).toString());
    const int projectType = ProjectTypeOfLayout(layout.Value(QStringLiteral("LLL_:Type")).toInt());

    // The wait cursor while the items are declared; the designer itself shows the usual cursor.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int job = engine.LlJobOpen(1);
    if (job < 0) {
        QApplication::restoreOverrideCursor();
        return;
    }
    for (const int type : {1, 3, 2})
        engine.LlSetFileExtensionsA(job, type, QStringLiteral("rpt"), QStringLiteral("prn"),
                                    QStringLiteral("bmp"));
    engine.LlDefineVariableStart(job);
    engine.LlDefineFieldStart(job);
    ReportData data(area, job, projectType);
    data.layout = layout;
    data.definitions = ReportData::FetchDefinitions(area);
    data.DefineAreaItems(ItemMode::Design);
    data.DefineReportVariables(ItemMode::Design);

    const QString folder = QDir::currentPath();
    for (const int action : ProhibitedActions)
        engine.LlDesignerProhibitAction(job, action);
    QApplication::restoreOverrideCursor();
    engine.LlDefineLayoutA(job, window, title, projectType, layoutFile);
    QDir::setCurrent(folder);
    engine.LlJobClose(job);
}

} // namespace jornix
