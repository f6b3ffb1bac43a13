#include "reports/ImportLayout.h"

#include "platform/runtime/SafeFileWriter.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"

#include <QFile>
#include <QFileInfo>

namespace jornix {
namespace {

void ShowImportError(const QString& text, int code)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Error"),
                   QStringLiteral("The following error occurred \"") + text + QStringLiteral("\" (") +
                       QString::number(code) + QStringLiteral(")"));
}

bool IsVersion1Layout(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("lst") || suffix == QLatin1String("crd") || suffix == QLatin1String("lbl");
}

} // namespace

void ImportLayout(const QString& target)
{
    if (QFileInfo::exists(target) &&
        ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Exclamation,
            QStringLiteral("Replace Report Layout?"),
            QStringLiteral("Importing a report layout will replace the existing report layout. Are you "
                           "sure you want to replace the existing report layout?"),
            MessageButton::No) != MessageButton::Yes)
        return;
    const QString chosen = AskOpenFileName(
        QStringLiteral("Select Jornix Report Layout"),
        QStringLiteral("Jornix 2.x Layout (jx_*.rpt)|jx_*.rpt|Jornix 1.x (List) (lt*.lst)|lt*.lst|Jornix 1.x "
                       "(Card) (lt*.crd)|lt*.crd|Jornix 1.x (Label) (lt*.lbl)|lt*.lbl|All Files (*.*)|*.*"),
        QFileInfo(target).absolutePath());
    if (chosen.isEmpty())
        return;

    const QFileInfo source(chosen);
    if (QFileInfo::exists(target) && source.canonicalFilePath() == QFileInfo(target).canonicalFilePath()) {
        ShowImportError(QStringLiteral("The chosen file is the report layout itself"),
                        ReportResult::BadParameter);
        return;
    }
    QFile file(chosen);
    if (source.size() > MaxLayoutFileSize) {
        ShowImportError(QStringLiteral("The file is too large for a report layout"),
                        ReportResult::LayoutUnreadable);
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        ShowImportError(file.errorString(), int(file.error()));
        return;
    }
    const QByteArray data = file.readAll();
    ReportLayout layout;
    QString error;
    if (!ParseLayout(data, layout, error)) {
        ShowImportError(
            IsVersion1Layout(chosen)
                ? QStringLiteral("Report layouts of Jornix 1.x cannot be read. Please make the layout "
                                 "again with the Edit Layout button")
                : QStringLiteral("The file is not a Jornix report layout: ") + error,
            ReportResult::LayoutUnreadable);
        return;
    }
    // The new layout replaces the old one in a single rename, so a failed write leaves the old one whole.
    QString reason;
    if (!SafeFileWriter::WriteWhole(target, data, reason)) {
        ShowImportError(QStringLiteral("\"%1\" cannot be written: %2").arg(target, reason),
                        int(QFileDevice::WriteError));
        return;
    }
    ShowMessageBox(
        MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Important Information"),
        QStringLiteral(
            "Important information! Please read the following.\n\nThe report layout has been imported. Be "
            "sure to select the appropriate report type of List, Card or Label and click the Edit Layout "
            "button. This will ensure the report layout is upgraded to the latest format. You may also "
            "have to manually update some fields if you had imported a Jornix 1.x report layout. Please "
            "refer to the Jornix help for complete instructions on how to migrate a Jornix 1.x report "
            "layout."));
}

} // namespace jornix
