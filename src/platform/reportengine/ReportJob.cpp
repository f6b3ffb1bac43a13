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

FormulaContext ReportJob::FormulaContextAt(int page, int lastPage) const
{
    FormulaContext context;
    context.items = [this](const QString& name) -> std::optional<FormulaItem> {
        const std::optional<ReportItemValue> item = LookupItem(name);
        if (!item)
            return std::nullopt;
        return FormulaItem{item->value, item->type};
    };
    context.page = page;
    context.lastPage = lastPage;
    return context;
}

QString ReportJob::LayoutPath(ProjectType type, const QString& file) const
{
    return WithExtension(file, extensions.value(int(type)).layout);
}

QString ReportJob::PrinterSettingsPath(ProjectType type, const QString& file) const
{
    return SideFilePath(type, file, extensions.value(int(type)).printer);
}

QString ReportJob::SketchPath(ProjectType type, const QString& file) const
{
    return SideFilePath(type, file, extensions.value(int(type)).sketch);
}

QString ReportJob::SideFilePath(ProjectType type, const QString& file, const QString& extension) const
{
    // A layout name given with its extension has the side file's extension in its place.
    const QString layout = extensions.value(int(type)).layout;
    QString base = file;
    if (base.endsWith(QLatin1Char('.') + layout, Qt::CaseInsensitive))
        base.chop(layout.size() + 1);
    return WithExtension(base, extension);
}

} // namespace jornix
