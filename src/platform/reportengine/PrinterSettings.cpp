#include "platform/reportengine/PrinterSettings.h"

#include "platform/runtime/SafeFileWriter.h"

#include <QFile>

namespace jornix {

namespace {

QString Escaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            escaped += QStringLiteral("\\r");
        else
            escaped += c;
    }
    return escaped;
}

QString Unescaped(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const QChar next = text[++i];
        plain += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('r') ? QChar('\r') : next;
    }
    return plain;
}

} // namespace

bool PrinterSettings::Read(const QString& path, QString& error)
{
    values_.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize) {
        error = QStringLiteral("The printer settings \"%1\" cannot be read: %2.")
                    .arg(path, file.isOpen() ? QStringLiteral("the file is too large") : file.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(file.read(MaxFileSize));
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        values_.insert(Unescaped(line.left(equals).trimmed()), Unescaped(line.mid(equals + 1)));
    }
    return true;
}

bool PrinterSettings::Write(const QString& path, QString& error) const
{
    QByteArray data;
    for (auto it = values_.cbegin(); it != values_.cend(); ++it) {
        data += (Escaped(it.key()) + QLatin1Char('=') + Escaped(it.value()) + QLatin1Char('\n')).toUtf8();
    }
    QString reason;
    if (SafeFileWriter::WriteWhole(path, data, reason))
        return true;
    error = QStringLiteral("The printer settings \"%1\" cannot be saved: %2.").arg(path, reason);
    return false;
}

} // namespace jornix
