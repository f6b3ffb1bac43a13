#pragma once

#include <QMap>
#include <QString>

// The printer settings that a layout keeps beside it (".prn"): one "key=value" line per setting, read back
// as written. The printer stage gives the keys their meaning (the printer's name, paper, copies ...); the
// file itself only keeps them. Keys are the program's own names and hold no "=". Line breaks and backslashes
// in values are written as \n, \r and \\.
namespace jornix {

class PrinterSettings
{
public:
    static constexpr qint64 MaxFileSize = 64 * 1024;

    QString Value(const QString& key) const { return values_.value(key); }
    void SetValue(const QString& key, const QString& value) { values_.insert(key, value); }
    const QMap<QString, QString>& Values() const { return values_; }
    bool IsEmpty() const { return values_.isEmpty(); }
    bool operator==(const PrinterSettings&) const = default;

    // A missing file gives no settings and no error; lines without "=" are skipped.
    bool Read(const QString& path, QString& error);
    bool Write(const QString& path, QString& error) const;

private:
    QMap<QString, QString> values_;
};

} // namespace jornix
