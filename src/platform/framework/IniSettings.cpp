#include "platform/framework/IniSettings.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include "platform/runtime/ProgramWindow.h"
#include "platform/runtime/SafeFileWriter.h"

#include <QFile>
#include <QWidget>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace jornix {
namespace {

const QString trackedSection = QStringLiteral("__Dont_Touch_Me__");

// The file's content, empty when it is missing or unreadable.
void Load(const QString& fileName, CSimpleIniA& ini)
{
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    // Values with line breaks or outer blanks are written as blocks, so that no value can add entries.
    ini.SetMultiLine(true);
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (ini.LoadData(bytes.constData(), std::size_t(bytes.size())) < 0)
        ini.Reset();
}

// The file as it is on disk with the entries set, written whole or not at all: a write that fails leaves
// every entry that was there before.
bool Write(const QString& fileName, const QString& section, const IniSettings::Entries& entries,
           QString& error)
{
    if (fileName.isEmpty()) {
        error = QStringLiteral("No settings file is open");
        return false;
    }
    CSimpleIniA ini;
    Load(fileName, ini);
    const QByteArray sectionName = section.toUtf8();
    for (const auto& [entry, value] : entries) {
        if (ini.SetValue(sectionName.constData(), entry.toUtf8().constData(), value.toUtf8().constData()) < 0) {
            error = QStringLiteral("The entry \"%1\" cannot be set").arg(entry);
            return false;
        }
    }
    std::string text;
    if (ini.Save(text) < 0) {
        error = QStringLiteral("The settings cannot be put into words");
        return false;
    }
    return SafeFileWriter::WriteWhole(fileName, QByteArray(text.data(), qsizetype(text.size())), error);
}

} // namespace

void IniSettings::Init(const QString& fileName)
{
    fileName_ = fileName;
}

std::optional<QString> IniSettings::Lookup(const QString& section, const QString& entry) const
{
    CSimpleIniA ini;
    Load(fileName_, ini);
    const char* value = ini.GetValue(section.toUtf8().constData(), entry.toUtf8().constData());
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value);
}

std::optional<qlonglong> IniSettings::ReadNumber(const QString& section, const QString& entry) const
{
    const std::optional<QString> text = Lookup(section, entry);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qlonglong number = text->trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

bool IniSettings::ReadInto(const QString& section, const QString& entry, QString& variable) const
{
    const std::optional<QString> text = Lookup(section, entry);
    if (!text)
        return false;
    variable = *text;
    return true;
}

QString IniSettings::ReadValue(const QString& section, const QString& entry) const
{
    return Lookup(section, entry).value_or(Unknown);
}

bool IniSettings::WriteValue(const QString& section, const QString& entry, const QString& value)
{
    return WriteValues(section, {{entry, value}});
}

bool IniSettings::WriteValues(const QString& section, const Entries& entries)
{
    writeError_.clear();
    return Write(fileName_, section, entries, writeError_);
}

bool IniSettings::RestoreWindow(const QString& procedure, QWidget* window) const
{
    if (!window)
        return false;
    // "Maximize" is kept as "Yes" or "No" (any case); a number counts too. It maximizes the window even when
    // no position and size are kept.
    int maximize = 0;
    const bool maximized = (ReadInto(procedure, QStringLiteral("Maximize"), maximize) && maximize != 0) ||
                           ReadValue(procedure, QStringLiteral("Maximize"))
                                   .trimmed()
                                   .compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
    int x = 0, y = 0, width = 0, height = 0;
    const bool placed = ReadInto(procedure, QStringLiteral("XPos"), x) &&
                        ReadInto(procedure, QStringLiteral("YPos"), y) &&
                        ReadInto(procedure, QStringLiteral("Width"), width) &&
                        ReadInto(procedure, QStringLiteral("Height"), height) && width > 0 && height > 0;
    // A placement kept on a larger screen or frame comes back inside what can be seen now. The numbers are
    // bounded first: the file may hold any, and a rectangle whose right edge passes the largest int is none.
    if (placed) {
        const auto size = [](int n) { return std::min(n, QWIDGETSIZE_MAX); };
        const auto place = [](int n) { return std::clamp(n, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); };
        window->setGeometry(place(x), place(y), size(width), size(height));
        KeepInsideVisibleArea(window);
    }
    if (maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return placed || maximized;
}

bool IniSettings::SaveWindow(const QString& procedure, const QWidget* window)
{
    if (!window)
        return false;
    // A maximised window keeps the placement it returns to.
    const bool maximized = window->isMaximized();
    QRect placement = window->geometry();
    if (maximized && window->normalGeometry().isValid())
        placement = window->normalGeometry();
    return WriteValues(procedure,
                 {{QStringLiteral("Maximize"), maximized ? QStringLiteral("Yes") : QStringLiteral("No")},
                  {QStringLiteral("XPos"), QString::number(placement.x())},
                  {QStringLiteral("YPos"), QString::number(placement.y())},
                  {QStringLiteral("Width"), QString::number(placement.width())},
                  {QStringLiteral("Height"), QString::number(placement.height())}});
}

bool IniSettings::Kill()
{
    const bool written = WriteValues(trackedSection, {{QStringLiteral("Sectors"), QStringLiteral("0")}});
    fileName_.clear();
    return written;
}

} // namespace jornix
