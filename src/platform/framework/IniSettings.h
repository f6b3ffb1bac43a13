#pragma once

#include <QString>

#include <concepts>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

// A settings manager over one profile file ("[section]" and "entry=value" lines, UTF-8).
//
// Section and entry names compare without regard to case (ASCII); a new entry is written as it is spelled, an
// existing one keeps the spelling it has in the file. Every operation reads the file as it is on disk, so
// entries and sections written by others are kept, and every write replaces the whole file through a
// temporary file and a rename, so that a crash halfway leaves either the old file or the new one.
namespace jornix {

class IniSettings
{
public:
    // The text ReadValue answers for an entry that is not there.
    static inline const QString Unknown = QStringLiteral("---Unknown---");

    void Init(const QString& fileName);
    const QString& FileName() const { return fileName_; }

    // Reads the entry into the variable; a missing entry (or, for a number, one that does not read as a
    // number of the variable's type) leaves the variable as it was. Returns whether the variable was set.
    bool ReadInto(const QString& section, const QString& entry, QString& variable) const;
    template <std::integral T> bool ReadInto(const QString& section, const QString& entry, T& variable) const
    {
        const std::optional<qlonglong> number = ReadNumber(section, entry);
        if (!number || *number < qlonglong(std::numeric_limits<T>::min()) ||
            (*number > 0 && qulonglong(*number) > qulonglong(std::numeric_limits<T>::max())))
            return false;
        variable = T(*number);
        return true;
    }

    // The entry's text, or Unknown when it is missing.
    QString ReadValue(const QString& section, const QString& entry) const;

    // Writes the entry (numbers in decimal). Returns false when the file could not be written; the file then
    // stays as it was and WriteError() says why.
    bool WriteValue(const QString& section, const QString& entry, const QString& value);
    // Writes several entries of one section in one write of the file: all of them or none.
    using Entries = std::vector<std::pair<QString, QString>>;
    bool WriteValues(const QString& section, const Entries& entries);
    // Why the last write failed ("No space left on device"); empty after a write that succeeded.
    const QString& WriteError() const { return writeError_; }
    template <std::integral T> bool WriteValue(const QString& section, const QString& entry, T value)
    {
        return WriteValue(section, entry, QString::number(value));
    }

    // A window's placement, kept in a section named after its procedure: "Maximize", "XPos", "YPos", "Width"
    // and "Height". RestoreWindow leaves the window as it is when no usable placement is kept.
    bool RestoreWindow(const QString& procedure, QWidget* window) const;
    bool SaveWindow(const QString& procedure, const QWidget* window);

    void Finalize() {}
    // Writes the manager's own list of tracked sections (none are tracked) and forgets the file.
    bool Kill();

private:
    std::optional<QString> Lookup(const QString& section, const QString& entry) const;
    std::optional<qlonglong> ReadNumber(const QString& section, const QString& entry) const;

    QString fileName_;
    QString writeError_;
};

} // namespace jornix
