#include "platform/reportengine/ReportJob.h"

namespace jornix {

namespace {

QString WithExtension(const QString& file, const QString& extension)
{
    const QString suffix = QLatin1Char('.') + extension;
    return file.endsWith(suffix, Qt::CaseInsensitive) ? file : file + suffix;
}

} // namespace

std::optional<ReportItemValue> ReportJob::LookupItem(const QString& name) const
{
    if (auto field = fields.Lookup(name))
        return field;
    return variables.Lookup(name);
}

QString ReportJob::LayoutPath(ProjectType type, const QString& file) const
{
    return WithExtension(file, extensions.value(int(type)).layout);
}

QString ReportJob::PrinterSettingsPath(ProjectType type, const QString& file) const
{
    const FileExtensions names = extensions.value(int(type));
    // A layout name given with its extension has the printer settings' extension in its place.
    QString base = file;
    if (base.endsWith(QLatin1Char('.') + names.layout, Qt::CaseInsensitive))
        base.chop(names.layout.size() + 1);
    return WithExtension(base, names.printer);
}

} // namespace jornix
