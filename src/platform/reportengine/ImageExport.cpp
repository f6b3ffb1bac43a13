#include "platform/reportengine/ImageExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/PageSpool.h"

#include <QImageWriter>

namespace jornix {

bool WriteImages(const ExportSource& source, ExportFiles& files, const QString& format, QString& error)
{
    const int lastPage = source.spool.PageCount();
    return ForEachPage(
        source,
        [&](const Page& page, int n) {
            const QString path = files.PagePath(n);
            const QImage image = PageImage(page, lastPage, ExportPictureDpi);
            const auto write = [&](QIODevice& out) {
                QImageWriter writer(&out, format.toLatin1());
                if (format == QLatin1String("JPG"))
                    writer.setQuality(90);
                if (writer.write(image))
                    return true;
                error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, writer.errorString());
                return false;
            };
            if (!WriteSavedFile(path, write, error))
                return false;
            files.Written(path);
            return true;
        },
        error);
}

} // namespace jornix
