// Writes "LogFile.TPS", a version-1.0 log of four events, into the folder given: MakeVersion10Log <folder>
// It is a plain record file whose table LogFile has the version-1.0 layout, as the migration reads it: one
// event with formatted notes (RTF), one with notes of plain text, one whose notes are empty, and free number
// fields of 0, -5 and 123. The events are written out of number order, as a log that was edited is.
#include "core/Tables.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace jornix;

namespace {

struct OldEvent
{
    int number;
    QDate date;
    int type;
    int rank;
    const char* description;
    const char* location;
    const char* duration;
    int followUp;
    int important;
    const char* misc1;
    int numbers[3];
    const char* miniNotes;
    const char* notes;
};

const OldEvent Events[] = {
    {12,
     {1999, 11, 2},
     2,
     1,
     "Project meeting",
     "Office",
     "2 hours",
     0,
     1,
     "Budget",
     {7, 0, 0},
     "Plan agreed",
     "Agenda:\r\n1. Budget for next year\r\n2. New office\r\n\r\nThe budget was agreed."},
    {11,
     {1999, 10, 30},
     1,
     0,
     "Lunch with Ann",
     "Cafe Central",
     "1 hour",
     1,
     0,
     "Ann",
     {0, -5, 123},
     "Call her back",
     R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red200\green0\blue0;})"
     R"(\f0\fs22 We met at \b Caf\'e9 Central\b0  and talked about the \i trip\i0 .\par)"
     R"(\cf1 Remember the tickets!\cf0\par})"},
    {14, {2000, 1, 1}, 0, 0, "New Year", "", "", 0, 0, "", {1, 2, 3}, "", ""},
    {13,
     {1999, 12, 24},
     3,
     2,
     "Bicycle repair",
     "Garage",
     "30 minutes",
     1,
     1,
     "Tyres",
     {-1, 0, 2000000000},
     "",
     R"({\rtf1\ansi{\fonttbl{\f0 Times New Roman;}}\f0 New tyres, \ul both\ulnone  of them.\par})"},
};

// A table with the version-1.0 layout in a file that may be created.
Table& WritableLog(Catalogue& catalogue)
{
    const Table& layout = *JornixCatalogue().FindTable(QStringLiteral("OLD10:"));
    Table& log = catalogue.AddTable(layout.Prefix(), QStringLiteral("LogFile"), layout.TableName(),
                                    FileAttribute::Create);
    for (int field = 0; field < layout.FieldCount(); ++field) {
        const FieldDef& def = layout.Field(field);
        switch (def.type) {
        case FieldType::Byte:
            log.AddByte(def.column);
            break;
        case FieldType::Short:
            log.AddShort(def.column);
            break;
        case FieldType::Real:
            log.AddReal(def.column);
            break;
        case FieldType::String:
            log.AddString(def.column, def.width);
            break;
        case FieldType::Memo:
            log.AddMemo(def.column, def.width);
            break;
        case FieldType::Blob:
            log.AddBlob(def.column);
            break;
        default:
            log.AddLong(def.column);
        }
    }
    for (int key = 0; key < layout.KeyCount(); ++key) {
        const KeyDef& def = layout.Key(key);
        QStringList components;
        for (int field : def.components)
            components << layout.Field(field).column;
        log.AddKey(def.name.section(QLatin1Char(':'), 1), components, def.flags, def.description);
    }
    return log;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeVersion10Log <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QFile::remove(folder.filePath(QStringLiteral("LogFile.TPS")));
    Catalogue catalogue;
    Table& log = WritableLog(catalogue);
    catalogue.SetFolder(folder.path(), QStringLiteral(".TPS"));
    if (Status status = log.Open(); !status) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(log.FilePath()), qPrintable(status.Message()));
        return 1;
    }
    for (const OldEvent& event : Events) {
        log.ClearBuffer();
        Record& record = log.Buffer();
        const auto set = [&](const char* field, const QVariant& value) {
            record.SetValue(QStringLiteral("OLD10:") + QLatin1String(field), value);
        };
        set("LOGNUM", event.number);
        set("LOGDATE", DayNumberFromDate(event.date));
        set("LOGTYPE", event.type);
        set("LOGRANK", event.rank);
        set("LOGDESCRIPTION", QString::fromUtf8(event.description));
        set("LOGLOCATION", QString::fromUtf8(event.location));
        set("LOGDURATION", QString::fromUtf8(event.duration));
        set("LOGFOLLOWUP", event.followUp);
        set("LOGIMPORTANT", event.important);
        set("LOGMISC1", QString::fromUtf8(event.misc1));
        set("LOGNUM1", event.numbers[0]);
        set("LOGNUM2", event.numbers[1]);
        set("LOGNUM3", event.numbers[2]);
        set("LOGMININOTES", QString::fromUtf8(event.miniNotes));
        set("LOGNOTES", QString::fromUtf8(event.notes));
        if (Status status = log.Insert(); !status) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(log.FilePath()), qPrintable(status.Message()));
            log.Close();
            return 1;
        }
    }
    log.Close();
    return 0;
}
